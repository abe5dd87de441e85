#include "singleinstance.h"

#include "instancekey.h"

#include <QDebug>

SingleInstance::SingleInstance(const QString& lockFilePath) : m_lock(lockFilePath)
{
    // The lock is held for the whole run, so its age says nothing: only a holder that is no
    // longer running makes it stale.
    m_lock.setStaleLockTime(0);
    if (m_lock.tryLock(0))
        return;
    m_running = m_lock.error() == QLockFile::LockFailedError;
    if (!m_running)
        qWarning().noquote() << "Cannot create the instance lock" << lockFilePath;
}

QString SingleInstance::defaultLockFilePath()
{
    return userRuntimeDirectory() + QLatin1Char('/') + instanceKey() + QStringLiteral(".lock");
}
