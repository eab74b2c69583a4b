#include "platform/dbcontrols.h"

#include "platform/cp949.h"
#include "platform/dialogs.h"
#include "platform/editmask.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>
#include <QTextEdit>

#include <algorithm>

namespace {

bool editing(const Dataset *d)
{
    return d->state() == DatasetState::Edit || d->state() == DatasetState::Insert ||
           d->state() == DatasetState::SetKey;
}

// Empty text is stored as NULL, as the old engine stored it.
QVariant nullIfEmpty(const QString &text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

// The user changed what a control shows: the row goes into edit state and takes the value or,
// when it may not change now, the control shows the field again.
template <class Restore>
void commitUserValue(FieldDataLink &link, const QVariant &value, Restore restore)
{
    if (link.edit())
        link.write(value);
    else
        restore();
}

// Text fields take at most their size in code-page-949 bytes. A validator the owner installed
// is left alone; masked fields are limited by their mask (which takes no line break either), and
// read-only ones show the whole value.
void limitBytes(QLineEdit *edit, const Field *field, bool masked)
{
    const int max = field && !masked && field->type() == FieldType::Text && field->size() > 0 ? field->size() : 0;
    const QValidator *current = edit->validator();
    const auto *ours = qobject_cast<const SingleLineValidator *>(current);
    if (current && !ours)
        return;
    if (ours && !masked && ours->maxBytes() == max)
        return;
    edit->setValidator(masked ? nullptr : new SingleLineValidator(max, edit));
    delete ours;
}

bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

// Units of the character that ends at end (a surrogate pair is one character).
qsizetype charBefore(const QString &text, qsizetype end)
{
    return end > 1 && text.at(end - 1).isLowSurrogate() && text.at(end - 2).isHighSurrogate() ? 2 : 1;
}

// A paste into an edit under the one-line rule; false when the edit's own paste is to take it.
bool pasteFitted(QLineEdit *edit, QClipboard::Mode mode)
{
    const auto *rule = edit && !edit->isReadOnly() ? qobject_cast<const SingleLineValidator *>(edit->validator()) : nullptr;
    return rule && rule->paste(edit, QGuiApplication::clipboard()->text(mode));
}

// Alt with a letter is a button's key even when the button is disabled; it never types. An edit
// polished without a validator or a mask of its own (a mask takes no line break) gets the
// one-line rule, and every paste into an edit under the rule, by key, menu or middle button,
// keeps the edit's undo history.
class EditRulesFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *edit = qobject_cast<QLineEdit *>(watched);
        switch (event->type()) {
        case QEvent::Polish:
            if (edit && !edit->validator() && edit->inputMask().isEmpty())
                edit->setValidator(new SingleLineValidator(0, edit));
            return false;
        case QEvent::MouseButtonRelease:
            if (edit && static_cast<QMouseEvent *>(event)->button() == Qt::MiddleButton &&
                QGuiApplication::clipboard()->supportsSelection() && !edit->isReadOnly()) {
                edit->deselect();
                return pasteFitted(edit, QClipboard::Selection);
            }
            return false;
        case QEvent::ContextMenu:
            return edit && edit->contextMenuPolicy() == Qt::DefaultContextMenu &&
                   contextMenu(edit, static_cast<QContextMenuEvent *>(event)->globalPos());
        case QEvent::KeyPress:
            break;
        default:
            return false;
        }
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->matches(QKeySequence::Paste)) {
            // An editable combo box hands its keys to its edit directly, past this filter.
            const auto *box = qobject_cast<QComboBox *>(watched);
            return pasteFitted(box ? box->lineEdit() : edit, QClipboard::Clipboard);
        }
        if (!(key->modifiers() & Qt::AltModifier) || key->text().isEmpty() || !key->text().at(0).isPrint())
            return false; // Alt alone and Alt with a movement key keep their meaning
        const auto *combo = qobject_cast<QComboBox *>(watched);
        return edit || qobject_cast<QPlainTextEdit *>(watched) || qobject_cast<QTextEdit *>(watched) ||
               (combo && combo->isEditable());
    }

