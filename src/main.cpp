#include "core/startup.h"
#include "records/main.h"

int main(int argc, char **argv)
{
    StartupWindows windows;
    windows.createMainWindow = CreateMainWindow;
    return RunProgram(argc, argv, windows);
}
