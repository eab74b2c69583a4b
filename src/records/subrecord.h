#pragma once
// The editor pattern shared by the member's family, history and visit records and by the
// postal-code table: a read-only grid, an input panel usable only while one row is being added
// or changed, Add/Edit/Delete/Save/Cancel, a count panel and Close.
//
// Browse mode: grid, Add, Edit and Delete (both only with rows) and Close. Edit mode: the input
// panel, Save and Cancel; Close always. Esc presses Cancel, so it cancels the row being edited
// and does nothing while browsing. A refused store keeps the row open with what was typed.
//
// An editor declares its controls in the input panel, its grid columns, its required fields with
// their message, its dates, its count text and the values of a new row; then it calls FormCreate().
#include "platform/dataset.h"
#include "platform/dbcontrols.h"
#include "platform/form.h"

class QComboBox;
class QFrame;
class QGridLayout;
class QLabel;
class QPushButton;
class QVBoxLayout;

class TfrmSubRecord : public TForm {
    Q_OBJECT
public:
    QPushButton *bbtnAdd;
    QPushButton *bbtnEdit;
    QPushButton *bbtnDel;
    QPushButton *bbtnSave;
    QPushButton *bbtnCancel;
    QPushButton *bbtnClose;

    void bbtnAddClick();
    void bbtnEditClick();
    void bbtnDelClick();
    void bbtnSaveClick();
    void bbtnCancelClick();

    void SetButtons(bool editing);
    void ShowCount();
    // The table's row is being added or changed.
    bool editing() const;
    // The count panel's text.
    QString countText() const;

protected:
    struct Names {
        const char *form;  // object name of the window
        const char *panel; // the input panel
        const char *grid;
        const char *count; // the count panel
    };
    TfrmSubRecord(Table &table, DataSource &source, const Names &names, QWidget *parent);

    // The rows being edited.
    Table &m_table;
    QWidget *pnlInput;   // focusing it focuses its first control (its focus proxy)
    QGridLayout *inputs; // the editor's controls go here
    DBGrid *dgrdRows;
    QFrame *pnlCount;
    QLabel *lblCount;
    QVBoxLayout *body;   // buttons, input panel, count panel, grid: an editor may add below
    // Fields that must hold more than blanks when a row is saved.
    QStringList required;
    // The dates a row stores, each refused when it cannot exist, as the member window refuses it.
    struct DateInput {
        DBEdit *edit;
        QString caption;                 // names the date in the message
        const char *lunarFlag = nullptr; // a field holding "음" for a lunar date; none: solar
    };
    QList<DateInput> dates;

    // Browse mode with the count: the end of every editor's constructor.
    void FormCreate();

    virtual QString CountText(int count) const = 0;
    virtual QString RequiredMessage() const = 0;
    virtual bool RequiredFilled() const;
    // The values that must be well formed before a row is stored; false after telling the user.
    virtual bool ValuesValid();
    // After append (inserting) or edit, before the input panel opens.
    virtual void RowOpened(bool inserting) { Q_UNUSED(inserting); }
    // Just before the row is posted.
    virtual void BeforePost() {}
    // After the modes' common controls changed.
    virtual void ModeChanged(bool editing) { Q_UNUSED(editing); }
    void FormClose() override;

    // Labels of the input panel; required ones are blue, as the footer explains.
    QLabel *label(const QString &text, bool isRequired = false);
    DBEdit *edit(const char *name, const char *field, DataSource &source);
    DBComboBox *combo(const char *name, const char *field, DataSource &source, const QStringList &items = {});
    DBMemo *memo(const char *name, const char *field, DataSource &source);
    // Grid column width for a value of that many digits and points (dates, codes).
    int digitsWidth(int count) const;
};

// A text copied into a field, cut to the field's size at a whole character.
void SetText(Field &field, const QString &text);
// The values of a lookup table's one field, in its stored order.
void FillLookupItems(QComboBox *box, Dataset &lookup);
