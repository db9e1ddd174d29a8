// SPDX-License-Identifier: GPL-3.0-or-later
// End to end: the real quellar executable on the test X server (with a tray
// host), driven with xdotool and quellarctl, checked through its log, its
// windows and the screen.
#include "MessageChannel.h"
#include "TestFiles.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {
// The window logs the profile it starts with once initialised; its start-up
// lock (input disabled) ends a second later.
const QString kInitialised = QStringLiteral("qml: current profile");
constexpr int kStartupLockMs = 1300;

const QString kQuellar = QStringLiteral(QUELLAR_EXECUTABLE);
const QString kQuellarCtl = QStringLiteral(QUELLARCTL_EXECUTABLE);

struct ToolRun {
    int exitCode = -1; // -1: did not finish normally
    QString out;
    QString err;
};

ToolRun runTool(const QString& program, const QStringList& arguments, int timeoutMs = 20000) {
    QProcess process;
    process.start(program, arguments);
    ToolRun run;
    if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QString xdotool(const QStringList& arguments) {
    return runTool("xdotool", arguments).out.trimmed();
}

// Visible top-level windows whose title is exactly `title`.
QStringList visibleWindows(const QString& title) {
    return xdotool({"search", "--onlyvisible", "--name", QString("^%1$").arg(QRegularExpression::escape(title))})
        .split('\n', Qt::SkipEmptyParts);
}

// Resident size of a process in KiB, from the kernel's status file.
qint64 residentKiB(qint64 pid) {
    QFile status(QString("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Visible windows of the running quellar (window, tray icon, menus, balloons).
QStringList programWindows() {
    return xdotool({"search", "--onlyvisible", "--classname", "quellar"}).split('\n', Qt::SkipEmptyParts);
}

// A visible window of the program that was not among `before`.
QString windowOpenedSince(const QStringList& before) {
    for (const QString& window : programWindows()) {
        if (!before.contains(window))
            return window;
    }
    return QString();
}

// The tray icon: the program's window of tray-icon size.
QString trayIconWindow() {
    static const QRegularExpression geometry("Geometry: (\\d+)x(\\d+)");
    constexpr int kLargestIcon = 48;
    for (const QString& window : programWindows()) {
        const QRegularExpressionMatch size = geometry.match(xdotool({"getwindowgeometry", window}));
        if (size.hasMatch() && size.captured(1).toInt() <= kLargestIcon && size.captured(2).toInt() <= kLargestIcon)
            return window;
    }
    return QString();
}

// One running quellar with its own data folder and a unique window title.
class RunningQuellar {
public:
    explicit RunningQuellar(const QString& title) : m_title(title) {
        QDir(m_data.path()).mkpath("modules/setting");
        QSettings config(m_data.filePath("modules/setting/apConfig.bin"), QSettings::IniFormat);
        config.setValue("common/language", "English");
        config.setValue("common/name0", title);
        QSettings profile(m_data.filePath("modules/setting/p1.bin"), QSettings::IniFormat);
        profile.setValue("sensor/dpi_Q3", QVariantList{400, 800, 1600, 2400, 3200, 6000, 250, 250});
        m_process.setProcessChannelMode(QProcess::MergedChannels);
    }
    ~RunningQuellar() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            if (!m_process.waitForFinished(3000))
                m_process.kill();
            m_process.waitForFinished(3000);
        }
    }

    QString dataPath() const { return m_data.path(); }
    QString title() const { return m_title; }
    QProcess& process() { return m_process; }
    void setConfigValue(const QString& key, const QVariant& value) {
        QSettings(m_data.filePath("modules/setting/apConfig.bin"), QSettings::IniFormat).setValue(key, value);
    }

    void setEnvironment(const QString& name, const QString& value) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(name, value);
        m_process.setProcessEnvironment(environment);
    }
    bool start(const QStringList& extraArguments = {}) {
        m_process.start(kQuellar, QStringList{"--data", m_data.path()} + extraArguments);
        return m_process.waitForStarted(5000);
    }
    // Starts on the virtual mouse and waits until the window's start-up lock has ended.
    bool startUi(const QStringList& extraArguments = {}) {
        if (!start(QStringList{"--virtual-device"} + extraArguments) || !waitForLog(kInitialised))
            return false;
        QTest::qWait(kStartupLockMs);
        return true;
    }
    QString log() {
        m_output += QString::fromUtf8(m_process.readAll());
        return m_output;
    }
    bool waitForLog(const QString& text, int timeoutMs = 8000) {
        return QTest::qWaitFor([&] { return log().contains(text); }, timeoutMs);
    }
    bool waitForWindow(bool visible, int timeoutMs = 5000) {
        QElapsedTimer timer;
        timer.start();
        while (visibleWindows(m_title).isEmpty() == visible) {
            if (timer.elapsed() > timeoutMs)
                return false;
            QTest::qWait(100);
        }
        return true;
    }
    // quellarctl on this data folder.
    ToolRun ctl(const QStringList& arguments) {
        return runTool(kQuellarCtl, QStringList{"--data", m_data.path()} + arguments);
    }

private:
    QTemporaryDir m_data;
    QString m_title;
    QProcess m_process;
    QString m_output;
};

// A notification server: it records every Notify call and answers with the id it replaces,
// or with a new one.
class NotificationServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QStringList calls; // "replaces_id|summary|body|timeout -> id"

public slots:
    uint Notify(const QString&, uint replacesId, const QString&, const QString& summary, const QString& body,
                const QStringList&, const QVariantMap&, int timeout) {
        const uint id = replacesId ? replacesId : m_nextId++;
        calls << QString("%1|%2|%3|%4 -> %5").arg(replacesId).arg(summary, body).arg(timeout).arg(id);
        return id;
    }

private:
    uint m_nextId = 7;
};

