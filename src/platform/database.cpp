#include "platform/database.h"

#include "platform/dialogs.h"
#include "platform/diskfile.h"
#include "platform/errortext.h"
#include "platform/sqltranslate.h"

#include <QFile>
#include <QFileInfo>
#include <QScopedValueRollback>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

DbError::DbError(Kind kind, const QString &message)
    : std::runtime_error(message.toStdString()), m_kind(kind)
{
}

// ---------------------------------------------------------------------------------------------
// Statement

Statement::Statement(Database &db, const QString &sql) : m_db(db)
{
    if (!db.handle())
        throw DbError(DbError::General, QStringLiteral("The database is not open."));
    const QByteArray utf8 = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(db.handle(), utf8.constData(), int(utf8.size()), &m_stmt, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        db.raise(rc);
    }
    if (!m_stmt) // only blanks or comments
        throw DbError(DbError::General, QStringLiteral("Empty SQL statement."));
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

int Statement::parameterCount() const
{
    return sqlite3_bind_parameter_count(m_stmt);
}

QString Statement::parameterName(int index) const
{
    const char *n = sqlite3_bind_parameter_name(m_stmt, index);
    if (!n)
        return {};
    return QString::fromUtf8(n + 1).toLower();
}

void Statement::bind(int index, const QVariant &value)
{
    int rc = SQLITE_OK;
    if (!value.isValid() || value.isNull()) {
        rc = sqlite3_bind_null(m_stmt, index);
    } else {
        switch (value.typeId()) {
        case QMetaType::Bool:
            rc = sqlite3_bind_int(m_stmt, index, value.toBool() ? 1 : 0);
            break;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Long:
        case QMetaType::ULong:
            rc = sqlite3_bind_int64(m_stmt, index, value.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(m_stmt, index, value.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray b = value.toByteArray();
            rc = sqlite3_bind_blob64(m_stmt, index, b.constData(), sqlite3_uint64(b.size()),
                                     SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray t = value.toString().toUtf8();
            rc = sqlite3_bind_text64(m_stmt, index, t.constData(), sqlite3_uint64(t.size()),
                                     SQLITE_TRANSIENT, SQLITE_UTF8);
        }
        }
    }
    if (rc != SQLITE_OK)
        m_db.raise(rc);
}

void Statement::bindParameter(int index, const QVariant &value)
{
    if (value.isValid() && !value.isNull() && value.typeId() != QMetaType::Bool &&
        value.typeId() != QMetaType::QByteArray && value.canConvert<QString>())
        bind(index, value.toString());
    else
        bind(index, value);
}

void Statement::bindParameters(const Params &params)
{
    for (int i = 1; i <= parameterCount(); ++i) {
        const QString name = parameterName(i);
        bool found = false;
        for (const auto &p : params) {
            if (p.first.compare(name, Qt::CaseInsensitive) == 0) {
                bindParameter(i, p.second);
                found = true;
                break;
            }
        }
        if (!found)
            throw DbError(DbError::General, QStringLiteral("No value for parameter '%1'.").arg(name));
    }
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(m_stmt);
    m_db.raise(rc);
}

void Statement::reset()
{
    sqlite3_reset(m_stmt);
}

bool Statement::isReadOnly() const
{
    return sqlite3_stmt_readonly(m_stmt) != 0;
}

int Statement::columnCount() const
{
    return sqlite3_column_count(m_stmt);
}

QString Statement::columnName(int i) const
{
    return QString::fromUtf8(sqlite3_column_name(m_stmt, i));
}

QVariant Statement::column(int i) const
{
    switch (sqlite3_column_type(m_stmt, i)) {
    case SQLITE_NULL: return {};
    case SQLITE_INTEGER: return QVariant(qlonglong(sqlite3_column_int64(m_stmt, i)));
    case SQLITE_FLOAT: return QVariant(sqlite3_column_double(m_stmt, i));
    case SQLITE_BLOB: {
        const void *p = sqlite3_column_blob(m_stmt, i);
        return QVariant(QByteArray(static_cast<const char *>(p), sqlite3_column_bytes(m_stmt, i)));
    }
    default: {
        const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, i));
        return QVariant(QString::fromUtf8(p, sqlite3_column_bytes(m_stmt, i)));
    }
    }
}

qint64 Statement::columnInt64(int i) const
{
    return sqlite3_column_int64(m_stmt, i);
}

QString Statement::originTable(int i) const
{
    const char *t = sqlite3_column_table_name(m_stmt, i);
    return t ? QString::fromUtf8(t) : QString();
}

QString Statement::originColumn(int i) const
{
    const char *c = sqlite3_column_origin_name(m_stmt, i);
    return c ? QString::fromUtf8(c) : QString();
}

// ---------------------------------------------------------------------------------------------
// Database

Database::Database(QObject *parent) : QObject(parent)
{
    m_lockProbe.setInterval(500);
    connect(&m_lockProbe, &QTimer::timeout, this, &Database::probeLock);
}

Database::~Database()
{
    close();
}

void Database::open(const QString &fileName)
{
    close();
    if (!QFileInfo(fileName).isFile())
        throw DbError(DbError::NoSuchTable, FailureText(Failure::NotFound, fileName));
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(fileName.toUtf8().constData(), &db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
        const int code = db ? sqlite3_extended_errcode(db) : rc;
        sqlite3_close(db);
        throw DbError(DbError::Damaged, FailureText(FailureFromSqlite(code), fileName, msg));
    }
    m_db = db;
    m_fileName = fileName;
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, m_busyTimeout);
    sqlite3_update_hook(m_db, &Database::updateHook, this);
    sqlite3_set_authorizer(m_db, &Database::authorize, this);
    try {
        // The first statement reads the file header: a damaged file fails here.
        executeNative(QStringLiteral("PRAGMA case_sensitive_like = ON"));
        executeNative(QStringLiteral("SELECT count(*) FROM sqlite_schema"));
    } catch (...) {
        close();
        throw;
    }
}

