#pragma once
// The main window: the member browser and the hub of every command.
#include "platform/dataset.h"
#include "platform/dbcontrols.h"
#include "platform/dialogs.h"

#include <QMainWindow>
#include <functional>

class QAction;
class QLabel;
class QMenu;
class QStatusBar;
class QTabBar;
class QTabWidget;
class QTimer;
class QToolButton;

class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget *parent = nullptr);
    ~TfrmMain() override;

    // Opens the settings stores, loads the settings, asks for the login; false when the program must end.
    bool FormCreate();

    void RefreshCounts();
    void UpdateCommandState(bool hasRecords);
    // The naming options' words on the menus and labels.
    void Relabel();
    // The conversion items while their earlier version's alias exists; their menu with either.
    void ShowConversionItems();
    // A command by its component name ("mnuIns"), for tests and for windows that click one.
    QAction *command(const QString &name) const;

    // Left pane
    QComboBox *cbxGo;
    QTabBar *tcN;
    DBGrid *dgrdName;
    QLabel *stbrName; // the member count, centred
    // Right pane
    QWidget *pnlMain;
    DBImage *dimgPic;
    QTabWidget *pgcUpper;
    QTabWidget *pgcLower;
    QLabel *lblArea;
    DBCheckBox *dchkC;
    DBCheckBox *dchkB;
    DBMemo *dmemCmemo, *dmemJmemo, *dmemFmemo, *dmemVc, *dmemVr, *dmemSr;
    DBGrid *dgrdFamily, *dgrdVisit, *dgrdStudy;
    QLabel *pnlFn, *pnlVn, *pnlSn;
    QStatusBar *stbrMain;
    QLabel *stbrMainText, *stbrClock;
    QTimer *tmrDateTime;
    QToolButton *imgAbout;

    // Commands (the handlers of the menu, toolbar and page buttons)
    void mnuInsClick();
    void mnuNewClick();
    void mnuEditClick();
    void mnuDelClick();
    void mnuGoClick();
    void mnuAllClick();
    void mnuPrintClick();
    void mnuFileSaveClick();
    void mnuPrtsetClick();
    void mnuHelpClick();
    void mnuEmailClick();
    void mnuCheckClick();
    void mnuDialClick();
    void mnuAboutClick();
    void mnuSetupClick();
    void mnuBackupClick();
    void mnuFindClick();
    void mnuMemoClick();
    void mnuJobClick();
    void mnuFamilyClick();
    void mnuVisitClick();
    void mnuStudyClick();
    void mnuPicClick();
    void mnuZipClick();
    void mnuStatClick();
    void mnuSAreaClick();
    void mnuSPartClick();
    void mnuSDutyClick();
    void mnuSGitaClick();
    void mnuSBigoClick();
    void mnu1to3Click();
    void mnu2to3Click();
    void mnuCalenClick();
    void mnuCalenBClick();
    void mnuCalenFClick();
    void mnuCalenMClick();
    void mnuLBdayClick();
    void mnuLFdayClick();
    void M1Click();
    // The list menu
    void mnuListClick();
    void mnuLAreaClick();
    void mnuLPartClick();
    void mnuLDutyClick();
    void mnuLGitaClick();
    void mnuLBigoClick();
    void mnuLStudyClick();
    void mnuLRegClick();
    void mnuLGenClick();
    void mnuLBapClick();
    void sbtnFgenClick();
    void sbtnBdayClick();
    void sbtnFbdayClick();
    void sbtnMdayClick();
    void dial(const QString &field, const QString &suffix, bool messageWhenEmpty);
    void dgrdFamilyDblClick();
    void cbxGoEnter();
    void tcNChange(int index);

    // Shift range selection state
    bool ShiftDown = false;
    int SelAnchor = -1;

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void buildToolbar(QWidget *parent, class QVBoxLayout *into);
    QWidget *buildNamePane();
    QWidget *buildDetailPane();
    void releaseSettingsStores();
    void clearSelection();
    // The household jump and the go box search by name in name order, whatever order is set.
    void useNameOrder();
    void showThisYear(const QString &date, bool lunar, const QString &caption);
    void keepPosition(const std::function<void()> &open);
    // A handler as a slot that reports its failures instead of letting them reach the event loop.
    auto guarded(void (TfrmMain::*handler)())
    {
        return [this, handler] { Guarded([&] { (this->*handler)(); }); };
    }
    template <class Window>
    void showWindow();
    // Keeps the member table's position around the window and clears the name grid's selection.
    template <class Window>
    void showKeepingPosition();
    template <class Import>
    void convert();
    template <class Window>
    void openMemberWindow(const QString &caption, bool editMember);
    QString memberCaption(const char *what) const;
    QToolButton *dialButton(QWidget *parent, const char *name, const QString &hint, const char *field,
                            const QString &suffix, bool messageWhenEmpty);
    void dgrdNameMouseDown(Qt::KeyboardModifiers modifiers);
    void dgrdNameCellClick(int row);

    QHash<QString, QAction *> m_commands;
    QHash<QMenu *, QList<QAction *>> m_headerItems; // every item of a header, shown or hidden
    QList<QMenu *> m_recordMenus;
    QList<QWidget *> m_recordWidgets;
    // The name grid was to have the focus while it was disabled: it takes it once it has rows.
    bool m_nameGridFocusPending = false;
    QMenu *mnuTrans = nullptr;
    QAction *mnuTransAction = nullptr;
};

extern TfrmMain *frmMain;

// Creates the main window as start-up does; nullptr (after its message) when the program must end.
QWidget *CreateMainWindow();
