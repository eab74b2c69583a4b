#include "anniversaries/calendar.h"

#include "anniversaries/calendlg.h"
#include "anniversaries/rows.h"
#include "core/dm.h"
#include "core/global.h"
#include "core/lunsol.h"
#include "core/myunit.h"
#include "lists/handoff.h"
#include "lists/listwindow.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/inifile.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
QString S(const char *text) { return QString::fromUtf8(text); }

// The last lunar year of the conversion table: the forward buttons stop in it.
constexpr int LastYear = 2043;

void paint(QWidget *w, QColor background, QColor text = Qt::white, bool buttonsToo = true)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::WindowText, text);
    if (buttonsToo) {
        // A flat button under the mouse is filled with a lighter shade of the button colour;
        // from a darker strip colour that stays dark enough for white captions.
        p.setColor(QPalette::ButtonText, text);
        p.setColor(QPalette::Button, background.darker(150));
    }
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

QFont titleFont(int pixels)
{
    QFont f(S("굴림체"));
    f.setPixelSize(pixels);
    f.setBold(true);
    return f;
}

struct KindText {
    const char *caption, *countText, *sortField;
};
KindText kindText(int kind)
{
    static const KindText texts[] = {
        {"생일 달력 보기 [오늘은 ", "명의 생일자가 있습니다.", "TDAY"},
        {"결혼기념일 달력 보기 [오늘은 ", "명의 결혼자가 있습니다.", "MDAY"},
        {"가족 생일 달력 보기 [오늘은 ", "명의 생일자가 있습니다.", ""},
    };
    return texts[kind];
}
} // namespace

QString TodayCaption(const QString &prefix)
{
    return prefix + NowAsText(QStringLiteral("yyyy")) + S("년 ") + NowAsText(QStringLiteral("mm")) + S("월 ") +
           NowAsText(QStringLiteral("dd")) + S("일입니다.]");
}

