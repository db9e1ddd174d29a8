// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A private data folder for one fuzzing process: a temporary working directory
// with the folders the readers expect. Inputs are written under names never
// used before, because Qt's settings cache keys parsed files by path, size and
// time and could hand back an earlier input.

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

class FuzzDataFolder {
public:
    FuzzDataFolder() {
        for (const char* folder : {"modules/setting", "modules/i18n", "modules/macro", "modules/gun"})
            QDir(m_dir.path()).mkpath(QString::fromLatin1(folder));
        QDir::setCurrent(m_dir.path());
    }

    // Writes the input to a fresh name made from the pattern's "%1".
    QString writeFresh(const QString& pattern, const QByteArray& contents) {
        const QString path = pattern.arg(++m_serial);
        write(path, contents);
        return path;
    }

    // Writes the input over a fixed name, stamped with a time never used before.
    void writeStamped(const QString& path, const QByteArray& contents) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return;
        file.write(contents);
        file.setFileTime(QDateTime::fromSecsSinceEpoch(qint64(++m_serial)), QFileDevice::FileModificationTime);
    }

    static void write(const QString& path, const QByteArray& contents) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(contents);
    }

private:
    QTemporaryDir m_dir;
    quint64 m_serial = 0;
};
