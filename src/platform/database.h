#pragma once
// The storage engine: one SQLite database file holding every table of the register.
#include "platform/tabledef.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <QVariant>
#include <functional>
#include <stdexcept>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

class DbError : public std::runtime_error {
public:
    enum Kind { General, KeyViolation, NoSuchTable, Damaged, ReadOnlyDataset, Busy };
    DbError(Kind kind, const QString &message);
    Kind kind() const { return m_kind; }
    QString message() const { return QString::fromUtf8(what()); }
    bool isKeyViolation() const { return m_kind == KeyViolation; }

private:
    Kind m_kind;
};

// Named parameters of a statement; names without the colon, matched without regard to case.
using Params = QList<QPair<QString, QVariant>>;

class Database;

class Statement {
public:
    // sql is already in SQLite's dialect (see translateSql for the program's own SQL).
    Statement(Database &db, const QString &sql);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    int parameterCount() const;
    QString parameterName(int index) const; // 1-based, without the colon, lower case
    // Typed binding for stored values: text, 0/1, integers, blobs, NULL.
    void bind(int index, const QVariant &value);
    // Binding for values compared in the program's SQL: numbers go in as text, so that a year
    // compared with SUBSTRING(...) or a text column matches as the program means it.
    void bindParameter(int index, const QVariant &value);
    void bindParameters(const Params &params);

    bool step(); // true while a row is ready
    void reset();
    bool isReadOnly() const;

    int columnCount() const;
    QString columnName(int i) const;
    QVariant column(int i) const;
    qint64 columnInt64(int i) const;
    QString originTable(int i) const;
    QString originColumn(int i) const;

private:
    Database &m_db;
    sqlite3_stmt *m_stmt = nullptr;
};

class Database : public QObject {
    Q_OBJECT
public:
    explicit Database(QObject *parent = nullptr);
    ~Database() override;

    // Opens an existing database read-write; never creates one.
    void open(const QString &fileName);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    QString fileName() const { return m_fileName; }

    // Writes a new, empty database with the given tables (the register tool's job, never the program's).
    static void create(const QString &fileName, const QList<TableDef> &tables);

    void setCatalog(const QList<TableDef> &tables);
    const QList<TableDef> &catalog() const { return m_catalog; }
    // By SQL name or file name ("MASTER", "master.DB", "Area"), without regard to case.
    const TableDef *tableDef(const QString &name) const;
    bool tableExists(const QString &sqlName) const;
    // Reads a table's stored columns and checks them against its definition.
    void verifyTable(const TableDef &def) const;

    // The program's own SQL: translated, prepared, bound, run. Returns the rows changed.
    int execute(const QString &sql, const Params &params = {});
    // Runs the statement and returns the first column of the first row (NULL when no row).
    QVariant scalar(const QString &sql, const Params &params = {});
    // Runs SQLite SQL as it stands (no parameters, no translation).
    void executeNative(const QString &sql);

    // A consistent copy of the whole database while it stays open and in use, written to
    // fileName and synced to the disk; removed again when the copy fails. progress gets
    // (pages copied, pages in all) after each slice.
    void backupTo(const QString &fileName, const std::function<void(int, int)> &progress = {});

    void begin();
    void commit();
    void rollback();
    int transactionDepth() const { return m_depth; }

    // How long a statement waits for another program's lock before it fails.
    void setBusyTimeout(int ms);
    sqlite3 *handle() const { return m_db; }
    // Throws the failure in the user's words, naming the register file, with the engine's text.
    [[noreturn]] void raise(int rc);

    // Called by the engine after a statement that ran outside a transaction, and at the end of
    // the outermost transaction: tells open datasets which tables changed.
    void flushChanges();

    // What a window's work on the register needs of another program's lock.
    enum class Access { Read, Write };
    // A window's work on the register (a list opened and counted, a search, a month), run now.
    // When another program's lock makes it fail, the failure is thrown on, to be reported once,
    // and the work runs again by itself as soon as it can go through, as `needs` says. An
    // owner's newer work takes the place of one still waiting; a waiting work goes with its owner.
    void runRetryingAfterLock(QObject *owner, const std::function<void()> &work, Access needs = Access::Read);

signals:
    void tablesChanged(const QSet<QString> &upperCaseNames);
    // Another program held the register locked and has let it go: what failed can be read now.
    void readableAgain();

private:
    static void updateHook(void *self, int op, const char *dbName, const char *table, long long rowid);
    static int authorize(void *self, int action, const char *name, const char *, const char *, const char *);
    struct WaitingWork {
        QPointer<QObject> owner;
        std::function<void()> work;
        Access needs;
        quint64 id;
    };
    void probeLock();
    bool wouldGoThrough(const char *sql, int waitMs);
    int retryWait() const; // what a retried work waits for the register, at most
    void applyBusyTimeout();
    void runRetry(WaitingWork work);
    sqlite3 *m_db = nullptr;
    QString m_fileName;
    QList<TableDef> m_catalog;
    QSet<QString> m_pending;
    QByteArray m_dropping; // the table a DROP being prepared names
    int m_depth = 0;
    int m_busyTimeout = 2000;
    QTimer m_lockProbe;
    bool m_waitingForLock = false; // reads failed: statements wait for nothing until it is gone
    bool m_probing = false;
    bool m_retrying = false; // a retry waits briefly: otherwise it is tried again later
    std::vector<WaitingWork> m_waitingWorks;
    quint64 m_lastWorkId = 0;
};

// Rolls back unless committed.
class Transaction {
public:
    explicit Transaction(Database &db);
    ~Transaction();
    void commit();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

private:
    Database &m_db;
    bool m_done = false;
};
