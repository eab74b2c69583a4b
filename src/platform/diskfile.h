#pragma once
// Whole files that reach the disk: what the settings and the backup write before they put it in
// place of the old. Each call returns 0 or the errno of its failure, for FileErrorText.
#include <QByteArray>
#include <QString>

// ENOENT when the file does not exist.
int ReadWholeFile(const QString &path, QByteArray &data);
// Replaces what path holds; a new file gets mode less the umask.
int WriteFileSynced(const QString &path, const QByteArray &data, unsigned mode = 0666);
// A file's contents, or a folder's names (new files, renames), onto the disk.
int SyncToDisk(const QString &path);
// Atomic; the target is replaced.
int RenameFile(const QString &from, const QString &to);
