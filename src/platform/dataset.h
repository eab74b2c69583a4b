#pragma once
// Tables, queries and data sources as the windows use them: a cursor over rows in an order,
// with filters, bookmarks, key searches, editing states and change notifications.
#include "platform/database.h"
#include "platform/filterexpr.h"
#include "platform/tabledef.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QVector>
#include <memory>
#include <optional>

class Dataset;

enum class DatasetState { Inactive, Browse, Edit, Insert, SetKey };

class Field {
public:
    Field(Dataset *dataset, int index, FieldDef def);

    const QString &name() const { return m_def.name; }
    FieldType type() const { return m_def.type; }
    int size() const { return m_def.size; }
    int index() const { return m_index; }
    QString displayLabel() const { return m_def.label.isEmpty() ? m_def.name : m_def.label; }
    void setDisplayLabel(const QString &label) { m_def.label = label; }
    const QString &editMask() const { return m_def.mask; }
    void setEditMask(const QString &mask) { m_def.mask = mask; }
    bool visible() const { return m_def.visible; }
    void setVisible(bool v) { m_def.visible = v; }
    const FieldDef &def() const { return m_def; }
    Dataset *dataset() const { return m_dataset; }

    QVariant value() const;
    bool isNull() const;
    QString asString() const;   // NULL reads as ""
    int asInteger() const;      // NULL reads as 0
    bool asBoolean() const;     // NULL reads as false
    double asFloat() const;
    QByteArray asBytes() const;
    // The value through the field's edit mask, as grids and labels show it.
    QString displayText() const;

    void setValue(const QVariant &v);
    void setAsString(const QString &v) { setValue(v); }
    void setAsInteger(int v) { setValue(v); }
    void setAsBoolean(bool v) { setValue(v); }
    void clear() { setValue(QVariant()); }

private:
    Dataset *m_dataset;
    int m_index;
    FieldDef m_def;
};

// A row identity that survives inserts, deletions and order changes.
struct Bookmark {
    qint64 id = -1;
    bool isValid() const { return id >= 0; }
};

class Dataset : public QObject {
    Q_OBJECT
public:
    explicit Dataset(Database *db, QObject *parent = nullptr);
    ~Dataset() override;

    Database *database() const { return m_db; }

    void open();
    void close();
    bool active() const { return m_state != DatasetState::Inactive; }
    void setActive(bool a) { a ? open() : close(); }
    DatasetState state() const { return m_state; }

    // Fields
    int fieldCount() const { return int(m_fields.size()); }
    Field &field(int i) { return *m_fields[i]; }
    Field &fieldByName(const QString &name);
    Field *findField(const QString &name);
    QStringList fieldNames() const;
    // Fields declared by the owner before opening: labels, masks, visibility kept by name.
    void setFieldDefs(const QList<FieldDef> &defs) { m_declared = defs; }

    // Navigation
    void first();
    void last();
    void next();
    void prior();
    int moveBy(int distance);
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    int recordCount();
    bool isEmpty() { return recordCount() == 0; }
    int recNo();             // 1-based; 0 when empty
    void setRecNo(int recNo);

    Bookmark bookmark();
    bool gotoBookmark(const Bookmark &b);
    bool bookmarkValid(const Bookmark &b);
    // View position of a bookmarked row without moving the cursor; -1 when it is gone.
    int rowOf(const Bookmark &b);

    // Filter in the old engine's syntax; applied while Filtered is on.
    void setFilter(const QString &filter);
    QString filter() const { return m_filterText; }
    void setFiltered(bool on);
    bool filtered() const { return m_filtered; }

    // Finds the first row (in the current order and filter) whose fields equal the values;
    // partialKey: text fields need only begin with the value. The position stays when none does.
    bool locate(const QString &fieldNames, const QVariantList &values, bool partialKey = false,
                bool caseInsensitive = false);

    // Editing
    virtual void append();
    void insert() { append(); }
    virtual void edit();
    virtual void post();
    virtual void cancel();
    virtual void deleteRecord();
    bool modified() const { return m_modified; }
    // Posts a pending edit, as moving the cursor does.
    void checkBrowseMode();

    // Controls
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disableCount > 0; }

    // Row access by view position for grids: no cursor move.
    QVariant valueAt(int row, int fieldIndex);
    int currentRow() const { return m_pos; } // 0-based; -1 when empty
    // The row grids show as current: while inserting, the new row, shown after the stored ones
    // (valueAt gives its values there), so that no stored row is hidden behind it.
    int displayRow() const { return m_state == DatasetState::Insert ? int(m_ids.size()) : m_pos; }

signals:
    void stateChanged();
    // The cursor moved to another row.
    void scrolled();
    // Values of the current row changed (editing, post, cancel); -1 = every field.
    void recordChanged(int fieldIndex);
    // Rows appeared, vanished or moved: grids must re-read everything.
    void dataSetChanged();
    // Not held back by DisableControls: master-detail links follow every move.
    void linkedRowChanged();