private:
    // The edit's own menu, its paste the fitted one.
    static bool contextMenu(QLineEdit *edit, const QPoint &at)
    {
        if (!qobject_cast<const SingleLineValidator *>(edit->validator()))
            return false;
        QMenu *menu = edit->createStandardContextMenu();
        // Known by its caption, in Qt's words (translated as Qt translates them), before its key.
        const QString caption = QCoreApplication::translate("QLineEdit", "&Paste");
        for (QAction *paste : menu->actions()) {
            if (paste->text().section(u'\t', 0, 0) != caption)
                continue;
            disconnect(paste, &QAction::triggered, edit, nullptr);
            connect(paste, &QAction::triggered, edit, [edit] {
                if (!pasteFitted(edit, QClipboard::Clipboard))
                    edit->paste();
            });
        }
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(at);
        return true;
    }
};

} // namespace

void InstallEditRules()
{
    QCoreApplication *app = QCoreApplication::instance();
    const QString name = QStringLiteral("editRules");
    if (!app || app->findChild<QObject *>(name, Qt::FindDirectChildrenOnly))
        return;
    auto *filter = new EditRulesFilter(app);
    filter->setObjectName(name);
    app->installEventFilter(filter);
}

// ---------------------------------------------------------------------------------------------
// SingleLineValidator

QString AsOneLine(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    std::replace_if(text.begin(), text.end(), isLineBreak, u' ');
    return text;
}

SingleLineValidator::SingleLineValidator(int maxBytes, QObject *parent) : QValidator(parent), m_maxBytes(maxBytes)
{
    // Qt sets a rewritten text as if the program had, which clears the edit's changed mark.
    if (auto *edit = qobject_cast<QLineEdit *>(parent))
        connect(edit, &QLineEdit::textEdited, this, [edit] { edit->setModified(true); });
}

QValidator::State SingleLineValidator::validate(QString &input, int &pos) const
{
    // A value the program sets is shown cut without a sound; only the user's own input beeps.
    const auto *edit = qobject_cast<const QLineEdit *>(parent());
    if (fit(input, pos) && (!edit || edit->isModified()))
        Beep();
    return Acceptable;
}

bool SingleLineValidator::fit(QString &input, int &pos) const
{
    pos -= int(QStringView(input).left(pos).count(u"\r\n"));
    input = AsOneLine(input);
    if (m_maxBytes <= 0)
        return false;

    bool leftOut = false;
    for (qsizetype end = input.size(); end > 0;) {
        const qsizetype units = charBefore(input, end);
        end -= units;
        if (!cp949::canEncode(input.mid(end, units))) {
            input.remove(end, units);
            if (end < pos)
                pos -= int(std::min<qsizetype>(units, pos - end));
            leftOut = true;
        }
    }
    // What does not fit is what came last before the caret: the end of what was typed or pasted.
    for (int over = cp949::byteLength(input) - m_maxBytes; over > 0 && !input.isEmpty();) {
        const qsizetype end = pos > 0 ? pos : input.size();
        const qsizetype units = charBefore(input, end);
        over -= cp949::byteLength(input.mid(end - units, units));
        input.remove(end - units, units);
        if (pos > 0)
            pos -= int(units);
        leftOut = true;
    }
    return leftOut;
}

bool SingleLineValidator::paste(QLineEdit *edit, const QString &text) const
{
    QString rest = edit->text();
    int at = edit->cursorPosition();
    if (edit->hasSelectedText()) {
        at = edit->selectionStart();
        rest.remove(at, edit->selectionLength());
    }
    QString whole = rest.left(at) + text + rest.mid(at);
    int end = at + int(text.size());
    const bool leftOut = fit(whole, end);
    const QString fitted = whole.mid(at, end - at);
    // Only the pasted text may change: the rest already holds to the rule.
    if (fitted == text || whole != rest.left(at) + fitted + rest.mid(at))
        return false;
    if (!fitted.isEmpty() || edit->hasSelectedText()) {
        // Moving the caret ends the undo step being typed, as Qt's own paste does before and after.
        const auto endUndoStep = [edit] {
            const int caret = edit->cursorPosition();
            if (edit->hasSelectedText() || edit->text().isEmpty())
                return; // replacing a selection is a step of its own
            edit->setCursorPosition(caret > 0 ? caret - 1 : caret + 1);
            edit->setCursorPosition(caret);
        };
        endUndoStep();
        edit->insert(fitted);
        endUndoStep();
    }
    if (leftOut)
        Beep();
    return true;
}

