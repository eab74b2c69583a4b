#pragma once
// A pseudo-terminal pair standing in for a modem, with modem lines of our own (a pty has none).
#include "platform/serialdevice.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <mutex>

class FakeModemLines final : public ModemLines {
public:
    FakeModemLines() { SetModemLines(this); }
    ~FakeModemLines() override { SetModemLines(nullptr); }
    bool set(int, Line line, bool raised) override
    {
        std::lock_guard lock(m_mutex);
        m_changes << QString::fromLatin1(line == Rts ? "RTS" : "DTR") + QChar(raised ? '+' : '-');
        return true;
    }
    std::optional<Counts> counts(int) override
    {
        std::lock_guard lock(m_mutex);
        return m_counts;
    }
    void bumpCts()
    {
        std::lock_guard lock(m_mutex);
        ++m_counts.cts;
    }
    // The output lines as the device saw them, e.g. "RTS+", "DTR-".
    QList<QString> changes() const
    {
        std::lock_guard lock(m_mutex);
        return m_changes;
    }

private:
    mutable std::mutex m_mutex;
    Counts m_counts;
    QList<QString> m_changes;
};

class PseudoModem {
public:
    PseudoModem();
    ~PseudoModem();
    // The name to open, as a port setting holds it.
    QString port() const { return m_port; }
    // What the program sent so far.
    QByteArray received();
    void send(const QByteArray &bytes);

private:
    int m_master = -1;
    QString m_port;
};
