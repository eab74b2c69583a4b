#include "platform/dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>

#include <algorithm>

namespace {
dialogs::MessageHandler &messageHandler()
{
    static dialogs::MessageHandler h;
    return h;
}
dialogs::ModalHandler &modalHandler()
{
    static dialogs::ModalHandler h;
    return h;
}
std::function<void()> &beepHandler()
{
    static std::function<void()> h;
    return h;
}

// A window kept above the others (the go-to window) would otherwise cover the program's modal
// windows, leaving the user a program that answers nothing and shows no reason why.
void keepAboveStayOnTopWindows(QWidget &modal)
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    if (std::any_of(windows.begin(), windows.end(), [&modal](const QWidget *w) {
            return w != &modal && w->isVisible() && w->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        }))
        modal.setWindowFlag(Qt::WindowStaysOnTopHint);
}

int showOnScreen(const MessageRequest &r)
{
    QMessageBox box(QApplication::activeWindow());
    keepAboveStayOnTopWindows(box);
    box.setWindowTitle(r.caption);
    QString shown = r.text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    box.setText(shown);
    switch (r.icon) {
    case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MsgIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Error: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    }
    struct Btn { QMessageBox::StandardButton b; const char *text; int result; };
    // As the Korean Windows boxes label them: Y and N answer a question without Alt.
    static const Btn ok{QMessageBox::Ok, "확인", IDOK}, yes{QMessageBox::Yes, "예(&Y)", IDYES},
        no{QMessageBox::No, "아니요(&N)", IDNO}, cancel{QMessageBox::Cancel, "취소", IDCANCEL};
    QList<Btn> buttons;
    switch (r.buttons) {
    case MsgButtons::Ok: buttons = {ok}; break;
    case MsgButtons::OkCancel: buttons = {ok, cancel}; break;
    case MsgButtons::YesNo: buttons = {yes, no}; break;
    case MsgButtons::YesNoCancel: buttons = {yes, no, cancel}; break;
    }
    for (const Btn &b : buttons) {
        box.addButton(b.b)->setText(QString::fromUtf8(b.text));
    }
    // As the system's own boxes are, never narrower than the caption beside the title-bar buttons.
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(new QSpacerItem(box.fontMetrics().horizontalAdvance(r.caption) + 120, 0), grid->rowCount(), 0, 1,
                      grid->columnCount());
    Btn first = buttons.first();
    for (const Btn &b : buttons)
        if (b.result == r.defaultResult)
            first = b;
    box.setDefaultButton(static_cast<QPushButton *>(box.button(first.b)));
    if (r.buttons != MsgButtons::YesNo) // a yes/no box has no way out but its two answers
        box.setEscapeButton(box.button(buttons.last().b));
    const int clicked = box.exec();
    for (const Btn &b : buttons)
        if (clicked == b.b)
            return b.result;
    return r.buttons == MsgButtons::YesNo ? IDNO : IDCANCEL;
}
} // namespace

namespace {
QString &applicationTitle()
{
    static QString t;
    return t;
}
}

QString ApplicationTitle()
{
    return applicationTitle();
}

void SetApplicationTitle(const QString &title)
{
    // Not QGuiApplication's display name: the window system would append it to every caption.
    applicationTitle() = title;
}

int MessageBox(const QString &text, const QString &caption, MsgButtons buttons, MsgIcon icon, int defaultResult)
{
    MessageRequest r{text, caption.isEmpty() ? ApplicationTitle() : caption, buttons, icon, defaultResult};
    if (messageHandler())
        return messageHandler()(r);
    return showOnScreen(r);
}

void ShowMessage(const QString &text)
{
    MessageBox(text);
}

void ShowError(const QString &text)
{
    MessageBox(text, QString::fromUtf8("오류"), MsgButtons::Ok, MsgIcon::Error);
}

namespace {
// The failures reported during the user's present action: met again before the next key or click
// (every cell of a paint, a command after the refresh it caused), they are not reported twice.
QSet<QString> &reportedErrors()
{
    static QSet<QString> texts;
    return texts;
}

// Posted reports not shown yet: a command that fails the same way shows its own box instead.
QStringList &pendingErrors()
{
    static QStringList texts;
    return texts;
}

// Watches for the next action only while failures of the present one are remembered, so that
// no event of the program passes through it otherwise.
class ActionWatch : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
            break;
        default:
            return false;
        }
        const auto *widget = qobject_cast<QWidget *>(watched);
        // Answering a box begins no new action: what its closing repaints belongs to the old one.
        if (!widget || !qobject_cast<const QMessageBox *>(widget->window())) {
            reportedErrors().clear();
            QCoreApplication::instance()->removeEventFilter(this);
        }
        return false;
    }
};

void report(const QString &text)
{
    if (QCoreApplication *app = QCoreApplication::instance(); app && reportedErrors().isEmpty()) {
        const QString name = QStringLiteral("actionWatch");
        auto *watch = app->findChild<QObject *>(name, Qt::FindDirectChildrenOnly);
        if (!watch) {
            watch = new ActionWatch(app);
            watch->setObjectName(name);
        }
        app->installEventFilter(watch);
    }
    reportedErrors().insert(text);
}
} // namespace

void Guarded(const std::function<void()> &command)
{
    try {
        command();
    } catch (const std::exception &e) {
        const QString text = QString::fromUtf8(e.what());
        pendingErrors().removeAll(text);
        report(text);
        ShowError(text);
    }
}

void PostError(const QString &text)
{
    if (reportedErrors().contains(text))
        return;
    report(text);
    pendingErrors().append(text);
    QMetaObject::invokeMethod(QCoreApplication::instance(), [text] {
        if (pendingErrors().removeOne(text))
            ShowError(text);
    }, Qt::QueuedConnection);
}

void GuardedPosted(const std::function<void()> &command)
{
    try {
        command();
    } catch (const std::exception &e) {
        PostError(QString::fromUtf8(e.what()));
    }
}

int ExecModal(QDialog &dialog)
{
    dialog.ensurePolished();
    keepAboveStayOnTopWindows(dialog);
    if (modalHandler())
        return modalHandler()(dialog);
    return dialog.exec();
}

void Beep()
{
    if (beepHandler())
        beepHandler()();
    else
        QApplication::beep();
}

namespace dialogs {
void setMessageHandler(MessageHandler handler) { messageHandler() = std::move(handler); }
void setModalHandler(ModalHandler handler) { modalHandler() = std::move(handler); }
void setBeepHandler(std::function<void()> handler) { beepHandler() = std::move(handler); }
}