// ---------------------------------------------------------------------------------------------
// MaskEdit

MaskEdit::MaskEdit(const QString &originalMask, QWidget *parent) : QLineEdit(parent)
{
    setMask(originalMask);
}

void MaskEdit::setMask(const QString &originalMask)
{
    m_mask = originalMask;
    setInputMask(EditMask(originalMask).toQtInputMask());
}

void MaskEdit::toFirstSlot()
{
    // With the caret after the mask's literals, digits typed are lost.
    const EditMask mask(m_mask);
    int position = 0;
    while (position < mask.length() && mask.slotAt(position) < 0)
        ++position;
    setCursorPosition(position);
}

void MaskEdit::focusInEvent(QFocusEvent *e)
{
    QLineEdit::focusInEvent(e);
    if (!m_mask.isEmpty() && e->reason() != Qt::MouseFocusReason)
        toFirstSlot();
}

void MaskEdit::mousePressEvent(QMouseEvent *e)
{
    QLineEdit::mousePressEvent(e);
    // The empty slots' text is shorter than the box: a click right of it or mid-way in an empty
    // mask would leave the caret where the digits are dropped or scattered.
    if (!m_mask.isEmpty() && e->button() == Qt::LeftButton && !(e->modifiers() & Qt::ShiftModifier) &&
        !hasSelectedText())
        setCursorPosition(EditMask(m_mask).clickedCaret(displayText(), cursorPosition()));
}

QString MaskEdit::storedText() const
{
    // text() drops the empty slots and would shift the digits after them.
    return EditMask(m_mask).stored(displayText());
}

// ---------------------------------------------------------------------------------------------
// FieldDataLink

FieldDataLink::FieldDataLink(QObject *owner) : QObject(owner) {}

void FieldDataLink::setDataSource(DataSource *source)
{
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    if (source) {
        connect(source, &DataSource::datasetChanged, this, &FieldDataLink::reconnect);
        connect(source, &QObject::destroyed, this, &FieldDataLink::reconnect);
    }
    reconnect();
}

void FieldDataLink::setFieldName(const QString &name)
{
    m_fieldName = name;
    refresh();
}

Dataset *FieldDataLink::dataset() const
{
    return m_source ? m_source->dataset() : nullptr;
}

Field *FieldDataLink::field() const
{
    Dataset *d = dataset();
    if (!d || !d->active() || m_fieldName.isEmpty() || m_unreadable)
        return nullptr;
    return d->findField(m_fieldName);
}

void FieldDataLink::refresh()
{
    m_unreadable = false;
    try {
        emit changed();
    } catch (const std::exception &e) {
        // The control must not go on showing another row's value: it shows none until the row reads.
        m_unreadable = true;
        emit changed();
        PostError(QString::fromUtf8(e.what()));
    }
}

void FieldDataLink::reconnect()
{
    if (m_connected)
        disconnect(m_connected, nullptr, this, nullptr);
    m_connected = dataset();
    if (Dataset *d = m_connected) {
        // While this link writes, its own control already shows the value: reloading would move the caret.
        const auto notify = [this] {
            if (!m_writing)
                refresh();
        };
        connect(d, &Dataset::scrolled, this, notify);
        connect(d, &Dataset::dataSetChanged, this, notify);
        connect(d, &Dataset::stateChanged, this, notify);
        connect(d, &Dataset::recordChanged, this, [this, notify](int fieldIndex) {
            const Field *f = field();
            if (fieldIndex < 0 || !f || f->index() == fieldIndex)
                notify();
        });
        connect(d, &QObject::destroyed, this, &FieldDataLink::reconnect);
    }
    refresh();
}

bool FieldDataLink::edit()
{
    Dataset *d = dataset();
    if (m_readOnly || !field())
        return false;
    if (editing(d))
        return true;
    if (!m_autoEdit || d->state() != DatasetState::Browse)
        return false;
    try {
        QScopedValueRollback guard(m_writing, true);
        d->edit();
    } catch (const DbError &) {
        return false;
    }
    return editing(d);
}

