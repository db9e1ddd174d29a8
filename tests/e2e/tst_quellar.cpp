// End to end: the real quellar executable on the test X server (with a tray
// host), driven with xdotool and quellarctl, checked through its log, its
// windows and the screen.
#include "MessageChannel.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {
const QString kQuellar = QStringLiteral(QUELLAR_EXECUTABLE);
const QString kQuellarCtl = QStringLiteral(QUELLARCTL_EXECUTABLE);

QString runTool(const QString& program, const QStringList& arguments, int* exitCode = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(10000);
    if (exitCode)
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// Visible top-level windows whose title is exactly `title`.
QStringList visibleWindows(const QString& title)
{
    const QString found = runTool(QStringLiteral("xdotool"),
                                  {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                                   QStringLiteral("^%1$").arg(QRegularExpression::escape(title))});
    return found.isEmpty() ? QStringList() : found.split(QLatin1Char('\n'));
}

struct ToolRun {
    int exitCode = -1;
    QString out;
    QString err;
};

ToolRun runQuellarCtl(const QStringList& arguments)
{
    QProcess process;
    process.start(kQuellarCtl, arguments);
    ToolRun run;
    if (!process.waitForFinished(20000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// Resident size of a process in KiB, from the kernel's status file.
qint64 residentKiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Visible windows of the running quellar (window, tray icon, menus, balloons).
QStringList programWindows()
{
    const QString found =
        runTool(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                            QStringLiteral("--classname"), QStringLiteral("quellar")});
    return found.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// A visible window of the program that was not among `before`.
QString windowOpenedSince(const QStringList& before)
{
    for (const QString& window : programWindows()) {
        if (!before.contains(window))
            return window;
    }
    return QString();
}

// The tray icon: the program's window of tray-icon size.
QString trayIconWindow()
{
    static const QRegularExpression geometry(QStringLiteral("Geometry: (\\d+)x(\\d+)"));
    constexpr int kLargestIcon = 48;
    for (const QString& window : programWindows()) {
        const QRegularExpressionMatch size =
            geometry.match(runTool(QStringLiteral("xdotool"), {QStringLiteral("getwindowgeometry"), window}));
        if (size.hasMatch() && size.captured(1).toInt() <= kLargestIcon && size.captured(2).toInt() <= kLargestIcon)
            return window;
    }
    return QString();
}

void pressKeys(const QStringList& arguments)
{
    runTool(QStringLiteral("xdotool"), arguments);
}

// One running quellar with its own data folder and a unique window title.
class RunningQuellar {
public:
    explicit RunningQuellar(const QString& title) : m_title(title)
    {
        QDir(m_data.path()).mkpath(QStringLiteral("modules/setting"));
        QSettings config(m_data.filePath(QStringLiteral("modules/setting/apConfig.bin")), QSettings::IniFormat);
        config.setValue(QStringLiteral("common/language"), QStringLiteral("English"));
        config.setValue(QStringLiteral("common/name0"), title);
        QSettings profile(m_data.filePath(QStringLiteral("modules/setting/p1.bin")), QSettings::IniFormat);
        profile.setValue(QStringLiteral("sensor/dpi_Q3"), QVariantList{400, 800, 1600, 2400, 3200, 6000, 250, 250});
        m_process.setProcessChannelMode(QProcess::MergedChannels);
    }
    ~RunningQuellar()
    {
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
    void setConfigValue(const QString& key, const QVariant& value)
    {
        QSettings(m_data.filePath(QStringLiteral("modules/setting/apConfig.bin")), QSettings::IniFormat)
            .setValue(key, value);
    }

    void setEnvironment(const QString& name, const QString& value)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(name, value);
        m_process.setProcessEnvironment(environment);
    }
    bool start(const QStringList& extraArguments = {}, const QString& program = kQuellar)
    {
        m_process.start(program, QStringList{QStringLiteral("--data"), m_data.path()} + extraArguments);
        return m_process.waitForStarted(5000);
    }
    QString log()
    {
        m_output += QString::fromUtf8(m_process.readAll());
        return m_output;
    }
    bool waitForLog(const QString& text, int timeoutMs = 8000)
    {
        QElapsedTimer timer;
        timer.start();
        while (!log().contains(text)) {
            if (timer.elapsed() > timeoutMs)
                return false;
            m_process.waitForReadyRead(100);
        }
        return true;
    }
    bool waitForWindow(bool visible, int timeoutMs = 5000)
    {
        QElapsedTimer timer;
        timer.start();
        while (visibleWindows(m_title).isEmpty() == visible) {
            if (timer.elapsed() > timeoutMs)
                return false;
            QTest::qWait(100);
        }
        return true;
    }

private:
    QTemporaryDir m_data;
    QString m_title;
    QProcess m_process;
    QString m_output;
};

// A private session bus whose tray is a StatusNotifierItem host: the watcher registered
// here answers that a host is present and remembers the items that register with it.
class StatusNotifierDesktop : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ isHostRegistered)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
public:
    ~StatusNotifierDesktop() override
    {
        QDBusConnection::disconnectFromBus(kConnectionName);
        if (m_daemon.state() != QProcess::NotRunning) {
            m_daemon.kill();
            m_daemon.waitForFinished(3000);
        }
    }

    // Starts the bus without activatable services and registers the watcher on it.
    bool start()
    {
        const QString config = m_folder.filePath(QStringLiteral("bus.conf"));
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
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                        QStringLiteral("--print-address=1")});
        if (!m_daemon.waitForReadyRead(5000))
            return false;
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        QDBusConnection bus = QDBusConnection::connectToBus(m_address, kConnectionName);
        return bus.isConnected() && bus.registerService(QStringLiteral("org.kde.StatusNotifierWatcher")) &&
               bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), this,
                                  QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties);
    }
    QString address() const { return m_address; }
    bool isHostRegistered() const { return true; }
    QStringList items() const { return m_items; }
    int protocolVersion() const { return 0; }

    // What a host does on a left click: Activate on the item that registered last.
    bool activateItem()
    {
        if (m_items.isEmpty())
            return false;
        QDBusMessage activate =
            QDBusMessage::createMethodCall(m_items.last(), QStringLiteral("/StatusNotifierItem"),
                                           QStringLiteral("org.kde.StatusNotifierItem"), QStringLiteral("Activate"));
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
    static inline const QString kConnectionName = QStringLiteral("quellar-e2e-watcher");
    static constexpr int kReplyTimeoutMs = 5000;
    QTemporaryDir m_folder;
    QProcess m_daemon;
    QString m_address;
    QStringList m_items;
};