TfrmMonthCalendar::TfrmMonthCalendar(Kind kind, QWidget *parent)
    : TForm(parent), qrFind(&frmDM->dbKelmo), m_kind(kind)
{
    static const char *const names[] = {"frmCalenB", "frmCalenM", "frmCalenF"};
    setObjectName(QString::fromLatin1(names[int(kind)]));

    // Title strip: the step buttons around the year and month, which take the window to today.
    pnlTitle = new QWidget(this);
    pnlTitle->setObjectName(QStringLiteral("pnlTitle"));
    paint(pnlTitle, QColor(0, 128, 192));
    pnlTitle->setFont(titleFont(16));
    auto step = [this](const char *name, const char *caption) {
        auto *b = new QToolButton(pnlTitle);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(S(caption));
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus); // the keyboard steps from the day calendar
        return b;
    };
    sbtnPy = step("sbtnPy", "1년전");
    sbtnPm = step("sbtnPm", "1달전");
    sbtnNm = step("sbtnNm", "1달후");
    sbtnNy = step("sbtnNy", "1년후");
    sbtnToday = new QToolButton(pnlTitle);
    sbtnToday->setObjectName(QStringLiteral("sbtnToday"));
    sbtnToday->setAutoRaise(true);
    sbtnToday->setFocusPolicy(Qt::NoFocus);
    sbtnToday->setToolTip(S("오늘로 이동"));
    sbtnToday->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    lblYear = new QLabel(sbtnToday);
    lblYear->setObjectName(QStringLiteral("lblYear"));
    lblMon = new QLabel(sbtnToday);
    lblMon->setObjectName(QStringLiteral("lblMon"));
    lblMon->setFont(titleFont(29));
    for (QLabel *l : {lblYear, lblMon}) {
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
        l->setAlignment(Qt::AlignCenter);
    }
    auto *today = new QVBoxLayout(sbtnToday);
    today->setContentsMargins(2, 2, 2, 2);
    today->setSpacing(0);
    today->addWidget(lblYear);
    today->addWidget(lblMon);
    sbtnToday->setMinimumSize(110, 64);
    auto *title = new QHBoxLayout(pnlTitle);
    title->setContentsMargins(4, 4, 4, 4);
    title->addWidget(sbtnPy);
    title->addWidget(sbtnPm);
    title->addWidget(sbtnToday, 1);
    title->addWidget(sbtnNm);
    title->addWidget(sbtnNy);

    calDay = MonthCalendar(this);
    calDay->setMinimumSize(300, 220);
    calDay->setFocus();
    // The control is held to the month shown: its own page keys would go nowhere.
    if (QWidget *days = calDay->focusProxy())
        days->installEventFilter(this);
    pnlLun = Panel(QString(), this, true);
    pnlLun->setObjectName(QStringLiteral("pnlLun"));
    pnlLun->setAlignment(Qt::AlignCenter);

    pnlTotal = Panel(QString(), this, true);
    pnlTotal->setObjectName(QStringLiteral("pnlTotal"));
    paint(pnlTotal, QColor(128, 128, 128));
    QFont bold = pnlTotal->font();
    bold.setBold(true);
    pnlTotal->setFont(bold);
    bbtnPrint = new QPushButton(S("인쇄(&P)"), this);
    bbtnPrint->setObjectName(QStringLiteral("bbtnPrint"));
    if (kind == Kind::Family)
        bbtnPrint->setToolTip(S("가족 생일자는 리스트만 인쇄됩니다."));
    dgrdFind = new DBGrid(this);
    dgrdFind->setObjectName(QStringLiteral("dgrdFind"));
    dgrdFind->setDataSource(&dsFind);
    dgrdFind->setMultiSelect(true);

    // Bottom strip
    auto *pnlBtn = new QWidget(this);
    pnlBtn->setObjectName(QStringLiteral("pnlBtn"));
    paint(pnlBtn, QColor(0, 128, 128), Qt::yellow, false);
    sbtnHelp = new QToolButton(pnlBtn);
    sbtnHelp->setObjectName(QStringLiteral("sbtnHelp"));
    sbtnHelp->setText(S("도움말"));
    sbtnHelp->setEnabled(false);
    bbtnClose = new QPushButton(S("닫기(&C)"), pnlBtn);
    bbtnClose->setObjectName(QStringLiteral("bbtnClose"));
    auto *bottom = new QHBoxLayout(pnlBtn);
    bottom->addWidget(sbtnHelp);
    bottom->addStretch(1);
    if (kind == Kind::Birthday) {
        chkStart = new QCheckBox(S("시작시 항상 보여 주기(&S)"), pnlBtn);
        chkStart->setObjectName(QStringLiteral("chkStart"));
        bottom->addWidget(chkStart);
    }
    bottom->addWidget(bbtnClose);

    auto *left = new QVBoxLayout;
    left->addWidget(pnlTitle);
    left->addWidget(calDay, 1);
    left->addWidget(pnlLun);
    auto *count = new QHBoxLayout;
    count->addWidget(pnlTotal, 1);
    count->addWidget(bbtnPrint);
    auto *right = new QVBoxLayout;
    right->addLayout(count);
    right->addWidget(dgrdFind, 1);
    auto *body = new QHBoxLayout;
    body->addLayout(left);
    body->addLayout(right, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addWidget(pnlBtn);
    resize(790, 440); // whole on the smallest screen the main window is made for

    const auto on = [this](auto *sender, auto signal, void (TfrmMonthCalendar::*handler)()) {
        connect(sender, signal, this, GuardedSlot(this, handler));
    };
    on(sbtnPy, &QToolButton::clicked, &TfrmMonthCalendar::sbtnPyClick);
    on(sbtnPm, &QToolButton::clicked, &TfrmMonthCalendar::sbtnPmClick);
    on(sbtnNm, &QToolButton::clicked, &TfrmMonthCalendar::sbtnNmClick);
    on(sbtnNy, &QToolButton::clicked, &TfrmMonthCalendar::sbtnNyClick);
    on(sbtnToday, &QToolButton::clicked, &TfrmMonthCalendar::sbtnTodayClick);
    on(bbtnPrint, &QPushButton::clicked, &TfrmMonthCalendar::bbtnPrintClick);
    on(dgrdFind, &DBGrid::doubleClicked, &TfrmMonthCalendar::dgrdFindDblClick);
    on(bbtnClose, &QPushButton::clicked, &TfrmMonthCalendar::bbtnCloseClick);
    connect(calDay, &QCalendarWidget::selectionChanged, this, [this] {
        Guarded([&] {
            // The control cannot leave the month shown; a click picks another day in it.
            if (calDay->selectedDate().isValid() && calDay->selectedDate() != m_date) {
                m_date = calDay->selectedDate();
                calDayChange();
            }
        });
    });
    FormCreate();
}

