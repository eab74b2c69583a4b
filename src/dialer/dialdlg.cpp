#include "dialer/dialdlg.h"

#include "core/global.h"
#include "dialer/comm.h"
#include "platform/cp949.h"
#include "platform/dialogs.h"
#include "platform/inifile.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
const QString Section = QStringLiteral("Modem");
const QString Key = QStringLiteral("Com");
const QString NoPort = QStringLiteral("3");
} // namespace

QString ModemPort()
{
    return IniFile ? IniFile->ReadString(Section, Key, NoPort) : NoPort;
}

void StoreModemPort(const QString &port)
{
    if (IniFile)
        IniFile->WriteString(Section, Key, port);
}

bool WriteDialCommand(TComm &comm, const QString &number)
{
    // A line break in a stored number would end the command early and send the rest as a second
    // one ("02-123\rATZ"): control characters never reach the modem. ";" and "," are dial
    // modifiers and stay.
    QString dialled = number;
    dialled.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
    if (cp949::byteLength(dialled) > MaxDialNumberBytes)
        return false;
    const QByteArray command = cp949::encode(QStringLiteral("ATDT ") + dialled + QStringLiteral("\r\n"));
    std::uint16_t written = 0;
    comm.Write(command.constData(), std::uint16_t(command.size()), written);
    return true;
}

TfrmDialDlg::TfrmDialDlg(QWidget *parent) : TForm(parent)
{
    setObjectName(QStringLiteral("frmDialDlg"));
    setWindowTitle(QStringLiteral("전화 걸기 [전화1]"));
    setFixedSize(300, 100);

    auto *label = new QLabel(QStringLiteral("전화번호"), this);
    stxtNo = Panel(QString(), this, true);
    stxtNo->setObjectName(QStringLiteral("stxtNo"));
    stxtNo->setAlignment(Qt::AlignCenter);
    stxtNo->setFixedHeight(26);
    stxtNo->setTextInteractionFlags(Qt::TextSelectableByMouse);
    btnClose = new QPushButton(QStringLiteral("닫기(&C)"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    tmrTimer = new QTimer(this);
    tmrTimer->setObjectName(QStringLiteral("tmrTimer"));
    tmrTimer->setInterval(60000);
    comComm = new TComm(this);
    comComm->setObjectName(QStringLiteral("comComm"));

    auto *row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(stxtNo, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(btnClose, 0, Qt::AlignHCenter);

    connect(btnClose, &QPushButton::clicked, this, [this] { close(); });
    connect(tmrTimer, &QTimer::timeout, this, [this] { Guarded([this] { tmrTimerTimer(); }); });

    comComm->SetPort(ModemPort());
    if (comComm->Open()) {
        stxtNo->setText(DialNumber);
        WriteDialCommand(*comComm, DialNumber);
    } else {
        ShowMessage(QStringLiteral("모뎀 포트를 열 수 없습니다.\r\n닫기 버튼을 눌러 주세요."));
    }
    tmrTimer->start();
}

void TfrmDialDlg::tmrTimerTimer()
{
    // Stopped first: a message left open must not let a second minute pass into another hang-up.
    tmrTimer->stop();
    ShowMessage(QStringLiteral("1분이 지났습니다.\r\n자동으로 전화를 끊습니다."));
    close();
}

void TfrmDialDlg::FormClose()
{
    tmrTimer->stop();
    comComm->Close();
}
