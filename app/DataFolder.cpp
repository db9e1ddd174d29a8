// SPDX-License-Identifier: GPL-3.0-or-later
#include "DataFolder.h"

#include "AppLogging.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#ifndef QUELLAR_FACTORY_BUILD_DIR
#define QUELLAR_FACTORY_BUILD_DIR ""
#endif
#ifndef QUELLAR_FACTORY_RELATIVE_DIR
#define QUELLAR_FACTORY_RELATIVE_DIR "../share/quellar"
#endif

namespace {

const QString kModules = QStringLiteral("modules");
const QString kSettingFolder = QStringLiteral("modules/setting");
const QString kAppFolderName = QStringLiteral("quellar");

bool isWritableFolder(const QString& path) {
    const QFileInfo info(path);
    return info.isDir() && info.isWritable();
}

} // namespace

DataFolder::Inputs DataFolder::fromEnvironment(const QString& explicitFolder) {
    Inputs inputs;
    inputs.explicitFolder = explicitFolder;
    inputs.executableFolder = QCoreApplication::applicationDirPath();
    inputs.xdgDataHome = qEnvironmentVariable("XDG_DATA_HOME");
    inputs.homeFolder = QDir::homePath();
    return inputs;
}

bool DataFolder::isPortableFolder(const QString& executableFolder) {
    return !executableFolder.isEmpty() && isWritableFolder(QDir(executableFolder).filePath(kSettingFolder));
}

QString DataFolder::choose(const Inputs& inputs) {
    if (!inputs.explicitFolder.isEmpty())
        return QDir(inputs.explicitFolder).absolutePath();
    if (isPortableFolder(inputs.executableFolder))
        return QDir(inputs.executableFolder).absolutePath();
    // A relative XDG_DATA_HOME is invalid and must be ignored.
    const QString dataHome = QDir::isAbsolutePath(inputs.xdgDataHome)
                                 ? inputs.xdgDataHome
                                 : QDir(inputs.homeFolder).filePath(QStringLiteral(".local/share"));
    return QDir::cleanPath(QDir(dataHome).filePath(kAppFolderName));
}

QStringList DataFolder::factoryRoots(const QString& executableFolder) {
    QStringList roots;
    // Installed: <prefix>/bin/quellar finds <prefix>/share/quellar, wherever the prefix is.
    if (!executableFolder.isEmpty())
        roots << QDir::cleanPath(QDir(executableFolder).filePath(QStringLiteral(QUELLAR_FACTORY_RELATIVE_DIR)));
    const QString buildRoot = QStringLiteral(QUELLAR_FACTORY_BUILD_DIR);
    if (!buildRoot.isEmpty())
        roots << buildRoot;
    return roots;
}

int DataFolder::seedFactoryFiles(const QString& folder, const QStringList& factoryRoots) {
    QString sourceModules;
    for (const QString& root : factoryRoots) {
        if (QFileInfo(QDir(root).filePath(kModules)).isDir()) {
            sourceModules = QDir(root).filePath(kModules);
            break;
        }
    }
    if (sourceModules.isEmpty()) {
        qCWarning(lcApp) << "no factory data found in" << factoryRoots;
        return 0;
    }

    const QDir source(sourceModules);
    const QDir target(QDir(folder).filePath(kModules));
    int copied = 0;
    bool failed = false;
    QDirIterator it(sourceModules, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString sourceFile = it.next();
        const QString targetFile = target.filePath(source.relativeFilePath(sourceFile));
        if (QFileInfo::exists(targetFile))
            continue;
        if (!QDir().mkpath(QFileInfo(targetFile).absolutePath()) || !QFile::copy(sourceFile, targetFile)) {
            qCWarning(lcApp) << "cannot copy factory file" << sourceFile << "to" << targetFile;
            failed = true;
            continue;
        }
        // Installed factory files are read-only; the user's copies must stay editable.
        QFile::setPermissions(targetFile, QFile::permissions(targetFile) | QFile::WriteOwner | QFile::ReadOwner);
        ++copied;
    }
    return failed ? -1 : copied;
}

bool DataFolder::prepare(const Inputs& inputs, const QStringList& factoryRoots, QString* folder, QString* error) {
    const QString chosen = choose(inputs);
    if (folder)
        *folder = chosen;
    if (!QDir().mkpath(QDir(chosen).filePath(kSettingFolder))) {
        if (error)
            *error = QStringLiteral("cannot create the data folder %1").arg(chosen);
        return false;
    }
    // A factory file that cannot be copied is logged; the program still runs on what is there.
    seedFactoryFiles(chosen, factoryRoots);
    if (!QDir::setCurrent(chosen)) {
        if (error)
            *error = QStringLiteral("cannot enter the data folder %1").arg(chosen);
        return false;
    }
    qCDebug(lcApp) << "data folder" << chosen;
    return true;
}
