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

QString nameListKey(const QVariant& type) {
    bool ok = false;
    const int number = type.toInt(&ok);
    if (!ok)
        return {};
    switch (number) {
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

QVariant MacroLibrary::createMacroIni(QVariant name, QVariant macroIndex) {
    return createEntry(LibraryKind::Macro, name, macroIndex);
}

QVariant MacroLibrary::createGunIni(QVariant name, QVariant gunIndex) {
    return createEntry(LibraryKind::Gun, name, gunIndex);
}

QVariant MacroLibrary::createEntry(LibraryKind kind, const QVariant& name, const QVariant& index) {
    const auto path = LibraryFiles::entryPath(kind, name);
    if (!path || !LibraryFiles::ensureFolder(kind))
        return false;
    QSettings entry(*path, QSettings::IniFormat);
    entry.setValue(kIndexKey, index.toUInt());
    entry.setValue(kTotalKey, 0);
    entry.setValue(kRepeatKey, 1);
    entry.setValue(kDidKey, kNeverConfigured);
    return SettingsValues::flush(entry);
}

QVariant MacroLibrary::updataNameList(QVariant type, QStringList nameList) {
    const QString key = nameListKey(type);
    if (key.isEmpty())
        return true;
    // Qt reads a one-element list back as a plain string, so such a list is
    // stored with a filler second element that readers drop.
    if (nameList.size() == 1)
        nameList << kNameListFiller;
    QDir().mkpath(QFileInfo(LibraryFiles::nameListPath()).path());
    QSettings names(LibraryFiles::nameListPath(), QSettings::IniFormat);
    if (nameList.isEmpty())
        names.remove(key);
    else
        names.setValue(key, nameList);
    return SettingsValues::flush(names);
}

QVariantList MacroLibrary::getNameList(QVariant type) {
    const QString key = nameListKey(type);
    if (key.isEmpty())
        return {};
    QSettings names(LibraryFiles::nameListPath(), QSettings::IniFormat);
    QVariantList list;
    for (const QString& name : SettingsValues::texts(names.value(key)))
        list << name;
    return list;
}

QVariant MacroLibrary::saveMacroIni(QVariant name, QStringList macros, QVariantList, QVariant repeat) {
    return saveEntry(LibraryKind::Macro, name, macros, repeat);
}

QVariant MacroLibrary::saveGunIni(QVariant name, QStringList macros, QVariantList, QVariant repeat) {
    return saveEntry(LibraryKind::Gun, name, macros, repeat);
}

QVariant MacroLibrary::saveEntry(LibraryKind kind, const QVariant& name, const QStringList& lines,
                                 const QVariant& repeat) {
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

QStringList MacroLibrary::loadMacroIni(QVariant name) {
    return loadEntry(LibraryKind::Macro, name);
}

QStringList MacroLibrary::loadGunIni(QVariant name) {
    return loadEntry(LibraryKind::Gun, name);
}

QStringList MacroLibrary::loadEntry(LibraryKind kind, const QVariant& name) {
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

QVariant MacroLibrary::loadMacroType(QVariant name) {
    return readConfig(LibraryKind::Macro, name, kDidKey);
}

QVariant MacroLibrary::loadGunType(QVariant name) {
    return readConfig(LibraryKind::Gun, name, kDidKey);
}

QVariant MacroLibrary::loadMacroIndex(QVariant name) {
    return readConfig(LibraryKind::Macro, name, kIndexKey);
}

QVariant MacroLibrary::loadGunIndex(QVariant name) {
    return readConfig(LibraryKind::Gun, name, kIndexKey);
}

QVariant MacroLibrary::readConfig(LibraryKind kind, const QVariant& name, const QString& key) {
    const auto path = LibraryFiles::entryPath(kind, name);
    if (!path || !QFile::exists(*path))
        return 0;
    QSettings entry(*path, QSettings::IniFormat);
    return StoredValues::numberOrValue(entry.value(key, 0));
}

void MacroLibrary::writeConfig(LibraryKind kind, const QVariant& name, const QString& key, const QVariant& value) {
    const auto path = LibraryFiles::existingEntryPath(kind, name);
    if (!path)
        return;
    QSettings entry(*path, QSettings::IniFormat);
    entry.setValue(key, value);
    SettingsValues::flush(entry);
}

QVariantList MacroLibrary::loadMacroIniConfig(QVariant name) {
    const auto path = LibraryFiles::entryPath(LibraryKind::Macro, name);
    if (!path || !QFile::exists(*path))
        return {};
    QSettings entry(*path, QSettings::IniFormat);
    const int did = StoredValues::integer(entry.value(kDidKey, kNeverConfigured)).value_or(kNeverConfigured);
    const int repeat = StoredValues::integer(entry.value(kRepeatKey, 1)).value_or(1);
    const bool sameDevice = did >= 0 && uint(did) == m_device.currentDeviceId();
    const int index = sameDevice ? StoredValues::integer(entry.value(kIndexKey, -1)).value_or(-1) : -1;
    return {index, repeat};
}

void MacroLibrary::setMacroIniConfig(QVariant name, QVariantList config) {
    if (config.size() < 2) {
        qCWarning(lcMacro) << "refused a macro configuration of" << config.size() << "values instead of 2";
        return;
    }
    const auto path = LibraryFiles::existingEntryPath(LibraryKind::Macro, name);
    if (!path)
        return;
    QSettings entry(*path, QSettings::IniFormat);
    entry.setValue(kIndexKey, config.at(0));
    entry.setValue(kRepeatKey, config.at(1));
    entry.setValue(kDidKey, m_device.currentDeviceId());
    SettingsValues::flush(entry);
}

void MacroLibrary::setMacroIndex(QVariant name, QVariant macroIndex) {
    writeConfig(LibraryKind::Macro, name, kIndexKey, macroIndex);
}

void MacroLibrary::setGunIndex(QVariant name, QVariant gunIndex) {
    writeConfig(LibraryKind::Gun, name, kIndexKey, gunIndex);
}

void MacroLibrary::setMacroType(QVariant name, QVariant macroType) {
    writeConfig(LibraryKind::Macro, name, kDidKey, macroType);
}

QVariant MacroLibrary::modifyMacroName(QVariant oldname, QVariant newname) {
    MacroRename rename(m_profiles, oldname, newname);
    return rename.run();
}

QVariant MacroLibrary::modifyGunName(QVariant oldname, QVariant newname) {
    return renameEntry(LibraryKind::Gun, oldname, newname);
}

void MacroLibrary::renameMacroIniFile(QVariant oldName, QVariant newName) {
    renameEntry(LibraryKind::Macro, oldName, newName);
}

QVariant MacroLibrary::renameEntry(LibraryKind kind, const QVariant& oldname, const QVariant& newname) {
    const auto oldPath = LibraryFiles::existingEntryPath(kind, oldname);
    const auto newPath = LibraryFiles::entryPath(kind, newname);
    if (!oldPath || !newPath)
        return false;
    if (QFile::rename(*oldPath, *newPath))
        return true;
    qCWarning(lcMacro) << "cannot rename" << *oldPath << "to" << *newPath;
    return false;
}

QVariant MacroLibrary::deleteMacroIni(QVariant name) {
    return deleteEntry(LibraryKind::Macro, name);
}

QVariant MacroLibrary::deleteGunIni(QVariant name) {
    return deleteEntry(LibraryKind::Gun, name);
}

QVariant MacroLibrary::deleteEntry(LibraryKind kind, const QVariant& name) {
    const auto path = LibraryFiles::existingEntryPath(kind, name);
    if (!path)
        return false;
    if (QFile::remove(*path))
        return true;
    qCWarning(lcMacro) << "cannot remove" << *path;
    return false;
}

QStringList MacroLibrary::isMacroUse(QVariant macroName) {
    return referencesTo(LibraryKind::Macro, macroName);
}

QStringList MacroLibrary::isGunUse(QVariant macroName) {
    return referencesTo(LibraryKind::Gun, macroName);
}

QStringList MacroLibrary::referencesTo(LibraryKind kind, const QVariant& name) {
    QStringList uses{QStringLiteral("Name")};
    const QString wanted = name.toString();
    if (!LibraryFiles::isSafeName(wanted))
        return uses;
    for (int position = 0; position < kReferencedProfiles; ++position) {
        QSettings& profile = m_profiles.at(position);
        profile.beginGroup(LibraryFiles::groupName(kind));
        const QStringList keys = profile.childKeys();
        for (const QString& key : keys)
            if (profile.value(key, QString()).toString() == wanted)
                uses << key;
        profile.endGroup();
    }
    return uses;
}

QVariant MacroLibrary::loadMacroIniFromFile(QVariant name) {
    const QString cancelled = QStringLiteral(" ");
    const QString chosen = m_dialogs.openFileName(tr("Open File"), desktopFolder(), tr("Macro(*.mc)"));
    if (chosen.isEmpty())
        return cancelled;
    const auto path = LibraryFiles::existingEntryPath(LibraryKind::Macro, name);
    if (!path)
        return cancelled;
    if (!SettingsValues::copyOver(chosen, *path))
        return cancelled;
    return chosen;
}

void MacroLibrary::saveMacroIniToFile(QVariant name) {
    const auto path = LibraryFiles::existingEntryPath(LibraryKind::Macro, name);
    if (!path)
        return;
    const QString target = m_dialogs.saveFileName(tr("Save File"), desktopFolder(), tr("Macro(*.mc)"));
    if (target.isEmpty())
        return;
    SettingsValues::copyOver(*path, target);
}

uint MacroLibrary::loopCountOf(LibraryKind kind, const QVariant& name, uint fallback) {
    const auto path = LibraryFiles::entryPath(kind, name);
    if (!path || !QFile::exists(*path))
        return fallback;
    QSettings entry(*path, QSettings::IniFormat);
    bool ok = false;
    const uint repeat = entry.value(kRepeatKey, fallback).toString().toUInt(&ok);
    return ok ? repeat : fallback;
}
