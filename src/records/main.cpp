#include "records/main.h"

#include "anniversaries/annivlists.h"
#include "anniversaries/calendar.h"
#include "anniversaries/calendlg.h"
#include "anniversaries/tday.h"
#include "core/about.h"
#include "core/dm.h"
#include "core/global.h"
#include "core/login.h"
#include "core/myunit.h"
#include "dialer/dial.h"
#include "lists/charts.h"
#include "lists/handoff.h"
#include "lists/lists.h"
#include "maintenance/backup.h"
#include "maintenance/setup.h"
#include "maintenance/trans1.h"
#include "maintenance/trans2.h"
#include "platform/aliases.h"
#include "platform/dialogs.h"
#include "platform/editmask.h"
#include "platform/form.h"
#include "platform/inifile.h"
#include "platform/printer.h"
#include "platform/regsettings.h"
#include "platform/sysutils.h"
#include "printing/print.h"
#include "records/addr.h"
#include "records/check.h"
#include "records/del.h"
#include "records/family.h"
#include "records/find.h"
#include "records/memo.h"
#include "records/new.h"
#include "records/job.h"
#include "records/pic.h"
#include "records/study.h"
#include "records/visit.h"
#include "records/zip.h"
#include "records/go.h"
#include "records/ins.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include <utility>

TfrmMain *frmMain = nullptr;

