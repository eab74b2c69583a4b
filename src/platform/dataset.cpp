#include "platform/dataset.h"

#include <limits>
#include <numeric>

#include "platform/cp949.h"
#include "platform/dialogs.h"
#include "platform/editmask.h"
#include "platform/sqltranslate.h"

#include <QTimer>
#include <sqlite3.h>

namespace {
constexpr int RowCacheLimit = 4096;

QStringList splitNames(const QString &names)
{
    QStringList out;
    for (const QString &n : names.split(u';', Qt::SkipEmptyParts))
        if (!n.trimmed().isEmpty())
            out << n.trimmed();
    return out;
}

QString quoted(const QString &name)
{
    return QStringLiteral("\"%1\"").arg(name);
}

// A new row with every field, bound in the fields' order.
QString insertSql(const TableDef &def)
{
    QStringList cols, marks;
    for (const FieldDef &f : def.fields) {
        cols << quoted(f.name);
        marks << QStringLiteral("?");
    }
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(quoted(def.name), cols.join(u','), marks.join(u','));
}

QVariant fromStorage(FieldType type, const QVariant &v)
{
    if (v.isNull())
        return v;
    if (type == FieldType::Logical)
        return QVariant(v.toLongLong() != 0);
    if (type == FieldType::Short)
        return QVariant(int(v.toLongLong()));
    return v;
}
} // namespace

// ---------------------------------------------------------------------------------------------
// Field

Field::Field(Dataset *dataset, int index, FieldDef def)
    : m_dataset(dataset), m_index(index), m_def(std::move(def))
{
}

QVariant Field::value() const
{
    return m_dataset->fieldValue(m_index);
}

bool Field::isNull() const
{
    const QVariant v = value();
    return v.isNull() || !v.isValid();
}

QString Field::asString() const
{
    const QVariant v = value();
    if (v.isNull())
        return {};
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    return v.toString();
}

int Field::asInteger() const
{
    const QVariant v = value();
    if (v.isNull())
        return 0;
    if (v.typeId() == QMetaType::QString) {
        bool ok = false;
        const int i = v.toString().trimmed().toInt(&ok);
        if (!ok && !v.toString().trimmed().isEmpty())
            throw DbError(DbError::General,
                          QStringLiteral("'%1' is not a valid integer value").arg(v.toString()));
        return i;
    }
    return v.toInt();
}

bool Field::asBoolean() const
{
    const QVariant v = value();
    return !v.isNull() && v.toBool();
}

double Field::asFloat() const
{
    return value().toDouble();
}

QByteArray Field::asBytes() const
{
    return value().toByteArray();
}

QString Field::displayText() const
{
    const QString s = asString();
    if (m_def.mask.isEmpty() || s.isEmpty())
        return s;
    return EditMask(m_def.mask).display(s);
}

void Field::setValue(const QVariant &v)
{
    m_dataset->setFieldValue(m_index, v);
}

// ---------------------------------------------------------------------------------------------
// Dataset

Dataset::Dataset(Database *db, QObject *parent) : QObject(parent), m_db(db)
{
    // What failed while another program held the register is read again, and every control shows it.
    if (db)
        connect(db, &Database::readableAgain, this, [this] {
            if (active())
                markStale();
        });
}

Dataset::~Dataset() = default;

void Dataset::checkActive() const
{
    if (m_state == DatasetState::Inactive)
        throw DbError(DbError::General, QStringLiteral("Cannot perform this operation on a closed dataset."));
}

void Dataset::open()
{
    if (active())
        return;
    doOpen();
    buildFields();
    m_filterExpr = FilterExpr::parse(m_filterText, fieldNames());
    m_state = DatasetState::Browse;
    m_stale = false;
    m_rowCache.clear();
    m_positionsValid = false;
    try {
        m_ids = loadView();
    } catch (...) {
        m_state = DatasetState::Inactive;
        doClose();
        throw;
    }
    m_pos = m_ids.isEmpty() ? -1 : 0;
    m_bof = true;
    m_eof = m_ids.isEmpty();
    emit stateChanged();
    emit linkedRowChanged();
    notifyDataSet();
}

void Dataset::close()
{
    if (!active())
        return;
    m_state = DatasetState::Inactive;
    m_ids.clear();
    m_pos = -1;
    m_eof = m_bof = true;
    m_buffer.clear();
    m_modified = false;
    m_rowCache.clear();
    m_positionsValid = false;
    doClose();
    emit stateChanged();
    emit linkedRowChanged();
    notifyDataSet();
}

void Dataset::buildFields()
{
    const QList<FieldDef> defs = describeFields();
    m_fields.clear();
    for (int i = 0; i < defs.size(); ++i) {
        FieldDef d = defs[i];
        for (const FieldDef &declared : m_declared) {
            if (declared.name.compare(d.name, Qt::CaseInsensitive) == 0) {
                if (!declared.label.isEmpty())
                    d.label = declared.label;
                if (!declared.mask.isEmpty())
                    d.mask = declared.mask;
                d.visible = declared.visible;
            }
        }
        m_fields.push_back(std::make_unique<Field>(this, i, d));
    }
}

Field *Dataset::findField(const QString &name)
{
    for (auto &f : m_fields)
        if (f->name().compare(name, Qt::CaseInsensitive) == 0)
            return f.get();
    return nullptr;
}

Field &Dataset::fieldByName(const QString &name)
{
    if (Field *f = findField(name))
        return *f;
    throw DbError(DbError::General, QStringLiteral("Field '%1' not found.").arg(name));
}

QStringList Dataset::fieldNames() const
{
    QStringList out;
    for (const auto &f : m_fields)
        out << f->name();
    return out;
}

