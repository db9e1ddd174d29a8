#include "TestHotplugMonitor.h"
#include "UdevHotplugMonitor.h"

#include <QSignalSpy>
#include <QTest>

class TestHotplug : public QObject {
    Q_OBJECT

private slots:
    void doubleFiresOnlyWhileStarted();
    void udevMonitorStartsAndStops();
};

void TestHotplug::doubleFiresOnlyWhileStarted() {
    TestHotplugMonitor monitor;
    HotplugMonitor& base = monitor;
    QSignalSpy spy(&base, &HotplugMonitor::deviceChanged);
    monitor.fire(HotplugMonitor::Action::Added);
    QCOMPARE(spy.count(), 0);
    QVERIFY(base.start());
    monitor.fire(HotplugMonitor::Action::Added, QStringLiteral("/dev/hidraw3"));
    monitor.fire(HotplugMonitor::Action::Removed, QStringLiteral("/dev/hidraw3"));
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(0).at(0).value<HotplugMonitor::Action>(), HotplugMonitor::Action::Added);
    QCOMPARE(spy.at(1).at(0).value<HotplugMonitor::Action>(), HotplugMonitor::Action::Removed);
    QCOMPARE(spy.at(1).at(1).toString(), QStringLiteral("/dev/hidraw3"));
    base.stop();
    monitor.fire(HotplugMonitor::Action::Added);
    QCOMPARE(spy.count(), 2);
}

void TestHotplug::udevMonitorStartsAndStops() {
    UdevHotplugMonitor monitor;
    // Containers may deny the netlink socket; then start() must say so instead of pretending.
    if (!monitor.start())
        QSKIP("udev monitoring is not available in this environment");
    QSignalSpy spy(&monitor, &HotplugMonitor::deviceChanged);
    QTest::qWait(50);
    monitor.stop();
    monitor.stop();
    QVERIFY(monitor.start()); // restartable
    monitor.stop();
    QCOMPARE(spy.count(), 0);
}

QTEST_GUILESS_MAIN(TestHotplug)
#include "tst_hotplug.moc"
