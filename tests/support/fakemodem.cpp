#include "fakemodem.h"

#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

PseudoModem::PseudoModem()
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_master >= 0 && ::grantpt(m_master) == 0 && ::unlockpt(m_master) == 0)
        m_port = QString::fromLocal8Bit(::ptsname(m_master));
}

PseudoModem::~PseudoModem()
{
    if (m_master >= 0)
        ::close(m_master);
}

QByteArray PseudoModem::received()
{
    QByteArray all;
    char chunk[4096];
    ssize_t n;
    while ((n = ::read(m_master, chunk, sizeof chunk)) > 0)
        all.append(chunk, n);
    return all;
}

void PseudoModem::send(const QByteArray &bytes)
{
    [[maybe_unused]] const ssize_t n = ::write(m_master, bytes.constData(), size_t(bytes.size()));
}