void Dataset::setState(DatasetState s)
{
    if (m_state == s)
        return;
    const bool insertChange = m_state == DatasetState::Insert || s == DatasetState::Insert;
    m_state = s;
    emit stateChanged();
    if (insertChange)
        emit linkedRowChanged();
}

void Dataset::markStale()
{
    m_stale = true;
    m_rowCache.clear();
    if (!active() || m_notifyPending)
        return;
    m_notifyPending = true;
    QTimer::singleShot(0, this, [this] {
        m_notifyPending = false;
        if (active()) // a failure leaves it stale: the next read tries again
            GuardedPosted([this] {
                ensureFresh();
                notifyDataSet();
            });
    });
}

void Dataset::ensureFresh()
{
    if (m_stale && active()) {
        m_stale = false;
        try {
            refreshView();
        } catch (...) {
            m_stale = true;
            throw;
        }
        if (m_rewind) { // a detail starts on its first row when the master moves
            m_rewind = false;
            m_pos = m_ids.isEmpty() ? -1 : 0;
            m_bof = true;
            m_eof = m_ids.isEmpty();
            emit linkedRowChanged();
        }
    }
}

void Dataset::refreshView()
{
    const qint64 current = (m_pos >= 0 && m_pos < m_ids.size()) ? m_ids[m_pos] : -1;
    const int oldPos = m_pos;
    m_ids = loadView();
    m_positionsValid = false;
    m_rowCache.clear();
    int pos = current >= 0 ? positionOf(current) : -1;
    if (pos < 0)
        pos = m_ids.isEmpty() ? -1 : std::clamp(oldPos, 0, int(m_ids.size()) - 1);
    m_pos = pos;
    m_eof = m_eof && !m_ids.isEmpty() ? m_pos == int(m_ids.size()) - 1 : m_ids.isEmpty();
    if (m_ids.isEmpty())
        m_bof = true;
    const qint64 now = m_pos >= 0 ? m_ids[m_pos] : -1;
    if (now != current)
        emit linkedRowChanged();
}

int Dataset::positionOf(qint64 id)
{
    if (!m_positionsValid) {
        m_positions.clear();
        m_positions.reserve(m_ids.size());
        for (int i = 0; i < m_ids.size(); ++i)
            m_positions.insert(m_ids[i], i);
        m_positionsValid = true;
    }
    return m_positions.value(id, -1);
}

void Dataset::invalidateRow(qint64 id)
{
    m_rowCache.remove(id);
}

const QVector<QVariant> &Dataset::currentValues()
{
    static const QVector<QVariant> none;
    if (m_pos < 0 || m_pos >= m_ids.size())
        return none;
    const qint64 id = m_ids[m_pos];
    auto it = m_rowCache.find(id);
    if (it == m_rowCache.end()) {
        if (m_rowCache.size() >= RowCacheLimit)
            m_rowCache.clear();
        it = m_rowCache.insert(id, fetchRow(id));
    }
    return *it;
}

QVariant Dataset::valueAt(int row, int fieldIndex)
{
    ensureFresh();
    if (row == displayRow() && (m_state == DatasetState::Edit || m_state == DatasetState::Insert))
        return m_buffer.value(fieldIndex);
    if (row < 0 || row >= m_ids.size())
        return {};
    const qint64 id = m_ids[row];
    auto it = m_rowCache.find(id);
    if (it == m_rowCache.end()) {
        if (m_rowCache.size() >= RowCacheLimit)
            m_rowCache.clear();
        it = m_rowCache.insert(id, fetchRow(id));
    }
    return fetchLazyValue(id, fieldIndex, *it);
}

QVariant Dataset::fieldValue(int index)
{
    switch (m_state) {
    case DatasetState::Inactive:
        throw DbError(DbError::General, QStringLiteral("Cannot perform this operation on a closed dataset."));
    case DatasetState::SetKey:
        return m_keyBuffer.value(index);
    case DatasetState::Edit:
    case DatasetState::Insert:
        return m_buffer.value(index);
    case DatasetState::Browse:
        ensureFresh();
        if (m_pos < 0)
            return {};
        return fetchLazyValue(m_ids[m_pos], index, currentValues());
    }
    return {};
}

void Dataset::setFieldValue(int index, const QVariant &v)
{
    switch (m_state) {
    case DatasetState::SetKey:
        m_keyBuffer[index] = v;
        m_keySet[index] = true;
        return;
    case DatasetState::Edit:
    case DatasetState::Insert:
        m_buffer[index] = v;
        m_changed[index] = true;
        m_modified = true;
        notifyRecord(index);
        return;
    default:
        throw DbError(DbError::General, QStringLiteral("Dataset not in edit or insert mode."));
    }
}

void Dataset::moveTo(int pos)
{
    if (pos == m_pos)
        return;
    m_pos = pos;
    notifyScroll();
}

void Dataset::notifyScroll()
{
    emit linkedRowChanged();
    if (m_disableCount > 0)
        m_pendingDataSet = true;
    else
        emit scrolled();
}

void Dataset::notifyDataSet()
{
    if (m_disableCount > 0)
        m_pendingDataSet = true;
    else
        emit dataSetChanged();
}

void Dataset::notifyRecord(int fieldIndex)
{
    if (m_disableCount > 0)
        m_pendingDataSet = true;
    else
        emit recordChanged(fieldIndex);
}

void Dataset::disableControls()
{
    ++m_disableCount;
}

void Dataset::enableControls()
{
    if (m_disableCount == 0)
        return;
    if (--m_disableCount == 0 && m_pendingDataSet) {
        m_pendingDataSet = false;
        emit dataSetChanged();
    }
}

