#pragma once
// The address picker: finds a town by the start of its name in the postal-code table and hands
// its address and six-digit postal code to the member row being edited, or, when none is,
// to PickedAddr/PickedZip. ShowModal() gives mrOk only when a row was taken.
#include "platform/dataset.h"
#include "platform/form.h"

class DBGrid;
class QLineEdit;
class QPushButton;

// Set by the caller before opening: the member row receives a workplace address.
extern bool AddrForJob;

class TfrmAddr : public TForm {
    Q_OBJECT
public:
    explicit TfrmAddr(QWidget *parent = nullptr);

    QLineEdit *edtAddr;
    QPushButton *btnFind;
    DBGrid *dgrdAddr;
    QPushButton *bbtnOK;
    QPushButton *bbtnCancel;
    QPushButton *bbtnClear;

    Query qrFind;

    void btnFindClick();
    // Lists the towns whose name starts with town; read again by itself after another program's lock.
    void ShowTowns(const QString &town);
    void EnableChoice(bool on);
    void bbtnOKClick();
    void bbtnClearClick();

    // The address and postal code of the query's current row as they are handed on.
    QString rowAddress();
    QString rowZip();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    DataSource m_dsFind{&qrFind};
};
