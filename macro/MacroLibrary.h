// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The macro and gun libraries on disk: one INI entry file per macro or gun,
// the name lists in name.bin, and the profile references to macros. Every
// operation opens its files, works and writes them to disk before it returns;
// nothing is cached. The method names and signatures are those the QML pages
// call on "ui_View". GUI thread only.

#include "LibraryFiles.h"

#include <QStringList>
#include <QVariant>
#include <QVariantList>

class DevicePort;
class ProfileStore;
class UserDialogs;

class MacroLibrary {
public:
    static constexpr int kReferencedProfiles = 6; // the profile page lists p1..p6
    // Far more lines than any image holds (a gun image of 896 bytes has at most
    // 447 events); a damaged file is read no further.
    static constexpr int kMaxEventLines = 4096;
    static inline const QString kNameListFiller = QStringLiteral("loadermarble");

    MacroLibrary(ProfileStore& profiles, const DevicePort& device, UserDialogs& dialogs);

    QVariant createMacroIni(QVariant name, QVariant macroIndex);
    QVariant createGunIni(QVariant name, QVariant gunIndex);
    QVariant updataNameList(QVariant type, QStringList nameList);
    QVariantList getNameList(QVariant type);
    QVariant saveMacroIni(QVariant name, QStringList macros, QVariantList macroData, QVariant repeat);
    QVariant saveGunIni(QVariant name, QStringList macros, QVariantList macroData, QVariant repeat);
    QStringList loadMacroIni(QVariant name);
    QStringList loadGunIni(QVariant name);
    QVariant loadMacroType(QVariant name);
    QVariant loadGunType(QVariant name);
    QVariant loadMacroIndex(QVariant name);
    QVariant loadGunIndex(QVariant name);
    QVariantList loadMacroIniConfig(QVariant name);
    void setMacroIniConfig(QVariant name, QVariantList config);
    void setMacroIndex(QVariant name, QVariant macroIndex);
    void setGunIndex(QVariant name, QVariant gunIndex);
    void setMacroType(QVariant name, QVariant macroType);
    QVariant modifyMacroName(QVariant oldname, QVariant newname);
    QVariant modifyGunName(QVariant oldname, QVariant newname);
    QVariant deleteMacroIni(QVariant name);
    QVariant deleteGunIni(QVariant name);
    QStringList isMacroUse(QVariant macroName);
    QStringList isGunUse(QVariant macroName);
    QVariant loadMacroIniFromFile(QVariant name);
    void saveMacroIniToFile(QVariant name);
    void renameMacroIniFile(QVariant oldName, QVariant newName);

    // The repeat value of an entry (the image's loop count); fallback when the
    // entry is missing or the value is not a number.
    static uint loopCountOf(LibraryKind kind, const QVariant& name, uint fallback);

private:
    QVariant createEntry(LibraryKind kind, const QVariant& name, const QVariant& index);
    QVariant saveEntry(LibraryKind kind, const QVariant& name, const QStringList& lines, const QVariant& repeat);
    QStringList loadEntry(LibraryKind kind, const QVariant& name);
    QVariant readConfig(LibraryKind kind, const QVariant& name, const QString& key);
    void writeConfig(LibraryKind kind, const QVariant& name, const QString& key, const QVariant& value);
    QVariant renameEntry(LibraryKind kind, const QVariant& oldname, const QVariant& newname);
    QVariant deleteEntry(LibraryKind kind, const QVariant& name);
    QStringList referencesTo(LibraryKind kind, const QVariant& name);

    ProfileStore& m_profiles;
    const DevicePort& m_device;
    UserDialogs& m_dialogs;
};