void Dataset::checkBrowseMode()
{
    checkActive();
    if (m_state == DatasetState::Edit || m_state == DatasetState::Insert) {
        if (m_modified)
            post();
        else
            cancel();
    } else if (m_state == DatasetState::SetKey) {
        setState(DatasetState::Browse);
    }
}

void Dataset::first()
{
    checkBrowseMode();
    ensureFresh();
    moveTo(m_ids.isEmpty() ? -1 : 0);
    m_bof = true;
    m_eof = m_ids.isEmpty();
}

void Dataset::last()
{
    checkBrowseMode();
    ensureFresh();
    moveTo(int(m_ids.size()) - 1);
    m_eof = true;
    m_bof = m_ids.isEmpty();
}

void Dataset::next()
{
    checkBrowseMode();
    ensureFresh();
    if (m_pos + 1 < m_ids.size()) {
        moveTo(m_pos + 1);
        m_bof = m_eof = false;
    } else {
        m_eof = true;
    }
}

void Dataset::prior()
{
    checkBrowseMode();
    ensureFresh();
    if (m_pos > 0) {
        moveTo(m_pos - 1);
        m_bof = m_eof = false;
    } else {
        m_bof = true;
    }
}

int Dataset::moveBy(int distance)
{
    checkBrowseMode();
    ensureFresh();
    if (m_ids.isEmpty())
        return 0;
    const int target = std::clamp(m_pos + distance, 0, int(m_ids.size()) - 1);
    const int moved = target - m_pos;
    m_bof = distance < 0 && target == 0 && moved != distance;
    m_eof = distance > 0 && target == m_ids.size() - 1 && moved != distance;
    moveTo(target);
    return moved;
}

int Dataset::recordCount()
{
    checkActive();
    ensureFresh();
    return int(m_ids.size());
}

int Dataset::recNo()
{
    checkActive();
    ensureFresh();
    return m_pos + 1;
}

void Dataset::setRecNo(int recNo)
{
    checkBrowseMode();
    ensureFresh();
    if (recNo >= 1 && recNo <= m_ids.size()) {
        moveTo(recNo - 1);
        m_bof = m_eof = false;
    }
}

Bookmark Dataset::bookmark()
{
    checkActive();
    ensureFresh();
    return Bookmark{m_pos >= 0 ? m_ids[m_pos] : -1};
}

bool Dataset::bookmarkValid(const Bookmark &b)
{
    if (!active() || !b.isValid())
        return false;
    ensureFresh();
    return positionOf(b.id) >= 0;
}

int Dataset::rowOf(const Bookmark &b)
{
    if (!active() || !b.isValid())
        return -1;
    ensureFresh();
    return positionOf(b.id);
}

bool Dataset::gotoBookmark(const Bookmark &b)
{
    checkBrowseMode();
    ensureFresh();
    const int pos = b.isValid() ? positionOf(b.id) : -1;
    if (pos < 0)
        return false;
    moveTo(pos);
    m_bof = m_eof = false;
    return true;
}

void Dataset::setFilter(const QString &filter)
{
    if (filter == m_filterText)
        return;
    if (active()) {
        FilterExpr parsed = FilterExpr::parse(filter, fieldNames());
        checkBrowseMode();
        m_filterExpr = std::move(parsed);
    }
    m_filterText = filter;
    if (active() && m_filtered) {
        refreshView();
        notifyDataSet();
    }
}

void Dataset::setFiltered(bool on)
{
    if (on == m_filtered)
        return;
    if (active())
        checkBrowseMode();
    m_filtered = on;
    if (active()) {
        refreshView();
        notifyDataSet();
    }
}

bool Dataset::locate(const QString &fieldNames, const QVariantList &values, bool partialKey,
                     bool caseInsensitive)
{
    checkBrowseMode();
    ensureFresh();
    QVector<int> idx;
    for (const QString &n : splitNames(fieldNames))
        idx << fieldByName(n).index();
    const int row = locateRow(idx, values, partialKey, caseInsensitive);
    if (row < 0)
        return false;
    moveTo(row);
    m_bof = m_eof = false;
    return true;
}

int Dataset::locateRow(const QVector<int> &fields, const QVariantList &values, bool partialKey,
                       bool caseInsensitive)
{
    const Qt::CaseSensitivity cs = caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive;
    for (int row = 0; row < m_ids.size(); ++row) {
        bool all = true;
        for (int k = 0; k < fields.size() && all; ++k) {
            const QVariant have = valueAt(row, fields[k]);
            const QVariant want = values.value(k);
            if (want.typeId() == QMetaType::QString || have.typeId() == QMetaType::QString) {
                const QString h = have.toString(), w = want.toString();
                all = partialKey ? h.startsWith(w, cs) : h.compare(w, cs) == 0;
            } else {
                all = have == want;
            }
        }
        if (all)
            return row;
    }
    return -1;
}

QVector<QVariant> Dataset::newRowValues()
{
    return QVector<QVariant>(fieldCount());
}

void Dataset::append()
{
    checkBrowseMode();
    ensureFresh();
    m_posBeforeInsert = m_pos;
    m_buffer = newRowValues();
    m_changed = QVector<bool>(fieldCount(), false);
    m_modified = false;
    setState(DatasetState::Insert);
    notifyRecord(-1);
}

void Dataset::edit()
{
    checkActive();
    if (m_state == DatasetState::Edit || m_state == DatasetState::Insert)
        return;
    checkBrowseMode();
    ensureFresh();
    if (m_ids.isEmpty()) {
        append();
        return;
    }
    m_buffer = currentValues();
    m_buffer.resize(fieldCount());
    for (int i = 0; i < fieldCount(); ++i)
        m_buffer[i] = fetchLazyValue(m_ids[m_pos], i, m_buffer);
    m_changed = QVector<bool>(fieldCount(), false);
    m_modified = false;
    setState(DatasetState::Edit);
}

