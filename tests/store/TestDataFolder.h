#pragma once
// A fresh data folder per test: a temporary directory with modules/setting and
// modules/i18n that becomes the working directory, so every relative path of
// the back end lands inside it.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>
#include <memory>

class TestDataFolder {
public:
    TestDataFolder() : m_dir(std::make_unique<QTemporaryDir>()) {
        QDir root(m_dir->path());
        root.mkpath(QStringLiteral("modules/setting"));
        root.mkpath(QStringLiteral("modules/i18n"));
        m_previous = QDir::currentPath();
        QDir::setCurrent(m_dir->path());
    }
    ~TestDataFolder() { QDir::setCurrent(m_previous); }
    TestDataFolder(const TestDataFolder&) = delete;
    TestDataFolder& operator=(const TestDataFolder&) = delete;

    bool isValid() const { return m_dir->isValid(); }
    QString path() const { return m_dir->path(); }

    static bool write(const QString& relativePath, const QByteArray& contents) {
        QFile file(relativePath);
        return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
    }
    static QByteArray read(const QString& relativePath) {
        QFile file(relativePath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // A key as another process would read it from the file on disk right now.
    static QVariant onDisk(const QString& relativePath, const QString& key) {
        const QSettings file(relativePath, QSettings::IniFormat);
        return file.value(key);
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_previous;
};
