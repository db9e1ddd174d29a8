// SPDX-License-Identifier: GPL-3.0-or-later
// Controller operations on the virtual mouse: profile text, wire bytes, read-backs, refusals;
// host pointer settings through GNOME (in-memory GSettings) and the fallback; the scroll swap bit.

#include <gio/gio.h>

#include "DeviceSettings.h"
#include "FallbackHostPointer.h"
#include "GnomeHostPointer.h"
#include "HostPointerSettings.h"
#include "KeyAssignment.h"
#include "ProfileStore.h"
#include "ScriptedDialogs.h"
#include "WorkerDevicePort.h"
#include "device/DeviceTestSupport.h"
#include "store/StoreTestSupport.h"

#include <QTest>
#include <functional>

namespace {

const QList<long long> kDpis{200, 400, 800, 1600, 3200, 6000, 250, 250};
QList<int> counting(int size, int start = 0) {
    QList<int> list;
    for (int i = 0; i < size; ++i)
        list.append(start + i);
    return list;
}
// A mouse key matrix: 0FH only as type, a macro slot, values over 255, then zeros.
const QList<int> kMatrix = QList<int>{15, 0, 46, 0, 0, 15, 4, 0, 10, 240, 30, 2, 0x10F, 0, 0x104, 0} + counting(48);
template <std::size_t N> QList<uint> unsignedOf(const std::array<uchar, N>& bytes) {
    return QList<uint>(bytes.begin(), bytes.end());
}

// A key as a fresh reader of the settings service sees it.
GVariant* gnomeValue(const char* key) {
    GSettings* settings = g_settings_new(GnomeHostPointer::kSchema);
    GVariant* value = g_settings_get_value(settings, key);
    g_object_unref(settings);
    return value;
}

struct Fixture {
    TestDataFolder folder;
    ProfileStore profiles;
    ScriptedDialogs dialogs;
    DeviceRig device;
    bool visible = true;
    WorkerDevicePort port{device.worker};
    DeviceSettings settings{profiles, port, dialogs};
    Fixture() {
        settings.setViewVisibility([this] { return visible; });
    }
    KeyAssignment keys{profiles, port};
    FallbackHostPointer host; // logs "<op> Failed" when asked
    HostPointerSettings pointer{profiles, host, port};

    Hid_Thread& worker() { return device.worker; }
    // The lines of one wire operation so far, as hex, after all transfers ended.
    QList<QByteArray> wire(const char* op) {
        device.worker.waitForTransfers();
        QList<QByteArray> lines;
        for (const TraceLine& line : device.cmd(QString::fromLatin1(op)))
            lines.append(line.bytes.toHex(' '));
        return lines;
    }
    QList<QByteArray> sent() { return wire("send_feature"); } // command reports
    // The first `count` bytes of the bulk output reports, joined without their report ids.
    QByteArray bulk(int count) {
        QByteArray joined;
        for (const QByteArray& line : wire("write"))
            joined += QByteArray::fromHex(line).mid(1);
        return joined.left(count).toHex(' ');
    }
    QByteArray profileText() { return readFile(ProfileStore::fileNameOf(0)); }
    void serveKeyboard() { // the virtual device answers in the keyboard's place too
        QList<DeviceRecord> records = virtualMouseRecords();
        records[0].path = records[1].path;
        records[0].reportLength = records[1].reportLength;
        device.worker.setRecords(records);
        device.worker.swichCurDevice(0);
    }
};
using Op = std::function<void(Fixture&)>;

} // namespace

Q_DECLARE_METATYPE(Op)

