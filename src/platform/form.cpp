#include "platform/form.h"

#include "platform/dialogs.h"

#include <QCloseEvent>
#include <QApplication>
#include <QFormLayout>
#include <QKeyEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTabBar>
#include <QTabWidget>

#include <algorithm>

QLabel *Panel(const QString &text, QWidget *parent, bool sunken)
{
    auto *l = new QLabel(text, parent);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(sunken ? QFrame::Sunken : QFrame::Raised);
    return l;
}

QPushButton *NamedButton(const QString &caption, const char *name, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QGridLayout *LabelledRows(QWidget *parent, std::initializer_list<std::pair<const char *, QWidget *>> rows)
{
    auto *grid = new QGridLayout;
    int row = 0;
    for (const auto &[caption, control] : rows) {
        auto *l = new QLabel(QString::fromUtf8(caption), parent);
        l->setBuddy(control);
        grid->addWidget(l, row, 0);
        grid->addWidget(control, row++, 1);
    }
    return grid;
}

QHBoxLayout *ButtonRow(std::initializer_list<QWidget *> buttons)
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    for (QWidget *b : buttons)
        row->addWidget(b);
    return row;
}

QLineEdit *PasswordEdit(QWidget *parent, const char *name)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    MaskAsPassword(e);
    return e;
}

namespace {

QMargins knownFrame; // the frame the window manager gave the program's windows

QMargins ownFrame(const QWidget *window)
{
    const QRect outer = window->frameGeometry();
    const QRect inner = window->geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

// The frame that the window manager draws around the window: its own once it is framed, before
// that the one the program's windows got (they all get the same).
QMargins frameOf(const QWidget *window)
{
    if (window->windowFlags() & Qt::FramelessWindowHint)
        return {};
    const QMargins own = ownFrame(window);
    if (own.isNull())
        return knownFrame;
    knownFrame = own;
    return own;
}

QRect availableArea(const QWidget *window)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
}

// What does not fit the area, frame included, is made smaller, down to the window's minimum.
void fitSize(QWidget *window, const QMargins &frame, const QRect &available)
{
    const QSize fitted =
        window->size().boundedTo(available.size().shrunkBy(frame)).expandedTo(window->minimumSize());
    if (fitted != window->size())
        window->resize(fitted);
}

// A rectangle moved into the area; larger than the area, its top left corner stays in it.
QRect inside(QRect r, const QRect &available)
{
    r.moveRight(std::min(r.right(), available.right()));
    r.moveBottom(std::min(r.bottom(), available.bottom()));
    r.moveLeft(std::max(r.left(), available.left()));
    r.moveTop(std::max(r.top(), available.top()));
    return r;
}

class ScreenKeeper : public QObject {
public:
    ScreenKeeper(QWidget *window, QSize outerMinimum, int outerMaximumWidth)
        : QObject(window), m_window(window), m_outerMinimum(outerMinimum),
          m_outerMaximumWidth(outerMaximumWidth)
    {
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            // Not framed yet: sized by the frame the other windows got; placed by the window
            // manager unless the program placed it.
            apply(frameOf(m_window), m_window->testAttribute(Qt::WA_Moved));
        } else if (event->type() == QEvent::Move || event->type() == QEvent::Resize) {
            const QMargins frame = ownFrame(m_window);
            const bool sized = m_window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen);
            if (!frame.isNull() && frame != m_applied && !sized) {
                knownFrame = frame;
                apply(frame, true);
            }
        }
        return false;
    }

private:
    void apply(const QMargins &frame, bool place)
    {
        m_applied = frame;
        const QRect available = availableArea(m_window);
        if (m_outerMinimum.isValid()) {
            // A window at its least size stays at it; a screen smaller than that size holds it whole.
            const bool least = m_window->size() == m_window->minimumSize();
            m_window->setMinimumSize(m_outerMinimum.boundedTo(available.size()).shrunkBy(frame));
            if (m_outerMaximumWidth < QWIDGETSIZE_MAX)
                m_window->setMaximumWidth(m_outerMaximumWidth - frame.left() - frame.right());
            if (least)
                m_window->resize(m_window->minimumSize());
        }
        fitSize(m_window, frame, available);
        if (!place)
            return;
        const QRect outer(m_window->frameGeometry().topLeft(), m_window->size().grownBy(frame));
        const QRect moved = inside(outer, available);
        if (moved != outer)
            m_window->move(moved.topLeft());
    }

    QWidget *m_window;
    QSize m_outerMinimum;
    int m_outerMaximumWidth;
    QMargins m_applied;
};

// A window's controls in reading order, for OrderTabsByLayout.
class TabWalk {
public:
    QList<QWidget *> order;
    // Widgets that hand the focus to a part of their own (a tab widget to its tabs, an input
    // panel to its first control). Qt keeps each just before its first child in the chain, where
    // Tab stops at it and passes on to that part.
    QList<QWidget *> handing;

