// The macro and gun library files, the name lists, the profile references,
// import and export, and the refusal of names that are not plain file names.

#include "MacroLibrary.h"
#include "MacroTestSupport.h"
#include "ProfileStore.h"

#include <QDirIterator>
#include <QFile>
#include <QSettings>
#include <memory>

class TestMacroLibrary : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void createMakesFolderAndDefaults_data();
    void createMakesFolderAndDefaults();
    void createHidesOldLines();
    void saveNeedsExistingEntry();
    void saveAndLoadLines_data();
    void saveAndLoadLines();
    void damagedTotal();
    void nameListPadding_data();
    void nameListPadding();
    void nameListOtherType();
    void typeAndIndexReaders();
    void iniConfigByDevice();
    void setters();
    void referenceSearch();
    void referenceSearchGun();
    void renameMacroUpdatesReferences();
    void renameMacroToTakenNameTouchesNothing();
    void renameMacroMissing();
    void renameGunLeavesProfiles();
    void deleteEntries();
    void renameFileOnly();
    void importMacro();
    void importCancelledOrMissing();
    void importUnreadableKeepsMacro();
    void exportMacro();
    void unsafeNamesRefused_data();
    void unsafeNamesRefused();

private:
    QStringList filesBelowDataFolder() const;
    QSettings onDisk(const QString& path) const { return QSettings(path, QSettings::IniFormat); }

    std::unique_ptr<DataFolder> m_folder;
    std::unique_ptr<ProfileStore> m_profiles;
    RecordingMacroPort m_device;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<MacroLibrary> m_library;
};

void TestMacroLibrary::init() {
    m_folder = std::make_unique<DataFolder>();
    m_profiles = std::make_unique<ProfileStore>();
    m_device = RecordingMacroPort{};
    m_dialogs = ScriptedDialogs{};
    m_library = std::make_unique<MacroLibrary>(*m_profiles, m_device, m_dialogs);
}

void TestMacroLibrary::cleanup() {
    m_library.reset();
    m_profiles.reset();
    m_folder.reset();
}

QStringList TestMacroLibrary::filesBelowDataFolder() const {
    QStringList files;
    QDirIterator it(m_folder->path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(m_folder->path()).relativeFilePath(it.next());
    files.sort();
    return files;
}

void TestMacroLibrary::createMakesFolderAndDefaults_data() {
    QTest::addColumn<bool>("gun");
    QTest::newRow("macro") << false;
    QTest::newRow("gun") << true;
}

void TestMacroLibrary::createMakesFolderAndDefaults() {
    QFETCH(bool, gun);
    const QString path = gun ? "modules/gun/G.bin" : "modules/macro/G.bin";
    QVERIFY(!QDir(gun ? "modules/gun" : "modules/macro").exists());
    const QVariant created = gun ? m_library->createGunIni("G", 4) : m_library->createMacroIni("G", 4);
    QCOMPARE(created, QVariant(true));
    QVERIFY(QFile::exists(path));
    QSettings entry = onDisk(path);
    QCOMPARE(entry.value("config/index").toInt(), 4);
    QCOMPARE(entry.value("config/total").toInt(), 0);
    QCOMPARE(entry.value("config/repeat").toInt(), 1);
    QCOMPARE(entry.value("config/did").toInt(), -1);
    const QStringList lines = gun ? m_library->loadGunIni("G") : m_library->loadMacroIni("G");
    QCOMPARE(lines, QStringList{"1"});
}

void TestMacroLibrary::createHidesOldLines() {
    m_library->createMacroIni("M", 0);
    QVERIFY(m_library->saveMacroIni("M", {"1,A", "2,A"}, {}, 3).toBool());
    m_library->createMacroIni("M", 1);
    QCOMPARE(m_library->loadMacroIni("M"), QStringList{"1"});
    QCOMPARE(onDisk("modules/macro/M.bin").value("macro/0").toString(), QString("1,A"));
}

void TestMacroLibrary::saveNeedsExistingEntry() {
    QCOMPARE(m_library->saveMacroIni("none", {"1,A"}, {}, 1), QVariant(false));
    QCOMPARE(m_library->saveGunIni("none", {"1,A"}, {}, 1), QVariant(false));
    QVERIFY(!QFile::exists("modules/macro/none.bin"));
    QVERIFY(!QFile::exists("modules/gun/none.bin"));
}

void TestMacroLibrary::saveAndLoadLines_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("repeat");
    QTest::newRow("none") << QStringList{} << 7;
    QTest::newRow("one") << QStringList{"1,A"} << 1;
    QTest::newRow("with comma names") << QStringList{"1,, <", "0,50", "2,, <"} << 65535;
    QTest::newRow("cursor") << QStringList{"5,-3", "6,4", "0,10"} << 0;
}

