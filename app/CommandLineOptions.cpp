#include "CommandLineOptions.h"

#include <QCommandLineParser>

namespace {
const QString kDataOption = QStringLiteral("data");
const QString kVirtualDeviceOption = QStringLiteral("virtual-device");
const QString kTraceOption = QStringLiteral("trace");
const QString kVerboseOption = QStringLiteral("verbose");
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
    addTo(parser);
    if (!parser.parse(arguments)) {
        if (error)
            *error = parser.errorText();
        return false;
    }
    if (!check(parser, error))
        return false;
    if (options)
        *options = readFrom(parser);
    return true;
}