QString uniqueTitle(const char* test)
{
    return QStringLiteral("Quellar e2e %1 %2").arg(QLatin1String(test)).arg(QCoreApplication::applicationPid());
}
} // namespace

class TestQuellar : public QObject {
    Q_OBJECT
private slots:
    void virtualMouseShowsTheWindowAndStartsTheUi();
    void withoutDeviceOnlyTheTrayShows();
    void secondInstanceExitsWithOne();
    void portableFolderIsFoundFromAnotherWorkingFolder();
    void hiddenHotKeyShowsTheWindow();
    void demoModeAnnouncesItself();
    void dpiButtonShowsTheBalloonAndUnplugIsNoticed();
    void terminationQuitsCleanly();
    void messageFloodShowsOneWarning();
    void dataFoldersRunSideBySide();
    void unsafeRuntimeFolderStopsWithTheReason();
    void trayQuitEndsWithZero();
    void typingAndClickingLeaveNoTraceInTheLog();
    void statusNotifierActivationRestoresAfterAHandshake();
};

void TestQuellar::virtualMouseShowsTheWindowAndStartsTheUi()
{
    RunningQuellar quellar(uniqueTitle("window"));
    QVERIFY(quellar.start({QStringLiteral("--virtual-device")}));
    QVERIFY2(quellar.waitForLog(QStringLiteral("qml: run")), qPrintable(quellar.log()));
    const QString log = quellar.log();
    QVERIFY(log.indexOf(QStringLiteral("qml: initUI")) < log.indexOf(QStringLiteral("qml: run")));
    QVERIFY(quellar.waitForWindow(true));

    // The panel of the view is painted where the window sits.
    QTest::qWait(300);
    const QStringList windows = visibleWindows(quellar.title());
    runTool(QStringLiteral("xdotool"), {QStringLiteral("windowmove"), windows.first(), QStringLiteral("0"), QStringLiteral("0")});
    QTest::qWait(300);
    const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    screen.save(QDir::temp().filePath(QStringLiteral("quellar-e2e-window.png")));
    QCOMPARE(screen.pixelColor(500, 150).name(), QStringLiteral("#2b2c30"));
}