void TfrmMonthCalendar::FormCreate()
{
    if (m_kind == Kind::Family) {
        dgrdFind->setColumns(FamilyDayColumns(true));
        qrFind.setSql(FamilyRowsSelect() + S("WHERE (Family.Tday BETWEEN :tday1 AND :tday2) ") +
                      S("  AND (Family.F = true) ") + S("ORDER BY Family.TDAY"));
    } else {
        const bool birthday = m_kind == Kind::Birthday;
        const char *day = birthday ? "Tday" : "Mday";
        QList<DBGrid::Column> columns =
            ListColumns((QString::fromLatin1(day) + QStringLiteral(" Name X Bday L Tel1 Tel2 Hp Addr Zip Zone Area Duty1 "
                                                                   "Duty2 Bigo Part Resp"))
                            .split(u' '),
                        {MemberDayDef(day)});
        columns[11].title = AreaWord();
        dgrdFind->setColumns(columns);
        qrFind.setSql(S("SELECT Ino, Name, X, Bday, L, ") + (birthday ? S("Tday") : S("Mday")) +
                      S(", Tel1, Tel2, Hp,   (Addr1 || ' ')  || Addr2  Addr, Zip, Zone, Area, Duty1, Duty2, Bigo, Part, "
                        "Resp, Sel ") +
                      S("FROM \"master.DB\" Master ") +
                      (birthday ? S("WHERE Tday BETWEEN :tday1 AND :tday2 ORDER BY Tday")
                                : S("WHERE Substring(Mday from 5 for 2) = :mday ORDER BY Mday")));
    }
    if (chkStart)
        chkStart->setChecked(CalenOption == 1);
    setWindowTitle(TodayCaption(S(kindText(int(m_kind)).caption)));
    sbtnTodayClick();
}

std::optional<TdayTable> TfrmMonthCalendar::cache() const
{
    switch (m_kind) {
    case Kind::Birthday: return TdayTable::Master;
    case Kind::Family: return TdayTable::Family;
    case Kind::Wedding: break;
    }
    return std::nullopt;
}

void TfrmMonthCalendar::setShownDate(const QDate &date)
{
    m_date = date;
    {
        const QSignalBlocker still(calDay);
        ShowOneMonth(calDay, date);
    }
    calDayChange();
}

void TfrmMonthCalendar::calDayChange()
{
    lblYear->setText(FormatIntByMask(m_date.year(), QStringLiteral("@0 ####")) + S("년"));
    lblMon->setText(FormatIntByMask(m_date.month(), QStringLiteral("@0 ##")) + S("월"));
    const QString s = SolarToLunar(m_date.toString(QStringLiteral("yyyyMMdd")));
    pnlLun->setText(S("음력 : ") + s.left(4) + u'-' + s.mid(4, 2) + u'-' + s.mid(6, 2));
}

void TfrmMonthCalendar::ShowMonth()
{
    // A month of a new year rebuilds the birthday cache first: a write.
    frmDM->dbKelmo.runRetryingAfterLock(this, [this] {
        // Until the month is read, nothing of the month shown before stays on screen.
        qrFind.close();
        ShowCount(0);
        const int year = m_date.year(), month = m_date.month();
        if (const auto table = cache(); table && year != LastTdayYear(*table))
            RecalcTday(*table, year);
        const QString mm = FormatIntByMask(month, QStringLiteral("@0 ##"));
        qrFind.close();
        qrFind.prepare();
        qrFind.clearParams();
        if (m_kind == Kind::Wedding) {
            qrFind.setParam(QStringLiteral("mday"), mm);
        } else {
            qrFind.setParam(QStringLiteral("tday1"), mm + QStringLiteral("01"));
            qrFind.setParam(QStringLiteral("tday2"), mm + QString::number(DaysInMonth(year, month)));
        }
        qrFind.open();
        ShowCount(qrFind.recordCount());
    }, Database::Access::Write);
}

void TfrmMonthCalendar::ShowCount(int n)
{
    pnlTotal->setText(u' ' + QString::number(n) + S(kindText(int(m_kind)).countText));
    dgrdFind->setEnabled(n >= 1);
    bbtnPrint->setEnabled(n >= 1);
}

void TfrmMonthCalendar::sbtnTodayClick()
{
    setShownDate(QDate(NowAsText(QStringLiteral("yyyy")).toInt(), NowAsText(QStringLiteral("mm")).toInt(),
                       NowAsText(QStringLiteral("dd")).toInt()));
    ShowMonth();
}

void TfrmMonthCalendar::sbtnPyClick()
{
    setShownDate(m_date.addYears(-1));
    ShowMonth();
}

void TfrmMonthCalendar::sbtnPmClick()
{
    setShownDate(m_date.addMonths(-1));
    ShowMonth();
}

void TfrmMonthCalendar::sbtnNmClick()
{
    if (m_date.year() > LastYear || (m_date.year() == LastYear && m_date.month() == 12))
        setShownDate(m_date.addYears(LastYear - m_date.year()));
    else
        setShownDate(m_date.addMonths(1));
    ShowMonth();
}

