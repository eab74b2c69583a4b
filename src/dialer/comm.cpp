#include "dialer/comm.h"

#include "platform/dialogs.h"
#include "platform/serialdevice.h"

#include <chrono>
#include <optional>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {
constexpr int BaudRates[] = {110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 56000, 57600,
                             115200, 128000, 256000};
constexpr std::uint32_t EventBits[] = {EV_BREAK, EV_CTS, EV_DSR, EV_ERR, EV_RING, EV_RLSD, EV_RXCHAR, EV_RXFLAG,
                                       EV_TXEMPTY};
// A write the device takes nothing of for this long is given up, as the port's write time-out.
constexpr auto WriteTimeout = std::chrono::milliseconds(1000);
// How often the thread looks at the modem lines and at bytes it has already reported.
constexpr int LinePollMs = 50;
} // namespace

TComm::TComm(QObject *owner) : QObject(owner) {}

TComm::~TComm()
{
    Close();
}

int TComm::BaudRateValue() const
{
    return BaudRates[m_baudRate];
}

void TComm::refuseWhileConnected(const char *what) const
{
    if (m_connected)
        throw CommError(std::string("Cannot set ") + what + " when connected");
}

template <class T>
void TComm::storeWhileClosed(T &member, T value, const char *what)
{
    refuseWhileConnected(what);
    member = value;
}

void TComm::SetPort(const QString &port) { storeWhileClosed(m_port, port, "port"); }
void TComm::SetParity(TParity parity) { storeWhileClosed(m_parity, parity, "parity"); }
void TComm::SetDataBits(TDataBits bits) { storeWhileClosed(m_dataBits, bits, "databits"); }
void TComm::SetStopBits(TStopBits bits) { storeWhileClosed(m_stopBits, bits, "stopbits"); }
void TComm::SetReadBufferSize(std::uint16_t size) { storeWhileClosed(m_readBufferSize, size, "readbuffersize"); }
void TComm::SetWriteBufferSize(std::uint16_t size) { storeWhileClosed(m_writeBufferSize, size, "writebuffersize"); }
void TComm::SetAllEvents(bool all) { storeWhileClosed(m_allEvents, all, "allevents"); }

void TComm::SetBaudRate(TBaudRate rate)
{
    refuseWhileConnected("baudrate");
    if (rate < br110 || rate > br256000)
        throw CommError("Invalid value");
    m_baudRate = rate;
}

void TComm::SetEvents(TCommEvents events)
{
    m_events = events;
    m_mask = 0;
    SetAllEvents(false);
    for (int member = ceBreak; member <= ceTxEmpty; ++member)
        if (events & (1u << member))
            m_mask |= EventBits[member];
}

std::uint32_t TComm::eventMask() const
{
    return m_allEvents ? std::uint32_t(EV_ALL) : m_mask;
}

bool TComm::setLine(int line, bool raised, bool &stored)
{
    if (!m_lines->set(m_fd, ModemLines::Line(line), raised))
        return false;
    stored = raised;
    return true;
}

void TComm::SetRTS(bool raised)
{
    if (m_connected && raised != m_rts)
        setLine(ModemLines::Rts, raised, m_rts);
}

void TComm::SetDTR(bool raised)
{
    if (m_connected && raised != m_dtr)
        setLine(ModemLines::Dtr, raised, m_dtr);
}

bool TComm::Open()
{
    if (m_connected)
        return false;
    m_openFailure.clear();
    const int fd = serial::OpenDevice(m_port, m_openFailure);
    if (fd < 0) {
        m_handle = 0xFFFFFFFFu;
        return false;
    }
    m_handle = std::uint32_t(fd);
    // The kernel's tty queues have a fixed size: the two buffer sizes stay settings only.
    serial::Purge(fd);
    serial::LineSettings settings;
    settings.baudRate = BaudRateValue();
    settings.dataBits = 4 + int(m_dataBits);
    settings.parity = serial::Parity(m_parity);
    settings.stopBits = serial::StopBits(m_stopBits);
    const int wakeFd = serial::Configure(fd, settings, m_openFailure) ? ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK) : -1;
    if (wakeFd < 0) {
        if (m_openFailure.isEmpty())
            m_openFailure = QStringLiteral("No wake-up descriptor for the event thread");
        ::close(fd);
        return false;
    }
    m_fd = fd;
    m_wakeFd = wakeFd;
    m_lines = &CurrentModemLines();
    m_activeMask = eventMask();
    m_connected = true;
    // The lines' counters as they stand at opening: only later changes are events.
    m_thread = std::thread(&TComm::runEvents, this, m_lines->counts(fd));
    bool rts = m_rts, dtr = m_dtr;
    if (setLine(ModemLines::Rts, m_rts, rts) && setLine(ModemLines::Dtr, m_dtr, dtr))
        return true;
    Close();
    m_openFailure = QStringLiteral("The device refused to set RTS or DTR");
    return false;
}

void TComm::wake()
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(m_wakeFd, &one, sizeof one);
}

void TComm::Close()
{
    if (!m_connected)
        return;
    m_connected = false;
    wake();
    {
        std::lock_guard lock(m_mutex); // the thread may be between its test and its wait
    }
    m_handled.notify_all();
    // The thread reads the descriptor: it must be gone before the descriptor is.
    m_thread.join();
    m_lines->set(m_fd, ModemLines::Dtr, false); // the modem hangs up
    serial::Purge(m_fd);
    ::close(m_fd);
    ::close(m_wakeFd);
    m_fd = m_wakeFd = -1;
    std::lock_guard lock(m_mutex);
    m_pending.clear();
    m_watchTxEmpty = false;
    // A hand-over still queued belongs to this opening: it neither runs nor counts in the next.
    ++m_session;
    m_handOversDone = m_handOversAsked;
}

