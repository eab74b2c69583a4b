// The start-up sequence: single instance, the splash during the checks, the orderly ends.
#include "core/dm.h"
#include "core/startup.h"
#include "platform/instanceguard.h"
#include "records/main.h"
#include "scripted.h"
#include "tempregister.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

namespace {
QWidget *visibleTopLevel(const char *name)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(name) && w->isVisible())
            return w;
    return nullptr;
}

StartupWindows mainWindowOnly()
{
    StartupWindows windows;
    windows.createMainWindow = CreateMainWindow;
    return windows;
}
} // namespace

class TestStartup : public QObject {
    Q_OBJECT
    QTemporaryDir m_private;

private slots:
    void initTestCase()
    {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_private.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_private.filePath(QStringLiteral("config"))));
    }

    void secondCopyEndsBeforeAnyWindow()
    {
        InstanceGuard first(QStringLiteral("Kelmo30"));
        QVERIFY(first.tryAcquire());
        ScriptedMessages boxes;
        boxes.expect(QStringLiteral("이미 실행되어 있습니다."));
        bool windowShown = true;
        boxes.onShow([&](const MessageRequest &) { windowShown = visibleTopLevel("frmSplash") != nullptr; });
        QCOMPARE(StartAndRun(mainWindowOnly()), 1);
        QVERIFY(!windowShown);
        QCOMPARE(boxes.shown().first().caption, QStringLiteral("오류"));
        QVERIFY(first.isHeld());
    }

    void missingDataEndsWhileTheSplashShows()
    {
        QTemporaryDir dir;
        CurrentFolder cd(dir.path());
        bool splashShown = false;
        ScriptedMessages boxes;
        boxes.expect(QStringLiteral("[Data/KELMODB.db] 파일이 없습니다."));
        boxes.onShow([&](const MessageRequest &) { splashShown = visibleTopLevel("frmSplash") != nullptr; });
        QCOMPARE(StartAndRun(mainWindowOnly()), 1);
        QVERIFY(splashShown);
        QVERIFY(!visibleTopLevel("frmSplash"));
        QVERIFY(!visibleTopLevel("frmMain"));
        // the guard went with the run: the next start is not refused
        InstanceGuard again(QStringLiteral("Kelmo30"));
        QVERIFY(again.tryAcquire());
    }

    void runsUntilTheCloseQuestionIsAnsweredYes()
    {
        TempRegister reg;
        reg.addMember(QStringLiteral("1"), QStringLiteral("김"));
        CurrentFolder cd(reg.folder());
        ScriptedMessages boxes;
        boxes.expect(QStringLiteral("정말 나가시겠습니까?"), IDNO).expect(QStringLiteral("정말 나가시겠습니까?"), IDYES);
        QString caption;
        QTimer poll; // acts once the loop shows the main window
        QTimer::singleShot(20000, qApp, &QApplication::quit); // never hang on a failure
        connect(&poll, &QTimer::timeout, this, [&] {
            // A new register opens the birthday calendar at start, before the main window shows.
            if (QWidget *calendar = visibleTopLevel("frmCalenB")) {
                calendar->close();
                return;
            }
            QWidget *main = visibleTopLevel("frmMain");
            if (!main)
                return;
            poll.stop();
            caption = main->windowTitle();
            QVERIFY(!frmDM->tbMaster.fieldByName(QStringLiteral("Name")).asString().isEmpty());
            main->close(); // "no": stays
            QVERIFY(main->isVisible());
            main->close();
        });
        poll.start(10);
        QCOMPARE(StartAndRun(mainWindowOnly()), 0);
        QCOMPARE(caption, QStringLiteral("켈모누리 3.0 [교회 - 사용자]"));
        QVERIFY(!frmDM);
        QVERIFY(boxes.allAnswered());
        QCOMPARE(boxes.shown().first().caption, QStringLiteral("종료"));
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
