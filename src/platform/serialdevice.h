#pragma once
// A serial device through termios: open, line settings, queues, and the modem lines behind an
// interface of their own, because a pseudo-terminal (the tests' stand-in modem) carries bytes
// but has no modem lines at all.
#include <QString>
#include <QStringList>
#include <optional>

namespace serial {

enum class Parity { None, Odd, Even, Mark };
enum class StopBits { One, OneAndHalf, Two };

struct LineSettings {
    int baudRate = 9600;
    int dataBits = 8;
    Parity parity = Parity::None;
    StopBits stopBits = StopBits::One;
};

// Opens the device for reading and writing, non-blocking, close-on-exec, without making it the
// controlling terminal, and claims it exclusively. Anything that is not a terminal is refused.
// Returns the descriptor, or -1 with the reason in error.
int OpenDevice(const QString &path, QString &error);

// Raw mode (no line editing, no "\n" to "\r\n"), the given line settings, reads that return what
// is there or wait up to a second. A speed termios has no code for (14400, 56000...) is set as a
// custom rate. Settings the kernel or the device cannot make (four data bits, 1.5 stop bits on
// words of six bits or more, two on five-bit words, a rate the driver will not take) are
// refused, never replaced by the nearest.
bool Configure(int fd, const LineSettings &settings, QString &error);

// Any rate in bits per second through the kernel's custom-rate interface; false when the device
// refuses it or keeps another rate.
bool SetCustomSpeed(int fd, int bitsPerSecond);
// The device's output speed in bits per second; 0 when it cannot say.
int OutputSpeed(int fd);

// Throws away both queues.
void Purge(int fd);
void DiscardOutput(int fd);

// Bytes waiting in the input and output queues; 0 when the device cannot say.
int InputQueued(int fd);
int OutputQueued(int fd);

// Serial devices the machine has, as "/dev/..." names in natural order: ttyS* backed by a real
// UART, ttyUSB*, ttyACM*. sysfsTtyFolder is the kernel's tty class folder.
QStringList ListSerialPorts(const QString &sysfsTtyFolder = QStringLiteral("/sys/class/tty"));

} // namespace serial

// The modem lines of an open device.
class ModemLines {
public:
    enum Line { Rts, Dtr };
    // Transition counters of the input lines and line conditions; they only ever grow.
    struct Counts {
        unsigned cts = 0, dsr = 0, ring = 0, rlsd = 0, breaks = 0, errors = 0;
    };
    virtual ~ModemLines() = default;
    // Raises or drops an output line; false when the device refuses.
    virtual bool set(int fd, Line line, bool raised) = 0;
    // nullopt when the device has no such lines (a pseudo-terminal).
    virtual std::optional<Counts> counts(int fd) = 0;
};

// The lines every new serial component uses: the kernel's, unless a test put its own in place.
ModemLines &CurrentModemLines();
// nullptr puts the kernel's back.
void SetModemLines(ModemLines *lines);
