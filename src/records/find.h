#pragma once
// The detailed search: members by name, sex and telephone plus any of thirty-two ticked
// conditions, listed in a grid from which they are printed, saved, dialled or gone to.
#include "platform/dataset.h"
#include "platform/dbcontrols.h"
#include "platform/form.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

class TfrmFind : public TForm {
    Q_OBJECT
public:
    // Needs the data module (frmDM) and the settings.
    explicit TfrmFind(QWidget *parent = nullptr);

    Query qrFind;
    DataSource dsFind{&qrFind};

    // Title panel
    QLineEdit *edtName;
    QComboBox *cbxX;
    QLineEdit *edtTel;
    QPushButton *bbtnFind;
    QTabWidget *pgcFind;
    // "검색 조건(&1)"
    QCheckBox *chkBday, *chkAddr, *chkEmail, *chkZone, *chkArea, *chkPart, *chkResp, *chkDuty, *chkBigo,
        *chkR, *chkC, *chkS, *chkB;
    QLineEdit *mskDs, *mskDe, *edtAddr, *edtEmail, *mskRs, *mskRe, *mskCs, *mskCe, *mskSs, *mskSe, *mskBs, *mskBe;
    QComboBox *cbxZone, *cbxArea, *cbxPart, *cbxResp, *cbxDuty, *cbxBigo;
    // "세부 조건(&2)"
    QCheckBox *chkM, *chkLearn, *chkMajor, *chkHobby, *chkSpec, *chkBl, *chkJob, *chkJkind, *chkJpart, *chkJduty,
        *chkJtel, *chkJfax, *chkCur, *chkGuide;
    QLineEdit *mskMs, *mskMe, *edtMajor, *edtHobby, *edtSpec, *edtJob, *edtJpart, *edtJduty, *edtJtel, *edtJfax,
        *edtCur, *edtGuide;
    QComboBox *cbxLearn, *cbxBl, *cbxJkind;
    // Result panel
    DBGrid *dgrdFind;
    QLabel *pnlTotal;
    QPushButton *bbtnPrint, *bbtnSave, *bbtnClose;

    // Appends one line (and a blank) to the statement of qrFind.
    void AddSQL(const QString &line);

    void FormActivate();
    void bbtnFindClick();
    void dgrdFindDblClick();
    void bbtnPrintClick();
    void bbtnSaveClick();

protected:
    void FormClose() override;
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    // Opens qrFind as the last search built it and shows how many it found.
    void showFound();
    void showResult(bool found);
    QStringList m_sql;
};

// The result columns of the search windows; withReg: the registration date after the postal code.
QList<DBGrid::Column> ResultColumns(bool withReg, const QString &areaTitle);

// The masked date edits of the search windows ("9999.99.99;0;_"): the digits typed, trimmed.
QString MaskedDateText(const QLineEdit *edit);
