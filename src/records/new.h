#pragma once
// Household quick registration: a head of household and the persons listed with it become
// members in one step, each with family rows naming the others, all marked for printing.
#include "platform/dbcontrols.h"
#include "platform/form.h"

#include <QDateTime>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

// Two digits number the listed persons after the head's twelve.
constexpr int MaxListedPersons = 100;

class TfrmNew : public TForm {
    Q_OBJECT
public:
    explicit TfrmNew(QWidget *parent = nullptr);

    // Head of household
    QLineEdit *edtName;
    QComboBox *cbxX;
    MaskEdit *mskBday;
    QComboBox *cbxL;
    QLineEdit *edtTel;
    // Household
    QComboBox *cbxZone;
    QLabel *lblArea;
    QComboBox *cbxArea;
    QLineEdit *edtAddr1;
    QPushButton *btnZip;
    QLineEdit *edtAddr2;
    MaskEdit *edtZip;
    // Person entry and list
    QLineEdit *edtFName;
    QComboBox *cbxFX;
    MaskEdit *mskFBday;
    QComboBox *cbxFL;
    QComboBox *cbxFrel;
    QPushButton *bbtnAdd;
    QPushButton *bbtnDel;
    QTreeWidget *lvFamily;
    // Buttons
    QPushButton *bbtnOk;
    QPushButton *bbtnCancel;

    void FormActivate();
    void btnZipClick();
    void bbtnAddClick();
    void bbtnDelClick();
    void bbtnOkClick();

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    // Stores everything or nothing; false (after its message) when nothing was stored.
    bool registerHousehold();

    bool m_picking = false;
};
