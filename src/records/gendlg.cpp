#include "records/gendlg.h"

#include "core/dm.h"
#include "core/global.h"
#include "platform/dbcontrols.h"
#include "platform/dialogs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

TfrmGenDlg::TfrmGenDlg(QWidget *parent) : TForm(parent), qrList(&frmDM->dbKelmo)
{
    setObjectName(QStringLiteral("frmGenDlg"));
    setWindowTitle(QStringLiteral("세대주 선택"));
    qrList.setSql(QStringLiteral("SELECT Ino, Name, Tel1,  Addr1, Addr2, Zip, Zone, Area\n"
                                 "FROM \"master.DB\" Master\n"
                                 "WHERE (G = true)\n"
                                 "ORDER BY Name\n"));

    dgrdList = new DBGrid(this);
    dgrdList->setObjectName(QStringLiteral("dgrdList"));
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    dgrdList->setColumns({{QStringLiteral("Name"), QStringLiteral("성명"), left, 80},
                          {QStringLiteral("Tel1"), QStringLiteral("전화1"), left, 105},
                          {QStringLiteral("Addr1"), QStringLiteral("주소1"), left, 180},
                          {QStringLiteral("Zip"), QStringLiteral("우편번호"), Qt::AlignCenter, 70},
                          {QStringLiteral("Zone"), QStringLiteral("교구"), left, 70},
                          {QStringLiteral("Area"), AreaWord(), left, 70}});
    dgrdList->setDataSource(&m_dsList);
    auto *hint = new QLabel(QStringLiteral("더블클릭하면 선택됩니다."), this);
    bbtnOK = new QPushButton(QStringLiteral("선택(&O)"), this);
    bbtnOK->setObjectName(QStringLiteral("bbtnOK"));
    bbtnCancel = new QPushButton(QStringLiteral("취소(&C)"), this);
    bbtnCancel->setObjectName(QStringLiteral("bbtnCancel"));
    auto *help = new QPushButton(QStringLiteral("도움말(&H)"), this);
    help->setEnabled(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(hint);
    buttons->addStretch();
    buttons->addWidget(bbtnOK);
    buttons->addWidget(bbtnCancel);
    buttons->addWidget(help);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(dgrdList, 1);
    layout->addLayout(buttons);
    setFixedSize(620, 360);

    setCancelButton(bbtnCancel);
    connect(bbtnOK, &QPushButton::clicked, this, GuardedSlot(this, &TfrmGenDlg::bbtnOKClick));
    connect(dgrdList, &DBGrid::doubleClicked, this, [this] {
        if (bbtnOK->isEnabled())
            Guarded([this] { bbtnOKClick(); });
    });
    connect(bbtnCancel, &QPushButton::clicked, this, [this] { setModalResult(mrCancel); });
    OpenList(); // FormCreate
}

void TfrmGenDlg::OpenList()
{
    try {
        qrList.database()->runRetryingAfterLock(this, [this] {
            qrList.close();
            qrList.open();
            EnableSelection(qrList.recordCount() >= 1);
        });
    } catch (const DbError &e) {
        ShowError(e.message());
        EnableSelection(false);
    }
}

void TfrmGenDlg::EnableSelection(bool on)
{
    bbtnOK->setEnabled(on);
    dgrdList->setEnabled(on);
}

void TfrmGenDlg::bbtnOKClick()
{
    if (!qrList.active() || qrList.isEmpty())
        return;
    const auto take = [this](const char *field, QString &into) {
        const QString v = qrList.fieldByName(QString::fromLatin1(field)).asString();
        if (!v.isEmpty())
            into = v;
    };
    take("Ino", HeadIno);
    take("Name", HeadName);
    take("Tel1", HeadTel1);
    take("Addr1", HeadAddr1);
    take("Addr2", HeadAddr2);
    take("Zip", HeadZip);
    take("Zone", HeadZone);
    take("Area", HeadArea);
    setModalResult(mrOk);
}
