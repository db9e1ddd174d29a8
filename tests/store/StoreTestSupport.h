// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A fresh data folder per test: a temporary working directory with modules/setting and
// modules/i18n; the previous working directory comes back afterwards. Files are read and
// written with TestFiles.h.

#include "TestFiles.h"

#include <QDir>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>

struct TestDataFolder {
    QTemporaryDir dir;
    QString previous = QDir::currentPath();
    TestDataFolder() {
        QDir(dir.path()).mkpath(QStringLiteral("modules/setting"));
        QDir(dir.path()).mkpath(QStringLiteral("modules/i18n"));
        QDir::setCurrent(dir.path());
    }
    ~TestDataFolder() { QDir::setCurrent(previous); }
    // A key as another process would read it from the file on disk right now.
    static QVariant onDisk(const QString& path, const QString& key) {
        return QSettings(path, QSettings::IniFormat).value(key);
    }
};
