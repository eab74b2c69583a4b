#pragma once
// The main window: the member browser and the hub of every command.
#include <QMainWindow>

class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget *parent = nullptr);
    ~TfrmMain() override;

    // Opens the settings stores and loads the settings; false when the program must end.
    bool FormCreate();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void releaseSettingsStores();
};

extern TfrmMain *frmMain;

// Creates the main window as start-up does; nullptr (after its message) when the program must end.
QWidget *CreateMainWindow();
