#pragma once
// The settings window: church identity, user, naming options and the ten lookup lists. It edits
// copies; only OK stores them (WriteSettings) and reloads them (ReadSettings).
#include "platform/form.h"

#include <QStringList>
#include <functional>

class MaskEdit;
class QButtonGroup;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

class TfrmSetup : public TForm {
    Q_OBJECT
public:
    // The address picker belongs to the member windows, which sit above this library: the caller
    // hands it in. It returns whether a row was taken into PickedAddr/PickedZip.
    explicit TfrmSetup(std::function<bool()> addressPicker, QWidget *parent = nullptr);

    static constexpr int ListCount = 10;

    QLineEdit *edtCname, *edtUser, *edtCadd1, *edtCadd2, *edtCtel;
    MaskEdit *edtCzip;
    QPushButton *btnPswd, *btnZip;
    QGroupBox *rdgSel, *rdgAis, *rdgBis;
    QButtonGroup *rdgSelItems, *rdgAisItems, *rdgBisItems;
    QListWidget *lbxList;
    QPushButton *sbtnIns, *sbtnDel;
    QWidget *spbtnMove;
    QToolButton *spbtnMoveUp, *spbtnMoveDown;
    QPlainTextEdit *memNote;
    QPushButton *bbtnOk, *bbtnCancel;

    // The working lists, in the order of the list selector.
    QStringList Lists[ListCount];

    void ShowList(const QStringList &list);
    void AddItem(QStringList &list);
    void DeleteItem(QStringList &list);
    void MoveItemUp(QStringList &list);
    void MoveItemDown(QStringList &list);

    void rdgSelClick();
    void rdgAisClick();
    void btnPswdClick();
    void btnZipClick();
    void bbtnOkClick();

    // The list box's selected entry, -1 when none is.
    int selectedIndex() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QStringList &selectedList();
    std::function<bool()> m_addressPicker;
};
