#pragma once
// A serial port as a component: line settings kept as properties, open and close, writes that
// never block, RTS and DTR, and an event thread that waits on the port and hands each event to
// the user-interface thread, where the handlers run one at a time.
#include "platform/serialdevice.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <thread>


// A line setting changed while the port is open, or a value outside its type.
class CommError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum TBaudRate { br110, br300, br600, br1200, br2400, br4800, br9600, br14400, br19200, br38400, br56000, br57600,
                 br115200, br128000, br256000 };
enum TParity { pNoParity, pOddParity, pEvenParity, pMarkParity };
enum TDataBits { db4, db5, db6, db7, db8 };
enum TStopBits { sbOneStopBit, sbOne5StopBits, sbTwoStopBits };
enum TCommEvent { ceBreak, ceCts, ceDsr, ceErr, ceRing, ceRlsd, ceRxChar, ceRxFlag, ceTxEmpty };
using TCommEvents = unsigned; // a set of TCommEvent: bit (1 << member)

// The event-mask bits the port reports with.
enum CommEventBit : std::uint32_t {
    EV_RXCHAR = 0x01, EV_RXFLAG = 0x02, EV_TXEMPTY = 0x04, EV_CTS = 0x08, EV_DSR = 0x10, EV_RLSD = 0x20,
    EV_BREAK = 0x40, EV_ERR = 0x80, EV_RING = 0x100, EV_ALL = 0x1FF
};

class TComm : public QObject {
    Q_OBJECT
public:
    using ReceiveEvent = std::function<void(TComm *sender, std::uint16_t count)>;
    using NotifyEvent = std::function<void(TComm *sender)>;

    explicit TComm(QObject *owner = nullptr);
    // Closes the port (and ends the event thread) when it is open.
    ~TComm() override;
    TComm(const TComm &) = delete;
    TComm &operator=(const TComm &) = delete;

    bool Open();
    void Close();
    // Sends length bytes; the component keeps its own copy until they are out. written gets
    // the bytes that went out at once, 0 while the write is still going on.
    void Write(const char *buffer, std::uint16_t length, std::uint16_t &written);

    std::uint32_t Handle() const { return m_handle; }
    bool Connected() const { return m_connected; }
    bool Error() const { return m_error; }
    // Why the last Open failed.
    QString OpenFailure() const { return m_openFailure; }

    QString Port() const { return m_port; }
    void SetPort(const QString &port);
    TBaudRate BaudRate() const { return m_baudRate; }
    int BaudRateValue() const;
    void SetBaudRate(TBaudRate rate);
    TParity Parity() const { return m_parity; }
    void SetParity(TParity parity);
    TDataBits DataBits() const { return m_dataBits; }
    void SetDataBits(TDataBits bits);
    TStopBits StopBits() const { return m_stopBits; }
    void SetStopBits(TStopBits bits);
    std::uint16_t ReadBufferSize() const { return m_readBufferSize; }
    void SetReadBufferSize(std::uint16_t size);
    std::uint16_t WriteBufferSize() const { return m_writeBufferSize; }
    void SetWriteBufferSize(std::uint16_t size);
    TCommEvents Events() const { return m_events; }
    void SetEvents(TCommEvents events);
    bool AllEvents() const { return m_allEvents; }
    void SetAllEvents(bool all);
    bool RTS() const { return m_rts; }
    void SetRTS(bool raised);
    bool DTR() const { return m_dtr; }
    void SetDTR(bool raised);

    ReceiveEvent OnRead, OnWrite;
    NotifyEvent OnBREAK, OnCTS, OnDSR, OnERR, OnRING, OnRLSD, OnRXFLAG;

private:
    void refuseWhileConnected(const char *what) const;
    template <class T>
    void storeWhileClosed(T &member, T value, const char *what);
    bool setLine(int line, bool raised, bool &stored);
    std::uint32_t eventMask() const;
    void runEvents(std::optional<ModemLines::Counts> lines); // the event thread's body
    void handOver(std::uint32_t events);
    void dispatch(std::uint32_t events);
    void DoRead();
    void DoWrite();
    void DoLineEvent(TCommEvent member, const NotifyEvent &handler);
    void wake();
    void flushPending(); // event thread: hands the device what it takes of the pending bytes

    std::uint32_t m_handle = 0xFFFFFFFFu;
    QString m_port;
    TBaudRate m_baudRate = br9600;
    TParity m_parity = pNoParity;
    TDataBits m_dataBits = db8;
    TStopBits m_stopBits = sbOneStopBit;
    std::uint16_t m_writeBufferSize = 4096;
    std::uint16_t m_readBufferSize = 4096;
    TCommEvents m_events = 0;
    std::uint32_t m_mask = 0;
    bool m_allEvents = true;
    bool m_rts = true;
    bool m_dtr = true;
    bool m_error = false;
    QString m_openFailure;
    ModemLines *m_lines = nullptr;

    // Shared with the event thread.
    std::atomic<bool> m_connected{false};
    std::atomic<std::uint32_t> m_activeMask{0};
    int m_fd = -1;
    int m_wakeFd = -1;
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_handled;
    unsigned m_session = 0;        // one per Close: hand-overs of an earlier opening are dropped
    unsigned m_handOversAsked = 0;
    unsigned m_handOversDone = 0;  // hand-overs the user-interface thread has run
    QByteArray m_pending;       // bytes of writes not yet taken by the device
    bool m_watchTxEmpty = false;
};
