#include "platform/instanceguard.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString runtimeFolder()
{
    const QByteArray xdg = qgetenv("XDG_RUNTIME_DIR");
    if (!xdg.isEmpty())
        return QFile::decodeName(xdg);
    return QDir::tempPath() + QStringLiteral("/kelmo-") + QString::number(getuid());
}

QString systemError(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

} // namespace

InstanceGuard::InstanceGuard(const QString &name)
{
    QString file = name;
    file.replace(QLatin1Char('/'), QLatin1Char('_'));
    m_path = runtimeFolder() + QLatin1Char('/') + file + QStringLiteral(".lock");
}

InstanceGuard::~InstanceGuard()
{
    release();
}

bool InstanceGuard::tryAcquire()
{
    if (m_fd >= 0)
        return true;
    m_error.clear();

    const QString folder = runtimeFolder();
    const QByteArray nativeFolder = QFile::encodeName(folder);
    if (::mkdir(nativeFolder.constData(), 0700) != 0 && errno != EEXIST) {
        m_error = QStringLiteral("Cannot create %1: %2").arg(folder, systemError(errno));
        return false;
    }
    // In the shared temp folder someone else could have made it first, to steal or block the
    // token; only a real folder of our own will do.
    struct stat st {};
    if (::lstat(nativeFolder.constData(), &st) != 0 || !S_ISDIR(st.st_mode) ||
        st.st_uid != getuid()) {
        m_error = QStringLiteral("%1 is not a folder owned by this user").arg(folder);
        return false;
    }

    const QByteArray native = QFile::encodeName(m_path);
    // Close-on-exec: a help viewer or mail client started from here must not keep the token.
    const int fd = ::open(native.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        m_error = QStringLiteral("Cannot open %1: %2").arg(m_path, systemError(errno));
        return false;
    }
    int rc;
    do
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const int err = errno;
        ::close(fd);
        if (err != EWOULDBLOCK)
            m_error = QStringLiteral("Cannot lock %1: %2").arg(m_path, systemError(err));
        return false;
    }
    // The file stays when we let go: unlinking it would let a second starter lock a fresh file
    // while a third still waits on the old one.
    m_fd = fd;
    return true;
}

void InstanceGuard::release()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}