void TestQuellar::withoutDeviceOnlyTheTrayShows()
{
    RunningQuellar quellar(uniqueTitle("tray"));
    QVERIFY(quellar.start());
    QVERIFY2(quellar.waitForLog(QStringLiteral("Device Error")), qPrintable(quellar.log()));
    QTest::qWait(500);
    QVERIFY(visibleWindows(quellar.title()).isEmpty());
    QVERIFY(quellar.process().state() == QProcess::Running);
    const QString tree = runTool(QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-tree")});
    QVERIFY2(tree.contains(QStringLiteral("\"quellar\": (\"quellar\" \"quellar\")")), qPrintable(tree));
}

void TestQuellar::secondInstanceExitsWithOne()
{
    RunningQuellar first(uniqueTitle("first"));
    QVERIFY(first.start({QStringLiteral("--virtual-device")}));
    QVERIFY(first.waitForLog(QStringLiteral("qml: run")));
    QVERIFY(first.waitForWindow(true));

    QProcess second;
    second.start(kQuellar, {QStringLiteral("--data"), first.dataPath(), QStringLiteral("--virtual-device")});
    QVERIFY(second.waitForFinished(5000));
    QCOMPARE(second.exitCode(), 1);
    QVERIFY(!QString::fromUtf8(second.readAll()).contains(QStringLiteral("Device")));
    QCOMPARE(first.process().state(), QProcess::Running);
    QCOMPARE(visibleWindows(first.title()).size(), 1);
}

void TestQuellar::portableFolderIsFoundFromAnotherWorkingFolder()
{
    // A copy of the program next to a writable modules/setting is a portable install.
    QTemporaryDir portable;
    const QString title = uniqueTitle("portable");
    QDir(portable.path()).mkpath(QStringLiteral("modules/setting"));
    QSettings(portable.filePath(QStringLiteral("modules/setting/apConfig.bin")), QSettings::IniFormat)
        .setValue(QStringLiteral("common/name0"), title);
    const QString program = portable.filePath(QStringLiteral("quellar"));
    QVERIFY(QFile::copy(kQuellar, program));

    QProcess process;
    process.setWorkingDirectory(QDir::rootPath());
    process.start(program, {QStringLiteral("--virtual-device")});
    QVERIFY(process.waitForStarted());
    QElapsedTimer timer;
    timer.start();
    while (visibleWindows(title).isEmpty() && timer.elapsed() < 8000)
        QTest::qWait(100);
    const bool shown = !visibleWindows(title).isEmpty();
    process.terminate();
    process.waitForFinished(3000);
    QVERIFY(shown);
    QVERIFY(QFile::exists(portable.filePath(QStringLiteral("virtual-device.ini"))));
}

void TestQuellar::hiddenHotKeyShowsTheWindow()
{
    RunningQuellar quellar(uniqueTitle("hotkey"));
    QVERIFY(quellar.start());
    QVERIFY(quellar.waitForLog(QStringLiteral("Device Error")));
    QTest::qWait(300);

    pressKeys({QStringLiteral("key"), QStringLiteral("F12")});
    QTest::qWait(500);
    QVERIFY(visibleWindows(quellar.title()).isEmpty());

    pressKeys({QStringLiteral("key"), QStringLiteral("shift+alt+F12")});
    QVERIFY(quellar.waitForWindow(true));

    // Shown already: the combination changes nothing.
    pressKeys({QStringLiteral("key"), QStringLiteral("shift+alt+F12")});
    QTest::qWait(300);
    QCOMPARE(visibleWindows(quellar.title()).size(), 1);
}

void TestQuellar::demoModeAnnouncesItself()
{
    RunningQuellar quellar(uniqueTitle("demo"));
    quellar.setConfigValue(QStringLiteral("common/sCode1"), QStringLiteral("k-ravine"));
    QVERIFY(quellar.start());
    QVERIFY2(quellar.waitForLog(QStringLiteral("warning box: ===== Demo Mode =====")), qPrintable(quellar.log()));
    // The main window and the warning box carry the same title.
    QElapsedTimer timer;
    timer.start();
    while (visibleWindows(quellar.title()).size() < 2 && timer.elapsed() < 5000)
        QTest::qWait(100);
    QCOMPARE(visibleWindows(quellar.title()).size(), 2);
}

void TestQuellar::dpiButtonShowsTheBalloonAndUnplugIsNoticed()
{
    RunningQuellar quellar(uniqueTitle("dpi"));
    QVERIFY(quellar.start({QStringLiteral("--virtual-device"), QStringLiteral("--verbose")}));
    QVERIFY(quellar.waitForLog(QStringLiteral("qml: run")));

    int exitCode = -1;
    const QStringList virtualMouse{QStringLiteral("--data"), quellar.dataPath(), QStringLiteral("virtual")};
    runTool(kQuellarCtl, virtualMouse + QStringList{QStringLiteral("press-dpi"), QStringLiteral("3")}, &exitCode);
    QVERIFY2(exitCode == 0, qPrintable(quellar.log()));
    QVERIFY2(quellar.waitForLog(QStringLiteral("tray message: Info | DPI Switch to 1600")), qPrintable(quellar.log()));

    runTool(kQuellarCtl, virtualMouse + QStringList{QStringLiteral("unplug")}, &exitCode);
    QCOMPARE(exitCode, 0);
    QVERIFY(quellar.waitForLog(QStringLiteral("Device removed"), 2000));
    QCOMPARE(quellar.log().count(QStringLiteral("Device Connect")), 1);
    // Plugging in again leads to a new discovery and handshake.
    runTool(kQuellarCtl, virtualMouse + QStringList{QStringLiteral("plug")}, &exitCode);
    QCOMPARE(exitCode, 0);
    QTRY_COMPARE_WITH_TIMEOUT(quellar.log().count(QStringLiteral("Device Connect")), 2, 6000);
}

void TestQuellar::terminationQuitsCleanly()
{
    RunningQuellar quellar(uniqueTitle("quit"));
    const QString tracePath = quellar.dataPath() + QStringLiteral("/trace.txt");
    QVERIFY(quellar.start({QStringLiteral("--virtual-device"), QStringLiteral("--trace"), tracePath}));
    QVERIFY(quellar.waitForLog(QStringLiteral("qml: run")));
    quellar.process().terminate();
    QVERIFY(quellar.process().waitForFinished(5000));
    QCOMPARE(quellar.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(quellar.process().exitCode(), 0);
    // The listener was stopped: its last event read ended with a close.
    QFile trace(tracePath);
    QVERIFY(trace.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(trace.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY(!lines.isEmpty());
    QVERIFY2(lines.last().endsWith(QStringLiteral("evt close")), qPrintable(lines.last()));
}

void TestQuellar::messageFloodShowsOneWarning()
{
    constexpr int kFrames = 10000;
    RunningQuellar quellar(uniqueTitle("flood"));
    QVERIFY(quellar.start({QStringLiteral("--virtual-device")}));
    QVERIFY(quellar.waitForLog(QStringLiteral("qml: run")));
    QVERIFY(quellar.waitForWindow(true));

    QElapsedTimer timer;
    timer.start();
    int taken = 0;
    for (int i = 0; i < kFrames && quellar.process().state() == QProcess::Running; ++i)
        taken += MessageChannel::sendText(quellar.title(), QStringLiteral("flood %1").arg(i), quellar.dataPath());
    const qint64 sendingMs = timer.elapsed();
    QTest::qWait(1000);
    const qint64 resident = residentKiB(quellar.process().processId());
    qInfo("%d of %d frames taken in %lld ms; quellar resident %lld KiB", taken, kFrames, sendingMs, resident);

    QCOMPARE(quellar.process().state(), QProcess::Running);
    QVERIFY(taken > 0);
    // The main window and one warning box, which carry the same title.
    QCOMPARE(visibleWindows(quellar.title()).size(), 2);
    QCOMPARE(quellar.log().count(QStringLiteral("warning box:")), 1);
    QVERIFY2(quellar.log().contains(QStringLiteral("warning box: flood 0")), qPrintable(quellar.log().left(2000)));
}

void TestQuellar::dataFoldersRunSideBySide()
{
    // The same title on two data folders: each instance keeps its own channels.
    const QString title = uniqueTitle("side");
    RunningQuellar one(title);
    RunningQuellar two(title);
    QVERIFY(one.start({QStringLiteral("--virtual-device")}));
    QVERIFY(two.start({QStringLiteral("--virtual-device")}));
    QVERIFY(one.waitForLog(QStringLiteral("qml: run")));
    QVERIFY(two.waitForLog(QStringLiteral("qml: run")));
    for (RunningQuellar* quellar : {&one, &two}) {
        QVERIFY2(!quellar->log().contains(QStringLiteral("already listens")), qPrintable(quellar->log()));
        QVERIFY2(!quellar->log().contains(QStringLiteral("cannot open a local channel")), qPrintable(quellar->log()));
    }

    const ToolRun unplug = runQuellarCtl({QStringLiteral("--data"), one.dataPath(), QStringLiteral("virtual"),
                                          QStringLiteral("unplug")});
    QCOMPARE(unplug.exitCode, 0);
    QVERIFY(one.waitForLog(QStringLiteral("Device removed"), 2000));
    QTest::qWait(500);
    QVERIFY(!two.log().contains(QStringLiteral("Device removed")));

    // quellarctl never works on a data folder a running quellar uses.
    const ToolRun busy = runQuellarCtl({QStringLiteral("--data"), two.dataPath(), QStringLiteral("--virtual-device"),
                                        QStringLiteral("call"), QStringLiteral("getProfile")});
    QCOMPARE(busy.exitCode, 4);
    QVERIFY(busy.out.isEmpty());
    QVERIFY2(busy.err.contains(QStringLiteral("a running quellar uses the data folder")), qPrintable(busy.err));
    QCOMPARE(two.process().state(), QProcess::Running);
}

void TestQuellar::unsafeRuntimeFolderStopsWithTheReason()
{
    // Another user could have put a lock or a socket there: start nothing rather than trust it.
    QTemporaryDir shared;
    QVERIFY(QFile::setPermissions(shared.path(), QFileDevice::Permissions(0x7777)));
    RunningQuellar quellar(uniqueTitle("runtime"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), shared.path());
    quellar.process().setProcessEnvironment(environment);
    QVERIFY(quellar.start({QStringLiteral("--virtual-device")}));
    QVERIFY(quellar.process().waitForFinished(5000));
    QCOMPARE(quellar.process().exitCode(), 1);
    QVERIFY2(quellar.log().contains(QStringLiteral("refusing the runtime folder %1: other users may write to it")
                                        .arg(shared.path())),
             qPrintable(quellar.log()));
    QVERIFY(visibleWindows(quellar.title()).isEmpty());
    QVERIFY(QDir(shared.path()).isEmpty());
}

void TestQuellar::trayQuitEndsWithZero()
{
    RunningQuellar quellar(uniqueTitle("tray-quit"));
    QVERIFY(quellar.start({QStringLiteral("--virtual-device")}));
    QVERIFY(quellar.waitForLog(QStringLiteral("qml: run")));
    QString icon;
    QTRY_VERIFY_WITH_TIMEOUT(!(icon = trayIconWindow()).isEmpty(), 5000);
    const QStringList before = programWindows();
    pressKeys({QStringLiteral("mousemove"), QStringLiteral("--window"), icon, QStringLiteral("5"), QStringLiteral("5"),
               QStringLiteral("click"), QStringLiteral("3")});
    // The menu is the window that the right click opened; its only entry is Quit.
    QString menu;
    QTRY_VERIFY_WITH_TIMEOUT(!(menu = windowOpenedSince(before)).isEmpty(), 5000);
    pressKeys({QStringLiteral("mousemove"), QStringLiteral("--window"), menu, QStringLiteral("20"),
               QStringLiteral("10"), QStringLiteral("click"), QStringLiteral("1")});
    QVERIFY2(quellar.process().waitForFinished(5000), qPrintable(quellar.log()));
    QCOMPARE(quellar.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(quellar.process().exitCode(), 0);
}

void TestQuellar::typingAndClickingLeaveNoTraceInTheLog()
{
    // Without a device only the tray shows, and every key is still watched for the hot key.
    RunningQuellar quellar(uniqueTitle("privacy"));
    QVERIFY(quellar.start());
    QVERIFY(quellar.waitForLog(QStringLiteral("Device Error")));
    QTest::qWait(300);
    const qsizetype before = quellar.log().size();

    pressKeys({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), QStringLiteral("hunter2")});
    pressKeys({QStringLiteral("mousemove"), QStringLiteral("640"), QStringLiteral("900")});
    for (const char* button : {"1", "3", "2"})
        pressKeys({QStringLiteral("click"), QLatin1String(button)});
    // The hot key shows the window: the keys did reach quellar.
    pressKeys({QStringLiteral("key"), QStringLiteral("shift+alt+F12")});
    QVERIFY(quellar.waitForWindow(true));
    QTest::qWait(300);

    const QString during = quellar.log().mid(before);
    QVERIFY2(during.isEmpty(), qPrintable(during));
    // Debug lines of our own categories are off by default.
    QVERIFY2(!quellar.log().contains(QStringLiteral("quellar.app: data folder")), qPrintable(quellar.log()));
}

void TestQuellar::statusNotifierActivationRestoresAfterAHandshake()
{
    StatusNotifierDesktop desktop;
    QVERIFY(desktop.start());

    // No handshake yet: activating the item leaves the window hidden.
    {
        RunningQuellar quellar(uniqueTitle("sni-nodevice"));
        quellar.setEnvironment(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), desktop.address());
        QVERIFY(quellar.start());
        QTRY_VERIFY2_WITH_TIMEOUT(quellar.log().contains(QStringLiteral("Device Error")), qPrintable(quellar.log()),
                                  8000);
        QTRY_COMPARE_WITH_TIMEOUT(desktop.items().size(), 1, 5000);
        QVERIFY(desktop.activateItem());
        QTest::qWait(500);
        QVERIFY(visibleWindows(quellar.title()).isEmpty());
    }

    // After a handshake: closed to the tray, the window comes back on activation.
    RunningQuellar quellar(uniqueTitle("sni"));
    quellar.setEnvironment(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), desktop.address());
    QVERIFY(quellar.start({QStringLiteral("--virtual-device")}));
    QTRY_VERIFY2_WITH_TIMEOUT(quellar.log().contains(QStringLiteral("qml: run")), qPrintable(quellar.log()), 8000);
    QTRY_COMPARE_WITH_TIMEOUT(desktop.items().size(), 2, 5000);
    QVERIFY(quellar.waitForWindow(true));
    // The close button of the panel, 12 px from the top right corner.
    const QString window = visibleWindows(quellar.title()).first();
    pressKeys({QStringLiteral("mousemove"), QStringLiteral("--window"), window, QStringLiteral("972"),
               QStringLiteral("24"), QStringLiteral("click"), QStringLiteral("1")});
    QVERIFY(quellar.waitForWindow(false));
    QVERIFY(desktop.activateItem());
    QVERIFY(quellar.waitForWindow(true));
}

QTEST_MAIN(TestQuellar)
#include "tst_quellar.moc"
