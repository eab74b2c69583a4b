#pragma once
// The month calendars: one window that shows a month and the members (or family members) whose
// birthday or wedding day falls in it, in three kinds; and the hub that opens them.
#include "anniversaries/tday.h"
#include "platform/dataset.h"
#include "platform/dbcontrols.h"
#include "platform/form.h"

#include <QDate>
#include <optional>

class QCalendarWidget;
class QCheckBox;
class QLabel;
class QPushButton;
class QToolButton;

class TfrmMonthCalendar : public TForm {
    Q_OBJECT
public:
    Query qrFind;
    DataSource dsFind{&qrFind};

    QWidget *pnlTitle;
    QToolButton *sbtnPy, *sbtnPm, *sbtnToday, *sbtnNm, *sbtnNy;
    QLabel *lblYear, *lblMon;
    QCalendarWidget *calDay;
    QLabel *pnlLun, *pnlTotal;
    QPushButton *bbtnPrint;
    DBGrid *dgrdFind;
    QToolButton *sbtnHelp;
    QCheckBox *chkStart = nullptr; // the birthday calendar's start-up choice
    QPushButton *bbtnClose;

    // The date of the calendar control, the window's whole state.
    QDate shownDate() const { return m_date; }
    // Moves the control to a date (the month is all it can show) and runs calDayChange.
    void setShownDate(const QDate &date);

    void ShowMonth();
    void ShowCount(int n);
    void calDayChange();
    void sbtnPyClick();
    void sbtnPmClick();
    void sbtnNmClick();
    void sbtnNyClick();
    void sbtnTodayClick();
    void bbtnPrintClick();
    void dgrdFindDblClick();
    void bbtnCloseClick();

protected:
    enum class Kind { Birthday, Wedding, Family };
    TfrmMonthCalendar(Kind kind, QWidget *parent);
    void FormClose() override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FormCreate();
    // The birthday cache this kind reads, if any.
    std::optional<TdayTable> cache() const;

    Kind m_kind;
    QDate m_date;
};

class TfrmCalenB : public TfrmMonthCalendar {
    Q_OBJECT
public:
    explicit TfrmCalenB(QWidget *parent = nullptr) : TfrmMonthCalendar(Kind::Birthday, parent) {}
};

class TfrmCalenM : public TfrmMonthCalendar {
    Q_OBJECT
public:
    explicit TfrmCalenM(QWidget *parent = nullptr) : TfrmMonthCalendar(Kind::Wedding, parent) {}
};

class TfrmCalenF : public TfrmMonthCalendar {
    Q_OBJECT
public:
    explicit TfrmCalenF(QWidget *parent = nullptr) : TfrmMonthCalendar(Kind::Family, parent) {}
};

// A large month calendar with the buttons that open the three calendars.
class TfrmCalen : public TForm {
    Q_OBJECT
public:
    explicit TfrmCalen(QWidget *parent = nullptr);

    QCalendarWidget *monCalen;
    QPushButton *bbtnCalenB, *bbtnCalenF, *bbtnCalenM, *bbtnClose;

    void bbtnCalenBClick();
    void bbtnCalenFClick();
    void bbtnCalenMClick();

private:
    template <class Calendar>
    void open();
};

// The prefix ("생일 달력 보기 [오늘은 ") followed by "2026년 03월 05일입니다.]".
QString TodayCaption(const QString &prefix);
