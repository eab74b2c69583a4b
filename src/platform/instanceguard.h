#pragma once
// Keeps a second copy of the program from starting for the same user: an exclusive flock on a
// file in the user's runtime folder, held for the life of the object. The kernel drops the lock
// when the process ends, however it ends, so a crash leaves nothing stale behind.
#include <QString>

class InstanceGuard {
public:
    explicit InstanceGuard(const QString &name = QStringLiteral("Kelmo30"));
    ~InstanceGuard();
    InstanceGuard(const InstanceGuard &) = delete;
    InstanceGuard &operator=(const InstanceGuard &) = delete;

    // One non-blocking attempt. False when another instance holds the token, or when the lock
    // file cannot be opened (errorString() then says why). True again if already held.
    bool tryAcquire();
    void release();
    bool isHeld() const { return m_fd >= 0; }

    QString lockFileName() const { return m_path; }
    // Empty unless the last tryAcquire failed for a reason other than another instance.
    QString errorString() const { return m_error; }

private:
    QString m_path;
    QString m_error;
    int m_fd = -1;
};
