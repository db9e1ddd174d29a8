#pragma once
// A fresh data folder per test (a temporary working directory with modules/setting
// and modules/i18n) and a dialogs double that answers one file and records what was shown.

#include "UserDialogs.h"

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
    static bool write(const QString& path, const QByteArray& contents) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
    }
    static QByteArray read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // A key as another process would read it from the file on disk right now.
    static QVariant onDisk(const QString& path, const QString& key) {
        return QSettings(path, QSettings::IniFormat).value(key);
    }
};

struct ScriptedDialogs : UserDialogs {
    QString answer;    // what both file choosers return; empty = cancelled
    QStringList asked; // "caption|filter" or "title|text" of every dialog; confirmations are declined
    QString note(const QString& a, const QString& b) { return asked << a + '|' + b, answer; }
    QString openFileName(const QString& c, const QString&, const QString& f) override { return note(c, f); }
    QString saveFileName(const QString& c, const QString&, const QString& f) override { return note(c, f); }
    void warning(const QString& title, const QString& text) override { note(title, text); }
    bool confirm(const QString& title, const QString& text) override { return note(title, text), false; }
};
