// The GNOME host pointer backend against GSettings' in-memory backend and the
// installed desktop schemas, and the fallback backend.

#include <gio/gio.h>

#include "FallbackHostPointer.h"
#include "GnomeHostPointer.h"

#include <QTest>

namespace {

// The key as a fresh reader of the settings service sees it.
template <typename Read> auto readKey(const char* key, Read read) {
    GSettings* settings = g_settings_new(GnomeHostPointer::kSchema);
    auto value = read(settings, key);
    g_object_unref(settings);
    return value;
}

int doubleClick() {
    return readKey("double-click", g_settings_get_int);
}
double speed() {
    return readKey("speed", g_settings_get_double);
}
QString accelProfile() {
    gchar* text = readKey("accel-profile", g_settings_get_string);
    const QString result = QString::fromUtf8(text);
    g_free(text);
    return result;
}

} // namespace

class TestGnomeHostPointer : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        // Never touch the real desktop: an in-memory settings store for this process only.
        qputenv("GSETTINGS_BACKEND", "memory");
        if (!GnomeHostPointer::isAvailable())
            QSKIP("schema org.gnome.desktop.peripherals.mouse is not installed");
    }

    void doubleClickTime_data() {
        QTest::addColumn<uint>("milliseconds");
        QTest::newRow("900") << 900u;
        QTest::newRow("550") << 550u;
        QTest::newRow("130") << 130u;
    }
    void doubleClickTime() {
        QFETCH(uint, milliseconds);
        GnomeHostPointer host;
        QVERIFY(host.setDoubleClickTime(milliseconds));
        QCOMPARE(doubleClick(), static_cast<int>(milliseconds));
    }

    void speed_data() {
        QTest::addColumn<uint>("given");
        QTest::addColumn<double>("gnome");
        QTest::newRow("1 slowest") << 1u << -0.9;
        QTest::newRow("10 neutral") << 10u << 0.0;
        QTest::newRow("20 fastest") << 20u << 1.0;
        QTest::newRow("22 clamped") << 22u << 1.0;
        QTest::newRow("0 clamped") << 0u << -1.0;
        QTest::newRow("14") << 14u << 0.4;
    }
    void speed() {
        QFETCH(uint, given);
        QFETCH(double, gnome);
        GnomeHostPointer host;
        QVERIFY(host.setMouseSpeed(given));
        QVERIFY(qAbs(::speed() - gnome) < 1e-9);
    }

    void acceleration() {
        GnomeHostPointer host;
        QVERIFY(host.setMouseParameters({0, 0, 0}));
        QCOMPARE(accelProfile(), QStringLiteral("flat"));
        QCOMPARE(host.mouseParameters()->acceleration, 0);
        QVERIFY(host.setMouseParameters({0, 0, 1}));
        QCOMPARE(accelProfile(), QStringLiteral("default"));
        QCOMPARE(host.mouseParameters()->acceleration, 1);
    }

    void adaptiveProfileCountsAsAcceleration() {
        GSettings* settings = g_settings_new(GnomeHostPointer::kSchema);
        QVERIFY(g_settings_set_string(settings, "accel-profile", "adaptive"));
        g_object_unref(settings);
        GnomeHostPointer host;
        QCOMPARE(host.mouseParameters()->acceleration, 1);
    }

    void scrollLinesHaveNoGnomeKey() {
        GnomeHostPointer host;
        QVERIFY(!host.setWheelScrollLines(3));
    }

    void fallbackRefusesEverything() {
        FallbackHostPointer host;
        QVERIFY(!host.mouseParameters());
        QVERIFY(!host.setMouseParameters({}));
        QVERIFY(!host.setWheelScrollLines(3));
        QVERIFY(!host.setDoubleClickTime(500));
        QVERIFY(!host.setMouseSpeed(10));
    }

    void desktopChoiceFollowsSchema() {
        const std::unique_ptr<HostPointer> host = HostPointer::createForDesktop();
        QVERIFY(dynamic_cast<GnomeHostPointer*>(host.get()) != nullptr);
    }
};

QTEST_GUILESS_MAIN(TestGnomeHostPointer)
#include "tst_gnomehostpointer.moc"
