#include "records/ins.h"

#include "core/dm.h"
#include "core/global.h"
#include "core/myunit.h"
#include "lists/handoff.h"
#include "platform/clock.h"
#include "platform/dbcontrols.h"
#include "platform/dialogs.h"
#include "platform/form.h"
#include "platform/sysutils.h"
#include "records/required.h"
#include "records/addr.h"
#include "records/dateentry.h"
#include "records/gendlg.h"
#include "records/main.h"

#include <QAction>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>

namespace {

const QString InsertCaption = QStringLiteral("새 성도 등록");

Table &master()
{
    return frmDM->tbMaster;
}

QString value(const char *field)
{
    return master().fieldByName(QString::fromLatin1(field)).asString();
}

} // namespace

QString MintMemberNumber(QDateTime moment, bool householdBase)
{
    for (;;) {
        const QString ino = FormatDateTime(QStringLiteral("yymmddhhnnss"), moment);
        const int taken = frmDM->dbKelmo.scalar(QStringLiteral("SELECT COUNT(*) FROM MASTER WHERE INO LIKE :ino"),
                                                {{QStringLiteral("ino"), householdBase ? ino + u'%' : ino}}).toInt();
        if (taken == 0)
            return ino;
        moment = moment.addSecs(1);
    }
}

TfrmIns::TfrmIns(QWidget *parent) : TForm(parent)
{
    setObjectName(QStringLiteral("frmIns"));
    DataSource *ds = &frmDM->dsMaster;

    const auto edit = [&](QWidget *owner, const char *name, const char *field) {
        return BoundControl<DBEdit>(owner, name, ds, field);
    };
    const auto combo = [&](QWidget *owner, const char *name, const char *field, const QStringList &items = {}) {
        auto *c = BoundControl<DBComboBox>(owner, name, ds, field);
        c->addItems(items);
        return c;
    };
    const auto check = [&](QWidget *owner, const char *name, const char *field, const QString &caption) {
        auto *c = BoundControl<DBCheckBox>(owner, name, ds, field);
        c->setText(caption);
        return c;
    };
    const auto label = [](QWidget *owner, const QString &text, QWidget *buddy = nullptr) {
        auto *l = new QLabel(text, owner);
        if (buddy)
            l->setBuddy(buddy);
        return l;
    };
    const int dateWidth = fontMetrics().horizontalAdvance(QStringLiteral("0000.00.00")) + 16;

    // Title panel: the required fields on the required colour.
    auto *pnlTitle = RequiredPanel(this, "pnlTitle");
    dedtName = edit(pnlTitle, "dedtName", "Name");
    QFont bold = dedtName->font();
    bold.setBold(true);
    dedtName->setFont(bold);
    dcbxX = combo(pnlTitle, "dcbxX", "X", {QStringLiteral("남"), QStringLiteral("여")});
    dedtBday = edit(pnlTitle, "dedtBday", "Bday");
    dedtBday->setFixedWidth(dateWidth);
    dcbxL = combo(pnlTitle, "dcbxL", "L", {QStringLiteral("음"), QStringLiteral("양")});
    dedtTel1 = edit(pnlTitle, "dedtTel1", "Tel1");
    auto *titleLayout = new QHBoxLayout(pnlTitle);
    titleLayout->addWidget(label(pnlTitle, QStringLiteral("성명"), dedtName));
    titleLayout->addWidget(dedtName, 2);
    titleLayout->addWidget(dcbxX);
    titleLayout->addSpacing(8);
    titleLayout->addWidget(label(pnlTitle, QStringLiteral("생년월일"), dedtBday));
    titleLayout->addWidget(dedtBday);
    titleLayout->addWidget(dcbxL);
    titleLayout->addSpacing(8);
    titleLayout->addWidget(label(pnlTitle, QStringLiteral("전화번호"), dedtTel1));
    titleLayout->addWidget(dedtTel1, 2);

    // 일반사항
    auto *grpG = new QGroupBox(QStringLiteral("일반사항"), this);
    dedtTel2 = edit(grpG, "dedtTel2", "Tel2");
    dedtHp = edit(grpG, "dedtHp", "Hp");
    dedtAddr1 = edit(grpG, "dedtAddr1", "Addr1");
    btnZip = new QPushButton(QStringLiteral("우편번호"), grpG);
    btnZip->setObjectName(QStringLiteral("btnZip"));
    btnZip->setToolTip(QStringLiteral("주소와 우편번호 자동 입력"));
    dedtAddr2 = edit(grpG, "dedtAddr2", "Addr2");
    dedtZip = edit(grpG, "dedtZip", "Zip");
    dedtZip->setFocusPolicy(Qt::ClickFocus);
    dedtZip->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("000-000")) + 16);
    dedtEmail = edit(grpG, "dedtEmail", "Email");
    auto *household = new QFrame(grpG);
    household->setFrameShape(QFrame::StyledPanel);
    dchkG = check(household, "dchkG", "G", QStringLiteral("세대주"));
    btnGenSel = new QPushButton(QStringLiteral("세대주선택"), household);
    btnGenSel->setObjectName(QStringLiteral("btnGenSel"));
    dedtGname = edit(household, "dedtGname", "Gname");
    dedtGname->setToolTip(QStringLiteral("세대주명"));
    dedtGrel = edit(household, "dedtGrel", "Grel");
    dedtGrel->setToolTip(QStringLiteral("세대주와 관계"));
    auto *householdLayout = new QHBoxLayout(household);
    householdLayout->setContentsMargins(4, 2, 4, 2);
    householdLayout->addWidget(dchkG);
    householdLayout->addWidget(btnGenSel);
    householdLayout->addWidget(dedtGname, 1);
    householdLayout->addWidget(label(household, QStringLiteral("氏의")));
    householdLayout->addWidget(dedtGrel, 1);
    auto *gLayout = new QGridLayout(grpG);
    gLayout->addWidget(label(grpG, QStringLiteral("전 화 2"), dedtTel2), 0, 0);
    gLayout->addWidget(dedtTel2, 0, 1);
    gLayout->addWidget(label(grpG, QStringLiteral("이동전화"), dedtHp), 0, 2);
    gLayout->addWidget(dedtHp, 0, 3, 1, 2);
    gLayout->addWidget(label(grpG, QStringLiteral("주    소"), dedtAddr1), 1, 0);
    gLayout->addWidget(dedtAddr1, 1, 1, 1, 3);
    gLayout->addWidget(btnZip, 1, 4);
    gLayout->addWidget(dedtAddr2, 2, 1, 1, 3);
    gLayout->addWidget(dedtZip, 2, 4);
    gLayout->addWidget(label(grpG, QStringLiteral("전자우편"), dedtEmail), 3, 0);
    gLayout->addWidget(dedtEmail, 3, 1, 1, 4);
    gLayout->addWidget(household, 4, 0, 1, 5);
    gLayout->setColumnStretch(1, 1);
    gLayout->setColumnStretch(3, 1);
    grpG->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);

    // 세부사항
    auto *grpD = new QGroupBox(QStringLiteral("세부사항"), this);
    dcbxLearn = combo(grpD, "dcbxLearn", "Learn",
                      {QString(), QStringLiteral("대졸"), QStringLiteral("대재"), QStringLiteral("전문대졸"),
                       QStringLiteral("전문대재"), QStringLiteral("고졸"), QStringLiteral("고재"), QStringLiteral("중졸"),
                       QStringLiteral("중재"), QStringLiteral("초졸"), QStringLiteral("초재"), QStringLiteral("대학원졸"),
                       QStringLiteral("대학원재"), QStringLiteral("기타")});
    dedtHname = edit(grpD, "dedtHname", "Hname");
    dedtMajor = edit(grpD, "dedtMajor", "Major");
    dedtRegno = edit(grpD, "dedtRegno", "Regno");
    dedtBon = edit(grpD, "dedtBon", "Bon");
    dedtHobby = edit(grpD, "dedtHobby", "Hobby");
    dedtSpec = edit(grpD, "dedtSpec", "Spec");
    dcbxBl = combo(grpD, "dcbxBl", "Bl", {QString(), QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("O"), QStringLiteral("AB")});
    dchkM = check(grpD, "dchkM", "M", QStringLiteral("결혼기념일"));
    dedtMday = edit(grpD, "dedtMday", "Mday");
    dedtMday->setFixedWidth(dateWidth);
    auto *dLayout = new QGridLayout(grpD);
    dLayout->addWidget(label(grpD, QStringLiteral("학    력"), dcbxLearn), 0, 0);
    dLayout->addWidget(dcbxLearn, 0, 1);
    dLayout->addWidget(label(grpD, QStringLiteral("漢字"), dedtHname), 0, 2);
    dLayout->addWidget(dedtHname, 0, 3);
    dLayout->addWidget(label(grpD, QStringLiteral("전    공"), dedtMajor), 1, 0);
    dLayout->addWidget(dedtMajor, 1, 1);
    dLayout->addWidget(label(grpD, QStringLiteral("주민등록번호"), dedtRegno), 1, 2);
    dLayout->addWidget(dedtRegno, 1, 3);
    dLayout->addWidget(label(grpD, QStringLiteral("본    적"), dedtBon), 2, 0);
    dLayout->addWidget(dedtBon, 2, 1, 1, 3);
    dLayout->addWidget(label(grpD, QStringLiteral("취    미"), dedtHobby), 3, 0);
    dLayout->addWidget(dedtHobby, 3, 1);
    dLayout->addWidget(label(grpD, QStringLiteral("특    기"), dedtSpec), 3, 2);
    dLayout->addWidget(dedtSpec, 3, 3);
    dLayout->addWidget(label(grpD, QStringLiteral("혈 액 형"), dcbxBl), 4, 0);
    dLayout->addWidget(dcbxBl, 4, 1);
    auto *wedding = new QHBoxLayout;
    wedding->addWidget(dchkM);
    wedding->addWidget(dedtMday);
    wedding->addStretch();
    dLayout->addLayout(wedding, 4, 2, 1, 2);
    dLayout->setColumnStretch(1, 1);
    dLayout->setColumnStretch(3, 1);

    // 교적사항
    auto *grpC = new QGroupBox(QStringLiteral("교적사항"), this);
    dcbxZone = combo(grpC, "dcbxZone", "Zone");
    lblArea = label(grpC, QStringLiteral("구역"));
    lblArea->setObjectName(QStringLiteral("lblArea"));
    dcbxArea = combo(grpC, "dcbxArea", "Area");
    lblArea->setBuddy(dcbxArea);
    dcbxPart = combo(grpC, "dcbxPart", "Part");
    dcbxResp = combo(grpC, "dcbxResp", "Resp");
    dcbxDuty = combo(grpC, "dcbxDuty", "Duty1");
    dcbxGita = combo(grpC, "dcbxGita", "Duty2");
    dcbxBigo = combo(grpC, "dcbxBigo", "Bigo");
    dchkR = check(grpC, "dchkR", "R", QStringLiteral("등록일자"));
    dedtReg = edit(grpC, "dedtReg", "Reg");
    dedtCur = edit(grpC, "dedtCur", "Cur");
    dedtGuide = edit(grpC, "dedtGuide", "Guide");
    dedtBefore = edit(grpC, "dedtBefore", "BEFO");
    dchkC = check(grpC, "dchkC", "C", QStringLiteral("유아세례"));
    dedtChd = edit(grpC, "dedtChd", "Chd");
    dchkS = check(grpC, "dchkS", "S", QStringLiteral("학습일자"));
    dedtStd = edit(grpC, "dedtStd", "Std");
    dchkB = check(grpC, "dchkB", "B", QStringLiteral("세례일자"));
    dedtBap = edit(grpC, "dedtBap", "Bap");
    for (DBEdit *d : {dedtReg, dedtChd, dedtStd, dedtBap})
        d->setFixedWidth(dateWidth);
    dmemCmemo = new DBMemo(grpC);
    dmemCmemo->setObjectName(QStringLiteral("dmemCmemo"));
    dmemCmemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    dmemCmemo->setDataSource(ds);
    dmemCmemo->setDataField(QStringLiteral("Cmemo"));
    auto *cLayout = new QGridLayout(grpC);
    int row = 0;
    const auto pair = [&](const QString &leftText, QWidget *left, QLabel *rightLabel, QWidget *right) {
        cLayout->addWidget(label(grpC, leftText, left), row, 0);
        cLayout->addWidget(left, row, 1);
        if (rightLabel) {
            cLayout->addWidget(rightLabel, row, 2);
            cLayout->addWidget(right, row, 3);
        }
        ++row;
    };
    pair(QStringLiteral("교    구"), dcbxZone, lblArea, dcbxArea);
    pair(QStringLiteral("소속기관"), dcbxPart, label(grpC, QStringLiteral("기관직책"), dcbxResp), dcbxResp);
    pair(QStringLiteral("직    분"), dcbxDuty, label(grpC, QStringLiteral("활동기타"), dcbxGita), dcbxGita);
    pair(QStringLiteral("비    고"), dcbxBigo, nullptr, nullptr);
    cLayout->addWidget(dchkR, row, 0);
    cLayout->addWidget(dedtReg, row, 1, Qt::AlignLeft);
    cLayout->addWidget(label(grpC, QStringLiteral("등록경위"), dedtCur), row, 2);
    cLayout->addWidget(dedtCur, row++, 3);
    cLayout->addWidget(label(grpC, QStringLiteral("인 도 자"), dedtGuide), row, 0);
    cLayout->addWidget(dedtGuide, row, 1);
    cLayout->addWidget(label(grpC, QStringLiteral("이전교회"), dedtBefore), row, 2);
    cLayout->addWidget(dedtBefore, row++, 3);
    cLayout->addWidget(dchkC, row, 0);
    cLayout->addWidget(dedtChd, row, 1, Qt::AlignLeft);
    cLayout->addWidget(dchkS, row, 2);
    cLayout->addWidget(dedtStd, row++, 3, Qt::AlignLeft);
    cLayout->addWidget(dchkB, row, 0);
    cLayout->addWidget(dedtBap, row++, 1, Qt::AlignLeft);
    cLayout->addWidget(label(grpC, QStringLiteral("교적 메모"), dmemCmemo), row++, 0, 1, 4);
    cLayout->addWidget(dmemCmemo, row, 0, 1, 4);
    cLayout->setRowStretch(row, 1);
    cLayout->setColumnStretch(1, 1);
    cLayout->setColumnStretch(3, 1);

    // Button panel
    bbtnOk = NamedButton(QStringLiteral("확인(&O)"), "bbtnOk", this);
    bbtnCancel = NamedButton(QStringLiteral("취소(&C)"), "bbtnCancel", this);
    auto *buttons = ButtonRow({bbtnOk, bbtnCancel});
    buttons->insertWidget(0, RequiredLegend(this));

    auto *left = new QVBoxLayout;
    left->addWidget(grpG);
    left->addWidget(grpD);
    auto *groups = new QHBoxLayout;
    groups->addLayout(left, 1);
    groups->addWidget(grpC, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pnlTitle);
    layout->addLayout(groups, 1);
    layout->addLayout(buttons);
    setFixedSize(790, 560); // whole on an 800 x 600 screen, frame included

    m_datePairs = {{dedtReg, dchkR}, {dedtChd, dchkC}, {dedtStd, dchkS}, {dedtBap, dchkB}, {dedtMday, dchkM}};
    for (const auto &p : m_datePairs)
        p.first->installEventFilter(this);
    dedtAddr1->installEventFilter(this);

    setCancelButton(bbtnCancel);
    connect(btnZip, &QPushButton::clicked, this, GuardedSlot(this, &TfrmIns::btnZipClick));
    connect(btnGenSel, &QPushButton::clicked, this, GuardedSlot(this, &TfrmIns::btnGenSelClick));
    connect(dchkG, &QCheckBox::toggled, this, GuardedSlot(this, &TfrmIns::dchkGClick));
    connect(bbtnOk, &QPushButton::clicked, this, GuardedSlot(this, &TfrmIns::bbtnOkClick));
    connect(bbtnCancel, &QPushButton::clicked, this, GuardedSlot(this, &TfrmIns::bbtnCancelClick));
    // The copies follow the stored values, whoever changed them.
    connect(&master(), &Dataset::recordChanged, this, [this](int fieldIndex) {
        if (fieldIndex < 0 || !inserting())
            return;
        Guarded([&] {
            if (fieldIndex == master().fieldByName(QStringLiteral("Name")).index())
                dedtNameChange();
            else if (fieldIndex == master().fieldByName(QStringLiteral("Bday")).index())
                dedtBdayChange();
        });
    });
    FormCreate();
}

