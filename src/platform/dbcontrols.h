#pragma once
// Data-aware controls: each shows one field of the current row of a data source and, unless
// read-only, writes what the user types back into it. Typing on a browsing row puts the dataset
// into edit state (AutoEdit). Text sizes are enforced in code-page-949 bytes; masked fields use
// the original mask language (see editmask.h), not Qt's.
#include "platform/dataset.h"
#include "platform/datasetmodel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTableView>
#include <QValidator>

// The link of one control to one field; shared by every control below.
class FieldDataLink : public QObject {
    Q_OBJECT
public:
    explicit FieldDataLink(QObject *owner);

    void setDataSource(DataSource *source);
    DataSource *dataSource() const { return m_source; }
    void setFieldName(const QString &name);
    QString fieldName() const { return m_fieldName; }
    Dataset *dataset() const;
    // nullptr while the dataset is closed or lacks the field, and while the row cannot be read.
    Field *field() const;

    bool readOnly() const { return m_readOnly; }
    void setReadOnly(bool r) { m_readOnly = r; }
    bool autoEdit() const { return m_autoEdit; }
    void setAutoEdit(bool a) { m_autoEdit = a; }

    // Whether the user may change the value now; puts a browsing dataset into edit state first.
    bool edit();
    // Writes a value typed by the user (after edit() said yes).
    void write(const QVariant &value);
    bool writing() const { return m_writing; }

signals:
    // The value to show changed: another row, another state, another field value.
    void changed();

private:
    void reconnect();
    // Tells the control to show the value again; a row that cannot be read shows as empty.
    void refresh();
    QPointer<DataSource> m_source;
    QPointer<Dataset> m_connected;
    QString m_fieldName;
    bool m_readOnly = false;
    bool m_autoEdit = true;
    bool m_writing = false;
    bool m_unreadable = false;
};

// What every one-field control has: its link and the names that set it up.
class DataAware {
public:
    FieldDataLink &dataLink() { return m_link; }
    void setDataSource(DataSource *s) { m_link.setDataSource(s); }
    void setDataField(const QString &f) { m_link.setFieldName(f); }
    Field *field() const { return m_link.field(); }

protected:
    FieldDataLink m_link{nullptr};
};

// The text as a one-line edit holds it: each line break (CR LF counting as one) a blank.
QString AsOneLine(QString text);

// What a one-line edit holds. A line break typed, pasted or set becomes a blank. With a size,
// the text goes in as far as it fits in code-page-949 bytes, cut at a whole character, and a
// character the code page cannot hold is left out; input the user gave that was not taken whole
// beeps. Input is rewritten, never refused, so a paste that does not fit goes in cut.
class SingleLineValidator : public QValidator {
    Q_OBJECT
public:
    // maxBytes 0: no size. Given its edit as parent, it keeps the edit marked as changed by the
    // user (isModified) where it rewrote what the user typed.
    explicit SingleLineValidator(int maxBytes = 0, QObject *parent = nullptr);
    int maxBytes() const { return m_maxBytes; }
    State validate(QString &input, int &pos) const override;
    // Pastes text at the edit's caret, fitted as validate fits it, as one step the edit can undo
    // (Qt sets a text the validator rewrote anew, which empties the undo history). False when the
    // text goes in unchanged: the edit's own paste then takes it.
    bool paste(QLineEdit *edit, const QString &text) const;

private:
    // Rewrites input as validate does; true when part of it was left out.
    bool fit(QString &input, int &pos) const;
    int m_maxBytes;
};

// For the whole program: Alt with a letter types into no edit, memo or editable combo box, bound
// or not; and every one-line edit without a rule of its own holds one line (SingleLineValidator).
void InstallEditRules();