void Database::close()
{
    if (!m_db)
        return;
    m_lockProbe.stop();
    m_waitingForLock = false;
    m_waitingWorks.clear();
    sqlite3_update_hook(m_db, nullptr, nullptr);
    sqlite3_set_authorizer(m_db, nullptr, nullptr);
    sqlite3_close_v2(m_db);
    m_db = nullptr;
    m_depth = 0;
    m_pending.clear();
}

void Database::create(const QString &fileName, const QList<TableDef> &tables)
{
    if (QFileInfo::exists(fileName))
        throw DbError(DbError::General, QStringLiteral("%1 already exists.").arg(fileName));
    // The register holds registration numbers and pastoral notes: its owner's alone, whatever
    // the umask (SQLite gives its journal the same mode).
    const int fd = ::open(QFile::encodeName(fileName).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        throw DbError(DbError::General, FileErrorText(errno, fileName));
    ::close(fd);
    sqlite3 *raw = nullptr;
    if (sqlite3_open_v2(fileName.toUtf8().constData(), &raw,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        const QString msg = raw ? QString::fromUtf8(sqlite3_errmsg(raw)) : QString();
        sqlite3_close(raw);
        throw DbError(DbError::General, msg);
    }
    Database db;
    db.m_db = raw;
    db.m_fileName = fileName;
    db.executeNative(QStringLiteral("BEGIN"));
    for (const TableDef &t : tables) {
        QStringList cols;
        for (const FieldDef &f : t.fields)
            cols << QStringLiteral("\"%1\" %2").arg(f.name, TableDef::sqlType(f));
        db.executeNative(QStringLiteral("CREATE TABLE \"%1\" (%2)").arg(t.name, cols.join(", ")));
        if (!t.key.isEmpty()) {
            // SQLite lets NULL key parts repeat; the key is kept on the blank-as-empty value.
            QStringList keyExpr, keyCols;
            for (const QString &k : t.key) {
                keyExpr << QStringLiteral("ifnull(\"%1\",'')").arg(k);
                keyCols << QStringLiteral("\"%1\"").arg(k);
            }
            db.executeNative(QStringLiteral("CREATE UNIQUE INDEX \"%1_key\" ON \"%1\" (%2)")
                                 .arg(t.name, keyExpr.join(", ")));
            db.executeNative(QStringLiteral("CREATE INDEX \"%1_primary\" ON \"%1\" (%2)")
                                 .arg(t.name, keyCols.join(", ")));
        }
        for (const IndexDef &ix : t.indexes) {
            QStringList cols2;
            for (const QString &f : ix.fields)
                cols2 << QStringLiteral("\"%1\"").arg(f);
            for (const QString &k : t.key) // ties in key order, as the original secondary indexes did
                if (!ix.fields.contains(k, Qt::CaseInsensitive))
                    cols2 << QStringLiteral("\"%1\"").arg(k);
            db.executeNative(QStringLiteral("CREATE INDEX \"%1_%2\" ON \"%1\" (%3)")
                                 .arg(t.name, ix.name, cols2.join(", ")));
        }
    }
    db.executeNative(QStringLiteral("COMMIT"));
}

void Database::setCatalog(const QList<TableDef> &tables)
{
    m_catalog = tables;
}

const TableDef *Database::tableDef(const QString &name) const
{
    for (const TableDef &t : m_catalog)
        if (t.name.compare(name, Qt::CaseInsensitive) == 0 ||
            t.fileName.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

bool Database::tableExists(const QString &sqlName) const
{
    Statement st(const_cast<Database &>(*this),
                 QStringLiteral("SELECT 1 FROM sqlite_schema WHERE type = 'table' AND name = ? COLLATE NOCASE"));
    st.bind(1, sqlName);
    return st.step();
}

void Database::verifyTable(const TableDef &def) const
{
    auto &self = const_cast<Database &>(*this);
    if (!tableExists(def.name))
        throw DbError(DbError::NoSuchTable, FailureText(Failure::NotFound, def.fileName));
    const auto notItsLayout = [&](const QString &technical) {
        return DbError(DbError::Damaged, FailureText(Failure::NotATable, def.fileName, technical));
    };
    Statement info(self, QStringLiteral("PRAGMA table_info(\"%1\")").arg(def.name));
    int i = 0;
    while (info.step()) {
        const QString name = info.column(1).toString();
        const QString type = info.column(2).toString();
        if (i >= def.fields.size() || name.compare(def.fields[i].name, Qt::CaseInsensitive) != 0 ||
            type.compare(TableDef::sqlType(def.fields[i]), Qt::CaseInsensitive) != 0)
            throw notItsLayout(QStringLiteral("field %1 (%2) does not match").arg(name, type));
        ++i;
    }
    if (i != def.fields.size())
        throw notItsLayout(QStringLiteral("%1 fields instead of %2").arg(i).arg(def.fields.size()));
    if (!def.key.isEmpty()) {
        Statement ix(self, QStringLiteral("SELECT 1 FROM sqlite_schema WHERE type = 'index' AND name = ?"));
        ix.bind(1, def.name + QStringLiteral("_key"));
        if (!ix.step())
            throw notItsLayout(QStringLiteral("its key index is missing"));
    }
    // Really read the rows' pages through the key, so a damaged file is found now, not later.
    Statement probe(self, QStringLiteral("SELECT * FROM \"%1\" LIMIT 1").arg(def.name));
    probe.step();
}

int Database::execute(const QString &sql, const Params &params)
{
    Statement st(*this, translateSql(sql, m_catalog));
    st.bindParameters(params);
    while (st.step()) {
    }
    const int changed = st.isReadOnly() ? 0 : sqlite3_changes(m_db);
    flushChanges();
    return changed;
}

QVariant Database::scalar(const QString &sql, const Params &params)
{
    Statement st(*this, translateSql(sql, m_catalog));
    st.bindParameters(params);
    return st.step() ? st.column(0) : QVariant();
}

void Database::executeNative(const QString &sql)
{
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        raise(m_db ? sqlite3_extended_errcode(m_db) : rc);
    flushChanges();
}

namespace {
// SQLite's text for a failure on the connection, with the system's reason when it has one.
QString failureText(sqlite3 *db, int rc)
{
    QString text = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    const int sys = db ? sqlite3_system_errno(db) : 0;
    if (sys != 0)
        text += QStringLiteral(" (") + QString::fromLocal8Bit(std::strerror(sys)) + u')';
    return text;
}
} // namespace

void Database::backupTo(const QString &fileName, const std::function<void(int, int)> &progress)
{
    if (!m_db)
        throw DbError(DbError::General, QStringLiteral("The database is not open."));
    // Made here rather than by SQLite, whose report of a folder that refuses it names no reason.
    // The copy is its owner's alone, as a register is, whatever the register's own mode and
    // the umask; an older file in its place may have been readable by more.
    const int fd = ::open(QFile::encodeName(fileName).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0 || ::fchmod(fd, 0600) != 0) {
        const int err = errno;
        if (fd >= 0)
            ::close(fd);
        throw DbError(DbError::General, FileErrorText(err, fileName));
    }
    ::close(fd);
    sqlite3 *dest = nullptr;
    QString failure;
    int rc = sqlite3_open_v2(QFile::encodeName(fileName).constData(), &dest,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_extended_result_codes(dest, 1);
        // The copy is worthless until the caller puts it in place, so it needs no journal; one
        // fsync below makes it durable.
        sqlite3_exec(dest, "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF", nullptr, nullptr, nullptr);
        if (sqlite3_backup *b = sqlite3_backup_init(dest, "main", m_db, "main")) {
            int waited = 0; // another program's lock is waited out no longer than a statement waits
            do {
                // Slices keep the caller's window alive; writes on this connection between them
                // reach the copy too, so it stays one consistent snapshot.
                rc = sqlite3_backup_step(b, 1024);
                if (progress)
                    progress(sqlite3_backup_pagecount(b) - sqlite3_backup_remaining(b),
                             sqlite3_backup_pagecount(b));
                if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
                    if (waited >= m_busyTimeout)
                        break;
                    sqlite3_sleep(5);
                    waited += 5;
                } else {
                    waited = 0;
                }
            } while (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED);
            sqlite3_backup_finish(b);
            if (rc != SQLITE_DONE)
                failure = failureText(dest, rc);
        } else {
            rc = sqlite3_errcode(dest);
            failure = failureText(dest, rc);
        }
    } else {
        failure = failureText(dest, rc);
    }
    if (failure.isEmpty() && (rc = sqlite3_close(dest)) != SQLITE_OK)
        failure = failureText(dest, rc);
    if (!failure.isEmpty()) {
        sqlite3_close_v2(dest);
        QFile::remove(fileName);
        // Busy is the register held by another program; the copy is ours alone.
        const Failure kind = FailureFromSqlite(rc);
        throw DbError(DbError::General, FailureText(kind, kind == Failure::Locked ? m_fileName : fileName, failure));
    }
    if (const int err = SyncToDisk(fileName)) {
        QFile::remove(fileName);
        throw DbError(DbError::General, FileErrorText(err, fileName));
    }
}

void Database::begin()
{
    if (m_depth == 0)
        executeNative(QStringLiteral("BEGIN IMMEDIATE"));
    else
        executeNative(QStringLiteral("SAVEPOINT sp%1").arg(m_depth));
    ++m_depth;
}

void Database::commit()
{
    if (m_depth == 0)
        return;
    try {
        if (m_depth == 1)
            executeNative(QStringLiteral("COMMIT"));
        else
            executeNative(QStringLiteral("RELEASE sp%1").arg(m_depth - 1));
    } catch (...) {
        // A COMMIT refused for a lock leaves the transaction open for the caller's rollback; one
        // that failed otherwise may have ended it already.
        if (m_depth == 1 && sqlite3_get_autocommit(m_db)) {
            m_depth = 0;
            flushChanges();
        }
        throw;
    }
    --m_depth;
    flushChanges(); // the open tables re-read what the transaction changed
}

void Database::rollback()
{
    if (m_depth == 0)
        return;
    --m_depth;
    if (m_depth == 0) {
        executeNative(QStringLiteral("ROLLBACK"));
    } else {
        executeNative(QStringLiteral("ROLLBACK TO sp%1").arg(m_depth));
        executeNative(QStringLiteral("RELEASE sp%1").arg(m_depth));
    }
}

void Database::raise(int rc)
{
    const QString msg = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(rc));
    if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY)
        throw DbError(DbError::KeyViolation,
                      FailureText(Failure::KeyViolation, m_fileName, QStringLiteral("Key violation")));
    const Failure failure = FailureFromSqlite(rc);
    const QString text = FailureText(failure, m_fileName, msg);
    switch (failure) {
    case Failure::Damaged:
    case Failure::NotATable:
        throw DbError(DbError::Damaged, text);
    case Failure::Locked:
        // Still locked after the busy timeout: until the other program lets go, statements fail at
        // once, or every row a window paints would wait out the timeout again.
        if (m_db && !m_waitingForLock) {
            m_waitingForLock = true;
            applyBusyTimeout();
            m_lockProbe.start();
        }
        throw DbError(DbError::Busy, text);
    default:
        throw DbError(DbError::General, text);
    }
}

void Database::setBusyTimeout(int ms)
{
    m_busyTimeout = ms;
    applyBusyTimeout();
}

bool Database::wouldGoThrough(const char *sql, int waitMs)
{
    sqlite3_busy_timeout(m_db, waitMs);
    const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
    if (!sqlite3_get_autocommit(m_db)) // a BEGIN that went through and a ROLLBACK that did not
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    applyBusyTimeout();
    return FailureFromSqlite(rc) != Failure::Locked;
}

void Database::probeLock()
{
    // Not inside our own transaction, nor again from the event loop of a box a retried work opened.
    if (!m_db || m_probing || m_depth > 0)
        return;
    const QScopedValueRollback probing(m_probing, true);
    // Any read takes the shared lock that another program's exclusive lock refuses: asked without
    // waiting, so that a lock held long never holds up the window.
    if (!wouldGoThrough("SELECT count(*) FROM sqlite_schema", 0))
        return;
    if (m_waitingForLock) {
        m_waitingForLock = false;
        applyBusyTimeout();
        emit readableAgain();
    }
    // A write needs the register to itself. Another program's write refuses it at once; its
    // reads end statement by statement, and a writer that waits briefly goes in ahead of the
    // next ones, so a program that polls the register keeps nobody out.
    const bool writable = std::any_of(m_waitingWorks.begin(), m_waitingWorks.end(),
                                      [](const WaitingWork &w) { return w.needs == Access::Write; }) &&
                          wouldGoThrough("BEGIN IMMEDIATE; ROLLBACK", 0) &&
                          wouldGoThrough("BEGIN EXCLUSIVE; ROLLBACK", retryWait());
    std::vector<quint64> ready;
    for (const WaitingWork &w : m_waitingWorks)
        if (w.needs == Access::Read || writable)
            ready.push_back(w.id);
    for (const quint64 id : ready) {
        // A newer request of its owner, or the owner's end, may have taken it out meanwhile.
        const auto it = std::find_if(m_waitingWorks.begin(), m_waitingWorks.end(),
                                     [id](const WaitingWork &w) { return w.id == id; });
        if (it == m_waitingWorks.end())
            continue;
        WaitingWork work = std::move(*it);
        m_waitingWorks.erase(it);
        if (work.owner)
            runRetry(std::move(work));
    }
    std::erase_if(m_waitingWorks, [](const WaitingWork &w) { return !w.owner; });
    if (m_waitingWorks.empty() && !m_waitingForLock)
        m_lockProbe.stop();
}

int Database::retryWait() const
{
    return std::min(m_busyTimeout, 250);
}

void Database::applyBusyTimeout()
{
    if (m_db)
        sqlite3_busy_timeout(m_db, m_retrying ? retryWait() : m_waitingForLock ? 0 : m_busyTimeout);
}

void Database::runRetry(WaitingWork work)
{
    // The user was told when the work first stopped: a retry says nothing of a lock that came
    // back. It waits a little for each statement, as a momentary lock of a busy register
    // passes, and otherwise waits for the next chance.
    {
        const QScopedValueRollback retrying(m_retrying, true);
        applyBusyTimeout();
        try {
            work.work();
        } catch (const DbError &e) {
            if (e.kind() == DbError::Busy)
                m_waitingWorks.push_back({work.owner, work.work, work.needs, ++m_lastWorkId});
            else
                PostError(QString::fromUtf8(e.what()));
        } catch (const std::exception &e) {
            PostError(QString::fromUtf8(e.what()));
        }
    }
    applyBusyTimeout();
}

void Database::runRetryingAfterLock(QObject *owner, const std::function<void()> &work, Access needs)
{
    std::erase_if(m_waitingWorks, [owner](const WaitingWork &w) { return !w.owner || w.owner == owner; });
    try {
        work();
    } catch (const DbError &e) {
        if (e.kind() == DbError::Busy) // the failure started the probe
            m_waitingWorks.push_back({owner, work, needs, ++m_lastWorkId});
        throw;
    }
}

void Database::flushChanges()
{
    if (m_depth > 0 || m_pending.isEmpty())
        return;
    const QSet<QString> changed = std::exchange(m_pending, {});
    emit tablesChanged(changed);
}

void Database::updateHook(void *self, int, const char *, const char *table, long long)
{
    static_cast<Database *>(self)->m_pending.insert(QString::fromUtf8(table).toUpper());
}

int Database::authorize(void *self, int action, const char *name, const char *, const char *, const char *)
{
    // A DELETE without WHERE empties its table past the update hook, and the open tables would
    // never hear of it: told to ignore the action, SQLite deletes row by row instead. A DROP
    // asks the same for its table right after, and would then silently do nothing.
    QByteArray &dropping = static_cast<Database *>(self)->m_dropping;
    const bool dropped = action == SQLITE_DELETE && name && dropping == name;
    dropping.clear();
    switch (action) {
    case SQLITE_DROP_TABLE:
    case SQLITE_DROP_TEMP_TABLE:
    case SQLITE_DROP_VIEW:
    case SQLITE_DROP_TEMP_VIEW:
    case SQLITE_DROP_VTABLE:
        dropping = name;
        return SQLITE_OK;
    case SQLITE_DELETE:
        return dropped || !name || qstrnicmp(name, "sqlite_", 7) == 0 ? SQLITE_OK : SQLITE_IGNORE;
    default:
        return SQLITE_OK;
    }
}

// ---------------------------------------------------------------------------------------------

Transaction::Transaction(Database &db) : m_db(db)
{
    m_db.begin();
}

Transaction::~Transaction()
{
    if (!m_done) {
        try {
            m_db.rollback();
        } catch (...) {
        }
    }
}

void Transaction::commit()
{
    m_db.commit();
    m_done = true;
}
