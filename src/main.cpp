#include "core/startup.h"
#include "records/go.h"
#include "records/main.h"

int main(int argc, char **argv)
{
    StartupWindows windows;
    windows.createMainWindow = CreateMainWindow;
    windows.createHiddenWindows = [] { frmGo = new TfrmGo(frmMain); };
    return RunProgram(argc, argv, windows);
}
