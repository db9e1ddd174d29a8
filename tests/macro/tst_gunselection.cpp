// Gun slots of the current profile, the gun key matrices, the gun key chain,
// the gun upload with its 896-byte limit and 04H lengths, and gunData.bin.

#include "GunSelection.h"
#include "LibraryFiles.h"
#include "MacroEncoder.h"
#include "MacroLibrary.h"
#include "MacroTestSupport.h"
#include "MacroUpload.h"
#include "ProfileStore.h"

#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <algorithm>
#include <memory>

class TestGunSelection : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void selectedGuns();
    void selectedGunKeys();
    void deletedGunResetsOtherProfiles();
    void gunKeydefine();
    void gunKeyMatrix_data();
    void gunKeyMatrix();
    void gunKeyMatrixRefusesBadInput();
    void gunData04();
    void gunDataFileAbsent();
    void gunDataFile();
    void chain_data();
    void chain();
    void unbindEveryCombination();
    void uploadUnderLimit();
    void uploadAtLimitSendsOnlyLengths();
    void uploadMissingGun();
    void factoryGuns();
    void unquotedLinesStillRead();

private:
    void createGun(const QString& name, int imageBytes);

    std::unique_ptr<DataFolder> m_folder;
    std::unique_ptr<ProfileStore> m_profiles;
    RecordingMacroPort m_device;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<MacroLibrary> m_library;
    std::unique_ptr<MacroUpload> m_upload;
    std::unique_ptr<GunSelection> m_guns;
};

void TestGunSelection::init() {
    m_folder = std::make_unique<DataFolder>();
    m_profiles = std::make_unique<ProfileStore>();
    m_device = RecordingMacroPort{};
    m_library = std::make_unique<MacroLibrary>(*m_profiles, m_device, m_dialogs);
    m_upload = std::make_unique<MacroUpload>(*m_profiles, m_device, *m_library, m_dialogs);
    m_guns = std::make_unique<GunSelection>(*m_profiles, m_device, *m_library, *m_upload);
}

void TestGunSelection::cleanup() {
    m_guns.reset();
    m_upload.reset();
    m_library.reset();
    m_profiles.reset();
    m_folder.reset();
}

// A gun whose gun image is exactly imageBytes long (even, at least 6).
void TestGunSelection::createGun(const QString& name, int imageBytes) {
    QStringList lines;
    for (int i = 0; i < (imageBytes - 4) / 2; ++i)
        lines << (i % 2 ? "4,MS-L" : "3,MS-L");
    QVERIFY(m_library->createGunIni(name, 0).toBool());
    QVERIFY(m_library->saveGunIni(name, lines, {}, 1).toBool());
    QCOMPARE(m_guns->gunImage(name).size(), imageBytes);
}

void TestGunSelection::selectedGuns() {
    QCOMPARE(m_guns->getselectGun(), (QVariantList{QString(), QString(), QString()}));
    m_guns->setSelectGun({4, 1, 2});
    QCOMPARE(m_guns->getselectGun(), (QVariantList{4, 1, 2}));
    m_profiles = std::make_unique<ProfileStore>(); // read back from the file: numbers, not texts
    m_guns = std::make_unique<GunSelection>(*m_profiles, m_device, *m_library, *m_upload);
    QCOMPARE(m_guns->getselectGun(), (QVariantList{4, 1, 2}));
    QCOMPARE(QSettings(ProfileStore::fileNameOf(0), QSettings::IniFormat).value("selectGun/0").toInt(), 4);
    m_guns->setSelectGun({7, 7}); // too short
    QCOMPARE(m_guns->getselectGun(), (QVariantList{4, 1, 2}));
}

void TestGunSelection::selectedGunKeys() {
    QCOMPARE(m_guns->getselectGunKey(), QVariantList(6, QString()));
    m_guns->setSelectGunKey({5, -1, 5, 2, 2, 1});
    QCOMPARE(m_guns->getselectGunKey(), (QVariantList{5, -1, 5, 2, 2, 1}));
    QCOMPARE(QSettings(ProfileStore::fileNameOf(0), QSettings::IniFormat).value("selectGunKey/type2").toInt(), 1);
}

