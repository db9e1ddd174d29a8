// Host pointer settings: profile first, host second. The conversions through the GNOME
// backend on GSettings' in-memory store, the fallback's failure lines, and the scroll swap bit.

#include <gio/gio.h>

#include "ControllerRig.h"
#include "FallbackHostPointer.h"
#include "GnomeHostPointer.h"
#include "HostPointerSettings.h"

#include <QTest>

namespace {
// A key as a fresh reader of the settings service sees it.
GVariant* gnomeValue(const char* key) {
    GSettings* settings = g_settings_new(GnomeHostPointer::kSchema);
    GVariant* value = g_settings_get_value(settings, key);
    g_object_unref(settings);
    return value;
}
} // namespace

class TestHostPointerSettings : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qputenv("GSETTINGS_BACKEND", "memory"); } // never the real desktop

    void gnomeConversions_data() {
        QTest::addColumn<uint>("step");
        QTest::addColumn<int>("clickMs"); // 900 - 70 x step, never below zero
        QTest::addColumn<double>("speed"); // host speed 1 for step 0, else 2 x step; 10 is neutral
        QTest::newRow("0") << 0u << 900 << -0.9;
        QTest::newRow("5") << 5u << 550 << 0.0;
        QTest::newRow("11") << 11u << 130 << 1.0;
        QTest::newRow("200") << 200u << 60 << 1.0;
    }
    void gnomeConversions() {
        QFETCH(uint, step);
        QFETCH(int, clickMs);
        QFETCH(double, speed);
        if (!GnomeHostPointer::isAvailable())
            QSKIP("schema org.gnome.desktop.peripherals.mouse is not installed");
        ControllerRig rig;
        GnomeHostPointer host;
        HostPointerSettings settings(rig.profiles, host, rig.worker());
        settings.setDoubleClickSpeed(step);
        settings.setCursorSpeed(step);
        QCOMPARE(g_variant_get_int32(gnomeValue("double-click")), clickMs);
        QVERIFY(qAbs(g_variant_get_double(gnomeValue("speed")) - speed) < 1e-9);
        QCOMPARE(rig.stored("sensor/doubleClickSpeed_Q3").toUInt(), step);
        QCOMPARE(settings.getCursorSpeed(), step);
        settings.setAcceleration(false);
        QVERIFY(!settings.getAcceleration() && !rig.profileText().contains("ccel")); // never stored
        QVERIFY(dynamic_cast<GnomeHostPointer*>(HostPointer::createForDesktop().get()));
    }

    void fallbackLogsFailuresAndKeepsProfile() {
        ControllerRig rig;
        FallbackHostPointer host;
        HostPointerSettings settings(rig.profiles, host, rig.worker());
        QCOMPARE(settings.getCursorSpeed() + settings.getDoubleClickSpeed() + settings.getVerticalScrollLines(), 0u);
        for (const char* line : {"setCursorSpeed Failed", "setDoubleClickSpeed Failed", "setVerticalScrollLines Failed",
                                 "setAcceleration Failed", "getAcceleration Failed"})
            QTest::ignoreMessage(QtDebugMsg, line);
        settings.setCursorSpeed(4);
        settings.setDoubleClickSpeed(3);
        settings.setVerticalScrollLines(1000);
        settings.setAcceleration(true);
        QVERIFY(!settings.getAcceleration());
        QCOMPARE(settings.getCursorSpeed(), 4u);
        QCOMPARE(settings.getDoubleClickSpeed(), 3u);
        QCOMPARE(settings.getVerticalScrollLines(), 1000u);
    }

    void scrollSwapBit_data() {
        QTest::addColumn<uchar>("option1");
        QTest::addColumn<bool>("swap");
        QTest::addColumn<QByteArray>("sent");
        QTest::newRow("on 05") << uchar(0x05) << true << QByteArray("00 03 01 02 45 40 00 00 74");
        QTest::newRow("off 45") << uchar(0x45) << false << QByteArray("00 03 01 02 05 40 00 00 b4");
        QTest::newRow("on 45 stays") << uchar(0x45) << true << QByteArray("00 03 01 02 45 40 00 00 74");
        QTest::newRow("off ff") << uchar(0xFF) << false << QByteArray("00 03 01 02 bf 40 00 00 fa");
    }
    void scrollSwapBit() {
        QFETCH(uchar, option1);
        QFETCH(bool, swap);
        QFETCH(QByteArray, sent);
        ControllerRig rig;
        FallbackHostPointer host;
        HostPointerSettings settings(rig.profiles, host, rig.worker());
        rig.worker().hid_03H_SetFunctionOption(0x01, 0x02, option1, 0x40);
        settings.setScrollPinSwap(swap);
        QCOMPARE(rig.sent().mid(1), (QList<QByteArray>{"00 83 00 00 00 00 00 00 7c", "00 81 00 00 00 00 00 00 7e", sent}));
        QCOMPARE(settings.getScrollPinSwap(), swap);
        QCOMPARE(rig.stored("keydefine_Q3/scrollswap").toString(), swap ? "true" : "false");
        rig.device.virt.failNext(VirtualHidBackend::Op::Open, 100);
        settings.setScrollPinSwap(!swap); // without the device it is still stored
        rig.worker().waitForTransfers();
        QCOMPARE(settings.getScrollPinSwap(), !swap);
    }
};

QTEST_GUILESS_MAIN(TestHostPointerSettings)
#include "tst_hostpointersettings.moc"