void TestMacroLibrary::saveAndLoadLines() {
    QFETCH(QStringList, lines);
    QFETCH(int, repeat);
    m_library->createMacroIni("M", 0);
    m_library->saveMacroIni("M", {"1,X", "1,Y", "1,Z", "1,W"}, {}, 2);
    QCOMPARE(m_library->saveMacroIni("M", lines, {}, repeat), QVariant(true));
    QCOMPARE(m_library->loadMacroIni("M"), lines + QStringList{QString::number(repeat)});
    // Lines of a longer earlier save are gone from the file.
    QVERIFY(!onDisk("modules/macro/M.bin").contains(QStringLiteral("macro/%1").arg(lines.size())));
    m_library->createGunIni("G", 0);
    m_library->saveGunIni("G", lines, {}, repeat);
    QCOMPARE(m_library->loadGunIni("G"), lines + QStringList{QString::number(repeat)});
}

void TestMacroLibrary::damagedTotal() {
    m_library->createMacroIni("M", 0);
    m_library->saveMacroIni("M", {"1,A", "0,5", "2,A"}, {}, 4);
    {
        QSettings entry("modules/macro/M.bin", QSettings::IniFormat);
        entry.remove("macro/1");
        entry.setValue("config/total", 2000000000);
    }
    // The missing middle line reads as 0; nothing is made up past the last line.
    QCOMPARE(m_library->loadMacroIni("M"), (QStringList{"1,A", "0", "2,A", "4"}));
    {
        QSettings entry("modules/macro/M.bin", QSettings::IniFormat);
        entry.setValue("config/total", "garbage");
    }
    QCOMPARE(m_library->loadMacroIni("M"), QStringList{"4"});
}

void TestMacroLibrary::nameListPadding_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("readBack");
    QTest::newRow("one macro") << 0 << "macro/macroName" << QStringList{"Macro_0"}
                               << QStringList{"Macro_0", "loadermarble"};
    QTest::newRow("two macros") << 0 << "macro/macroName" << QStringList{"a", "b"} << QStringList{"a", "b"};
    QTest::newRow("guns") << 1 << "gun/gunName" << QStringList{"General", "x, y", "Three fire"}
                          << QStringList{"General", "x, y", "Three fire"};
    QTest::newRow("one profile") << 2 << "profile/profileName" << QStringList{"P"} << QStringList{"P", "loadermarble"};
    QTest::newRow("select gun") << 3 << "gun/selectGun" << QStringList{"1", "2"} << QStringList{"1", "2"};
}

void TestMacroLibrary::nameListPadding() {
    QFETCH(int, type);
    QFETCH(QString, key);
    QFETCH(QStringList, names);
    QFETCH(QStringList, readBack);
    QCOMPARE(m_library->updataNameList(type, names), QVariant(true));
    QCOMPARE(onDisk("modules/setting/name.bin").value(key).toStringList(), readBack);
    QVariantList expected;
    for (const QString& name : readBack)
        expected << name;
    QCOMPARE(m_library->getNameList(type), expected);

    QCOMPARE(m_library->updataNameList(type, {}), QVariant(true));
    QVERIFY(!onDisk("modules/setting/name.bin").contains(key));
    QCOMPARE(m_library->getNameList(type), QVariantList{});
}

void TestMacroLibrary::nameListOtherType() {
    m_library->updataNameList(0, {"a", "b"});
    QCOMPARE(m_library->updataNameList(7, {"x", "y"}), QVariant(true));
    QCOMPARE(m_library->updataNameList("text", {"x", "y"}), QVariant(true));
    QCOMPARE(m_library->getNameList(7), QVariantList{});
    QCOMPARE(m_library->getNameList("text"), QVariantList{});
    QCOMPARE(onDisk("modules/setting/name.bin").allKeys(), QStringList{"macro/macroName"});
}

