#pragma once
// The family editor: the family rows of the current member and that member's family memo.
// Its opener usually puts the member row into edit state, so the memo can be typed at once;
// closing asks whether to store the member row.
#include "records/subrecord.h"

class QCheckBox;

class TfrmFamily : public TfrmSubRecord {
    Q_OBJECT
public:
    explicit TfrmFamily(QWidget *parent = nullptr);

    QWidget *pnlFamily;
    DBGrid *dgrdFamily;
    QLabel *pnlFn;
    DBComboBox *dlcbxFrel;
    DBEdit *dedtName;
    DBEdit *dedtBday;
    DBComboBox *dcbxL;
    DBCheckBox *dchkR;
    DBCheckBox *dchkF;
    DBComboBox *dcbxLearn;
    DBEdit *dedtJob;
    DBComboBox *dcbxJkind;
    DBComboBox *dcbxGrade;
    DBEdit *dedtFbigo;
    DBMemo *dmemFmemo;

    // One above the member's highest row number; 1 for the first row.
    static int NextSeq();
    void FormActivate();

protected:
    QString CountText(int count) const override;
    QString RequiredMessage() const override;
    bool RequiredFilled() const override;
    void RowOpened(bool inserting) override;
    void BeforePost() override;
    void ModeChanged(bool editing) override;
    bool FormCloseQuery() override;
    bool event(QEvent *e) override;
    void showEvent(QShowEvent *e) override;
};