void Dataset::post()
{
    checkActive();
    if (m_state == DatasetState::SetKey) {
        setState(DatasetState::Browse);
        return;
    }
    if (m_state != DatasetState::Edit && m_state != DatasetState::Insert)
        return;
    const bool inserting = m_state == DatasetState::Insert;
    qint64 id = inserting ? -1 : m_ids[m_pos];
    storeRow(inserting, id, m_buffer, m_changed); // throws: the row stays in edit with what was typed
    const QVector<bool> changed = m_changed;
    m_buffer.clear();
    m_modified = false;
    m_state = DatasetState::Browse; // without the signal until the cursor is right
    if (inserting || viewDependsOn(changed)) {
        m_ids = loadView();
        m_positionsValid = false;
        m_rowCache.clear();
        int pos = positionOf(id);
        if (pos < 0)
            pos = m_ids.isEmpty() ? -1 : std::clamp(inserting ? m_posBeforeInsert : m_pos, 0, int(m_ids.size()) - 1);
        m_pos = pos;
        m_eof = m_bof = false;
        emit stateChanged();
        emit linkedRowChanged();
        notifyDataSet();
    } else {
        invalidateRow(id);
        emit stateChanged();
        notifyRecord(-1);
    }
}

void Dataset::cancel()
{
    if (m_state == DatasetState::SetKey) {
        setState(DatasetState::Browse);
        return;
    }
    if (m_state != DatasetState::Edit && m_state != DatasetState::Insert)
        return;
    const bool inserting = m_state == DatasetState::Insert;
    m_buffer.clear();
    m_modified = false;
    setState(DatasetState::Browse);
    if (inserting && m_posBeforeInsert != m_pos)
        moveTo(m_posBeforeInsert);
    notifyRecord(-1);
}

void Dataset::deleteRecord()
{
    checkActive();
    if (m_state == DatasetState::Insert) {
        cancel();
        return;
    }
    if (m_state == DatasetState::Edit)
        cancel();
    ensureFresh();
    if (m_pos < 0)
        throw DbError(DbError::General, QStringLiteral("Cannot perform this operation on an empty dataset."));
    removeRow(m_ids[m_pos]);
    m_ids.remove(m_pos);
    m_positionsValid = false;
    if (m_pos >= m_ids.size())
        m_pos = int(m_ids.size()) - 1;
    m_eof = m_ids.isEmpty();
    emit linkedRowChanged();
    notifyDataSet();
}

void Dataset::storeRow(bool, qint64 &, const QVector<QVariant> &, const QVector<bool> &)
{
    throw DbError(DbError::ReadOnlyDataset, QStringLiteral("Cannot modify a read-only dataset."));
}

void Dataset::removeRow(qint64)
{
    throw DbError(DbError::ReadOnlyDataset, QStringLiteral("Cannot modify a read-only dataset."));
}

bool Dataset::viewDependsOn(const QVector<bool> &) const
{
    return true;
}

// ---------------------------------------------------------------------------------------------
// Table

Table::Table(Database *db, const QString &tableName, QObject *parent)
    : Dataset(db, parent), m_tableName(tableName)
{
    connect(db, &Database::tablesChanged, this, &Table::onTablesChanged);
}