// A private session bus whose tray is a StatusNotifierItem host: the watcher registered
// here answers that a host is present and remembers the items that register with it. The
// bus also runs a notification server.
class StatusNotifierDesktop : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ isHostRegistered)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
public:
    ~StatusNotifierDesktop() override {
        QDBusConnection::disconnectFromBus(kConnectionName);
        if (m_daemon.state() != QProcess::NotRunning) {
            m_daemon.kill();
            m_daemon.waitForFinished(3000);
        }
    }

    // Starts the bus without activatable services and registers the watcher on it.
    bool start() {
        const QString config = m_folder.filePath("bus.conf");
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        file.write(QStringLiteral("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\" "
                                  "\"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                                  "<busconfig><type>session</type><listen>unix:dir=%1</listen>"
                                  "<auth>EXTERNAL</auth><policy context=\"default\">"
                                  "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
                                  "<allow own=\"*\"/></policy></busconfig>\n")
                       .arg(m_folder.path())
                       .toUtf8());
        file.close();
        m_daemon.start("dbus-daemon", {"--config-file=" + config, "--nofork", "--print-address=1"});
        if (!m_daemon.waitForReadyRead(5000))
            return false;
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        QDBusConnection bus = QDBusConnection::connectToBus(m_address, kConnectionName);
        return bus.isConnected() && bus.registerService("org.kde.StatusNotifierWatcher") &&
               bus.registerObject("/StatusNotifierWatcher", this,
                                  QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties) &&
               bus.registerService("org.freedesktop.Notifications") &&
               bus.registerObject("/org/freedesktop/Notifications", &m_notifications, QDBusConnection::ExportAllSlots);
    }
    QStringList notifications() const { return m_notifications.calls; }
    QString address() const { return m_address; }
    bool isHostRegistered() const { return true; }
    QStringList items() const { return m_items; }
    int protocolVersion() const { return 0; }

    // What a host does on a left click: Activate on the item that registered last.
    bool activateItem() {
        if (m_items.isEmpty())
            return false;
        QDBusMessage activate = QDBusMessage::createMethodCall(m_items.last(), "/StatusNotifierItem",
                                                               "org.kde.StatusNotifierItem", "Activate");
        activate.setArguments({0, 0});
        // Events keep running meanwhile: quellar may be asking the watcher something just then.
        const QDBusPendingCall pending = QDBusConnection(kConnectionName).asyncCall(activate);
        QDeadlineTimer deadline(kReplyTimeoutMs);
        while (!pending.isFinished() && !deadline.hasExpired())
            QTest::qWait(10);
        return pending.isFinished() && !pending.isError();
    }

public slots:
    void RegisterStatusNotifierItem(const QString& service) { m_items.append(service); }
    void RegisterStatusNotifierHost(const QString&) {}

private:
    static inline const QString kConnectionName = "quellar-e2e-watcher";
    static constexpr int kReplyTimeoutMs = 5000;
    QTemporaryDir m_folder;
    QProcess m_daemon;
    QString m_address;
    QStringList m_items;
    NotificationServer m_notifications;
};

int distinctColours(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            colours.insert(image.pixel(x, y));
    return int(colours.size());
}

