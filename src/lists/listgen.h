#pragma once
// The heads of household, with the family records of the chosen head below them.
#include "lists/listwindow.h"

class TfrmLGen : public TListWindow {
    Q_OBJECT
public:
    explicit TfrmLGen(QWidget *parent = nullptr);

    Query qrFList;
    DataSource dsFList{&qrFList};
    QLabel *pnlFn;
    DBGrid *dgrdFamily;

protected:
    void BuildQuery() override;

private:
    // Runs the family query for the current head; the list's opening and every move of its
    // current row call it.
    void openFamily();
    bool m_familyStale = false;
};