class TestController : public QObject {
    Q_OBJECT
    // An operation, the command reports it sends, the profile text it leaves (empty: no profile
    // file), the start of its bulk data, and the warning it logs when it refuses its input.
    static void row(const char* name, const QList<QByteArray>& reports, const QByteArray& profile,
                    const QByteArray& bulk, Op op) {
        QTest::newRow(name) << op << reports << profile << bulk << QByteArray();
    }
    static void refusal(const char* name, const char* warning, Op op) {
        QTest::newRow(name) << op << QList<QByteArray>() << QByteArray() << QByteArray() << QByteArray(warning);
    }
private slots:
    void operations_data() {
        QTest::addColumn<Op>("op");
        QTest::addColumn<QList<QByteArray>>("reports");
        QTest::addColumn<QByteArray>("profile");
        QTest::addColumn<QByteArray>("bulk");
        QTest::addColumn<QByteArray>("warning");
        row("11H DPI", {"00 11 06 08 00 00 00 00 e0"}, "dpi_Q3=200, 400, 800, 1600, 3200, 6000, 250, 250\n",
            "02 04 08 10 20 3c 80 80", [](Fixture& f) {
                f.settings.setDpiStages(6, {2, 4, 8, 16, 32, 60, 128, 128}, kDpis);
            });
        row("0BH stage", {"00 0b 03 00 00 00 00 00 f1"}, "stage_Q3=3\n", {},
            [](Fixture& f) { f.settings.setCurrentDpiStage(3); });
        row("0DH effect", {"00 0d 02 05 02 00 00 00 e9"}, "ledEffect=2, 5, 2\n", {}, [](Fixture& f) {
            f.settings.setLightingEffect(2, 5, 2, {2, 5, 2});
        });
        row("10H type 2 packed", {"00 10 02 04 00 00 00 00 e9"}, "[color_Q3]\ntype2=1, 2, 3, 4, 5, 6, 7, 8\n",
            "21 43 65 87", [](Fixture& f) { f.settings.setStageColors(2, counting(8, 1)); });
        row("10H type 1 padded", {"00 10 01 18 00 00 00 00 d6"}, "type1=10, 11,",
            "0a 0b 0c 0d 0e 0f 10 11 12 13 14 15 16 17 18 19 1a 1b 00 00 00 00 00 00",
            [](Fixture& f) { f.settings.setStageColors(1, counting(18, 10)); });
        row("10H empty", {"00 10 01 18 00 00 00 00 d6"}, "[color_Q3]\ntype1=@Invalid()\n", {},
            [](Fixture& f) { f.settings.setStageColors(1, {}); });
        row("01H rate", {"00 01 02 00 00 00 00 00 fc"}, "reportRate_Q3=2\n", {},
            [](Fixture& f) { f.settings.setReportRate(2); });
        row("XY sensitivity", {}, "[XYSensitive]\n0=7\n1=2\n", {},
            [](Fixture& f) { f.settings.setXYSensitivity(0, 7), f.settings.setXYSensitivity(1, 2); });
        row("12H picture kept", {}, "[userPicture]\n3=0, 1, 2,", {},
            [](Fixture& f) { f.settings.setUserPicture(3, 255, counting(512)); });
        row("12H picture", {"00 12 00 01 08 00 00 00 e4"}, "[userPicture]\n1=0, 1, 2,", "00 01 02 03",
            [](Fixture& f) { f.settings.setUserPicture(1, 0, counting(512)); });
        row("0EH switches", {"00 0e 00 00 15 00 00 00 dc"}, "", "01 02 03",
            [](Fixture& f) { f.settings.setKeySwitches(counting(21, 1)); });
        row("12H keys", {"00 12 01 40 08 00 00 00 a4"}, "[keydefine_Q3]\n0=15, 0, 46, 0\n1=0, 15, 4, 0\n",
            "00 00 2e 00 00 0f 04 00 0a f0 1e 02 00 00 04 00", [](Fixture& f) { f.keys.assignMouseButtons(kMatrix); });
        // Numbers outside the range of what they mean are refused, never wrapped into another value.
        refusal("0BH stage 0", "ui_0BH_SetCurrentDPIStage refused: stage 0 outside 1 to 8",
                [](Fixture& f) { f.settings.setCurrentDpiStage(0); });
        refusal("0BH stage 9", "ui_0BH_SetCurrentDPIStage refused: stage 9 outside 1 to 8",
                [](Fixture& f) { f.settings.setCurrentDpiStage(9); });
        refusal("11H 9 stages", "ui_11H_SetDPISet refused: stage count 9",
                [](Fixture& f) { f.settings.setDpiStages(9, counting(8), kDpis); });
        refusal("11H negative DPI", "ui_11H_SetDPISet refused: DPI value -200",
                [](Fixture& f) { f.settings.setDpiStages(6, counting(8), QList<long long>{-200} + kDpis.mid(1)); });
        refusal("11H select 2", "ui_11H_SetDPISelect refused: stage in use 2", [](Fixture& f) {
            f.settings.setStagesInUse({1, 1, 2, 0, 0, 0, 0, 0});
        });
        refusal("0DH effect 5", "ui_0DH_SetRGBLedEffect refused: effect 5", [](Fixture& f) {
            f.settings.setLightingEffect(5, 1, 2, {5, 1, 2});
        });
        refusal("01H rate 3", "ui_01H_SetReportRate refused: rate 3", [](Fixture& f) { f.settings.setReportRate(3); });
        refusal("XY position -99999999999", "setXYSensitive refused: slider position -99999999999",
                [](Fixture& f) { f.settings.setXYSensitivity(0, -99999999999LL); });
        refusal("XY position 10", "setXYSensitive refused: slider position 10",
                [](Fixture& f) { f.settings.setXYSensitivity(1, 10); });
        refusal("XY axis 2", "setXYSensitive refused: axis 2", [](Fixture& f) { f.settings.setXYSensitivity(2, 4); });
        refusal("0EH factor 300", "ui_0EH_SetXYSensitive refused: X 300",
                [](Fixture& f) { f.settings.sendXYFactors(300, 40); });
        refusal("0EH factor 19", "ui_0EH_SetXYSensitive refused: Y 19",
                [](Fixture& f) { f.settings.sendXYFactors(40, 19); });
        refusal("12H picture 5", "ui_12H_SetUserPicture refused: picture 5",
                [](Fixture& f) { f.settings.setUserPicture(5, 0, counting(512)); });
        refusal("11H 7 codes", "ui_11H_SetDPISet refused",
                [](Fixture& f) { f.settings.setDpiStages(6, counting(7), kDpis); });
        refusal("11H 6 values", "ui_11H_SetDPISet refused",
                [](Fixture& f) { f.settings.setDpiStages(6, counting(8), kDpis.mid(0, 6)); });
        refusal("0EH 20", "ui_0EH_SetKeyOnOff refused", [](Fixture& f) { f.settings.setKeySwitches(counting(20)); });
        refusal("12H picture 511", "ui_12H_SetUserPicture refused",
                [](Fixture& f) { f.settings.setUserPicture(1, 0, counting(511)); });
        refusal("12H keys 63", "ui_12H_SetKeyMatrix refused",
                [](Fixture& f) { f.keys.assignMouseButtons(counting(63)); });
        refusal("0DH keys 511", "ui_0DH_SetKeyMatrix refused",
                [](Fixture& f) { f.keys.assignKeyboardKeys(counting(511)); });
        refusal("10H 25 colours", "ui_10H_SetLED8StageColor refused",
                [](Fixture& f) { f.settings.setStageColors(1, counting(25)); });
        refusal("cursor speed 12", "^setCursorSpeed refused: .* 12 outside",
                [](Fixture& f) { f.pointer.setCursorSpeed(12); });
        refusal("double-click speed 200", "^setDoubleClickSpeed refused: .* 200 outside",
                [](Fixture& f) { f.pointer.setDoubleClickSpeed(200); });
        for (uint lines : {0u, 101u, 999u})
            refusal(qPrintable(QString("scroll lines %1").arg(lines)),
                    qPrintable(QString("^setVerticalScrollLines refused: .* %1 outside").arg(lines)),
                    [lines](Fixture& f) { f.pointer.setVerticalScrollLines(lines); });
    }
    void operations() {
        QFETCH(Op, op);
        QFETCH(QByteArray, profile);
        QFETCH(QByteArray, bulk);
        QFETCH(QByteArray, warning);
        Fixture f;
        LinkState::dpiValues[0].store(999);
        if (!warning.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QString::fromLatin1(warning)));
        QTest::failOnWarning(QRegularExpression(QStringLiteral("."))); // one warning at most, the expected one
        op(f);
        QTEST(f.sent(), "reports");
        QCOMPARE(f.bulk((bulk.size() + 1) / 3), bulk);
        if (profile.isEmpty())
            QVERIFY(!QFile::exists(ProfileStore::fileNameOf(0)));
        else
            QVERIFY2(f.profileText().contains(profile), f.profileText().constData());
        if (!warning.isEmpty())
            QCOMPARE(LinkState::dpiValues[0].load(), 999u); // the DPI table is untouched too
    }

    void readBacksFromProfile() {
        Fixture f;
        QCOMPARE(f.settings.xySensitivity(0), 4);
        QVERIFY(f.settings.dpiValues().isEmpty());
        QCOMPARE(f.settings.reportRate(), 0u);
        f.settings.setDpiStages(6, counting(8), kDpis);
        QCOMPARE(f.settings.dpiValues(), (QList<int>{200, 400, 800, 1600, 3200, 6000, 250, 250}));
        f.settings.setReportRate(2);
        QCOMPARE(f.settings.reportRate(), 2u);
        QCOMPARE(f.sent().size(), 2); // both read from the profile
        f.settings.setLightingEffect(2, 5, 2, {2, 5, 2});
        QCOMPARE(f.settings.lightingEffect(), (QList<uint>{2, 5, 2}));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("getXYSensitive refused: axis 2"));
        QCOMPARE(f.settings.xySensitivity(2), 4);
        f.keys.assignMouseButtons(kMatrix);
        QCOMPARE(f.keys.storedEntry(1), (QList<int>{0, 15, 4, 0}));
        QCOMPARE(f.keys.storedEntry(2), (QList<int>{10, 240, 30, 2}));
        QTest::ignoreMessage(QtWarningMsg, "getKeydefine refused: entry 16 outside 0 to 15");
        QVERIFY(f.keys.storedEntry(16).isEmpty());
    }

    void shortDpiListZeroFillsTable() {
        Fixture f;
        QVERIFY(writeFile(ProfileStore::fileNameOf(0), "[sensor]\ndpi_Q3=800\n[color_Q3]\ntype1=255\n"));
        for (auto& value : LinkState::dpiValues)
            value.store(77);
        ProfileStore fresh;
        DeviceSettings settings(fresh, f.port, f.dialogs);
        QCOMPARE(settings.dpiValues(), QList<int>{800}); // one element reads as a number
        QCOMPARE(settings.stageColors(1), QList<uint>{255});
        for (int i = 0; i < 8; ++i)
            QCOMPARE(LinkState::dpiValues[i].load(), i == 0 ? 800u : 0u);
        QVERIFY(f.sent().isEmpty());
    }

    void readBacksFromDevice() {
        Fixture f;
        f.keys.assignMouseButtons(kMatrix);
        QCOMPARE(unsignedOf(f.keys.readMouseButtons()).mid(0, 4),
                 (QList<uint>{0, 0, 0x2E, 0})); // the device holds the plain key
        QCOMPARE(f.sent().last(), "00 92 01 00 00 00 00 00 6c");
        f.worker().hid_11H_SetDPISet(5, Block8{});
        QCOMPARE(f.settings.deviceStageCount(), uchar(5));
        f.worker().hid_03H_SetFunctionOption(3, 1, 0, 0);
        QCOMPARE(f.settings.sensorType(), 3);
        QVERIFY(f.settings.logoLedWorks() && !f.settings.firmwareVersion().isEmpty());
        f.settings.keySwitches();
        QVERIFY(f.sent().last().startsWith("00 8e")); // asked from the device
        f.serveKeyboard();
        f.settings.setReportRate(4);
        QCOMPARE(f.settings.reportRate(), 4u); // the keyboard's rate is asked from the device
        QCOMPARE(f.sent().mid(f.sent().size() - 2),
                 (QList<QByteArray>{"00 01 04 00 00 00 00 00 fa", "00 81 00 00 00 00 00 00 7e"}));
        QVERIFY(!f.profileText().contains("reportRate")); // and never stored
        f.visible = false;
        QCOMPARE(f.settings.currentDpiStage(), 0); // hidden: the device is not asked
        QCOMPARE(f.sent().last(), "00 81 00 00 00 00 00 00 7e");
        f.device.faults.setSilent(true); // failed read-backs give zeros
        QCOMPARE(f.settings.keyboardOption(), Block4{});
        QCOMPARE(f.settings.deviceProfile() + f.settings.keyboardMode(), 0);
        QCOMPARE(f.settings.keySwitches(), Block21{});
        QCOMPARE(f.settings.sensorType(), 0);
        QCOMPARE(f.settings.deviceStageCount(), uchar(8));
        QVERIFY(!f.settings.logoLedWorks());
        QCOMPARE(f.keys.readMouseButtons(), Block64{});
        QCOMPARE(f.keys.readKeyboardKeys(), Block512{});
    }

    void keyboardMatrixStores126Entries() {
        Fixture f;
        f.profiles.current().setValue("keydefine_Q3/3", QVariantList{5, 6, 7, 8});
        QCOMPARE(f.keys.storedEntry(3), (QList<int>{5, 6, 7, 8}));
        f.serveKeyboard();
        f.keys.assignKeyboardKeys(counting(512));
        QVERIFY(f.profileText().contains("\n125=500, 501, 502, 503\n") &&
                !f.profileText().contains("\n126=")); // 126 kept
        QCOMPARE(f.keys.storedEntry(3), (QList<int>{12, 13, 14, 15}));
        QCOMPARE(f.bulk(512).mid(3 * 300, 5), "2c 2d"); // all 512 bytes sent
        f.worker().swichCurDevice(2);
        QVERIFY(f.keys.storedEntry(3).isEmpty());
    }

    void initTestCase() { qputenv("GSETTINGS_BACKEND", "memory"); } // never the real desktop

    void gnomeConversions_data() {
        QTest::addColumn<uint>("step");
        QTest::addColumn<int>("clickMs");  // 900 - 70 x step, never below zero
        QTest::addColumn<double>("speed"); // host speed 1 for step 0, else 2 x step; 10 is neutral
        QTest::newRow("0") << 0u << 900 << -0.9;
        QTest::newRow("5") << 5u << 550 << 0.0;
        QTest::newRow("11") << 11u << 130 << 1.0;
    }
    void gnomeConversions() {
        QFETCH(uint, step);
        QFETCH(int, clickMs);
        QFETCH(double, speed);
        if (!GnomeHostPointer::isAvailable())
            QSKIP("schema org.gnome.desktop.peripherals.mouse is not installed");
        Fixture rig;
        GnomeHostPointer host;
        HostPointerSettings settings(rig.profiles, host, rig.port);
        settings.setDoubleClickSpeed(step);
        settings.setCursorSpeed(step);
        QCOMPARE(g_variant_get_int32(gnomeValue("double-click")), clickMs);
        QVERIFY(qAbs(g_variant_get_double(gnomeValue("speed")) - speed) < 1e-9);
        QCOMPARE(settings.getDoubleClickSpeed() + settings.getCursorSpeed(), 2 * step);
        settings.setAcceleration(false);
        QVERIFY(!settings.getAcceleration() && !rig.profileText().contains("ccel")); // never stored
        QVERIFY(dynamic_cast<GnomeHostPointer*>(HostPointer::createForDesktop().get()));
    }

    void fallbackLogsFailuresAndKeepsProfile() {
        Fixture rig;
        HostPointerSettings& settings = rig.pointer;
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
        Fixture rig;
        HostPointerSettings& settings = rig.pointer;
        rig.worker().hid_03H_SetFunctionOption(0x01, 0x02, option1, 0x40);
        settings.setScrollPinSwap(swap);
        QCOMPARE(rig.sent().mid(1),
                 (QList<QByteArray>{"00 83 00 00 00 00 00 00 7c", "00 81 00 00 00 00 00 00 7e", sent}));
        QCOMPARE(settings.getScrollPinSwap(), swap);
        QVERIFY(rig.profileText().contains(swap ? "scrollswap=true" : "scrollswap=false"));
        rig.device.faults.failNext(FaultyHidBackend::Op::Open, 100);
        settings.setScrollPinSwap(!swap); // without the device it is still stored
        rig.worker().waitForTransfers();
        QCOMPARE(settings.getScrollPinSwap(), !swap);
    }
};

QTEST_GUILESS_MAIN(TestController)
#include "tst_controller.moc"
