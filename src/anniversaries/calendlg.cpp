#include "anniversaries/calendlg.h"

#include <QBoxLayout>
#include <QCalendarWidget>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// Qt writes a bare year into the year button of its navigation bar whenever it updates the bar,
// and each write asks the bar for a new layout: the year word follows it in there.
class YearWord : public QObject {
public:
    YearWord(QToolButton *year, QObject *parent) : QObject(parent), m_year(year) { apply(); }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::LayoutRequest)
            apply();
        return QObject::eventFilter(watched, event);
    }

private:
    void apply()
    {
        if (!m_year->text().endsWith(u'년'))
            m_year->setText(m_year->text() + u'년');
    }
    QToolButton *m_year;
};
} // namespace

QCalendarWidget *MonthCalendar(QWidget *parent)
{
    auto *c = new QCalendarWidget(parent);
    c->setObjectName(QStringLiteral("calDay"));
    c->setFirstDayOfWeek(Qt::Sunday);
    c->setNavigationBarVisible(false);
    c->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    // Held to one month, it has no use for a typed date; a typed blank would open Qt's date box.
    c->setDateEditEnabled(false);
    // Qt's bar names the month before a bare year ("12월 2026"); Korean reads "2026년 12월".
    auto *bar = c->findChild<QWidget *>(QStringLiteral("qt_calendar_navigationbar"));
    auto *month = c->findChild<QToolButton *>(QStringLiteral("qt_calendar_monthbutton"));
    auto *year = c->findChild<QToolButton *>(QStringLiteral("qt_calendar_yearbutton"));
    if (auto *row = bar ? qobject_cast<QBoxLayout *>(bar->layout()) : nullptr; row && month && year) {
        const int at = row->indexOf(month);
        row->removeWidget(month);
        row->removeWidget(year);
        row->insertWidget(at, year);
        row->insertWidget(at + 2, month); // the gap between the two stays between them
        bar->installEventFilter(new YearWord(year, c));
    }
    return c;
}

void ShowOneMonth(QCalendarWidget *calendar, const QDate &date)
{
    const QDate first(date.year(), date.month(), 1);
    calendar->setDateRange(first, first.addMonths(1).addDays(-1));
    calendar->setCurrentPage(date.year(), date.month());
    calendar->setSelectedDate(date);
}

TfrmCalenDlg::TfrmCalenDlg(QWidget *parent) : TForm(parent)
{
    setObjectName(QStringLiteral("frmCalenDlg"));
    setWindowTitle(QStringLiteral("달력"));
    pnlDay = new QLabel(this);
    pnlDay->setObjectName(QStringLiteral("pnlDay"));
    pnlDay->setAlignment(Qt::AlignCenter);
    pnlDay->setFrameShape(QFrame::Panel);
    pnlDay->setFrameShadow(QFrame::Raised);
    QFont f = pnlDay->font();
    f.setPointSize(f.pointSize() + 4);
    f.setBold(true);
    pnlDay->setFont(f);
    calDay = MonthCalendar(this);
    auto *close = new QPushButton(QStringLiteral("닫기(&C)"), this);
    connect(close, &QPushButton::clicked, this, [this] { setModalResult(mrOk); });
    setCancelButton(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pnlDay);
    layout->addWidget(calDay);
    layout->addWidget(close, 0, Qt::AlignRight);
    // Read-only: a click must not move the date away from the one shown.
    connect(calDay, &QCalendarWidget::selectionChanged, this, [this] {
        if (m_shown.isValid() && calDay->selectedDate() != m_shown)
            calDay->setSelectedDate(m_shown);
    });
}

void TfrmCalenDlg::setDate(const QDate &date)
{
    m_shown = date;
    ShowOneMonth(calDay, date);
}