void TfrmMonthCalendar::sbtnNyClick()
{
    setShownDate(m_date.addYears(m_date.year() >= LastYear ? LastYear - m_date.year() : 1));
    ShowMonth();
}

void TfrmMonthCalendar::bbtnPrintClick()
{
    if (m_kind == Kind::Family) {
        PrintFamilyBirthdays(qrFind, dgrdFind,
                             QString::number(m_date.year()) + S("년 ") + QString::number(m_date.month()) +
                                 S("월 가족 생일자 명단"));
        return;
    }
    PrintSortField = S(kindText(int(m_kind)).sortField);
    resulthandoff::Print(dgrdFind, qrFind);
    PrintSortField = QStringLiteral("NAME");
}

void TfrmMonthCalendar::dgrdFindDblClick()
{
    resulthandoff::Dial(dgrdFind, qrFind);
}

void TfrmMonthCalendar::bbtnCloseClick()
{
    // Only a changed choice is written, and the window closes whatever the write does: a full
    // disk or a read-only folder must not keep it open.
    const int chosen = chkStart && chkStart->isChecked() ? 1 : 0;
    if (chkStart && chosen != CalenOption) {
        Guarded([chosen] {
            if (IniFile)
                IniFile->WriteInteger(QStringLiteral("ETC"), QStringLiteral("Calen"), chosen);
            CalenOption = chosen;
        });
    }
    close();
}

bool TfrmMonthCalendar::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched == calDay->focusProxy()) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool page = key->key() == Qt::Key_PageUp || key->key() == Qt::Key_PageDown;
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        if (page && (mods == Qt::NoModifier || mods == Qt::ControlModifier)) {
            // PageUp/PageDown a month, with Ctrl a year, as the step buttons go.
            const bool back = key->key() == Qt::Key_PageUp;
            QToolButton *step = mods == Qt::ControlModifier ? (back ? sbtnPy : sbtnNy) : (back ? sbtnPm : sbtnNm);
            step->click();
            return true;
        }
    }
    return TForm::eventFilter(watched, event);
}

void TfrmMonthCalendar::keyPressEvent(QKeyEvent *event)
{
    // Esc closes the window, but only the close button stores the start-up choice.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    TForm::keyPressEvent(event);
}

void TfrmMonthCalendar::FormClose()
{
    // The opener goes back to SavedBookmark afterwards; the go-to replaces it.
    if (dgrdFind->isEnabled())
        resulthandoff::OfferGoTo(qrFind, m_kind == Kind::Family ? resulthandoff::RowMember::FamilyNamed
                                                                : resulthandoff::RowMember::Own);
}

TfrmCalen::TfrmCalen(QWidget *parent) : TForm(parent)
{
    setObjectName(QStringLiteral("frmCalen"));
    setWindowTitle(TodayCaption(S("달력 보기 [오늘은 ")));
    monCalen = MonthCalendar(this);
    monCalen->setObjectName(QStringLiteral("monCalen"));
    monCalen->setNavigationBarVisible(true);
    monCalen->setVerticalHeaderFormat(QCalendarWidget::ISOWeekNumbers);
    monCalen->setSelectedDate(Clock::now().date());
    auto button = [this](const char *name, const char *caption) {
        auto *b = new QPushButton(S(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    bbtnCalenB = button("bbtnCalenB", "생일 달력");
    bbtnCalenF = button("bbtnCalenF", "가족 생일 달력");
    bbtnCalenM = button("bbtnCalenM", "결혼기념일 달력");
    bbtnClose = button("bbtnClose", "닫기(&C)");
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {bbtnCalenB, bbtnCalenF, bbtnCalenM})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(bbtnClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(monCalen, 1);
    layout->addLayout(buttons);
    resize(560, 420);
    setCancelButton(bbtnClose);
    connect(bbtnCalenB, &QPushButton::clicked, this, GuardedSlot(this, &TfrmCalen::bbtnCalenBClick));
    connect(bbtnCalenF, &QPushButton::clicked, this, GuardedSlot(this, &TfrmCalen::bbtnCalenFClick));
    connect(bbtnCalenM, &QPushButton::clicked, this, GuardedSlot(this, &TfrmCalen::bbtnCalenMClick));
    connect(bbtnClose, &QPushButton::clicked, this, &QWidget::close);
}

template <class Calendar>
void TfrmCalen::open()
{
    Calendar w;
    w.centreOn(this);
    w.ShowModal();
}

void TfrmCalen::bbtnCalenBClick() { open<TfrmCalenB>(); }
void TfrmCalen::bbtnCalenFClick() { open<TfrmCalenF>(); }
void TfrmCalen::bbtnCalenMClick() { open<TfrmCalenM>(); }