void FieldDataLink::write(const QVariant &value)
{
    Field *f = field();
    if (!f)
        return;
    QScopedValueRollback guard(m_writing, true);
    try {
        f->setValue(value);
    } catch (const DbError &e) {
        // Only reached when edit() was skipped; an event handler must not let it escape.
        qWarning("%s", qPrintable(e.message()));
    }
}

// ---------------------------------------------------------------------------------------------
// DBEdit

DBEdit::DBEdit(QWidget *parent) : MaskEdit(QString(), parent)
{
    connect(&m_link, &FieldDataLink::changed, this, &DBEdit::load);
    connect(this, &QLineEdit::textEdited, this, &DBEdit::userEdited);
    load();
}

void DBEdit::setReadOnly(bool r)
{
    m_link.setReadOnly(r);
    load();
}

void DBEdit::setEditMask(const QString &originalMask)
{
    m_maskOverride = originalMask;
    load();
}

void DBEdit::load()
{
    const Field *f = field();
    const bool readOnly = m_link.readOnly() || !f;
    const QString fieldMask = !m_maskOverride.isEmpty() ? m_maskOverride : f ? f->editMask() : QString();
    QLineEdit::setReadOnly(readOnly);
    // A read-only box shows the value as labels do ("" for none); an editable one shows the slots.
    const QString editMask = readOnly ? QString() : fieldMask;
    if (editMask != mask())
        setMask(editMask);
    limitBytes(this, readOnly ? nullptr : f, !fieldMask.isEmpty());

    const QString value = f ? f->asString() : QString();
    if (mask().isEmpty()) {
        const QString shown = fieldMask.isEmpty() ? value : EditMask(fieldMask).display(value);
        if (text() != shown)
            setText(shown);
    } else if (storedText() != value) {
        setText(EditMask(mask()).editText(value));
        if (hasFocus())
            toFirstSlot();
    }
}

void DBEdit::userEdited(const QString &text)
{
    const QString value = mask().isEmpty() ? text : storedText();
    commitUserValue(m_link, nullIfEmpty(value), [this] { load(); });
}

void DBEdit::focusOutEvent(QFocusEvent *e)
{
    QLineEdit::focusOutEvent(e);
    GuardedPosted([this] { load(); }); // shows the value as stored: trimmed, mask slots settled
}

void DBEdit::keyPressEvent(QKeyEvent *e)
{
    // Esc belongs to the window, which decides whether pending changes are cancelled.
    if (e->key() == Qt::Key_Escape) {
        e->ignore();
        return;
    }
    QLineEdit::keyPressEvent(e);
}

// ---------------------------------------------------------------------------------------------
// DBText

DBText::DBText(QWidget *parent) : QLabel(parent)
{
    connect(&m_link, &FieldDataLink::changed, this, &DBText::load);
    load();
}

void DBText::load()
{
    const Field *f = field();
    setText(f ? f->displayText() : QString());
}

// ---------------------------------------------------------------------------------------------
// DBComboBox

DBComboBox::DBComboBox(QWidget *parent) : QComboBox(parent)
{
    setInsertPolicy(NoInsert);
    connect(&m_link, &FieldDataLink::changed, this, &DBComboBox::load);
    connect(this, &QComboBox::textActivated, this, &DBComboBox::userChose);
    // Only typing marks the line edit modified; QComboBox's own text updates do not.
    connect(this, &QComboBox::editTextChanged, this, [this](const QString &text) {
        if (!m_loading && lineEdit() && lineEdit()->isModified())
            userChose(text);
    });
    // The owner refilling the list must not change what is shown.
    const auto refilled = [this] {
        if (!m_loading)
            load();
    };
    connect(model(), &QAbstractItemModel::rowsInserted, this, refilled);
    connect(model(), &QAbstractItemModel::rowsRemoved, this, refilled);
    connect(model(), &QAbstractItemModel::modelReset, this, refilled);
    load();
}

void DBComboBox::setReadOnly(bool r)
{
    m_link.setReadOnly(r);
    load();
}

