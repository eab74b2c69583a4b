#pragma once
// Answers message boxes and modal windows in a test. A box nobody expected fails the test.
#include "platform/dialogs.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <functional>

class ScriptedMessages {
public:
    ScriptedMessages();
    ~ScriptedMessages();
    ScriptedMessages(const ScriptedMessages &) = delete;
    ScriptedMessages &operator=(const ScriptedMessages &) = delete;

    // The next box must show exactly this text; it is answered with result.
    ScriptedMessages &expect(const QString &text, int result = IDOK);
    // Called with each box while it is "on screen", before it is answered.
    void onShow(std::function<void(const MessageRequest &)> look) { m_look = std::move(look); }
    // Every box shown so far, in order.
    const QList<MessageRequest> &shown() const { return m_shown; }
    bool allAnswered() const { return m_expected.isEmpty(); }

private:
    struct Expected { QString text; int result; };
    QList<Expected> m_expected;
    QList<MessageRequest> m_shown;
    std::function<void(const MessageRequest &)> m_look;
};

// Runs each modal window through a function instead of a nested event loop.
class ScriptedModals {
public:
    explicit ScriptedModals(std::function<int(QDialog &)> handler);
    ~ScriptedModals();
    ScriptedModals(const ScriptedModals &) = delete;
    ScriptedModals &operator=(const ScriptedModals &) = delete;
};
