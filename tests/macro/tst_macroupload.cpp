// Macro slots on the device: the send and read slots, the 11H/13H uploads of
// the tag encoder, the slot record in the profile, and the walks that keep the
// stored key matrices of other profiles in step with the macro library.

#include "MacroLibrary.h"
#include "MacroTestSupport.h"
#include "MacroUpload.h"
#include "ProfileStore.h"

#include <QSettings>
#include <memory>

class TestMacroUpload : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void sendMacroData_data();
    void sendMacroData();
    void sendGunDataIsTheSame();
    void slotRecord();
    void encodeMacroLinesVariants();
    void macroIncodeFollowsDevice();
    void upload13MissingMacro();
    void upload13LoopCountFromFile();
    void upload13TooLong();
    void upload11();
    void upload11TooLongUsesMessageList();
    void readBack();
    void indexWalk();
    void typeWalk_data();
    void typeWalk();

private:
    void createMacro(const QString& name, const QStringList& lines, int repeat);
    QList<uchar> expectedPayload(QList<uchar> bytes, int size);

    std::unique_ptr<DataFolder> m_folder;
    std::unique_ptr<ProfileStore> m_profiles;
    RecordingMacroPort m_device;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<MacroLibrary> m_library;
    std::unique_ptr<MacroUpload> m_upload;
};

void TestMacroUpload::init() {
    m_folder = std::make_unique<DataFolder>();
    m_profiles = std::make_unique<ProfileStore>();
    m_device = RecordingMacroPort{};
    m_dialogs = ScriptedDialogs{};
    m_library = std::make_unique<MacroLibrary>(*m_profiles, m_device, m_dialogs);
    m_upload = std::make_unique<MacroUpload>(*m_profiles, m_device, *m_library, m_dialogs);
}

void TestMacroUpload::cleanup() {
    m_upload.reset();
    m_library.reset();
    m_profiles.reset();
    m_folder.reset();
}

void TestMacroUpload::createMacro(const QString& name, const QStringList& lines, int repeat) {
    m_library->createMacroIni(name, 0);
    m_library->saveMacroIni(name, lines, {}, repeat);
}

QList<uchar> TestMacroUpload::expectedPayload(QList<uchar> bytes, int size) {
    bytes.resize(size, 0);
    return bytes;
}

void TestMacroUpload::sendMacroData_data() {
    QTest::addColumn<QVariantList>("data");
    QTest::addColumn<QVariant>("index");
    QTest::addColumn<int>("slotId"); // -1: nothing sent
    QTest::addColumn<QList<uchar>>("bytes");
    QTest::newRow("slot 0 is id 1") << QVariantList{0, 1, 0x32, 4} << QVariant(0) << 1 << hexBytes("00 01 32 04");
    QTest::newRow("slot 11 is id 12") << QVariantList{9} << QVariant(11) << 12 << hexBytes("09");
    QTest::newRow("slot 12 sends nothing") << QVariantList{9} << QVariant(12) << -1 << QList<uchar>{};
    QTest::newRow("slot -1 sends nothing") << QVariantList{9} << QVariant(-1) << -1 << QList<uchar>{};
    QTest::newRow("a slot that is no number sends nothing") << QVariantList{9} << QVariant("x") << -1 << QList<uchar>{};
    QTest::newRow("slot as text") << QVariantList{"7"} << QVariant("5") << 6 << hexBytes("07");
    QTest::newRow("low 8 bits of each value")
        << QVariantList{0x1FF, -1, 256} << QVariant(2) << 3 << hexBytes("ff ff 00");
    QVariantList long200;
    QList<uchar> first128;
    for (int i = 0; i < 200; ++i) {
        long200 << i;
        if (i < 128)
            first128 << uchar(i);
    }
    QTest::newRow("at most 128 bytes") << long200 << QVariant(4) << 5 << first128;
}

void TestMacroUpload::sendMacroData() {
    QFETCH(QVariantList, data);
    QFETCH(QVariant, index);
    QFETCH(int, slotId);
    QFETCH(QList<uchar>, bytes);
    QCOMPARE(m_upload->sendMacroData(data, index), QVariant(true));
    if (slotId < 0) {
        QVERIFY(m_device.writes13.isEmpty());
        return;
    }
    QCOMPARE(m_device.writes13.size(), 1);
    QCOMPARE(int(m_device.writes13.first().slotId), slotId);
    QCOMPARE(m_device.writes13.first().bytes, expectedPayload(bytes, 128));
}

