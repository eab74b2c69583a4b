// The serial component on a pseudo-terminal: opening and closing, writes, refusals while open,
// and the event thread's hand-over to the user-interface thread.
#include "dialer/comm.h"
#include "fakemodem.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

namespace {
// A component set to the pseudo-terminal, not yet open.
struct OnModem {
    FakeModemLines lines;
    PseudoModem modem;
    TComm comm;
    OnModem() { comm.SetPort(modem.port()); }
};
} // namespace

class TestComm : public QObject {
    Q_OBJECT

private slots:
    void refusedOpensLeaveThePortClosed()
    {
        FakeModemLines lines;
        PseudoModem modem;
        QTemporaryDir dir;
        QFile plain(dir.filePath(QStringLiteral("3")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        for (const QString &port : {QString(), dir.filePath(QStringLiteral("none")), plain.fileName()}) {
            TComm comm;
            comm.SetPort(port);
            QVERIFY2(!comm.Open(), qPrintable(port));
            QVERIFY(!comm.Connected());
        }
        TComm comm;
        comm.SetPort(modem.port());
        comm.SetStopBits(sbOne5StopBits); // 1.5 stop bits exist only for five-bit words
        QVERIFY(!comm.Open());
        QVERIFY(lines.changes().isEmpty());
    }

    // termios has no code for these; the kernel takes them as custom rates, and so does a pty.
    void speedsWithoutATermiosCodeAreSetExactly()
    {
        OnModem m;
        auto &[lines, modem, comm] = m;
        for (const auto &[rate, bits] : {std::pair(br14400, 14400), std::pair(br56000, 56000),
                                         std::pair(br128000, 128000), std::pair(br256000, 256000),
                                         std::pair(br9600, 9600)}) { // and back to a coded one
            comm.SetBaudRate(rate);
            QVERIFY2(comm.Open(), qPrintable(comm.OpenFailure()));
            QCOMPARE(serial::OutputSpeed(int(comm.Handle())), bits);
            comm.Close();
        }
    }

    void openOnceCloseDropsDtrAndClosedCallsDoNothing()
    {
        OnModem m;
        auto &[lines, modem, comm] = m;
        QVERIFY(comm.Open());
        const auto handle = comm.Handle();
        QVERIFY(!comm.Open());
        QCOMPARE(comm.Handle(), handle);
        QCOMPARE(lines.changes(), (QList<QString>{"RTS+", "DTR+"}));
        comm.Close();
        comm.Close();
        QCOMPARE(lines.changes(), (QList<QString>{"RTS+", "DTR+", "DTR-"}));
        std::uint16_t written = 77;
        comm.Write("ATZ\r\n", 5, written);
        QCOMPARE(written, std::uint16_t(77));
        QVERIFY(modem.received().isEmpty());
        // RTS changed while closed stays as it was: the next opening raises it again.
        comm.SetRTS(false);
        QVERIFY(comm.RTS());
    }

    void lineSettingsAreRefusedWhileConnected()
    {
        OnModem m;
        auto &[lines, modem, comm] = m;
        QVERIFY(comm.Open());
        auto refused = [](const std::function<void()> &change, const char *text) {
            try {
                change();
            } catch (const CommError &e) {
                return QString::fromUtf8(e.what()) == QLatin1String(text);
            }
            return false;
        };
        QVERIFY(refused([&] { comm.SetPort(QStringLiteral("/dev/ttyS0")); }, "Cannot set port when connected"));
        QVERIFY(refused([&] { comm.SetBaudRate(br57600); }, "Cannot set baudrate when connected"));
        QVERIFY(refused([&] { comm.SetParity(pEvenParity); }, "Cannot set parity when connected"));
        QVERIFY(refused([&] { comm.SetDataBits(db7); }, "Cannot set databits when connected"));
        QVERIFY(refused([&] { comm.SetStopBits(sbTwoStopBits); }, "Cannot set stopbits when connected"));
        QVERIFY(refused([&] { comm.SetReadBufferSize(1); }, "Cannot set readbuffersize when connected"));
        QVERIFY(refused([&] { comm.SetEvents(1u << ceCts); }, "Cannot set allevents when connected"));
        QCOMPARE(comm.Port(), modem.port());
        QCOMPARE(comm.BaudRateValue(), 9600);
        QVERIFY(comm.AllEvents());
    }

    void writeKeepsItsOwnCopyUntilTheDeviceTakesIt()
    {
        OnModem m;
        auto &[lines, modem, comm] = m;
        QVERIFY(comm.Open());
        // More than a pseudo-terminal buffers: the write cannot finish at once.
        QByteArray buffer(60000, '\0');
        for (int i = 0; i < buffer.size(); ++i)
            buffer[i] = char('a' + i % 26);
        const QByteArray sent = buffer;
        std::uint16_t written = 1;
        comm.Write(buffer.constData(), std::uint16_t(buffer.size()), written);
        buffer.fill('#'); // the caller's buffer is gone
        QCOMPARE(written, std::uint16_t(0));
        QVERIFY(comm.Error());
        QByteArray got;
        QTRY_VERIFY_WITH_TIMEOUT((got += modem.received()).size() >= sent.size(), 5000);
        QCOMPARE(got, sent);
    }

    void eventsReachTheHandlersInOrderOnceEach()
    {
        OnModem m;
        auto &[lines, modem, comm] = m;
        QStringList seen;
        comm.OnRead = [&](TComm *, std::uint16_t count) { seen << QStringLiteral("read %1").arg(count); };
        comm.OnCTS = [&](TComm *) { seen << QStringLiteral("cts"); };
        QVERIFY(comm.Open());
        lines.bumpCts();
        modem.send("OK\r\n");
        QTRY_COMPARE(seen, (QStringList{"read 4", "cts"}));
        QTest::qWait(200); // the unread bytes are not reported again
        QCOMPARE(seen.size(), 2);
        // A handler may close the port while the thread waits for it.
        comm.OnRead = [&](TComm *sender, std::uint16_t) { sender->Close(); };
        modem.send("RING\r\n");
        QTRY_VERIFY(!comm.Connected());
    }

    void anEventLeftQueuedAtCloseDoesNotStallTheNextOpening()
    {
        OnModem m;
        auto &[lines, modem, comm] = m;
        int reads = 0;
        comm.OnRead = [&](TComm *, std::uint16_t) { ++reads; };
        QVERIFY(comm.Open());
        modem.send("A");
        std::this_thread::sleep_for(std::chrono::milliseconds(100)); // handed over, not yet run
        comm.Close();
        QVERIFY(comm.Open());
        QTest::qWait(50);
        QCOMPARE(reads, 0); // the old opening's event is dropped
        modem.send("B");
        QTRY_COMPARE(reads, 1);
        modem.send("C");
        QTRY_COMPARE(reads, 2);
    }

    void closingEndsTheWaitingThread()
    {
        FakeModemLines lines;
        PseudoModem modem;
        auto comm = std::make_unique<TComm>();
        comm->SetPort(modem.port());
        QVERIFY(comm->Open());
        QTest::qWait(20);
        QElapsedTimer clock;
        clock.start();
        comm.reset(); // destroyed while connected
        QVERIFY(clock.elapsed() < 1000);
        // The port was closed and released: it opens again.
        TComm again;
        again.SetPort(modem.port());
        QVERIFY(again.Open());
    }

    void portListHoldsRealDevicesInNaturalOrder()
    {
        QTemporaryDir sys;
        auto device = [&](const QString &name, const char *type) {
            QDir(sys.path()).mkpath(name + QStringLiteral("/device"));
            if (type) {
                QFile f(sys.filePath(name + QStringLiteral("/type")));
                QVERIFY(f.open(QIODevice::WriteOnly));
                f.write(type);
            }
        };
        device(QStringLiteral("ttyS1"), "0\n"); // no UART behind it
        device(QStringLiteral("ttyS0"), "4\n");
        device(QStringLiteral("ttyUSB10"), nullptr);
        device(QStringLiteral("ttyUSB2"), nullptr);
        QDir(sys.path()).mkpath(QStringLiteral("ttyACM0")); // no device behind it
        QCOMPARE(serial::ListSerialPorts(sys.path()),
                 (QStringList{"/dev/ttyS0", "/dev/ttyUSB2", "/dev/ttyUSB10"}));
    }
};

QTEST_MAIN(TestComm)
#include "tst_comm.moc"
