// The kernel's termios2 interface, kept apart: <asm/termbits.h> defines its own struct termios,
// which clashes with the C library's <termios.h> that the rest of the serial code uses.
#include "platform/serialdevice.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace serial {

bool SetCustomSpeed(int fd, int bitsPerSecond)
{
    termios2 t{};
    if (::ioctl(fd, TCGETS2, &t) != 0)
        return false;
    t.c_cflag = (t.c_cflag & ~tcflag_t(CBAUD | (CBAUD << IBSHIFT))) | BOTHER;
    t.c_ispeed = t.c_ospeed = speed_t(bitsPerSecond);
    return ::ioctl(fd, TCSETS2, &t) == 0 && OutputSpeed(fd) == bitsPerSecond;
}

int OutputSpeed(int fd)
{
    termios2 t{};
    return ::ioctl(fd, TCGETS2, &t) == 0 ? int(t.c_ospeed) : 0;
}

} // namespace serial
