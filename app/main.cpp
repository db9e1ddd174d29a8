// SPDX-License-Identifier: GPL-3.0-or-later
// The quellar entry function: one instance per data folder, the host window
// with its worker and view, global input, one discovery, then the event loop.

#include "AppConfig.h"
#include "AppLogging.h"
#include "Backend.h"
#include "CommandLineOptions.h"
#include "ControlChannel.h"
#include "DBusNotifier.h"
#include "DataFolder.h"
#include "HidBackendStack.h"
#include "InputHook.h"
#include "InputSourceFactory.h"
#include "LinkState.h"
#include "LogRules.h"
#include "MessageChannel.h"
#include "OperationRunner.h"
#include "OperationServer.h"
#include "QtUserDialogs.h"
#include "QuellarVersion.h"
#include "SingleInstanceGuard.h"
#include "TerminationSignals.h"
#include "UdevHotplugMonitor.h"
#include "Ui_Controler.h"
#include "UserEvent.h"
#include "ViewWidget.h"
#include "WarningPresenter.h"
#include "Widget.h"
#include "myQQuickView.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <optional>

namespace {
const char* const kDemoModeText = "===== Demo Mode =====";
const QString kWaitingTitle = QStringLiteral("Quellar");
const QString kWaitingText =
    QStringLiteral("Quellar waits for the mouse. Check that its cable is plugged in. If it is, the udev rule may be "
                   "missing or not applied yet: reinstall Quellar, or run \"sudo udevadm control --reload\" and "
                   "\"sudo udevadm trigger\", or replug the mouse.");
constexpr int kWaitingMessageMs = 10000;

// --help and --version, answered before the application object exists: they need no display.
bool answerHelpOrVersion(const CommandLineOptions& options) {
    if (options.helpRequested)
        std::fputs(qPrintable(CommandLineOptions::helpText()), stdout);
    else if (options.versionRequested)
        std::fputs(qPrintable(CommandLineOptions::versionText(QStringLiteral("quellar"))), stdout);
    return options.helpRequested || options.versionRequested;
}

QStringList rawArguments(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// A second start brings the running window forward. Its message channel is named after the
// window title, which the running instance read from the configuration in the data folder.
void bringRunningWindowForward(const QString& dataFolder) {
    if (QDir::setCurrent(dataFolder))
        MessageChannel::sendRaise(AppConfig::windowTitle(), dataFolder);
}

// Started hidden, the window is brought up once it is first shown (tray, second start, hot
// key), so the view initialises with a visible window as at a normal start.
class UiOnFirstShow : public QObject {
public:
    explicit UiOnFirstShow(Widget& widget) : QObject(&widget) { widget.installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            auto& widget = static_cast<Widget&>(*watched);
            widget.removeEventFilter(this);
            widget.view()->initUI();
            QCoreApplication::postEvent(&widget, new UserEvent(UserEvent::kRunUi));
            deleteLater();
        }
        return false;
    }
};
// quellarctl sends a verb as several requests in a row: the window is refreshed once after them.
constexpr int kWindowRefreshDelayMs = 300;

// Keys, buttons and messages from other programs reach the window; a second start brings it forward.
void connectInput(InputHook& hook, Widget& widget, WarningPresenter& warnings, const QString& dataFolder) {
    widget.setGlobalHotKeyAvailable(hook.hooksInstalled() && InputSourceFactory::x11Available());
    hook.registerKeyboardCallback([&widget](quint8 usage, bool isDown) { widget.onKey(isDown, usage); });
    hook.registerMouseCallback(
        [&widget](quint8 button, bool isDown, int x, int y) { widget.onMouseButton(isDown, button, x, y); });
    hook.registerCopyDataHandler([&warnings](const QString& text) { warnings.offer(text); }, widget.windowTitle(),
                                 dataFolder);
    if (MessageChannel* channel = hook.messageChannel())
        channel->setRaiseHandler([&widget] { widget.restoreWindow(); });
}

void showUi(Widget& widget) {
    widget.showNormal();
    widget.view()->initUI();
    // "run" must follow "initUI" once the event loop runs.
    QCoreApplication::postEvent(&widget, new UserEvent(UserEvent::kRunUi));
}

// The command line as given, before the application object exists; nullopt: go on.
std::optional<int> answerBeforeApplication(int argc, char* argv[], CommandLineOptions* options) {
    QString error;
    if (CommandLineOptions::parse(rawArguments(argc, argv), options, &error) && answerHelpOrVersion(*options))
        return 0;
    return std::nullopt;
}

void setUpApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("quellar"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUELLAR_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);
}

// Software rendering keeps the resident size low, and this window needs no GPU.
void preferSoftwareRendering() {
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}

// Again without Qt's own options (-platform ...), which the application object took out.
std::optional<int> readOptions(CommandLineOptions* options) {
    QString error;
    if (!CommandLineOptions::parse(QCoreApplication::arguments(), options, &error)) {
        std::fprintf(stderr, "quellar: %s\n", qPrintable(error));
        return 2;
    }
    if (answerHelpOrVersion(*options))
        return 0;
    LogRules::apply(options->verbose);
    return std::nullopt;
}

// Held: a second instance brings the first one's window forward and leaves. Refused: the
// reason is logged already. Acquired: the data folder is prepared in *dataFolder.
std::optional<int> claimDataFolder(SingleInstanceGuard& guard, const DataFolder::Inputs& folderInputs,
                                   QString* dataFolder) {
    if (const SingleInstanceGuard::Outcome outcome = guard.acquire();
        outcome != SingleInstanceGuard::Outcome::Acquired) {
        if (outcome == SingleInstanceGuard::Outcome::Held)
            bringRunningWindowForward(DataFolder::choose(folderInputs));
        return 1;
    }
    QString error;
    if (!DataFolder::prepare(folderInputs, DataFolder::factoryRoots(QCoreApplication::applicationDirPath()), dataFolder,
                             &error)) {
        std::fprintf(stderr, "quellar: %s\n", qPrintable(error));
        return 2;
    }
    return std::nullopt;
}

