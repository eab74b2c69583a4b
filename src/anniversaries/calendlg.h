#pragma once
// Shows one date on a month calendar; its opener fills it.
#include "platform/form.h"

#include <QDate>

class QCalendarWidget;
class QLabel;

// A month calendar control as the calendars show it: weeks from Sunday, no navigation bar (a
// window that shows the bar has it read "2026년 12월").
QCalendarWidget *MonthCalendar(QWidget *parent);
// Shows the date's month with the date selected. The control cannot leave that month: keys and
// the wheel would otherwise change it behind its window's back.
void ShowOneMonth(QCalendarWidget *calendar, const QDate &date);

class TfrmCalenDlg : public TForm {
    Q_OBJECT
public:
    explicit TfrmCalenDlg(QWidget *parent = nullptr);

    QLabel *pnlDay;
    QCalendarWidget *calDay;

    // Shows the month of the date with the date marked; the calendar cannot leave that month.
    void setDate(const QDate &date);

private:
    QDate m_shown;
};
