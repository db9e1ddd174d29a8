// SPDX-License-Identifier: GPL-3.0-or-later
#include "MacroLibrary.h"

#include "DevicePort.h"
#include "MacroLog.h"
#include "MacroRename.h"
#include "ProfileStore.h"
#include "SettingsValues.h"
#include "StoredValues.h"
#include "UserDialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <algorithm>

namespace {

const QString kIndexKey = QStringLiteral("config/index");
const QString kTotalKey = QStringLiteral("config/total");
const QString kRepeatKey = QStringLiteral("config/repeat");
const QString kDidKey = QStringLiteral("config/did");

constexpr int kNeverConfigured = -1;

QString nameListKey(int listType) {
    switch (listType) {
    case 0:
        return QStringLiteral("macro/macroName");
    case 1:
        return QStringLiteral("gun/gunName");
    case 2:
        return QStringLiteral("profile/profileName");
    case 3:
        return QStringLiteral("gun/selectGun");
    default:
        return {};
    }
}

QString tr(const char* text) {
    return QCoreApplication::translate("myQQuickView", text);
}

QString desktopFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

} // namespace

MacroLibrary::MacroLibrary(ProfileStore& profiles, const DevicePort& device, UserDialogs& dialogs)
    : m_profiles(profiles), m_device(device), m_dialogs(dialogs) {}

bool MacroLibrary::createEntry(LibraryKind kind, const QString& name, uint index) {
    const auto path = LibraryFiles::entryPath(kind, name);
    if (!path || !LibraryFiles::ensureFolder(kind))
        return false;
    QSettings entry(*path, QSettings::IniFormat);
    entry.setValue(kIndexKey, index);
    entry.setValue(kTotalKey, 0);
    entry.setValue(kRepeatKey, 1);
    entry.setValue(kDidKey, kNeverConfigured);
    return SettingsValues::flush(entry);
}

bool MacroLibrary::storeNameList(int listType, QStringList names) {
    const QString key = nameListKey(listType);
    if (key.isEmpty())
        return true;
    // Qt reads a one-element list back as a plain string, so such a list is
    // stored with a filler second element that readers drop.
    if (names.size() == 1)
        names << kNameListFiller;
    QDir().mkpath(QFileInfo(LibraryFiles::nameListPath()).path());
    QSettings file(LibraryFiles::nameListPath(), QSettings::IniFormat);
    if (names.isEmpty())
        file.remove(key);
    else
        file.setValue(key, names);
    return SettingsValues::flush(file);
}

QStringList MacroLibrary::nameList(int listType) {
    const QString key = nameListKey(listType);
    if (key.isEmpty())
        return {};
    QSettings file(LibraryFiles::nameListPath(), QSettings::IniFormat);
    return SettingsValues::texts(file.value(key));
}

bool MacroLibrary::saveEntry(LibraryKind kind, const QString& name, const QStringList& lines, const QString& repeat) {
    const auto path = LibraryFiles::existingEntryPath(kind, name);
    if (!path)
        return false;
    QSettings entry(*path, QSettings::IniFormat);
    const QString group = LibraryFiles::groupName(kind);
    entry.remove(group);
    entry.setValue(kTotalKey, lines.size());
    entry.setValue(kRepeatKey, repeat);
    entry.beginGroup(group);
    for (qsizetype i = 0; i < lines.size(); ++i)
        entry.setValue(QString::number(i), lines.at(i));
    entry.endGroup();
    return SettingsValues::flush(entry);
}

QStringList MacroLibrary::loadEntry(LibraryKind kind, const QString& name) {
    const auto path = LibraryFiles::entryPath(kind, name);
    if (!path || !QFile::exists(*path))
        return {};
    QSettings entry(*path, QSettings::IniFormat);
    const int total = std::max(0, StoredValues::integer(entry.value(kTotalKey, 0)).value_or(0));
    QStringList lines;
    entry.beginGroup(LibraryFiles::groupName(kind));
    // A damaged count must not make up lines past the last one the file holds,
    // and no file is read past kMaxEventLines.
    int stored = 0;
    for (const QString& key : entry.childKeys())
        stored = std::max(stored, std::clamp(StoredValues::integer(key).value_or(-1), -1, kMaxEventLines) + 1);
    int count = std::min(total, stored);
    if (count > kMaxEventLines) {
        qCWarning(lcMacro) << "reading only the first" << kMaxEventLines << "lines of" << *path;
        count = kMaxEventLines;
    }
    for (int i = 0; i < count; ++i) {
        // An unquoted line in a hand-edited file reads back split at its commas.
        const QVariant line = entry.value(QString::number(i), 0);
        lines << SettingsValues::texts(line).join(QLatin1Char(','));
    }
    entry.endGroup();
    lines << entry.value(kRepeatKey, 0).toString();
    return lines;
}

QVariant MacroLibrary::entryType(LibraryKind kind, const QString& name) {
    return readConfig(kind, name, kDidKey);
}

QVariant MacroLibrary::entryIndex(LibraryKind kind, const QString& name) {
    return readConfig(kind, name, kIndexKey);
}

