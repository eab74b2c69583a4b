#pragma once
// The program's start-up and shutdown sequence.
#include <functional>

class QWidget;

struct StartupWindows {
    // Creates the main window (settings loaded, user logged in); nullptr when the program must end.
    std::function<QWidget *()> createMainWindow;
    // Creates the long-lived windows that stay hidden until asked for.
    std::function<void()> createHiddenWindows;
};

// Makes the application object and runs the program; the exit code.
int RunProgram(int argc, char **argv, const StartupWindows &windows);
// The sequence itself, on an application object that already exists.
int StartAndRun(const StartupWindows &windows);
