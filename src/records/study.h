#pragma once
// The history editor: the dated history entries of the current member (education, church
// courses), titled from the history-kind list. The member row itself is not touched.
#include "records/subrecord.h"

class TfrmStudy : public TfrmSubRecord {
    Q_OBJECT
public:
    explicit TfrmStudy(QWidget *parent = nullptr);

    QWidget *pnlStudy;
    DBGrid *dgrdStudy;
    QLabel *pnlSn;
    DBEdit *dedtEday;
    DBEdit *dedtEday2;
    DBComboBox *dlcbxEduc;
    DBEdit *dedtEbigo;
    DBMemo *dmemSr;

protected:
    QString CountText(int count) const override;
    QString RequiredMessage() const override;
    void RowOpened(bool inserting) override;
};