namespace {
const QString Field_(const char *name) { return QString::fromLatin1(name); }

Table &master() { return frmDM->tbMaster; }

// The menu as declared data: header, component name, caption, shortcut, hidden, handler.
struct CommandDef {
    const char *header;
    const char *name;
    const char *caption;
    QKeySequence shortcut;
    bool hidden;
    void (TfrmMain::*handler)();
};

const char *const Separator = "-";

const QList<CommandDef> &commandTable()
{
    using M = TfrmMain;
    static const QList<CommandDef> table = {
        {"mnuF1", "mnuIns", "새 성도 등록(&N)...", QKeySequence(Qt::Key_Insert), false, &M::mnuInsClick},
        {"mnuF1", "mnuNew", "새 가족 등록(&F)...", QKeySequence(Qt::CTRL | Qt::Key_N), true, &M::mnuNewClick},
        {"mnuF1", Separator, "", {}, false, nullptr},
        {"mnuF1", "mnuSetup", "환경 설정(&S)...", QKeySequence(Qt::Key_F12), false, &M::mnuSetupClick},
        {"mnuF1", "mnuBackup", "데이타 보관(&B)", QKeySequence(Qt::CTRL | Qt::Key_F12), false, &M::mnuBackupClick},
        {"mnuF1", "mnuTrans", "데이타 변환(&T)", {}, false, nullptr},
        {"mnuF1", "mnuCheck", "데이타 점검(&C)", QKeySequence(Qt::SHIFT | Qt::Key_F12), true, &M::mnuCheckClick},
        {"mnuF1", Separator, "", {}, false, nullptr},
        {"mnuF1", "mnuExit", "종료(&X)", QKeySequence(Qt::CTRL | Qt::Key_X), false, nullptr},
        {"mnuR1", "mnuFind", "세부 검색(&F)...", QKeySequence(Qt::CTRL | Qt::Key_F), false, &M::mnuFindClick},
        {"mnuR1", "mnuMemo", "메모 내용 검색(&M)...", QKeySequence(Qt::CTRL | Qt::Key_O), false, &M::mnuMemoClick},
        {"mnuR1", "mnuGo", "이동(&G)...", QKeySequence(Qt::CTRL | Qt::Key_G), false, &M::mnuGoClick},
        {"mnuR1", Separator, "", {}, false, nullptr},
        {"mnuR1", "mnuEdit", "교적사항 수정(&E)...", QKeySequence(Qt::CTRL | Qt::Key_E), false, &M::mnuEditClick},
        {"mnuR1", "mnuDel", "삭제(&D)", QKeySequence(Qt::CTRL | Qt::Key_Delete), false, &M::mnuDelClick},
        {"mnuR1", "mnuAll", "전체 선택(&A)", QKeySequence(Qt::CTRL | Qt::Key_A), false, &M::mnuAllClick},
        {"mnuE1", "mnuJob", "직장 사항(&J)...", QKeySequence(Qt::Key_F2), false, &M::mnuJobClick},
        {"mnuE1", "mnuFamily", "가족 사항(&F)...", QKeySequence(Qt::Key_F3), false, &M::mnuFamilyClick},
        {"mnuE1", "mnuVisit", "심방 기록(&V)...", QKeySequence(Qt::Key_F4), false, &M::mnuVisitClick},
        {"mnuE1", "mnuStudy", "이력 기록(&S)...", QKeySequence(Qt::Key_F5), false, &M::mnuStudyClick},
        {"mnuT1", "mnuPic", "사진 첨부(&P)...", QKeySequence(Qt::CTRL | Qt::Key_P), false, &M::mnuPicClick},
        {"mnuT1", Separator, "", {}, false, nullptr},
        {"mnuT1", "mnuDial", "전화 걸기(&D)...", QKeySequence(Qt::CTRL | Qt::Key_D), false, &M::mnuDialClick},
        {"mnuT1", "mnuEmail", "전자 우편(&E)...", QKeySequence(Qt::CTRL | Qt::Key_M), false, &M::mnuEmailClick},
        {"mnuT1", Separator, "", {}, false, nullptr},
        {"mnuT1", "mnuCalen", "달력 보기(&C)", QKeySequence(Qt::CTRL | Qt::Key_C), false, &M::mnuCalenClick},
        {"mnuT1", "mnuCalenB", "생일 달력 보기(&B)", {}, false, &M::mnuCalenBClick},
        {"mnuT1", "mnuCalenF", "가족 생일 달력 보기(&F)", {}, false, &M::mnuCalenFClick},
        {"mnuT1", "mnuCalenM", "결혼기념일 달력 보기(&M)", {}, false, &M::mnuCalenMClick},
        {"mnuT1", Separator, "", {}, false, nullptr},
        {"mnuT1", "mnuZip", "우편 번호(&Z)...", QKeySequence(Qt::CTRL | Qt::Key_Z), false, &M::mnuZipClick},
        {"mnuL1", "mnuList", "전체 명단(&L)", QKeySequence(Qt::Key_F7), false, &M::mnuListClick},
        {"mnuL1", Separator, "", {}, false, nullptr},
        {"mnuL1", "mnuLArea", "교구/구역별 명단(&A)", QKeySequence(Qt::CTRL | Qt::Key_F5), false, &M::mnuLAreaClick},
        {"mnuL1", "mnuLPart", "소속기관별 명단(&P)", QKeySequence(Qt::CTRL | Qt::Key_F6), false, &M::mnuLPartClick},
        {"mnuL1", "mnuLDuty", "직분별 명단(&D)", QKeySequence(Qt::CTRL | Qt::Key_F7), false, &M::mnuLDutyClick},
        {"mnuL1", "mnuLGita", "활동기타별 명단(&G)", QKeySequence(Qt::CTRL | Qt::Key_F8), false, &M::mnuLGitaClick},
        {"mnuL1", "mnuLBigo", "비고별 명단(&I)", QKeySequence(Qt::CTRL | Qt::Key_F9), false, &M::mnuLBigoClick},
        {"mnuL1", "mnuLEvan", "_(전도 대상자)&", {}, false, nullptr},
        {"mnuL1", Separator, "", {}, false, nullptr},
        {"mnuL1", "mnuLBday", "생일자 명단(&B)", QKeySequence(Qt::SHIFT | Qt::Key_F5), false, &M::mnuLBdayClick},
        {"mnuL1", "mnuLFday", "가족 생일자 명단(&F)", QKeySequence(Qt::SHIFT | Qt::Key_F6), false, &M::mnuLFdayClick},
        {"mnuL1", Separator, "", {}, false, nullptr},
        {"mnuL1", "mnuLReg", "등록자 명단(&R)", QKeySequence(Qt::SHIFT | Qt::Key_F7), false, &M::mnuLRegClick},
        {"mnuL1", "mnuLGen", "세대주 명단(&E)", QKeySequence(Qt::SHIFT | Qt::Key_F8), false, &M::mnuLGenClick},
        {"mnuL1", "mnuLBap", "학습/세례자 명단(&S)", QKeySequence(Qt::SHIFT | Qt::Key_F9), false, &M::mnuLBapClick},
        {"mnuL1", "mnuLStudy", "이력 제목별 명단(&T)", {}, false, &M::mnuLStudyClick},
        {"mnuL1", "M1", "결혼 기념자 명단(&M)", {}, false, &M::M1Click},
        {"mnuS1", "mnuStat", "전체 통계(&S)", QKeySequence(Qt::Key_F8), false, &M::mnuStatClick},
        {"mnuS1", Separator, "", {}, false, nullptr},
        {"mnuS1", "mnuSArea", "교구/구역별 통계(&A)", {}, false, &M::mnuSAreaClick},
        {"mnuS1", "mnuSPart", "소속기관별 통계(&P)", {}, false, &M::mnuSPartClick},
        {"mnuS1", "mnuSDuty", "직분별 통계(&D)", {}, false, &M::mnuSDutyClick},
        {"mnuS1", "mnuSGita", "활동기타별 통계(&G)", {}, false, &M::mnuSGitaClick},
        {"mnuS1", "mnuSBigo", "비고별 통계(&B)", {}, false, &M::mnuSBigoClick},
        {"mnuP1", "mnuPrint", "인쇄(&P)...", QKeySequence(Qt::Key_F11), false, &M::mnuPrintClick},
        {"mnuP1", "mnuFileSave", "파일 저장(&F)...", QKeySequence(Qt::CTRL | Qt::Key_F11), true, &M::mnuFileSaveClick},
        {"mnuP1", Separator, "", {}, false, nullptr},
        {"mnuP1", "mnuPrtset", "인쇄 설정(&S)...", {}, false, &M::mnuPrtsetClick},
        {"mnuH1", "mnuHelp", "켈모누리 도움말(&H)", QKeySequence(Qt::Key_F1), false, &M::mnuHelpClick},
        {"mnuH1", Separator, "", {}, false, nullptr},
        {"mnuH1", "mnuAbout", "켈모누리 정보(&A)", {}, false, &M::mnuAboutClick},
    };
    return table;
}

struct HeaderDef {
    const char *name;
    const char *caption;
    bool recordDependent;
};
const HeaderDef Headers[] = {
    {"mnuF1", "파일(&F)", false},    {"mnuR1", "자료 처리(&R)", true}, {"mnuE1", "세부 처리(&E)", true},
    {"mnuT1", "도구(&T)", true},     {"mnuL1", "빠른 명단 보기(&L)", true}, {"mnuS1", "통계(&S)", true},
    {"mnuP1", "인쇄(&P)", true},     {"mnuH1", "도움말(&H)", false},
};

// A labelled read-only field of the record view.
DBEdit *fieldEdit(QWidget *parent, const char *field, DataSource *source, Qt::Alignment align = Qt::AlignLeft)
{
    auto *e = BoundControl<DBEdit>(parent, QByteArray("dedt").append(field).constData(), source, field, true);
    e->setAlignment(align | Qt::AlignVCenter);
    // Numbers, dates and codes show whole ("010-1234-5678", "800315-1234567"); long texts may scroll.
    if (const Field *f = e->field()) {
        const int chars = f->editMask().isEmpty() ? f->size() : EditMask(f->editMask()).length();
        // The widest value a telephone field holds is a mobile number.
        const QString widest = f->editMask().isEmpty() && chars >= 13 ? QStringLiteral("010-0000-0000") : QString(chars, QLatin1Char('0'));
        if (chars <= 14)
            e->setMinimumWidth(e->fontMetrics().horizontalAdvance(widest) + 10);
    }
    return e;
}

// A read-only tick box of the record view, named after its field.
DBCheckBox *flagBox(QWidget *parent, const char *name, const char *field, const QString &text, DataSource *source)
{
    auto *c = BoundControl<DBCheckBox>(parent, name, source, field, true);
    c->setText(text);
    return c;
}

QLabel *caption(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

QToolButton *pageButton(QWidget *parent, const char *name, const QString &hint, QStyle::StandardPixmap icon,
                        const QString &text = {})
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(hint);
    b->setIcon(parent->style()->standardIcon(icon));
    if (!text.isEmpty()) {
        b->setText(text);
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    } else {
        b->setIconSize(QSize(14, 14)); // beside a field, as small as the old speed buttons
    }
    b->setAutoRaise(true);
    return b;
}

QLabel *countPanel(QWidget *parent, const char *name, const QString &text)
{
    QLabel *l = Panel(text, parent, true);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

// A month and day that some year has (2000 has 29 February).
bool validMonthDay(const QString &mmdd, bool lunar)
{
    return IsValidDate(QStringLiteral("2000") + mmdd, lunar);
}
} // namespace

QToolButton *TfrmMain::dialButton(QWidget *parent, const char *name, const QString &hint, const char *field,
                                  const QString &suffix, bool messageWhenEmpty)
{
    auto *b = pageButton(parent, name, hint, QStyle::SP_MediaPlay);
    connect(b, &QToolButton::clicked, this, [this, f = QString::fromLatin1(field), suffix, messageWhenEmpty] {
        Guarded([&] { dial(f, suffix, messageWhenEmpty); });
    });
    return b;
}

TfrmMain::TfrmMain(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    buildMenus();
    ShowAllMembers = [this] { tcN->setCurrentIndex(0); };

    auto *central = new QWidget(this);
    auto *layout = new QHBoxLayout(central);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(buildNamePane());
    layout->addWidget(buildDetailPane(), 1);
    setCentralWidget(central);

    stbrMain = statusBar();
    stbrMain->setObjectName(QStringLiteral("stbrMain"));
    stbrMainText = new QLabel(QStringLiteral("켈모누리 3.0 - 교회 교적 관리 프로그램"), this);
    stbrMainText->setAlignment(Qt::AlignCenter);
    stbrMainText->setFixedWidth(510);
    stbrMainText->setFrameShape(QFrame::Panel);
    stbrMainText->setFrameShadow(QFrame::Raised);
    stbrClock = new QLabel(this);
    stbrClock->setAlignment(Qt::AlignCenter);
    stbrMain->addWidget(stbrMainText);
    stbrMain->addPermanentWidget(stbrClock);

    tmrDateTime = new QTimer(this);
    tmrDateTime->setObjectName(QStringLiteral("tmrDateTime"));
    tmrDateTime->setInterval(500);
    connect(tmrDateTime, &QTimer::timeout, this,
            [this] { stbrClock->setText(NowAsText(QStringLiteral("yyyy-mm-dd hh:nn:ss"))); });
    tmrDateTime->start();

    // The least size and the widest, frame included; it opens at the least.
    setMinimumSize(800, 600);
    resize(800, 600);
    KeepOnScreen(this, {800, 600}, 1024);
    qApp->installEventFilter(this);
}

TfrmMain::~TfrmMain()
{
    qApp->removeEventFilter(this);
    releaseSettingsStores();
    if (frmMain == this)
        frmMain = nullptr;
    ShowAllMembers = nullptr;
}

void TfrmMain::buildMenus()
{
    QHash<QString, QMenu *> menus;
    for (const HeaderDef &h : Headers) {
        QMenu *m = menuBar()->addMenu(QString::fromUtf8(h.caption));
        m->setObjectName(QString::fromLatin1(h.name));
        menus.insert(QString::fromLatin1(h.name), m);
        if (h.recordDependent)
            m_recordMenus << m;
    }
    for (const CommandDef &c : commandTable()) {
        QMenu *menu = menus.value(QString::fromLatin1(c.header));
        if (QLatin1String(c.name) == QLatin1String(Separator)) {
            menu->addSeparator();
            continue;
        }
        const QString name = QString::fromLatin1(c.name);
        if (name == QLatin1String("mnuTrans")) {
            mnuTrans = menu->addMenu(QString::fromUtf8(c.caption));
            mnuTrans->setObjectName(name);
            mnuTransAction = mnuTrans->menuAction();
            for (const auto &[n, text, handler] :
                 {std::tuple{"mnu1to3", "1.x에서 3.0으로(&1)", &TfrmMain::mnu1to3Click},
                  std::tuple{"mnu2to3", "2.x에서 3.0으로(&2)", &TfrmMain::mnu2to3Click}}) {
                QAction *a = mnuTrans->addAction(QString::fromUtf8(text));
                a->setObjectName(QString::fromLatin1(n));
                connect(a, &QAction::triggered, this, guarded(handler));
                m_commands.insert(QString::fromLatin1(n), a);
            }
            continue;
        }
        auto *a = new QAction(QString::fromUtf8(c.caption), this);
        a->setObjectName(name);
        a->setShortcut(c.shortcut);
        a->setShortcutContext(Qt::WindowShortcut);
        if (c.hidden)
            addAction(a); // not in the menu, but its shortcut acts
        else
            menu->addAction(a);
        if (c.handler)
            connect(a, &QAction::triggered, this, guarded(c.handler));
        m_commands.insert(name, a);
        m_headerItems[menu] << a;
    }
    connect(command(QStringLiteral("mnuExit")), &QAction::triggered, this, &QWidget::close);
}

QAction *TfrmMain::command(const QString &name) const
{
    return m_commands.value(name);
}

QWidget *TfrmMain::buildNamePane()
{
    auto *pnlName = new QWidget(this);
    pnlName->setObjectName(QStringLiteral("pnlName"));
    pnlName->setFixedWidth(326); // the name grid's columns, its scroll bar and the index tabs
    auto *goBand = new QGroupBox(QStringLiteral("이동"), pnlName);
    cbxGo = new QComboBox(goBand);
    cbxGo->setObjectName(QStringLiteral("cbxGo"));
    cbxGo->setEditable(true);
    cbxGo->setInsertPolicy(QComboBox::NoInsert);
    cbxGo->installEventFilter(this);
    cbxGo->lineEdit()->installEventFilter(this);
    auto *goLayout = new QVBoxLayout(goBand);
    goLayout->setContentsMargins(4, 2, 4, 4);
    goLayout->addWidget(cbxGo);

    dgrdName = new DBGrid(pnlName);
    dgrdName->setObjectName(QStringLiteral("dgrdName"));
    dgrdName->setDataSource(&frmDM->dsMaster);
    const Qt::Alignment centre = Qt::AlignCenter;
    dgrdName->setColumns({{Field_("Name"), QStringLiteral("성  명"), centre, 70},
                          {Field_("X"), QString(), centre, 28},
                          {Field_("Tel1"), QString(), centre, 92},
                          {Field_("Hp"), QString(), centre, 92}});
    dgrdName->setMultiSelect(true);
    connect(dgrdName, &DBGrid::keyPressed, this, [this](QKeyEvent *e) { ShiftDown = e->key() == Qt::Key_Shift; });
    connect(dgrdName, &DBGrid::keyReleased, this, [this](QKeyEvent *e) {
        if (e->key() == Qt::Key_Shift)
            ShiftDown = false;
    });
    connect(dgrdName, &DBGrid::mousePressed, this, GuardedSlot(this, &TfrmMain::dgrdNameMouseDown));
    connect(dgrdName, &DBGrid::cellClicked, this, [this](int row, int) { Guarded([&] { dgrdNameCellClick(row); }); });

    tcN = new QTabBar(pnlName);
    tcN->setObjectName(QStringLiteral("tcN"));
    tcN->setShape(QTabBar::RoundedEast);
    for (const char *t : {"전체", "ㄱㄴ", "ㄷㄹ", "ㅁㅂ", "ㅅㅇ", "ㅈㅊ", "ㅋㅌ", "ㅍㅎ", "기타"})
        tcN->addTab(QString::fromUtf8(t));
    connect(tcN, &QTabBar::currentChanged, this, [this](int i) { Guarded([&] { tcNChange(i); }); });

    stbrName = Panel(QString(), pnlName, true);
    stbrName->setObjectName(QStringLiteral("stbrName"));
    stbrName->setAlignment(Qt::AlignCenter);

    auto *gridAndTabs = new QHBoxLayout;
    gridAndTabs->setSpacing(0);
    gridAndTabs->addWidget(dgrdName, 1);
    gridAndTabs->addWidget(tcN, 0, Qt::AlignTop);
    auto *layout = new QVBoxLayout(pnlName);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(goBand);
    layout->addLayout(gridAndTabs, 1);
    layout->addWidget(stbrName);
    m_recordWidgets << dgrdName << cbxGo;
    return pnlName;
}

void TfrmMain::buildToolbar(QWidget *parent, QVBoxLayout *into)
{
    auto *tlbrTool = new QToolBar(parent);
    tlbrTool->setObjectName(QStringLiteral("tlbrTool"));
    tlbrTool->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    tlbrTool->setIconSize(QSize(24, 24));
    struct Tool { const char *name; const char *text; const char *hint; QStyle::StandardPixmap icon; const char *command; bool record; };
    const Tool tools[] = {
        {"tbtnIns", "등록", "새 성도 등록(Ins)", QStyle::SP_FileDialogNewFolder, "mnuIns", false},
        {"tbtnEdit", "수정", "교적사항 수정(^E)", QStyle::SP_FileDialogDetailedView, "mnuEdit", true},
        {"tbtnDel", "삭제", "선택된 성도 삭제(^Del)", QStyle::SP_TrashIcon, "mnuDel", true},
        {"tbtnFind", "검색", "원하는 성도 검색(^F)", QStyle::SP_FileDialogContentsView, "mnuFind", true},
        {"tbtnPrint", "인쇄", "프린터로 인쇄(F11)", QStyle::SP_DialogSaveButton, "mnuPrint", true},
        {"tbtnList", "명단", "전체 명단 보기(F7)", QStyle::SP_FileDialogListView, "mnuList", true},
        {"tbtnPhoto", "통계", "전체 통계 보기(F8)", QStyle::SP_ComputerIcon, "mnuStat", true},
        {"tbtnCalen", "달력", "달력 보기(^C)", QStyle::SP_FileDialogInfoView, "mnuCalen", true},
        {"tbtnExit", "종료(&X)", "종료(^X)", QStyle::SP_DialogCloseButton, "mnuExit", false},
    };
    for (const Tool &t : tools) {
        auto *b = new QToolButton(tlbrTool);
        b->setObjectName(QString::fromLatin1(t.name));
        b->setText(QString::fromUtf8(t.text));
        b->setToolTip(QString::fromUtf8(t.hint));
        b->setIcon(style()->standardIcon(t.icon));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setAutoRaise(true);
        QAction *a = command(QString::fromLatin1(t.command));
        connect(b, &QToolButton::clicked, a, &QAction::trigger);
        tlbrTool->addWidget(b);
        if (t.record)
            m_recordWidgets << b;
    }
    auto *row = new QHBoxLayout;
    row->addWidget(tlbrTool, 1);
    imgAbout = new QToolButton(parent);
    imgAbout->setObjectName(QStringLiteral("imgAbout"));
    imgAbout->setText(QStringLiteral("켈모누리 3.0"));
    imgAbout->setAutoRaise(true);
    QFont f = imgAbout->font();
    f.setBold(true);
    imgAbout->setFont(f);
    connect(imgAbout, &QToolButton::clicked, command(QStringLiteral("mnuAbout")), &QAction::trigger);
    row->addWidget(imgAbout);
    into->addLayout(row);
}

QWidget *TfrmMain::buildDetailPane()
{
    DataSource *ms = &frmDM->dsMaster;
    auto *pnlDetail = new QWidget(this);
    pnlDetail->setObjectName(QStringLiteral("pnlDetail"));
    auto *detailLayout = new QVBoxLayout(pnlDetail);
    detailLayout->setContentsMargins(0, 0, 0, 0);
    detailLayout->setSpacing(2);
    buildToolbar(pnlDetail, detailLayout);

    pnlMain = new QWidget(pnlDetail);
    pnlMain->setObjectName(QStringLiteral("pnlMain"));
    m_recordWidgets << pnlMain;
    detailLayout->addWidget(pnlMain, 1);
    auto *mainLayout = new QVBoxLayout(pnlMain);
    mainLayout->setContentsMargins(0, 0, 0, 0);
    mainLayout->setSpacing(2);
    // The record pages close together: the whole window, frame included, fits an 800 x 600 screen.
    const auto compact = [](QGridLayout *g) {
        g->setContentsMargins(4, 4, 4, 4);
        g->setVerticalSpacing(2);
    };

    // Title strip
    auto *pnlTitle = new QFrame(pnlMain);
    pnlTitle->setObjectName(QStringLiteral("pnlTitle"));
    pnlTitle->setFrameShape(QFrame::Panel);
    pnlTitle->setFrameShadow(QFrame::Raised);
    auto *title = new QHBoxLayout(pnlTitle);
    title->setContentsMargins(6, 2, 6, 2);
    auto text = [&](const char *field) {
        auto *t = new DBText(pnlTitle);
        t->setObjectName(QStringLiteral("dtxt") + QString::fromLatin1(field));
        t->setDataSource(ms);
        t->setDataField(QString::fromLatin1(field));
        QFont f = t->font();
        f.setBold(true);
        f.setPointSizeF(f.pointSizeF() + 2);
        t->setFont(f);
        return t;
    };
    title->addWidget(text("Name"));
    title->addWidget(new QLabel(QStringLiteral("("), pnlTitle));
    title->addWidget(text("X"));
    title->addWidget(new QLabel(QStringLiteral(")"), pnlTitle));
    title->addSpacing(6);
    title->addWidget(text("Bday"));
    title->addWidget(new QLabel(QStringLiteral("("), pnlTitle));
    title->addWidget(text("L"));
    title->addWidget(new QLabel(QStringLiteral(")"), pnlTitle));
    auto *sbtnBday = pageButton(pnlTitle, "sbtnBday", QStringLiteral("금년 생일"), QStyle::SP_FileDialogInfoView);
    connect(sbtnBday, &QToolButton::clicked, this, guarded(&TfrmMain::sbtnBdayClick));
    title->addWidget(sbtnBday);
    title->addStretch(1);
    auto *tel1 = text("Tel1");
    tel1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    title->addWidget(tel1);
    auto *sbtnDial1 = dialButton(pnlTitle, "sbtnDial1", QStringLiteral("전화1 걸기"), "Tel1", QStringLiteral("의 전화1]"), false);
    title->addWidget(sbtnDial1);
    mainLayout->addWidget(pnlTitle);

    // Photo and upper pages
    auto *upperRow = new QHBoxLayout;
    upperRow->setSpacing(2);
    dimgPic = new DBImage(pnlMain);
    dimgPic->setObjectName(QStringLiteral("dimgPic"));
    dimgPic->setDataSource(ms);
    dimgPic->setDataField(QStringLiteral("Pic"));
    dimgPic->setStretch(true);
    dimgPic->setFixedSize(90, 120);
    dimgPic->setFrameShape(QFrame::Box);
    connect(dimgPic, &DBImage::doubleClicked, command(QStringLiteral("mnuPic")), &QAction::trigger);
    upperRow->addWidget(dimgPic, 0, Qt::AlignTop);

    pgcUpper = new QTabWidget(pnlMain);
    auto *tsG = new QWidget;
    tsG->setObjectName(QStringLiteral("tsG"));
    {
        auto *g = new QGridLayout(tsG);
        compact(g);
        g->setHorizontalSpacing(2);
        g->addWidget(caption(QStringLiteral("전 화 2"), tsG), 0, 0);
        g->addWidget(fieldEdit(tsG, "Tel2", ms), 0, 1);
        auto *d2 = dialButton(tsG, "sbtnDial2", QStringLiteral("전화2 걸기"), "Tel2", QStringLiteral("의 전화2]"), true);
        g->addWidget(d2, 0, 2);
        g->addWidget(caption(QStringLiteral("이동전화"), tsG), 0, 3);
        g->addWidget(fieldEdit(tsG, "Hp", ms), 0, 4);
        auto *dh = dialButton(tsG, "sbtnDialHp", QStringLiteral("이동전화 걸기"), "Hp", QStringLiteral("의 이동 전화]"), true);
        g->addWidget(dh, 0, 5);
        g->addWidget(caption(QStringLiteral("주    소"), tsG), 1, 0);
        g->addWidget(fieldEdit(tsG, "Addr1", ms), 1, 1, 1, 4);
        g->addWidget(fieldEdit(tsG, "Zip", ms, Qt::AlignCenter), 1, 5);
        g->addWidget(fieldEdit(tsG, "Addr2", ms), 2, 1, 1, 5);
        g->addWidget(caption(QStringLiteral("전자우편"), tsG), 3, 0);
        g->addWidget(fieldEdit(tsG, "Email", ms), 3, 1, 1, 4);
        auto *em = pageButton(tsG, "sbtnEmail", QStringLiteral("전자 우편"), QStyle::SP_DirLinkIcon);
        connect(em, &QToolButton::clicked, command(QStringLiteral("mnuEmail")), &QAction::trigger);
        g->addWidget(em, 3, 5);
        auto *house = new QGroupBox(tsG);
        auto *h = new QHBoxLayout(house);
        h->setContentsMargins(6, 2, 6, 2);
        h->addWidget(flagBox(house, "dchkG", "G", QStringLiteral("세대주"), ms));
        h->addWidget(fieldEdit(house, "Gname", ms));
        h->addWidget(new QLabel(QStringLiteral("氏의"), house));
        h->addWidget(fieldEdit(house, "Grel", ms));
        g->addWidget(house, 4, 0, 1, 6);
    }
    pgcUpper->addTab(tsG, QStringLiteral("일반"));
    auto *tsD = new QWidget;
    tsD->setObjectName(QStringLiteral("tsD"));
    {
        auto *g = new QGridLayout(tsD);
        compact(g);
        const std::pair<const char *, const char *> left[] = {{"학력", "Learn"}, {"주민등록번호", "Regno"}, {"본적", "Bon"}, {"특기", "Spec"}};
        const std::pair<const char *, const char *> right[] = {{"전공", "Major"}, {"漢字", "Hname"}, {"취미", "Hobby"}, {"혈액형", "Bl"}};
        for (int i = 0; i < 4; ++i) {
            g->addWidget(caption(QString::fromUtf8(left[i].first), tsD), i, 0);
            g->addWidget(fieldEdit(tsD, left[i].second, ms), i, 1);
            g->addWidget(caption(QString::fromUtf8(right[i].first), tsD), i, 2);
            g->addWidget(fieldEdit(tsD, right[i].second, ms), i, 3);
        }
        auto *wed = new QGroupBox(tsD);
        auto *w = new QHBoxLayout(wed);
        w->setContentsMargins(6, 2, 6, 2);
        w->addWidget(flagBox(wed, "dchkM", "M", QStringLiteral("결혼기념일"), ms));
        w->addWidget(fieldEdit(wed, "Mday", ms, Qt::AlignCenter));
        auto *md = pageButton(wed, "sbtnMday", QStringLiteral("금년 결혼기념일"), QStyle::SP_FileDialogInfoView);
        connect(md, &QToolButton::clicked, this, guarded(&TfrmMain::sbtnMdayClick));
        w->addWidget(md);
        w->addStretch(1);
        g->addWidget(wed, 4, 0, 1, 4);
    }
    pgcUpper->addTab(tsD, QStringLiteral("세부"));
    upperRow->addWidget(pgcUpper, 1);
    mainLayout->addLayout(upperRow);

    // Lower pages
    pgcLower = new QTabWidget(pnlMain);
    auto *tsC = new QWidget;
    tsC->setObjectName(QStringLiteral("tsC"));
    {
        auto *g = new QGridLayout(tsC);
        compact(g);
        g->addWidget(caption(QStringLiteral("교구"), tsC), 0, 0);
        g->addWidget(fieldEdit(tsC, "Zone", ms), 0, 1);
        lblArea = caption(QStringLiteral("구역"), tsC);
        lblArea->setObjectName(QStringLiteral("lblArea"));
        g->addWidget(lblArea, 0, 2);
        g->addWidget(fieldEdit(tsC, "Area", ms), 0, 3);
        g->addWidget(caption(QStringLiteral("소속기관"), tsC), 1, 0);
        g->addWidget(fieldEdit(tsC, "Part", ms), 1, 1);
        g->addWidget(caption(QStringLiteral("기관직책"), tsC), 1, 2);
        g->addWidget(fieldEdit(tsC, "Resp", ms), 1, 3);
        g->addWidget(caption(QStringLiteral("직분"), tsC), 2, 0);
        g->addWidget(fieldEdit(tsC, "Duty1", ms), 2, 1);
        g->addWidget(caption(QStringLiteral("활동기타"), tsC), 2, 2);
        g->addWidget(fieldEdit(tsC, "Duty2", ms), 2, 3);
        g->addWidget(caption(QStringLiteral("비고"), tsC), 3, 0);
        g->addWidget(fieldEdit(tsC, "Bigo", ms), 3, 1);
        auto flagged = [&](int row, int col, const char *flag, const char *name, const char *text, const char *date) {
            auto *c = flagBox(tsC, name, flag, QString::fromUtf8(text), ms);
            g->addWidget(c, row, col);
            g->addWidget(fieldEdit(tsC, date, ms, Qt::AlignCenter), row, col + 1);
            return c;
        };
        flagged(4, 0, "R", "dchkR", "등록일자", "Reg");
        g->addWidget(caption(QStringLiteral("등록경위"), tsC), 4, 2);
        g->addWidget(fieldEdit(tsC, "Cur", ms), 4, 3);
        g->addWidget(caption(QStringLiteral("인 도 자"), tsC), 5, 0);
        g->addWidget(fieldEdit(tsC, "Guide", ms), 5, 1);
        g->addWidget(caption(QStringLiteral("이전교회"), tsC), 5, 2);
        g->addWidget(fieldEdit(tsC, "BEFO", ms), 5, 3);
        dchkC = flagged(6, 0, "C", "dchkC", "유아세례", "Chd");
        flagged(6, 2, "S", "dchkS", "학습일자", "Std");
        dchkB = flagged(7, 0, "B", "dchkB", "세례일자", "Bap");
        dmemCmemo = BoundControl<DBMemo>(tsC, "dmemCmemo", ms, "Cmemo", true);
        auto *memoBox = new QGroupBox(QStringLiteral(" 교적 메모"), tsC);
        (new QVBoxLayout(memoBox))->addWidget(dmemCmemo);
        g->addWidget(memoBox, 0, 4, 8, 1);
        g->setColumnStretch(4, 1);
    }
    pgcLower->addTab(tsC, QStringLiteral("교적사항(&1)"));
    auto *tsJ = new QWidget;
    tsJ->setObjectName(QStringLiteral("tsJ"));
    {
        auto *g = new QGridLayout(tsJ);
        compact(g);
        const std::pair<const char *, const char *> rows[] = {{"근 무 처", "Job"}, {"직    종", "Jkind"}, {"부    서", "Jpart"},
                                                              {"직    위", "Jduty"}};
        for (int i = 0; i < 4; ++i) {
            g->addWidget(caption(QString::fromUtf8(rows[i].first), tsJ), i, 0);
            g->addWidget(fieldEdit(tsJ, rows[i].second, ms), i, 1, 1, 2);
        }
        g->addWidget(caption(QStringLiteral("직장전화"), tsJ), 4, 0);
        g->addWidget(fieldEdit(tsJ, "Jtel", ms), 4, 1);
        auto *dj = dialButton(tsJ, "sbtnDialJtel", QStringLiteral("직장 전화 걸기"), "Jtel", QStringLiteral("의 직장 전화]"), true);
        g->addWidget(dj, 4, 2);
        g->addWidget(caption(QStringLiteral("직장팩스"), tsJ), 5, 0);
        g->addWidget(fieldEdit(tsJ, "Jfax", ms), 5, 1);
        auto *df = dialButton(tsJ, "sbtnDialJfax", QStringLiteral("직장 팩스 걸기"), "Jfax", QStringLiteral("의 직장 팩스]"), true);
        g->addWidget(df, 5, 2);
        g->addWidget(caption(QStringLiteral("주    소"), tsJ), 6, 0);
        g->addWidget(fieldEdit(tsJ, "Jaddr1", ms), 6, 1);
        g->addWidget(fieldEdit(tsJ, "Jzip", ms, Qt::AlignCenter), 6, 2);
        g->addWidget(fieldEdit(tsJ, "Jaddr2", ms), 7, 1, 1, 2);
        dmemJmemo = BoundControl<DBMemo>(tsJ, "dmemJmemo", ms, "Jmemo", true);
        auto *memoBox = new QGroupBox(QStringLiteral(" 직장 메모"), tsJ);
        (new QVBoxLayout(memoBox))->addWidget(dmemJmemo);
        g->addWidget(memoBox, 0, 3, 8, 1);
        auto *edt = pageButton(tsJ, "sbtnJedt", QStringLiteral("수정"), QStyle::SP_FileDialogDetailedView, QStringLiteral("수정"));
        connect(edt, &QToolButton::clicked, command(QStringLiteral("mnuJob")), &QAction::trigger);
        g->addWidget(edt, 8, 3, Qt::AlignRight);
        g->setColumnStretch(3, 1);
    }
    pgcLower->addTab(tsJ, QStringLiteral("직장사항(F&2)"));

    auto subPage = [&](const char *name, QLabel *&count, const char *countName, const QString &countText,
                       DBGrid *&grid, DataSource *source, const QList<DBGrid::Column> &columns) {
        auto *page = new QWidget;
        page->setObjectName(QString::fromLatin1(name));
        auto *v = new QVBoxLayout(page);
        v->setContentsMargins(4, 4, 4, 4); // room for the grid's rows at the smallest window size
        v->setSpacing(4);
        auto *top = new QHBoxLayout;
        count = countPanel(page, countName, countText);
        top->addWidget(count);
        top->addStretch(1);
        v->addLayout(top);
        grid = new DBGrid(page);
        grid->setDataSource(source);
        grid->setColumns(columns);
        v->addWidget(grid, 1);
        return std::pair{page, top};
    };
    auto [tsF, fTop] = subPage("tsF", pnlFn, "pnlFn", QStringLiteral(" 가족 0 명"), dgrdFamily, &frmDM->dsFamily,
                               {{Field_("Rel")}, {Field_("Name")}, {Field_("Bday"), QString(), Qt::AlignLeft | Qt::AlignVCenter, 80}, {Field_("L")}, {Field_("Learn")},
                                {Field_("R"), QString(), Qt::AlignCenter}, {Field_("Job")}, {Field_("Jkind")},
                                {Field_("Grade")}, {Field_("Fbigo")}});
    dgrdFamily->setObjectName(QStringLiteral("dgrdFamily"));
    {
        dgrdFamily->setCellPainter(CheckCellPainter(dgrdFamily)); // imgChk1 / imgChk2
        connect(dgrdFamily, &DBGrid::doubleClicked, this, guarded(&TfrmMain::dgrdFamilyDblClick));
        auto *fedt = pageButton(tsF, "sbtnFedt", QStringLiteral("수정"), QStyle::SP_FileDialogDetailedView, QStringLiteral("수정"));
        connect(fedt, &QToolButton::clicked, command(QStringLiteral("mnuFamily")), &QAction::trigger);
        auto *fgen = pageButton(tsF, "sbtnFgen", QStringLiteral("세대주 가족 보기"), QStyle::SP_DirHomeIcon, QStringLiteral("세대주 가족"));
        connect(fgen, &QToolButton::clicked, this, guarded(&TfrmMain::sbtnFgenClick));
        auto *fbday = pageButton(tsF, "sbtnFbday", QStringLiteral("금년 생일"), QStyle::SP_FileDialogInfoView, QStringLiteral("금년 생일"));
        connect(fbday, &QToolButton::clicked, this, guarded(&TfrmMain::sbtnFbdayClick));
        fTop->addWidget(fbday);
        fTop->addWidget(fgen);
        fTop->addWidget(fedt);
        dmemFmemo = BoundControl<DBMemo>(tsF, "dmemFmemo", ms, "Fmemo", true);
        dmemFmemo->setMaximumHeight(44);
        auto *memoBox = new QGroupBox(QStringLiteral(" 가족 메모"), tsF);
        auto *memoLayout = new QVBoxLayout(memoBox);
        memoLayout->setContentsMargins(4, 2, 4, 4);
        memoLayout->addWidget(dmemFmemo);
        tsF->layout()->addWidget(memoBox);
    }
    pgcLower->addTab(tsF, QStringLiteral("가족사항(F&3)"));

    auto [tsV, vTop] = subPage("tsV", pnlVn, "pnlVn", QStringLiteral(" 심방 0 회"), dgrdVisit, &frmDM->dsVisit,
                               {{Field_("Vday"), QString(), Qt::AlignLeft | Qt::AlignVCenter, 80}, {Field_("Vtime"), QString(), Qt::AlignLeft | Qt::AlignVCenter, 60}, {Field_("Leader")}, {Field_("Fellow"), QString(), Qt::AlignLeft | Qt::AlignVCenter},
                                {Field_("Place")}});
    dgrdVisit->setObjectName(QStringLiteral("dgrdVisit"));
    {
        auto *vedt = pageButton(tsV, "sbtnVedt", QStringLiteral("수정"), QStyle::SP_FileDialogDetailedView, QStringLiteral("수정"));
        connect(vedt, &QToolButton::clicked, command(QStringLiteral("mnuVisit")), &QAction::trigger);
        vTop->addWidget(vedt);
        auto *memos = new QHBoxLayout;
        dmemVc = BoundControl<DBMemo>(tsV, "dmemVc", &frmDM->dsVisit, "Content", true);
        dmemVr = BoundControl<DBMemo>(tsV, "dmemVr", &frmDM->dsVisit, "Result", true);
        for (auto [box, m] : {std::pair{QStringLiteral(" 내용"), dmemVc}, std::pair{QStringLiteral(" 결과"), dmemVr}}) {
            auto *g = new QGroupBox(box, tsV);
            (new QVBoxLayout(g))->addWidget(m);
            m->setMaximumHeight(70);
            memos->addWidget(g);
        }
        static_cast<QVBoxLayout *>(tsV->layout())->addLayout(memos);
    }
    pgcLower->addTab(tsV, QStringLiteral("심방기록(F&4)"));

    auto [tsS, sTop] = subPage("tsS", pnlSn, "pnlSn", QStringLiteral(" 이력 0 건"), dgrdStudy, &frmDM->dsStudy,
                               {{Field_("Eday"), QStringLiteral("일자(부터)"), Qt::AlignLeft | Qt::AlignVCenter, 80}, {Field_("Eday2"), QStringLiteral("일자(까지)"), Qt::AlignLeft | Qt::AlignVCenter, 80},
                                {Field_("Ename"), QStringLiteral("이력 제목")}, {Field_("Ebigo")}});
    dgrdStudy->setObjectName(QStringLiteral("dgrdStudy"));
    {
        auto *eedt = pageButton(tsS, "sbtnEedt", QStringLiteral("수정"), QStyle::SP_FileDialogDetailedView, QStringLiteral("수정"));
        connect(eedt, &QToolButton::clicked, command(QStringLiteral("mnuStudy")), &QAction::trigger);
        sTop->addWidget(eedt);
        dmemSr = BoundControl<DBMemo>(tsS, "dmemSr", &frmDM->dsStudy, "Result", true);
        dmemSr->setMaximumHeight(70);
        auto *g = new QGroupBox(QStringLiteral(" 이력 메모"), tsS);
        (new QVBoxLayout(g))->addWidget(dmemSr);
        tsS->layout()->addWidget(g);
    }
    pgcLower->addTab(tsS, QStringLiteral("이력기록(F&5)"));
    mainLayout->addWidget(pgcLower, 1);

    for (Dataset *d : {static_cast<Dataset *>(&frmDM->tbMaster), static_cast<Dataset *>(&frmDM->tbFamily),
                       static_cast<Dataset *>(&frmDM->tbVisit), static_cast<Dataset *>(&frmDM->tbStudy)}) {
        const auto refresh = [this] { GuardedPosted([this] { RefreshCounts(); }); };
        connect(d, &Dataset::dataSetChanged, this, refresh);
        connect(d, &Dataset::scrolled, this, refresh);
        connect(d, &Dataset::stateChanged, this, refresh);
    }
    return pnlDetail;
}

bool TfrmMain::FormCreate()
{
    IniFile = new IniStore(AppPath + QStringLiteral("KELMO.INI"));
    RegSettings = new RegistryStore();
    RegSettings->OpenKey(true);
    CaptionWindow = this;
    if (!ReadSettings())
        return false;
    if (UserName != QStringLiteral("사용자") && !Password.isEmpty()) {
        TfrmLogin login;
        login.ShowModal();
        if (!LoginAccepted)
            return false;
    }
    if (CalenOption > 0)
        command(QStringLiteral("mnuCalenB"))->trigger();
    Relabel();
    ShowConversionItems();
    RefreshCounts();
    return true;
}

void TfrmMain::ShowConversionItems()
{
    const QStringList names = AliasConfig().GetDatabaseNames();
    command(QStringLiteral("mnu1to3"))->setVisible(names.contains(QStringLiteral("KELMO"), Qt::CaseInsensitive));
    command(QStringLiteral("mnu2to3"))->setVisible(names.contains(QStringLiteral("KELMO20"), Qt::CaseInsensitive));
    if (!command(QStringLiteral("mnu1to3"))->isVisible() && !command(QStringLiteral("mnu2to3"))->isVisible())
        mnuTransAction->setVisible(false);
}

template <class Import>
void TfrmMain::convert()
{
    Import(this).ShowModal();
    AliasConfig().SaveConfigFile();
    ShowConversionItems(); // a finished import has removed its alias
}

void TfrmMain::mnu1to3Click() { convert<TfrmTrans1>(); }
void TfrmMain::mnu2to3Click() { convert<TfrmTrans2>(); }

void TfrmMain::Relabel()
{
    const bool area = AreaOption < 1;
    command(QStringLiteral("mnuLArea"))->setText(area ? QStringLiteral("교구/구역별 명단(&A)") : QStringLiteral("교구/속회별 명단(&A)"));
    command(QStringLiteral("mnuSArea"))->setText(area ? QStringLiteral("교구/구역별 통계(&A)") : QStringLiteral("교구/속회별 통계(&A)"));
    lblArea->setText(area ? QStringLiteral("구역") : QStringLiteral("속회"));
    const bool bapt = BaptOption < 1;
    command(QStringLiteral("mnuLBap"))->setText(bapt ? QStringLiteral("학습/세례자 명단(&S)") : QStringLiteral("학습/침례자 명단(&S)"));
    dchkC->setText(bapt ? QStringLiteral("유아세례") : QStringLiteral("헌아일자"));
    dchkB->setText(bapt ? QStringLiteral("세례일자") : QStringLiteral("침례일자"));
}

void TfrmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (dgrdName->isEnabled())
        dgrdName->setFocus();
    else
        m_nameGridFocusPending = true; // an empty register: with its first member
}

