// Device settings operations: what each writes into the current profile, the
// bytes it sends to the virtual mouse, the read-backs, and the refusals of
// lists of the wrong size.

#include "ControllerRig.h"
#include "DeviceSettings.h"

#include <QProcess>
#include <QTest>

namespace {

QVariantList listOf(std::initializer_list<int> values) {
    QVariantList list;
    for (int value : values)
        list.append(value);
    return list;
}

QVariantList countingList(int size, int start = 0) {
    QVariantList list;
    for (int i = 0; i < size; ++i)
        list.append(start + i);
    return list;
}

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray result;
    for (int value : values)
        result.append(static_cast<char>(value));
    return result;
}

struct Fixture : ControllerRig {
    bool visible = true;
    DeviceSettings settings{profiles, worker(), dialogs, [this] { return visible; }};
};

} // namespace

class TestDeviceSettings : public QObject {
    Q_OBJECT
private slots:
    // ---- DPI ----
    void dpiSetStoresFillsTableAndSends() {
        Fixture f;
        const QVariantList codes = listOf({0x02, 0x04, 0x08, 0x10, 0x20, 0x3C, 0x80, 0x80});
        const QVariantList values = listOf({200, 400, 800, 1600, 3200, 6000, 250, 250});
        f.settings.ui_11H_SetDPISet(6, codes, values);
        QVERIFY2(f.profileText().contains("dpi_Q3=200, 400, 800, 1600, 3200, 6000, 250, 250\n"), f.profileText());
        QCOMPARE(LinkState::dpiValues[0].load(), 200u);
        QCOMPARE(LinkState::dpiValues[5].load(), 6000u);
        QCOMPARE(LinkState::dpiValues[7].load(), 250u);
        QCOMPARE(f.sentReports(), QList<QByteArray>{outReport(0x11, {6, 8})});
        QCOMPARE(f.sentBulk().left(8), bytes({0x02, 0x04, 0x08, 0x10, 0x20, 0x3C, 0x80, 0x80}));
        QCOMPARE(f.settings.ui_91H_GetDPISet(), values);
    }