void TestMacroLibrary::typeAndIndexReaders() {
    QCOMPARE(m_library->loadMacroType("none").toInt(), 0);
    QCOMPARE(m_library->loadMacroIndex("none").toInt(), 0);
    QCOMPARE(m_library->loadGunType("none").toInt(), 0);
    QCOMPARE(m_library->loadGunIndex("none").toInt(), 0);
    m_library->createMacroIni("M", 3);
    m_library->createGunIni("G", 5);
    QCOMPARE(m_library->loadMacroType("M"), QVariant(-1));
    QCOMPARE(m_library->loadMacroIndex("M"), QVariant(3));
    QCOMPARE(m_library->loadGunType("G"), QVariant(-1));
    QCOMPARE(m_library->loadGunIndex("G"), QVariant(5));
}

void TestMacroLibrary::iniConfigByDevice() {
    QCOMPARE(m_library->loadMacroIniConfig("none"), QVariantList{});
    m_library->createMacroIni("M", 0);
    m_device.deviceId = 1;
    m_library->setMacroIniConfig("M", {4, 9});
    QCOMPARE(onDisk("modules/macro/M.bin").value("config/did").toInt(), 1);
    QCOMPARE(m_library->loadMacroIniConfig("M"), (QVariantList{4, 9}));
    m_device.deviceId = 0;
    QCOMPARE(m_library->loadMacroIniConfig("M"), (QVariantList{-1, 9}));
    m_library->setMacroIniConfig("M", {5}); // too short: nothing changes
    QCOMPARE(onDisk("modules/macro/M.bin").value("config/index").toInt(), 4);
}

void TestMacroLibrary::setters() {
    m_library->setMacroIndex("none", 3);
    m_library->setGunIndex("none", 3);
    m_library->setMacroType("none", 3);
    QVERIFY(!QFile::exists("modules/macro/none.bin"));
    QVERIFY(!QFile::exists("modules/gun/none.bin"));
    m_library->createMacroIni("M", 0);
    m_library->createGunIni("G", 0);
    m_library->setMacroIndex("M", 6);
    m_library->setGunIndex("G", 8);
    m_library->setMacroType("M", 1);
    QCOMPARE(onDisk("modules/macro/M.bin").value("config/index").toInt(), 6);
    QCOMPARE(onDisk("modules/gun/G.bin").value("config/index").toInt(), 8);
    QCOMPARE(onDisk("modules/macro/M.bin").value("config/did").toInt(), 1);
}

void TestMacroLibrary::referenceSearch() {
    QCOMPARE(m_library->isMacroUse("M"), QStringList{"Name"});
    m_profiles->at(0).setValue("macro/2", "M");
    m_profiles->at(3).setValue("macro/2", "M");
    m_profiles->at(3).setValue("macro/1", "Other");
    m_profiles->at(6).setValue("macro/4", "M"); // beyond the six listed profiles
    QCOMPARE(m_library->isMacroUse("M"), (QStringList{"Name", "2", "2"}));
    m_profiles->at(1).setValue("macro/10", "M");
    m_profiles->at(1).setValue("macro/3", "M");
    // Keys come in the order the settings object lists them: as text.
    QCOMPARE(m_library->isMacroUse("M"), (QStringList{"Name", "2", "10", "3", "2"}));
}

void TestMacroLibrary::referenceSearchGun() {
    m_profiles->at(5).setValue("gun/1", "G");
    m_profiles->at(5).setValue("macro/0", "G");
    QCOMPARE(m_library->isGunUse("G"), (QStringList{"Name", "1"}));
}

void TestMacroLibrary::renameMacroUpdatesReferences() {
    m_library->createMacroIni("Old", 0);
    for (int p = 0; p < 7; ++p)
        m_profiles->at(p).setValue("macro/1", "Old");
    m_profiles->at(2).setValue("macro/3", "Keep");
    QCOMPARE(m_library->modifyMacroName("Old", "New"), QVariant(true));
    QVERIFY(!QFile::exists("modules/macro/Old.bin"));
    QVERIFY(QFile::exists("modules/macro/New.bin"));
    for (int p = 0; p < 6; ++p)
        QCOMPARE(onDisk(ProfileStore::fileNameOf(p)).value("macro/1").toString(), QString("New"));
    QCOMPARE(m_profiles->at(6).value("macro/1").toString(), QString("Old"));
    QCOMPARE(m_profiles->at(2).value("macro/3").toString(), QString("Keep"));
}

