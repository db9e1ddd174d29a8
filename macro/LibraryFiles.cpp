// SPDX-License-Identifier: GPL-3.0-or-later
#include "LibraryFiles.h"

#include "MacroLog.h"

#include <QDir>
#include <QFile>

bool LibraryFiles::isSafeName(const QString& name) {
    // ".bin", and ".XXXXXX" of the temporary file a replacing write goes through.
    constexpr qsizetype kSuffixBytes = 4 + 7;
    return !name.isEmpty() && name.size() <= kMaxNameLength && !name.startsWith(QLatin1Char('.')) &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && !name.contains(QChar(0)) &&
           name.toUtf8().size() + kSuffixBytes <= kMaxFileNameBytes;
}

std::optional<QString> LibraryFiles::entryPath(LibraryKind kind, const QString& name) {
    if (!isSafeName(name)) {
        qCWarning(lcMacro) << "refused library entry name" << name.left(kMaxNameLength);
        return std::nullopt;
    }
    return folder(kind) + name + QStringLiteral(".bin");
}

bool LibraryFiles::entryExists(LibraryKind kind, const QString& name) {
    const auto path = entryPath(kind, name);
    return path && QFile::exists(*path);
}

std::optional<QString> LibraryFiles::existingEntryPath(LibraryKind kind, const QString& name) {
    auto path = entryPath(kind, name);
    if (!path || QFile::exists(*path))
        return path;
    qCWarning(lcMacro) << "no library entry" << *path;
    return std::nullopt;
}

QString LibraryFiles::folder(LibraryKind kind) {
    return kind == LibraryKind::Macro ? QStringLiteral("./modules/macro/") : QStringLiteral("./modules/gun/");
}

QString LibraryFiles::groupName(LibraryKind kind) {
    return kind == LibraryKind::Macro ? QStringLiteral("macro") : QStringLiteral("gun");
}

bool LibraryFiles::ensureFolder(LibraryKind kind) {
    if (QDir().mkpath(folder(kind)))
        return true;
    qCWarning(lcMacro) << "cannot create" << folder(kind);
    return false;
}

QString LibraryFiles::nameListPath() {
    return QStringLiteral("./modules/setting/name.bin");
}

QString LibraryFiles::gunDataPath() {
    return QStringLiteral("./modules/gun/gunData.bin");
}
