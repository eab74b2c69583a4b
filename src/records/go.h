#pragma once
// The go-to window: moves the member table to a member by name or first telephone number.
// Not modal; created hidden at start-up and kept for the run.
#include "platform/form.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TfrmGo : public TForm {
    Q_OBJECT
public:
    explicit TfrmGo(QWidget *parent = nullptr);

    QRadioButton *rdgConName;
    QRadioButton *rdgConTel;
    QLineEdit *edtGo;
    QCheckBox *chkP;
    QPushButton *bbtnGo;
    QPushButton *bbtnClose;

    int condition() const; // 0 name, 1 telephone
    void rdgConClick();
    void bbtnGoClick();
    void bbtnCloseClick();

protected:
    void changeEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void applyIndex();
};

extern TfrmGo *frmGo;