QString uniqueTitle(const char* test) {
    return QString("Quellar e2e %1 %2").arg(QLatin1String(test)).arg(QCoreApplication::applicationPid());
}
} // namespace

class TestQuellar : public QObject {
    Q_OBJECT
private slots:
    void virtualMouseShowsTheWindowAndHoldsTheDataFolder() {
        RunningQuellar quellar(uniqueTitle("window"));
        QVERIFY2(quellar.startUi(), qPrintable(quellar.log()));
        QVERIFY(quellar.log().contains("qml: current profile 0"));
        QVERIFY(quellar.waitForWindow(true));

        // The panel of the view is painted where the window sits.
        QTest::qWait(300);
        xdotool({"windowmove", visibleWindows(quellar.title()).first(), "0", "0"});
        QTest::qWait(300);
        const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
        screen.save(QDir::temp().filePath("quellar-e2e-window.png"));
        QVERIFY(distinctColours(screen.copy(0, 0, 1000, 640)) > 100);

        // A second instance on the same data folder leaves at once.
        const ToolRun second = runTool(kQuellar, {"--data", quellar.dataPath(), "--virtual-device"}, 5000);
        QCOMPARE(second.exitCode, 1);
        QVERIFY(!second.out.contains("Device"));
        QCOMPARE(quellar.process().state(), QProcess::Running);
        QCOMPARE(visibleWindows(quellar.title()).size(), 1);
    }

    // Without a device only the tray shows, and every key is still watched for the hot key.
    void withoutDeviceTheHotKeyShowsTheWindowAndNothingIsLogged() {
        RunningQuellar quellar(uniqueTitle("tray"));
        QVERIFY(quellar.start());
        QVERIFY2(quellar.waitForLog("Device Error"), qPrintable(quellar.log()));
        QTest::qWait(500);
        QVERIFY(visibleWindows(quellar.title()).isEmpty());
        QVERIFY(quellar.process().state() == QProcess::Running);
        const QString tree = runTool("xwininfo", {"-root", "-tree"}).out;
        QVERIFY2(tree.contains("\"quellar\": (\"quellar\" \"quellar\")"), qPrintable(tree));
        const qsizetype before = quellar.log().size();

        xdotool({"key", "F12"});
        QTest::qWait(500);
        QVERIFY(visibleWindows(quellar.title()).isEmpty());
        xdotool({"type", "--delay", "20", "hunter2"});
        xdotool({"mousemove", "640", "900"});
        for (const char* button : {"1", "3", "2"})
            xdotool({"click", button});
        xdotool({"key", "shift+alt+F12"});
        QVERIFY(quellar.waitForWindow(true));
        // Shown already: the combination changes nothing.
        xdotool({"key", "shift+alt+F12"});
        QTest::qWait(300);
        QCOMPARE(visibleWindows(quellar.title()).size(), 1);

        const QString during = quellar.log().mid(before);
        QVERIFY2(during.isEmpty(), qPrintable(during));
        // Debug lines of our own categories are off by default.
        QVERIFY2(!quellar.log().contains("quellar.app: data folder"), qPrintable(quellar.log()));
    }

