#include "platform/diskfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

QStringList &ownFiles()
{
    static QStringList files;
    return files;
}

// Where a write to path lands: a link followed to its target (which need not exist), in a
// folder with every link resolved.
QString landingPath(const QString &path)
{
    QFileInfo info(path);
    for (int links = 0; info.isSymLink() && links < 40; ++links)
        info = QFileInfo(info.symLinkTarget());
    const QString folder = info.absoluteDir().canonicalPath();
    return folder.isEmpty() ? info.absoluteFilePath() : folder + u'/' + info.fileName();
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

int FilePermissions(const QString &path, unsigned &mode)
{
    struct stat st {};
    if (::stat(native(path).constData(), &st) != 0)
        return errno;
    mode = st.st_mode & 0777;
    return 0;
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

FileReplacement::FileReplacement(const QString &path) : m_path(landingPath(path)) {}

FileReplacement::~FileReplacement()
{
    drop();
}

int FileReplacement::open()
{
    struct stat st {};
    const bool exists = ::stat(native(m_path).constData(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        m_fd = ::open(native(m_path).constData(), O_WRONLY | O_CLOEXEC);
        return m_fd < 0 ? errno : 0;
    }
    if (exists && ::access(native(m_path).constData(), W_OK) != 0)
        return errno; // a file kept from writing is not replaced either
    const QFileInfo info(m_path);
    for (int tries = 0; m_fd < 0 && tries < 100; ++tries) {
        // Hidden, and named after the file, should a crash leave it behind.
        m_temp = info.absolutePath() + QStringLiteral("/.") + info.fileName() + QLatin1Char('.') +
                 QString::number(QRandomGenerator::global()->generate(), 36);
        m_fd = ::open(native(m_temp).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd < 0 && errno != EEXIST)
            break;
    }
    if (m_fd < 0) {
        const int err = errno;
        m_temp.clear();
        return err;
    }
    if (exists && ::fchmod(m_fd, st.st_mode & 07777) != 0) // the new text keeps the old one's mode
        return errno;
    return 0;
}

int FileReplacement::write(const char *data, qint64 size)
{
    while (size > 0) {
        const ssize_t n = ::write(m_fd, data, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        data += n;
        size -= n;
    }
    return 0;
}

int FileReplacement::commit()
{
    // A device that keeps nothing to sync (a printer port) has been written once it took the bytes.
    const int synced = ::fsync(m_fd) == 0 ? 0 : m_temp.isEmpty() && (errno == EINVAL || errno == ENOTSUP) ? 0 : errno;
    int err = closeKeeping(m_fd, synced);
    m_fd = -1;
    if (err == 0 && !m_temp.isEmpty()) {
        err = RenameFile(m_temp, m_path);
        if (err == 0) {
            m_temp.clear();
            err = SyncToDisk(QFileInfo(m_path).absolutePath());
        }
    }
    drop();
    return err;
}

void FileReplacement::drop()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_temp.isEmpty())
        ::unlink(native(m_temp).constData());
    m_temp.clear();
}

void SetOwnFiles(const QStringList &files)
{
    ownFiles() = files;
}

QString OwnFileRefusal(const QString &path)
{
    if (path.isEmpty())
        return {}; // no file: a printer's own output
    for (const QString &own : std::as_const(ownFiles())) {
        // The same file by device and inode when both exist (a hard link too); otherwise by where
        // a write would land, for settings not yet written.
        struct stat sp {}, so {};
        const bool same = ::stat(native(path).constData(), &sp) == 0 && ::stat(native(own).constData(), &so) == 0
                              ? sp.st_dev == so.st_dev && sp.st_ino == so.st_ino
                              : landingPath(path) == landingPath(own);
        if (same)
            return QStringLiteral("선택한 파일은 켈모누리가 사용하는 파일(%1)입니다.\r\n"
                                  "이 파일에는 저장할 수 없으니 다른 파일 이름을 고르십시오.")
                .arg(QFileInfo(own).fileName());
    }
    return {};
}
