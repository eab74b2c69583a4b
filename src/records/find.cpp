#include "records/find.h"

#include "core/dm.h"
#include "core/global.h"
#include "core/myunit.h"
#include "platform/dbcontrols.h"
#include "platform/dialogs.h"
#include "platform/editmask.h"
#include "platform/sysutils.h"
#include "lists/handoff.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

namespace {
const QString DateMask = QStringLiteral("9999.99.99;0;_");

QString S(const char *text) { return QString::fromUtf8(text); }

bool filled(const QLineEdit *edit)
{
    return MaskedDateText(edit).size() > 7;
}

} // namespace

QList<DBGrid::Column> ResultColumns(bool withReg, const QString &areaTitle)
{
    const Qt::Alignment centre = Qt::AlignCenter;
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    QList<DBGrid::Column> c = {{QStringLiteral("Name"), S("성명"), left, 64},
                               {QStringLiteral("X"), S("성"), centre, 26},
                               {QStringLiteral("Bday"), S("생년월일"), centre, 78},
                               {QStringLiteral("L"), S("력"), centre, 26},
                               {QStringLiteral("Tel1"), S("전화1"), left, 96},
                               {QStringLiteral("Tel2"), S("전화2"), left, 96},
                               {QStringLiteral("Hp"), S("이동전화"), left, 96},
                               {QStringLiteral("Addr"), S("주    소"), left, 260},
                               {QStringLiteral("Zip"), S("우편번호"), centre, 64}};
    if (withReg)
        c.append({QStringLiteral("Reg"), S("등록일자"), centre, 78});
    c.append({{QStringLiteral("Zone"), S("교구"), left, 60},
              {QStringLiteral("Area"), areaTitle, left, 50},
              {QStringLiteral("Duty1"), S("직분1"), left, 60},
              {QStringLiteral("Duty2"), S("직분2"), left, 60},
              {QStringLiteral("Bigo"), S("비고"), left, 60},
              {QStringLiteral("Part"), S("소속기관"), left, 70},
              {QStringLiteral("Resp"), S("기관직책"), left, 70}});
    return c;
}

QString MaskedDateText(const QLineEdit *edit)
{
    const auto *masked = qobject_cast<const MaskEdit *>(edit);
    return Trim(masked ? masked->storedText() : edit->text());
}

