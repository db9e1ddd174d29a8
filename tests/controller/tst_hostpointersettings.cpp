// Host pointer settings: profile first, host second, the conversions, the
// failure lines, and the scroll swap bit sent to the virtual mouse.

#include "ControllerRig.h"
#include "HostPointerSettings.h"
#include "TestHostPointer.h"

#include <QTest>

class TestHostPointerSettings : public QObject {
    Q_OBJECT
private slots:
    void conversions_data() {
        QTest::addColumn<uint>("step");
        QTest::addColumn<uint>("clickMs");
        QTest::addColumn<uint>("speed");
        QTest::newRow("0") << 0u << 900u << 1u;
        QTest::newRow("1") << 1u << 830u << 2u;
        QTest::newRow("5") << 5u << 550u << 10u;
        QTest::newRow("10") << 10u << 200u << 20u;
        QTest::newRow("11") << 11u << 130u << 22u;
    }
    void conversions() {
        QFETCH(uint, step);
        QFETCH(uint, clickMs);
        QFETCH(uint, speed);
        ControllerRig rig;
        TestHostPointer host;
        HostPointerSettings settings(rig.profiles, host, rig.worker());
        settings.setDoubleClickSpeed(step);
        settings.setCursorSpeed(step);
        QCOMPARE(host.calls,
                 (QStringList{QStringLiteral("click %1").arg(clickMs), QStringLiteral("speed %1").arg(speed)}));
        QCOMPARE(rig.stored(QStringLiteral("sensor/doubleClickSpeed_Q3")).toUInt(), step);
        QCOMPARE(rig.stored(QStringLiteral("sensor/cursorSpeed_Q3")).toUInt(), step);
        QCOMPARE(settings.getDoubleClickSpeed(), step);
        QCOMPARE(settings.getCursorSpeed(), step);
    }

    void doubleClickNeverWrapsBelowZero() {
        QCOMPARE(HostPointerSettings::doubleClickTimeOf(12), 60u);
        QCOMPARE(HostPointerSettings::doubleClickTimeOf(200), 60u);
    }

    void scrollLinesPassedOn() {
        ControllerRig rig;
        TestHostPointer host;
        HostPointerSettings settings(rig.profiles, host, rig.worker());
        settings.setVerticalScrollLines(1000);
        QCOMPARE(host.calls, QStringList{QStringLiteral("lines 1000")});
        QCOMPARE(rig.stored(QStringLiteral("sensor/verticalScrollLines_Q3")).toUInt(), 1000u);
        QCOMPARE(settings.getVerticalScrollLines(), 1000u);
    }

    void freshProfileReadsZeroWithoutAskingHost() {
        ControllerRig rig;
        TestHostPointer host;
        HostPointerSettings settings(rig.profiles, host, rig.worker());
        QCOMPARE(settings.getCursorSpeed(), 0u);
        QCOMPARE(settings.getDoubleClickSpeed(), 0u);
        QCOMPARE(settings.getVerticalScrollLines(), 0u);
        QCOMPARE(settings.getScrollPinSwap(), false);
        QVERIFY(host.calls.isEmpty());
    }

    void refusedHostLogsAndKeepsProfile() {
        ControllerRig rig;
        TestHostPointer host;
        host.refuse = true;
        HostPointerSettings settings(rig.profiles, host, rig.worker());
        QTest::ignoreMessage(QtDebugMsg, "setCursorSpeed Failed");
        settings.setCursorSpeed(4);
        QTest::ignoreMessage(QtDebugMsg, "setDoubleClickSpeed Failed");
        settings.setDoubleClickSpeed(3);
        QTest::ignoreMessage(QtDebugMsg, "setVerticalScrollLines Failed");
        settings.setVerticalScrollLines(7);
        QTest::ignoreMessage(QtDebugMsg, "setAcceleration Failed");
        settings.setAcceleration(true);
        QTest::ignoreMessage(QtDebugMsg, "getAcceleration Failed");
        QCOMPARE(settings.getAcceleration(), false);
        QCOMPARE(settings.getCursorSpeed(), 4u);
        QCOMPARE(settings.getDoubleClickSpeed(), 3u);
        QCOMPARE(settings.getVerticalScrollLines(), 7u);
    }

    void accelerationKeepsThresholds() {
        ControllerRig rig;
        TestHostPointer host;
        HostPointerSettings settings(rig.profiles, host, rig.worker());
        QCOMPARE(settings.getAcceleration(), true);
        settings.setAcceleration(false);
        QCOMPARE(host.parameters, (HostPointer::MouseParameters{6, 10, 0}));
        QCOMPARE(settings.getAcceleration(), false);
        settings.setAcceleration(true);
        QCOMPARE(host.parameters, (HostPointer::MouseParameters{6, 10, 1}));
        QVERIFY(!rig.profileText().contains("ccel")); // acceleration is never stored
    }

    void scrollSwapBit_data() {
        QTest::addColumn<uchar>("option1");
        QTest::addColumn<bool>("swap");
        QTest::addColumn<uchar>("sent");
        QTest::newRow("on 05") << uchar(0x05) << true << uchar(0x45);
        QTest::newRow("off 45") << uchar(0x45) << false << uchar(0x05);
        QTest::newRow("on 45 stays") << uchar(0x45) << true << uchar(0x45);
        QTest::newRow("off ff") << uchar(0xFF) << false << uchar(0xBF);
    }
    void scrollSwapBit() {
        QFETCH(uchar, option1);
        QFETCH(bool, swap);
        QFETCH(uchar, sent);
        ControllerRig rig;
        TestHostPointer host;
        HostPointerSettings settings(rig.profiles, host, rig.worker());
        rig.worker().hid_03H_SetFunctionOption(0x01, 0x02, option1, 0x40);
        settings.setScrollPinSwap(swap);
        const QList<QByteArray> reports = rig.sentReports();
        QCOMPARE(reports.size(), 4);
        QCOMPARE(reports.at(1), outReport(0x83, {}));
        QCOMPARE(reports.at(2), outReport(0x81, {}));
        QCOMPARE(reports.at(3), outReport(0x03, {0x01, 0x02, sent, 0x40}));
        QCOMPARE(settings.getScrollPinSwap(), swap);
        QCOMPARE(rig.stored(QStringLiteral("keydefine_Q3/scrollswap")).toString(),
                 swap ? QStringLiteral("true") : QStringLiteral("false"));
    }

    void scrollSwapWithoutDeviceStillStored() {
        ControllerRig rig;
        TestHostPointer host;
        HostPointerSettings settings(rig.profiles, host, rig.worker());
        rig.device.virt.failNext(VirtualHidBackend::Op::Open, 100);
        settings.setScrollPinSwap(true);
        rig.worker().waitForTransfers();
        QCOMPARE(settings.getScrollPinSwap(), true);
    }
};

QTEST_GUILESS_MAIN(TestHostPointerSettings)
#include "tst_hostpointersettings.moc"
