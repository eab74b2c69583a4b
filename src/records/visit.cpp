#include "records/visit.h"

#include "core/dm.h"
#include "core/global.h"
#include "core/myunit.h"
#include "platform/dialogs.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

TfrmVisit::TfrmVisit(QWidget *parent)
    : TfrmSubRecord(frmDM->tbVisit, frmDM->dsVisit, {"frmVisit", "pnlVisit", "dgrdVisit", "pnlVn"}, parent)
{
    pnlVisit = pnlInput;
    dgrdVisit = dgrdRows;
    pnlVn = lblCount;
    DataSource &ds = frmDM->dsVisit;
    required = {QStringLiteral("Vday"), QStringLiteral("Vtime"), QStringLiteral("Leader")};

    dedtVdate = edit("dedtVdate", "Vday", ds);
    dedtVtime = edit("dedtVtime", "Vtime", ds);
    dedtPlace = edit("dedtPlace", "Place", ds);
    dedtLeader = edit("dedtLeader", "Leader", ds);
    dedtFellow = edit("dedtFellow", "Fellow", ds);
    dedtFellow->setReadOnly(true);
    udnFellow = new QSpinBox(pnlVisit);
    udnFellow->setObjectName(QStringLiteral("udnFellow"));
    udnFellow->setRange(0, 999);
    udnFellow->setValue(1);
    mskFellow = udnFellow->findChild<QLineEdit *>();
    mskFellow->setObjectName(QStringLiteral("mskFellow"));
    mskFellow->setReadOnly(true); // counted with the arrows only
    dmemVc = memo("dmemVc", "Content", ds);
    dmemVr = memo("dmemVr", "Result", ds);
    pnlVisit->setFocusProxy(dedtVdate);
    dates = {{dedtVdate, QStringLiteral("심방일자")}};

    auto *fellow = new QHBoxLayout;
    fellow->addWidget(dedtFellow);
    fellow->addWidget(udnFellow);
    fellow->addWidget(label(QStringLiteral("명")));
    fellow->addStretch();
    dedtFellow->setFixedWidth(udnFellow->sizeHint().width());
    inputs->addWidget(label(QStringLiteral("심방일자"), true), 0, 0);
    inputs->addWidget(dedtVdate, 0, 1);
    inputs->addWidget(label(QStringLiteral("심방시간"), true), 0, 2);
    inputs->addWidget(dedtVtime, 0, 3);
    inputs->addWidget(label(QStringLiteral("장    소")), 0, 4);
    inputs->addWidget(dedtPlace, 0, 5);
    inputs->addWidget(label(QStringLiteral("인도자"), true), 1, 0);
    inputs->addWidget(dedtLeader, 1, 1);
    inputs->addWidget(label(QStringLiteral("외")), 1, 2);
    inputs->addLayout(fellow, 1, 3);
    auto *memos = new QHBoxLayout;
    for (auto [memo, title] : {std::pair{dmemVc, " 내용"}, std::pair{dmemVr, " 결과"}}) {
        auto *box = new QGroupBox(QString::fromUtf8(title), pnlVisit);
        (new QVBoxLayout(box))->addWidget(memo);
        memo->setMaximumHeight(90);
        memos->addWidget(box);
    }
    inputs->addLayout(memos, 2, 0, 1, 6);
    inputs->setColumnStretch(5, 1);

    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    dgrdVisit->setColumns({{QStringLiteral("Vday"), QString(), left, digitsWidth(10)}, {QStringLiteral("Vtime")},
                           {QStringLiteral("Leader")}, {QStringLiteral("Fellow"), QString(), left},
                           {QStringLiteral("Place")}});
    resize(640, 560);
    FormCreate();
}

QString TfrmVisit::CountText(int count) const
{
    return QStringLiteral(" 심방 ") + QString::number(count) + QStringLiteral(" 회");
}

QString TfrmVisit::RequiredMessage() const
{
    return QStringLiteral("심방일자, 시간, 인도자는 반드시 입력해야 합니다.");
}

void TfrmVisit::RowOpened(bool inserting)
{
    // The spin control starts from the visit's own count, so saving never overwrites it unseen.
    if (!inserting) {
        udnFellow->setValue(m_table.fieldByName(QStringLiteral("Fellow")).asInteger());
        return;
    }
    udnFellow->setValue(1);
    m_table.fieldByName(QStringLiteral("Vday")).setAsString(NowAsText(QStringLiteral("yyyymmdd")));
    m_table.fieldByName(QStringLiteral("Vtime")).setAsString(NowAsText(QStringLiteral("hhnn")));
    SetText(m_table.fieldByName(QStringLiteral("Leader")), UserName);
}

bool TfrmVisit::ValuesValid()
{
    if (!TfrmSubRecord::ValuesValid())
        return false;
    // Four digits of an hour and a minute that exist: "930" would show as "93:0" and sort apart.
    const QString time = m_table.fieldByName(QStringLiteral("Vtime")).asString();
    if (time.size() == 4 && IsAllDigits(time) && time.left(2).toInt() <= 23 && time.mid(2).toInt() <= 59)
        return true;
    ShowMessage(QStringLiteral("[심방시간] 시간 형식이 잘못되었습니다."));
    dedtVtime->setFocus();
    return false;
}

void TfrmVisit::BeforePost()
{
    m_table.fieldByName(QStringLiteral("Fellow")).setAsInteger(udnFellow->value());
}

void TfrmVisit::ModeChanged(bool editing)
{
    udnFellow->setVisible(editing);
    dedtFellow->setVisible(!editing);
}
