#pragma once
// Dialling: the one entry point every window dials through, and the dialer window "전화걸기",
// where the user picks or types a number and the modem port, dials and hangs up.
#include "platform/form.h"

#include <QString>

class QComboBox;
class QLabel;
class QPushButton;
class QTimer;
class TComm;

// Writes the number to DialNumber and opens the dial dialog with this caption, modally; the
// dialog dials as it is created.
void DialWithDialog(const QString &number, const QString &caption);

class TfrmDial : public TForm {
    Q_OBJECT
public:
    explicit TfrmDial(QWidget *parent = nullptr);

    QComboBox *cbxNo;
    QPushButton *bbtnDial;
    QComboBox *cbxPort;
    QPushButton *bbtnStop;
    QLabel *pnlState;
    QPushButton *bbtnClose;
    QTimer *tmrTimer;
    TComm *comComm;

    void bbtnDialClick();
    void bbtnStopClick();
    void tmrTimerTimer();
    void cbxPortChange();
    void ListSerialPorts();

protected:
    void FormClose() override;
};