bool TfrmIns::inserting() const
{
    return frmDM->tbMaster.state() == DatasetState::Insert;
}

void TfrmIns::FormCreate()
{
    lblArea->setText(AreaWord());
    const bool bapt = BaptOption < 1;
    dchkC->setText(bapt ? QStringLiteral("유아세례") : QStringLiteral("헌아일자"));
    dchkB->setText(bapt ? QStringLiteral("세례일자") : QStringLiteral("침례일자"));
}

void TfrmIns::showEvent(QShowEvent *event)
{
    TForm::showEvent(event);
    Guarded([this] { FormShow(); });
}

void TfrmIns::FormShow()
{
    const QList<QPair<DBComboBox *, QPair<const QStringList *, int>>> boxes = {
        {dcbxArea, {&AreaList, AreaCount}}, {dcbxZone, {&ZoneList, ZoneCount}}, {dcbxPart, {&PartList, PartCount}},
        {dcbxResp, {&RespList, RespCount}}, {dcbxDuty, {&DutyList, DutyCount}}, {dcbxGita, {&GitaList, GitaCount}},
        {dcbxBigo, {&BigoList, BigoCount}}};
    // The boxes keep showing the row's value while they are refilled.
    for (const auto &b : boxes)
        FillItemsWithBlank(b.first, *b.second.first, b.second.second);
    if (windowTitle() == InsertCaption)
        for (const auto &b : boxes)
            b.first->setCurrentIndex(0);
    dchkGClick();
    dedtName->setFocus();
}

