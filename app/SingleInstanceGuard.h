// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// One program at a time on a data folder: quellar and quellarctl take the same lock file in
// the user's runtime folder, named after the data folder only. The lock is held until
// destruction and a lock left by a crashed process is taken over. GUI thread only.
class SingleInstanceGuard {
public:
    enum class Outcome {
        Acquired,
        Held,   // another live process holds it: holderName() says which program
        Refused // no safe place for the lock, or it cannot be written: errorString() says why
    };

    explicit SingleInstanceGuard(const QString& dataFolder);

    // Waits up to waitMs for a holder to let go.
    Outcome acquire(int waitMs = 0);
    // False when another live instance holds the lock (or it cannot be taken at all).
    bool tryAcquire() { return acquire() == Outcome::Acquired; }
    bool isAcquired() const;
    // The program name the holder wrote into the lock (empty when unknown).
    QString holderName() const;
    QString errorString() const { return m_error; }
    QString lockFilePath() const { return m_lockFilePath; }

    // Empty with *error when the runtime folder is refused.
    static QString lockFilePathFor(const QString& dataFolder, QString* error = nullptr);

private:
    QString m_lockFilePath;
    QString m_error;
    std::unique_ptr<QLockFile> m_lock;
};