void TestMacroLibrary::renameMacroToTakenNameTouchesNothing() {
    m_library->createMacroIni("A", 0);
    m_library->createMacroIni("B", 1);
    m_profiles->at(0).setValue("macro/0", "A");
    QCOMPARE(m_library->modifyMacroName("A", "B"), QVariant(false));
    QCOMPARE(m_profiles->at(0).value("macro/0").toString(), QString("A"));
    QVERIFY(QFile::exists("modules/macro/A.bin"));
    QCOMPARE(m_library->modifyMacroName("A", "A"), QVariant(false));
}

void TestMacroLibrary::renameMacroMissing() {
    m_profiles->at(0).setValue("macro/0", "Ghost");
    QCOMPARE(m_library->modifyMacroName("Ghost", "New"), QVariant(false));
    QCOMPARE(m_profiles->at(0).value("macro/0").toString(), QString("Ghost"));
}

void TestMacroLibrary::renameGunLeavesProfiles() {
    m_library->createGunIni("G", 0);
    m_profiles->at(0).setValue("gun/0", "G");
    QCOMPARE(m_library->modifyGunName("G", "H"), QVariant(true));
    QVERIFY(QFile::exists("modules/gun/H.bin"));
    QCOMPARE(m_profiles->at(0).value("gun/0").toString(), QString("G"));
    QCOMPARE(m_library->modifyGunName("G", "I"), QVariant(false));
}

void TestMacroLibrary::deleteEntries() {
    QCOMPARE(m_library->deleteMacroIni("M"), QVariant(false));
    m_library->createMacroIni("M", 0);
    m_library->createGunIni("G", 0);
    m_library->updataNameList(0, {"M", "N"});
    QCOMPARE(m_library->deleteMacroIni("M"), QVariant(true));
    QCOMPARE(m_library->deleteGunIni("G"), QVariant(true));
    QVERIFY(!QFile::exists("modules/macro/M.bin"));
    QVERIFY(!QFile::exists("modules/gun/G.bin"));
    QCOMPARE(m_library->getNameList(0).size(), 2);
}

void TestMacroLibrary::renameFileOnly() {
    m_library->createMacroIni("A", 0);
    m_profiles->at(0).setValue("macro/0", "A");
    m_library->renameMacroIniFile("A", "B");
    QVERIFY(QFile::exists("modules/macro/B.bin"));
    QCOMPARE(m_profiles->at(0).value("macro/0").toString(), QString("A"));
}

void TestMacroLibrary::importMacro() {
    m_library->createMacroIni("M", 0);
    const QString chosen = m_folder->path() + "/import.mc";
    {
        QSettings source(chosen, QSettings::IniFormat);
        source.setValue("config/total", 1);
        source.setValue("config/repeat", 4);
        source.setValue("macro/0", "1,Q");
    }
    m_dialogs.openAnswer = chosen;
    QCOMPARE(m_library->loadMacroIniFromFile("M"), QVariant(chosen));
    QCOMPARE(m_dialogs.asked, QStringList{"Open File|Macro(*.mc)"});
    QCOMPARE(m_library->loadMacroIni("M"), (QStringList{"1,Q", "4"}));
    QVERIFY(QFile::exists(chosen));
    QVERIFY(!QFile::exists("modules/macro/M.bin.part"));
}

void TestMacroLibrary::importCancelledOrMissing() {
    m_dialogs.openAnswer.clear();
    QCOMPARE(m_library->loadMacroIniFromFile("M"), QVariant(QString(" ")));
    QFile file(m_folder->path() + "/x.mc");
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    m_dialogs.openAnswer = file.fileName();
    QCOMPARE(m_library->loadMacroIniFromFile("M"), QVariant(QString(" ")));
    QVERIFY(!QFile::exists("modules/macro/M.bin"));
}