void TfrmIns::dedtNameChange()
{
    master().fieldByName(QStringLiteral("Hname")).setAsString(value("Name"));
}

void TfrmIns::dedtBdayChange()
{
    const QString t = Trim(value("Bday"));
    if (t.size() > 2)
        master().fieldByName(QStringLiteral("Regno")).setAsString(t.mid(2));
}

void TfrmIns::dchkGClick()
{
    btnGenSel->setEnabled(!dchkG->isChecked());
}

bool TfrmIns::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::FocusOut && event->type() != QEvent::FocusIn)
        return TForm::eventFilter(watched, event);
    // Only moves between the window's own controls count, not another window coming and going.
    const auto reason = static_cast<QFocusEvent *>(event)->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
        return TForm::eventFilter(watched, event);
    if (event->type() == QEvent::FocusOut) {
        for (const auto &p : m_datePairs)
            if (watched == p.first)
                Guarded([&] { TickIfDated(p.first, p.second); });
    } else if (watched == dedtAddr1 && !m_picking) {
        // Entering the address opens the picker, after the focus change has finished.
        QTimer::singleShot(0, this, [this] {
            if (dedtAddr1->hasFocus() && !m_picking)
                Guarded([this] { btnZipClick(); });
        });
    }
    return TForm::eventFilter(watched, event);
}

