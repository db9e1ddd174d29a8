#include "SingleInstanceGuard.h"

#include "AppLogging.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString canonicalOrAbsolute(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

QString runtimeFolder() {
    // Without XDG_RUNTIME_DIR Qt invents a folder and warns on every call; temp serves as well.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return QDir::tempPath();
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

} // namespace

SingleInstanceGuard::SingleInstanceGuard(const QString& executablePath, const QString& dataFolder)
    : m_lockFilePath(lockFilePathFor(executablePath, dataFolder)) {}

QString SingleInstanceGuard::lockFilePathFor(const QString& executablePath, const QString& dataFolder) {
    const QByteArray key =
        canonicalOrAbsolute(executablePath).toUtf8() + '\n' + canonicalOrAbsolute(dataFolder).toUtf8();
    const QByteArray hash = QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(24);
    return QDir(runtimeFolder()).filePath(QStringLiteral("quellar-%1.lock").arg(QString::fromLatin1(hash)));
}

bool SingleInstanceGuard::tryAcquire() {
    if (isAcquired())
        return true;
    auto lock = std::make_unique<QLockFile>(m_lockFilePath);
    // Zero: a lock is stale only when its owner process is gone, however old it is.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        if (lock->error() != QLockFile::LockFailedError)
            qCWarning(lcApp) << "cannot create the instance lock" << m_lockFilePath;
        return false;
    }
    m_lock = std::move(lock);
    return true;
}

bool SingleInstanceGuard::isAcquired() const {
    return m_lock && m_lock->isLocked();
}