TfrmFind::TfrmFind(QWidget *parent) : TForm(parent), qrFind(&frmDM->dbKelmo)
{
    setObjectName(QStringLiteral("frmFind"));
    setWindowTitle(S("세부 검색"));

    auto named = [](QWidget *w, const char *name) {
        w->setObjectName(QString::fromLatin1(name));
        return w;
    };
    auto edit = [&](const char *name, QWidget *parent) {
        auto *e = new QLineEdit(parent);
        named(e, name);
        return e;
    };
    auto dateEdit = [&](const char *name, QWidget *parent) {
        auto *e = new MaskEdit(DateMask, parent);
        named(e, name);
        e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("0000.00.00")) + 16);
        return e;
    };
    auto combo = [&](const char *name, QWidget *parent) {
        auto *c = new QComboBox(parent);
        named(c, name);
        c->setMinimumWidth(110);
        return c;
    };
    auto check = [&](const char *name, const char *caption, QWidget *parent) {
        auto *c = new QCheckBox(S(caption), parent);
        named(c, name);
        return c;
    };

    // Title panel
    auto *title = new QWidget(this);
    auto *titleLayout = new QHBoxLayout(title);
    titleLayout->setContentsMargins(0, 0, 0, 0);
    edtName = edit("edtName", title);
    auto *lblName = new QLabel(S("성명(&N)"), title);
    lblName->setBuddy(edtName);
    cbxX = combo("cbxX", title);
    cbxX->setMinimumWidth(60);
    cbxX->addItems({S("전체"), S("남"), S("여")});
    edtTel = edit("edtTel", title);
    auto *lblTel = new QLabel(S("전화(&T)"), title);
    lblTel->setBuddy(edtTel);
    bbtnFind = new QPushButton(S("검색(&F)"), title);
    named(bbtnFind, "bbtnFind");
    titleLayout->addWidget(lblName);
    titleLayout->addWidget(edtName, 1);
    titleLayout->addWidget(cbxX);
    titleLayout->addSpacing(8);
    titleLayout->addWidget(lblTel);
    titleLayout->addWidget(edtTel, 1);
    titleLayout->addSpacing(8);
    titleLayout->addWidget(bbtnFind);

    // A page of ticked conditions in two columns, each row a box and its value controls.
    auto addRow = [](QGridLayout *g, int row, int col, QCheckBox *box, std::initializer_list<QWidget *> values) {
        g->addWidget(box, row, col * 3);
        auto *h = new QHBoxLayout;
        h->setSpacing(4);
        for (QWidget *w : values)
            h->addWidget(w);
        h->addStretch(1);
        g->addLayout(h, row, col * 3 + 1);
    };
    auto range = [](QWidget *parent) { return new QLabel(QStringLiteral("~"), parent); };
    pgcFind = new QTabWidget(this);
    named(pgcFind, "pgcFind");

    auto *page1 = new QWidget;
    named(page1, "tsCond");
    auto *g1 = new QGridLayout(page1);
    chkBday = check("chkBday", "생년월일", page1);
    chkAddr = check("chkAddr", "주    소", page1);
    chkEmail = check("chkEmail", "전자우편", page1);
    chkZone = check("chkZone", "교    구", page1);
    chkArea = check("chkArea", "구    역", page1);
    chkPart = check("chkPart", "소속기관", page1);
    chkResp = check("chkResp", "기관직책", page1);
    chkDuty = check("chkDuty", "직    분", page1);
    chkBigo = check("chkBigo", "비    고", page1);
    chkR = check("chkR", "등록일자", page1);
    chkC = check("chkC", "유세일자", page1);
    chkS = check("chkS", "학습일자", page1);
    chkB = check("chkB", "세례일자", page1);
    mskDs = dateEdit("mskDs", page1);
    mskDe = dateEdit("mskDe", page1);
    edtAddr = edit("edtAddr", page1);
    edtEmail = edit("edtEmail", page1);
    cbxZone = combo("cbxZone", page1);
    cbxArea = combo("cbxArea", page1);
    cbxPart = combo("cbxPart", page1);
    cbxResp = combo("cbxResp", page1);
    cbxDuty = combo("cbxDuty", page1);
    cbxBigo = combo("cbxBigo", page1);
    mskRs = dateEdit("mskRs", page1);
    mskRe = dateEdit("mskRe", page1);
    mskCs = dateEdit("mskCs", page1);
    mskCe = dateEdit("mskCe", page1);
    mskSs = dateEdit("mskSs", page1);
    mskSe = dateEdit("mskSe", page1);
    mskBs = dateEdit("mskBs", page1);
    mskBe = dateEdit("mskBe", page1);
    edtAddr->setMinimumWidth(180);
    edtEmail->setMinimumWidth(180);
    addRow(g1, 0, 0, chkBday, {mskDs, range(page1), mskDe});
    addRow(g1, 1, 0, chkAddr, {edtAddr});
    addRow(g1, 2, 0, chkEmail, {edtEmail});
    addRow(g1, 3, 0, chkZone, {cbxZone});
    addRow(g1, 4, 0, chkArea, {cbxArea});
    addRow(g1, 5, 0, chkPart, {cbxPart});
    addRow(g1, 6, 0, chkResp, {cbxResp});
    addRow(g1, 0, 1, chkR, {mskRs, range(page1), mskRe});
    addRow(g1, 1, 1, chkC, {mskCs, range(page1), mskCe});
    addRow(g1, 2, 1, chkS, {mskSs, range(page1), mskSe});
    addRow(g1, 3, 1, chkB, {mskBs, range(page1), mskBe});
    addRow(g1, 4, 1, chkDuty, {cbxDuty});
    addRow(g1, 5, 1, chkBigo, {cbxBigo});
    g1->setColumnMinimumWidth(2, 24);
    g1->setColumnStretch(1, 1);
    g1->setColumnStretch(4, 1);
    pgcFind->addTab(page1, S("검색 조건(&1)"));

    auto *page2 = new QWidget;
    named(page2, "tsMore");
    auto *g2 = new QGridLayout(page2);
    chkM = check("chkM", "결혼일자", page2);
    chkLearn = check("chkLearn", "학    력", page2);
    chkMajor = check("chkMajor", "전    공", page2);
    chkHobby = check("chkHobby", "취    미", page2);
    chkSpec = check("chkSpec", "특    기", page2);
    chkBl = check("chkBl", "혈 액 형", page2);
    chkJob = check("chkJob", "근 무 처", page2);
    chkJkind = check("chkJkind", "직    종", page2);
    chkJpart = check("chkJpart", "부    서", page2);
    chkJduty = check("chkJduty", "직    위", page2);
    chkJtel = check("chkJtel", "직장전화", page2);
    chkJfax = check("chkJfax", "직장팩스", page2);
    chkCur = check("chkCur", "등록경위", page2);
    chkGuide = check("chkGuide", "인 도 자", page2);
    mskMs = dateEdit("mskMs", page2);
    mskMe = dateEdit("mskMe", page2);
    cbxLearn = combo("cbxLearn", page2);
    for (const char *item : {"대졸", "대재", "전문대졸", "전문대재", "고졸", "고재", "중졸", "중재", "초졸", "초재",
                             "대학원졸", "대학원재", "기타"})
        cbxLearn->addItem(S(item));
    edtMajor = edit("edtMajor", page2);
    edtHobby = edit("edtHobby", page2);
    edtSpec = edit("edtSpec", page2);
    cbxBl = combo("cbxBl", page2);
    cbxBl->addItems({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("O"), QStringLiteral("AB")});
    edtJob = edit("edtJob", page2);
    cbxJkind = combo("cbxJkind", page2);
    edtJpart = edit("edtJpart", page2);
    edtJduty = edit("edtJduty", page2);
    edtJtel = edit("edtJtel", page2);
    edtJfax = edit("edtJfax", page2);
    edtCur = edit("edtCur", page2);
    edtGuide = edit("edtGuide", page2);
    addRow(g2, 0, 0, chkM, {mskMs, range(page2), mskMe});
    addRow(g2, 1, 0, chkLearn, {cbxLearn});
    addRow(g2, 2, 0, chkMajor, {edtMajor});
    addRow(g2, 3, 0, chkHobby, {edtHobby});
    addRow(g2, 4, 0, chkSpec, {edtSpec});
    addRow(g2, 5, 0, chkBl, {cbxBl});
    addRow(g2, 6, 0, chkCur, {edtCur});
    addRow(g2, 0, 1, chkJob, {edtJob});
    addRow(g2, 1, 1, chkJkind, {cbxJkind});
    addRow(g2, 2, 1, chkJpart, {edtJpart});
    addRow(g2, 3, 1, chkJduty, {edtJduty});
    addRow(g2, 4, 1, chkJtel, {edtJtel});
    addRow(g2, 5, 1, chkJfax, {edtJfax});
    addRow(g2, 6, 1, chkGuide, {edtGuide});
    g2->setColumnMinimumWidth(2, 24);
    g2->setColumnStretch(1, 1);
    g2->setColumnStretch(4, 1);
    pgcFind->addTab(page2, S("세부 조건(&2)"));

    // Result panel
    dgrdFind = new DBGrid(this);
    named(dgrdFind, "dgrdFind");
    dgrdFind->setDataSource(&dsFind);
    dgrdFind->setMultiSelect(true);
    pnlTotal = Panel(S(" 0명 검색"), this, true);
    named(pnlTotal, "pnlTotal");
    bbtnPrint = new QPushButton(S("인쇄(&P)"), this);
    named(bbtnPrint, "bbtnPrint");
    bbtnSave = new QPushButton(S("저장(&S)"), this);
    named(bbtnSave, "bbtnSave");
    auto *totals = new QHBoxLayout;
    totals->addWidget(pnlTotal, 1);
    totals->addWidget(bbtnPrint);
    totals->addWidget(bbtnSave);

    // Button panel
    auto *hint = Panel(S("체크표시가 되어 있는 내용을 검색합니다."), this, true);
    bbtnClose = new QPushButton(S("닫기(&C)"), this);
    named(bbtnClose, "bbtnClose");
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(hint, 1);
    buttons->addWidget(bbtnClose);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(pgcFind);
    layout->addWidget(dgrdFind, 1);
    layout->addLayout(totals);
    layout->addLayout(buttons);
    resize(820, 620);

    setCancelButton(bbtnClose);
    connect(bbtnFind, &QPushButton::clicked, this, GuardedSlot(this, &TfrmFind::bbtnFindClick));
    connect(dgrdFind, &DBGrid::doubleClicked, this, GuardedSlot(this, &TfrmFind::dgrdFindDblClick));
    connect(bbtnPrint, &QPushButton::clicked, this, GuardedSlot(this, &TfrmFind::bbtnPrintClick));
    connect(bbtnSave, &QPushButton::clicked, this, GuardedSlot(this, &TfrmFind::bbtnSaveClick));
    connect(bbtnClose, &QPushButton::clicked, this, &QWidget::close);
    FormCreate();
}

