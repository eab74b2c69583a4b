#include "records/main.h"

#include "core/global.h"
#include "platform/dialogs.h"
#include "platform/inifile.h"
#include "platform/regsettings.h"

#include <QCloseEvent>

TfrmMain *frmMain = nullptr;

TfrmMain::TfrmMain(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    resize(800, 600);
}

TfrmMain::~TfrmMain()
{
    releaseSettingsStores();
    if (frmMain == this)
        frmMain = nullptr;
}

bool TfrmMain::FormCreate()
{
    IniFile = new IniStore(AppPath + QStringLiteral("KELMO.INI"));
    RegSettings = new RegistryStore();
    RegSettings->OpenKey(true);
    CaptionWindow = this;
    return ReadSettings();
}

void TfrmMain::releaseSettingsStores()
{
    if (CaptionWindow == this)
        CaptionWindow = nullptr;
    delete IniFile;
    IniFile = nullptr;
    delete RegSettings;
    RegSettings = nullptr;
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    if (MessageBox(QStringLiteral("정말 나가시겠습니까?"), QStringLiteral("종료"), MsgButtons::YesNo,
                   MsgIcon::Question) != IDYES) {
        event->ignore();
        return;
    }
    releaseSettingsStores();
    event->accept();
}

QWidget *CreateMainWindow()
{
    auto *w = new TfrmMain;
    frmMain = w;
    if (!w->FormCreate()) {
        delete w;
        return nullptr;
    }
    return w;
}
