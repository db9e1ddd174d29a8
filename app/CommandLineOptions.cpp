// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLineOptions.h"

#include "QuellarVersion.h"

#include <QCommandLineParser>

namespace {
const QString kDataOption = QStringLiteral("data");
const QString kVirtualDeviceOption = QStringLiteral("virtual-device");
const QString kTraceOption = QStringLiteral("trace");
const QString kVerboseOption = QStringLiteral("verbose");
const QString kHiddenOption = QStringLiteral("hidden");
const QString kHelpOption = QStringLiteral("help");
const QString kVersionOption = QStringLiteral("version");

const QString kAppUsage = QStringLiteral("Usage: quellar [options]");
const QString kAppDescription =
    QStringLiteral("Configures the MORVANE QUELLAR MOUSE K417 gaming mouse: DPI stages and colours, report rate,\n"
                   "lighting, the function of every button, macros, recoil sequences and ten profiles. Quellar\n"
                   "lives in the system tray, notices the mouse arriving and leaving and shows the DPI stage\n"
                   "when it is switched on the mouse. Starting it again brings the running window forward.");
const QString kAppExitCodes =
    QStringLiteral("Exit status:\n"
                   "  0  ended from the tray menu, or --help or --version\n"
                   "  1  Quellar already runs on this data folder (its window comes forward)\n"
                   "  2  bad command line, or the data folder cannot be used");

// quellar's options: the shared ones plus its own.
void addAppOptionsTo(QCommandLineParser& parser) {
    CommandLineOptions::addTo(parser);
    parser.addOption({kHiddenOption, QStringLiteral("Start in the tray without showing the window (for autostart).")});
    parser.addOption({{QStringLiteral("h"), kHelpOption}, QStringLiteral("Show this help and exit.")});
    parser.addOption({kVersionOption, QStringLiteral("Show the version and exit.")});
}
} // namespace

void CommandLineOptions::addTo(QCommandLineParser& parser) {
    // Words after the first positional one belong to the command ("call op -1" passes -1 on).
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.addOption({kDataOption, QStringLiteral("Use DIR as the data folder."), QStringLiteral("DIR")});
    parser.addOption({kVirtualDeviceOption, QStringLiteral("Use the built-in virtual mouse instead of USB devices.")});
    parser.addOption({kTraceOption, QStringLiteral("Write the device wire trace to FILE (- for standard error)."),
                      QStringLiteral("FILE")});
    parser.addOption({kVerboseOption, QStringLiteral("Also log Quellar's debug messages.")});
}

CommandLineOptions CommandLineOptions::readFrom(const QCommandLineParser& parser) {
    CommandLineOptions options;
    options.dataFolder = parser.value(kDataOption);
    options.virtualDevice = parser.isSet(kVirtualDeviceOption);
    options.traceFile = parser.value(kTraceOption);
    options.verbose = parser.isSet(kVerboseOption);
    options.positional = parser.positionalArguments();
    return options;
}

bool CommandLineOptions::check(const QCommandLineParser& parser, QString* error) {
    if (parser.isSet(kDataOption) && parser.value(kDataOption).isEmpty()) {
        if (error)
            *error = QStringLiteral("--data needs a folder, not an empty value");
        return false;
    }
    return true;
}

bool CommandLineOptions::parse(const QStringList& arguments, CommandLineOptions* options, QString* error) {
    QCommandLineParser parser;
    addAppOptionsTo(parser);
    if (!parser.parse(arguments)) {
        if (error)
            *error = parser.errorText();
        return false;
    }
    if (!check(parser, error))
        return false;
    if (options) {
        *options = readFrom(parser);
        options->hidden = parser.isSet(kHiddenOption);
        options->helpRequested = parser.isSet(kHelpOption);
        options->versionRequested = parser.isSet(kVersionOption);
    }
    return true;
}

QString CommandLineOptions::helpText() {
    QCommandLineParser parser;
    addAppOptionsTo(parser);
    // Qt names the program in the usage line only when an application object exists, and help
    // is answered before one is built (it needs no display); so the usage line is our own.
    const QString options = parser.helpText().section(QLatin1Char('\n'), 1);
    return kAppUsage + QStringLiteral("\n") + kAppDescription + QStringLiteral("\n") + options + QStringLiteral("\n") +
           kAppExitCodes + QStringLiteral("\n");
}

QString CommandLineOptions::versionText(const QString& program) {
    return program + QStringLiteral(" ") + QStringLiteral(QUELLAR_VERSION) + QStringLiteral("\n");
}
