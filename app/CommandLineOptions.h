// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class QCommandLineParser;

// The options quellar and quellarctl share: --data DIR, --virtual-device, --trace FILE, --verbose;
// and quellar's own: --hidden, --help, --version. Absent options change nothing.
struct CommandLineOptions {
    QString dataFolder;
    bool virtualDevice = false;
    QString traceFile;
    bool verbose = false;
    bool hidden = false; // start in the tray without showing the window (autostart)
    bool helpRequested = false;
    bool versionRequested = false;
    QStringList positional;

    // Adds the shared options to a parser (quellarctl adds its own next to them). Options are
    // read only before the first positional word.
    static void addTo(QCommandLineParser& parser);
    // Reads the shared options from a parser that has processed the arguments.
    static CommandLineOptions readFrom(const QCommandLineParser& parser);
    // False with a message when a shared option's value is unusable (an empty --data would
    // silently become the user's real data folder).
    static bool check(const QCommandLineParser& parser, QString* error);
    // Parses quellar's arguments (argv[0] first): the shared options and quellar's own; false with
    // a message on error.
    static bool parse(const QStringList& arguments, CommandLineOptions* options, QString* error);
    // What quellar --help prints (help2man turns it into the manual page).
    static QString helpText();
    // What --version prints: "<program> <project version>".
    static QString versionText(const QString& program);
};
