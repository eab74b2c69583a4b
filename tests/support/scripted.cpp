#include "scripted.h"

#include <QTest>

ScriptedMessages::ScriptedMessages()
{
    dialogs::setMessageHandler([this](const MessageRequest &r) {
        m_shown.append(r);
        if (m_look)
            m_look(r);
        if (m_expected.isEmpty()) {
            QTest::qFail(qPrintable(QStringLiteral("unexpected message box: ") + r.text), __FILE__,
                         __LINE__);
            return int(r.buttons == MsgButtons::Ok ? IDOK : IDCANCEL);
        }
        const Expected e = m_expected.takeFirst();
        if (e.text != r.text)
            QTest::qFail(qPrintable(QStringLiteral("message box \"%1\" where \"%2\" was expected")
                                        .arg(r.text, e.text)),
                         __FILE__, __LINE__);
        return e.result;
    });
}

ScriptedMessages::~ScriptedMessages()
{
    dialogs::setMessageHandler({});
    if (!m_expected.isEmpty())
        QTest::qFail(qPrintable(QStringLiteral("message box never shown: ") +
                                m_expected.first().text),
                     __FILE__, __LINE__);
}

ScriptedMessages &ScriptedMessages::expect(const QString &text, int result)
{
    m_expected.append({text, result});
    return *this;
}

ScriptedModals::ScriptedModals(std::function<int(QDialog &)> handler)
{
    dialogs::setModalHandler(std::move(handler));
}

ScriptedModals::~ScriptedModals()
{
    dialogs::setModalHandler({});
}