void TestMacroUpload::sendGunDataIsTheSame() {
    QCOMPARE(m_upload->sendGunData({1, 2}, 6), QVariant(true));
    QCOMPARE(m_upload->sendGunData({1, 2}, 12), QVariant(true));
    QCOMPARE(m_device.writes13.size(), 1);
    QCOMPARE(int(m_device.writes13.first().slotId), 7);
    QCOMPARE(m_device.writes13.first().bytes, expectedPayload(hexBytes("01 02"), 128));
}

void TestMacroUpload::slotRecord() {
    QCOMPARE(m_upload->getMacroKey(3), QVariant(0));
    m_upload->setMacroKey(3, "Jump");
    QCOMPARE(m_upload->getMacroKey(3).toString(), QString("Jump"));
    QCOMPARE(QSettings(ProfileStore::fileNameOf(0), QSettings::IniFormat).value("macro/3").toString(), QString("Jump"));
    m_upload->setMacroKey(4, "../x");
    QCOMPARE(m_upload->getMacroKey(4), QVariant(0));
    m_profiles->setCurrentIndex(2);
    QCOMPARE(m_upload->getMacroKey(3), QVariant(0));
}

void TestMacroUpload::encodeMacroLinesVariants() {
    QCOMPARE(bytesOf(m_upload->encodeMacroLines({"1,A", "0,100", "2,A"}, 1, false)),
             hexBytes("00 01 32 04 81 04 00 00"));
    QCOMPARE(bytesOf(m_upload->encodeMacroLines({"3,MS-L", "4,MS-L"}, 1, true)), hexBytes("00 01 0a f0 8a f0 00 00"));
    const QVariantList image = m_upload->encodeMacroLines({"1,A"}, 1, false);
    QCOMPARE(image.first().typeId(), QMetaType::Int);
}

void TestMacroUpload::macroIncodeFollowsDevice() {
    const QStringList lines{"A    [Down]", "1234   [Delay]"};
    m_device.deviceId = 0;
    QCOMPARE(m_upload->macroIncode(lines), hexBytes("00 01 01 04 7f 00 00 7b 00 00"));
    m_device.deviceId = 1;
    QCOMPARE(m_upload->macroIncode(lines), hexBytes("00 01 7b 04 00 00"));
}

void TestMacroUpload::upload13MissingMacro() {
    m_upload->ui_13H_SetMacroKey(3, "none");
    QCOMPARE(m_device.writes13.size(), 1);
    QCOMPARE(int(m_device.writes13.first().slotId), 3);
    QCOMPARE(m_device.writes13.first().bytes, expectedPayload(hexBytes("00 01 00 00"), 128));
    m_upload->ui_13H_SetMacroKey(3, "");
    QCOMPARE(m_device.writes13.size(), 1);
}

void TestMacroUpload::upload13LoopCountFromFile() {
    createMacro("M", {"A    [Down]", "A      [Up]"}, 300);
    m_upload->ui_13H_SetMacroKey(0x105, "M");
    QCOMPARE(int(m_device.writes13.first().slotId), 5);
    QCOMPARE(m_device.writes13.first().bytes, expectedPayload(hexBytes("01 2c 01 04 81 04 00 00"), 128));
    QVERIFY(m_dialogs.warnings.isEmpty());
}

void TestMacroUpload::upload13TooLong() {
    QStringList lines;
    for (int i = 0; i < 70; ++i)
        lines << "B    [Down]";
    createMacro("Long", lines, 2);
    m_upload->ui_13H_SetMacroKey(1, "Long");
    QCOMPARE(m_dialogs.warnings.size(), 1);
    QCOMPARE(m_dialogs.warnings.first().first, QString("MACRO"));
    QCOMPARE(m_dialogs.warnings.first().second, QString("Out of memory,\nsome command line has been cut."));
    const QList<uchar> sent = m_device.writes13.first().bytes;
    QCOMPARE(sent.mid(0, 4), hexBytes("00 02 01 05"));
    QCOMPARE(sent.mid(124, 4), hexBytes("01 05 01 05")); // cut, no end mark
}

void TestMacroUpload::upload11() {
    m_device.deviceId = 0;
    createMacro("K", {"A    [Down]", "200   [Delay]", "A      [Up]"}, 300);
    m_upload->ui_11H_SetMacroKey(2, "K");
    QCOMPARE(m_device.writes11.size(), 1);
    QCOMPARE(int(m_device.writes11.first().slotId), 2);
    // The loop count bytes stay 00 01 for the keyboard.
    QCOMPARE(m_device.writes11.first().bytes, expectedPayload(hexBytes("00 01 01 04 7f 00 00 14 81 04 00 00"), 192));
}

