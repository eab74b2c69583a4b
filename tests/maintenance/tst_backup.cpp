// The backup window: a consistent register copy while the program writes, failures that keep the
// previous copy, overwriting, cancelling, and the start-up folders.
#include "core/dm.h"
#include "core/global.h"
#include "core/tables.h"
#include "generator/generator.h"
#include "maintenance/backup.h"
#include "scripted.h"
#include "tempregister.h"

#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

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

// Root ignores permission bits; without these two capabilities it obeys them like any user.
class WithoutPermissionOverride {
public:
    WithoutPermissionOverride()
    {
        syscall(SYS_capget, &m_header, m_saved);
        __user_cap_data_struct reduced[2] = {m_saved[0], m_saved[1]};
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        syscall(SYS_capset, &m_header, reduced);
    }
    ~WithoutPermissionOverride() { syscall(SYS_capset, &m_header, m_saved); }

private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2]{};
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

    void failureNamesTheFileAndKeepsThePreviousCopy()
    {
        OpenedRegister r;
        r.open();
        QDir().mkpath(BackupPath);
        QFile old(backupFile("KELMODB.db"));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("previous") == 8);
        old.close();
        QFile::setPermissions(BackupPath, QFile::ReadOwner | QFile::ExeOwner);
        ScriptedMessages boxes;
        boxes.expect(QStringLiteral("KELMODB.db 파일을 보관하지 못했습니다.\r\nPermission denied"));
        {
            WithoutPermissionOverride asUser;
            TfrmBackup w;
            w.bbtnOK->click();
            QVERIFY(w.bbtnOK->isEnabled());
        }
        QFile::setPermissions(BackupPath, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(contents(backupFile("KELMODB.db")), QByteArray("previous"));
        QCOMPARE(QDir(BackupPath).entryList(QDir::Files), QStringList{QStringLiteral("KELMODB.db")});
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
