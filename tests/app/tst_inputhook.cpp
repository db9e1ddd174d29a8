// SPDX-License-Identifier: GPL-3.0-or-later
#include "CallLog.h"
#include "EvdevScanCodeTable.h"
#include "InputSourceFactory.h"
#include "TestHotplugMonitor.h"
#include "TestInputSource.h"
#include "UdevHotplugMonitor.h"
#include "WindowEventInputSource.h"
#include "X11RawInputSource.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

// The input hook's maps and pressed-state table, fed by a test source; the sources that feed it;
// the hot-plug monitors.
class TestInputHook : public QObject {
    Q_OBJECT

    TestInputSource* m_source = nullptr;
    std::unique_ptr<InputHook> m_hook;
    QStringList m_calls;

    QString calls() { return std::exchange(m_calls, {}).join(u' '); }
    void tap(int scanCode, bool extended, bool altDown = false) {
        m_source->key(quint16(scanCode), extended, true, altDown);
        m_source->key(quint16(scanCode), extended, false, altDown);
    }

private slots:
    void init() {
        m_hook = std::make_unique<InputHook>(std::unique_ptr<InputSource>(m_source = new TestInputSource));
        m_calls.clear();
        recordCalls(*m_hook, &m_calls);
    }
    void cleanup() { m_hook.reset(); }

    void mapsHaveTheirSizes() {
        QCOMPARE(m_hook->scanCodeMapSize(), std::size_t(105));
        QCOMPARE(m_hook->usageMapSize(), std::size_t(121));
    }

    void hookRulesDecideTheUsage() {
        tap(0x46, true);        // ctrl break
        tap(0x45, true);        // num lock
        tap(0x54, false, true); // print screen with Alt held
        tap(0x2B, false);       // backslash
        tap(0x5C, true);        // in no map: the right Windows key,
        tap(0x54, false);       // sysrq without Alt,
        tap(0x36, false);       // right shift without E0,
        tap(0x11E, false);      // a code above a byte
        QCOMPARE(calls(), QStringLiteral("k48+ k48- k53+ k53- k46+ k46- k32+ k32-"));
    }

    void backslashNeverGivesUsage31() {
        QCOMPARE(m_hook->usageFor(0xDC), quint8(0x32));
        for (int scanCode = 0; scanCode <= 0xFF; ++scanCode)
            for (int flags = 0; flags < 4; ++flags)
                tap(scanCode, flags & 1, flags & 2);
        QVERIFY(!m_calls.isEmpty());
        QVERIFY(m_calls.filter(QStringLiteral("k31")).isEmpty());
    }

    void heldKeyReportsOneDownOneUp() {
        for (int repeat = 0; repeat < 20; ++repeat)
            m_source->key(0x1E, false, true);
        QVERIFY(m_hook->isPressed(0x04));
        m_source->key(0x1E, false, false);
        m_source->key(0x1E, false, false);
        QCOMPARE(calls(), QStringLiteral("k04+ k04-"));
        QVERIFY(!m_hook->isPressed(0x04));
    }

    void stateTableUpdatesWithoutCallback() {
        m_hook->registerKeyboardCallback({});
        m_source->key(0x1D, false, true);
        QVERIFY(m_hook->isPressed(0xE0));
        recordCalls(*m_hook, &m_calls);
        tap(0x1D, false); // still held: the repeat reports nothing, the release the up
        m_source->button(PointerButton::Other, true, 1, 1); // other buttons are silent
        QCOMPARE(calls(), QStringLiteral("ke0-"));
    }

    void callbackMayReplaceItself() {
        int calls = 0;
        m_hook->registerKeyboardCallback([&](quint8, bool) {
            m_hook->registerKeyboardCallback([&](quint8, bool) { calls += 10; });
            ++calls; // the replaced callback is still alive here
        });
        tap(0x1E, false);
        QCOMPARE(calls, 11);
    }

    void oneHookInstallsAndRemovesTheSource() {
        QVERIFY(m_hook->hooksInstalled() && m_source->isRunning());
        m_hook->removeHooks();
        QVERIFY(!m_source->isRunning());
        tap(0x1E, false);
        QVERIFY(m_calls.isEmpty());
        QVERIFY(m_hook->installHooks());
        QVERIFY(m_hook->installHooks()); // re-installation removes the running hooks first
        QCOMPARE(m_source->startCount(), 3);
        m_source->failNextStart();
        QVERIFY(!m_hook->installHooks());
        QVERIFY(!m_hook->hooksInstalled() && !m_source->isRunning());
        QVERIFY(!InputHook().installHooks()); // without a source; a second hook leaves the first alone
        QVERIFY(m_hook->installHooks());
    }