void TfrmIns::TickIfDated(DBEdit *edit, DBCheckBox *box)
{
    const Field *date = edit->field();
    Field *flag = box->field();
    const DatasetState s = master().state();
    if (!date || !flag || (s != DatasetState::Edit && s != DatasetState::Insert))
        return;
    if (!flag->asBoolean() && !Trim(date->asString()).isEmpty())
        flag->setAsBoolean(true);
}

void TfrmIns::btnZipClick()
{
    if (m_picking)
        return;
    m_picking = true;
    AddrForJob = false;
    {
        TfrmAddr addr(this);
        addr.centreOn(this);
        addr.ShowModal();
    }
    m_picking = false;
    if (!dedtAddr1->text().isEmpty())
        dedtAddr2->setFocus();
}

void TfrmIns::btnGenSelClick()
{
    TfrmGenDlg dlg(this);
    dlg.centreOn(this);
    dlg.ShowModal();
    const DatasetState s = master().state();
    if (!dlg.HeadIno.isEmpty() && (s == DatasetState::Edit || s == DatasetState::Insert)) {
        const QList<QPair<const char *, const QString *>> fields = {
            {"GNO", &dlg.HeadIno},     {"Gname", &dlg.HeadName}, {"Tel1", &dlg.HeadTel1},
            {"Addr1", &dlg.HeadAddr1}, {"Addr2", &dlg.HeadAddr2}, {"Zip", &dlg.HeadZip},
            {"Zone", &dlg.HeadZone},   {"Area", &dlg.HeadArea}};
        for (const auto &f : fields)
            master().fieldByName(QString::fromLatin1(f.first)).setAsString(*f.second);
    }
    dedtGrel->setFocus();
}