// An edit with an original edit mask (search ranges, household entry; DBEdit is the bound one).
// Focused by the keyboard or the program, or clicked past what was typed, it types from its
// first empty slot.
class MaskEdit : public QLineEdit {
    Q_OBJECT
public:
    MaskEdit(const QString &originalMask, QWidget *parent = nullptr);
    // The text as the mask stores it: literals dropped, "" when nothing was typed.
    QString storedText() const;

protected:
    const QString &mask() const { return m_mask; }
    void setMask(const QString &originalMask);
    void toFirstSlot();
    void focusInEvent(QFocusEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;

private:
    QString m_mask;
};

// A control on one field, named as the window's component: the way windows declare their fields.
template <class Control>
Control *BoundControl(QWidget *parent, const char *objectName, DataSource *source, const char *field,
                      bool readOnly = false)
{
    auto *c = new Control(parent);
    c->setObjectName(QString::fromLatin1(objectName));
    c->setDataSource(source);
    c->setDataField(QString::fromLatin1(field));
    if constexpr (requires { c->setReadOnly(true); })
        c->setReadOnly(readOnly);
    return c;
}

// Edit box; with the field's edit mask when it has one.
class DBEdit : public MaskEdit, public DataAware {
    Q_OBJECT
public:
    explicit DBEdit(QWidget *parent = nullptr);
    void setReadOnly(bool r);
    // Field names and masks may be overridden for one control.
    void setEditMask(const QString &originalMask);

protected:
    void focusOutEvent(QFocusEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    void load();
    void userEdited(const QString &text);
    QString m_maskOverride; // the mask being edited with is mask(): "" for none or read-only
};

// Read-only text of a field (the value through its mask).
class DBText : public QLabel, public DataAware {
    Q_OBJECT
public:
    explicit DBText(QWidget *parent = nullptr);

private:
    void load();
};

// Combo box: drop-down list or editable; a stored value missing from the list is still shown and kept.
class DBComboBox : public QComboBox, public DataAware {
    Q_OBJECT
public:
    explicit DBComboBox(QWidget *parent = nullptr);
    void setReadOnly(bool r);

private:
    void load();
    void userChose(const QString &text);
    // A stored value missing from the list is shown as an extra last item until the next load.
    QPersistentModelIndex m_extraItem;
    bool m_loading = false;
};

class DBCheckBox : public QCheckBox, public DataAware {
    Q_OBJECT
public:
    explicit DBCheckBox(QWidget *parent = nullptr);
    void setReadOnly(bool r);

protected:
    void nextCheckState() override;

private:
    void load();
};

class DBMemo : public QPlainTextEdit, public DataAware {
    Q_OBJECT
public:
    explicit DBMemo(QWidget *parent = nullptr);
    void setReadOnly(bool r);

private:
    void load();
    bool m_loading = false;
};

// Picture of a graphic field, stretched to the frame when asked.
class DBImage : public QLabel, public DataAware {
    Q_OBJECT
public:
    explicit DBImage(QWidget *parent = nullptr);
    void setStretch(bool s);
    // The decoded picture; null when the field is empty or cannot be decoded.
    QImage picture() const { return m_image; }

signals:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;

private:
    void load();
    void render();
    QByteArray m_bytes; // what m_image was decoded from
    QImage m_image;
    bool m_stretch = true;
};

// Grid on a data source. The current row follows the dataset's cursor and a click moves it.
// With multiSelect, the selection is a list of bookmarks (SelectedRows) that survives changes;
// a move without Shift or Ctrl leaves only the new current row in it, Shift extends it (and
// shrinks it again on the way back to where the Shift moves began), Ctrl+click toggles a row.
// The current row always shows as selected.
class DBGrid : public QTableView {
    Q_OBJECT
public:
    explicit DBGrid(QWidget *parent = nullptr);

    void setDataSource(DataSource *source);
    DataSource *dataSource() const { return m_model.dataSource(); }
    Dataset *dataset() const;
    DatasetModel &model() { return m_model; }

    struct Column {
        Column(QString f = {}, QString t = {}, Qt::Alignment a = Qt::AlignLeft | Qt::AlignVCenter, int w = 0)
            : field(std::move(f)), title(std::move(t)), alignment(a), width(w) {}
        QString field;
        QString title;  // empty: the field's label
        Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
        int width = 0;  // pixels; 0: fitted
    };
    void setColumns(const QList<Column> &columns);

    void setMultiSelect(bool on);
    bool multiSelect() const { return m_multi; }
    // The selected rows, in the order they were selected.
    QList<Bookmark> &SelectedRows() { return m_selected; }
    void clearSelectedRows();
    void selectRow(const Bookmark &b, bool selected);
    bool isRowSelected(const Bookmark &b) const;

    // Paints a cell itself when it returns true (the owner's DrawColumnCell).
    using CellPainter = std::function<bool(QPainter *, const QRect &, int row, int column, Field &field)>;
    void setCellPainter(CellPainter painter) { m_painter = std::move(painter); }
    // Typing does not search the rows: that would read every row of the table.
    void keyboardSearch(const QString &) override {}

signals:
    // A click on a cell, after the cursor moved there (CellClick).
    void cellClicked(int row, int column);
    // A press on the grid before the selection changes (MouseDown), with the modifiers it carries.
    void mousePressed(Qt::KeyboardModifiers modifiers);
    void doubleClicked();
    void keyPressed(QKeyEvent *event);
    void keyReleased(QKeyEvent *event);

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

private:
    void connectDataset();
    // The cursor moved: the selection follows as the gesture that moved it says.
    void cursorMoved();
    void followDataset();
    void repaintSelection();
    void scheduleSelectionRepaint();
    void applyColumnWidths();
    DatasetModel m_model;
    QPointer<Dataset> m_connected;
    QList<Column> m_columns;
    bool m_multi = false;
    QList<Bookmark> m_selected;
    // How the move being handled treats the selection; a move the grid did not make is a Move.
    enum class Gesture { Move, Extend, Keep };
    Gesture m_gesture = Gesture::Move;
    Bookmark m_extendFrom; // the row a Shift move leaves
    Bookmark m_anchor;     // where the present run of Shift moves began
    CellPainter m_painter;
    bool m_syncing = false;
    bool m_repaintPending = false;
    bool m_widthsPending = true;
};

// Paints a grid's Boolean cells as a ticked or an unticked box, centred in the cell.
DBGrid::CellPainter CheckCellPainter(DBGrid *grid);
