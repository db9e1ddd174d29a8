#pragma once
// Where the macro and gun libraries live and which names may become file
// names. A library entry is "./modules/macro/<name>.bin" or
// "./modules/gun/<name>.bin" below the working directory (the data folder);
// a name that could leave that folder or hide the file is refused everywhere.

#include <QSettings>
#include <QString>
#include <QVariant>
#include <optional>

enum class LibraryKind { Macro, Gun };

class LibraryFiles {
public:
    static constexpr int kMaxNameLength = 100;

    // Not empty, at most 100 characters, no "/", "\" or NUL, no leading ".".
    static bool isSafeName(const QString& name);
    // The entry file of a safe name; nothing for an unsafe one (logged once here).
    static std::optional<QString> entryPath(LibraryKind kind, const QVariant& name);
    static bool entryExists(LibraryKind kind, const QVariant& name);
    static QString folder(LibraryKind kind);
    // "macro" or "gun": the event group of an entry file and the reference
    // group of a profile.
    static QString groupName(LibraryKind kind);
    // Creates the library folder when it is missing.
    static bool ensureFolder(LibraryKind kind);

    static QString nameListPath();
    static QString gunDataPath();

};
