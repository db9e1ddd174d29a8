// SPDX-License-Identifier: GPL-3.0-or-later
#include "SingleInstanceGuard.h"

#include "AppLogging.h"
#include "LocalEndpoint.h"

SingleInstanceGuard::SingleInstanceGuard(const QString& dataFolder) {
    m_lockFilePath = lockFilePathFor(dataFolder, &m_error);
}

QString SingleInstanceGuard::lockFilePathFor(const QString& dataFolder, QString* error) {
    const QString path = LocalEndpoint::pathFor(QStringLiteral("quellar-instance"), dataFolder, {}, error);
    return path.isEmpty() ? path : path + QStringLiteral(".lock");
}

SingleInstanceGuard::Outcome SingleInstanceGuard::acquire(int waitMs) {
    if (isAcquired())
        return Outcome::Acquired;
    if (m_lockFilePath.isEmpty() || !LocalEndpoint::isOwnedByUser(m_lockFilePath, &m_error)) {
        qCWarning(lcApp).noquote() << "cannot take the instance lock:" << m_error;
        return Outcome::Refused;
    }
    auto lock = std::make_unique<QLockFile>(m_lockFilePath);
    // Zero: a lock is stale only when its owner process is gone, however old it is.
    lock->setStaleLockTime(0);
    if (lock->tryLock(waitMs)) {
        m_lock = std::move(lock);
        return Outcome::Acquired;
    }
    if (lock->error() == QLockFile::LockFailedError)
        return Outcome::Held;
    m_error = QStringLiteral("cannot create the instance lock %1").arg(m_lockFilePath);
    qCWarning(lcApp).noquote() << m_error;
    return Outcome::Refused;
}

bool SingleInstanceGuard::isAcquired() const {
    return m_lock && m_lock->isLocked();
}

QString SingleInstanceGuard::holderName() const {
    qint64 pid = 0;
    QString hostName;
    QString application;
    QLockFile(m_lockFilePath).getLockInfo(&pid, &hostName, &application);
    return application;
}
