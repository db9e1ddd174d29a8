// SPDX-License-Identifier: GPL-3.0-or-later
#include "MacroRename.h"

#include "LibraryFiles.h"
#include "MacroLibrary.h"
#include "MacroLog.h"
#include "ProfileStore.h"
#include "SettingsValues.h"

#include <QFile>
#include <QSettings>

MacroRename::MacroRename(ProfileStore& profiles, const QString& oldName, const QString& newName)
    : m_profiles(profiles), m_oldName(oldName), m_newName(newName) {
    const auto oldPath = LibraryFiles::existingEntryPath(LibraryKind::Macro, oldName);
    const auto newPath = LibraryFiles::entryPath(LibraryKind::Macro, newName);
    if (!oldPath || !newPath)
        return;
    // A taken name must not leave the profiles pointing at the other macro.
    if (QFile::exists(*newPath)) {
        qCWarning(lcMacro) << "refused renaming a macro onto the existing" << *newPath;
        return;
    }
    m_oldPath = *oldPath;
    m_newPath = *newPath;
    m_accepted = true;
    m_next = Step::CopyEntry;
}

bool MacroRename::run() {
    while (m_next != Step::Done)
        if (!runNextStep())
            return false;
    return m_accepted;
}

bool MacroRename::runNextStep() {
    bool done = false;
    switch (m_next) {
    case Step::CopyEntry:
        done = copyEntry();
        break;
    case Step::RepointReferences:
        done = repointReferences();
        break;
    case Step::RemoveOldEntry:
        done = removeOldEntry();
        break;
    case Step::Done:
        return m_accepted;
    }
    if (!done) {
        fail();
        return false;
    }
    m_next = Step(int(m_next) + 1);
    return true;
}

// The copy is written whole under its new name or not at all (store's copyOver).
bool MacroRename::copyEntry() {
    return SettingsValues::copyOver(m_oldPath, m_newPath);
}

bool MacroRename::repointReferences() {
    const QString group = LibraryFiles::groupName(LibraryKind::Macro);
    for (int position = 0; position < MacroLibrary::kReferencedProfiles; ++position) {
        QSettings& profile = m_profiles.at(position);
        profile.beginGroup(group);
        const QStringList keys = profile.childKeys();
        bool changed = false;
        for (const QString& key : keys) {
            if (profile.value(key, QString()).toString() == m_oldName) {
                profile.setValue(key, m_newName);
                m_repointed.push_back({position, group + QLatin1Char('/') + key});
                changed = true;
            }
        }
        profile.endGroup();
        if (changed && !SettingsValues::flush(profile))
            return false;
    }
    return true;
}

bool MacroRename::removeOldEntry() {
    if (QFile::remove(m_oldPath))
        return true;
    qCWarning(lcMacro) << "cannot remove" << m_oldPath << "after copying it to" << m_newPath;
    return false;
}

// Undone in reverse: references back to the old entry, then the copy removed.
void MacroRename::fail() {
    pointReferencesBack();
    if (m_next != Step::CopyEntry)
        QFile::remove(m_newPath);
    m_next = Step::Done;
    m_accepted = false;
}

void MacroRename::pointReferencesBack() {
    for (const Reference& reference : m_repointed) {
        QSettings& profile = m_profiles.at(reference.profile);
        profile.setValue(reference.key, m_oldName);
        SettingsValues::flush(profile);
    }
    m_repointed.clear();
}