    void dpiSetRefusesShortLists_data() {
        QTest::addColumn<QVariantList>("codes");
        QTest::addColumn<QVariantList>("values");
        QTest::newRow("codes short") << countingList(7) << countingList(8, 100);
        QTest::newRow("values short") << countingList(8) << countingList(6, 100);
        QTest::newRow("both empty") << QVariantList() << QVariantList();
    }
    void dpiSetRefusesShortLists() {
        QFETCH(QVariantList, codes);
        QFETCH(QVariantList, values);
        Fixture f;
        LinkState::dpiValues[0].store(999);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("ui_11H_SetDPISet refused")));
        f.settings.ui_11H_SetDPISet(6, codes, values);
        QVERIFY(f.sentReports().isEmpty());
        QVERIFY(!QFile::exists(ProfileStore::fileNameOf(0)));
        QCOMPARE(LinkState::dpiValues[0].load(), 999u);
    }

    void dpiGetWithShortListZeroFillsTable() {
        Fixture f;
        for (auto& value : LinkState::dpiValues)
            value.store(77);
        f.profiles.writeCurrent(QStringLiteral("sensor/dpi_Q3"), listOf({800, 1600}));
        QCOMPARE(f.settings.ui_91H_GetDPISet(), listOf({800, 1600}));
        QCOMPARE(LinkState::dpiValues[1].load(), 1600u);
        for (int i = 2; i < 8; ++i)
            QCOMPARE(LinkState::dpiValues[i].load(), 0u);
        QVERIFY(f.sentReports().isEmpty());
    }

    void oneElementListReadsAsNumber() {
        Fixture f;
        QVERIFY(TestDataFolder::write(ProfileStore::fileNameOf(0), "[sensor]\ndpi_Q3=800\n[color_Q3]\ntype1=255\n"));
        ProfileStore fresh; // reads the file written above
        DeviceSettings settings(fresh, f.worker(), f.dialogs, [] { return true; });
        QCOMPARE(settings.ui_91H_GetDPISet(), QVariantList{800});
        QCOMPARE(LinkState::dpiValues[0].load(), 800u);
        QCOMPARE(settings.ui_90H_GetLED8StageColor(1), QVariantList{255u});
    }

    void dpiGetOnFreshProfile() {
        Fixture f;
        QVERIFY(f.settings.ui_91H_GetDPISet().isEmpty());
        QVERIFY(f.settings.ui_91H_GetDPISelect().isEmpty());
        QCOMPARE(LinkState::dpiValues[0].load(), 0u);
    }

    void dpiSelectStoredOnly() {
        Fixture f;
        f.settings.ui_11H_SetDPISelect(listOf({1, 1, 1, 1, 1, 1, 0, 0}));
        QVERIFY(f.profileText().contains("dpi_Select=1, 1, 1, 1, 1, 1, 0, 0\n"));
        QCOMPARE(f.settings.ui_91H_GetDPISelect(), listOf({1, 1, 1, 1, 1, 1, 0, 0}));
        QVERIFY(f.sentReports().isEmpty());
    }

    void syncDpiAsksDevice() {
        Fixture f;
        f.worker().hid_11H_SetDPISet(5, Block8{});
        QCOMPARE(f.settings.ui_91H_SyncDPI(), uchar(5));
    }

    void syncDpiWithoutDeviceIsEight() {
        Fixture f;
        f.device.virt.setSilent(true);
        QCOMPARE(f.settings.ui_91H_SyncDPI(), uchar(8));
    }

    void currentStage() {
        Fixture f;
        f.settings.ui_0BH_SetCurrentDPIStage(3);
        QCOMPARE(f.stored(QStringLiteral("sensor/stage_Q3")).toInt(), 3);
        QCOMPARE(f.sentReports().last(), bytes({0x00, 0x0B, 0x03, 0, 0, 0, 0, 0, 0xF1}));
        QCOMPARE(f.settings.ui_8BH_GetCurrentDPIStage().toInt(), 3);
    }

    void currentStageWhileHiddenIsZero() {
        Fixture f;
        f.visible = false;
        QCOMPARE(f.settings.ui_8BH_GetCurrentDPIStage().toInt(), 0);
        QVERIFY(f.sentReports().isEmpty());
    }

    // ---- Lighting ----
    void ledEffect() {
        Fixture f;
        f.settings.ui_0DH_SetRGBLedEffect(2, 5, 2, QVariantList{2.0, QStringLiteral("5"), 2});
        QVERIFY(f.profileText().contains("ledEffect=2, 5, 2\n"));
        QCOMPARE(f.sentReports(), QList<QByteArray>{outReport(0x0D, {2, 5, 2})});
        const QVariantList readBack = f.settings.ui_8DH_GetRGBLedEffect();
        QCOMPARE(readBack, (QVariantList{2u, 5u, 2u}));
        QCOMPARE(readBack.first().metaType().id(), QMetaType::UInt);
    }

    void stageColors_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QVariantList>("list");
        QTest::addColumn<QByteArray>("announced");
        QTest::addColumn<QByteArray>("block");
        QTest::newRow("type 2 packed") << 2 << countingList(8, 1) << outReport(0x10, {2, 4})
                                       << bytes({0x21, 0x43, 0x65, 0x87});
        QTest::newRow("type 2 high nibble kept to 8 bits")
            << 2 << listOf({0x1F, 0xFF, 0, 0, 0, 0, 0, 0}) << outReport(0x10, {2, 4}) << bytes({0xFF, 0, 0, 0});
        QByteArray eighteen;
        for (int i = 0; i < 18; ++i)
            eighteen.append(static_cast<char>(10 + i));
        QTest::newRow("type 1 short list zero padded")
            << 1 << countingList(18, 10) << outReport(0x10, {1, 24}) << eighteen + QByteArray(6, '\0');
        QTest::newRow("type 0 values cut to 8 bits")
            << 0 << listOf({256, 257, 511}) << outReport(0x10, {0, 24}) << bytes({0, 1, 0xFF}) + QByteArray(21, '\0');
    }
    void stageColors() {
        QFETCH(int, type);
        QFETCH(QVariantList, list);
        QFETCH(QByteArray, announced);
        QFETCH(QByteArray, block);
        Fixture f;
        f.settings.ui_10H_SetLED8StageColor(static_cast<uchar>(type), list);
        QCOMPARE(f.sentReports(), QList<QByteArray>{announced});
        QCOMPARE(f.sentBulk().left(block.size()), block);
        QVariantList expected;
        for (const QVariant& value : list)
            expected.append(value.toUInt());
        QCOMPARE(f.settings.ui_90H_GetLED8StageColor(static_cast<uchar>(type)), expected);
        QVERIFY(f.profileText().contains(QStringLiteral("type%1=").arg(type).toLatin1()));
    }

    void stageColorsRefuseMoreThan24() {
        Fixture f;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("ui_10H_SetLED8StageColor refused")));
        f.settings.ui_10H_SetLED8StageColor(1, countingList(25));
        QVERIFY(f.sentReports().isEmpty());
        QVERIFY(f.settings.ui_90H_GetLED8StageColor(1).isEmpty());
    }

    void emptyColourListIsStoredAsEmpty() {
        Fixture f;
        f.settings.ui_10H_SetLED8StageColor(1, {});
        QVERIFY(f.profileText().contains("type1=@Invalid()"));
        QVERIFY(f.settings.ui_90H_GetLED8StageColor(1).isEmpty());
    }

    void logoLed() {
        Fixture f;
        QVERIFY(f.settings.chkIsLogoLedWork());
        QCOMPARE(f.sentReports(), QList<QByteArray>{outReport(0x87, {0})});
    }

    void logoLedWithoutDeviceIsFalse() {
        Fixture f;
        f.device.virt.setSilent(true);
        QVERIFY(!f.settings.chkIsLogoLedWork());
    }

    // ---- Report rate, sensor, sensitivity ----
    void reportRateStoredForMouseOnly() {
        Fixture f;
        QCOMPARE(f.settings.ui_81H_GetReportRate().toUInt(), 0u);
        QVERIFY(f.sentReports().isEmpty());
        f.settings.ui_01H_SetReportRate(2);
        QCOMPARE(f.stored(QStringLiteral("sensor/reportRate_Q3")).toInt(), 2);
        QCOMPARE(f.sentReports(), QList<QByteArray>{outReport(0x01, {2})});
        QCOMPARE(f.settings.ui_81H_GetReportRate().toUInt(), 2u);
        QCOMPARE(f.sentReports().size(), 1);
    }

    void reportRateOnKeyboardIsNotStored() {
        Fixture f;
        // The virtual device answers in the keyboard's place too.
        QList<DeviceRecord> records = virtualMouseRecords();
        records[0].path = records[1].path;
        f.worker().setRecords(records);
        f.worker().swichCurDevice(0);
        f.settings.ui_01H_SetReportRate(4);
        QVERIFY(!f.profileText().contains("reportRate"));
        QVERIFY(f.sentReports().contains(outReport(0x01, {4})));
        QCOMPARE(f.settings.ui_81H_GetReportRate().toInt(), 4); // asked from the device
        QVERIFY(f.sentReports().contains(outReport(0x81, {})));
    }

    void sensorType() {
        Fixture f;
        f.worker().hid_03H_SetFunctionOption(3, 1, 0, 0);
        QCOMPARE(f.settings.getSensorType().toInt(), 3);
        QCOMPARE(f.sentReports().last(), outReport(0x83, {}));
    }

    void xySensitivity() {
        Fixture f;
        QCOMPARE(f.settings.getXYSensitive(0).toInt(), 4);
        QCOMPARE(f.settings.getXYSensitive(1).toInt(), 4);
        f.settings.setXYSensitive(0, 7);
        f.settings.setXYSensitive(QStringLiteral("1"), 2.0);
        QVERIFY(f.profileText().contains("[XYSensitive]\n0=7\n1=2\n"));
        QCOMPARE(f.settings.getXYSensitive(0).toInt(), 7);
        QCOMPARE(f.settings.getXYSensitive(1).toInt(), 2);
        QVERIFY(f.sentReports().isEmpty());
        f.settings.ui_0EH_SetXYSensitive(120, 300);
        QCOMPARE(f.sentReports(), QList<QByteArray>{outReport(0x0E, {120, 300 & 0xFF})});
    }

    void xySensitivityRefusesNonAxes() {
        Fixture f;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("no axis")));
        f.settings.setXYSensitive(QStringLiteral("../sensor/dpi_Q3"), 7);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("no axis")));
        QCOMPARE(f.settings.getXYSensitive(QStringLiteral("x/y")).toInt(), 4);
        QVERIFY(!QFile::exists(ProfileStore::fileNameOf(0)));
    }

    void keyMatrixNumber() {
        Fixture f;
        f.settings.ui_02H_SetKeyMatrixNo(0);
        QCOMPARE(f.sentReports(), QList<QByteArray>{outReport(0x02, {0})});
        QVERIFY(!QFile::exists(ProfileStore::fileNameOf(0)));
    }

    // ---- Keyboard family ----
    void plainKeyboardCommands() {
        Fixture f;
        f.settings.ui_03H_SetKeyboardoption(1, 2, 3, 4);
        f.settings.ui_04H_SetGunData(5, 6, 0, 0, 2);
        f.settings.ui_07H_SetControlIndicatorLight(1, 9);
        f.settings.ui_09H_SetKeyboardMode(3);
        f.settings.ui_13H_SetRecoveryData();
        const QList<QByteArray> reports = f.sentReports();
        QCOMPARE(reports.size(), 5);
        QCOMPARE(reports.at(0), outReport(0x03, {1, 2, 3, 4}));
        QCOMPARE(reports.at(1), outReport(0x04, {5, 6, 0, 0, 2}));
        QCOMPARE(reports.at(2).at(1), char(0x07));
        QCOMPARE(reports.at(3).at(1), char(0x09));
        QCOMPARE(reports.at(4).at(1), char(0x13));
        QVERIFY(!QFile::exists(ProfileStore::fileNameOf(0)));
    }

    void ledTypeAndColorStored() {
        Fixture f;
        f.settings.ui_08H_SetLEDType(1, 2, 3, 4, 5, 6);
        f.settings.ui_14H_SetColor(3, 255, 128, 0);
        QVERIFY(f.profileText().contains("ledType=2, 3, 4, 5, 6\n"));
        QVERIFY(f.profileText().contains("3=255, 128, 0\n"));
        QCOMPARE(f.settings.ui_88H_GetLEDType(), listOf({2, 3, 4, 5, 6}));
        QCOMPARE(f.settings.ui_94H_GetColor(3), listOf({255, 128, 0}));
        QVERIFY(f.settings.ui_94H_GetColor(4).isEmpty());
        const QList<QByteArray> reports = f.sentReports();
        QCOMPARE(reports.size(), 2);
        QCOMPARE(reports.at(0).at(1), char(0x08));
        QCOMPARE(reports.at(1).at(1), char(0x14));
    }

    void userPictureKeptButNotSentWithOption255() {
        Fixture f;
        f.settings.ui_12H_SetUserPicture(3, 255, countingList(512));
        QCOMPARE(f.settings.ui_92H_GetUserPicture(3).size(), 512);
        QCOMPARE(f.settings.ui_92H_GetUserPicture(3).at(511).toInt(), 511);
        QVERIFY(f.sentReports().isEmpty());
    }

    void userPictureSent() {
        Fixture f;
        f.settings.ui_12H_SetUserPicture(1, 0, countingList(512));
        QCOMPARE(f.sentReports().size(), 1);
        QCOMPARE(f.sentReports().first().at(1), char(0x12));
        QCOMPARE(f.sentBulk().left(4), bytes({0, 1, 2, 3}));
    }

    void shortKeyboardListsRefused() {
        Fixture f;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("ui_12H_SetUserPicture refused")));
        f.settings.ui_12H_SetUserPicture(1, 0, countingList(511));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("ui_0EH_SetKeyOnOff refused")));
        f.settings.ui_0EH_SetKeyOnOff(countingList(20));
        QVERIFY(f.sentReports().isEmpty());
        QVERIFY(!QFile::exists(ProfileStore::fileNameOf(0)));
    }

    void keySwitchTableSent() {
        Fixture f;
        f.settings.ui_0EH_SetKeyOnOff(countingList(21, 1));
        QCOMPARE(f.sentReports().size(), 1);
        QCOMPARE(f.sentReports().first().at(1), char(0x0E));
    }

    void readBacksFromDevice() {
        Fixture f;
        QCOMPARE(f.settings.ui_80H_GetFWVersion().isEmpty(), false);
        QCOMPARE(f.settings.ui_84H_GetButtonSensitivity(), listOf({0, 0, 0, 0}));
        QCOMPARE(f.settings.ui_8EH_GetKeyOnOff().size(), 21);
    }

    void failedReadBacksGiveZeros() {
        Fixture f;
        f.device.virt.setSilent(true);
        QCOMPARE(f.settings.ui_83H_GetKeyboardoption(), listOf({0, 0, 0, 0}));
        QCOMPARE(f.settings.ui_82H_GetCurrentProfile().toInt(), 0);
        QCOMPARE(f.settings.ui_89H_GetKeyboardMode().toInt(), 0);
        QCOMPARE(f.settings.ui_8EH_GetKeyOnOff(), QVariantList(21, 0));
        QCOMPARE(f.settings.getSensorType().toInt(), 0);
    }

    void profileWrittenEvenWithoutDevice() {
        Fixture f;
        f.device.virt.failNext(VirtualHidBackend::Op::Open, 1000);
        f.settings.ui_0BH_SetCurrentDPIStage(2);
        f.settings.ui_10H_SetLED8StageColor(2, countingList(8));
        f.worker().waitForTransfers();
        QCOMPARE(f.stored(QStringLiteral("sensor/stage_Q3")).toInt(), 2);
        QCOMPARE(f.settings.ui_90H_GetLED8StageColor(2).size(), 8);
    }

    // ---- Other ----
    void confirmationWithoutMessagesUsesOwnTexts() {
        Fixture f;
        f.dialogs.confirmAnswer = true;
        QVERIFY(f.settings.getMsgAns_FoolProofing());
        QCOMPARE(f.dialogs.asked, QStringList{QStringLiteral("confirm|Confirm|Do you want to continue?")});
        f.dialogs.confirmAnswer = false;
        QVERIFY(!f.settings.getMsgAns_FoolProofing());
    }

    void confirmationUsesMessagesFourAndFive() {
        Fixture f;
        f.settings.setMessages({"m0", "m1", "m2", "m3", "Title", "Body"});
        f.dialogs.confirmAnswer = true;
        QVERIFY(f.settings.getMsgAns_FoolProofing());
        QCOMPARE(f.dialogs.asked, QStringList{QStringLiteral("confirm|Title|Body")});
    }

    void updaterStartedAfterListenerStops() {
        Fixture f;
        QVERIFY(QDir().mkpath(QStringLiteral("update")));
        QVERIFY(TestDataFolder::write(QStringLiteral("update/update.exe"), "#!/bin/sh\necho started > started.txt\n"));
        QVERIFY(QFile::setPermissions(QStringLiteral("update/update.exe"),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        f.worker().startListener(1);
        f.settings.openUpdateExe();
        QVERIFY(!f.worker().isListenerRunning());
        QTRY_VERIFY(QFile::exists(QStringLiteral("started.txt")));
    }

    void missingUpdaterFailsSilently() {
        Fixture f;
        f.settings.openUpdateExe();
        QVERIFY(!f.worker().isListenerRunning());
        QTRY_COMPARE(f.settings.findChildren<QProcess*>().size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestDeviceSettings)
#include "tst_devicesettings.moc"
