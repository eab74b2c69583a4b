#include "tempregister.h"

#include "core/dm.h"
#include "platform/dataset.h"
#include "platform/errortext.h"

#include <QFile>
#include <sqlite3.h>
#include <QTest>
#include <QtEndian>

TempRegister::TempRegister()
{
    QDir().mkpath(dataFolder());
    Database::create(databaseFile(), KelmoTables());
    m_db.setCatalog(KelmoTables());
    m_db.open(databaseFile());
}

void TempRegister::addMember(const QString &ino, const QString &name, const QVariantMap &more)
{
    QStringList cols{QStringLiteral("Ino"), QStringLiteral("Name")};
    QStringList marks{QStringLiteral(":ino"), QStringLiteral(":name")};
    Params params{{QStringLiteral("ino"), ino}, {QStringLiteral("name"), name}};
    int n = 0;
    for (auto it = more.begin(); it != more.end(); ++it, ++n) {
        cols << it.key();
        marks << QStringLiteral(":p%1").arg(n);
        params.append({QStringLiteral("p%1").arg(n), it.value()});
    }
    m_db.execute(QStringLiteral("INSERT INTO MASTER (%1) VALUES (%2)").arg(cols.join(u','), marks.join(u',')),
                 params);
}

void TempRegister::damagePageOf(const QString &ino, const QString &name)
{
    Statement size(m_db, QStringLiteral("PRAGMA page_size"));
    size.step();
    const qsizetype pageSize = size.columnInt64(0);
    QFile file(databaseFile());
    if (!file.open(QIODevice::ReadWrite))
        QTest::qFail("the register cannot be damaged", __FILE__, __LINE__);
    QByteArray bytes = file.readAll();
    const QByteArray row = (ino + name).toUtf8(); // a row stores its first two fields side by side
    for (qsizetype page = 0; page * pageSize < bytes.size(); ++page) {
        const qsizetype type = page * pageSize + (page == 0 ? 100 : 0);
        if (bytes[type] == 0x0d && bytes.mid(page * pageSize, pageSize).contains(row)) // a table's leaf
            bytes[type] = 0;
    }
    // A new change counter makes every connection drop the pages it holds.
    qToBigEndian(qFromBigEndian<quint32>(bytes.constData() + 24) + 1, bytes.data() + 24);
    file.seek(0);
    file.write(bytes);
}

OpenedRegister::OpenedRegister() = default;

OpenedRegister::~OpenedRegister()
{
    if (frmDM == m_dm.get())
        frmDM = nullptr;
}

TfrmDM &OpenedRegister::open()
{
    m_dm = std::make_unique<TfrmDM>();
    frmDM = m_dm.get();
    if (!m_dm->DataModuleCreate())
        QTest::qFail("the data module did not open the register", __FILE__, __LINE__);
    return *m_dm;
}

QStringList ColumnValues(Dataset &rows, const char *field)
{
    QStringList out;
    const int f = rows.fieldByName(QString::fromLatin1(field)).index();
    for (int r = 0; r < rows.recordCount(); ++r)
        out << rows.valueAt(r, f).toString();
    return out;
}

void RegisterLock::take(Hold hold)
{
    switch (hold) {
    case Exclusive:
        m_other.executeNative(QStringLiteral("BEGIN EXCLUSIVE"));
        break;
    case Writing:
        m_other.executeNative(QStringLiteral("BEGIN IMMEDIATE"));
        break;
    case Reading:
        m_other.executeNative(QStringLiteral("BEGIN"));
        m_other.executeNative(QStringLiteral("SELECT count(*) FROM MASTER"));
        break;
    }
}

RegisterPoller::RegisterPoller(const QString &databaseFile, const char *sql)
{
    m_thread = std::thread([this, file = databaseFile.toUtf8(), sql = QByteArray(sql)] {
        sqlite3 *db = nullptr;
        sqlite3_open_v2(file.constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_busy_timeout(db, 5000); // as a program of its own, which waits its turn
        while (!m_stop)
            sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
        sqlite3_close(db);
    });
}

RegisterPoller::~RegisterPoller()
{
    m_stop = true;
    m_thread.join();
}

QString RegisterLock::message() const
{
    return FailureText(Failure::Locked, m_other.fileName(), QStringLiteral("database is locked"));
}
