#include "records/memo.h"

#include "core/dm.h"
#include "core/global.h"
#include "platform/dialogs.h"
#include "platform/sysutils.h"
#include "lists/handoff.h"
#include "records/find.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QTabWidget>

namespace {
QString S(const char *text) { return QString::fromUtf8(text); }

} // namespace

TfrmMemo::TfrmMemo(QWidget *parent)
    : TForm(parent), qrFind(&frmDM->dbKelmo), tbVisit(&frmDM->dbKelmo, QStringLiteral("VISIT")),
      tbStudy(&frmDM->dbKelmo, QStringLiteral("STUDY"))
{
    setObjectName(QStringLiteral("frmMemo"));
    setWindowTitle(S("메모 검색"));

    // Title panel
    auto *title = new QHBoxLayout;
    edtText = new QLineEdit(this);
    edtText->setObjectName(QStringLiteral("edtText"));
    auto *lblText = new QLabel(S("찾을 단어(&T)"), this);
    lblText->setBuddy(edtText);
    title->addWidget(lblText);
    title->addWidget(edtText, 1);
    title->addSpacing(12);
    auto check = [this, title](const char *name, const char *caption) {
        auto *c = new QCheckBox(S(caption), this);
        c->setObjectName(QString::fromLatin1(name));
        c->setChecked(true);
        title->addWidget(c);
        return c;
    };
    chkC = check("chkC", "교적");
    chkJ = check("chkJ", "직장");
    chkF = check("chkF", "가족");
    chkV = check("chkV", "심방");
    chkS = check("chkS", "이력");

    // Count panel
    pnlTotal = Panel(S(" 0명이 검색되었습니다."), this, true);
    pnlTotal->setObjectName(QStringLiteral("pnlTotal"));
    auto button = [this](const char *name, const char *caption) {
        auto *b = new QPushButton(S(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    bbtnFind = button("bbtnFind", "검색(&F)");
    bbtnPrint = button("bbtnPrint", "인쇄(&P)");
    bbtnSave = button("bbtnSave", "저장(&S)");
    auto *count = new QHBoxLayout;
    count->addWidget(pnlTotal, 1);
    count->addWidget(bbtnFind);
    count->addWidget(bbtnPrint);
    count->addWidget(bbtnSave);

    auto *split = new QSplitter(Qt::Vertical, this);
    dgrdFind = new DBGrid(split);
    dgrdFind->setObjectName(QStringLiteral("dgrdFind"));
    dgrdFind->setDataSource(&dsFind);

    // Memo pages of the current result row
    pcMemo = new QTabWidget(split);
    pcMemo->setObjectName(QStringLiteral("pcMemo"));
    dmemCmemo = BoundControl<DBMemo>(pcMemo, "dmemCmemo", &dsFind, "Cmemo", true);
    dmemJmemo = BoundControl<DBMemo>(pcMemo, "dmemJmemo", &dsFind, "Jmemo", true);
    dmemFmemo = BoundControl<DBMemo>(pcMemo, "dmemFmemo", &dsFind, "Fmemo", true);
    pcMemo->addTab(dmemCmemo, S("교적 메모(&1)"));
    pcMemo->addTab(dmemJmemo, S("직장 메모(&2)"));
    pcMemo->addTab(dmemFmemo, S("가족 메모(&3)"));

    auto memoBox = [](const QString &caption, DBMemo *memo, QWidget *parent) {
        auto *g = new QGroupBox(caption, parent);
        (new QVBoxLayout(g))->addWidget(memo);
        return g;
    };
    auto *tsV = new QWidget;
    tsV->setObjectName(QStringLiteral("tsV"));
    dgrdVisit = new DBGrid(tsV);
    dgrdVisit->setObjectName(QStringLiteral("dgrdVisit"));
    dgrdVisit->setDataSource(&dsVisit);
    const Qt::Alignment centre = Qt::AlignCenter;
    dgrdVisit->setColumns({{QStringLiteral("Vday"), QString(), centre, 80}, {QStringLiteral("Vtime"), QString(), centre, 64},
                           {QStringLiteral("Leader")}, {QStringLiteral("Fellow")}, {QStringLiteral("Place")}});
    dmemVc = BoundControl<DBMemo>(tsV, "dmemVc", &dsVisit, "Content", true);
    dmemVr = BoundControl<DBMemo>(tsV, "dmemVr", &dsVisit, "Result", true);
    auto *visitMemos = new QHBoxLayout;
    visitMemos->addWidget(memoBox(S(" 내용"), dmemVc, tsV));
    visitMemos->addWidget(memoBox(S(" 결과"), dmemVr, tsV));
    auto *vLayout = new QHBoxLayout(tsV);
    vLayout->addWidget(dgrdVisit, 1);
    vLayout->addLayout(visitMemos, 1);
    pcMemo->addTab(tsV, S("심방 기록(&4)"));

    auto *tsS = new QWidget;
    tsS->setObjectName(QStringLiteral("tsS"));
    dgrdStudy = new DBGrid(tsS);
    dgrdStudy->setObjectName(QStringLiteral("dgrdStudy"));
    dgrdStudy->setDataSource(&dsStudy);
    dgrdStudy->setColumns({{QStringLiteral("Eday"), S("일자(부터)"), centre, 80}, {QStringLiteral("Eday2"), S("일자(까지)"), centre, 80},
                           {QStringLiteral("Ename"), S("이력 제목")}, {QStringLiteral("Ebigo")}});
    dmemSr = BoundControl<DBMemo>(tsS, "dmemSr", &dsStudy, "Result", true);
    auto *sLayout = new QHBoxLayout(tsS);
    sLayout->addWidget(dgrdStudy, 1);
    sLayout->addWidget(memoBox(S(" 이력 메모"), dmemSr, tsS), 1);
    pcMemo->addTab(tsS, S("이력 기록(&5)"));
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);

    // Button panel
    auto *hint = Panel(S("체크표시가 되어 있는 내용을 검색합니다."), this, true);
    bbtnClose = button("bbtnClose", "닫기(&C)");
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(hint, 1);
    buttons->addWidget(bbtnClose);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(title);
    layout->addLayout(count);
    layout->addWidget(split, 1);
    layout->addLayout(buttons);
    resize(820, 600);

    m_lines = new QPlainTextEdit(this);
    m_lines->hide();

    setDefaultButton(bbtnFind);
    setCancelButton(bbtnClose);
    connect(bbtnFind, &QPushButton::clicked, this, GuardedSlot(this, &TfrmMemo::bbtnFindClick));
    connect(dgrdFind, &DBGrid::doubleClicked, this, GuardedSlot(this, &TfrmMemo::dgrdFindDblClick));
    connect(bbtnPrint, &QPushButton::clicked, this, GuardedSlot(this, &TfrmMemo::bbtnPrintClick));
    connect(bbtnSave, &QPushButton::clicked, this, GuardedSlot(this, &TfrmMemo::bbtnSaveClick));
    connect(bbtnClose, &QPushButton::clicked, this, &QWidget::close);
    FormCreate();
}

void TfrmMemo::FormCreate()
{
    dgrdFind->setColumns(ResultColumns(false, AreaWord()));
    qrFind.setSql(S("SELECT Ino, Name, X, Bday, L, Tel1, Tel2, Hp, (Addr1 || ' ') || Addr2  Addr, Zip, Zone, Area, "
                    "Duty1, Duty2, Bigo, Part, Resp, Cmemo, Jmemo, Fmemo\n"
                    "FROM \"master.DB\" Master\n"
                    "WHERE Sel = true\n"
                    "ORDER BY Name"));
    tbVisit.setIndexFieldNames(QStringLiteral("Ino;Vday;Vtime"));
    tbVisit.setMasterSource(&dsFind, QStringLiteral("Ino"));
    tbStudy.setIndexFieldNames(QStringLiteral("Ino;Eday;Eday2;Ename"));
    tbStudy.setMasterSource(&dsFind, QStringLiteral("Ino"));
    SetAllSel(frmDM->qrMaster, false);
    qrFind.open();
    tbVisit.open();
    tbStudy.open();
    showResult(false);
}

bool TfrmMemo::memoHasWord(const QString &text, const QString &word)
{
    // A text of one line is its only line, and FindInMemo would only look for the word in it.
    static const QRegularExpression breaks(QStringLiteral("[\\r\\n\\x{2029}\\x{fdd0}\\x{fdd1}]"));
    if (!text.contains(breaks))
        return UpperCase(text).contains(UpperCase(word));
    m_lines->setPlainText(text);
    return FindInMemo(m_lines, word, false);
}

QSet<QString> TfrmMemo::MembersWithWord(const QString &word)
{
    QSet<QString> found;
    if (word.isEmpty())
        return found;
    Database &db = frmDM->dbKelmo;
    // SQLite's upper() changes a-z alone, as FindInMemo does: the database passes on only the
    // texts that may hold the word, and FindInMemo has the last word on each, line by line.
    const Params wanted{{QStringLiteral("w"), UpperCase(word)}};
    const auto scan = [&](const QString &table, const QStringList &memos) {
        if (memos.isEmpty())
            return;
        QStringList tests;
        for (const QString &m : memos)
            tests << QStringLiteral("instr(upper(%1), :w) > 0").arg(m);
        Statement st(db, QStringLiteral("SELECT Ino, %1 FROM %2 WHERE %3")
                             .arg(memos.join(QStringLiteral(", ")), table, tests.join(QStringLiteral(" OR "))));
        st.bindParameters(wanted);
        while (st.step()) {
            const QString ino = st.column(0).toString();
            if (found.contains(ino))
                continue;
            for (int i = 1; i <= memos.size(); ++i) {
                if (memoHasWord(st.column(i).toString(), word)) {
                    found.insert(ino);
                    break;
                }
            }
        }
    };
    QStringList masterMemos;
    if (chkC->isChecked())
        masterMemos << QStringLiteral("Cmemo");
    if (chkJ->isChecked())
        masterMemos << QStringLiteral("Jmemo");
    if (chkF->isChecked())
        masterMemos << QStringLiteral("Fmemo");
    // One read transaction: the three tables are read as one state of the register.
    Transaction transaction(db);
    scan(QStringLiteral("MASTER"), masterMemos);
    if (chkV->isChecked())
        scan(QStringLiteral("VISIT"), {QStringLiteral("Content"), QStringLiteral("Result")});
    if (chkS->isChecked())
        scan(QStringLiteral("STUDY"), {QStringLiteral("Result")});
    transaction.commit();
    return found;
}

void TfrmMemo::bbtnFindClick()
{
    if (Trim(edtText->text()).isEmpty()) {
        ShowMessage(S("찾을 단어를 입력하세요."));
        edtText->setFocus();
        return;
    }
    const QString word = edtText->text();
    try {
        // Finding marks the members found: a write.
        frmDM->dbKelmo.runRetryingAfterLock(this, [this, word] { markAndShow(word); }, Database::Access::Write);
    } catch (const std::exception &e) {
        showResult(false);
        ShowError(QString::fromUtf8(e.what()));
        return;
    }
    const int count = qrFind.recordCount();
    if (count > 0) {
        dgrdFind->setFocus();
    } else {
        ShowMessage(S("검색어에 맞는 메모 내용이 없습니다."));
        edtText->setFocus();
    }
}

void TfrmMemo::markAndShow(const QString &word)
{
    const QSet<QString> found = MembersWithWord(word);
    TfrmDM &dm = *frmDM;
    {
        // The old marks go and the new ones come in one commit.
        Transaction transaction(dm.dbKelmo);
        SetAllSel(dm.qrMaster, false);
        Statement mark(dm.dbKelmo, QStringLiteral("UPDATE MASTER SET Sel = 1 WHERE Ino = :ino"));
        for (const QString &ino : found) {
            mark.bindParameters({{QStringLiteral("ino"), ino}});
            mark.step();
            mark.reset();
        }
        transaction.commit();
    }
    tbVisit.close();
    tbStudy.close();
    qrFind.close();
    qrFind.open();
    tbVisit.open();
    tbStudy.open();
    const int count = qrFind.recordCount();
    pnlTotal->setText(QStringLiteral(" ") + QString::number(count) + S(" 명이 검색되었습니다."));
    showResult(count > 0);
}

void TfrmMemo::showResult(bool found)
{
    for (QWidget *w : {static_cast<QWidget *>(bbtnSave), static_cast<QWidget *>(bbtnPrint),
                       static_cast<QWidget *>(dgrdFind), static_cast<QWidget *>(pcMemo)})
        w->setEnabled(found);
}

void TfrmMemo::dgrdFindDblClick()
{
    resulthandoff::Dial(dgrdFind, qrFind);
}

void TfrmMemo::bbtnPrintClick()
{
    resulthandoff::Print(dgrdFind, qrFind);
}

void TfrmMemo::bbtnSaveClick()
{
    resulthandoff::Save(qrFind);
}

void TfrmMemo::FormClose()
{
    if (dgrdFind->isEnabled())
        resulthandoff::OfferGoTo(qrFind);
}
