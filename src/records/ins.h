#pragma once
// The member window: enters a new member or corrects one, every control bound to the current
// row of tbMaster, which the caller has put in insert ("새 성도 등록") or edit state.
#include "platform/form.h"

#include <QDateTime>

class DBCheckBox;
class DBComboBox;
class DBEdit;
class DBMemo;
class QLabel;
class QPushButton;

// A free member number: the moment as "yymmddhhnnss", moved on a second at a time while MASTER
// holds it already, or, for a household's base, while any member number starts with it.
QString MintMemberNumber(QDateTime moment, bool householdBase = false);

class TfrmIns : public TForm {
    Q_OBJECT
public:
    explicit TfrmIns(QWidget *parent = nullptr);

    // Title panel (required fields)
    DBEdit *dedtName;
    DBComboBox *dcbxX;
    DBEdit *dedtBday;
    DBComboBox *dcbxL;
    DBEdit *dedtTel1;
    // 일반사항
    DBEdit *dedtTel2, *dedtHp, *dedtAddr1, *dedtAddr2, *dedtZip, *dedtEmail;
    QPushButton *btnZip;
    DBCheckBox *dchkG;
    QPushButton *btnGenSel;
    DBEdit *dedtGname, *dedtGrel;
    // 세부사항
    DBComboBox *dcbxLearn;
    DBEdit *dedtHname, *dedtMajor, *dedtRegno, *dedtBon, *dedtHobby, *dedtSpec;
    DBComboBox *dcbxBl;
    DBCheckBox *dchkM;
    DBEdit *dedtMday;
    // 교적사항
    DBCheckBox *dchkR;
    DBEdit *dedtReg, *dedtCur, *dedtGuide, *dedtBefore;
    DBCheckBox *dchkC, *dchkS, *dchkB;
    DBEdit *dedtChd, *dedtStd, *dedtBap;
    DBComboBox *dcbxZone, *dcbxArea, *dcbxPart, *dcbxResp, *dcbxDuty, *dcbxGita, *dcbxBigo;
    QLabel *lblArea;
    DBMemo *dmemCmemo;
    // Buttons
    QPushButton *bbtnOk;
    QPushButton *bbtnCancel;

    void btnZipClick();
    void btnGenSelClick();
    void bbtnOkClick();
    void bbtnCancelClick();
    void TickIfDated(DBEdit *edit, DBCheckBox *box);

protected:
    void showEvent(QShowEvent *event) override;
    void FormClose() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void dedtNameChange();
    void dedtBdayChange();
    void dchkGClick();
    bool inserting() const;

    QList<QPair<DBEdit *, DBCheckBox *>> m_datePairs;
    bool m_picking = false;
};