void TfrmMain::RefreshCounts()
{
    if (!frmDM || !frmDM->tbMaster.active())
        return;
    // Each count as its grid shows it: rows that cannot be read now are not on show either.
    const auto count = [](Dataset &d) {
        int n = 0;
        GuardedPosted([&] { n = d.recordCount(); });
        return n;
    };
    const int n = count(frmDM->tbMaster);
    UpdateCommandState(n >= 1);
    stbrName->setText(QString::number(n) + QStringLiteral(" 명"));
    pnlFn->setText(QStringLiteral(" 가족 ") + QString::number(count(frmDM->tbFamily)) + QStringLiteral(" 명"));
    pnlVn->setText(QStringLiteral(" 심방 ") + QString::number(count(frmDM->tbVisit)) + QStringLiteral(" 회"));
    pnlSn->setText(QStringLiteral(" 이력 ") + QString::number(count(frmDM->tbStudy)) + QStringLiteral(" 건"));
}

void TfrmMain::UpdateCommandState(bool hasRecords)
{
    if (!hasRecords && focusWidget() == dgrdName)
        m_nameGridFocusPending = true; // disabled, the grid hands the focus on
    for (QMenu *m : m_recordMenus) {
        m->setEnabled(hasRecords);
        // A disabled header disables its items' shortcuts too, the hidden ones included.
        for (QAction *a : m_headerItems.value(m))
            a->setEnabled(hasRecords);
    }
    for (QWidget *w : m_recordWidgets)
        w->setEnabled(hasRecords);
    dimgPic->setEnabled(hasRecords);
    if (hasRecords && std::exchange(m_nameGridFocusPending, false))
        dgrdName->setFocus();
}

