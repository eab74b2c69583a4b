#pragma once
// Shows one date on a month calendar; its opener fills it.
#include "platform/form.h"

#include <QDate>

class QCalendarWidget;
class QLabel;

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
