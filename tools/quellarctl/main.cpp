// quellarctl: the back end of quellar without a window. Runs operations of the
// QML contract by name ("call", "script") or controls the virtual mouse of a
// running quellar ("virtual").

#include "CommandLineOptions.h"
#include "ControlChannel.h"
#include "DataFolder.h"
#include "DeviceDiscovery.h"
#include "HeadlessHost.h"
#include "HidBackendStack.h"
#include "Hid_Thread.h"
#include "LogRules.h"
#include "OperationInvoker.h"
#include "ScriptedUserDialogs.h"
#include "Ui_Controler.h"
#include "ViewConfigSource.h"
#include "myQQuickView.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTextStream>
#include <cstdio>
#include <optional>

namespace {

constexpr int kExitUsage = 2;

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

// Runs the operations in order; stops at the first one that cannot be called.
int runOperations(const QList<Operation>& operations, myQQuickView& view, Ui_Controler& controller)
{
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
    }
    return 0;
}

int runBackEnd(const CommandLineOptions& options, const QString& answerFile, const QList<Operation>& operations)
{
    QString dataFolder;
    QString error;
    if (!DataFolder::prepare(DataFolder::fromEnvironment(options.dataFolder),
                             DataFolder::factoryRoots(QCoreApplication::applicationDirPath()), &dataFolder, &error)) {
        printError(error);
        return kExitUsage;
    }
    HidBackendStack hid(options.virtualDevice, options.traceFile);
    ScriptedUserDialogs dialogs(answerFile);
    ViewConfigSource configSource;
    HeadlessHost host;
    Hid_Thread worker(hid.backend(), configSource, &host);
    int result = 0;
    {
        myQQuickView view(worker, dialogs);
        configSource.setView(&view);
        Ui_Controler controller(&view);
        DeviceDiscovery(hid.backend(), configSource).run(worker);
        view.syncFW();

        result = runOperations(operations, view, controller);

        worker.waitForTransfers();
        worker.stopListener();
        // Settings objects replaced during the run are deleted (and flushed) here.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        configSource.setView(nullptr);
    }
    return result;
}

int runVirtual(const QStringList& args)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    return ControlChannel::runClient({}, args, out, err);
}

} // namespace

int main(int argc, char* argv[])
{
    // The view is a widget; it is never shown, so no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("quellarctl"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Runs Quellar's operations without a window."));
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

    const CommandLineOptions options = CommandLineOptions::readFrom(parser);
    LogRules::apply(options.verbose);
    const QStringList words = parser.positionalArguments();
    const QString command = words.value(0);

    if (command == QLatin1String("virtual"))
        return runVirtual(words.mid(1));

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