void TestMacroUpload::upload11TooLongUsesMessageList() {
    QStringList lines;
    for (int i = 0; i < 100; ++i)
        lines << "C    [Down]";
    createMacro("Long", lines, 1);
    m_upload->ui_11H_SetMacroKey(1, "Long");
    QCOMPARE(m_dialogs.warnings.last().first, QString("MACRO"));
    m_upload->setMessageList({"Title", "Text"});
    m_upload->ui_11H_SetMacroKey(1, "Long");
    QCOMPARE(m_dialogs.warnings.last(), qMakePair(QString("Title"), QString("Text")));
    QCOMPARE(m_device.writes11.last().bytes.size(), 192);
    QCOMPARE(m_device.writes11.last().bytes.mid(190, 2), hexBytes("01 06"));
}

void TestMacroUpload::readBack() {
    const QVariantList silent = m_upload->ui_93H_GetMacroKey(4);
    QCOMPARE(silent, QVariantList(128, 0));
    QCOMPARE(m_device.reads93, QList<uchar>{4});
    QCOMPARE(m_upload->ui_91H_GetMacroKey(9), QVariantList(192, 0));
    QCOMPARE(m_device.reads91, QList<uchar>{9});
    m_device.answerByte = 0xAB;
    QCOMPARE(m_upload->ui_93H_GetMacroKey(1), QVariantList(128, 0xAB));
    QCOMPARE(m_upload->ui_91H_GetMacroKey(1), QVariantList(192, 0xAB));
}

static QVariantList entry(int a, int b, int c, int d) {
    return {a, b, c, d};
}

static QList<int> storedEntry(int profile, int key) {
    QList<int> values;
    for (const QString& text : QSettings(ProfileStore::fileNameOf(profile), QSettings::IniFormat)
                                   .value(QStringLiteral("keydefine_Q3/%1").arg(key))
                                   .toStringList())
        values << text.toInt();
    return values;
}

void TestMacroUpload::indexWalk() {
    m_profiles->setCurrentIndex(1);
    for (int p = 0; p < 6; ++p) {
        for (int k = 0; k < 8; ++k)
            m_profiles->at(p).setValue(QStringLiteral("keydefine_Q3/%1").arg(k), entry(9, 0, k % 4 + 1, 0));
        m_profiles->at(p).setValue("keydefine_Q3/6", entry(1, 0, 0xF0, 0));
    }
    m_upload->changeMacroFileIndex(2);
    for (int p : {0, 2, 3, 4}) {
        QCOMPARE(storedEntry(p, 0), (QList<int>{9, 0, 1, 0}));    // below: unchanged
        QCOMPARE(storedEntry(p, 1), (QList<int>{1, 0, 0xF1, 0})); // the deleted slot: key 1's default
        QCOMPARE(storedEntry(p, 2), (QList<int>{9, 0, 2, 0}));    // above: one down
        QCOMPARE(storedEntry(p, 3), (QList<int>{9, 0, 3, 0}));
        QCOMPARE(storedEntry(p, 5), (QList<int>{7, 0, 1, 0}));    // deleted slot on key 5
        QCOMPARE(storedEntry(p, 6), (QList<int>{1, 0, 0xF0, 0})); // not a macro: untouched
        QCOMPARE(storedEntry(p, 7), (QList<int>{9, 0, 4, 0}));    // beyond key 6: untouched
    }
    for (int p : {1, 5}) // the current profile and profile 5 are not walked
        QCOMPARE(m_profiles->at(p).value("keydefine_Q3/1").toList(), entry(9, 0, 2, 0));
}

void TestMacroUpload::typeWalk_data() {
    QTest::addColumn<int>("macroType");
    QTest::addColumn<int>("runMode");
    QTest::newRow("type 1 loops until release") << 1 << 2;
    QTest::newRow("type 0 runs once") << 0 << 0;
    QTest::newRow("type 2 runs once") << 2 << 0;
}

void TestMacroUpload::typeWalk() {
    QFETCH(int, macroType);
    QFETCH(int, runMode);
    for (int p = 0; p < 6; ++p) {
        m_profiles->at(p).setValue("keydefine_Q3/0", entry(9, 1, 3, 0));
        m_profiles->at(p).setValue("keydefine_Q3/1", entry(9, 1, 4, 0));
    }
    m_upload->changeMacroFileType(3, macroType);
    for (int p = 1; p < 5; ++p) {
        QCOMPARE(storedEntry(p, 0), (QList<int>{9, runMode, 3, 0}));
        QCOMPARE(storedEntry(p, 1), (QList<int>{9, 1, 4, 0}));
    }
    QCOMPARE(m_profiles->at(0).value("keydefine_Q3/0").toList(), entry(9, 1, 3, 0));
    QCOMPARE(m_profiles->at(5).value("keydefine_Q3/0").toList(), entry(9, 1, 3, 0));
}

QTEST_GUILESS_MAIN(TestMacroUpload)
#include "tst_macroupload.moc"
