// quellarctl: the back end of quellar without a window. Runs operations of the
// QML contract by name ("call", "script") or controls the virtual mouse of a
// running quellar ("virtual").

#include "Backend.h"
#include "CommandLineOptions.h"
#include "ControlChannel.h"
#include "DataFolder.h"
#include "HeadlessHost.h"
#include "HidBackendStack.h"
#include "Hid_Thread.h"
#include "LogRules.h"
#include "OperationInvoker.h"
#include "ScriptedUserDialogs.h"
#include "SingleInstanceGuard.h"
#include "Ui_Controler.h"
#include "WarningCounter.h"
#include "myQQuickView.h"

#include <QCoreApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <optional>

namespace {

// Exit codes, documented in --help and docs/quellarctl.md.
constexpr int kExitDone = 0;
constexpr int kExitRefused = 1;
constexpr int kExitUsage = 2;
constexpr int kExitNoDevice = 3;
constexpr int kExitBusy = 4;
// Another quellarctl on the same data folder is waited for: scripts often run it back to back.
constexpr int kWaitForAnotherToolMs = 30000;
const QString kToolName = QStringLiteral("quellarctl");

const QString kExitCodesHelp = QStringLiteral(
    "Exit codes:\n"
    "  0  done\n"
    "  1  refused or failed: an operation answered false, logged a refusal or a failure,\n"
    "     or a device transfer failed\n"
    "  2  usage: unknown operation, wrong argument count, an argument its parameter\n"
    "     cannot take, a bad script line\n"
    "  3  no device: a device command found no device to talk to\n"
    "  4  busy: a running quellar holds the data folder");

struct Operation {
    QString name;
    QJsonArray arguments;
};

void printError(const QString& text)
{
    std::fprintf(stderr, "quellarctl: %s\n", qPrintable(text));
}

std::optional<QList<Operation>> operationsFromCall(const QStringList& words)
{
    if (words.isEmpty())
        return std::nullopt;
    Operation operation{words.first(), {}};
    for (const QString& word : words.mid(1))
        operation.arguments.append(OperationInvoker::parseWord(word));
    return QList<Operation>{operation};
}

std::optional<QList<Operation>> operationsFromScript(const QString& path)
{
    QFile file;
    const bool opened = path == QLatin1String("-") ? file.open(stdin, QIODevice::ReadOnly | QIODevice::Text)
                                                    : (file.setFileName(path), file.open(QIODevice::ReadOnly | QIODevice::Text));
    if (!opened) {
        printError(QStringLiteral("cannot read the script %1").arg(path));
        return std::nullopt;
    }
    QList<Operation> operations;
    int lineNumber = 0;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        ++lineNumber;
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QJsonDocument document = QJsonDocument::fromJson(line);
        const QJsonArray array = document.array();
        if (!document.isArray() || array.isEmpty() || !array.first().isString()) {
            printError(QStringLiteral("line %1: expected [\"NAME\", arg, ...]").arg(lineNumber));
            return std::nullopt;
        }
        operations.append({array.first().toString(), QJsonArray::fromVariantList(array.toVariantList().mid(1))});
    }
    return operations;
}

// A false answer of a query (get..., chk..., is...) is an answer; of any other operation, a refusal.
bool isRefusal(const QString& name, const QJsonValue& value)
{
    static const QStringList kQueryPrefixes{QStringLiteral("get"), QStringLiteral("chk"), QStringLiteral("is")};
    const bool query = std::any_of(kQueryPrefixes.begin(), kQueryPrefixes.end(),
                                   [&name](const QString& prefix) { return name.startsWith(prefix); });
    return !query && value.isBool() && !value.toBool();
}

// Runs the operations in order; stops at the first one that cannot be called.
int runOperations(const QList<Operation>& operations, myQQuickView& view, Ui_Controler& controller)
{
    int exitCode = kExitDone;
    static const QString kControllerPrefix = QStringLiteral("ui_Ctl.");
    QTextStream out(stdout);
    for (const Operation& operation : operations) {
        const bool onController = operation.name.startsWith(kControllerPrefix);
        QObject* target = onController ? static_cast<QObject*>(&controller) : &view;
        const QString name = onController ? operation.name.mid(kControllerPrefix.size()) : operation.name;
        const OperationInvoker::Result result = OperationInvoker::invoke(target, name, operation.arguments);
        if (result.outcome != OperationInvoker::Outcome::Done) {
            out.flush();
            printError(result.message);
            return kExitUsage;
        }
        const QJsonArray wrapped{result.value};
        const QByteArray json = QJsonDocument(wrapped).toJson(QJsonDocument::Compact);
        out << json.mid(1, json.size() - 2) << '\n'; // the value without its wrapping brackets
        out.flush();
        if (isRefusal(name, result.value))
            exitCode = kExitRefused;
    }
    return exitCode;
}

