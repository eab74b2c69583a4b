#include "platform/instanceguard.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>

namespace {
// Whether a guard of that name can be acquired by another process.
bool otherProcessAcquires(const QString &name)
{
    const pid_t pid = fork();
    if (pid == 0) {
        InstanceGuard guard(name);
        _exit(guard.tryAcquire() ? 0 : 1);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        qFatal("child process failed");
    return WEXITSTATUS(status) == 0;
}
} // namespace

class TestInstanceGuard : public QObject {
    Q_OBJECT
    QTemporaryDir m_runtime;

private slots:
    void init() { qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path())); }

    void onlyOneHolder()
    {
        InstanceGuard guard;
        QCOMPARE(guard.lockFileName(), m_runtime.filePath(QStringLiteral("Kelmo30.lock")));
        QVERIFY(guard.tryAcquire());
        QVERIFY(guard.tryAcquire()); // asking again while holding is no contention
        QVERIFY(!otherProcessAcquires(QStringLiteral("Kelmo30")));
        InstanceGuard sameProcess;
        QVERIFY(!sameProcess.tryAcquire());
        QVERIFY(sameProcess.errorString().isEmpty());
        QVERIFY(otherProcessAcquires(QStringLiteral("Other")));

        guard.release();
        QVERIFY(!guard.isHeld());
        QVERIFY(QFile::exists(guard.lockFileName())); // never unlinked
        QVERIFY(otherProcessAcquires(QStringLiteral("Kelmo30")));
        QVERIFY(sameProcess.tryAcquire());
    }

    void startedProgramsDoNotInheritTheLock()
    {
        auto guard = std::make_unique<InstanceGuard>();
        QVERIFY(guard->tryAcquire());
        QProcess sleeper;
        sleeper.start(QStringLiteral("sleep"), {QStringLiteral("5")});
        QVERIFY(sleeper.waitForStarted());
        guard.reset();
        InstanceGuard again;
        const bool acquired = again.tryAcquire();
        QCOMPARE(sleeper.state(), QProcess::Running);
        sleeper.kill();
        sleeper.waitForFinished();
        QVERIFY(acquired);
    }

    void fallsBackToPrivateTempFolder()
    {
        QTemporaryDir tmp;
        qunsetenv("XDG_RUNTIME_DIR");
        qputenv("TMPDIR", QFile::encodeName(tmp.path()));
        const QString folder = QDir::tempPath() + QStringLiteral("/kelmo-") +
                               QString::number(getuid());
        {
            InstanceGuard guard;
            QVERIFY2(guard.tryAcquire(), qPrintable(guard.errorString()));
            QCOMPARE(guard.lockFileName(), folder + QStringLiteral("/Kelmo30.lock"));
            struct stat st {};
            QVERIFY(::stat(QFile::encodeName(folder).constData(), &st) == 0);
            QCOMPARE(st.st_mode & 0777, mode_t(0700));
        }
        // A folder planted in the shared temp folder in our name is not trusted.
        QVERIFY(QDir(folder).removeRecursively());
        QVERIFY(QDir(tmp.path()).mkdir(QStringLiteral("elsewhere")));
        QVERIFY(QFile::link(tmp.filePath(QStringLiteral("elsewhere")), folder));
        InstanceGuard planted;
        QVERIFY(!planted.tryAcquire());
        QVERIFY(!planted.errorString().isEmpty());
        qunsetenv("TMPDIR");
    }
};

QTEST_GUILESS_MAIN(TestInstanceGuard)
#include "tst_instanceguard.moc"
