#pragma once

#include <QString>
#include <QStringList>

class QCommandLineParser;

// The options quellar and quellarctl share: --data DIR, --virtual-device, --trace FILE, --verbose.
// Absent options change nothing.
struct CommandLineOptions {
    QString dataFolder;
    bool virtualDevice = false;
    QString traceFile;
    bool verbose = false;
    QStringList positional;

    // Adds the shared options to a parser (quellarctl adds its own next to them). Options are
    // read only before the first positional word.
    static void addTo(QCommandLineParser& parser);
    // Reads the shared options from a parser that has processed the arguments.
    static CommandLineOptions readFrom(const QCommandLineParser& parser);
    // False with a message when a shared option's value is unusable (an empty --data would
    // silently become the user's real data folder).
    static bool check(const QCommandLineParser& parser, QString* error);
    // Parses arguments (argv[0] first) with only the shared options; false with a message on error.
    static bool parse(const QStringList& arguments, CommandLineOptions* options, QString* error);
};
