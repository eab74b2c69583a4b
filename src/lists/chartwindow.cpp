#include "lists/chartwindow.h"

#include "platform/dialogs.h"
#include "platform/printer.h"
#include "platform/report.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGraphicsSimpleTextItem>
#include <QHBoxLayout>
#include <QLegendMarker>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScopeGuard>
#include <QStackedBarSeries>
#include <QToolButton>
#include <QValueAxis>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace {
QString S(const char *text) { return QString::fromUtf8(text); }

// Neighbouring bars must stay apart; white would vanish on the white wall.
const QColor BarColours[] = {
    Qt::red, QColor(0, 160, 0), QColor(230, 200, 0), Qt::blue, Qt::gray, Qt::magenta, QColor(0, 128, 128),
    QColor(0, 0, 128), QColor(128, 0, 0), QColor(0, 220, 0), QColor(128, 128, 0), QColor(128, 0, 128),
    QColor(192, 192, 192), QColor(0, 200, 220), QColor(255, 128, 0), Qt::black,
};

const qreal PrintWidth = 800;

QBrush barBrush(const QColor &colour)
{
    QLinearGradient g(0, 0, 0, 1);
    g.setCoordinateMode(QGradient::ObjectBoundingMode);
    // Halfway to white at the top: lighter() would turn the pale colours white.
    g.setColorAt(0, QColor((colour.red() + 255) / 2, (colour.green() + 255) / 2, (colour.blue() + 255) / 2));
    g.setColorAt(1, colour);
    return g;
}

// "##0.## %"
QString percentText(int part, int whole)
{
    QString p = QString::number(whole > 0 ? 100.0 * part / whole : 0.0, 'f', 2);
    while (p.endsWith(u'0'))
        p.chop(1);
    if (p.endsWith(u'.'))
        p.chop(1);
    return p + QStringLiteral(" %");
}

QWidget *colourPanel(QWidget *parent, const QColor &colour, QHBoxLayout *&row)
{
    auto *panel = new QWidget(parent);
    panel->setFixedHeight(37);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::WindowText, Qt::white);
    panel->setPalette(palette);
    row = new QHBoxLayout(panel);
    row->setContentsMargins(6, 4, 6, 4);
    return panel;
}
} // namespace

AxisScale CountAxisScale(int tallest, int least)
{
    // A tenth more than the tallest bar leaves its mark inside the plot.
    const double wanted = std::max<double>(tallest + std::max(1.0, tallest / 10.0), least);
    int step = 1;
    for (int decade = 1;; decade *= 10) {
        const int steps[] = {decade, 2 * decade, 5 * decade};
        const int *fit = std::find_if(std::begin(steps), std::end(steps), [&](int s) { return wanted / s <= 10; });
        if (fit != std::end(steps)) {
            step = *fit;
            break;
        }
    }
    const int maximum = std::max(least, int(std::ceil(wanted / step)) * step);
    return {maximum, step};
}

HeadCountChart::HeadCountChart(const QString &objectName, const QString &axisTitle, QWidget *parent)
    : QChartView(parent), m_series(new QStackedBarSeries), m_labelAxis(new QBarCategoryAxis),
      m_countAxis(new QValueAxis)
{
    setObjectName(objectName);
    setRenderHint(QPainter::Antialiasing);
    QChart *c = new QChart;
    c->setBackgroundRoundness(0);
    c->setPlotAreaBackgroundBrush(Qt::white);
    c->setPlotAreaBackgroundVisible(true);
    c->addSeries(m_series);
    m_labelAxis->setTitleText(axisTitle);
    m_countAxis->setTitleText(S("인원"));
    m_countAxis->setLabelFormat(QStringLiteral("%d"));
    m_countAxis->setMinorTickCount(0);
    c->addAxis(m_labelAxis, Qt::AlignBottom);
    c->addAxis(m_countAxis, Qt::AlignLeft);
    m_series->attachAxis(m_labelAxis);
    m_series->attachAxis(m_countAxis);
    c->legend()->setAlignment(Qt::AlignRight);
    setChart(c);
    connect(c, &QChart::plotAreaChanged, this, [this] {
        fitLabels();
        placeMarks();
    });
}

void HeadCountChart::setAxisTitle(const QString &title)
{
    m_labelAxis->setTitleText(title);
}

void HeadCountChart::showRows(Dataset &rows, const QString &labelField)
{
    QStringList labels;
    QList<int> counts;
    Field &label = rows.fieldByName(labelField);
    Field &count = rows.field(rows.fieldCount() - 1);
    for (rows.first(); !rows.eof(); rows.next()) {
        labels << label.asString();
        if (labels.last().isNull())
            labels.last() = QStringLiteral(""); // the category axis skips a null text
        counts << count.asInteger();
    }
    const int whole = std::accumulate(counts.begin(), counts.end(), 0);

    m_series->clear();
    qDeleteAll(m_marks);
    m_marks.clear();
    for (int i = 0; i < counts.size(); ++i) {
        auto *set = new QBarSet(labels[i]);
        for (int j = 0; j < counts.size(); ++j)
            set->append(j == i ? counts[i] : 0);
        set->setBrush(barBrush(BarColours[i % std::size(BarColours)]));
        set->setPen(Qt::NoPen); // a pen would draw the empty segments as lines on the base
        m_series->append(set);
        auto *mark = new QGraphicsSimpleTextItem(QString::number(counts[i]), chart());
        mark->setZValue(10);
        m_marks << mark;
    }
    const QList<QLegendMarker *> legend = chart()->legend()->markers(m_series);
    for (int i = 0; i < legend.size(); ++i)
        legend[i]->setLabel(labels[i] + u' ' + percentText(counts[i], whole));

    // The axis drops a repeated category, and the bars after it would slide off the plot: a blank
    // NULL and an empty text are two groups with the same label. Repeats differ invisibly.
    QStringList categories = labels;
    for (int i = 1; i < categories.size(); ++i)
        while (categories.indexOf(categories[i]) < i)
            categories[i] += QChar(0x200B);
    // An axis without categories lays nothing out: its title and the former chart's labels would
    // stay where they were. An empty chart keeps one blank slot.
    m_labelAxis->setCategories(categories.isEmpty() ? QStringList{QStringLiteral("")} : categories);
    m_labels = labels;
    fitLabels();
    const AxisScale scale = CountAxisScale(counts.isEmpty() ? 0 : *std::max_element(counts.begin(), counts.end()),
                                           m_leastMaximum);
    m_countAxis->setRange(0, scale.maximum);
    m_countAxis->setTickCount(scale.maximum / scale.step + 1);
    placeMarks();
}

