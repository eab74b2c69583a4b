#include "records/study.h"

#include "core/dm.h"
#include "core/myunit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

TfrmStudy::TfrmStudy(QWidget *parent)
    : TfrmSubRecord(frmDM->tbStudy, frmDM->dsStudy, {"frmStudy", "pnlStudy", "dgrdStudy", "pnlSn"}, parent)
{
    pnlStudy = pnlInput;
    dgrdStudy = dgrdRows;
    pnlSn = lblCount;
    DataSource &ds = frmDM->dsStudy;
    required = {QStringLiteral("Eday"), QStringLiteral("Ename")};

    dedtEday = edit("dedtEday", "Eday", ds);
    dedtEday2 = edit("dedtEday2", "Eday2", ds);
    dlcbxEduc = combo("dlcbxEduc", "Ename", ds);
    FillLookupItems(dlcbxEduc, *frmDM->dsEduc.dataset());
    dedtEbigo = edit("dedtEbigo", "Ebigo", ds);
    dmemSr = memo("dmemSr", "Result", ds);
    pnlStudy->setFocusProxy(dedtEday);
    dates = {{dedtEday, QStringLiteral("이력일자")}, {dedtEday2, QStringLiteral("이력일자")}};

    inputs->addWidget(label(QStringLiteral("이력일자"), true), 0, 0);
    inputs->addWidget(dedtEday, 0, 1);
    inputs->addWidget(label(QStringLiteral("-")), 0, 2);
    inputs->addWidget(dedtEday2, 0, 3);
    inputs->addWidget(label(QStringLiteral("이력제목"), true), 0, 4);
    inputs->addWidget(dlcbxEduc, 0, 5);
    inputs->addWidget(label(QStringLiteral("비    고")), 1, 0);
    inputs->addWidget(dedtEbigo, 1, 1, 1, 5);
    auto *memoBox = new QGroupBox(QStringLiteral(" 이력 메모"), pnlStudy);
    (new QVBoxLayout(memoBox))->addWidget(dmemSr);
    dmemSr->setMaximumHeight(80);
    inputs->addWidget(memoBox, 2, 0, 1, 6);
    inputs->setColumnStretch(5, 1);

    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    dgrdStudy->setColumns({{QStringLiteral("Eday"), QStringLiteral("일자(부터)"), left, digitsWidth(10)},
                           {QStringLiteral("Eday2"), QStringLiteral("일자(까지)"), left, digitsWidth(10)},
                           {QStringLiteral("Ename"), QStringLiteral("이력 제목")},
                           {QStringLiteral("Ebigo")}});
    resize(640, 520);
    FormCreate();
}

QString TfrmStudy::CountText(int count) const
{
    return QStringLiteral(" 이력 ") + QString::number(count) + QStringLiteral(" 건");
}

QString TfrmStudy::RequiredMessage() const
{
    return QStringLiteral("이력일자, 내용은 반드시 입력해야 합니다.");
}

void TfrmStudy::RowOpened(bool inserting)
{
    if (!inserting)
        return;
    const QString today = NowAsText(QStringLiteral("yyyymmdd"));
    m_table.fieldByName(QStringLiteral("Eday")).setAsString(today);
    m_table.fieldByName(QStringLiteral("Eday2")).setAsString(today);
}
