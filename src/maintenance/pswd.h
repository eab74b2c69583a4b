#pragma once
// Password change: replaces Password in memory only; the settings window stores it on OK.
#include "platform/form.h"

class QLineEdit;
class QPushButton;

class TfrmPswd : public TForm {
    Q_OBJECT
public:
    explicit TfrmPswd(QWidget *parent = nullptr);

    QLineEdit *edtCur;
    QLineEdit *edtChg;
    QLineEdit *edtCer;
    QPushButton *bbtnOk;
    QPushButton *bbtnCancel;

    void bbtnOkClick();
};
