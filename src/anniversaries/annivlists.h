#pragma once
// The birthday, wedding-anniversary and family birthday lists: the list window with month tabs,
// a year range and (birthday lists) this year's birthdays as a second mode.
#include "lists/listwindow.h"

class MaskEdit;
class QComboBox;
class QRadioButton;

class TAnniversaryList : public TListWindow {
    Q_OBJECT
public:
    QRadioButton *rbtnThis = nullptr, *rbtnTerm = nullptr; // none in the wedding list
    MaskEdit *mskYear1, *mskYear2;
    QPushButton *bbtnRet;

    void bbtnRetClick() { RefreshList(); }
    // The year edits are open only for the year range.
    void rbtnThisClick() { setYearEditsEnabled(termMode()); bbtnRetClick(); }
    void rbtnTermClick() { rbtnThisClick(); }

protected:
    TAnniversaryList(const char *objectName, const char *caption, bool withThisYearMode, QWidget *parent);
    bool termMode() const;
    // In the year-range mode both years must be filled in.
    bool CheckInput() override;
    // "%" on the first tab, else the tab's month "01".."12".
    QString tabMonth() const;
    // "전체" on the first tab, else the tab's text.
    QString tabTitle() const;
    QString CountText() override;

private:
    void setYearEditsEnabled(bool on);
};

class TfrmLBday : public TAnniversaryList {
    Q_OBJECT
public:
    explicit TfrmLBday(QWidget *parent = nullptr);
    QRadioButton *RadioButton1, *RadioButton2;
    QComboBox *cbxX;
    void bbtnPrintClick() override;

protected:
    void BuildQuery() override;
};

class TfrmLMday : public TAnniversaryList {
    Q_OBJECT
public:
    explicit TfrmLMday(QWidget *parent = nullptr);
    void bbtnPrintClick() override;

protected:
    void BuildQuery() override;
};

class TfrmFBday : public TAnniversaryList {
    Q_OBJECT
public:
    explicit TfrmFBday(QWidget *parent = nullptr);
    void bbtnPrintClick() override;

protected:
    void BuildQuery() override;
    QString CountText() override;
    void FormClose() override;
};