void Table::doOpen()
{
    const TableDef *def = m_db->tableDef(m_tableName);
    if (!def)
        throw DbError(DbError::NoSuchTable, QStringLiteral("Table does not exist: %1").arg(m_tableName));
    m_db->verifyTable(*def);
    m_def = *def;
    if (!m_indexName.isEmpty() && !m_def.index(m_indexName))
        throw DbError(DbError::General, QStringLiteral("Index does not exist. Index: %1").arg(m_indexName));
    for (const QString &f : m_order)
        if (!m_def.field(f))
            throw DbError(DbError::General, QStringLiteral("Field '%1' not found.").arg(f));
    QStringList cols;
    m_fetched.clear();
    for (int i = 0; i < m_def.fields.size(); ++i) {
        if (m_def.fields[i].type == FieldType::Graphic)
            continue;
        cols << quoted(m_def.fields[i].name);
        m_fetched << i;
    }
    m_fetch = std::make_unique<Statement>(
        *m_db, QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?").arg(cols.join(u','), quoted(m_def.name)));
    if (m_order.isEmpty() && !m_indexName.isEmpty())
        m_order = m_def.index(m_indexName)->fields;
}

void Table::doClose()
{
    m_fetch.reset();
    m_view.reset();
    m_viewSql.clear();
}

QList<FieldDef> Table::describeFields()
{
    return m_def.fields;
}

void Table::setIndexName(const QString &name)
{
    if (active()) {
        if (!name.isEmpty() && !m_def.index(name))
            throw DbError(DbError::General, QStringLiteral("Index does not exist. Index: %1").arg(name));
        checkBrowseMode();
    }
    m_indexName = name;
    m_order.clear();
    if (active()) {
        if (!name.isEmpty())
            m_order = m_def.index(name)->fields;
        refreshView();
        notifyDataSet();
    }
}

void Table::setIndexFieldNames(const QString &names)
{
    const QStringList fields = splitNames(names);
    if (active()) {
        for (const QString &f : fields)
            if (!m_def.field(f))
                throw DbError(DbError::General, QStringLiteral("Field '%1' not found.").arg(f));
        checkBrowseMode();
    }
    m_indexName.clear();
    m_order = fields;
    if (active()) {
        refreshView();
        notifyDataSet();
    }
}

QString Table::indexFieldNames() const
{
    return m_indexName.isEmpty() ? m_order.join(u';') : QString();
}

void Table::setMasterSource(DataSource *master, const QString &masterFields, const QString &detailFields)
{
    m_master = master;
    m_masterFields = splitNames(masterFields);
    m_detailFields = detailFields.isEmpty() ? m_masterFields : splitNames(detailFields);
    if (master && master->dataset()) {
        connect(master->dataset(), &Dataset::linkedRowChanged, this, [this] {
            if (!active())
                return;
            if (state() != DatasetState::Browse)
                cancel();
            m_rewind = true;
            Dataset *md = m_master ? m_master->dataset() : nullptr;
            if (md && md->controlsDisabled()) {
                // A walk over the master: read the rows only if someone asks for them.
                markStale();
                return;
            }
            m_stale = true;
            GuardedPosted([this] { ensureFresh(); }); // a failure leaves it stale: the next read tries again
            notifyDataSet();
        });
    }
}

QString Table::whereClause(QVariantList &binds) const
{
    QStringList parts;
    if (filtered() && !filterExpr().isEmpty()) {
        QStringList cols;
        for (const FieldDef &f : m_def.fields)
            cols << f.name;
        parts << filterExpr().toSql(cols, binds);
    }
    if (m_master) {
        Dataset *md = m_master->dataset();
        const bool masterRow = md && md->active() && (md->state() == DatasetState::Insert ||
                                                      md->currentRow() >= 0);
        if (!masterRow) {
            parts << QStringLiteral("0");
        } else {
            for (int i = 0; i < m_masterFields.size(); ++i) {
                parts << QStringLiteral("%1 = ?").arg(quoted(m_detailFields.value(i)));
                binds << md->fieldByName(m_masterFields[i]).value();
            }
        }
    }
    return parts.isEmpty() ? QString() : QStringLiteral(" WHERE ") + parts.join(QStringLiteral(" AND "));
}

QString Table::orderClause() const
{
    QStringList cols;
    for (const QString &f : m_order)
        cols << quoted(f);
    for (const QString &k : m_def.key)
        if (!m_order.contains(k, Qt::CaseInsensitive))
            cols << quoted(k);
    cols << QStringLiteral("rowid");
    return QStringLiteral(" ORDER BY ") + cols.join(u',');
}

QVector<qint64> Table::loadView()
{
    QVariantList binds;
    const QString sql = QStringLiteral("SELECT rowid FROM %1%2%3").arg(quoted(m_def.name), whereClause(binds), orderClause());
    // A detail reloads on every move of its master: keep the statement prepared.
    if (!m_view || m_viewSql != sql) {
        m_view = std::make_unique<Statement>(*m_db, sql);
        m_viewSql = sql;
    }
    m_view->reset();
    for (int i = 0; i < binds.size(); ++i)
        m_view->bind(i + 1, binds[i]);
    QVector<qint64> ids;
    while (m_view->step())
        ids.append(m_view->columnInt64(0));
    m_view->reset();
    return ids;
}

QVector<QVariant> Table::fetchRow(qint64 id)
{
    m_fetch->reset();
    m_fetch->bind(1, id);
    QVector<QVariant> row(m_def.fields.size());
    if (m_fetch->step())
        for (int c = 0; c < m_fetched.size(); ++c)
            row[m_fetched[c]] = fromStorage(m_def.fields[m_fetched[c]].type, m_fetch->column(c));
    m_fetch->reset();
    return row;
}

QVariant Table::fetchLazyValue(qint64 id, int fieldIndex, const QVector<QVariant> &row)
{
    if (m_def.fields.value(fieldIndex).type != FieldType::Graphic)
        return row.value(fieldIndex);
    Statement st(*m_db, QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
                            .arg(quoted(m_def.fields[fieldIndex].name), quoted(m_def.name)));
    st.bind(1, id);
    return st.step() ? st.column(0) : QVariant();
}

QVariant StoredValue(const FieldDef &f, const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return {};
    switch (f.type) {
    case FieldType::Text: {
        QString s = v.toString();
        int end = int(s.size());
        while (end > 0 && s[end - 1] == u' ')
            --end;
        s.truncate(end);
        if (f.size > 0)
            s = cp949::cutToBytes(s, f.size);
        return s.isEmpty() ? QVariant() : QVariant(s);
    }
    case FieldType::Memo: {
        const QString s = v.toString();
        return s.isEmpty() ? QVariant() : QVariant(s);
    }
    case FieldType::Logical:
        if (v.typeId() == QMetaType::QString) {
            const QString s = v.toString().trimmed();
            if (s.isEmpty())
                return {};
            return QVariant(s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
                            s.compare(QLatin1String("T"), Qt::CaseInsensitive) == 0 || s == QLatin1String("1"));
        }
        return QVariant(v.toBool());
    case FieldType::Short: {
        bool ok = false;
        const qlonglong n = v.typeId() == QMetaType::QString ? v.toString().trimmed().toLongLong(&ok)
                                                              : v.toLongLong(&ok);
        if (v.typeId() == QMetaType::QString && v.toString().trimmed().isEmpty())
            return {};
        if (!ok || n < -32768 || n > 32767)
            throw DbError(DbError::General,
                          QStringLiteral("'%1' is not a valid value for field '%2'.").arg(v.toString(), f.name));
        return QVariant(int(n));
    }
    case FieldType::Graphic: {
        const QByteArray b = v.toByteArray();
        return b.isEmpty() ? QVariant() : QVariant(b);
    }
    case FieldType::Integer: return QVariant(v.toLongLong());
    case FieldType::Float: return QVariant(v.toDouble());
    }
    return v;
}

void Table::storeRow(bool inserting, qint64 &id, const QVector<QVariant> &values, const QVector<bool> &changed)
{
    m_writing = true;
    struct Reset { bool &flag; ~Reset() { flag = false; } } reset{m_writing};
    QVector<QVariant> stored(values.size());
    for (int i = 0; i < values.size(); ++i)
        stored[i] = StoredValue(m_def.fields[i], values[i]);
    if (inserting) {
        Statement st(*m_db, insertSql(m_def));
        for (int i = 0; i < stored.size(); ++i)
            st.bind(i + 1, stored[i]);
        st.step();
        id = sqlite3_last_insert_rowid(m_db->handle());
    } else {
        QStringList sets;
        QVariantList binds;
        for (int i = 0; i < stored.size(); ++i) {
            if (!changed.value(i))
                continue;
            sets << QStringLiteral("%1 = ?").arg(quoted(m_def.fields[i].name));
            binds << stored[i];
        }
        if (!sets.isEmpty()) {
            Statement st(*m_db, QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                                    .arg(quoted(m_def.name), sets.join(u',')));
            for (int i = 0; i < binds.size(); ++i)
                st.bind(i + 1, binds[i]);
            st.bind(int(binds.size()) + 1, id);
            st.step();
        }
    }
    m_db->flushChanges();
}

void Table::removeRow(qint64 id)
{
    m_writing = true;
    struct Reset { bool &flag; ~Reset() { flag = false; } } reset{m_writing};
    Statement st(*m_db, QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoted(m_def.name)));
    st.bind(1, id);
    st.step();
    m_db->flushChanges();
}