int HeadCountChart::barCount() const
{
    return m_series->count();
}

int HeadCountChart::count(int bar) const
{
    return int(m_series->barSets().at(bar)->at(bar));
}

QString HeadCountChart::label(int bar) const
{
    return m_series->barSets().at(bar)->label();
}

QString HeadCountChart::mark(int bar) const
{
    return m_marks.at(bar)->text();
}

void HeadCountChart::fitLabels()
{
    // The axis gives each label the plot's width over the bars plus two, less 4 pixels of padding
    // on either side, and cuts a wider one to "...": such labels are turned upright instead.
    const qreal room = chart()->plotArea().width() / (barCount() + 2) - 8;
    const QFontMetricsF metrics(m_labelAxis->labelsFont());
    const bool fits = std::all_of(m_labels.begin(), m_labels.end(),
                                  [&](const QString &l) { return metrics.horizontalAdvance(l) + 4 <= room; });
    const int angle = fits ? 0 : -90;
    if (m_labelAxis->labelsAngle() != angle)
        m_labelAxis->setLabelsAngle(angle);
}

void HeadCountChart::placeMarks()
{
    for (int i = 0; i < m_marks.size(); ++i) {
        const QPointF top = chart()->mapToPosition(QPointF(i, count(i)), m_series);
        const QRectF box = m_marks[i]->boundingRect();
        m_marks[i]->setPos(top.x() - box.width() / 2, top.y() - box.height() - 2);
    }
}

void HeadCountChart::printLandscape()
{
    JobPrinter printer;
    if (!printer.setPageOrientation(QPageLayout::Landscape))
        throw ReportError(Report::paperMessage());
    PrintedFile file(printer);
    QPainter painter;
    if (!painter.begin(&printer))
        throw ReportError(Report::cannotOpenMessage());
    const QRectF page(QPointF(0, 0), printer.pageRect(QPrinter::DevicePixel).size());
    // Laid out afresh on the page's proportions, whatever the window's size, as wide as a
    // maximised window so that the texts keep their size against the bars.
    const QSizeF shown = chart()->size();
    chart()->resize(PrintWidth, PrintWidth * page.height() / page.width());
    // The new width may turn the labels, and the chart lays itself out for that only later.
    chart()->layout()->activate();
    const auto reshow = qScopeGuard([&] { chart()->resize(shown); });
    chart()->scene()->render(&painter, page, chart()->sceneBoundingRect(), Qt::KeepAspectRatio);
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw ReportError(Report::failedMessage());
    if (const QString failure = file.finish(); !failure.isEmpty())
        throw ReportError(failure);
}

TfrmChart::TfrmChart(const QString &objectName, const QString &caption, int width, QWidget *parent)
    : TForm(parent)
{
    setObjectName(objectName);
    setWindowTitle(caption);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);

    QWidget *title = colourPanel(this, QColor(0, 128, 192), m_titleRow);
    m_titleRow->addStretch(1);
    bbtnPrint = new QPushButton(S("인쇄(&P)"), title);
    bbtnPrint->setObjectName(QStringLiteral("bbtnPrint"));
    m_titleRow->addWidget(bbtnPrint);

    QHBoxLayout *buttonRow;
    QWidget *buttons = colourPanel(this, QColor(0, 128, 128), buttonRow);
    sbtnHelp = new QToolButton(buttons);
    sbtnHelp->setObjectName(QStringLiteral("sbtnHelp"));
    sbtnHelp->setText(QStringLiteral("?"));
    sbtnHelp->setEnabled(false);
    bbtnClose = new QPushButton(S("닫기(&C)"), buttons);
    bbtnClose->setObjectName(QStringLiteral("bbtnClose"));
    buttonRow->addWidget(sbtnHelp);
    buttonRow->addStretch(1);
    buttonRow->addWidget(bbtnClose);

    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_layout->addWidget(title);
    m_layout->addWidget(buttons);
    resize(width, 523);

    setCancelButton(bbtnClose);
    connect(bbtnPrint, &QPushButton::clicked, this, [this] { Guarded([this] { bbtnPrintClick(); }); });
    connect(bbtnClose, &QPushButton::clicked, this, &QWidget::close);
}

void TfrmChart::setBody(QWidget *body)
{
    m_layout->insertWidget(1, body, 1);
}

void TfrmChart::SetButtons(bool enabled)
{
    bbtnPrint->setEnabled(enabled);
}

void TfrmChart::ShowStat(Query &query, HeadCountChart *chart, const QString &labelField)
{
    query.close();
    query.database()->runRetryingAfterLock(&query, [this, &query, chart, labelField] {
        query.open();
        chart->showRows(query, labelField);
        SetButtons(query.recordCount() >= 1);
    });
}

void TfrmChart::bbtnPrintClick()
{
    shownChart()->printLandscape();
}
