#include "core/movetext.h"

#include "platform/dialogs.h"
#include "platform/sysutils.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>
#include <QTimer>

#include <algorithm>

TMoveText::TMoveText(QWidget *parent)
    : QWidget(parent), m_color(palette().color(QPalette::Button)),
      m_items{QStringLiteral("텍스트를 움직입니다.")}, m_timer(new QTimer(this))
{
    resize(200, 20);
    setFont(QFont(QStringLiteral("굴림체"), 10));
    m_timer->setInterval(m_speed);
    connect(m_timer, &QTimer::timeout, this, [this] { Guarded([this] { TimerTick(); }); });
    SetMoveDirection(m_direction); // a new control moves at once
}

template <class T>
void TMoveText::storeAndLayOut(T &member, const T &value)
{
    if (member == value)
        return;
    member = value;
    UpdateLayout();
}

void TMoveText::SetTextStyle(TTextStyle style) { storeAndLayOut(m_textStyle, style); }

void TMoveText::SetSteps(int steps)
{
    m_steps = steps;
}

void TMoveText::SetSpeed(int ms)
{
    m_speed = std::clamp(ms, 1, 1000);
    m_timer->setInterval(m_speed);
}

void TMoveText::SetColor(const QColor &color) { storeAndLayOut(m_color, color); }

void TMoveText::SetContinuous(bool continuous)
{
    if (continuous == m_continuous)
        return;
    m_continuous = continuous;
    if (m_direction != mdStatic)
        StartMoving(m_step);
}

void TMoveText::SetFontColor(const QColor &color) { storeAndLayOut(m_fontColor, color); }

void TMoveText::SetAlignment(TAlignment alignment) { storeAndLayOut(m_alignment, alignment); }

void TMoveText::SetMoveDirection(TMoveDirection direction)
{
    m_direction = direction;
    if (direction == mdStatic)
        StopMoving();
    else
        StartMoving(m_step);
}

void TMoveText::SetDepth(int depth) { storeAndLayOut(m_depth, depth); }

void TMoveText::SetItems(const QStringList &items) { storeAndLayOut(m_items, items); }

bool TMoveText::Moving() const
{
    return m_timer->isActive();
}

void TMoveText::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        UpdateLayout();
    QWidget::changeEvent(event);
}

void TMoveText::UpdateLayout()
{
    CalcTextBlock();
    update();
}

int TMoveText::styleAllowance() const
{
    switch (m_textStyle) {
    case tsRaised:
    case tsLowered: return 2 * m_depth;
    case tsShaddow: return m_depth;
    case tsNormal: break;
    }
    return 0;
}

void TMoveText::CalcTextBlock()
{
    const QFontMetrics fm(font());
    // The height of a line with its internal leading, the space above the capitals.
    const int internalLeading = std::max(0, fm.height() - QFontInfo(font()).pixelSize());
    m_lineHeight = fm.height() + internalLeading + styleAllowance();
    m_blockWidth = 0;
    for (const QString &line : m_items)
        m_blockWidth = std::max(m_blockWidth, fm.horizontalAdvance(line) + styleAllowance());
    m_blockHeight = int(m_items.size()) * m_lineHeight;
    m_offsetX = width() > m_blockWidth ? (width() - m_blockWidth) / 2 : 0;
    m_offsetY = height() > m_blockHeight ? (height() - m_blockHeight) / 2 : 0;
}

QSize TMoveText::BlockSize()
{
    CalcTextBlock();
    return {m_blockWidth, m_blockHeight};
}

QPoint TMoveText::BlockOrigin()
{
    CalcTextBlock();
    const double f = m_steps > 0 ? double(m_step) / m_steps : 0.0;
    const int w = width(), h = height(), bw = m_blockWidth, bh = m_blockHeight;
    switch (m_direction) {
    case mdRightToLeft: return {RoundHalfEven((1 - f) * (bw + w)) - bw, m_offsetY};
    case mdLeftToRight: return {RoundHalfEven(f * (bw + w)) - bw, m_offsetY};
    case mdTopToBottom: return {m_offsetX, RoundHalfEven(f * (bh + h)) - bh};
    case mdBottomToTop: return {m_offsetX, RoundHalfEven((1 - f) * (bh + h)) - bh};
    case mdStatic: break;
    }
    return {m_offsetX, m_offsetY};
}

void TMoveText::paintEvent(QPaintEvent *)
{
    QPixmap frame(size());
    frame.fill(m_color);
    {
        QPainter canvas(&frame);
        canvas.setFont(font());
        QPoint at = BlockOrigin();
        for (const QString &line : std::as_const(m_items)) {
            DrawTextLine(canvas, at.x(), at.y(), line);
            at.ry() += m_lineHeight;
        }
    }
    QPainter(this).drawPixmap(0, 0, frame);
}

void TMoveText::DrawTextLine(QPainter &canvas, int x, int y, const QString &text)
{
    const int textWidth = canvas.fontMetrics().horizontalAdvance(text);
    int a = 0;
    if (m_alignment == taCenter)
        a = RoundHalfEven(m_blockWidth / 2.0 - textWidth / 2.0);
    else if (m_alignment == taRightJustify)
        a = RoundHalfEven(double(m_blockWidth - textWidth));
    const QColor highlight = palette().color(QPalette::Light);
    const QColor shadow = palette().color(QPalette::Dark);
    // Text is placed by its top edge, as the block's layout counts it.
    const int top = canvas.fontMetrics().ascent();
    auto drawAt = [&](const QColor &colour, int dx, int dy) {
        canvas.setPen(colour);
        canvas.drawText(x + a + dx, y + dy + top, text);
    };
    switch (m_textStyle) {
    case tsRaised:
        drawAt(highlight, -m_depth, -m_depth);
        drawAt(shadow, m_depth, m_depth);
        break;
    case tsLowered:
        drawAt(shadow, -m_depth, -m_depth);
        drawAt(highlight, m_depth, m_depth);
        break;
    case tsShaddow: drawAt(shadow, m_depth, m_depth); break;
    case tsNormal: break;
    }
    drawAt(m_fontColor, 0, 0);
}

void TMoveText::StartMoving(int step)
{
    if (m_timer->isActive())
        return;
    if (step >= 0 && step <= m_steps)
        m_step = step;
    m_timer->start();
}

void TMoveText::StopMoving()
{
    m_timer->stop();
}

void TMoveText::TimerTick()
{
    if (!m_timer->isActive())
        return;
    if (m_step == 0)
        emit OnBegin();
    ++m_step;
    repaint();
    emit OnStep();
    if (m_step > m_steps) {
        m_timer->stop();
        emit OnEnd();
        m_step = 0;
        if (m_continuous)
            StartMoving(0);
    }
}