void useDesktopNotifications(Widget& widget) {
    if (DBusNotifier::isServed(QDBusConnection::sessionBus()))
        widget.setNotifier(std::make_unique<DBusNotifier>(QDBusConnection::sessionBus(), widget.trayBalloons()));
}

WarningPresenter::ShowFunction warningBox(Widget& widget) {
    return
        [&widget](const QString& text) { QMessageBox::warning(nullptr, widget.windowTitle(), text, QMessageBox::Ok); };
}

void watchHotplug(UdevHotplugMonitor& hotplug, Widget& widget) {
    QObject::connect(&hotplug, &HotplugMonitor::deviceChanged, &widget, &Widget::onDeviceChange);
    hotplug.start();
}

// quellarctl sends a verb as several requests in a row: once they have settled, the window
// shows what they changed.
void setUpWindowRefresh(QTimer& windowRefresh, Widget& widget) {
    windowRefresh.setSingleShot(true);
    windowRefresh.setInterval(kWindowRefreshDelayMs);
    QObject::connect(&windowRefresh, &QTimer::timeout, &widget, [&widget] {
        if (QQuickItem* root = widget.viewWidget()->rootObject())
            QMetaObject::invokeMethod(root, "refreshFromProfile");
    });
}

// quellarctl acts through this instance while it runs, instead of starting a second back end.
OperationServer::Runner operationRunner(Widget& widget, Backend& backend, QTimer& windowRefresh) {
    return [&widget, &backend, &windowRefresh](const QString& operation, const QJsonArray& arguments) {
        QJsonObject report =
            OperationRunner(widget.view(), widget.controller(), backend.worker()).run(operation, arguments);
        if (!OperationRunner::isQuery(operation))
            windowRefresh.start();
        return report;
    };
}

void listenForQuellarctl(OperationServer& operations, const QString& dataFolder) {
    if (!operations.listen(dataFolder)) // why is logged by the listener
        qCInfo(lcApp) << "quellarctl cannot reach this instance";
}

QString controlVirtualMouse(const HidBackendStack& hid, Widget& widget, const QStringList& args, bool* ok) {
    QString answer = hid.control(args, ok);
    // The virtual mouse has no udev events of its own.
    if (*ok && (args.value(0) == QLatin1String("plug") || args.value(0) == QLatin1String("unplug")))
        widget.onDeviceChange();
    return answer;
}

// `quellarctl virtual` reaches the virtual mouse through this channel; none for a real mouse.
std::unique_ptr<ControlChannel> virtualMouseControl(const HidBackendStack& hid, Widget& widget,
                                                    const QString& dataFolder) {
    if (!hid.virtualMouse())
        return nullptr;
    auto control = std::make_unique<ControlChannel>(
        [&hid, &widget](const QStringList& args, bool* ok) { return controlVirtualMouse(hid, widget, args, ok); });
    if (!control->listen(dataFolder)) // why is logged by the channel
        qCInfo(lcApp) << "the virtual mouse cannot be controlled";
    return control;
}

// Without a tray the program would be invisible until a device arrives.
void showAtStart(Widget& widget, bool hidden, const QString& dataFolder) {
    widget.checkDevice();
    const bool startHidden = hidden && widget.canHideToTray();
    if (LinkState::deviceConnected.load()) {
        if (startHidden)
            new UiOnFirstShow(widget);
        else
            showUi(widget);
        if (LinkState::demoMode.load())
            InputHook::sendTextToWindow(widget.windowTitle(), QString::fromUtf8(kDemoModeText), dataFolder);
    } else {
        widget.showTrayMessage(kWaitingTitle, kWaitingText, kWaitingMessageMs);
        if (!widget.canHideToTray())
            showUi(widget);
    }
}
} // namespace

int main(int argc, char* argv[]) {
    CommandLineOptions options;
    if (const std::optional<int> exitCode = answerBeforeApplication(argc, argv, &options))
        return *exitCode;
    preferSoftwareRendering();
    QApplication app(argc, argv);
    setUpApplication();
    if (const std::optional<int> exitCode = readOptions(&options))
        return *exitCode;

    const DataFolder::Inputs folderInputs = DataFolder::fromEnvironment(options.dataFolder);
    SingleInstanceGuard guard(DataFolder::choose(folderInputs));
    QString dataFolder;
    if (const std::optional<int> exitCode = claimDataFolder(guard, folderInputs, &dataFolder))
        return *exitCode;

    HidBackendStack hid(options.virtualDevice, options.traceFile);
    QtUserDialogs dialogs;
    Backend backend(hid.backend(), dialogs);
    Widget widget(backend, dialogs);
    dialogs.setParentWidget(widget.viewWidget());
    useDesktopNotifications(widget);

    WarningPresenter warnings(warningBox(widget));
    InputHook hook(InputSourceFactory::create());
    connectInput(hook, widget, warnings, dataFolder);

    UdevHotplugMonitor hotplug;
    watchHotplug(hotplug, widget);

    QTimer windowRefresh;
    setUpWindowRefresh(windowRefresh, widget);
    OperationServer operations(operationRunner(widget, backend, windowRefresh));
    listenForQuellarctl(operations, dataFolder);
    const std::unique_ptr<ControlChannel> control = virtualMouseControl(hid, widget, dataFolder);

    showAtStart(widget, options.hidden, dataFolder);

    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &app, &QCoreApplication::quit);

    const int result = QApplication::exec();
    hook.removeHooks();
    hotplug.stop();
    return result;
}