    explicit TabWalk(QWidget *window) { m_seen.insert(window); }

    void widget(QWidget *w)
    {
        if (w->isWindow() || m_seen.contains(w))
            return;
        m_seen.insert(w);
        QWidget *proxy = w->focusProxy();
        const qsizetype start = order.size();
        if (auto *tabs = qobject_cast<QTabWidget *>(w)) {
            // The page tabs, then every page in turn: Tab skips the hidden ones.
            widget(tabs->tabBar());
            for (int i = 0; i < tabs->count(); ++i)
                widget(tabs->widget(i));
        } else if (w->focusPolicy() & Qt::TabFocus) {
            order << w; // a control, one made of parts (a combo box, a calendar) included
            // Its parts that take the focus themselves, such as a tab bar's scroll arrows.
            for (QWidget *part : w->findChildren<QWidget *>())
                if ((part->focusPolicy() & Qt::TabFocus) && !part->focusProxy() && part != proxy &&
                    part->window() == w->window() && !m_seen.contains(part)) {
                    m_seen.insert(part);
                    order << part;
                }
        } else {
            children(w);
        }
        if (proxy && w->isAncestorOf(proxy)) {
            // Where the widget will stand: its first child goes first among its controls.
            const QList<QWidget *> kids = w->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
            if (!kids.isEmpty() && !m_seen.contains(kids.first())) {
                m_seen.insert(kids.first());
                order.insert(start, kids.first());
            }
            handing << w;
        }
    }

    void children(QWidget *w)
    {
        if (QLayout *l = w->layout())
            layout(l);
        QList<QWidget *> loose; // outside any layout: top, then left
        for (QWidget *child : w->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (!child->isWindow() && !m_seen.contains(child))
                loose << child;
        std::stable_sort(loose.begin(), loose.end(), [](const QWidget *a, const QWidget *b) {
            return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
        });
        for (QWidget *child : loose)
            widget(child);
    }

private:
    void layout(QLayout *l)
    {
        // Each item with its place in reading order: (row, column) in a grid, (row, role) in a
        // form, its index in any other layout.
        QList<std::pair<std::pair<int, int>, QLayoutItem *>> items;
        const auto *box = qobject_cast<QBoxLayout *>(l);
        const bool reversed =
            box && (box->direction() == QBoxLayout::RightToLeft || box->direction() == QBoxLayout::BottomToTop);
        for (int i = 0; i < l->count(); ++i) {
            std::pair<int, int> place{0, reversed ? l->count() - 1 - i : i};
            if (auto *grid = qobject_cast<QGridLayout *>(l)) {
                int rowSpan, columnSpan;
                grid->getItemPosition(i, &place.first, &place.second, &rowSpan, &columnSpan);
            } else if (auto *form = qobject_cast<QFormLayout *>(l)) {
                QFormLayout::ItemRole role;
                form->getItemPosition(i, &place.first, &role);
                place.second = int(role);
            }
            items.append({place, l->itemAt(i)});
        }
        std::stable_sort(items.begin(), items.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
        for (const auto &item : std::as_const(items)) {
            if (QWidget *w = item.second->widget())
                widget(w);
            else if (QLayout *inner = item.second->layout())
                layout(inner);
        }
    }

    QSet<QWidget *> m_seen;
};

} // namespace

void OrderTabsByLayout(QWidget *window)
{
    TabWalk walk(window);
    walk.children(window);
    // Qt links only widgets that take the focus: the window, where the focus starts, and the
    // first children placed for the widgets that hand the focus on take it for the moment.
    QList<std::pair<QWidget *, Qt::FocusPolicy>> lent;
    for (QWidget *w : QList<QWidget *>{window} + walk.order)
        if (!(w->focusPolicy() & Qt::TabFocus) && !w->focusProxy()) {
            lent.append({w, w->focusPolicy()});
            w->setFocusPolicy(Qt::TabFocus);
        }
    QWidget *previous = window;
    for (QWidget *w : std::as_const(walk.order))
        QWidget::setTabOrder(std::exchange(previous, w), w);
    for (const auto &[w, policy] : lent)
        w->setFocusPolicy(policy);
    for (QWidget *w : std::as_const(walk.handing))
        w->setFocusProxy(w->focusProxy()); // puts it back before its first child
}

void KeepOnScreen(QWidget *window, QSize outerMinimum, int outerMaximumWidth)
{
    window->installEventFilter(new ScreenKeeper(window, outerMinimum, outerMaximumWidth));
}

void MaskAsPassword(QLineEdit *edit)
{
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet(QStringLiteral("lineedit-password-character: 42")); // '*', not the style's dot
    // Qt turns input methods off for passwords; a Hangul password must be typeable.
    edit->setAttribute(Qt::WA_InputMethodEnabled, true);
}

TForm::TForm(QWidget *parent) : QDialog(parent)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    // A focused push button is the default button while it has the focus, so Enter presses it;
    // elsewhere in the window Enter presses the named default, if any.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (now && now->window() == this)
            markDefault(qobject_cast<QPushButton *>(now));
    });
    KeepOnScreen(this);
}

