// The quellar entry function: one instance per data folder, the host window
// with its worker and view, global input, one discovery, then the event loop.

#include "AppLogging.h"
#include "Backend.h"
#include "CommandLineOptions.h"
#include "ControlChannel.h"
#include "DataFolder.h"
#include "HidBackendStack.h"
#include "InputHook.h"
#include "InputSourceFactory.h"
#include "LinkState.h"
#include "LogRules.h"
#include "QtUserDialogs.h"
#include "SingleInstanceGuard.h"
#include "TerminationSignals.h"
#include "UdevHotplugMonitor.h"
#include "UserEvent.h"
#include "WarningPresenter.h"
#include "ViewWidget.h"
#include "Widget.h"
#include "myQQuickView.h"

#include <QApplication>
#include <QMessageBox>
#include <QQuickWindow>
#include <cstdio>

namespace {
const char* const kDemoModeText = "===== Demo Mode =====";

void connectInput(InputHook& hook, Widget& widget, WarningPresenter& warnings, const QString& dataFolder)
{
    hook.registerKeyboardCallback([&widget](quint8 usage, bool isDown) { widget.onKey(isDown, usage); });
    hook.registerMouseCallback([&widget](quint8 button, bool isDown, int x, int y) {
        widget.onMouseButton(isDown, button, x, y);
    });
    hook.registerCopyDataHandler([&warnings](const QString& text) { warnings.offer(text); }, widget.windowTitle(),
                                 dataFolder);
}

void showUi(Widget& widget)
{
    widget.showNormal();
    widget.view()->initUI();
    // "run" must follow "initUI" once the event loop runs.
    QCoreApplication::postEvent(&widget, new UserEvent(UserEvent::kRunUi));
}
} // namespace

int main(int argc, char* argv[])
{
    // Software rendering keeps the resident size low, and this window needs no GPU.
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("quellar"));
    app.setQuitOnLastWindowClosed(false);

    CommandLineOptions options;
    QString error;
    if (!CommandLineOptions::parse(app.arguments(), &options, &error)) {
        std::fprintf(stderr, "quellar: %s\n", qPrintable(error));
        return 2;
    }
    LogRules::apply(options.verbose);

    const DataFolder::Inputs folderInputs = DataFolder::fromEnvironment(options.dataFolder);
    // Held: a second instance leaves silently. Refused: the reason is logged already.
    SingleInstanceGuard guard(DataFolder::choose(folderInputs));
    if (!guard.tryAcquire())
        return 1;
    QString dataFolder;
    if (!DataFolder::prepare(folderInputs, DataFolder::factoryRoots(QCoreApplication::applicationDirPath()),
                             &dataFolder, &error)) {
        std::fprintf(stderr, "quellar: %s\n", qPrintable(error));
        return 2;
    }

    HidBackendStack hid(options.virtualDevice, options.traceFile);
    QtUserDialogs dialogs;
    Backend backend(hid.backend(), dialogs);
    Widget widget(backend, dialogs);
    dialogs.setParentWidget(widget.viewWidget());

    WarningPresenter warnings([&widget](const QString& text) {
        QMessageBox::warning(nullptr, widget.windowTitle(), text, QMessageBox::Ok);
    });
    InputHook hook(InputSourceFactory::create());
    widget.setGlobalHotKeyAvailable(hook.hooksInstalled() && InputSourceFactory::x11Available());
    connectInput(hook, widget, warnings, dataFolder);

    UdevHotplugMonitor hotplug;
    QObject::connect(&hotplug, &HotplugMonitor::deviceChanged, &widget, &Widget::onDeviceChange);
    hotplug.start();

    std::unique_ptr<ControlChannel> control;
    if (hid.virtualMouse()) {
        control = std::make_unique<ControlChannel>([&](const QStringList& args, bool* ok) {
            const QString answer = hid.control(args, ok);
            // The virtual mouse has no udev events of its own.
            if (*ok && (args.value(0) == QLatin1String("plug") || args.value(0) == QLatin1String("unplug")))
                widget.onDeviceChange();
            return answer;
        });
        if (!control->listen(dataFolder)) // why is logged by the channel
            qCInfo(lcApp) << "the virtual mouse cannot be controlled";
    }

    widget.checkDevice();
    if (LinkState::deviceConnected.load()) {
        showUi(widget);
        if (LinkState::demoMode.load())
            InputHook::sendTextToWindow(widget.windowTitle(), QString::fromUtf8(kDemoModeText), dataFolder);
    } else if (!widget.canHideToTray()) {
        // Without a tray the program would be invisible until a device arrives.
        showUi(widget);
    }

    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &app, &QCoreApplication::quit);

    const int result = app.exec();
    hook.removeHooks();
    hotplug.stop();
    return result;
}
