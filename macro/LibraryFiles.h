// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the macro and gun libraries live and which names may become file
// names. A library entry is "./modules/macro/<name>.bin" or
// "./modules/gun/<name>.bin" below the working directory (the data folder);
// a name that could leave that folder or hide the file is refused everywhere.

#include <QSettings>
#include <QString>
#include <optional>

enum class LibraryKind { Macro, Gun };

class LibraryFiles {
public:
    static constexpr int kMaxNameLength = 100;
    // What a file name may take on Linux file systems (NAME_MAX).
    static constexpr int kMaxFileNameBytes = 255;

    // Not empty, at most 100 characters, no "/", "\" or NUL, no leading ".",
    // and short enough in UTF-8 that "<name>.bin" and the temporary file it is
    // written through are valid file names.
    static bool isSafeName(const QString& name);
    // The entry file of a safe name; nothing for an unsafe one (logged once here).
    static std::optional<QString> entryPath(LibraryKind kind, const QString& name);
    static bool entryExists(LibraryKind kind, const QString& name);
    // The entry file of an operation that changes an entry: nothing when the
    // name is refused or the entry does not exist (both logged once here).
    static std::optional<QString> existingEntryPath(LibraryKind kind, const QString& name);
    static QString folder(LibraryKind kind);
    // "macro" or "gun": the event group of an entry file and the reference
    // group of a profile.
    static QString groupName(LibraryKind kind);
    // Creates the library folder when it is missing.
    static bool ensureFolder(LibraryKind kind);

    static QString nameListPath();
    static QString gunDataPath();
};