void DBComboBox::load()
{
    QScopedValueRollback guard(m_loading, true);
    if (m_extraItem.isValid())
        removeItem(m_extraItem.row());
    m_extraItem = QPersistentModelIndex();

    const Field *f = field();
    const QString value = f ? f->asString() : QString();
    // No value shows as the list's empty item where it has one: Down and Up step on from there.
    int index = findText(value);
    if (QLineEdit *le = lineEdit()) {
        le->setReadOnly(m_link.readOnly() || !f);
        limitBytes(le, m_link.readOnly() ? nullptr : f, false);
        if (currentIndex() != index)
            setCurrentIndex(index);
        if (currentText() != value)
            setEditText(value);
        return;
    }
    if (index < 0 && !value.isEmpty()) {
        addItem(value);
        index = count() - 1;
        m_extraItem = QPersistentModelIndex(model()->index(index, modelColumn(), rootModelIndex()));
    }
    setCurrentIndex(index);
}

void DBComboBox::userChose(const QString &text)
{
    if (m_loading)
        return;
    commitUserValue(m_link, nullIfEmpty(text), [this] { load(); });
    if (!isEditable())
        load(); // the choice replaces an extra item
}

// ---------------------------------------------------------------------------------------------
// DBCheckBox

DBCheckBox::DBCheckBox(QWidget *parent) : QCheckBox(parent)
{
    connect(&m_link, &FieldDataLink::changed, this, &DBCheckBox::load);
    load();
}

void DBCheckBox::setReadOnly(bool r)
{
    m_link.setReadOnly(r);
}

void DBCheckBox::nextCheckState()
{
    if (!m_link.edit())
        return;
    const bool on = !isChecked();
    m_link.write(on);
    setChecked(on);
}

void DBCheckBox::load()
{
    const Field *f = field();
    setChecked(f && f->asBoolean());
}

// ---------------------------------------------------------------------------------------------
// DBMemo

DBMemo::DBMemo(QWidget *parent) : QPlainTextEdit(parent)
{
    setTabChangesFocus(true); // a memo holds no typed tab; Tab goes on to the next field
    connect(&m_link, &FieldDataLink::changed, this, &DBMemo::load);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_loading)
            commitUserValue(m_link, nullIfEmpty(toPlainText()), [this] { load(); });
    });
    load();
}

void DBMemo::setReadOnly(bool r)
{
    m_link.setReadOnly(r);
    load();
}

void DBMemo::load()
{
    QScopedValueRollback guard(m_loading, true);
    const Field *f = field();
    QPlainTextEdit::setReadOnly(m_link.readOnly() || !f);
    QString value = f ? f->asString() : QString();
    // The document keeps paragraphs, not line-end characters: old CR LF memos read back with LF.
    value.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (toPlainText() != value)
        setPlainText(value);
}

// ---------------------------------------------------------------------------------------------
// DBImage

DBImage::DBImage(QWidget *parent) : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
    connect(&m_link, &FieldDataLink::changed, this, &DBImage::load);
    load();
}

void DBImage::setStretch(bool s)
{
    m_stretch = s;
    render();
}

void DBImage::load()
{
    const Field *f = field();
    const QByteArray bytes = f ? f->asBytes() : QByteArray();
    // State changes reach every control: decode and scale only when the picture itself changed.
    if (bytes == m_bytes)
        return;
    m_bytes = bytes;
    m_image = bytes.isEmpty() ? QImage() : QImage::fromData(bytes);
    render();
}

