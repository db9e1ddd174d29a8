// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Chooses and prepares the folder that holds the user's data (the folder "modules" lives
// in it): --data DIR first, then the executable's folder when it carries a writable
// modules/setting (portable use), else $XDG_DATA_HOME/quellar. Missing factory files are
// copied in; existing files are never overwritten. GUI thread, at start-up.
class DataFolder {
public:
    struct Inputs {
        QString explicitFolder; // --data DIR, empty when absent
        QString executableFolder;
        QString xdgDataHome; // value of $XDG_DATA_HOME, may be empty
        QString homeFolder;
    };

    // Inputs from the running process (environment, executable, the --data value given).
    static Inputs fromEnvironment(const QString& explicitFolder);
    // The absolute path of the data folder the rules pick; nothing is created.
    static QString choose(const Inputs& inputs);
    static bool isPortableFolder(const QString& executableFolder);

    // Factory trees that may hold a "modules" folder, best first: the installed tree beside the
    // executable (<exe>/../share/quellar), then the source tree's copy (a build-tree program).
    static QStringList factoryRoots(const QString& executableFolder);

    // Copies every file of <root>/modules that is missing below <folder>/modules from the first
    // root that has one. Returns the number copied, or -1 when a copy failed.
    static int seedFactoryFiles(const QString& folder, const QStringList& factoryRoots);

    // choose + create + seed + make it the working directory. The chosen path goes to *folder.
    static bool prepare(const Inputs& inputs, const QStringList& factoryRoots, QString* folder, QString* error);
};
