#pragma once
// All members, or those whose name begins within one syllable range, in one of fifteen orders.
#include "lists/listwindow.h"

class QComboBox;

class TfrmList : public TListWindow {
    Q_OBJECT
public:
    explicit TfrmList(QWidget *parent = nullptr);

    QComboBox *cbxSel;

protected:
    void BuildQuery() override;
};
