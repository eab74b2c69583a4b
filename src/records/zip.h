#pragma once
// The postal-code table editor: browse, find by the start of the address, add, change and
// delete rows of the table the address picker searches. Postal codes are kept as "999-999".
#include "records/subrecord.h"

class QLineEdit;

class TfrmZip : public TfrmSubRecord {
    Q_OBJECT
public:
    explicit TfrmZip(QWidget *parent = nullptr);

    QWidget *pnlZip;
    DBGrid *dgrdZip;
    QFrame *pnlZn;
    DBEdit *dedtZip;
    DBEdit *dedtDo;
    DBEdit *dedtGun;
    DBEdit *dedtAddr;
    QLineEdit *edtAddr;
    QPushButton *btnGo;

    void edtAddrChange(const QString &text);
    void btnGoClick();

protected:
    QString CountText(int count) const override;
    QString RequiredMessage() const override;
    bool RequiredFilled() const override;
    void BeforePost() override;
    void ModeChanged(bool editing) override;
};
