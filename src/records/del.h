#pragma once
// Confirms and deletes the members selected in the main window, with all their sub-records.
#include "platform/dataset.h"
#include "platform/form.h"

class QListWidget;
class QProgressBar;
class QPushButton;

class TfrmDel : public TForm {
    Q_OBJECT
public:
    // selectedRows: the name grid's selection, emptied when the deletion ends.
    TfrmDel(QList<Bookmark> &selectedRows, QWidget *parent = nullptr);

    QListWidget *lbxList;
    QProgressBar *pbrProgress;
    QPushButton *bbtnYes;
    QPushButton *bbtnNo;

    void bbtnYesClick();

private:
    void FormCreate();
    // All of one member or nothing of it.
    bool deleteCurrentMember();

    QList<Bookmark> &m_selected;
    int m_count = 0;
};
