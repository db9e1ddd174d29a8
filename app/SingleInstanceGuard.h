#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// Refuses a second instance of the same executable on the same data folder: a lock file
// in the user's runtime folder, named after both. The lock is held until destruction and a
// lock left by a crashed process is taken over. GUI thread only.
class SingleInstanceGuard {
public:
    SingleInstanceGuard(const QString& executablePath, const QString& dataFolder);

    // False when another live instance holds the lock.
    bool tryAcquire();
    bool isAcquired() const;
    QString lockFilePath() const { return m_lockFilePath; }

    static QString lockFilePathFor(const QString& executablePath, const QString& dataFolder);

private:
    QString m_lockFilePath;
    std::unique_ptr<QLockFile> m_lock;
};