void TComm::Write(const char *buffer, std::uint16_t length, std::uint16_t &written)
{
    if (!m_connected)
        return;
    std::lock_guard lock(m_mutex);
    m_watchTxEmpty = true;
    ssize_t n = 0;
    if (m_pending.isEmpty()) {
        n = ::write(m_fd, buffer, length);
        if (n < 0)
            n = 0;
    }
    if (n == length) {
        written = length;
    } else {
        // The caller's buffer may be gone before the device takes the rest.
        m_pending.append(buffer + n, length - n);
        m_error = true;
        written = 0;
    }
    wake();
}

void TComm::flushPending()
{
    if (m_pending.isEmpty())
        return;
    const ssize_t n = ::write(m_fd, m_pending.constData(), size_t(m_pending.size()));
    if (n > 0)
        m_pending.remove(0, n);
}

void TComm::runEvents(std::optional<ModemLines::Counts> lines)
{
    using Clock = std::chrono::steady_clock;
    int reportedInput = 0;
    Clock::time_point lastProgress = Clock::now();
    bool hungUp = false;
    while (m_connected) {
        bool pending, watchTx;
        {
            std::lock_guard lock(m_mutex);
            pending = !m_pending.isEmpty();
            watchTx = m_watchTxEmpty;
        }
        pollfd fds[2] = {{m_wakeFd, POLLIN, 0}, {m_fd, 0, 0}};
        // Bytes already reported stay readable (nobody reads them); only more of them is news.
        if (reportedInput == 0)
            fds[1].events |= POLLIN;
        if (pending)
            fds[1].events |= POLLOUT;
        const bool sample = lines || reportedInput > 0 || watchTx || hungUp;
        // A hung-up device reports POLLHUP at once, every time: then only the wake-up is waited on.
        if (::poll(fds, hungUp ? 1 : 2, sample ? LinePollMs : -1) < 0 && errno != EINTR)
            break;
        if (fds[0].revents & POLLIN) {
            std::uint64_t count;
            [[maybe_unused]] const ssize_t n = ::read(m_wakeFd, &count, sizeof count);
        }
        if (!m_connected)
            break;
        hungUp = hungUp || (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL));

        std::uint32_t events = 0;
        if (pending) {
            std::lock_guard lock(m_mutex);
            const qsizetype left = m_pending.size();
            flushPending();
            if (m_pending.size() < left)
                lastProgress = Clock::now();
            else if (Clock::now() - lastProgress > WriteTimeout) {
                m_pending.clear();
                serial::DiscardOutput(m_fd);
            }
        } else {
            lastProgress = Clock::now();
        }
        const int input = serial::InputQueued(m_fd);
        if (input > reportedInput)
            events |= EV_RXCHAR;
        reportedInput = input;
        if (watchTx && serial::OutputQueued(m_fd) == 0) {
            std::lock_guard lock(m_mutex);
            if (m_pending.isEmpty()) {
                m_watchTxEmpty = false;
                events |= EV_TXEMPTY;
            }
        }
        if (lines) {
            if (const std::optional<ModemLines::Counts> now = m_lines->counts(m_fd)) {
                if (now->cts != lines->cts) events |= EV_CTS;
                if (now->dsr != lines->dsr) events |= EV_DSR;
                if (now->ring != lines->ring) events |= EV_RING;
                if (now->rlsd != lines->rlsd) events |= EV_RLSD;
                if (now->breaks != lines->breaks) events |= EV_BREAK;
                if (now->errors != lines->errors) events |= EV_ERR;
                lines = now;
            }
        }
        // No event character is set on the line, so EV_RXFLAG never comes.
        events &= m_activeMask;
        if (events)
            handOver(events);
    }
}

void TComm::handOver(std::uint32_t events)
{
    std::unique_lock lock(m_mutex);
    const unsigned session = m_session;
    const unsigned ticket = ++m_handOversAsked;
    QMetaObject::invokeMethod(
        this,
        [this, events, session] {
            if (session == m_session)
                dispatch(events);
            {
                std::lock_guard done(m_mutex);
                if (session == m_session)
                    ++m_handOversDone;
            }
            m_handled.notify_all();
        },
        Qt::QueuedConnection);
    // One event at a time: the next wait starts once the handlers have run, unless the port closes.
    m_handled.wait(lock, [&] { return m_handOversDone >= ticket || !m_connected; });
}

void TComm::dispatch(std::uint32_t events)
{
    Guarded([&] {
        if (events & EV_RXCHAR) DoRead();
        if (events & EV_TXEMPTY) DoWrite();
        if (events & EV_BREAK) DoLineEvent(ceBreak, OnBREAK);
        if (events & EV_CTS) DoLineEvent(ceCts, OnCTS);
        if (events & EV_DSR) DoLineEvent(ceDsr, OnDSR);
        if (events & EV_ERR) DoLineEvent(ceErr, OnERR);
        if (events & EV_RING) DoLineEvent(ceRing, OnRING);
        if (events & EV_RLSD) DoLineEvent(ceRlsd, OnRLSD);
        if (events & EV_RXFLAG) DoLineEvent(ceRxFlag, OnRXFLAG);
    });
}

void TComm::DoRead()
{
    if (m_connected && OnRead)
        OnRead(this, std::uint16_t(serial::InputQueued(m_fd)));
}

void TComm::DoWrite()
{
    if (m_connected && OnWrite)
        OnWrite(this, std::uint16_t(serial::OutputQueued(m_fd)));
}

void TComm::DoLineEvent(TCommEvent member, const NotifyEvent &handler)
{
    if (m_connected && handler && (m_allEvents || (m_events & (1u << member))))
        handler(this);
}
