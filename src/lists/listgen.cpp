#include "lists/listgen.h"

#include "core/dm.h"
#include "platform/dialogs.h"

#include <QHeaderView>
#include <QLabel>
#include <QTabBar>
#include <QVBoxLayout>

namespace {
QString S(const char *text) { return QString::fromUtf8(text); }

FieldDef familyField(const char *name, const char *title, bool visible = true)
{
    FieldDef f;
    f.name = QString::fromLatin1(name);
    f.label = S(title);
    f.visible = visible;
    if (f.name == QLatin1String("Bday"))
        f.mask = QStringLiteral("9999.99.99;0;_");
    return f;
}
} // namespace

TfrmLGen::TfrmLGen(QWidget *parent)
    : TListWindow("frmLGen", S("세대주 명단"), std::nullopt, parent), qrFList(&frmDM->dbKelmo)
{
    setSqlLines({S("SELECT Master.\"Ino\", Name, X, Bday, L, Tel1, Tel2, Hp, (Addr1 || ' ' || Addr2) Addr, Zip, Reg, "
                   "Zone, Area, Duty1, Duty2, Bigo, Part, Resp"),
                 ListFromLine(), QStringLiteral("WHERE (G = true)"), QStringLiteral("ORDER BY Name")});
    setColumns(QString::fromLatin1("Name X Bday L Tel1 Tel2 Hp Addr Zip Reg Zone Area Duty1 Duty2 Bigo Part Resp")
                   .split(QLatin1Char(' ')),
               11);
    {
        const QSignalBlocker quiet(tcList);
        tcList->addTab(S("세대주"));
    }

    qrFList.setSql(S("SELECT Family.\"Ino\", Seq, Rel, Name, Bday, L, Learn, Job, Jkind, Rlgn, R, Grade, Fbigo \n"
                     "FROM \"family.DB\" Family \nWHERE  Family.\"Ino\" = :Ino \n  \n"));
    qrFList.setFieldDefs({familyField("Ino", "", false), familyField("Seq", "", false), familyField("Rel", "관계"),
                          familyField("Name", "성명"), familyField("Bday", "생년월일"), familyField("L", "력"),
                          familyField("Learn", "학력"), familyField("Job", "근무처"), familyField("Jkind", "직종"),
                          familyField("Rlgn", "종교"), familyField("R", "등록"), familyField("Grade", "신급", false),
                          familyField("Fbigo", "비고")});

    // The list takes the upper part of the window, the family of the chosen head the rest.
    pnlFn = Panel(S(" 가족 0 명 "), this);
    pnlFn->setObjectName(QStringLiteral("pnlFn"));
    pnlFn->setFixedHeight(32);
    pnlFn->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    dgrdFamily = new DBGrid(this);
    dgrdFamily->setObjectName(QStringLiteral("dgrdFamily"));
    dgrdFamily->setDataSource(&dsFList);
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    dgrdFamily->setColumns({{QStringLiteral("Rel"), {}, left, 59}, {QStringLiteral("Name"), {}, left, 94},
                            {QStringLiteral("Bday"), {}, left, 93}, {QStringLiteral("L"), S("력"), left, 25},
                            {QStringLiteral("Learn"), {}, left, 107}, {QStringLiteral("R"), {}, Qt::AlignCenter, 36},
                            {QStringLiteral("Job"), {}, left, 185}, {QStringLiteral("Jkind"), {}, left, 72},
                            {QStringLiteral("Fbigo"), {}, left, 172}});
    QPalette teal = dgrdFamily->horizontalHeader()->palette();
    teal.setColor(QPalette::ButtonText, QColor(0, 128, 128));
    teal.setColor(QPalette::WindowText, QColor(0, 128, 128));
    dgrdFamily->horizontalHeader()->setPalette(teal);
    dgrdFamily->setCellPainter(CheckCellPainter(dgrdFamily));
    bodyLayout()->setStretchFactor(dgrdList, 0);
    dgrdList->setFixedHeight(244 - tcList->sizeHint().height() - stbrList->sizeHint().height());
    bodyLayout()->addWidget(pnlFn);
    bodyLayout()->addWidget(dgrdFamily, 1);

    const auto follow = [this] {
        if (qrList.controlsDisabled())
            m_familyStale = true; // a walk over the heads: catch up once it is over
        else
            Guarded([this] { openFamily(); });
    };
    connect(&qrList, &Dataset::linkedRowChanged, this, follow);
    connect(&qrList, &Dataset::dataSetChanged, this, [this] {
        if (m_familyStale && !qrList.controlsDisabled())
            Guarded([this] { openFamily(); });
    });
    RefreshList();
}

void TfrmLGen::BuildQuery() {}

void TfrmLGen::openFamily()
{
    m_familyStale = false;
    qrFList.database()->runRetryingAfterLock(&qrFList, [this] {
        // Without heads the family grid keeps what it showed.
        if (!qrList.active() || qrList.isEmpty())
            return;
        qrFList.close();
        qrFList.setParam(QStringLiteral("Ino"), qrList.fieldByName(QStringLiteral("Ino")).asString());
        qrFList.open();
        // Set with the rows, not as cells are drawn: a head without family draws no cell.
        pnlFn->setText(S(" 가족 ") + QString::number(qrFList.recordCount()) + S(" 명"));
    });
}