    void everyPcKeyReachesAUsage() {
        // evdev 1..127 without the media keys; the right Windows key is left out on purpose.
        const QList<int> silent{84,  85,  89,  90,  91,  92,  93,  94,  95,  101, 112, 113,
                                114, 115, 116, 117, 118, 120, 121, 122, 123, 124, 126};
        for (int evdev = 1; evdev <= 127; ++evdev) {
            const auto scan = EvdevScanCodeTable::lookup(evdev);
            const quint8 vk = scan ? m_hook->virtualKeyFor(InputHook::mapKey(scan->code, scan->extended)) : 0;
            QVERIFY2((m_hook->usageFor(vk) == 0) == silent.contains(evdev), qPrintable(QString::number(evdev)));
        }
        for (int bad : {0, -8, 70000})
            QVERIFY(!EvdevScanCodeTable::lookup(bad));
    }

    void windowEventsReportEachTransitionOnce() {
        m_hook.reset();
        m_hook = std::make_unique<InputHook>(std::make_unique<WindowEventInputSource>());
        recordCalls(*m_hook, &m_calls);
        QWindow window;
        QObject notAWindow;
        const auto key = [&](int evdev) { // xkb platforms carry the evdev code + 8 as native scan code
            QKeyEvent event(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, evdev + 8, 0, 0);
            QCoreApplication::sendEvent(&window, &event);
        };
        const auto button = [&](QEvent::Type type, Qt::MouseButton button, QObject* to) {
            QMouseEvent event(type, QPointF(5, 6), QPointF(105, 206), button, button, Qt::NoModifier);
            QCoreApplication::sendEvent(to, &event);
        };
        key(30);
        key(96);
        key(-8); // no scan code
        button(QEvent::MouseButtonPress, Qt::MiddleButton, &window);
        button(QEvent::MouseButtonPress, Qt::MiddleButton, &notAWindow);
        button(QEvent::MouseButtonDblClick, Qt::LeftButton, &window);
        button(QEvent::MouseButtonRelease, Qt::RightButton, &window);
        m_hook->removeHooks();
        button(QEvent::MouseButtonRelease, Qt::RightButton, &window);
        QCOMPARE(calls(), QStringLiteral("k04+ k58+ bf2+105,206 bf1-105,206"));
    }

    void factoryFallsBackWithoutX11() {
        if (QGuiApplication::platformName() != QLatin1String("offscreen"))
            QSKIP("runs on the offscreen platform only");
        qunsetenv("DISPLAY");
        QVERIFY(!InputSourceFactory::x11Available());
        QVERIFY(dynamic_cast<WindowEventInputSource*>(InputSourceFactory::create().get()));
        X11RawInputSource x11(QByteArrayLiteral(":unreachable"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot open the X display"));
        QVERIFY(!x11.start([](const KeyTransition&) {}, [](const ButtonTransition&) {}));
    }

    void hotplugDoubleFiresOnlyWhileStarted() {
        TestHotplugMonitor monitor;
        QSignalSpy spy(&monitor, &HotplugMonitor::deviceChanged);
        monitor.fire(HotplugMonitor::Action::Added);
        QVERIFY(static_cast<HotplugMonitor&>(monitor).start());
        monitor.fire(HotplugMonitor::Action::Removed, QStringLiteral("/dev/hidraw3"));
        static_cast<HotplugMonitor&>(monitor).stop();
        monitor.fire(HotplugMonitor::Action::Added);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).value<HotplugMonitor::Action>(), HotplugMonitor::Action::Removed);
        QCOMPARE(spy.at(0).at(1).toString(), QStringLiteral("/dev/hidraw3"));
    }

    void udevMonitorIsRestartable() {
        UdevHotplugMonitor monitor;
        // Containers may deny the netlink socket; then start() must say so instead of pretending.
        if (!monitor.start())
            QSKIP("udev monitoring is not available in this environment");
        monitor.stop();
        monitor.stop();
        QVERIFY(monitor.start());
        monitor.stop();
    }
};

QTEST_MAIN(TestInputHook)
#include "tst_inputhook.moc"
