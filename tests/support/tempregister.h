#pragma once
// An empty register in a temporary folder, made as the register tool makes it.
#include "core/tables.h"
#include "platform/database.h"

#include <QDir>
#include <QTemporaryDir>
#include <atomic>
#include <memory>
#include <thread>

class TempRegister {
public:
    TempRegister();
    QString folder() const { return m_dir.path(); }
    QString dataFolder() const { return m_dir.path() + QStringLiteral("/Data"); }
    QString databaseFile() const { return dataFolder() + QStringLiteral("/KELMODB.db"); }
    // An open connection with the register's catalog.
    Database &db() { return m_db; }
    // Adds a member row with the given fields (others NULL) straight through SQL.
    void addMember(const QString &ino, const QString &name, const QVariantMap &more = {});
    // Spoils the page of MASTER that holds the member's row, as a disk fault would: every read of
    // that page fails as damaged from then on.
    void damagePageOf(const QString &ino, const QString &name);

private:
    QTemporaryDir m_dir;
    Database m_db;
};

// Another program's hold on the register, from take() to release(): the register to itself,
// a write under way (others may still read), or a read left open (others may not write).
class RegisterLock {
public:
    enum Hold { Exclusive, Writing, Reading };
    explicit RegisterLock(const QString &databaseFile) { m_other.open(databaseFile); }
    void take(Hold hold = Exclusive);
    void release() { m_other.executeNative(QStringLiteral("COMMIT")); }
    // What the program reports when the hold stops it.
    QString message() const;

private:
    Database m_other;
};

// Another program that runs one statement on the register again and again, each in a
// transaction of its own, on a thread of its own, until it goes.
class RegisterPoller {
public:
    RegisterPoller(const QString &databaseFile, const char *sql);
    ~RegisterPoller();
    RegisterPoller(const RegisterPoller &) = delete;
    RegisterPoller &operator=(const RegisterPoller &) = delete;

private:
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

class Dataset;
// One field of every row of an open dataset, by view position: the cursor stays where it is.
QStringList ColumnValues(Dataset &rows, const char *field = "Name");

// Runs a test in a folder as the current one, restoring the old one afterwards.
class CurrentFolder {
public:
    explicit CurrentFolder(const QString &path) : m_old(QDir::currentPath()) { QDir::setCurrent(path); }
    ~CurrentFolder() { QDir::setCurrent(m_old); }

private:
    QString m_old;
};

// A register with the data module opened on it, as the program has it after start-up.
class TfrmDM;
class OpenedRegister {
public:
    OpenedRegister();
    ~OpenedRegister();
    TempRegister reg;
    // Opens the data module in the register's folder (after the test has put its rows in).
    TfrmDM &open();
    TfrmDM &dm() { return *m_dm; }

private:
    CurrentFolder m_cd{reg.folder()};
    std::unique_ptr<TfrmDM> m_dm;
};
