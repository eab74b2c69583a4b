#include "core/startup.h"

#include "core/dm.h"
#include "core/splash.h"
#include "platform/dbcontrols.h"
#include "platform/dialogs.h"
#include "platform/fonts.h"
#include "platform/instanceguard.h"
#include "platform/translation.h"

#include <QApplication>
#include <memory>

int RunProgram(int argc, char **argv, const StartupWindows &windows)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kelmo"));
    InstallFontSubstitutes();
    QApplication::setFont(ApplicationFont());
    InstallQtKoreanTranslation();
    InstallEditRules();
    return StartAndRun(windows);
}

int StartAndRun(const StartupWindows &windows)
{
    // Every "end the program" below is a return: the windows made so far are freed in order.
    InstanceGuard guard(QStringLiteral("Kelmo30"));
    if (!guard.tryAcquire()) {
        MessageBox(QStringLiteral("이미 실행되어 있습니다."), QStringLiteral("오류"), MsgButtons::Ok);
        return 1;
    }

    auto splash = std::make_unique<TfrmSplash>();
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    SetApplicationTitle(QStringLiteral("켈모누리 3.0"));

    auto dm = std::make_unique<TfrmDM>();
    frmDM = dm.get();
    struct ForgetDm { ~ForgetDm() { frmDM = nullptr; } } forgetDm;
    if (!frmDM->DataModuleCreate())
        return 1;

    std::unique_ptr<QWidget> mainWindow(windows.createMainWindow());
    if (!mainWindow)
        return 1;
    if (windows.createHiddenWindows)
        windows.createHiddenWindows();

    splash->hide();
    splash.reset();

    mainWindow->show();
    const int result = QApplication::exec();
    mainWindow.reset();
    return result;
}
