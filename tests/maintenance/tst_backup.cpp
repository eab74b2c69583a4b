// The backup window: a consistent register copy while the program writes, a failure that keeps
// the previous set, overwriting, cancelling, and the start-up folders.
#include "core/dm.h"
#include "core/global.h"
#include "core/tables.h"
#include "generator/generator.h"
#include "maintenance/backup.h"
#include "platform/errortext.h"
#include "scripted.h"
#include "tempregister.h"

#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {
const QString Done = QStringLiteral("데이터 보관이 완료되었습니다.");

QString backupFile(const char *name)
{
    return BackupPath + QString::fromLatin1(name);
}

QByteArray contents(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Files of this process cannot grow past the limit, as on a disk that fills up.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN); // the write fails instead of ending the process
        const rlimit limited{bytes, m_saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_saved{};
    void (*m_handler)(int) = nullptr;
};
} // namespace

class TestBackup : public QObject {
    Q_OBJECT

private slots:
    void copyWhileWritingIsOneConsistentRegister()
    {
        OpenedRegister r;
        GenerateRegister(r.reg.db(), 4000, 7); // several slices of the copy
        QFile(r.reg.folder() + QStringLiteral("/KELMO.INI")).open(QIODevice::WriteOnly);
        r.open();
        TfrmBackup w;
        int written = 0;
        QTimer writer;
        connect(&writer, &QTimer::timeout, [&] {
            if (w.pbrProgress->value() == w.pbrProgress->maximum())
                return; // the copy is complete
            frmDM->dbKelmo.execute(QStringLiteral("INSERT INTO MASTER (INO, NAME) VALUES (:i, '쓰기')"),
                                   {{QStringLiteral("i"), QStringLiteral("W%1").arg(++written)}});
        });
        writer.start(0);
        ScriptedMessages boxes;
        boxes.expect(Done);
        w.bbtnOK->click();
        writer.stop();
        QVERIFY(written > 0);
        QCOMPARE(w.pbrProgress->value(), w.pbrProgress->maximum());
        QVERIFY(QFile::exists(backupFile("KELMO.INI")));

        Database copy;
        copy.setCatalog(KelmoTables());
        copy.open(backupFile("KELMODB.db"));
        QCOMPARE(copy.scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
        for (const TableDef &t : KelmoTables())
            copy.verifyTable(t);
        const QString members = QStringLiteral("SELECT COUNT(*) FROM MASTER");
        QCOMPARE(copy.scalar(members), frmDM->dbKelmo.scalar(members));
    }

    void aFailedRunLeavesThePreviousSetWhole()
    {
        OpenedRegister r;
        QFile settings(r.reg.folder() + QStringLiteral("/KELMO.INI"));
        QVERIFY(settings.open(QIODevice::WriteOnly) && settings.write("[Church]\nName=새교회\n") > 0);
        settings.close();
        r.open();
        QDir().mkpath(BackupPath);
        for (const char *name : {"KELMO.INI", "KELMODB.db"}) {
            QFile old(backupFile(name));
            QVERIFY(old.open(QIODevice::WriteOnly) && old.write(QByteArray("previous ") + name) > 0);
        }
        const auto backupFolder = [] {
            return QDir(BackupPath).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        };
        ScriptedMessages boxes;
        boxes.expect(QStringLiteral("KELMODB.db 파일을 보관하지 못했습니다.\n") +
                     FailureText(Failure::InputOutput, BackupPath + QStringLiteral(".writing/KELMODB.db"),
                                 QStringLiteral("disk I/O error (File too large)")));
        {
            FileSizeLimit full(16 * 1024); // room for the settings, not for the register
            TfrmBackup w;
            w.bbtnOK->click();
            QVERIFY(w.bbtnOK->isEnabled());
        }
        QCOMPARE(contents(backupFile("KELMO.INI")), QByteArray("previous KELMO.INI"));
        QCOMPARE(contents(backupFile("KELMODB.db")), QByteArray("previous KELMODB.db"));
        QCOMPARE(backupFolder(), (QStringList{QStringLiteral("KELMO.INI"), QStringLiteral("KELMODB.db")}));

        // Another program's lock is waited out no longer than a statement waits.
        {
            RegisterLock other(TfrmDM::DatabaseFileName());
            other.take();
            frmDM->dbKelmo.setBusyTimeout(300);
            boxes.expect(QStringLiteral("KELMODB.db 파일을 보관하지 못했습니다.\n") +
                         other.message());
            TfrmBackup w;
            w.bbtnOK->click();
        }
        QCOMPARE(contents(backupFile("KELMODB.db")), QByteArray("previous KELMODB.db"));

        // Without settings of its own the program leaves no older ones beside the new register.
        QFile::remove(settings.fileName());
        boxes.expect(Done);
        TfrmBackup w;
        w.bbtnOK->click();
        QCOMPARE(backupFolder(), QStringList{QStringLiteral("KELMODB.db")});
    }

    void secondRunOverwritesTheFirst()
    {
        OpenedRegister r;
        r.open();
        for (int run = 1; run <= 2; ++run) {
            frmDM->dbKelmo.execute(QStringLiteral("INSERT INTO AREA (AREA) VALUES ('구역')"));
            ScriptedMessages boxes;
            boxes.expect(Done);
            TfrmBackup w;
            w.bbtnOK->click();
        }
        Database copy;
        copy.open(backupFile("KELMODB.db"));
        QCOMPARE(copy.scalar(QStringLiteral("SELECT COUNT(*) FROM AREA")).toInt(), 2);
    }

    // A new register is its owner's alone whatever the umask, and so is its copy; the settings'
    // copy is never readable by more than the settings themselves.
    void copiesAreNoMoreReadableThanTheirSources()
    {
        const mode_t umaskWas = ::umask(022);
        const auto mode = [](const QString &file) {
            struct stat st {};
            return ::stat(QFile::encodeName(file).constData(), &st) == 0 ? st.st_mode & 0777 : 01000u;
        };
        {
            OpenedRegister r;
            QCOMPARE(mode(r.reg.databaseFile()), 0600u);
            const QString ini = r.reg.folder() + QStringLiteral("/KELMO.INI");
            QFile(ini).open(QIODevice::WriteOnly);
            r.open();
            ::chmod(QFile::encodeName(r.reg.databaseFile()).constData(), 0644); // widened by hand
            for (const mode_t iniMode : {0600u, 0640u}) {
                ::chmod(QFile::encodeName(ini).constData(), iniMode);
                ScriptedMessages boxes;
                boxes.expect(Done);
                TfrmBackup w;
                w.bbtnOK->click();
                QCOMPARE(mode(backupFile("KELMODB.db")), 0600u);
                QCOMPARE(mode(backupFile("KELMO.INI")), iniMode);
            }
        }
        ::umask(umaskWas);
    }

    void cancelCopiesNothingAndTheFoldersAreTheStartUpOnes()
    {
        OpenedRegister r;
        r.open();
        const QString startUp = AppPath;
        QTemporaryDir elsewhere; // where a save dialog left the current folder
        QDir::setCurrent(elsewhere.path());
        TfrmBackup w;
        QCOMPARE(w.edtBakDir->text(), startUp + QStringLiteral("Backup/"));
        w.bbtnCancel->click();
        QVERIFY(QDir(startUp + QStringLiteral("Backup")).isEmpty());
        QVERIFY(QDir(elsewhere.path()).isEmpty());
    }
};

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