protected:
    friend class Field;
    // The ordered, filtered list of row identities and the values of one row.
    virtual QVector<qint64> loadView() = 0;
    virtual QVector<QVariant> fetchRow(qint64 id) = 0;
    // A value that fetchRow leaves out (pictures are read only when asked for).
    virtual QVariant fetchLazyValue(qint64 id, int fieldIndex, const QVector<QVariant> &row)
    {
        Q_UNUSED(id);
        return row.value(fieldIndex);
    }
    virtual QList<FieldDef> describeFields() = 0;
    virtual void doOpen() {}
    virtual void doClose() {}
    virtual void storeRow(bool inserting, qint64 &id, const QVector<QVariant> &values,
                          const QVector<bool> &changed);
    virtual void removeRow(qint64 id);
    virtual QVector<QVariant> newRowValues();
    virtual bool viewDependsOn(const QVector<bool> &changedFields) const;
    // Position of the first row in view order whose fields match; -1 when none does.
    virtual int locateRow(const QVector<int> &fields, const QVariantList &values, bool partialKey,
                          bool caseInsensitive);

    void setState(DatasetState s);
    // Reloads the view now, keeping the current row when it still exists.
    void refreshView();
    void markStale();
    void ensureFresh();
    void invalidateRow(qint64 id);
    const QVector<QVariant> &currentValues();
    int positionOf(qint64 id);
    void moveTo(int pos);
    void notifyScroll();
    void notifyDataSet();
    void notifyRecord(int fieldIndex);
    QVariant fieldValue(int index);
    void setFieldValue(int index, const QVariant &v);
    void buildFields();
    void checkActive() const;
    const FilterExpr &filterExpr() const { return m_filterExpr; }

    Database *m_db;
    QVector<qint64> m_ids;
    int m_pos = -1;
    bool m_eof = true, m_bof = true;
    DatasetState m_state = DatasetState::Inactive;
    QVector<QVariant> m_buffer; // edit/insert buffer
    QVector<bool> m_changed;
    bool m_modified = false;
    int m_posBeforeInsert = -1;
    QVector<QVariant> m_keyBuffer;
    QVector<bool> m_keySet;
    bool m_stale = false;
    bool m_rewind = false;

private:
    std::vector<std::unique_ptr<Field>> m_fields;
    QList<FieldDef> m_declared;
    QString m_filterText;
    FilterExpr m_filterExpr;
    bool m_filtered = false;
    bool m_notifyPending = false;
    int m_disableCount = 0;
    bool m_pendingDataSet = false;
    QHash<qint64, int> m_positions;
    bool m_positionsValid = false;
    QHash<qint64, QVector<QVariant>> m_rowCache;
};

// Keeps a dataset's controls still while code walks it, and lets them follow again however the
// walk ends: a failure part-way must not leave a grid frozen for the rest of the run.
class ControlsDisabled {
public:
    explicit ControlsDisabled(Dataset &d) : m_d(d) { m_d.disableControls(); }
    ~ControlsDisabled() { m_d.enableControls(); }
    ControlsDisabled(const ControlsDisabled &) = delete;
    ControlsDisabled &operator=(const ControlsDisabled &) = delete;

private:
    Dataset &m_d;
};

class DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(Dataset *dataset = nullptr, QObject *parent = nullptr)
        : QObject(parent), m_dataset(dataset) {}
    Dataset *dataset() const { return m_dataset; }
    void setDataset(Dataset *d)
    {
        if (m_dataset == d)
            return;
        m_dataset = d;
        emit datasetChanged();
    }

signals:
    // Controls on the source reconnect to the new dataset.
    void datasetChanged();

private:
    QPointer<Dataset> m_dataset;
};

// A value as a table stores it in the field: text without trailing blanks, cut to the field's size
// at a whole character, blank as NULL; logicals 0/1; shorts range-checked (DbError).
QVariant StoredValue(const FieldDef &f, const QVariant &v);

// Appends rows to one table through a statement prepared once: for copies of many rows, where a
// Table would re-read its whole view after each post. A row starts with the fields' defaults and
// is stored as a Table stores it (StoredValue); the values are cleared whether it was stored or not.
class TableAppender {
public:
    TableAppender(Database &db, const QString &tableName);
    ~TableAppender();
    TableAppender(const TableAppender &) = delete;
    TableAppender &operator=(const TableAppender &) = delete;

    // By field name, without regard to case; an unknown name throws DbError.
    void setValue(const QString &fieldName, const QVariant &value);
    void post();
    void cancel();

private:
    Database &m_db;
    TableDef m_def;
    std::unique_ptr<Statement> m_insert;
    QVector<QVariant> m_row;
};

