#pragma once
// The main window on a register, with the settings in private folders, as start-up makes it.
#include "records/main.h"
#include "tempregister.h"

#include <memory>

class MainWindowFixture {
public:
    MainWindowFixture();
    ~MainWindowFixture();
    OpenedRegister r;
    // Opens the data module and creates the main window (after the test has put its rows in).
    TfrmMain &open();
    TfrmMain &main() { return *m_main; }
    Table &master();

private:
    std::unique_ptr<TfrmMain> m_main;
};
