#include "platform/diskfile.h"

#include <QFile>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {
QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

// The first failure wins; close is always called.
int closeKeeping(int fd, int err)
{
    return ::close(fd) != 0 && err == 0 ? errno : err;
}
} // namespace

int ReadWholeFile(const QString &path, QByteArray &data)
{
    data.clear();
    const int fd = ::open(native(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            return closeKeeping(fd, 0);
        if (n > 0)
            data.append(buffer, n);
        else if (errno != EINTR)
            return closeKeeping(fd, errno);
    }
}

int WriteFileSynced(const QString &path, const QByteArray &data, unsigned mode)
{
    const int fd = ::open(native(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode_t(mode));
    if (fd < 0)
        return errno;
    const char *at = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, at, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return closeKeeping(fd, errno);
        at += n;
        left -= n;
    }
    return closeKeeping(fd, ::fsync(fd) != 0 ? errno : 0);
}

int SyncToDisk(const QString &path)
{
    const int fd = ::open(native(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    return closeKeeping(fd, ::fsync(fd) != 0 ? errno : 0);
}

int RenameFile(const QString &from, const QString &to)
{
    return std::rename(native(from).constData(), native(to).constData()) != 0 ? errno : 0;
}
