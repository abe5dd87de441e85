#pragma once

#include <QLockFile>
#include <QString>

// Keeps a second copy of the program from running for the same user. The first guard holds a lock
// file until it is destroyed; a lock left behind by a process that died is taken over.
class SingleInstance {
public:
    explicit SingleInstance(const QString& lockFilePath = defaultLockFilePath());

    // True when another live guard holds the lock. A lock that cannot be made at all (no folder,
    // no permission) does not count as another instance: the program then runs unguarded.
    bool isRunning() const { return m_running; }

    static QString defaultLockFilePath();

private:
    QLockFile m_lock;
    bool m_running = false;
};
