// SPDX-License-Identifier: GPL-3.0-or-later
// quellarctl: the mouse's settings from the command line. Verbs (VerbTable) run on the running
// quellar's back end when one holds the data folder, else on a back end of its own; "virtual"
// controls the virtual mouse of a running quellar.

#include "Backend.h"
#include "CommandLineOptions.h"
#include "ControlChannel.h"
#include "DataFolder.h"
#include "DeviceVerbs.h"
#include "HidBackendStack.h"
#include "LogRules.h"
#include "OwnBackEnd.h"
#include "RemoteTarget.h"
#include "SingleInstanceGuard.h"
#include "VerbSession.h"
#include "VerbTable.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QTextStream>
#include <cstdio>
#include <functional>

namespace {

using Work = std::function<int(OperationTarget& target)>;

// Another quellarctl on the same data folder is waited for: scripts often run it back to back.
constexpr int kWaitForAnotherToolMs = 30000;
const QString kToolName = QStringLiteral("quellarctl");

// Runs `work` on the running quellar's back end, or on an own one when none runs. Nothing
// here interleaves with a running quellar's files and device transfers: either it does the
// work, or its lock is free and taken for the run.
int runOnBackEnd(const CommandLineOptions& options, const QString& answerFile, const Work& work) {
    const QString dataFolder = DataFolder::choose(DataFolder::fromEnvironment(options.dataFolder));
    SingleInstanceGuard guard(dataFolder);
    SingleInstanceGuard::Outcome outcome = guard.acquire();
    if (outcome == SingleInstanceGuard::Outcome::Held && guard.holderName() == kToolName)
        outcome = guard.acquire(kWaitForAnotherToolMs);
    switch (outcome) {
    case SingleInstanceGuard::Outcome::Acquired: {
        OwnBackEnd own(options, answerFile);
        return work(own);
    }
    case SingleInstanceGuard::Outcome::Refused: // the guard has logged why
        return VerbSession::kExitRefused;
    case SingleInstanceGuard::Outcome::Held:
        break;
    }
    if (guard.holderName() == kToolName) {
        VerbSession::printError(QStringLiteral("another quellarctl still uses the data folder %1").arg(dataFolder));
        return VerbSession::kExitBusy;
    }
    RemoteTarget remote;
    if (!answerFile.isEmpty() || !remote.connectTo(dataFolder)) {
        VerbSession::printError(
            answerFile.isEmpty()
                ? QStringLiteral("a running quellar uses the data folder %1 and does not answer; quit it first")
                      .arg(dataFolder)
                : QStringLiteral("--answer-file cannot answer the running quellar's dialogs; quit it first"));
        return VerbSession::kExitBusy;
    }
    return work(remote);
}

// The devices the back end would find; needs no lock, as it opens none of them.
int listDevices(const CommandLineOptions& options, bool json) {
    const QString dataFolder = DataFolder::choose(DataFolder::fromEnvironment(options.dataFolder));
    // The virtual mouse keeps its state in the data folder.
    if (QDir(dataFolder).exists())
        QDir::setCurrent(dataFolder);
    HidBackendStack hid(options.virtualDevice, {});
    return DeviceVerbs::list(hid.backend(), json);
}

int runVirtual(const CommandLineOptions& options, const QStringList& args) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QString dataFolder = DataFolder::choose(DataFolder::fromEnvironment(options.dataFolder));
    return ControlChannel::runClient(dataFolder, args, out, err);
}

int showHelp(const QStringList& words) {
    const Verb* verb = VerbTable::find(words.value(0));
    if (!words.isEmpty() && !verb)
        return VerbSession::usage(QStringLiteral("no verb is named \"%1\"; see quellarctl --help").arg(words[0]));
    std::fputs(qPrintable(verb ? VerbTable::helpOf(*verb) : VerbTable::overview()), stdout);
    return VerbSession::kExitDone;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(kToolName);
    QCoreApplication::setApplicationVersion(QStringLiteral(QUELLAR_VERSION));

    QCommandLineParser parser;
    CommandLineOptions::addTo(parser);
    const QCommandLineOption answerFile(QStringLiteral("answer-file"), QStringLiteral("The path file dialogs answer."),
                                        QStringLiteral("PATH"));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Print labelled JSON objects."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show the help."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version."));
    parser.addOptions({answerFile, json, help, version});
    if (!parser.parse(QCoreApplication::arguments()))
        return VerbSession::usage(parser.errorText() + QStringLiteral("; see quellarctl --help"));
    if (parser.isSet(version)) {
        std::fprintf(stdout, "quellarctl %s\n", QUELLAR_VERSION);
        return VerbSession::kExitDone;
    }
    QString error;
    if (!CommandLineOptions::check(parser, &error))
        return VerbSession::usage(error);
    const CommandLineOptions options = CommandLineOptions::readFrom(parser);
    LogRules::apply(options.verbose);

    const QStringList words = parser.positionalArguments();
    if (parser.isSet(help) || words.value(0) == QLatin1String("help"))
        return showHelp(words.mid(words.value(0) == QLatin1String("help") ? 1 : 0));
    if (words.isEmpty())
        return VerbSession::usage(QStringLiteral("no verb given; see quellarctl --help"));
    const Verb* verb = VerbTable::find(words[0]);
    if (!verb)
        return VerbSession::usage(QStringLiteral("no verb is named \"%1\"; see quellarctl --help").arg(words[0]));
    QStringList arguments = words.mid(1);
    if (arguments.contains(QStringLiteral("--help")) && verb->name != QLatin1String("call"))
        return showHelp({verb->name});
    // --json may follow the verb too; call's words are the operation's own.
    const bool asJson = parser.isSet(json) ||
                        (verb->name != QLatin1String("call") && arguments.removeAll(QStringLiteral("--json")) > 0);

    if (verb->local) {
        if (const int code = verb->local(arguments); code >= 0)
            return code;
    }
    if (verb->name == QLatin1String("virtual"))
        return runVirtual(options, arguments);
    if (verb->name == QLatin1String("list"))
        return listDevices(options, asJson);
    return runOnBackEnd(options, parser.value(answerFile), [&](OperationTarget& target) {
        VerbSession session(target, asJson);
        return verb->run(session, arguments);
    });
}