QVector<QVariant> Table::newRowValues()
{
    QVector<QVariant> row(m_def.fields.size());
    for (int i = 0; i < row.size(); ++i)
        row[i] = m_def.fields[i].defaultValue;
    if (m_master && m_master->dataset() && m_master->dataset()->active()) {
        for (int i = 0; i < m_masterFields.size(); ++i) {
            const int d = m_def.fieldIndex(m_detailFields.value(i));
            if (d >= 0)
                row[d] = m_master->dataset()->fieldByName(m_masterFields[i]).value();
        }
    }
    m_changed = QVector<bool>(row.size(), false);
    return row;
}

bool Table::viewDependsOn(const QVector<bool> &changedFields) const
{
    if (filtered() && !filterExpr().isEmpty())
        return true;
    for (int i = 0; i < changedFields.size(); ++i) {
        if (!changedFields[i])
            continue;
        const QString &name = m_def.fields[i].name;
        if (m_order.contains(name, Qt::CaseInsensitive) || m_def.key.contains(name, Qt::CaseInsensitive) ||
            m_detailFields.contains(name, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

int Table::locateRow(const QVector<int> &fields, const QVariantList &values, bool partialKey,
                     bool caseInsensitive)
{
    QVariantList binds;
    QString where = whereClause(binds);
    QStringList conds;
    for (int k = 0; k < fields.size(); ++k) {
        const FieldDef &f = m_def.fields[fields[k]];
        QString col = QStringLiteral("ifnull(%1,'')").arg(quoted(f.name));
        const QVariant want = values.value(k);
        const bool text = f.type == FieldType::Text || f.type == FieldType::Memo;
        if (text && partialKey)
            col = QStringLiteral("substr(%1,1,length(?))").arg(col), binds << want.toString();
        if (text && caseInsensitive) // the original folded only a to z, as lower() does
            conds << QStringLiteral("lower(%1) = lower(?)").arg(col);
        else
            conds << QStringLiteral("%1 = ?").arg(col);
        binds << (text ? QVariant(want.toString()) : StoredValue(f, want));
    }
    const QString cond = conds.isEmpty() ? QStringLiteral("1") : conds.join(QStringLiteral(" AND "));
    where = where.isEmpty() ? QStringLiteral(" WHERE ") + cond : where + QStringLiteral(" AND ") + cond;
    Statement st(*m_db, QStringLiteral("SELECT rowid FROM %1%2%3 LIMIT 1").arg(quoted(m_def.name), where, orderClause()));
    for (int i = 0; i < binds.size(); ++i)
        st.bind(i + 1, binds[i]);
    return st.step() ? positionOf(st.columnInt64(0)) : -1;
}

void Table::onTablesChanged(const QSet<QString> &tables)
{
    if (!m_writing && active() && tables.contains(m_def.name))
        markStale();
}

void Table::setKey()
{
    checkBrowseMode();
    m_keyBuffer = QVector<QVariant>(fieldCount());
    m_keySet = QVector<bool>(fieldCount(), false);
    setState(DatasetState::SetKey);
}

bool Table::gotoKey()
{
    QVariantList values;
    for (const QString &f : m_order.isEmpty() ? m_def.key : m_order) {
        const int i = m_def.fieldIndex(f);
        if (i < 0 || !m_keySet.value(i))
            break;
        values << m_keyBuffer[i];
    }
    setState(DatasetState::Browse);
    return findKey(values);
}

void Table::gotoNearest()
{
    QVariantList values;
    for (const QString &f : m_order.isEmpty() ? m_def.key : m_order) {
        const int i = m_def.fieldIndex(f);
        if (i < 0 || !m_keySet.value(i))
            break;
        values << m_keyBuffer[i];
    }
    setState(DatasetState::Browse);
    findNearest(values);
}

std::optional<qint64> Table::searchKey(const QVariantList &values, bool nearest)
{
    const QStringList keyFields = m_order.isEmpty() ? m_def.key : m_order;
    if (values.isEmpty() || values.size() > keyFields.size())
        return std::nullopt;
    QVariantList binds;
    QString where = whereClause(binds);
    QStringList conds;
    QStringList cols;
    QVariantList keyBinds;
    for (int i = 0; i < values.size(); ++i) {
        const FieldDef &f = *m_def.field(keyFields[i]);
        const QVariant v = StoredValue(f, values[i]);
        cols << quoted(f.name);
        keyBinds << (v.isNull() && f.type == FieldType::Text ? QVariant(QString()) : v);
    }
    QString cond;
    if (nearest) {
        // Blank sorts first, as NULL does; a row-value comparison keeps the later key fields in order.
        QStringList lhs, rhs;
        for (int i = 0; i < cols.size(); ++i) {
            lhs << QStringLiteral("ifnull(%1,'')").arg(cols[i]);
            rhs << QStringLiteral("?");
        }
        cond = cols.size() == 1 ? QStringLiteral("%1 >= ?").arg(cols[0])
                                : QStringLiteral("(%1) >= (%2)").arg(lhs.join(u','), rhs.join(u','));
        if (cols.size() == 1 && keyBinds[0].toString().isEmpty())
            cond = QStringLiteral("1"), keyBinds.clear();
    } else {
        QStringList parts;
        for (int i = 0; i < cols.size(); ++i)
            parts << QStringLiteral("ifnull(%1,'') = ?").arg(cols[i]);
        cond = parts.join(QStringLiteral(" AND "));
        // An exact search on the leading field can use its index.
        if (!keyBinds[0].toString().isEmpty()) {
            cond += QStringLiteral(" AND %1 = ?").arg(cols[0]);
            keyBinds << keyBinds[0];
        }
    }
    where = where.isEmpty() ? QStringLiteral(" WHERE ") + cond : where + QStringLiteral(" AND ") + cond;
    Statement st(*m_db, QStringLiteral("SELECT rowid FROM %1%2%3 LIMIT 1").arg(quoted(m_def.name), where, orderClause()));
    int n = 1;
    for (const QVariant &b : binds)
        st.bind(n++, b);
    for (const QVariant &b : keyBinds)
        st.bind(n++, b);
    if (st.step())
        return st.columnInt64(0);
    return std::nullopt;
}

bool Table::findKey(const QVariantList &values)
{
    checkBrowseMode();
    ensureFresh();
    const auto id = searchKey(values, false);
    if (!id)
        return false;
    const int pos = positionOf(*id);
    if (pos < 0)
        return false;
    moveTo(pos);
    m_bof = m_eof = false;
    return true;
}

void Table::findNearest(const QVariantList &values)
{
    checkBrowseMode();
    ensureFresh();
    if (m_ids.isEmpty())
        return;
    const auto id = searchKey(values, true);
    const int pos = id ? positionOf(*id) : -1;
    moveTo(pos >= 0 ? pos : int(m_ids.size()) - 1);
    m_bof = m_eof = false;
}

void Table::emptyTable()
{
    checkBrowseMode();
    m_db->execute(QStringLiteral("DELETE FROM %1").arg(quoted(m_def.name)));
    ensureFresh();
    notifyDataSet();
}

// ---------------------------------------------------------------------------------------------
// Query

Query::Query(Database *db, QObject *parent) : Dataset(db, parent)
{
    if (db)
        connect(db, &Database::tablesChanged, this, [this] { m_counted.reset(); });
}

void Query::setSql(const QString &sql)
{
    close();
    m_sql = sql;
}

void Query::setParam(const QString &name, const QVariant &value)
{
    for (auto &p : m_params) {
        if (p.first.compare(name, Qt::CaseInsensitive) == 0) {
            p.second = value;
            return;
        }
    }
    m_params.append({name, value});
}

QVariant Query::param(const QString &name) const
{
    for (const auto &p : m_params)
        if (p.first.compare(name, Qt::CaseInsensitive) == 0)
            return p.second;
    return {};
}

int Query::execSql()
{
    close();
    return m_db->execute(m_sql, m_params);
}

void Query::append()
{
    throw DbError(DbError::ReadOnlyDataset, QStringLiteral("Cannot modify a read-only dataset."));
}

void Query::edit()
{
    throw DbError(DbError::ReadOnlyDataset, QStringLiteral("Cannot modify a read-only dataset."));
}

void Query::doOpen()
{
    const QString sql = translateSql(m_sql, m_db->catalog());
    m_cursor = std::make_unique<Statement>(*m_db, sql);
    Statement &st = *m_cursor;
    st.bindParameters(m_params);
    m_columns.clear();
    m_rows.clear();
    m_skip = 0;
    m_summary.clear();
    const int n = std::max(0, st.columnCount());
    m_typed = QVector<bool>(n, false);
    for (int i = 0; i < n; ++i) {
        FieldDef f;
        f.name = st.columnName(i);
        f.type = FieldType::Text;
        if (const TableDef *t = m_db->tableDef(st.originTable(i))) {
            if (const FieldDef *src = t->field(st.originColumn(i))) {
                const QString name = f.name;
                f = *src;
                f.name = name;
            }
        }
        m_typed[i] = !st.originTable(i).isEmpty();
        m_columns << f;
    }
    if (!m_fetchOnDemand && m_summaryExpressions.isEmpty()) {
        fetchUpTo(std::numeric_limits<qint64>::max());
        m_total = m_rows.size();
        return;
    }
    // One pass over the rows without their order gives the count and the summary.
    const QString rows = QStringLiteral(" FROM (") + WithoutOrderBy(sql) + QStringLiteral(")");
    QString aggregate = QStringLiteral("SELECT COUNT(*)");
    for (const QString &e : m_summaryExpressions)
        aggregate += QStringLiteral(", ") + e;
    const QString counted = aggregate + rows;
    if (!m_counted || m_counted->sql != counted || m_counted->params != m_params) {
        std::unique_ptr<Statement> count;
        bool summed = true;
        try {
            count = std::make_unique<Statement>(*m_db, counted);
        } catch (const DbError &) {
            // A summary over columns this result lacks reads as NULL; the count still holds.
            summed = false;
            count = std::make_unique<Statement>(*m_db, QStringLiteral("SELECT COUNT(*)") + rows);
        }
        count->bindParameters(m_params);
        count->step();
        m_counted = Counted{counted, m_params, count->columnInt64(0), {}};
        for (int i = 0; i < m_summaryExpressions.size(); ++i)
            m_counted->summary << (summed ? count->column(i + 1) : QVariant());
    }
    m_total = m_counted->total;
    m_summary = m_counted->summary;
    // The first row types the computed columns before anyone asks for the fields.
    fetchUpTo(m_fetchOnDemand ? 1 : std::numeric_limits<qint64>::max());
}

QVector<QVariant> Query::readRow()
{
    const int n = int(m_columns.size());
    QVector<QVariant> row(n);
    for (int i = 0; i < n; ++i) {
        row[i] = fromStorage(m_columns[i].type, m_cursor->column(i));
        if (!m_typed[i] && !row[i].isNull()) { // computed column: type from its first value
            m_typed[i] = true;
            const int t = row[i].typeId();
            m_columns[i].type = t == QMetaType::LongLong ? FieldType::Integer
                                : t == QMetaType::Double ? FieldType::Float
                                                         : FieldType::Text;
        }
    }
    return row;
}

void Query::fetchUpTo(qint64 count)
{
    while (m_cursor && m_rows.size() < count) {
        bool more = false;
        try {
            more = m_cursor->step();
        } catch (...) {
            m_skip = m_rows.size(); // a failed step starts the statement over: pass the rows held
            throw;
        }
        if (!more) {
            m_cursor.reset();
            break;
        }
        if (m_skip > 0)
            --m_skip;
        else
            m_rows.append(readRow());
    }
}

void Query::doClose()
{
    m_cursor.reset();
    m_rows.clear();
    m_rows.squeeze();
    m_summary.clear();
    m_total = 0;
}

QList<FieldDef> Query::describeFields()
{
    return m_columns;
}

QVector<qint64> Query::loadView()
{
    QVector<qint64> ids;
    const bool useFilter = filtered() && !filterExpr().isEmpty();
    if (!useFilter && m_fetchOnDemand) {
        ids.resize(qsizetype(m_total));
        std::iota(ids.begin(), ids.end(), qint64(0));
        return ids;
    }
    fetchUpTo(std::numeric_limits<qint64>::max());
    ids.reserve(m_rows.size());
    for (int i = 0; i < m_rows.size(); ++i)
        if (!useFilter || filterExpr().matches(m_rows[i]))
            ids.append(i);
    return ids;
}

QVector<QVariant> Query::fetchRow(qint64 id)
{
    fetchUpTo(id + 1);
    return m_rows.value(int(id));
}

// ---------------------------------------------------------------------------------------------
// TableAppender

TableAppender::TableAppender(Database &db, const QString &tableName) : m_db(db)
{
    const TableDef *def = db.tableDef(tableName);
    if (!def)
        throw DbError(DbError::NoSuchTable, QStringLiteral("Table does not exist: %1").arg(tableName));
    m_def = *def;
    m_insert = std::make_unique<Statement>(db, insertSql(m_def));
    cancel();
}

TableAppender::~TableAppender() = default;

void TableAppender::setValue(const QString &fieldName, const QVariant &value)
{
    const int i = m_def.fieldIndex(fieldName);
    if (i < 0)
        throw DbError(DbError::General, QStringLiteral("Field '%1' not found.").arg(fieldName));
    m_row[i] = value;
}

void TableAppender::post()
{
    struct Fresh { TableAppender &a; ~Fresh() { a.cancel(); } } fresh{*this};
    m_insert->reset();
    for (int i = 0; i < m_row.size(); ++i)
        m_insert->bind(i + 1, StoredValue(m_def.fields[i], m_row[i]));
    m_insert->step();
    m_db.flushChanges();
}

void TableAppender::cancel()
{
    m_row = QVector<QVariant>(m_def.fields.size());
    for (int i = 0; i < m_row.size(); ++i)
        m_row[i] = m_def.fields[i].defaultValue;
}

QString WithoutOrderBy(const QString &sql)
{
    // The last ORDER BY outside brackets and literals, when nothing but its terms follow it.
    int depth = 0, orderAt = -1;
    QChar quote;
    for (int i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char('(')) {
            ++depth;
        } else if (c == QLatin1Char(')')) {
            --depth;
        } else if (depth == 0 && sql.mid(i, 5).compare(QLatin1String("ORDER"), Qt::CaseInsensitive) == 0 &&
                   (i == 0 || !sql[i - 1].isLetterOrNumber()) &&
                   (i + 5 >= sql.size() || !sql[i + 5].isLetterOrNumber())) {
            orderAt = i;
        } else if (depth == 0 && orderAt >= 0 &&
                   sql.mid(i, 5).compare(QLatin1String("LIMIT"), Qt::CaseInsensitive) == 0) {
            return sql; // a limited result counts differently: keep it whole
        }
    }
    return orderAt >= 0 ? sql.left(orderAt) : sql;
}