void TestGunSelection::deletedGunResetsOtherProfiles() {
    m_profiles->setCurrentIndex(1);
    for (int p = 0; p < 7; ++p) {
        m_profiles->at(p).setValue("selectGun/0", 4);
        m_profiles->at(p).setValue("selectGun/1", 3);
        m_profiles->at(p).setValue("selectGun/2", "4");
        for (int s = 0; s < 3; ++s)
            m_profiles->at(p).setValue(QStringLiteral("selectGunKey/%1").arg(s), 5);
    }
    m_guns->upDateDeleteGun(4);
    for (int p : {0, 2, 3, 4, 5}) {
        QSettings profile(ProfileStore::fileNameOf(p), QSettings::IniFormat);
        QCOMPARE(profile.value("selectGun/0").toInt(), 2);
        QCOMPARE(profile.value("selectGunKey/0").toInt(), -1);
        QCOMPARE(profile.value("selectGun/1").toInt(), 3);
        QCOMPARE(profile.value("selectGunKey/1").toInt(), 5);
        QCOMPARE(profile.value("selectGun/2").toInt(), 2);
        QCOMPARE(profile.value("selectGunKey/2").toInt(), -1);
    }
    for (int p : {1, 6}) {
        QCOMPARE(m_profiles->at(p).value("selectGun/0").toInt(), 4);
        QCOMPARE(m_profiles->at(p).value("selectGunKey/0").toInt(), 5);
    }
    // An unset slot chose no gun, not gun 0.
    m_guns->upDateDeleteGun(0);
    QVERIFY(!m_profiles->at(7).contains("selectGun/0"));
    QVERIFY(!m_profiles->at(0).contains("selectGunKey/7"));
}

void TestGunSelection::gunKeydefine() {
    QCOMPARE(m_guns->getGunKeydefine(2, 5), QVariantList{});
    m_profiles->current().setValue("keydefine_Q32/5", QVariantList{8, 0, 1, 3});
    LibraryFiles::flush(m_profiles->current());
    QCOMPARE(m_guns->getGunKeydefine("2", "5"), (QVariantList{8, 0, 1, 3}));
}

void TestGunSelection::gunKeyMatrix_data() {
    QTest::addColumn<int>("matrix");
    QTest::newRow("gun matrix 1") << 1;
    QTest::newRow("gun matrix 2") << 2;
    QTest::newRow("gun matrix 3") << 3;
}

void TestGunSelection::gunKeyMatrix() {
    QFETCH(int, matrix);
    QVariantList src;
    for (int n = 0; n < 16; ++n)
        src << (n == 3 ? 0x0F : 9) << 0x0F << 0x2E + n << 0x10F;
    m_guns->ui_12H_SetGunKeyMatrix(src, matrix);
    QSettings profile(ProfileStore::fileNameOf(0), QSettings::IniFormat);
    QCOMPARE(profile.value(QStringLiteral("keydefine_Q3%1/3").arg(matrix)).toStringList(),
             (QStringList{"15", "15", "49", "271"}));
    QCOMPARE(m_guns->getGunKeydefine(matrix, 0), (QVariantList{9, 15, 46, 271}));
    QCOMPARE(m_device.matrices.size(), 1);
    QCOMPARE(int(m_device.matrices.first().number), matrix + 1);
    const QList<uchar> sent = m_device.matrices.first().bytes;
    QCOMPARE(sent.mid(0, 4), hexBytes("09 0f 2e 0f"));
    QCOMPARE(sent.mid(12, 4), hexBytes("00 0f 31 0f"));
}

void TestGunSelection::gunKeyMatrixRefusesBadInput() {
    m_guns->ui_12H_SetGunKeyMatrix(QVariantList(63, 1), 1);
    m_guns->ui_12H_SetGunKeyMatrix(QVariantList(64, 1), 0);
    m_guns->ui_12H_SetGunKeyMatrix(QVariantList(64, 1), 4);
    m_guns->ui_12H_SetGunKeyMatrix(QVariantList(64, 1), "x");
    QVERIFY(m_device.matrices.isEmpty());
    QVERIFY(m_profiles->current().allKeys().isEmpty());
}

void TestGunSelection::gunData04() {
    m_guns->ui_04H_SetGunData(1, 2, 3, 4, 5);
    QCOMPARE(m_device.gunData, QList<QList<uchar>>{hexBytes("01 02 03 04 05")});
}

