#include "platform/serialdevice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace serial {
namespace {
QString systemError(const QString &what)
{
    return what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
}

std::optional<speed_t> speedCode(int baudRate)
{
    switch (baudRate) {
    case 110: return B110;
    case 300: return B300;
    case 600: return B600;
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return std::nullopt;
    }
}
} // namespace

int OpenDevice(const QString &path, QString &error)
{
    if (path.isEmpty()) {
        error = QStringLiteral("No port name");
        return -1;
    }
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = systemError(path);
        return -1;
    }
    if (!::isatty(fd)) {
        ::close(fd);
        error = path + QStringLiteral(": not a serial device");
        return -1;
    }
    // Later opens by anyone but root fail with EBUSY, as a second open of a port should.
    if (::ioctl(fd, TIOCEXCL) != 0) {
        error = systemError(path);
        ::close(fd);
        return -1;
    }
    return fd;
}

bool Configure(int fd, const LineSettings &settings, QString &error)
{
    const std::optional<speed_t> speed = speedCode(settings.baudRate);
    tcflag_t size = 0;
    switch (settings.dataBits) {
    case 5: size = CS5; break;
    case 6: size = CS6; break;
    case 7: size = CS7; break;
    case 8: size = CS8; break;
    default:
        error = QStringLiteral("The system cannot set %1 data bits").arg(settings.dataBits);
        return false;
    }
    // Two stop bits on five-bit words come out as 1.5, and 1.5 exists for no other size.
    if (settings.stopBits != StopBits::One && (settings.stopBits == StopBits::OneAndHalf) != (settings.dataBits == 5)) {
        error = QStringLiteral("The system cannot set these stop bits with %1 data bits").arg(settings.dataBits);
        return false;
    }
    termios t{};
    if (::tcgetattr(fd, &t) != 0) {
        error = systemError(QStringLiteral("tcgetattr"));
        return false;
    }
    ::cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cflag = (t.c_cflag & ~CSIZE) | size;
    t.c_cflag &= ~(PARENB | PARODD | CMSPAR);
    switch (settings.parity) {
    case Parity::None: break;
    case Parity::Odd: t.c_cflag |= PARENB | PARODD; break;
    case Parity::Even: t.c_cflag |= PARENB; break;
    case Parity::Mark: t.c_cflag |= PARENB | PARODD | CMSPAR; break;
    }
    if (settings.stopBits == StopBits::One)
        t.c_cflag &= ~CSTOPB;
    else
        t.c_cflag |= CSTOPB;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 10;
    if (speed) {
        ::cfsetispeed(&t, *speed);
        ::cfsetospeed(&t, *speed);
    }
    if (::tcsetattr(fd, TCSANOW, &t) != 0) {
        error = systemError(QStringLiteral("tcsetattr"));
        return false;
    }
    // tcsetattr succeeds when any part was taken; read back what the driver kept.
    termios back{};
    if (::tcgetattr(fd, &back) != 0 || (speed && ::cfgetospeed(&back) != *speed) || (back.c_cflag & CSIZE) != size) {
        error = QStringLiteral("The device refused the line settings");
        return false;
    }
    if (!speed && !SetCustomSpeed(fd, settings.baudRate)) {
        error = QStringLiteral("The device refused %1 bits per second").arg(settings.baudRate);
        return false;
    }
    return true;
}

void Purge(int fd)
{
    ::tcflush(fd, TCIOFLUSH);
}

void DiscardOutput(int fd)
{
    ::tcflush(fd, TCOFLUSH);
}

int InputQueued(int fd)
{
    int n = 0;
    return ::ioctl(fd, FIONREAD, &n) == 0 ? n : 0;
}

int OutputQueued(int fd)
{
    int n = 0;
    return ::ioctl(fd, TIOCOUTQ, &n) == 0 ? n : 0;
}

QStringList ListSerialPorts(const QString &sysfsTtyFolder)
{
    const QDir dir(sysfsTtyFolder);
    QStringList ports;
    for (const QString &name : dir.entryList({QStringLiteral("ttyS*"), QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*")},
                                             QDir::Dirs | QDir::Files | QDir::System | QDir::NoDotAndDotDot)) {
        if (!QFileInfo::exists(dir.filePath(name + QStringLiteral("/device"))))
            continue;
        if (name.startsWith(QLatin1String("ttyS"))) {
            // The kernel makes ttyS0-3 whether or not a UART is there; "type" 0 means none.
            QFile type(dir.filePath(name + QStringLiteral("/type")));
            if (!type.open(QIODevice::ReadOnly) || type.readAll().trimmed().toInt() == 0)
                continue;
        }
        ports << QStringLiteral("/dev/") + name;
    }
    // ttyUSB2 before ttyUSB10: by the name's letters, then by its number.
    auto key = [](const QString &port) {
        qsizetype digits = port.size();
        while (digits > 0 && port.at(digits - 1).isDigit())
            --digits;
        return std::pair(port.left(digits), port.mid(digits).toInt());
    };
    std::sort(ports.begin(), ports.end(), [&](const QString &a, const QString &b) { return key(a) < key(b); });
    return ports;
}

} // namespace serial

namespace {
class KernelModemLines final : public ModemLines {
public:
    bool set(int fd, Line line, bool raised) override
    {
        const int bit = line == Rts ? TIOCM_RTS : TIOCM_DTR;
        return ::ioctl(fd, raised ? TIOCMBIS : TIOCMBIC, &bit) == 0;
    }
    std::optional<Counts> counts(int fd) override
    {
        serial_icounter_struct c{};
        if (::ioctl(fd, TIOCGICOUNT, &c) != 0)
            return std::nullopt;
        Counts out;
        out.cts = unsigned(c.cts);
        out.dsr = unsigned(c.dsr);
        out.ring = unsigned(c.rng);
        out.rlsd = unsigned(c.dcd);
        out.breaks = unsigned(c.brk);
        out.errors = unsigned(c.frame) + unsigned(c.overrun) + unsigned(c.parity) + unsigned(c.buf_overrun);
        return out;
    }
};

KernelModemLines kernelLines;
ModemLines *currentLines = &kernelLines;
} // namespace

ModemLines &CurrentModemLines()
{
    return *currentLines;
}

void SetModemLines(ModemLines *lines)
{
    currentLines = lines ? lines : &kernelLines;
}