void TfrmFind::FormCreate()
{
    FillItems(cbxArea, AreaList, AreaCount);
    chkArea->setText(AreaOption < 1 ? S("구    역") : S("속    회"));
    dgrdFind->setColumns(ResultColumns(true, AreaWord()));
    if (BaptOption < 1) {
        chkC->setText(S("유세일자"));
        chkB->setText(S("세례일자"));
    } else {
        chkC->setText(S("헌아일자"));
        chkB->setText(S("침례일자"));
    }
    qrFind.close();
    showResult(false);
}

void TfrmFind::showEvent(QShowEvent *event)
{
    TForm::showEvent(event);
    Guarded([this] { FormActivate(); });
}

void TfrmFind::FormActivate()
{
    FillItems(cbxZone, ZoneList, ZoneCount);
    FillItems(cbxPart, PartList, PartCount);
    FillItems(cbxResp, RespList, RespCount);
    FillItems(cbxDuty, DutyList, DutyCount);
    FillItems(cbxBigo, BigoList, BigoCount);
    FillItems(cbxJkind, KindList, KindCount);
    for (QComboBox *c : {cbxX, cbxArea, cbxZone, cbxPart, cbxResp, cbxDuty, cbxBigo, cbxLearn, cbxBl, cbxJkind})
        c->setCurrentIndex(0);
}