void TestGunSelection::gunDataFileAbsent() {
    m_guns->saveGundata({"AK", 1, 2, 3, 4, 5});
    m_guns->modifyGundata(2, {"AK", 1, 2, 3, 4, 5});
    QVERIFY(!QFile::exists(LibraryFiles::gunDataPath()));
    QCOMPARE(m_guns->getGunData("AK"), QVariantList{});
    QCOMPARE(m_guns->getGunDataKey(), QStringList{});
}

void TestGunSelection::gunDataFile() {
    QDir().mkpath("modules/gun");
    QFile file(LibraryFiles::gunDataPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    m_guns->saveGundata({"AK", 1, 2, 3, 4, 5});
    m_guns->saveGundata({"M4", 6, 7, 8, 9, 10});
    QCOMPARE(m_guns->getGunData("AK"), (QVariantList{1, 2, 3, 4, 5}));
    QCOMPARE(m_guns->getGunDataKey(), (QStringList{"AK", "M4"}));
    m_guns->modifyGundata(1, {"AK2", 5, 4, 3, 2, 1, "AK"});
    QCOMPARE(m_guns->getGunDataKey(), (QStringList{"AK2", "M4"}));
    QCOMPARE(m_guns->getGunData("AK2"), (QVariantList{5, 4, 3, 2, 1}));
    m_guns->modifyGundata(0, {"M4"});
    QCOMPARE(m_guns->getGunDataKey(), QStringList{"AK2"});
    m_guns->modifyGundata(2, {"AK2", 0, 0, 0, 0, 0});
    m_guns->saveGundata({"Mixed", "a", 1, "b c", -2, 0});
    QCOMPARE(m_guns->getGunData("Mixed"), (QVariantList{"a", 1, "b c", -2, 0}));
    QCOMPARE(m_guns->getGunData("AK2"), (QVariantList{0, 0, 0, 0, 0}));
    QCOMPARE(m_guns->getGunData("none"), QVariantList{});
}

void TestGunSelection::chain_data() {
    QTest::addColumn<QVariantList>("buttons");
    QTest::addColumn<QVariantList>("next");
    const int b = 5;
    QTest::newRow("none") << QVariantList{-1, -1, -1} << QVariantList{0, 0, 0, 0};
    QTest::newRow("0") << QVariantList{b, -1, 3} << QVariantList{1, 0, 0, 0};
    QTest::newRow("1") << QVariantList{-1, b, -1} << QVariantList{2, 0, 0, 0};
    QTest::newRow("2") << QVariantList{3, 3, b} << QVariantList{3, 0, 0, 0};
    QTest::newRow("0 1") << QVariantList{b, b, -1} << QVariantList{1, 2, 0, 0};
    QTest::newRow("0 2") << QVariantList{b, -1, b} << QVariantList{1, 3, 0, 0};
    QTest::newRow("1 2") << QVariantList{-1, b, b} << QVariantList{2, 0, 3, 0};
    QTest::newRow("0 1 2") << QVariantList{b, b, b} << QVariantList{1, 2, 3, 0};
    QTest::newRow("as text") << QVariantList{"5", "x", "5"} << QVariantList{1, 3, 0, 0};
}

void TestGunSelection::chain() {
    QFETCH(QVariantList, buttons);
    QFETCH(QVariantList, next);
    QCOMPARE(m_guns->gunKeyChain(buttons, 5), next);
}

// The button page unbinds a slot by splicing it out of the chain; that must
// agree with the chain computed afresh without the slot, for every combination.
void TestGunSelection::unbindEveryCombination() {
    const int button = 9;
    for (int bound = 0; bound < 8; ++bound) {
        QVariantList buttons;
        for (int slot = 0; slot < 3; ++slot)
            buttons << ((bound >> slot) & 1 ? button : -1);
        for (int slot = 0; slot < 3; ++slot) {
            if (!((bound >> slot) & 1))
                continue;
            QVariantList spliced = m_guns->gunKeyChain(buttons, button);
            for (int m = 0; m < 4; ++m)
                if (spliced[m].toInt() == slot + 1)
                    spliced[m] = spliced[slot + 1];
            spliced[slot + 1] = 0;
            QVariantList reduced = buttons;
            reduced[slot] = -1;
            QCOMPARE(m_guns->gunKeyChain(reduced, button), spliced);
        }
    }
}

void TestGunSelection::uploadUnderLimit() {
    createGun("A", 300);
    createGun("B", 300);
    createGun("C", 294);
    QCOMPARE(m_guns->uploadGunData({"A", "B", "C"}), QVariant(true));
    QList<uchar> all = m_guns->gunImage("A") + m_guns->gunImage("B") + m_guns->gunImage("C");
    QCOMPARE(all.size(), 894);
    QCOMPARE(m_device.writes13.size(), 7);
    for (int i = 0; i < 7; ++i) {
        QCOMPARE(int(m_device.writes13[i].slotId), 6 + i);
        QList<uchar> piece = all.mid(128 * i, 128);
        piece.resize(128, 0);
        QCOMPARE(m_device.writes13[i].bytes, piece);
    }
    QCOMPARE(m_device.gunData,
             (QList<QList<uchar>>{hexBytes("96 00 00 00 00"), hexBytes("96 00 00 00 01"), hexBytes("93 00 00 00 02")}));
}

void TestGunSelection::uploadAtLimitSendsOnlyLengths() {
    createGun("A", 300);
    createGun("B", 300);
    createGun("C", 300);
    QCOMPARE(m_guns->uploadGunData({"A", "B", "C"}), QVariant(false));
    QVERIFY(m_device.writes13.isEmpty());
    QCOMPARE(m_device.gunData,
             (QList<QList<uchar>>{hexBytes("96 00 00 00 00"), hexBytes("96 00 00 00 01"), hexBytes("96 00 00 00 02")}));
    m_device.gunData.clear();
    createGun("Big", 600);
    m_guns->uploadGunData({"Big", "Big", "A"});
    QCOMPARE(m_device.gunData.first(), hexBytes("2c 01 00 00 00"));
}

void TestGunSelection::uploadMissingGun() {
    m_library->createGunIni("Odd", 0);
    m_library->saveGunIni("Odd", {"5,1", "6,1"}, {}, 1);
    QCOMPARE(m_guns->uploadGunData({"Odd", "", "none"}), QVariant(true));
    QCOMPARE(m_device.writes13.size(), 1);
    QCOMPARE(m_device.writes13.first().bytes.mid(0, 8), hexBytes("00 01 0a fa 01 01 00 00"));
    QCOMPARE(m_device.gunData,
             (QList<QList<uchar>>{hexBytes("04 00 00 00 00"), hexBytes("00 00 00 00 01"), hexBytes("00 00 00 00 02")}));
}

void TestGunSelection::factoryGuns() {
    const QDir factory(QStringLiteral(QUELLAR_FACTORY_DIR "/modules"));
    QSettings names(factory.filePath("setting/name.bin"), QSettings::IniFormat);
    const QStringList guns = names.value("gun/gunName").toStringList();
    QCOMPARE(guns.size(), 3);
    QDir().mkpath("modules/gun");
    for (int position = 0; position < guns.size(); ++position) {
        const QString file = "modules/gun/" + guns[position] + ".bin";
        QVERIFY(QFile::copy(factory.filePath("gun/" + guns[position] + ".bin"), file));
        QCOMPARE(m_library->loadGunIndex(guns[position]).toInt(), position);
        const QStringList lines = m_library->loadGunIni(guns[position]);
        QVERIFY(lines.size() > 4);
        for (const QString& line : lines.mid(0, lines.size() - 1))
            QVERIFY2(QRegularExpression("^[0-6],\\S+$").match(line).hasMatch(), qPrintable(line));
        const auto decoded = decodePageImage(m_guns->gunImage(guns[position]), true);
        QVERIFY(decoded.has_value());
        QVERIFY(std::any_of(decoded->events.begin(), decoded->events.end(), [](const auto& e) { return e.cursor; }));
    }
    QCOMPARE(m_guns->uploadGunData(guns), QVariant(true));
    QVERIFY(!m_device.writes13.isEmpty());
}

void TestGunSelection::unquotedLinesStillRead() {
    m_library->createGunIni("G", 0);
    {
        QFile file("modules/gun/G.bin");
        QVERIFY(file.open(QIODevice::Append));
        file.write("[gun]\n0=6,-3\n1=\"3,MS-L\"\n");
    }
    m_library->setGunIndex("G", 0);
    QSettings entry("modules/gun/G.bin", QSettings::IniFormat);
    entry.setValue("config/total", 2);
    entry.sync();
    QCOMPARE(m_library->loadGunIni("G"), (QStringList{"6,-3", "3,MS-L", "1"}));
}

QTEST_GUILESS_MAIN(TestGunSelection)
#include "tst_gunselection.moc"
