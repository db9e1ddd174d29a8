// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The macro and gun libraries on disk: one INI entry file per macro or gun,
// the name lists in name.bin, and the profile references to macros. Every
// operation opens its files, works and writes them to disk before it returns;
// nothing is cached. The view converts the pages' values; these methods take
// them typed. Values the pages store as they give them (an entry's index,
// type and repeat) are kept as their texts and read back as numbers where they
// are. GUI thread only.

#include "LibraryFiles.h"

#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <optional>

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
    // What an import answers when nothing was copied.
    static inline const QString kNothingImported = QStringLiteral(" ");

    MacroLibrary(ProfileStore& profiles, const DevicePort& device, UserDialogs& dialogs);

    // An entry's index and how often it repeats, as a macro slot uses them.
    struct SlotConfig {
        int index;
        int repeat;
    };

    // A new entry file: index `index`, no lines, repeat 1, never configured.
    bool createEntry(LibraryKind kind, const QString& name, uint index);
    // The entry's lines and its repeat value, stored as given. The entry must exist.
    bool saveEntry(LibraryKind kind, const QString& name, const QStringList& lines, const QString& repeat);
    // The entry's lines, then its repeat value; empty when there is no entry.
    QStringList loadEntry(LibraryKind kind, const QString& name);
    // The stored type ("did") and index of an entry, numbers where they are; 0 without entry.
    QVariant entryType(LibraryKind kind, const QString& name);
    QVariant entryIndex(LibraryKind kind, const QString& name);
    void setEntryIndex(LibraryKind kind, const QString& name, const QString& index);
    void setMacroType(const QString& name, const QString& type);
    // The macro's slot configuration; its index is -1 unless it was configured
    // for the current device. Nothing when there is no such macro.
    std::optional<SlotConfig> macroSlotConfig(const QString& name);
    // Stores the macro's index and repeat as given, for the current device.
    void setMacroSlotConfig(const QString& name, const QString& index, const QString& repeat);
    // Renames a macro and every profile reference to it (MacroRename).
    bool renameMacro(const QString& oldName, const QString& newName);
    // Renames only the entry file.
    bool renameEntryFile(LibraryKind kind, const QString& oldName, const QString& newName);
    bool deleteEntry(LibraryKind kind, const QString& name);
    // "Name", then the key of every profile reference to the entry.
    QStringList referencesTo(LibraryKind kind, const QString& name);
    // Name list `listType` of name.bin: 0 macros, 1 guns, 2 profiles, 3 chosen
    // guns. Storing a list of another type does nothing and succeeds.
    bool storeNameList(int listType, QStringList names);
    QStringList nameList(int listType);
    // Copies a macro file the user chooses over the entry; the chosen path, or
    // kNothingImported.
    QString importMacroFile(const QString& name);
    // Copies the entry to a file the user chooses.
    void exportMacroFile(const QString& name);

    // The repeat value of an entry (the image's loop count); fallback when the
    // entry is missing or the value is not a number.
    static uint loopCountOf(LibraryKind kind, const QString& name, uint fallback);

private:
    QVariant readConfig(LibraryKind kind, const QString& name, const QString& key);
    void writeConfig(LibraryKind kind, const QString& name, const QString& key, const QString& value);

    ProfileStore& m_profiles;
    const DevicePort& m_device;
    UserDialogs& m_dialogs;
};