void TfrmFind::AddSQL(const QString &line)
{
    m_sql << line + QLatin1Char(' ');
    qrFind.setSql(m_sql.join(QLatin1Char('\n')));
}

void TfrmFind::bbtnFindClick()
{
    qrFind.close();
    m_sql.clear();
    qrFind.setSql(QString());
    qrFind.clearParams();
    AddSQL(S("SELECT Ino, Name, X, Bday, L, Tel1, Tel2, Hp, (Addr1 || ' ') || Addr2  Addr, Zip, Reg, Zone, Area, "
             "Duty1, Duty2, Bigo, Part, Resp"));
    AddSQL(S("FROM \"master.DB\" Master "));
    AddSQL(S("WHERE   (Name LIKE :name) "));
    AddSQL(S("   AND  (X LIKE :x)"));
    AddSQL(S("   AND  ((Tel1 LIKE :tel) OR   (Tel2 LIKE :tel)   OR   (Hp LIKE :tel)) "));

    // Each gate is read once, so a condition and its values can never disagree.
    struct Condition {
        bool on;
        const char *sql;
        Params values;
    };
    const auto text = [](const QLineEdit *e) { return Trim(e->text()); };
    const auto prefix = [&](const QLineEdit *e) { return text(e) + QLatin1Char('%'); };
    const auto dates = [](const char *s, const QLineEdit *from, const char *e, const QLineEdit *to) {
        return Params{{QString::fromLatin1(s), MaskedDateText(from)}, {QString::fromLatin1(e), MaskedDateText(to)}};
    };
    const auto one = [](const char *name, const QVariant &v) { return Params{{QString::fromLatin1(name), v}}; };
    const Condition conditions[] = {
        {chkBday->isChecked() && filled(mskDs) && filled(mskDe), "AND  (Bday BETWEEN :ds AND :de)",
         dates("ds", mskDs, "de", mskDe)},
        {chkAddr->isChecked(), "AND  (Addr1 LIKE :addr)", one("addr", QLatin1Char('%') + text(edtAddr) + QLatin1Char('%'))},
        {chkEmail->isChecked(), "AND  (Email LIKE :email)", one("email", prefix(edtEmail))},
        {chkZone->isChecked(), "AND  (Zone = :zone)", one("zone", cbxZone->currentText())},
        {chkArea->isChecked(), "AND  (Area = :area)", one("area", cbxArea->currentText())},
        {chkPart->isChecked(), "AND  (Part = :part)", one("part", cbxPart->currentText())},
        {chkResp->isChecked(), "AND  (Resp = :resp)", one("resp", cbxResp->currentText())},
        {chkDuty->isChecked(), "AND  ((Duty1 = :duty)   OR   (Duty2 = :duty))", one("duty", cbxDuty->currentText())},
        {chkBigo->isChecked(), "AND  (Bigo LIKE :bigo)", one("bigo", cbxBigo->currentText())},
        {chkR->isChecked(), "AND  (R = :r)", one("r", true)},
        {filled(mskRs) && filled(mskRe), "AND  (Reg BETWEEN :rs AND :re)", dates("rs", mskRs, "re", mskRe)},
        {chkC->isChecked(), "AND  (C = :c)", one("c", true)},
        {filled(mskCs) && filled(mskCe), "AND  (Chd BETWEEN :cs AND :ce)", dates("cs", mskCs, "ce", mskCe)},
        {chkS->isChecked(), "AND  (S = :s)", one("s", true)},
        {filled(mskSs) && filled(mskSe), "AND  (Std BETWEEN :ss AND :se)", dates("ss", mskSs, "se", mskSe)},
        {chkB->isChecked(), "AND  (B = :b)", one("b", true)},
        {filled(mskBs) && filled(mskBe), "AND  (Bap BETWEEN :bs AND :be)", dates("bs", mskBs, "be", mskBe)},
        {chkLearn->isChecked(), "AND  (Learn = :learn)", one("learn", cbxLearn->currentText())},
        {chkMajor->isChecked(), "AND  (Major LIKE :major)", one("major", prefix(edtMajor))},
        {chkHobby->isChecked(), "AND  (Hobby LIKE :hobby)", one("hobby", prefix(edtHobby))},
        {chkSpec->isChecked(), "AND  (Spec LIKE :spec)", one("spec", prefix(edtSpec))},
        {chkM->isChecked(), "AND  (M = :m)", one("m", true)},
        {filled(mskMs) && filled(mskMe), "AND  (Mday BETWEEN :ms AND :me)", dates("ms", mskMs, "me", mskMe)},
        {chkBl->isChecked(), "AND  (Bl = :bl)", one("bl", cbxBl->currentText())},
        {chkJob->isChecked(), "AND  (Job LIKE :job)", one("job", prefix(edtJob))},
        {chkJkind->isChecked(), "AND  (Jkind = :jkind)", one("jkind", cbxJkind->currentText())},
        {chkJpart->isChecked(), "AND  (Jpart LIKE :jpart)", one("jpart", prefix(edtJpart))},
        {chkJduty->isChecked(), "AND  (Jduty LIKE :jduty)", one("jduty", prefix(edtJduty))},
        {chkJtel->isChecked(), "AND  (Jtel LIKE :jtel)", one("jtel", prefix(edtJtel))},
        {chkJfax->isChecked(), "AND  (Jfax LIKE :jfax)", one("jfax", prefix(edtJfax))},
        {chkCur->isChecked(), "AND  (Cur LIKE :cur)", one("cur", prefix(edtCur))},
        {chkGuide->isChecked(), "AND  (Guide LIKE :guide)", one("guide", prefix(edtGuide))},
    };
    for (const Condition &c : conditions)
        if (c.on)
            AddSQL(S(c.sql));
    AddSQL(QStringLiteral("ORDER BY Name"));
    qrFind.prepare();

    qrFind.setParam(QStringLiteral("name"), prefix(edtName));
    qrFind.setParam(QStringLiteral("x"), cbxX->currentText() == S("전체") ? QStringLiteral("%")
                                                                          : cbxX->currentText() + QLatin1Char('%'));
    qrFind.setParam(QStringLiteral("tel"), prefix(edtTel));
    for (const Condition &c : conditions)
        if (c.on)
            for (const auto &v : c.values)
                qrFind.setParam(v.first, v.second);

    try {
        qrFind.database()->runRetryingAfterLock(this, [this] { showFound(); });
    } catch (const std::exception &e) {
        showResult(false);
        ShowError(QString::fromUtf8(e.what()));
        return;
    }
    const int count = qrFind.recordCount();
    if (count > 0) {
        dgrdFind->setFocus();
    } else {
        ShowMessage(S("검색 조건에 맞는 내용이 없습니다."));
        edtName->setFocus();
    }
}

void TfrmFind::showFound()
{
    qrFind.open();
    const int count = qrFind.recordCount();
    pnlTotal->setText(QStringLiteral(" ") + QString::number(count) + S(" 명 검색"));
    showResult(count > 0);
}

void TfrmFind::showResult(bool found)
{
    bbtnSave->setEnabled(found);
    bbtnPrint->setEnabled(found);
    dgrdFind->setEnabled(found);
}

void TfrmFind::dgrdFindDblClick()
{
    if (resulthandoff::Dial(dgrdFind, qrFind))
        FormActivate();
}

void TfrmFind::bbtnPrintClick()
{
    if (resulthandoff::Print(dgrdFind, qrFind))
        FormActivate();
}

void TfrmFind::bbtnSaveClick()
{
    resulthandoff::Save(qrFind);
}

void TfrmFind::FormClose()
{
    if (dgrdFind->isEnabled())
        resulthandoff::OfferGoTo(qrFind);
}
