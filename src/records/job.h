#pragma once
// The workplace window: the current member's workplace fields and memo, with the address
// picker for the workplace address. Its opener puts the member row into edit state; OK stores
// it, every other way out discards the changes.
#include "platform/dbcontrols.h"
#include "platform/form.h"

class QPushButton;

class TfrmJob : public TForm {
    Q_OBJECT
public:
    explicit TfrmJob(QWidget *parent = nullptr);

    DBEdit *dedtJob;
    DBComboBox *dcbxJkind;
    DBEdit *dedtJpart;
    DBEdit *dedtJduty;
    DBEdit *dedtJtel;
    DBEdit *dedtJfax;
    DBEdit *dedtJaddr1;
    DBEdit *dedtJaddr2;
    DBEdit *dedtJzip;
    DBMemo *dmemJmemo;
    QPushButton *btnZip;
    QPushButton *bbtnOk;
    QPushButton *bbtnCancel;

    void FormActivate();
    void btnZipClick();
    void bbtnOkClick();

protected:
    void FormClose() override;
    bool event(QEvent *e) override;
    void showEvent(QShowEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_picking = false;
};