// What the run as a whole did: usage errors first, then a missing device, then any failure.
int exitCodeOf(int operationsCode, const Hid_Thread& worker, int failedBefore, int absentBefore,
               const WarningCounter& warnings)
{
    if (operationsCode == kExitUsage)
        return kExitUsage;
    if (worker.commandsWithoutDevice() > absentBefore) {
        printError(QStringLiteral("no device answered"));
        return kExitNoDevice;
    }
    if (operationsCode != kExitDone || worker.failedCommands() > failedBefore || warnings.count() > 0)
        return kExitRefused;
    return kExitDone;
}

// Takes the data folder's instance lock, so nothing here interleaves with a running quellar's
// files and device transfers. 0 when taken, else the exit code, with the reason on standard error.
int lockDataFolder(SingleInstanceGuard& guard, const QString& dataFolder)
{
    SingleInstanceGuard::Outcome outcome = guard.acquire();
    if (outcome == SingleInstanceGuard::Outcome::Held && guard.holderName() == kToolName)
        outcome = guard.acquire(kWaitForAnotherToolMs);
    switch (outcome) {
    case SingleInstanceGuard::Outcome::Acquired:
        return 0;
    case SingleInstanceGuard::Outcome::Held:
        printError(guard.holderName() == kToolName
                       ? QStringLiteral("another quellarctl still uses the data folder %1").arg(dataFolder)
                       : QStringLiteral("a running quellar uses the data folder %1; quit it first").arg(dataFolder));
        return kExitBusy;
    case SingleInstanceGuard::Outcome::Refused: // the guard has logged why
        break;
    }
    return kExitRefused;
}

int runBackEnd(const CommandLineOptions& options, const QString& answerFile, const QList<Operation>& operations)
{
    const DataFolder::Inputs folderInputs = DataFolder::fromEnvironment(options.dataFolder);
    const QString chosenFolder = DataFolder::choose(folderInputs);
    SingleInstanceGuard guard(chosenFolder);
    if (const int refused = lockDataFolder(guard, chosenFolder))
        return refused;
    QString dataFolder;
    QString error;
    if (!DataFolder::prepare(folderInputs, DataFolder::factoryRoots(QCoreApplication::applicationDirPath()),
                             &dataFolder, &error)) {
        printError(error);
        return kExitUsage;
    }
    HidBackendStack hid(options.virtualDevice, options.traceFile);
    ScriptedUserDialogs dialogs(answerFile);
    HeadlessHost host;
    Backend backend(hid.backend(), dialogs);
    backend.setDeviceHost(&host);
    Hid_Thread& worker = backend.worker();
    int result = 0;
    {
        myQQuickView view(backend, dialogs);
        Ui_Controler controller(&view);
        backend.discoverDevice();

        // Only what the operations do decides the exit code; start-up has its own reports.
        const int failedBefore = worker.failedCommands();
        const int absentBefore = worker.commandsWithoutDevice();
        const WarningCounter warnings;
        const int operationsCode = runOperations(operations, view, controller);

        worker.waitForTransfers();
        worker.stopListener();
        // Settings objects replaced during the run are deleted (and flushed) here.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        result = exitCodeOf(operationsCode, worker, failedBefore, absentBefore, warnings);
    }
    return result;
}

// Talks to the quellar running on the data folder; it takes no lock, as the running program
// does the work.
int runVirtual(const CommandLineOptions& options, const QStringList& args)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QString dataFolder = DataFolder::choose(DataFolder::fromEnvironment(options.dataFolder));
    return ControlChannel::runClient(dataFolder, args, out, err);
}

} // namespace

int main(int argc, char* argv[])
{
    // The back end and the operations need no window system.
    QCoreApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("quellarctl"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Runs Quellar's operations without a window.\n\n") +
                                     kExitCodesHelp);
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    CommandLineOptions::addTo(parser);
    const QCommandLineOption answerFile(QStringLiteral("answer-file"),
                                        QStringLiteral("The path file dialogs answer (absent: cancelled)."),
                                        QStringLiteral("PATH"));
    parser.addOption(answerFile);
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("call OPERATION [ARG ...] | script FILE|- | virtual press-dpi N|unplug|plug|dump"));
    if (!parser.parse(app.arguments())) {
        printError(parser.errorText());
        return kExitUsage;
    }
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    QString error;
    if (!CommandLineOptions::check(parser, &error)) {
        printError(error);
        return kExitUsage;
    }

    const CommandLineOptions options = CommandLineOptions::readFrom(parser);
    LogRules::apply(options.verbose);
    const QStringList words = parser.positionalArguments();
    const QString command = words.value(0);

    if (command == QLatin1String("virtual"))
        return runVirtual(options, words.mid(1));

    std::optional<QList<Operation>> operations;
    if (command == QLatin1String("call"))
        operations = operationsFromCall(words.mid(1));
    else if (command == QLatin1String("script") && words.size() == 2)
        operations = operationsFromScript(words[1]);
    if (!operations) {
        printError(QStringLiteral("usage: quellarctl [--data DIR] [--virtual-device] [--trace FILE] "
                                  "[--answer-file PATH] call OPERATION [ARG ...] | script FILE|- | "
                                  "virtual press-dpi N|unplug|plug|dump"));
        return kExitUsage;
    }
    return runBackEnd(options, parser.value(answerFile), *operations);
}
