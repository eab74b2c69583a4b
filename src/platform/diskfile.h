#pragma once
// Whole files that reach the disk: what the settings and the backup write before they put it in
// place of the old. Each call returns 0 or the errno of its failure, for FileErrorText. And the
// program's own files, which no output the user directs to a file may replace.
#include <QByteArray>
#include <QString>
#include <QStringList>

// ENOENT when the file does not exist.
int ReadWholeFile(const QString &path, QByteArray &data);
// The permission bits (owner, group, others) of the file path names.
int FilePermissions(const QString &path, unsigned &mode);
// Replaces what path holds; a new file gets mode less the umask.
int WriteFileSynced(const QString &path, const QByteArray &data, unsigned mode = 0666);
// A file's contents, or a folder's names (new files, renames), onto the disk.
int SyncToDisk(const QString &path);
// Atomic; the target is replaced.
int RenameFile(const QString &from, const QString &to);

// A file written beside the one it replaces and put in its place only once it is written whole
// and on the disk: a failure leaves the old file byte for byte, and no part of the new. What is
// not a file of its own (a device such as a printer port) is written in place. Each call
// returns 0 or the errno of its failure.
class FileReplacement {
public:
    explicit FileReplacement(const QString &path);
    ~FileReplacement(); // without a commit, what was written goes
    FileReplacement(const FileReplacement &) = delete;
    FileReplacement &operator=(const FileReplacement &) = delete;

    // Fails when the file could not be replaced: a folder that takes no new file, a file that
    // may not be written.
    int open();
    int write(const char *data, qint64 size);
    int commit();

private:
    void drop();
    QString m_path;   // where the text lands: a link's target
    QString m_temp;   // empty: written in place
    int m_fd = -1;
};

// The program's own files (the register, its settings): no export or printout to a file may
// replace them.
void SetOwnFiles(const QStringList &files);
// The message refusing path as an output file when it reaches one of them, through a link or
// another spelling of its folder too; empty when it does not.
QString OwnFileRefusal(const QString &path);
