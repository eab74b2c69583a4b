#pragma once
// The login at start-up: no way past it but the stored user name and password, or the exit button.
#include "platform/form.h"

class QLineEdit;
class QPushButton;

extern bool LoginAccepted;

class TfrmLogin : public TForm {
    Q_OBJECT
public:
    explicit TfrmLogin(QWidget *parent = nullptr);
    // True when the user chose to end the program.
    bool exitChosen() const { return m_exit; }

    QLineEdit *edtUser;
    QLineEdit *edtPswd;
    QPushButton *btnOk;
    QPushButton *btnExit;

    void btnOkClick();
    void btnExitClick();

protected:
    bool FormCloseQuery() override;

private:
    bool m_exit = false;
};
