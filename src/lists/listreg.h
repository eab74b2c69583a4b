#pragma once
// Members by the year of their registration: a typed year range, or one year counted back from
// this one by the tabs.
#include "lists/listwindow.h"

class MaskEdit;

class TfrmLReg : public TListWindow {
    Q_OBJECT
public:
    explicit TfrmLReg(QWidget *parent = nullptr);

    MaskEdit *mskYear1, *mskYear2;
    QPushButton *bbtnRet;

    void tcListChange() override;
    void EnableYearEdits(bool enabled);

protected:
    void BuildQuery() override;
    bool CheckInput() override;
    void showEvent(QShowEvent *event) override;
};