void TfrmMain::tcNChange(int index)
{
    static const char *const filters[] = {
        "", "Name >= '가' And Name <  '다~'", "Name >= '다' And Name <  '마~'", "Name >= '마' And Name <  '사~'",
        "Name >= '사' And Name <  '자~'", "Name >= '자' And Name <  '카~'", "Name >= '카' And Name <  '파~'",
        "Name >= '파'", "Name <  '가'"};
    clearSelection();
    Table &t = master();
    if (index <= 0) {
        t.setFiltered(false);
    } else {
        t.setFilter(QString::fromUtf8(filters[index]));
        t.setFiltered(true);
    }
    RefreshCounts();
}

void TfrmMain::useNameOrder()
{
    if (master().indexName() != QLatin1String("Name_idx") && master().indexFieldNames().compare(QLatin1String("NAME"), Qt::CaseInsensitive) != 0)
        master().setIndexName(QStringLiteral("Name_idx"));
}

void TfrmMain::cbxGoEnter()
{
    const QString text = Trim(cbxGo->currentText());
    if (text.isEmpty())
        return;
    useNameOrder();
    master().findNearest({text});
    cbxGo->addItem(text);
    cbxGo->setCurrentIndex(-1);
    cbxGo->clearEditText();
    dgrdName->setFocus();
}

