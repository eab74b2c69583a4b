#pragma once
// The print dialog: prints the members marked in MASTER.Sel, in PrintSortField order, as record
// cards, address labels, a plain-text list or an address book, with the margins of the
// settings. The caller marks the members and shows the dialog modally; one print command
// closes it. The marks are never cleared here.
#include "platform/dataset.h"
#include "platform/form.h"

class DBGrid;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QWidget;

class TfrmPrint : public TForm {
    Q_OBJECT
public:
    // Needs the data module (frmDM); sets frmPrint to itself while it exists.
    explicit TfrmPrint(QWidget *parent = nullptr);
    ~TfrmPrint() override;

    Query qrPrt;
    DataSource dsPrt{&qrPrt};

    DBGrid *grdPrt;
    QGroupBox *rdgStyle;
    QButtonGroup *rdgStyleItems; // the four styles, ids 0 to 3
    QWidget *pnl1;
    QCheckBox *chkF, *chkV, *chkS;
    QWidget *pnl2;
    QRadioButton *rbtnM, *rbtnJ;
    QCheckBox *chk2;
    QListWidget *clbx3;
    QWidget *pnl4;
    QRadioButton *rbtnH, *rbtnV;
    QGroupBox *gbxMargin;
    QSpinBox *spedtTop, *spedtLeft;
    QPushButton *bbtnPrint, *bbtnCancel;

    int styleIndex() const;
    // Chooses a style as a click on its button does.
    void setStyleIndex(int index);
    bool listItemChecked(int index) const;
    void setListItemChecked(int index, bool checked);

    void FormCreate();
    void rdgStyleClick();
    void ShowStylePanel(int index);
    void bbtnPrintClick();
    // The plain-text list of the marked members on the current printer; throws ReportError
    // when the printer cannot be opened or fails (the job is closed either way).
    void PrintList();

private:
    void printCards(int left, int top);
    void printLabels(int left, int top);
    void printAddressBook(int left, int top);
};

// The dialog while it exists (the layouts' rows are its qrPrt).
extern TfrmPrint *frmPrint;

// Line `index` (0 to 16) of the plain-text list for the current row of rows, values as stored.
QString ListItemLine(int index, Dataset &rows);
