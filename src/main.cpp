#include "core/startup.h"
#include "records/main.h"

int main(int argc, char **argv)
{
    StartupWindows windows;
    windows.createMainWindow = []() -> QWidget * {
        auto *w = new TfrmMain;
        frmMain = w;
        if (!w->FormCreate()) {
            delete w;
            return nullptr;
        }
        return w;
    };
    return RunProgram(argc, argv, windows);
}
