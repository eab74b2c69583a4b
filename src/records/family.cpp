#include "records/family.h"

#include "core/dm.h"
#include "core/global.h"
#include "core/myunit.h"
#include "platform/dialogs.h"
#include "platform/sysutils.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

TfrmFamily::TfrmFamily(QWidget *parent)
    : TfrmSubRecord(frmDM->tbFamily, frmDM->dsFamily, {"frmFamily", "pnlFamily", "dgrdFamily", "pnlFn"}, parent)
{
    pnlFamily = pnlInput;
    dgrdFamily = dgrdRows;
    pnlFn = lblCount;
    DataSource &ds = frmDM->dsFamily;

    dlcbxFrel = combo("dlcbxFrel", "Rel", ds);
    FillLookupItems(dlcbxFrel, *frmDM->dsFrel.dataset());
    dedtName = edit("dedtName", "Name", ds);
    dedtBday = edit("dedtBday", "Bday", ds);
    dcbxL = combo("dcbxL", "L", ds, {QStringLiteral("음"), QStringLiteral("양")});
    dchkR = new DBCheckBox(pnlFamily);
    dchkR->setObjectName(QStringLiteral("dchkR"));
    dchkR->setText(QStringLiteral("등록"));
    dchkR->setDataSource(&ds);
    dchkR->setDataField(QStringLiteral("R"));
    dchkF = new DBCheckBox(pnlFamily);
    dchkF->setObjectName(QStringLiteral("dchkF"));
    dchkF->setText(QStringLiteral("가족 생일 검색"));
    dchkF->setToolTip(QStringLiteral("가족 생일 검색을 하려면 체크하세요."));
    dchkF->setDataSource(&ds);
    dchkF->setDataField(QStringLiteral("F"));
    dcbxLearn = combo("dcbxLearn", "Learn", ds,
                      {QString(), QStringLiteral("대졸"), QStringLiteral("대재"), QStringLiteral("전문대졸"),
                       QStringLiteral("전문대재"), QStringLiteral("고졸"), QStringLiteral("고재"), QStringLiteral("중졸"),
                       QStringLiteral("중재"), QStringLiteral("초졸"), QStringLiteral("초재"),
                       QStringLiteral("대학원졸"), QStringLiteral("대학원재"), QStringLiteral("기타")});
    dedtJob = edit("dedtJob", "Job", ds);
    dcbxJkind = combo("dcbxJkind", "Jkind", ds);
    // Grade items by the baptism wording.
    dcbxGrade = combo("dcbxGrade", "Grade", ds, {QString(), QStringLiteral("학습"), BaptWord()});
    dedtFbigo = edit("dedtFbigo", "Fbigo", ds);
    pnlFamily->setFocusProxy(dlcbxFrel);
    dates = {{dedtBday, QStringLiteral("생년월일"), "L"}};

    inputs->addWidget(label(QStringLiteral("관    계"), true), 0, 0);
    inputs->addWidget(dlcbxFrel, 0, 1);
    inputs->addWidget(label(QStringLiteral("성    명"), true), 0, 2);
    inputs->addWidget(dedtName, 0, 3);
    inputs->addWidget(label(QStringLiteral("생년월일")), 0, 4);
    inputs->addWidget(dedtBday, 0, 5);
    inputs->addWidget(dcbxL, 0, 6);
    inputs->addWidget(label(QStringLiteral("학    력")), 1, 0);
    inputs->addWidget(dcbxLearn, 1, 1);
    inputs->addWidget(label(QStringLiteral("근 무 처")), 1, 2);
    inputs->addWidget(dedtJob, 1, 3);
    inputs->addWidget(label(QStringLiteral("직    종")), 1, 4);
    inputs->addWidget(dcbxJkind, 1, 5, 1, 2);
    inputs->addWidget(label(QStringLiteral("신  급")), 2, 0);
    inputs->addWidget(dcbxGrade, 2, 1);
    inputs->addWidget(label(QStringLiteral("비    고")), 2, 2);
    inputs->addWidget(dedtFbigo, 2, 3);
    inputs->addWidget(dchkR, 2, 4);
    inputs->addWidget(dchkF, 2, 5, 1, 2);
    inputs->setColumnStretch(3, 1);

    dgrdFamily->setColumns({{QStringLiteral("Rel")}, {QStringLiteral("Name")},
                            {QStringLiteral("Bday"), QString(), Qt::AlignLeft | Qt::AlignVCenter, digitsWidth(10)},
                            {QStringLiteral("L")}, {QStringLiteral("Learn")}, {QStringLiteral("R")},
                            {QStringLiteral("Job")}, {QStringLiteral("Jkind")}, {QStringLiteral("Grade")},
                            {QStringLiteral("Fbigo")}});
    dgrdFamily->setCellPainter(CheckCellPainter(dgrdFamily));

    dmemFmemo = new DBMemo(this);
    dmemFmemo->setObjectName(QStringLiteral("dmemFmemo"));
    dmemFmemo->setDataSource(&frmDM->dsMaster);
    dmemFmemo->setDataField(QStringLiteral("Fmemo"));
    auto *memoBox = new QGroupBox(QStringLiteral(" 가족 메모"), this);
    (new QVBoxLayout(memoBox))->addWidget(dmemFmemo);
    dmemFmemo->setMaximumHeight(90);
    body->addWidget(memoBox);

    resize(760, 560);
    FormCreate();
}