class Table : public Dataset {
    Q_OBJECT
public:
    Table(Database *db, const QString &tableName, QObject *parent = nullptr);

    QString tableName() const { return m_tableName; }
    const TableDef &tableDef() const { return m_def; }

    // Row order: a named index ("Name_idx", "Zip"), "" for the key, or field names ("NAME", "Ino;Seq").
    void setIndexName(const QString &name);
    QString indexName() const { return m_indexName; }
    void setIndexFieldNames(const QString &names);
    QString indexFieldNames() const;
    QStringList orderFields() const { return m_order; }

    // Detail of another dataset: only rows whose link fields equal the master's current row.
    void setMasterSource(DataSource *master, const QString &masterFields, const QString &detailFields = {});

    // Key searches on the current order's fields. setKey() enters SetKey state: field writes then
    // fill the search key until gotoKey()/gotoNearest().
    void setKey();
    bool gotoKey();
    void gotoNearest();
    bool findKey(const QVariantList &values);
    void findNearest(const QVariantList &values);

    // Deletes every row (the engine's empty-table).
    void emptyTable();

protected:
    QVector<qint64> loadView() override;
    QVector<QVariant> fetchRow(qint64 id) override;
    QVariant fetchLazyValue(qint64 id, int fieldIndex, const QVector<QVariant> &row) override;
    QList<FieldDef> describeFields() override;
    void doOpen() override;
    void doClose() override;
    void storeRow(bool inserting, qint64 &id, const QVector<QVariant> &values,
                  const QVector<bool> &changed) override;
    void removeRow(qint64 id) override;
    QVector<QVariant> newRowValues() override;
    bool viewDependsOn(const QVector<bool> &changedFields) const override;
    int locateRow(const QVector<int> &fields, const QVariantList &values, bool partialKey,
                  bool caseInsensitive) override;

private:
    QString whereClause(QVariantList &binds) const;
    QString orderClause() const;
    std::optional<qint64> searchKey(const QVariantList &values, bool nearest);
    void onTablesChanged(const QSet<QString> &tables);

    QString m_tableName;
    TableDef m_def;
    QString m_indexName;
    QStringList m_order;
    QPointer<DataSource> m_master;
    QStringList m_masterFields, m_detailFields;
    std::unique_ptr<Statement> m_fetch;
    std::unique_ptr<Statement> m_view;
    QString m_viewSql;
    QVector<int> m_fetched; // fields read with the row; pictures wait until asked for
    bool m_writing = false;
};

class Query : public Dataset {
    Q_OBJECT
public:
    explicit Query(Database *db, QObject *parent = nullptr);

    void setSql(const QString &sql);
    QString sql() const { return m_sql; }
    void setParam(const QString &name, const QVariant &value);
    QVariant param(const QString &name) const;
    const Params &params() const { return m_params; }
    void clearParams() { m_params.clear(); }

    // Runs a statement that returns no rows; returns the number of rows changed.
    int execSql();
    void prepare() { m_prepared = true; }
    void unprepare() { m_prepared = false; }
    bool prepared() const { return m_prepared; }

    void append() override;
    void edit() override;

    // Rows are read as they are asked for, not all at opening; the row count (and the summary)
    // come from one aggregate over the same statement. A filter reads every row.
    void setFetchOnDemand(bool on) { m_fetchOnDemand = on; }
    // Aggregates over the result worked out at opening ("SUM(X = '남')"); summary(i) reads them,
    // NULL when the result lacks their columns.
    void setSummary(const QStringList &expressions) { m_summaryExpressions = expressions; }
    QVariant summary(int index) const { return m_summary.value(index); }

protected:
    QVector<qint64> loadView() override;
    QVector<QVariant> fetchRow(qint64 id) override;
    QList<FieldDef> describeFields() override;
    void doOpen() override;
    void doClose() override;

private:
    // Steps the statement until row `count - 1` has been read (or the rows end).
    void fetchUpTo(qint64 count);
    QVector<QVariant> readRow();

    QString m_sql;
    Params m_params;
    bool m_prepared = false;
    QList<FieldDef> m_columns;
    QVector<bool> m_typed;
    QVector<QVector<QVariant>> m_rows;
    bool m_fetchOnDemand = false;
    std::unique_ptr<Statement> m_cursor; // open while rows remain to be read
    qint64 m_skip = 0;                   // rows the cursor reads again after a failed step
    qint64 m_total = 0;
    QStringList m_summaryExpressions;
    QVector<QVariant> m_summary;
    // The last count: another order of the same rows keeps it until the data changes.
    struct Counted {
        QString sql;
        Params params;
        qint64 total = 0;
        QVector<QVariant> summary;
    };
    std::optional<Counted> m_counted;
};

// The statement without its closing ORDER BY, for counting its rows (SQLite would sort them).
QString WithoutOrderBy(const QString &sql);
