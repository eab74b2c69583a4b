#include "dialer/dial.h"

#include "core/dm.h"
#include "core/global.h"
#include "dialer/comm.h"
#include "dialer/dialdlg.h"
#include "platform/cp949.h"
#include "platform/dialogs.h"
#include "platform/serialdevice.h"
#include "platform/sysutils.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

void DialWithDialog(const QString &number, const QString &caption)
{
    DialNumber = number;
    TfrmDialDlg dialog; // dials as it is created
    dialog.setWindowTitle(caption);
    dialog.centreOn(nullptr);
    dialog.ShowModal();
}

namespace {
const QString AskForNumber = QStringLiteral("전화번호를 입력하세요.");
} // namespace

TfrmDial::TfrmDial(QWidget *parent) : TForm(parent)
{
    setObjectName(QStringLiteral("frmDial"));
    setWindowTitle(QStringLiteral("전화걸기"));
    setFixedSize(400, 150);

    cbxNo = new QComboBox(this);
    cbxNo->setObjectName(QStringLiteral("cbxNo"));
    cbxNo->setEditable(true);
    cbxNo->setInsertPolicy(QComboBox::NoInsert);
    cbxNo->setToolTip(QStringLiteral("전화번호 선택"));
    cbxNo->setInputMethodHints(Qt::ImhPreferLatin);
    // An inline completion takes the first Enter for itself; the number shown dials at once.
    cbxNo->setCompleter(nullptr);
    bbtnDial = new QPushButton(QStringLiteral("걸기(&D)"), this);
    bbtnDial->setObjectName(QStringLiteral("bbtnDial"));
    cbxPort = new QComboBox(this);
    cbxPort->setObjectName(QStringLiteral("cbxPort"));
    cbxPort->setToolTip(QStringLiteral("모뎀 포트 선택"));
    cbxPort->setMaxVisibleItems(5);
    bbtnStop = new QPushButton(QStringLiteral("끊기(&S)"), this);
    bbtnStop->setObjectName(QStringLiteral("bbtnStop"));
    bbtnStop->setEnabled(false);
    pnlState = Panel(AskForNumber, this, true);
    pnlState->setObjectName(QStringLiteral("pnlState"));
    bbtnClose = new QPushButton(QStringLiteral("닫기(&C)"), this);
    bbtnClose->setObjectName(QStringLiteral("bbtnClose"));
    tmrTimer = new QTimer(this);
    tmrTimer->setObjectName(QStringLiteral("tmrTimer"));
    tmrTimer->setInterval(60000);
    comComm = new TComm(this);
    comComm->setObjectName(QStringLiteral("comComm"));

    auto *grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("전화번호"), this), 0, 0);
    grid->addWidget(cbxNo, 0, 1);
    grid->addWidget(bbtnDial, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("모뎀포트"), this), 1, 0);
    grid->addWidget(cbxPort, 1, 1);
    grid->addWidget(bbtnStop, 1, 2);
    grid->addWidget(pnlState, 2, 0, 1, 2);
    grid->addWidget(bbtnClose, 2, 2);
    grid->setColumnStretch(1, 1);
    setDefaultButton(bbtnDial);

    connect(bbtnDial, &QPushButton::clicked, this, [this] { Guarded([this] { bbtnDialClick(); }); });
    connect(bbtnStop, &QPushButton::clicked, this, [this] { Guarded([this] { bbtnStopClick(); }); });
    connect(bbtnClose, &QPushButton::clicked, this, [this] { close(); });
    connect(tmrTimer, &QTimer::timeout, this, [this] { Guarded([this] { tmrTimerTimer(); }); });

    const QString port = ModemPort();
    ListSerialPorts();
    cbxPort->setCurrentIndex(cbxPort->findText(port, Qt::MatchFixedString | Qt::MatchCaseSensitive));
    comComm->SetPort(port);
    // Connected after the first choice so that the stored name, listed or not, is the port.
    connect(cbxPort, &QComboBox::activated, this, [this] { Guarded([this] { cbxPortChange(); }); });

    if (frmDM && frmDM->tbMaster.active() && !frmDM->tbMaster.isEmpty()) {
        for (const char *field : {"Tel1", "Tel2", "Hp", "Jtel", "Jfax"}) {
            const QString number = frmDM->tbMaster.fieldByName(QString::fromLatin1(field)).asString();
            if (!number.isEmpty())
                cbxNo->addItem(number);
        }
    }
    cbxNo->setCurrentIndex(cbxNo->count() > 0 ? 0 : -1);
    cbxNo->setFocus();
}

void TfrmDial::ListSerialPorts()
{
    cbxPort->addItems(serial::ListSerialPorts());
}

void TfrmDial::cbxPortChange()
{
    comComm->SetPort(cbxPort->currentText());
}

void TfrmDial::bbtnDialClick()
{
    const QString number = cbxNo->currentText();
    if (Trim(number).isEmpty()) {
        pnlState->setText(AskForNumber);
        cbxNo->setFocus();
        return;
    }
    // The modem command is built in a 1024-byte buffer: a longer number would overrun it.
    if (cp949::byteLength(number) > MaxDialNumberBytes) {
        pnlState->setText(QStringLiteral("전화번호가 너무 깁니다."));
        cbxNo->setFocus();
        return;
    }
    if (!comComm->Open()) {
        ShowMessage(QStringLiteral("모뎀 포트를 열 수 없습니다.\r\n올바른 모뎀 포트를 설정해 주세요."));
        bbtnDial->setEnabled(true);
        bbtnStop->setEnabled(false);
        cbxPort->setEnabled(true);
        cbxPort->setFocus();
        return;
    }
    pnlState->setText(QStringLiteral("모뎀 포트가 성공적으로 열렸습니다."));
    bbtnDial->setEnabled(false);
    bbtnStop->setEnabled(true);
    bbtnStop->setFocus();
    cbxPort->setEnabled(false);
    pnlState->setText(QStringLiteral("전화를 걸고 있습니다. 수화기를 들어 주세요."));
    tmrTimer->start();
    WriteDialCommand(*comComm, number);
}

void TfrmDial::bbtnStopClick()
{
    pnlState->setText(QStringLiteral("전화를 끊고 있습니다."));
    comComm->Close();
    bbtnDial->setEnabled(true);
    bbtnStop->setEnabled(false);
    cbxPort->setEnabled(true);
    // Stopped before the message: one left open past the minute must not hang up a second time.
    tmrTimer->stop();
    ShowMessage(QStringLiteral("전화를 끊었습니다."));
    pnlState->setText(AskForNumber);
    cbxNo->addItem(cbxNo->currentText());
    cbxNo->setFocus();
}

void TfrmDial::tmrTimerTimer()
{
    // Stopped first: a message left open must not let a second minute pass into another hang-up.
    tmrTimer->stop();
    ShowMessage(QStringLiteral("1분이 지났습니다.\r\n자동으로 전화를 끊습니다."));
    bbtnStopClick();
}

void TfrmDial::FormClose()
{
    tmrTimer->stop();
    comComm->Close();
    Guarded([this] { StoreModemPort(cbxPort->currentText()); });
}
