#pragma once
// Every message box and every modal window of the program goes through here, so that a test can
// answer them in advance and the program never blocks headless.
#include <QString>
#include <functional>

class QDialog;

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgIcon { None, Information, Warning, Error, Question };

// Results keep the numbers of the original message-box API, which callers compare against.
enum MsgResult { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

struct MessageRequest {
    QString text;
    QString caption;
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
    int defaultResult = 0; // the button Enter presses; 0: the first
};

// The title of the program: caption of every box that names none.
QString ApplicationTitle();
void SetApplicationTitle(const QString &title);

// Caption empty: the application title. Returns one of MsgResult.
int MessageBox(const QString &text, const QString &caption = {}, MsgButtons buttons = MsgButtons::Ok,
               MsgIcon icon = MsgIcon::None, int defaultResult = 0);
// The plain information box (application title, OK only).
void ShowMessage(const QString &text);
// Error box with OK, as the engine's own error reports look.
void ShowError(const QString &text);

// A failure is reported once per user action (a key or a click): met again before the next one,
// in a paint, a refresh or the command that caused them, it opens no second box.

// Runs a command handler; a failure is shown in an error box instead of leaving the handler
// (exceptions must not cross the event loop).
void Guarded(const std::function<void()> &command);

// For what Qt calls where no box may open (painting, model reads, deferred refreshes, slots that
// only show data): the failure is shown from the event loop.
void PostError(const QString &text);
// Guarded for such places: a failure goes to PostError.
void GuardedPosted(const std::function<void()> &command);

// A handler to connect to a signal, run under Guarded: connect(button, &QPushButton::clicked, this,
// GuardedSlot(this, &TfrmX::buttonClick)).
template <class Object, class... Args>
auto GuardedSlot(Object *object, void (Object::*handler)(Args...))
{
    return [object, handler](Args... args) { Guarded([&] { (object->*handler)(args...); }); };
}

// Shows a dialog modally and returns its result (QDialog::DialogCode or done() value). The
// dialog is polished first, also for a test's handler, as showing it would.
int ExecModal(QDialog &dialog);

// The warning sound, for input that an edit could not take whole.
void Beep();

namespace dialogs {
using MessageHandler = std::function<int(const MessageRequest &)>;
using ModalHandler = std::function<int(QDialog &)>;
// Test seams: while set, boxes and modal windows go to the handler instead of the screen.
void setMessageHandler(MessageHandler handler);
void setModalHandler(ModalHandler handler);
// While set, the warning sound calls the handler instead.
void setBeepHandler(std::function<void()> handler);
}