QVariant MacroLibrary::readConfig(LibraryKind kind, const QString& name, const QString& key) {
    const auto path = LibraryFiles::entryPath(kind, name);
    if (!path || !QFile::exists(*path))
        return 0;
    QSettings entry(*path, QSettings::IniFormat);
    return StoredValues::numberOrValue(entry.value(key, 0));
}

void MacroLibrary::writeConfig(LibraryKind kind, const QString& name, const QString& key, const QString& value) {
    const auto path = LibraryFiles::existingEntryPath(kind, name);
    if (!path)
        return;
    QSettings entry(*path, QSettings::IniFormat);
    entry.setValue(key, value);
    SettingsValues::flush(entry);
}

std::optional<MacroLibrary::SlotConfig> MacroLibrary::macroSlotConfig(const QString& name) {
    const auto path = LibraryFiles::entryPath(LibraryKind::Macro, name);
    if (!path || !QFile::exists(*path))
        return std::nullopt;
    QSettings entry(*path, QSettings::IniFormat);
    const int did = StoredValues::integer(entry.value(kDidKey, kNeverConfigured)).value_or(kNeverConfigured);
    const int repeat = StoredValues::integer(entry.value(kRepeatKey, 1)).value_or(1);
    const bool sameDevice = did >= 0 && uint(did) == m_device.currentDeviceId();
    const int index = sameDevice ? StoredValues::integer(entry.value(kIndexKey, -1)).value_or(-1) : -1;
    return SlotConfig{index, repeat};
}

void MacroLibrary::setMacroSlotConfig(const QString& name, const QString& index, const QString& repeat) {
    const auto path = LibraryFiles::existingEntryPath(LibraryKind::Macro, name);
    if (!path)
        return;
    QSettings entry(*path, QSettings::IniFormat);
    entry.setValue(kIndexKey, index);
    entry.setValue(kRepeatKey, repeat);
    entry.setValue(kDidKey, m_device.currentDeviceId());
    SettingsValues::flush(entry);
}

void MacroLibrary::setEntryIndex(LibraryKind kind, const QString& name, const QString& index) {
    writeConfig(kind, name, kIndexKey, index);
}

void MacroLibrary::setMacroType(const QString& name, const QString& type) {
    writeConfig(LibraryKind::Macro, name, kDidKey, type);
}

bool MacroLibrary::renameMacro(const QString& oldName, const QString& newName) {
    MacroRename rename(m_profiles, oldName, newName);
    return rename.run();
}

bool MacroLibrary::renameEntryFile(LibraryKind kind, const QString& oldName, const QString& newName) {
    const auto oldPath = LibraryFiles::existingEntryPath(kind, oldName);
    const auto newPath = LibraryFiles::entryPath(kind, newName);
    if (!oldPath || !newPath)
        return false;
    if (QFile::rename(*oldPath, *newPath))
        return true;
    qCWarning(lcMacro) << "cannot rename" << *oldPath << "to" << *newPath;
    return false;
}

bool MacroLibrary::deleteEntry(LibraryKind kind, const QString& name) {
    const auto path = LibraryFiles::existingEntryPath(kind, name);
    if (!path)
        return false;
    if (QFile::remove(*path))
        return true;
    qCWarning(lcMacro) << "cannot remove" << *path;
    return false;
}

QStringList MacroLibrary::referencesTo(LibraryKind kind, const QString& name) {
    QStringList uses{QStringLiteral("Name")};
    if (!LibraryFiles::isSafeName(name))
        return uses;
    for (int position = 0; position < kReferencedProfiles; ++position) {
        QSettings& profile = m_profiles.at(position);
        profile.beginGroup(LibraryFiles::groupName(kind));
        const QStringList keys = profile.childKeys();
        for (const QString& key : keys)
            if (profile.value(key, QString()).toString() == name)
                uses << key;
        profile.endGroup();
    }
    return uses;
}

QString MacroLibrary::importMacroFile(const QString& name) {
    QString chosen = m_dialogs.openFileName(tr("Open File"), desktopFolder(), tr("Macro(*.mc)"));
    if (chosen.isEmpty())
        return kNothingImported;
    const auto path = LibraryFiles::existingEntryPath(LibraryKind::Macro, name);
    if (!path || !SettingsValues::copyOver(chosen, *path))
        return kNothingImported;
    return chosen;
}

void MacroLibrary::exportMacroFile(const QString& name) {
    const auto path = LibraryFiles::existingEntryPath(LibraryKind::Macro, name);
    if (!path)
        return;
    const QString target = m_dialogs.saveFileName(tr("Save File"), desktopFolder(), tr("Macro(*.mc)"));
    if (target.isEmpty())
        return;
    SettingsValues::copyOver(*path, target);
}

uint MacroLibrary::loopCountOf(LibraryKind kind, const QString& name, uint fallback) {
    const auto path = LibraryFiles::entryPath(kind, name);
    if (!path || !QFile::exists(*path))
        return fallback;
    QSettings entry(*path, QSettings::IniFormat);
    bool ok = false;
    const uint repeat = entry.value(kRepeatKey, fallback).toString().toUInt(&ok);
    return ok ? repeat : fallback;
}