void TestMacroLibrary::importUnreadableKeepsMacro() {
    m_library->createMacroIni("M", 0);
    m_library->saveMacroIni("M", {"1,A"}, {}, 2);
    m_dialogs.openAnswer = m_folder->path() + "/does-not-exist.mc";
    QCOMPARE(m_library->loadMacroIniFromFile("M"), QVariant(QString(" ")));
    QCOMPARE(m_library->loadMacroIni("M"), (QStringList{"1,A", "2"}));
    QVERIFY(!QFile::exists("modules/macro/M.bin.part"));
}

void TestMacroLibrary::exportMacro() {
    m_library->saveMacroIniToFile("M"); // no macro: no question either
    QVERIFY(m_dialogs.asked.isEmpty());
    m_library->createMacroIni("M", 0);
    m_library->saveMacroIni("M", {"1,A"}, {}, 2);
    const QString target = m_folder->path() + "/out.mc";
    QFile old(target);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("stale");
    old.close();
    m_dialogs.saveAnswer = target;
    m_library->saveMacroIniToFile("M");
    QCOMPARE(m_dialogs.asked, QStringList{"Save File|Macro(*.mc)"});
    QFile exported(target), source("modules/macro/M.bin");
    QVERIFY(exported.open(QIODevice::ReadOnly) && source.open(QIODevice::ReadOnly));
    QCOMPARE(exported.readAll(), source.readAll());
    m_dialogs.saveAnswer.clear();
    m_library->saveMacroIniToFile("M");
    QVERIFY(QFile::exists(target));
}

void TestMacroLibrary::unsafeNamesRefused_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << QString();
    QTest::newRow("slash") << "a/b";
    QTest::newRow("parent folder") << "../p1";
    QTest::newRow("backslash") << "a\\b";
    QTest::newRow("nul") << QString("a") + QChar(0) + "b";
    QTest::newRow("leading dot") << ".hidden";
    QTest::newRow("101 characters") << QString(101, QChar('x'));
}

void TestMacroLibrary::unsafeNamesRefused() {
    QFETCH(QString, name);
    m_library->createMacroIni("Good", 0);
    m_library->createGunIni("Good", 0);
    m_profiles->at(0).setValue("macro/0", name);
    LibraryFiles::flush(m_profiles->at(0));
    const QStringList before = filesBelowDataFolder();

    QCOMPARE(m_library->createMacroIni(name, 0), QVariant(false));
    QCOMPARE(m_library->createGunIni(name, 0), QVariant(false));
    QCOMPARE(m_library->saveMacroIni(name, {"1,A"}, {}, 1), QVariant(false));
    QCOMPARE(m_library->saveGunIni(name, {"1,A"}, {}, 1), QVariant(false));
    QCOMPARE(m_library->loadMacroIni(name), QStringList{});
    QCOMPARE(m_library->loadGunIni(name), QStringList{});
    QCOMPARE(m_library->loadMacroType(name).toInt(), 0);
    QCOMPARE(m_library->loadGunIndex(name).toInt(), 0);
    QCOMPARE(m_library->loadMacroIniConfig(name), QVariantList{});
    m_library->setMacroIniConfig(name, {1, 2});
    m_library->setMacroIndex(name, 1);
    m_library->setGunIndex(name, 1);
    m_library->setMacroType(name, 1);
    QCOMPARE(m_library->modifyMacroName("Good", name), QVariant(false));
    QCOMPARE(m_library->modifyMacroName(name, "Other"), QVariant(false));
    QCOMPARE(m_library->modifyGunName("Good", name), QVariant(false));
    QCOMPARE(m_library->deleteMacroIni(name), QVariant(false));
    QCOMPARE(m_library->deleteGunIni(name), QVariant(false));
    QCOMPARE(m_library->isMacroUse(name), QStringList{"Name"});
    m_library->renameMacroIniFile("Good", name);
    m_dialogs.openAnswer = "modules/macro/Good.bin";
    QCOMPARE(m_library->loadMacroIniFromFile(name), QVariant(QString(" ")));
    m_dialogs.saveAnswer = m_folder->path() + "/out.mc";
    m_library->saveMacroIniToFile(name);

    QCOMPARE(filesBelowDataFolder(), before);
    QCOMPARE(m_profiles->at(0).value("macro/0").toString(), name);
}

QTEST_GUILESS_MAIN(TestMacroLibrary)
#include "tst_macrolibrary.moc"
