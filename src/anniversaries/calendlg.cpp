#include "anniversaries/calendlg.h"

#include <QCalendarWidget>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

QCalendarWidget *MonthCalendar(QWidget *parent)
{
    auto *c = new QCalendarWidget(parent);
    c->setObjectName(QStringLiteral("calDay"));
    c->setFirstDayOfWeek(Qt::Sunday);
    c->setNavigationBarVisible(false);
    c->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
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
