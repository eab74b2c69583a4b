#pragma once
// Base of every window of the program: the original's closing, Esc and Enter rules on top of QDialog.
//  - Esc presses the window's cancel button when it has one and it is enabled; nothing else.
//  - Enter presses the focused push button, otherwise the button named default (or nothing).
//  - Every way of closing (title bar, Esc, a button's modal result) asks FormCloseQuery first.
#include <QAbstractButton>
#include <QDialog>
#include <QPushButton>
#include <QPointer>
#include <initializer_list>
#include <utility>


class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;

// The old library's panel: a framed caption, raised or sunken.
QLabel *Panel(const QString &text, QWidget *parent, bool sunken = false);
// A password edit as the old ones were: every character shown as "*", Hangul typeable.
void MaskAsPassword(QLineEdit *edit);

// A push button named as the window's component.
QPushButton *NamedButton(const QString &caption, const char *name, QWidget *parent);
// Rows of a caption (the buddy of its control) and the control.
QGridLayout *LabelledRows(QWidget *parent, std::initializer_list<std::pair<const char *, QWidget *>> rows);
// Buttons flush right, as the windows' bottom rows are.
QHBoxLayout *ButtonRow(std::initializer_list<QWidget *> buttons);
// An edit that shows "*" for each character; Qt turns input methods off for passwords, but a
// Hangul password must be typeable.
QLineEdit *PasswordEdit(QWidget *parent, const char *name);

// Keeps a top-level window, frame included, inside its screen's available area: what is larger
// is made smaller, down to the window's minimum size, and what lies outside is moved inside.
// It is done when the window is shown and again once the window manager has framed it.
// outerMinimum and outerMaximumWidth count the frame, as the old sizes did.
void KeepOnScreen(QWidget *window, QSize outerMinimum = {}, int outerMaximumWidth = QWIDGETSIZE_MAX);

// Lets Tab walk a window's controls as its layouts place them: a grid row by row and left to
// right, a box layout in its order, and each panel or group box whole before what follows it.
// Controls outside any layout come after their panel's laid-out ones, top then left. Every TForm
// does this when it is first shown.
void OrderTabsByLayout(QWidget *window);

enum ModalResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

class TForm : public QDialog {
    Q_OBJECT
public:
    explicit TForm(QWidget *parent = nullptr);

    // Shows the window modally through the test seam; returns its modal result.
    int ShowModal();
    // Closes a modal window with this result when FormCloseQuery allows it.
    void setModalResult(int result);
    int modalResult() const { return m_modalResult; }

    void setCancelButton(QAbstractButton *button) { m_cancel = button; }
    void setDefaultButton(QPushButton *button);

    // Centres the window, at the size it shows with, on another (the main window) or on the
    // screen, wholly within the screen's available area.
    void centreOn(QWidget *other);

protected:
    // Whether the window may close now.
    virtual bool FormCloseQuery() { return true; }
    // Called once the window is closing.
    virtual void FormClose() {}

    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void reject() override;
    void done(int r) override;

private:
    bool mayClose();
    // The focused button, else the named one, is the default; Qt's autoDefault rule is off.
    void markDefault(QPushButton *focused);
    QPointer<QAbstractButton> m_cancel;
    QPointer<QPushButton> m_default;
    int m_modalResult = mrNone;
    bool m_closing = false;
    bool m_tabsOrdered = false;
};

// The one-line input box: caption, prompt, the edit "edtValue", OK and cancel. False when
// cancelled; otherwise value holds the text as typed.
bool InputQuery(const QString &caption, const QString &prompt, QString &value);
