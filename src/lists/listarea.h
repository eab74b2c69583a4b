#pragma once
// The members of one zone (chosen in a box) and one small group (chosen by a tab).
#include "lists/listwindow.h"

class QComboBox;

class TfrmLArea : public TListWindow {
    Q_OBJECT
public:
    explicit TfrmLArea(QWidget *parent = nullptr);

    QComboBox *cbxSel;

protected:
    void BuildQuery() override;
    void FormActivate() override;
};