void TfrmIns::bbtnOkClick()
{
    Table &m = master();
    if (Trim(value("Name")).isEmpty() || Trim(value("Bday")).isEmpty() || Trim(value("Tel1")).isEmpty()) {
        ShowMessage(QStringLiteral("성명, 생일, 전화번호는 반드시 입력하세요."));
        dedtName->setFocus();
        return;
    }
    QList<QPair<DBEdit *, QString>> dates = {{dedtBday, QStringLiteral("생년월일")}};
    for (const auto &p : m_datePairs)
        dates.append({p.first, p.second->text()});
    for (const auto &d : dates) {
        const bool lunar = d.first == dedtBday && value("L") == QStringLiteral("음");
        if (!DateAccepted(d.first->field() ? d.first->field()->asString() : QString(), lunar, d.second, d.first))
            return;
    }
    const bool inserting = m.state() == DatasetState::Insert;
    const bool head = m.fieldByName(QStringLiteral("G")).asBoolean();
    QString ino;
    try {
        if (inserting)
            m.fieldByName(QStringLiteral("Ino")).setAsString(MintMemberNumber(Clock::now()));
        ino = value("Ino"); // the stored row may leave the view, taking the cursor elsewhere
        m.post();
    } catch (const std::exception &e) {
        // The row stays as typed, so the user can correct it or cancel.
        ShowError(QString::fromUtf8(e.what()));
        return;
    }
    setModalResult(mrOk);
    bool hiddenByTab = false;
    try {
        // On the stored member for the family question. A new member leaves the index tab as the
        // user chose it, since the opener goes back to its kept member; an edited member stays the
        // current one, shown even when renamed out of the tab.
        if (inserting)
            hiddenByTab = !m.locate(QStringLiteral("Ino"), {ino}) && m.filtered();
        else
            GoToMember(ino);
    } catch (const std::exception &e) {
        ShowError(QString::fromUtf8(e.what()));
        return;
    }
    if (!head || (m.fieldByName(QStringLiteral("Ino")).asString() != ino && !hiddenByTab))
        return;
    if (MessageBox(QStringLiteral("가족사항을 입력하시겠습니까?"), QStringLiteral("입력 확인"), MsgButtons::YesNo,
                   MsgIcon::Question) != IDYES)
        return;
    QAction *family = frmMain ? frmMain->command(QStringLiteral("mnuFamily")) : nullptr;
    if (!family)
        return;
    if (!hiddenByTab) {
        family->trigger();
        return;
    }
    // The tab's filter is lifted for the family editor alone.
    Guarded([&] {
        m.setFiltered(false);
        try {
            if (m.locate(QStringLiteral("Ino"), {ino}))
                family->trigger();
        } catch (...) {
            m.setFiltered(true);
            throw;
        }
        m.setFiltered(true);
    });
}

void TfrmIns::bbtnCancelClick()
{
    try {
        master().cancel();
    } catch (const std::exception &) {
    }
    setModalResult(mrCancel);
}

void TfrmIns::FormClose()
{
    // Nothing is left to cancel after a successful store.
    try {
        master().cancel();
    } catch (const std::exception &) {
    }
}