    void portableFolderIsFoundFromAnotherWorkingFolder() {
        // A copy of the program next to a writable modules/setting is a portable install.
        QTemporaryDir portable;
        const QString title = uniqueTitle("portable");
        QDir(portable.path()).mkpath("modules/setting");
        QSettings(portable.filePath("modules/setting/apConfig.bin"), QSettings::IniFormat)
            .setValue("common/name0", title);
        const QString program = portable.filePath("quellar");
        QVERIFY(QFile::copy(kQuellar, program));

        QProcess process;
        process.setWorkingDirectory(QDir::rootPath());
        process.start(program, {"--virtual-device"});
        QVERIFY(process.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(!visibleWindows(title).isEmpty(), 8000);
        process.terminate();
        process.waitForFinished(3000);
        QVERIFY(QFile::exists(portable.filePath("virtual-device.ini")));
    }

    void demoModeAnnouncesItself() {
        RunningQuellar quellar(uniqueTitle("demo"));
        quellar.setConfigValue("common/sCode1", "k-ravine");
        QVERIFY(quellar.start());
        QVERIFY2(quellar.waitForLog("warning box: ===== Demo Mode ====="), qPrintable(quellar.log()));
        // The main window and the warning box carry the same title.
        QTRY_COMPARE_WITH_TIMEOUT(visibleWindows(quellar.title()).size(), 2, 5000);
    }

    void dpiButtonShowsTheBalloonAndUnplugIsNoticed() {
        RunningQuellar quellar(uniqueTitle("dpi"));
        QVERIFY(quellar.startUi({"--verbose"}));
        const auto virtualMouse = [&](const QStringList& command) {
            return quellar.ctl(QStringList{"virtual"} + command).exitCode;
        };
        QVERIFY2(virtualMouse({"press-dpi", "3"}) == 0, qPrintable(quellar.log()));
        QVERIFY2(quellar.waitForLog("tray message: Info | DPI Switch to 1600"), qPrintable(quellar.log()));

        QCOMPARE(virtualMouse({"unplug"}), 0);
        QVERIFY(quellar.waitForLog("Device removed", 2000));
        QCOMPARE(quellar.log().count("Device Connect"), 1);
        // Plugging in again leads to a new discovery and handshake.
        QCOMPARE(virtualMouse({"plug"}), 0);
        QTRY_COMPARE_WITH_TIMEOUT(quellar.log().count("Device Connect"), 2, 6000);
    }

    void terminationQuitsCleanly() {
        RunningQuellar quellar(uniqueTitle("quit"));
        const QString tracePath = quellar.dataPath() + "/trace.txt";
        QVERIFY(quellar.startUi({"--trace", tracePath}));
        quellar.process().terminate();
        QVERIFY(quellar.process().waitForFinished(5000));
        QCOMPARE(quellar.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(quellar.process().exitCode(), 0);
        // The listener was stopped: its last event read ended with a close.
        const QStringList lines = QString::fromUtf8(readFile(tracePath)).split('\n', Qt::SkipEmptyParts);
        QVERIFY(!lines.isEmpty());
        QVERIFY2(lines.last().endsWith("evt close"), qPrintable(lines.last()));
    }

    void messageFloodShowsOneWarning() {
        constexpr int kFrames = 10000;
        RunningQuellar quellar(uniqueTitle("flood"));
        QVERIFY(quellar.startUi());
        QVERIFY(quellar.waitForWindow(true));

        QElapsedTimer timer;
        timer.start();
        int taken = 0;
        for (int i = 0; i < kFrames && quellar.process().state() == QProcess::Running; ++i)
            taken += MessageChannel::sendText(quellar.title(), QString("flood %1").arg(i), quellar.dataPath());
        const qint64 sendingMs = timer.elapsed();
        QTest::qWait(1000);
        const qint64 resident = residentKiB(quellar.process().processId());
        qInfo("%d of %d frames taken in %lld ms; quellar resident %lld KiB", taken, kFrames, sendingMs, resident);

        QCOMPARE(quellar.process().state(), QProcess::Running);
        QVERIFY(taken > 0);
        // The main window and one warning box, which carry the same title.
        QCOMPARE(visibleWindows(quellar.title()).size(), 2);
        QCOMPARE(quellar.log().count("warning box:"), 1);
        QVERIFY2(quellar.log().contains("warning box: flood 0"), qPrintable(quellar.log().left(2000)));
    }

    void dataFoldersRunSideBySide() {
        // The same title on two data folders: each instance keeps its own channels.
        const QString title = uniqueTitle("side");
        RunningQuellar one(title);
        RunningQuellar two(title);
        QVERIFY(one.start({"--virtual-device"}));
        QVERIFY(two.start({"--virtual-device"}));
        for (RunningQuellar* quellar : {&one, &two}) {
            QVERIFY(quellar->waitForLog(kInitialised));
            QVERIFY2(!quellar->log().contains("already listens"), qPrintable(quellar->log()));
            QVERIFY2(!quellar->log().contains("cannot open a local channel"), qPrintable(quellar->log()));
        }

        QCOMPARE(one.ctl({"virtual", "unplug"}).exitCode, 0);
        QVERIFY(one.waitForLog("Device removed", 2000));
        QTest::qWait(500);
        QVERIFY(!two.log().contains("Device removed"));

        // quellarctl asks the quellar of its data folder, never the other one.
        const ToolRun asked = two.ctl({"--virtual-device", "call", "getProfile"});
        QCOMPARE(asked.exitCode, 0);
        QCOMPARE(asked.out, QString("0\n"));
        QVERIFY2(asked.err.contains("answered by the running quellar"), qPrintable(asked.err));
        QCOMPARE(two.process().state(), QProcess::Running);
    }

    void quellarctlActsThroughTheRunningQuellar() {
        RunningQuellar quellar(uniqueTitle("forward"));
        const QString appTrace = quellar.dataPath() + "/app-trace.txt";
        const QString ownTrace = quellar.dataPath() + "/ctl-trace.txt";
        QVERIFY(quellar.startUi({"--trace", appTrace}));
        const QStringList ctl{"--virtual-device", "--trace", ownTrace};

        const ToolRun set = quellar.ctl(ctl + QStringList{"set", "dpi", "dpi=500,1000,1500,2000,2500,3000"});
        QCOMPARE(set.exitCode, 0);
        QVERIFY2(set.out.endsWith("answered by the running quellar\n"), qPrintable(set.out + set.err));
        // The running mouse got the codes of the new values; no second back end opened a device.
        QVERIFY2(QString::fromUtf8(readFile(appTrace)).contains("04 09 0e 13 18 1d 80 80"), qPrintable(appTrace));
        QVERIFY(!QFile::exists(ownTrace));
        // The running quellar's profile holds them.
        const ToolRun get = quellar.ctl(ctl + QStringList{"--json", "get", "dpi"});
        const QJsonObject answer = QJsonDocument::fromJson(get.out.toUtf8()).object();
        QCOMPARE(answer.value("answeredBy").toString(), QString("quellar"));
        QCOMPARE(answer.value("dpi").toArray(), (QJsonArray{500, 1000, 1500, 2000, 2500, 3000}));

        // A refusal logged in the running quellar still fails the run.
        QCOMPARE(quellar.ctl(ctl + QStringList{"call", "ui_01H_SetReportRate", "3"}).exitCode, 1);
        // What would open a file dialog in the window is not forwarded.
        const ToolRun busy = quellar.ctl(ctl + QStringList{"profile", "export", quellar.dataPath() + "/p.pf"});
        QCOMPARE(busy.exitCode, 4);
        QVERIFY2(busy.err.contains("asks for a file in the running quellar's window"), qPrintable(busy.err));
        QCOMPARE(quellar.ctl(ctl + QStringList{"call", "loadProfile", "0"}).exitCode, 4);

        // The window shows the profile chosen from the command line.
        QCOMPARE(quellar.ctl(ctl + QStringList{"profile", "switch", "2"}).exitCode, 0);
        QVERIFY2(quellar.waitForLog("qml: current profile 1"), qPrintable(quellar.log()));
        QCOMPARE(quellar.process().state(), QProcess::Running);
    }

    void unsafeRuntimeFolderStopsWithTheReason() {
        // Another user could have put a lock or a socket there: start nothing rather than trust it.
        QTemporaryDir shared;
        QVERIFY(QFile::setPermissions(shared.path(), QFileDevice::Permissions(0x7777)));
        RunningQuellar quellar(uniqueTitle("runtime"));
        quellar.setEnvironment("XDG_RUNTIME_DIR", shared.path());
        QVERIFY(quellar.start({"--virtual-device"}));
        QVERIFY(quellar.process().waitForFinished(5000));
        QCOMPARE(quellar.process().exitCode(), 1);
        QVERIFY2(quellar.log().contains(
                     QString("refusing the runtime folder %1: other users may write to it").arg(shared.path())),
                 qPrintable(quellar.log()));
        QVERIFY(visibleWindows(quellar.title()).isEmpty());
        QVERIFY(QDir(shared.path()).isEmpty());
    }

    void trayQuitEndsWithZero() {
        RunningQuellar quellar(uniqueTitle("tray-quit"));
        QVERIFY(quellar.startUi());
        QString icon;
        QTRY_VERIFY_WITH_TIMEOUT(!(icon = trayIconWindow()).isEmpty(), 5000);
        const QStringList before = programWindows();
        xdotool({"mousemove", "--window", icon, "5", "5", "click", "3"});
        // The menu is the window that the right click opened; its only entry is Quit.
        QString menu;
        QTRY_VERIFY_WITH_TIMEOUT(!(menu = windowOpenedSince(before)).isEmpty(), 5000);
        xdotool({"mousemove", "--window", menu, "20", "10", "click", "1"});
        QVERIFY2(quellar.process().waitForFinished(5000), qPrintable(quellar.log()));
        QCOMPARE(quellar.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(quellar.process().exitCode(), 0);
    }

    void statusNotifierActivationRestoresAfterAHandshake() {
        StatusNotifierDesktop desktop;
        QVERIFY(desktop.start());

        // No handshake yet: activating the item leaves the window hidden.
        {
            RunningQuellar quellar(uniqueTitle("sni-nodevice"));
            quellar.setEnvironment("DBUS_SESSION_BUS_ADDRESS", desktop.address());
            QVERIFY(quellar.start());
            QTRY_VERIFY2_WITH_TIMEOUT(quellar.log().contains("Device Error"), qPrintable(quellar.log()), 8000);
            QTRY_COMPARE_WITH_TIMEOUT(desktop.items().size(), 1, 5000);
            QVERIFY(desktop.activateItem());
            QTest::qWait(500);
            QVERIFY(visibleWindows(quellar.title()).isEmpty());
        }

        // After a handshake: closed to the tray, the window comes back on activation.
        RunningQuellar quellar(uniqueTitle("sni"));
        quellar.setEnvironment("DBUS_SESSION_BUS_ADDRESS", desktop.address());
        QVERIFY(quellar.start({"--virtual-device"}));
        QTRY_VERIFY2_WITH_TIMEOUT(quellar.log().contains(kInitialised), qPrintable(quellar.log()), 8000);
        QTRY_COMPARE_WITH_TIMEOUT(desktop.items().size(), 2, 5000);
        QVERIFY(quellar.waitForWindow(true));
        // The close button at the window's top right, once the start-up lock has ended.
        QTest::qWait(kStartupLockMs);
        const QString window = visibleWindows(quellar.title()).first();
        xdotool({"mousemove", "--window", window, "987", "13", "click", "1"});
        QVERIFY(quellar.waitForWindow(false));
        QVERIFY(desktop.activateItem());
        QVERIFY(quellar.waitForWindow(true));
    }

    // Started hidden, the window stays in the tray until a second start brings it forward.
    void hiddenStartComesForwardOnASecondStart() {
        RunningQuellar quellar(uniqueTitle("hidden"));
        QVERIFY(quellar.start({"--virtual-device", "--hidden"}));
        QVERIFY2(quellar.waitForLog("Device Connect"), qPrintable(quellar.log()));
        QTest::qWait(500);
        QVERIFY(visibleWindows(quellar.title()).isEmpty());
        QVERIFY(!quellar.log().contains(kInitialised));

        const ToolRun second = runTool(kQuellar, {"--data", quellar.dataPath()}, 5000);
        QCOMPARE(second.exitCode, 1);
        QVERIFY(quellar.waitForWindow(true));
        QVERIFY2(quellar.waitForLog(kInitialised), qPrintable(quellar.log()));
        QCOMPARE(quellar.process().state(), QProcess::Running);
    }

    // Desktop notifications: one message at a time, each new one replacing the last.
    void notificationsReplaceEachOther() {
        StatusNotifierDesktop desktop;
        QVERIFY(desktop.start());
        {
            RunningQuellar quellar(uniqueTitle("notify-nodevice"));
            quellar.setEnvironment("DBUS_SESSION_BUS_ADDRESS", desktop.address());
            QVERIFY(quellar.start());
            QTRY_COMPARE_WITH_TIMEOUT(desktop.notifications().size(), 1, 8000);
            const QString waiting = desktop.notifications().first();
            QVERIFY2(waiting.startsWith("0|Quellar|Quellar waits for the mouse. Check that its cable is plugged in."),
                     qPrintable(waiting));
            QVERIFY2(waiting.contains("udev rule") && waiting.endsWith("|10000 -> 7"), qPrintable(waiting));
        }

        RunningQuellar quellar(uniqueTitle("notify"));
        quellar.setEnvironment("DBUS_SESSION_BUS_ADDRESS", desktop.address());
        QVERIFY(quellar.start({"--virtual-device"}));
        // Waiting with events running: this process serves the bus quellar talks to.
        QTRY_VERIFY2_WITH_TIMEOUT(quellar.log().contains(kInitialised), qPrintable(quellar.log()), 8000);
        for (const char* stage : {"3", "4"})
            QCOMPARE(quellar.ctl({"virtual", "press-dpi", stage}).exitCode, 0);
        QTRY_COMPARE_WITH_TIMEOUT(desktop.notifications().mid(1),
                                  (QStringList{"0|Info|Detect Mouse|10000 -> 8", "8|Info|DPI Switch to 1600|10000 -> 8",
                                               "8|Info|DPI Switch to 2400|10000 -> 8"}),
                                  5000);
    }
};

QTEST_MAIN(TestQuellar)
#include "tst_quellar.moc"