void TForm::markDefault(QPushButton *focused)
{
    QPushButton *target = focused ? focused : m_default.data();
    for (QPushButton *b : findChildren<QPushButton *>()) {
        b->setAutoDefault(false); // Qt's own focus rule would keep the last button default
        if (b != target)
            b->setDefault(false);
    }
    if (target)
        target->setDefault(true);
}

int TForm::ShowModal()
{
    m_modalResult = mrNone;
    return ExecModal(*this);
}

bool TForm::mayClose()
{
    // Closing is asked for from events and button handlers: a failure is shown and the window stays.
    bool allowed = false;
    Guarded([&] { allowed = FormCloseQuery(); });
    return allowed;
}

void TForm::setModalResult(int result)
{
    if (!mayClose())
        return;
    m_modalResult = result;
    m_closing = true;
    Guarded([this] { FormClose(); });
    QDialog::done(result);
    m_closing = false;
}

void TForm::setDefaultButton(QPushButton *button)
{
    m_default = button;
    if (button) {
        button->setAutoDefault(false);
        button->setDefault(true);
    }
}

void TForm::centreOn(QWidget *other)
{
    if (!testAttribute(Qt::WA_Resized))
        adjustSize(); // the size it is shown with: a window never sized is 640 x 480 until then
    // Not framed yet, it gets the frame its owner got.
    const bool owned = other && other->isVisible();
    const QMargins frame = owned && ownFrame(this).isNull() ? frameOf(other) : frameOf(this);
    const QRect available = availableArea(this);
    fitSize(this, frame, available);
    QRect outer(QPoint(), size().grownBy(frame));
    // An owner not on screen yet (the calendar opened during start-up) has no place to centre on.
    outer.moveCenter(owned ? other->frameGeometry().center() : available.center());
    move(inside(outer, available).topLeft());
}

void TForm::showEvent(QShowEvent *event)
{
    if (!m_tabsOrdered) {
        // Before the window takes the focus: with none set, it goes to the first control.
        OrderTabsByLayout(this);
        m_tabsOrdered = true;
    }
    markDefault(qobject_cast<QPushButton *>(focusWidget()));
    QDialog::showEvent(event);
}

void TForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (m_cancel && m_cancel->isEnabled() && m_cancel->isVisible())
            m_cancel->click();
        event->accept();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !m_default) {
        event->accept(); // no default button: Enter does nothing
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm::reject()
{
    // Only a close request of the window system comes here; Esc is handled above.
    close();
}

void TForm::done(int r)
{
    if (m_closing) {
        QDialog::done(r);
        return;
    }
    setModalResult(r);
}

void TForm::closeEvent(QCloseEvent *event)
{
    if (m_closing) {
        event->accept();
        return;
    }
    if (!mayClose()) {
        event->ignore();
        return;
    }
    m_closing = true;
    if (m_modalResult == mrNone)
        m_modalResult = mrCancel;
    Guarded([this] { FormClose(); });
    event->accept();
    QDialog::done(m_modalResult);
    m_closing = false;
}

bool InputQuery(const QString &caption, const QString &prompt, QString &value)
{
    TForm box;
    box.setObjectName(QStringLiteral("frmInput"));
    box.setWindowTitle(caption);
    auto *edit = new QLineEdit(value, &box);
    edit->setObjectName(QStringLiteral("edtValue"));
    edit->setMinimumWidth(260);
    QPushButton *ok = NamedButton(QStringLiteral("확인"), "btnOk", &box);
    QPushButton *cancel = NamedButton(QStringLiteral("취소"), "btnCancel", &box);
    QObject::connect(ok, &QPushButton::clicked, &box, [&box] { box.setModalResult(mrOk); });
    QObject::connect(cancel, &QPushButton::clicked, &box, [&box] { box.setModalResult(mrCancel); });
    box.setDefaultButton(ok);
    box.setCancelButton(cancel);
    auto *layout = new QVBoxLayout(&box);
    layout->addWidget(new QLabel(prompt, &box));
    layout->addWidget(edit);
    layout->addLayout(ButtonRow({ok, cancel}));
    box.centreOn(QApplication::activeWindow());
    if (box.ShowModal() != mrOk)
        return false;
    value = edit->text();
    return true;
}
