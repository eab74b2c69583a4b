#pragma once
// The pastoral-visit editor: the visits of the current member. The member row itself is not
// touched.
#include "records/subrecord.h"

class QLineEdit;
class QSpinBox;

class TfrmVisit : public TfrmSubRecord {
    Q_OBJECT
public:
    explicit TfrmVisit(QWidget *parent = nullptr);

    QWidget *pnlVisit;
    DBGrid *dgrdVisit;
    QLabel *pnlVn;
    DBEdit *dedtVdate;
    DBEdit *dedtVtime;
    DBEdit *dedtPlace;
    DBEdit *dedtLeader;
    // The companions: read-only while browsing; while editing a spin control (0 to 999) whose
    // read-only text is mskFellow, stored into Fellow when the row is saved.
    DBEdit *dedtFellow;
    QSpinBox *udnFellow;
    QLineEdit *mskFellow;
    DBMemo *dmemVc;
    DBMemo *dmemVr;

protected:
    QString CountText(int count) const override;
    QString RequiredMessage() const override;
    void RowOpened(bool inserting) override;
    bool ValuesValid() override;
    void BeforePost() override;
    void ModeChanged(bool editing) override;
};
