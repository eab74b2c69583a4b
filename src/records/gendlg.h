#pragma once
// The head-of-household picker: lists every member marked as head of household and hands the
// chosen one's number and contact data to the member entry window.
#include "platform/dataset.h"
#include "platform/form.h"

class DBGrid;
class QPushButton;

class TfrmGenDlg : public TForm {
    Q_OBJECT
public:
    explicit TfrmGenDlg(QWidget *parent = nullptr);

    DBGrid *dgrdList;
    QPushButton *bbtnOK;
    QPushButton *bbtnCancel;

    Query qrList;

    // The chosen head; HeadIno stays empty when nothing was chosen.
    QString HeadTel1, HeadAddr1, HeadAddr2, HeadZip, HeadZone, HeadArea, HeadName, HeadIno;

    void OpenList();
    void EnableSelection(bool on);
    void bbtnOKClick();

private:
    DataSource m_dsList{&qrList};
};