bool TfrmMain::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == cbxGo || watched == cbxGo->lineEdit()) && event->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(event);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            Guarded([this] { cbxGoEnter(); });
            return true;
        }
    }
    // The menu's shortcuts win over the edit controls of this window (Ctrl+X, Ctrl+C, Ctrl+A...).
    if (event->type() == QEvent::ShortcutOverride) {
        auto *w = qobject_cast<QWidget *>(watched);
        if (w && w->window() == this) {
            const QKeySequence pressed(static_cast<QKeyEvent *>(event)->keyCombination());
            for (QAction *a : std::as_const(m_commands)) {
                if (a->isEnabled() && !a->shortcut().isEmpty() && a->shortcut() == pressed) {
                    event->ignore();
                    return true;
                }
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::clearSelection()
{
    dgrdName->clearSelectedRows();
}

void TfrmMain::dgrdNameMouseDown(Qt::KeyboardModifiers modifiers)
{
    if (!ShiftDown)
        return;
    if (SelAnchor == -1) {
        int top = -1;
        Table &t = master();
        ControlsDisabled still(t);
        const Bookmark here = t.bookmark();
        for (const Bookmark &b : dgrdName->SelectedRows())
            if (t.gotoBookmark(b) && (top < 0 || t.currentRow() < top))
                top = t.currentRow();
        t.gotoBookmark(here);
        SelAnchor = top;
    }
    if (!(modifiers & Qt::ShiftModifier))
        SelAnchor = -1;
}

void TfrmMain::dgrdNameCellClick(int row)
{
    if (!ShiftDown || SelAnchor == -1)
        return;
    const int lo = std::min(SelAnchor, row), hi = std::max(SelAnchor, row);
    Table &t = master();
    ControlsDisabled still(t);
    const Bookmark here = t.bookmark();
    dgrdName->clearSelectedRows();
    for (int r = lo; r <= hi; ++r) {
        t.setRecNo(r + 1);
        dgrdName->selectRow(t.bookmark(), true);
    }
    t.gotoBookmark(here);
}

void TfrmMain::keepPosition(const std::function<void()> &open)
{
    Table &t = master();
    SavedBookmark = t.isEmpty() ? std::nullopt : std::optional<Bookmark>(t.bookmark());
    open();
    if (SavedBookmark) {
        t.gotoBookmark(*SavedBookmark);
        SavedBookmark.reset();
    }
}

void TfrmMain::mnuInsClick()
{
    keepPosition([this] {
        clearSelection();
        TfrmIns ins;
        ins.setWindowTitle(QStringLiteral("새 성도 등록")); // the window tells its mode by it
        Table &t = master();
        t.append();
        t.fieldByName(QStringLiteral("X")).setAsString(QStringLiteral("남"));
        t.fieldByName(QStringLiteral("L")).setAsString(QStringLiteral("음"));
        ins.centreOn(this);
        ins.ShowModal();
    });
}

void TfrmMain::mnuNewClick()
{
    keepPosition([this] {
        clearSelection();
        TfrmNew w;
        w.cbxArea->clear();
        w.cbxArea->addItem(QStringLiteral(" "));
        for (int i = 1; i <= AreaCount; ++i)
            w.cbxArea->addItem(QString::number(i));
        w.centreOn(this);
        w.ShowModal();
        clearSelection();
    });
}

void TfrmMain::mnuEditClick()
{
    clearSelection();
    TfrmIns ins;
    ins.setWindowTitle(QStringLiteral("교적사항 수정"));
    master().edit();
    ins.centreOn(this);
    ins.ShowModal();
}

// Creates a member window, gives it its caption, puts the member row in edit state when it asks
// for it, shows it modally and frees it.
template <class Window>
void TfrmMain::openMemberWindow(const QString &caption, bool editMember)
{
    Window w;
    w.setWindowTitle(caption);
    if (editMember)
        master().edit();
    w.centreOn(this);
    w.ShowModal();
}

QString TfrmMain::memberCaption(const char *what) const
{
    return QString::fromUtf8(what) + QStringLiteral(" [") + master().fieldByName(QStringLiteral("Name")).asString() +
           QStringLiteral("]");
}

template <class Window>
void TfrmMain::showWindow()
{
    Window w;
    w.centreOn(this);
    w.ShowModal();
}

template <class Window>
void TfrmMain::showKeepingPosition()
{
    // The window's go-to on close replaces SavedBookmark, so the return lands on that member.
    keepPosition([this] {
        clearSelection();
        showWindow<Window>();
    });
}

void TfrmMain::mnuFindClick()
{
    clearSelection();
    showWindow<TfrmFind>();
}

void TfrmMain::mnuMemoClick() { showKeepingPosition<TfrmMemo>(); }
void TfrmMain::mnuCalenClick() { showKeepingPosition<TfrmCalen>(); }
void TfrmMain::mnuCalenBClick() { showKeepingPosition<TfrmCalenB>(); }
void TfrmMain::mnuCalenFClick() { showKeepingPosition<TfrmCalenF>(); }
void TfrmMain::mnuCalenMClick() { showKeepingPosition<TfrmCalenM>(); }
void TfrmMain::mnuLBdayClick() { showWindow<TfrmLBday>(); }
void TfrmMain::mnuLFdayClick() { showWindow<TfrmFBday>(); }
void TfrmMain::M1Click() { showWindow<TfrmLMday>(); }

void TfrmMain::mnuListClick() { ShowList(ListWindow::List, this); }
void TfrmMain::mnuLAreaClick() { ShowList(ListWindow::Area, this); }
void TfrmMain::mnuLPartClick() { ShowList(ListWindow::Part, this); }
void TfrmMain::mnuLDutyClick() { ShowList(ListWindow::Duty, this); }
void TfrmMain::mnuLGitaClick() { ShowList(ListWindow::Gita, this); }
void TfrmMain::mnuLBigoClick() { ShowList(ListWindow::Bigo, this); }
void TfrmMain::mnuLStudyClick() { ShowList(ListWindow::Study, this); }
void TfrmMain::mnuLRegClick() { ShowList(ListWindow::Reg, this); }
void TfrmMain::mnuLGenClick() { ShowList(ListWindow::Gen, this); }
void TfrmMain::mnuLBapClick() { ShowList(ListWindow::Bap, this); }

void TfrmMain::mnuJobClick()
{
    openMemberWindow<TfrmJob>(memberCaption("직장 사항"), true);
}

void TfrmMain::mnuFamilyClick()
{
    openMemberWindow<TfrmFamily>(memberCaption("가족 사항"), true);
}

void TfrmMain::mnuVisitClick()
{
    openMemberWindow<TfrmVisit>(memberCaption("심방 기록"), false);
}

void TfrmMain::mnuStudyClick()
{
    openMemberWindow<TfrmStudy>(memberCaption("이력 기록"), false);
}

void TfrmMain::mnuPicClick()
{
    clearSelection();
    openMemberWindow<TfrmPic>(memberCaption("사진 첨부"), false);
}

void TfrmMain::mnuStatClick() { ShowChart(Chart::Stat); }
void TfrmMain::mnuSAreaClick() { ShowChart(Chart::Area); }
void TfrmMain::mnuSPartClick() { ShowChart(Chart::Part); }
void TfrmMain::mnuSDutyClick() { ShowChart(Chart::Duty); }
void TfrmMain::mnuSGitaClick() { ShowChart(Chart::Gita); }
void TfrmMain::mnuSBigoClick() { ShowChart(Chart::Bigo); }

void TfrmMain::mnuZipClick() { showWindow<TfrmZip>(); }

void TfrmMain::mnuDialClick()
{
    clearSelection();
    showWindow<TfrmDial>();
}

void TfrmMain::mnuAboutClick() { showWindow<TfrmAbout>(); }

void TfrmMain::mnuSetupClick()
{
    {
        TfrmSetup setup([] {
            TfrmAddr addr;
            return addr.ShowModal() == mrOk;
        });
        setup.centreOn(this);
        setup.ShowModal();
    }
    // Also after cancel: a password changed in the window goes back to the stored one.
    if (!ReadSettings()) {
        QCoreApplication::exit(1);
        return;
    }
    Relabel();
}

void TfrmMain::mnuBackupClick() { showWindow<TfrmBackup>(); }

void TfrmMain::mnuCheckClick() { showWindow<TfrmCheck>(); }

void TfrmMain::mnuDelClick()
{
    dgrdName->selectRow(master().bookmark(), true);
    TfrmDel del(dgrdName->SelectedRows());
    del.centreOn(this);
    del.ShowModal();
}

void TfrmMain::mnuGoClick()
{
    clearSelection();
    if (frmGo) {
        frmGo->show();
        frmGo->raise();
    }
    master().setIndexName(QStringLiteral("Name_idx"));
    activateWindow(); // the main window's keys act at once, not the go-to window's
    dgrdName->setFocus();
}

void TfrmMain::mnuAllClick()
{
    Table &t = master();
    {
        ControlsDisabled still(t);
        const Bookmark here = t.bookmark();
        for (t.first(); !t.eof(); t.next())
            dgrdName->selectRow(t.bookmark(), true);
        t.gotoBookmark(here); // before the grid follows again: a move would reset the selection
    }
}

void TfrmMain::mnuPrintClick()
{
    TfrmDM &dm = *frmDM;
    SetAllSel(dm.qrMaster, false);
    dgrdName->selectRow(master().bookmark(), true);
    Table &t = master();
    {
        ControlsDisabled still(t);
        Transaction transaction(dm.dbKelmo);
        for (const Bookmark &b : dgrdName->SelectedRows()) {
            if (!t.gotoBookmark(b))
                continue;
            t.edit();
            t.fieldByName(QStringLiteral("Sel")).setAsBoolean(true);
            t.post();
        }
        transaction.commit();
    }
    PrintSortField = QStringLiteral("NAME");
    TfrmPrint dialog(this);
    dialog.ShowModal();
}

void TfrmMain::mnuFileSaveClick()
{
    resulthandoff::Save(master());
}

void TfrmMain::mnuPrtsetClick()
{
    PrinterSetupDialog psdlgPrt(this);
    psdlgPrt.Execute();
    ShowMessage(QStringLiteral("인쇄 설정 후 적용이 되지 않을 경우\r\n윈도우에서 프린터를 설정해 주세요."));
}

void TfrmMain::mnuHelpClick()
{
    // The desktop's viewer for the help file in the current folder; its result is not looked at.
    QDesktopServices::openUrl(QUrl::fromLocalFile(QDir::current().absoluteFilePath(QStringLiteral("kelmo.chm"))));
}

void TfrmMain::mnuEmailClick()
{
    const QString a = Trim(master().fieldByName(QStringLiteral("Email")).asString());
    if (a.isEmpty()) {
        ShowMessage(QStringLiteral("전자우편 주소가 비어 있습니다."));
        return;
    }
    QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + a, QUrl::TolerantMode));
}

void TfrmMain::dial(const QString &field, const QString &suffix, bool messageWhenEmpty)
{
    const QString number = master().fieldByName(field).asString();
    if (number.isEmpty()) {
        if (messageWhenEmpty)
            ShowMessage(QStringLiteral("전화번호가 비어 있습니다."));
        return;
    }
    clearSelection();
    DialWithDialog(number, QStringLiteral("전화 걸기 [") + master().fieldByName(QStringLiteral("Name")).asString() + suffix);
}

void TfrmMain::sbtnFgenClick()
{
    Table &t = master();
    if (t.fieldByName(QStringLiteral("G")).asBoolean()) {
        command(QStringLiteral("mnuFamily"))->trigger();
        return;
    }
    SavedBookmark = t.bookmark();
    t.setIndexFieldNames(QStringLiteral("INO"));
    t.findKey({t.fieldByName(QStringLiteral("GNO")).asString()});
    openMemberWindow<TfrmFamily>(memberCaption("가족 사항"), false); // the head's, not in edit state
    t.setIndexFieldNames(QStringLiteral("NAME"));
    t.gotoBookmark(*SavedBookmark);
    SavedBookmark.reset();
}

void TfrmMain::showThisYear(const QString &date, bool lunar, const QString &caption)
{
    const QString b = Trim(date);
    if (b.isEmpty()) {
        ShowMessage(QStringLiteral("일자가 비어 있습니다."));
        return;
    }
    if (b.size() < 8 || !validMonthDay(b.mid(4, 4), lunar)) {
        ShowMessage(QStringLiteral("일자 형식이 잘못되었습니다."));
        return;
    }
    const QString y = NowAsText(QStringLiteral("yyyy"));
    // The rule of the calendars' this-year birthdays, so the button and the calendars agree.
    const QString mmdd = BirthdayInYear(b, lunar, y.toInt());
    if (mmdd.isEmpty()) {
        ShowMessage(QStringLiteral("금년에는 생일이 없습니다."));
        return;
    }
    const QString d = y + mmdd;
    const QDate day = QDate::fromString(d, QStringLiteral("yyyyMMdd"));
    TfrmCalenDlg dlg;
    dlg.setWindowTitle(caption);
    dlg.pnlDay->setText(d.left(4) + QStringLiteral("년 ") + d.mid(4, 2) + QStringLiteral("월"));
    dlg.setDate(day);
    dlg.centreOn(this);
    dlg.ShowModal();
}

void TfrmMain::sbtnBdayClick()
{
    showThisYear(master().fieldByName(QStringLiteral("Bday")).asString(),
                 master().fieldByName(QStringLiteral("L")).asString() == QStringLiteral("음"), QStringLiteral("금년 생일"));
}

void TfrmMain::sbtnFbdayClick()
{
    // No family row reads as an empty date, with its message.
    Table &f = frmDM->tbFamily;
    showThisYear(f.fieldByName(QStringLiteral("Bday")).asString(),
                 f.fieldByName(QStringLiteral("L")).asString() == QStringLiteral("음"), QStringLiteral("금년 생일"));
}

void TfrmMain::sbtnMdayClick()
{
    showThisYear(master().fieldByName(QStringLiteral("Mday")).asString(), false, QStringLiteral("금년 결혼 기념일"));
}

void TfrmMain::dgrdFamilyDblClick()
{
    Table &f = frmDM->tbFamily;
    if (f.isEmpty())
        return;
    const QString name = f.fieldByName(QStringLiteral("Name")).asString();
    useNameOrder();
    if (!master().findKey({name}))
        MessageBox(QStringLiteral("등록이 안 되어있습니다."), QStringLiteral("이동 불가"), MsgButtons::Ok, MsgIcon::Information);
}

void TfrmMain::releaseSettingsStores()
{
    if (CaptionWindow == this)
        CaptionWindow = nullptr;
    delete IniFile;
    IniFile = nullptr;
    delete RegSettings;
    RegSettings = nullptr;
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    if (MessageBox(QStringLiteral("정말 나가시겠습니까?"), QStringLiteral("종료"), MsgButtons::YesNo,
                   MsgIcon::Question) != IDYES) {
        event->ignore();
        return;
    }
    releaseSettingsStores();
    event->accept();
}

QWidget *CreateMainWindow()
{
    auto *w = new TfrmMain;
    frmMain = w;
    if (!w->FormCreate()) {
        delete w;
        return nullptr;
    }
    return w;
}
