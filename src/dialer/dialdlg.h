#pragma once
// The dial dialog: dials the number left in DialNumber as soon as it is created and hangs up
// when it closes, by the user or a minute later.
#include "platform/form.h"

class QLabel;
class QPushButton;
class QTimer;
class TComm;

// The longest number the modem command has room for ("ATDT " + number + CR LF + terminator in
// 1024 bytes), counted in code-page-949 bytes.
constexpr int MaxDialNumberBytes = 1016;

// The modem port of both dialers, INI Modem Com: "3", which names no device, until the dialer
// window has stored one.
QString ModemPort();
void StoreModemPort(const QString &port);

// Sends "ATDT " + number + CR LF on an open port, the number without its control characters;
// false (nothing sent) when the number is too long.
bool WriteDialCommand(TComm &comm, const QString &number);

class TfrmDialDlg : public TForm {
    Q_OBJECT
public:
    explicit TfrmDialDlg(QWidget *parent = nullptr);

    QLabel *stxtNo;
    QPushButton *btnClose;
    QTimer *tmrTimer;
    TComm *comComm;

    void tmrTimerTimer();

protected:
    void FormClose() override;
};