QString TfrmFamily::CountText(int count) const
{
    return QStringLiteral(" 가족 ") + QString::number(count) + QStringLiteral(" 명");
}

QString TfrmFamily::RequiredMessage() const
{
    return QStringLiteral("관계와 성명은 반드시 입력해야 합니다.");
}

bool TfrmFamily::RequiredFilled() const
{
    return !dlcbxFrel->currentText().isEmpty() &&
           !Trim(m_table.fieldByName(QStringLiteral("Name")).asString()).isEmpty();
}

int TfrmFamily::NextSeq()
{
    Query &q = frmDM->qrMy;
    SetSQL(q, QStringLiteral("SELECT MAX(SEQ) M FROM FAMILY WHERE INO = ") +
                  Quote(frmDM->tbMaster.fieldByName(QStringLiteral("Ino")).asString()));
    q.open();
    const int m = q.fieldByName(QStringLiteral("M")).asInteger(); // no rows: NULL, read as 0
    q.close();
    return m >= 1 ? m + 1 : 1;
}

void TfrmFamily::RowOpened(bool inserting)
{
    if (!inserting)
        return;
    m_table.fieldByName(QStringLiteral("Seq")).setAsInteger(NextSeq());
    m_table.fieldByName(QStringLiteral("L")).setAsString(QStringLiteral("음"));
    m_table.fieldByName(QStringLiteral("R")).setAsBoolean(true);
    m_table.fieldByName(QStringLiteral("F")).setAsBoolean(true);
}

void TfrmFamily::BeforePost()
{
    // Without a birthday the row cannot take part in the birthday lists, whatever the box says.
    if (Trim(m_table.fieldByName(QStringLiteral("Bday")).asString()).isEmpty())
        m_table.fieldByName(QStringLiteral("F")).setAsBoolean(false);
}

void TfrmFamily::ModeChanged(bool editing)
{
    dmemFmemo->setEnabled(!editing);
}

bool TfrmFamily::FormCloseQuery()
{
    Table &master = frmDM->tbMaster;
    if (master.state() != DatasetState::Edit)
        return true;
    if (MessageBox(QStringLiteral("가족 메모를 저장하시겠습니까?"), QStringLiteral("가족 메모 저장"), MsgButtons::YesNo,
                   MsgIcon::Question) != IDYES) {
        master.cancel();
        return true;
    }
    try {
        master.post();
    } catch (const DbError &e) {
        // The memo is not lost: the window stays open with it.
        ShowError(e.message());
        return false;
    }
    return true;
}

void TfrmFamily::FormActivate()
{
    FillItemsWithBlank(dcbxJkind, KindList, KindCount);
}

bool TfrmFamily::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate)
        FormActivate();
    return TfrmSubRecord::event(e);
}

void TfrmFamily::showEvent(QShowEvent *e)
{
    Guarded([this] { FormActivate(); });
    TfrmSubRecord::showEvent(e);
}