void DBImage::render()
{
    if (m_image.isNull()) {
        clear();
        return;
    }
    if (!m_stretch) {
        setPixmap(QPixmap::fromImage(m_image));
        return;
    }
    const QSize size = contentsRect().size();
    if (size.isEmpty())
        clear();
    else
        setPixmap(QPixmap::fromImage(m_image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

void DBImage::mouseDoubleClickEvent(QMouseEvent *e)
{
    QLabel::mouseDoubleClickEvent(e);
    emit doubleClicked();
}

void DBImage::resizeEvent(QResizeEvent *e)
{
    QLabel::resizeEvent(e);
    if (m_stretch)
        render();
}

// ---------------------------------------------------------------------------------------------
// DBGrid

namespace {

// Lets the owner paint cells itself (DrawColumnCell). The painter gets the row's position and the
// column's Field for its metadata; it reads values with valueAt, so painting never moves the cursor.
class CellDelegate : public QStyledItemDelegate {
public:
    CellDelegate(const DBGrid::CellPainter &painter, DBGrid *grid)
        : QStyledItemDelegate(grid), m_painter(painter), m_grid(grid)
    {
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        if (m_painter) {
            Dataset *d = m_grid->dataset();
            const int fi = m_grid->model().fieldIndex(index.column());
            if (d && d->active() && fi >= 0) {
                painter->save();
                bool painted = true; // a failed read leaves the cell blank
                GuardedPosted([&] { painted = m_painter(painter, option.rect, index.row(), index.column(), d->field(fi)); });
                painter->restore();
                if (painted)
                    return;
            }
        }
        QStyledItemDelegate::paint(painter, option, index);
    }

private:
    const DBGrid::CellPainter &m_painter;
    DBGrid *m_grid;
};

// Width a column needs for its values, counted as the old grids did: one average character per
// byte of the field's size.
int fittedWidth(const Field &f, const QFontMetrics &cells)
{
    int chars = 10;
    switch (f.type()) {
    case FieldType::Text: chars = f.editMask().isEmpty() ? f.size() : EditMask(f.editMask()).length(); break;
    case FieldType::Logical: chars = 5; break;
    case FieldType::Short: chars = 6; break;
    case FieldType::Integer: chars = 11; break;
    case FieldType::Float: chars = 12; break;
    case FieldType::Memo:
    case FieldType::Graphic: chars = 9; break;
    }
    // Digits are wider than the font's average character, and most sized fields hold numbers.
    const int perChar = std::max(cells.averageCharWidth(), cells.horizontalAdvance(QLatin1Char('0')));
    return std::clamp(chars, 2, 60) * perChar + 8;
}

} // namespace

DBGrid::DBGrid(QWidget *parent) : QTableView(parent)
{
    setModel(&m_model);
    setItemDelegate(new CellDelegate(m_painter, this));
    // The grid draws its own selection (the current row, or SelectedRows) and is never edited in place.
    setSelectionBehavior(SelectRows);
    setSelectionMode(NoSelection);
    setEditTriggers(NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    // Every reset (new rows, state change, new columns) loses the view's current index.
    connect(&m_model, &QAbstractItemModel::modelReset, this, [this] {
        applyColumnWidths();
        followDataset();
    });
}

Dataset *DBGrid::dataset() const
{
    return dataSource() ? dataSource()->dataset() : nullptr;
}

void DBGrid::setDataSource(DataSource *source)
{
    if (dataSource())
        disconnect(dataSource(), nullptr, this, nullptr);
    m_widthsPending = true;
    // The model connects first, so that it has reset before the grid follows the cursor.
    m_model.setDataSource(source);
    if (source)
        connect(source, &DataSource::datasetChanged, this, &DBGrid::connectDataset);
    connectDataset();
}

void DBGrid::connectDataset()
{
    if (m_connected)
        disconnect(m_connected, nullptr, this, nullptr);
    if (m_connected != dataset())
        m_selected.clear(); // bookmarks of another dataset
    m_connected = dataset();
    if (m_connected) {
        connect(m_connected, &Dataset::scrolled, this, &DBGrid::cursorMoved);
        // A query opened again numbers its new rows as the old ones: a bookmark would pick a stranger.
        connect(m_connected, &Dataset::stateChanged, this, [this] {
            if (!m_connected->active())
                m_selected.clear();
        });
    }
    followDataset();
}

void DBGrid::setColumns(const QList<Column> &columns)
{
    m_columns = columns;
    QStringList names, titles;
    QList<Qt::Alignment> alignments;
    for (const Column &c : columns) {
        names << c.field;
        titles << c.title;
        alignments << c.alignment;
    }
    m_model.setTitles(titles);
    m_model.setAlignments(alignments);
    m_widthsPending = true;
    m_model.setColumns(names);
}

void DBGrid::applyColumnWidths()
{
    Dataset *d = dataset();
    // Fitted widths need the fields; user-resized columns are kept across later resets.
    if (!m_widthsPending || !d || !d->active())
        return;
    m_widthsPending = false;
    const QFontMetrics header(horizontalHeader()->font());
    for (int c = 0; c < m_model.columnCount(); ++c) {
        const int given = c < m_columns.size() ? m_columns[c].width : 0;
        const int fi = m_model.fieldIndex(c);
        if (given > 0) {
            setColumnWidth(c, given);
        } else if (fi >= 0) {
            const QString title = m_model.headerData(c, Qt::Horizontal).toString();
            setColumnWidth(c, std::max(fittedWidth(d->field(fi), fontMetrics()), header.horizontalAdvance(title) + 12));
        }
    }
}

void DBGrid::cursorMoved()
{
    Dataset *d = dataset();
    if (m_multi && d && d->active() && m_gesture != Gesture::Keep) {
        GuardedPosted([&] {
            const Bookmark here = d->bookmark();
            if (m_gesture == Gesture::Move) {
                m_selected.clear();
                m_anchor = {};
            } else {
                if (!m_anchor.isValid())
                    m_anchor = m_extendFrom;
                // Coming back toward the anchor gives up the row left; moving away takes it.
                const int anchor = d->rowOf(m_anchor), from = d->rowOf(m_extendFrom), to = d->displayRow();
                const bool back = anchor >= 0 && from >= 0 && (to - anchor) * (from - anchor) >= 0 &&
                                  std::abs(to - anchor) < std::abs(from - anchor);
                selectRow(m_extendFrom, !back);
            }
            selectRow(here, true);
        });
    }
    followDataset();
}

void DBGrid::followDataset()
{
    Dataset *d = dataset();
    const int row = d && d->active() ? d->displayRow() : -1;
    if (row >= 0 && row < m_model.rowCount()) {
        QScopedValueRollback guard(m_syncing, true);
        const QModelIndex target = m_model.index(row, std::max(currentIndex().column(), 0));
        if (currentIndex() != target)
            selectionModel()->setCurrentIndex(target, QItemSelectionModel::NoUpdate);
        scrollTo(target);
    }
    repaintSelection();
}

void DBGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    Dataset *d = dataset();
    if (m_syncing || !current.isValid() || !d || !d->active())
        return;
    if (current.row() != d->displayRow()) {
        QScopedValueRollback guard(m_syncing, true);
        try {
            d->setRecNo(current.row() + 1); // posts a pending edit first, which may fail
        } catch (const DbError &e) {
            ShowError(e.message());
        }
    }
    if (d->displayRow() != current.row())
        followDataset();
    else
        repaintSelection();
}

QModelIndex DBGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    // Rows are selected whole: Home and End go to the first and last row, not column.
    if (action == MoveHome || action == MoveEnd)
        modifiers |= Qt::ControlModifier;
    return QTableView::moveCursor(action, modifiers);
}

void DBGrid::setMultiSelect(bool on)
{
    m_multi = on;
    if (!on)
        m_selected.clear();
    repaintSelection();
}

void DBGrid::clearSelectedRows()
{
    m_selected.clear();
    m_anchor = {};
    scheduleSelectionRepaint();
}

void DBGrid::selectRow(const Bookmark &b, bool selected)
{
    if (!b.isValid() || isRowSelected(b) == selected)
        return;
    if (selected)
        m_selected.append(b);
    else
        m_selected.removeIf([&b](const Bookmark &s) { return s.id == b.id; });
    scheduleSelectionRepaint();
}

bool DBGrid::isRowSelected(const Bookmark &b) const
{
    return std::any_of(m_selected.begin(), m_selected.end(), [&b](const Bookmark &s) { return s.id == b.id; });
}

void DBGrid::scheduleSelectionRepaint()
{
    // Owners select rows one by one while walking the table: recompute once afterwards.
    if (m_repaintPending)
        return;
    m_repaintPending = true;
    QMetaObject::invokeMethod(this, [this] {
        m_repaintPending = false;
        repaintSelection();
    }, Qt::QueuedConnection);
}

// Shows exactly the rows of SelectedRows (or the current row) as selected, at their present
// positions; bookmarks of rows that left the view are dropped on the way.
void DBGrid::repaintSelection()
{
    Dataset *d = dataset();
    const int rowCount = m_model.rowCount(), columns = m_model.columnCount();
    QList<int> rows;
    if (d && d->active()) {
        // The current row always shows: commands act on it together with the selection.
        if (d->displayRow() >= 0 && d->displayRow() < rowCount)
            rows << d->displayRow();
        if (m_multi) {
            GuardedPosted([&] {
                for (auto it = m_selected.begin(); it != m_selected.end();) {
                    const int row = d->rowOf(*it);
                    if (row < 0) {
                        it = m_selected.erase(it);
                        continue;
                    }
                    if (row < rowCount)
                        rows << row;
                    ++it;
                }
            });
        }
    }
    std::sort(rows.begin(), rows.end());
    QItemSelection selection;
    for (qsizetype i = 0; i < rows.size() && columns > 0;) {
        qsizetype j = i;
        while (j + 1 < rows.size() && rows[j + 1] <= rows[j] + 1)
            ++j;
        selection.select(m_model.index(rows[i], 0), m_model.index(rows[j], columns - 1));
        i = j + 1;
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void DBGrid::mousePressEvent(QMouseEvent *e)
{
    emit mousePressed(e->modifiers());
    const QModelIndex at = indexAt(e->position().toPoint());
    // The click sets the selection itself below.
    QScopedValueRollback gesture(m_gesture, Gesture::Keep);
    QTableView::mousePressEvent(e);
    Dataset *d = dataset();
    if (e->button() != Qt::LeftButton || !at.isValid() || !d || !d->active() || d->currentRow() != at.row())
        return;
    if (m_multi) {
        m_anchor = {};
        Guarded([&] {
            const Bookmark b = d->bookmark();
            if (e->modifiers() & Qt::ControlModifier)
                selectRow(b, !isRowSelected(b));
            else
                m_selected = {b};
        });
        repaintSelection();
    }
    emit cellClicked(at.row(), at.column());
}

void DBGrid::mouseDoubleClickEvent(QMouseEvent *e)
{
    QTableView::mouseDoubleClickEvent(e);
    emit doubleClicked();
}

void DBGrid::keyPressEvent(QKeyEvent *e)
{
    emit keyPressed(e);
    // A move with Shift extends the selection, with Ctrl keeps it; any other leaves the new row alone.
    const Qt::KeyboardModifiers mods = e->modifiers();
    QScopedValueRollback gesture(m_gesture, mods & Qt::ShiftModifier     ? Gesture::Extend
                                            : mods & Qt::ControlModifier ? Gesture::Keep
                                                                         : Gesture::Move);
    // Shift takes the row it leaves along, however the cursor came there (opening, Ctrl, the program).
    if (Dataset *d = dataset(); m_gesture == Gesture::Extend && d && d->active())
        GuardedPosted([&] { m_extendFrom = d->bookmark(); });
    QTableView::keyPressEvent(e);
}

void DBGrid::keyReleaseEvent(QKeyEvent *e)
{
    emit keyReleased(e);
    QTableView::keyReleaseEvent(e);
}

namespace {
// A ticked or unticked box, as grids paint Boolean cells.
QPixmap CheckPicture(bool ticked)
{
    QPixmap pm(17, 17);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(2, 2, 12, 12);
    if (ticked) {
        p.setPen(QPen(Qt::black, 2));
        p.drawLine(4, 8, 7, 11);
        p.drawLine(7, 11, 12, 4);
    }
    return pm;
}
} // namespace

DBGrid::CellPainter CheckCellPainter(DBGrid *grid)
{
    const QPixmap ticked = CheckPicture(true), unticked = CheckPicture(false);
    return [grid, ticked, unticked](QPainter *p, const QRect &r, int row, int, Field &f) {
        if (f.type() != FieldType::Logical)
            return false;
        const std::optional<QVariant> value = grid->model().read(row, f.index());
        if (!value)
            return false; // unreadable: blank, as the grid shows the row's other cells
        const QPixmap &pm = value->toBool() ? ticked : unticked;
        const QPalette &colours = grid->palette();
        p->fillRect(r, row == f.dataset()->displayRow() ? colours.highlight() : colours.base());
        p->drawPixmap(r.left() + (r.width() - pm.width()) / 2, r.top() + (r.height() - pm.height()) / 2, pm);
        return true;
    };
}
