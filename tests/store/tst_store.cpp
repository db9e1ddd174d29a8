// SPDX-License-Identifier: GPL-3.0-or-later
// The configuration store on a fresh data folder: application configuration, settings values,
// language packs, profile table and whole-profile operations, and the factory data tree.

#include "AppConfig.h"
#include "FileSizeLimit.h"
#include "LanguagePacks.h"
#include "LinkState.h"
#include "ProfileManager.h"
#include "ProfileStore.h"
#include "SettingsValues.h"
#include "StoreTestSupport.h"

#include <QDirIterator>
#include <QTest>
#include <functional>
#include <sys/stat.h>

namespace {

namespace SV = SettingsValues;
const QString kConfig = "modules/setting/apConfig.bin";
const QString kConfigFactory = "modules/setting/apConfigD.bin";
const QString kProfileFactory = "modules/setting/pD_standard.bin";
const QString kPack = "modules/i18n/lang_025044.ini";

void ignoreWarning(const char* pattern) {
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(pattern));
}
// The value of key "k" after writing the INI text `line` under [g].
QVariant readBack(const QByteArray& line) {
    writeFile("values.ini", "[g]\n" + line + "\n");
    return QSettings("values.ini", QSettings::IniFormat).value("g/k");
}
QStringList prefixes() {
    QStringList list;
    for (int i = 0; i < LinkState::kStageCount; ++i)
        list << LinkState::dpiMessagePrefix(i);
    return list;
}
QString file(int position) {
    return ProfileStore::fileNameOf(position);
}
QByteArray text(int position) {
    return QString("[sensor]\nreportRate_Q3=%1\ndpi_Q3=%1, 200\n").arg(position + 1).toUtf8();
}
// Larger than a FileSizeLimit of kRoomBytes, which leaves room for Qt's lock files.
constexpr rlim_t kRoomBytes = 512;
QByteArray largeProfile() {
    return "[sensor]\nreportRate_Q3=7\nnote=" + QByteArray(2000, 'n') + "\n";
}

// Ten distinct profiles and a factory profile on disk, and the objects under test.
struct Fixture {
    TestDataFolder folder;
    bool written = [] {
        bool ok = writeFile(kProfileFactory, "[sensor]\nreportRate_Q3=8\n");
        for (int i = 0; i < ProfileStore::kCount; ++i)
            ok = writeFile(file(i), text(i)) && ok;
        return ok;
    }();
    ProfileStore profiles;
    AppConfig config;
    ProfileManager manager{profiles, config};

    int rate(int position) { return profiles.at(position).value("sensor/reportRate_Q3").toInt(); }
    // Every profile but `changed` still holds its own text, on disk and in memory.
    bool othersUnchanged(int changed) {
        for (int i = 0; i < ProfileStore::kCount; ++i)
            if (i != changed && (readFile(file(i)) != text(i) || rate(i) != i + 1))
                return false;
        return true;
    }
};

using Op = std::function<void(Fixture&)>;

bool hasChinese(const QString& text) {
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF; });
}
// The factory data tree shipped with the program, copied into the current data folder.
bool copyFactoryTree() {
    const QDir factory(QStringLiteral(QUELLAR_FACTORY_MODULES));
    for (QDirIterator it(factory.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString target = "modules/" + factory.relativeFilePath(it.next());
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(it.filePath(), target))
            return false;
    }
    return true;
}
} // namespace
Q_DECLARE_METATYPE(Op)

class TestStore : public QObject {
    Q_OBJECT
private slots:
    void init() {
        for (int i = 0; i < LinkState::kStageCount; ++i)
            LinkState::setDpiMessagePrefix(i, "DPI Switch to");
    }

    void configFromNoFileToReset() {
        TestDataFolder folder;
        AppConfig config;
        QVERIFY(!config.getLang().isValid());
        QCOMPARE(config.profileNumber(), 0);
        QCOMPARE(config.loadDeviceApConfig(), QVariantList{8});
        QVERIFY(config.loadApConfig().isEmpty());
        QCOMPARE(AppConfig::windowTitle(), QString());
        QCOMPARE(config.secrecyCodeText(1), "731905");
        QVERIFY(config.productNames().isEmpty());
        QVERIFY(!QFile::exists(kConfig)); // reading creates nothing
        for (uint given : {3u, 4u}) {
            config.setProfileNumber(given);
            QCOMPARE(TestDataFolder::onDisk(kConfig, "Q3/profileNo").toString(), QString::number(given));
            QCOMPARE(config.profileNumber(), int(given));
        }
        config.saveApConfig({1, "two", QVariantList{3, 4}});
        QVERIFY(readFile(kConfig).contains("0=1\n1=two\n2=3, 4\ntotal=3\n"));
        QCOMPARE(config.loadApConfig(), (QVariantList{"1", "two", QVariantList{"3", "4"}}));
        config.saveApConfig({});
        QVERIFY(config.loadApConfig().isEmpty());
        const QByteArray before = readFile(kConfig);
        ignoreWarning("cannot read");
        config.resetApconfig(); // without factory file: configuration kept
        QCOMPARE(readFile(kConfig), before);
        QVERIFY(writeFile(kConfigFactory, "[common]\nlanguage=English\n[Q3]\nprofileNo=0\ncolorMaxStage=6\n"));
        config.resetApconfig();
        QCOMPARE(readFile(kConfig), readFile(kConfigFactory));
        QCOMPARE(config.loadDeviceApConfig(), QVariantList{6});
    }

    void windowTitle_data() {
        QTest::addColumn<QByteArray>("language");
        QTest::addColumn<QString>("title");
        QTest::newRow("chinese") << QByteArray("language=ChineseSimplified") << QString("鼠标设置");
        QTest::newRow("english") << QByteArray("language=English") << QString("Mouse Settings, K417");
        QTest::newRow("case differs") << QByteArray("language=chinesesimplified") << QString("Mouse Settings, K417");
        QTest::newRow("absent") << QByteArray() << QString("Mouse Settings, K417");
    }
    void windowTitle() {
        QFETCH(QByteArray, language);
        TestDataFolder folder;
        QVERIFY(writeFile(kConfig, "[common]\n" + language + "\nname=鼠标设置\nname0=\"Mouse Settings, K417\"\n"));
        QTEST(AppConfig::windowTitle(), "title");
    }

    // Values as the file holds them; a huge list total is capped.
    void configFileValues() {
        TestDataFolder folder;
        QVERIFY(writeFile(kConfig, "[common]\ntotal=abc\nsCode0=012345\nproduct_name=\"KB Q3\", \"K417\"\n"
                                   "[Q3]\ncolorMaxStage=x\n"));
        AppConfig config;
        QVERIFY(config.loadApConfig().isEmpty());
        QCOMPARE(config.loadDeviceApConfig(), QVariantList{8});
        QCOMPARE(config.secrecyCodeText(0), "012345"); // the leading zero is kept
        QCOMPARE(config.productNames(), (QStringList{"KB Q3", "K417"}));
        QVERIFY(writeFile(kConfig, "[common]\ntotal=2000000000\n0=first\n"));
        ignoreWarning("claims 2000000000 entries");
        const QVariantList list = AppConfig().loadApConfig();
        QCOMPARE(list.size(), AppConfig::kMaxApConfigEntries);
        QCOMPARE(list.first(), QVariant("first"));
        QCOMPARE(list.last(), QVariant(0));
    }

    void conversions_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QVariantList>("integers");
        QTest::addColumn<QVariantList>("onlyIntegers"); // a bad element refuses the list
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("integer"); // 9, 9u and true are the fallbacks
        QTest::addColumn<uint>("unsignedValue");
        QTest::addColumn<bool>("boolean");
        QTest::addColumn<int>("byte");
        const QVariantList none;
        QTest::newRow("list") << QByteArray("k=800, 1600") << QVariantList{800, 1600} << QVariantList{800, 1600}
                              << QStringList{"800", "1600"} << 9 << 9u << true << 0;
        QTest::newRow("one element") << QByteArray("k=800") << QVariantList{800} << QVariantList{800}
                                     << QStringList{"800"} << 800 << 800u << true << 32;
        QTest::newRow("empty list") << QByteArray("k=@Invalid()") << none << none << QStringList() << 9 << 9u << true
                                    << 0;
        QTest::newRow("garbage") << QByteArray("k=1, x, -3") << QVariantList{1, 0, -3} << none
                                 << QStringList{"1", "x", "-3"} << 9 << 9u << true << 0;
        QTest::newRow("words in a list") << QByteArray("k=true, false") << QVariantList{1, 0} << QVariantList{1, 0}
                                         << QStringList{"true", "false"} << 9 << 9u << true << 0;
        QTest::newRow("false") << QByteArray("k=false") << QVariantList{0} << QVariantList{0} << QStringList{"false"}
                               << 0 << 0u << false << 0;
        QTest::newRow("text") << QByteArray("k=abc") << QVariantList{0} << none << QStringList{"abc"} << 9 << 9u << true
                              << 0;
        QTest::newRow("negative") << QByteArray("k=-4") << QVariantList{-4} << QVariantList{-4} << QStringList{"-4"}
                                  << -4 << 9u << true << 252;
    }
    void conversions() {
        TestDataFolder folder;
        QFETCH(QByteArray, line);
        const QVariant stored = readBack(line);
        QTEST(SV::integers(stored), "integers");
        QTEST(SV::integers(stored, SV::BadElement::RefusesList), "onlyIntegers");
        QTEST(SV::texts(stored), "texts");
        QTEST(SV::integer(stored, 9), "integer");
        QTEST(SV::unsignedInteger(stored, 9), "unsignedValue");
        QTEST(SV::boolean(stored, true), "boolean");
        QTEST(int(SV::byteOf(stored)), "byte");
    }

    void shapesWrittenByQt() {
        TestDataFolder folder;
        QSettings file("values.ini", QSettings::IniFormat);
        file.setValue("g/empty", QVariantList{});
        QVERIFY(SV::writeNow(file, "g/t", "a, b"));
        QCOMPARE(readFile("values.ini"), QByteArray("[g]\nempty=@Invalid()\nt=\"a, b\"\n"));
        QCOMPARE(SV::unsignedIntegers(readBack("k=15, 0")), (QVariantList{15u, 0u}));
        QCOMPARE(SV::text(readBack("k=\"a, b\"")), "a, b");
        QCOMPARE(SV::text(readBack("k=a, b")), "a, b");
        QVERIFY(QDir().mkpath("blocked.ini")); // a folder where the file should be: nobody can write it
        QSettings blocked("blocked.ini", QSettings::IniFormat);
        ignoreWarning("could not write");
        QVERIFY(!SV::writeNow(blocked, "g/k", 5));
        QVERIFY(QDir().rmdir("blocked.ini")); // Qt keeps reporting its first error; the write itself now works
        QVERIFY(SV::writeNow(blocked, "g/k", 6));
        QCOMPARE(readFile("blocked.ini"), QByteArray("[g]\nk=6\n"));
        // A hand-edited file Qt reads with a format error is no failed write.
        QVERIFY(writeFile("edited.ini", "[g\nk=1\n"));
        QSettings edited("edited.ini", QSettings::IniFormat);
        QTest::failOnWarning(QRegularExpression("could not write"));
        QVERIFY(SV::flush(edited));
        QVERIFY(SV::writeNow(edited, "h/k", 2));
        QCOMPARE(TestDataFolder::onDisk("edited.ini", "h/k").toInt(), 2);
    }

    void copyOverIsExact() {
        TestDataFolder folder;
        QVERIFY(writeFile("a", "[g]\nk=1\n") && writeFile("b", "[g]\nk=2\n"));
        QVERIFY(SV::copyOver("a", "b"));
        QCOMPARE(readFile("b"), QByteArray("[g]\nk=1\n"));
        QVERIFY(writeFile("limit", QByteArray(SV::kMaxCopiedFileBytes, 'x')));
        QVERIFY(SV::copyOver("limit", "c"));
        QCOMPARE(QFileInfo("c").size(), SV::kMaxCopiedFileBytes);
    }

    // Only existing regular files up to the limit are copied: a FIFO would block for ever,
    // a device would never end. The target stays as it was.
    void copyOverRefusesWhatIsNoFile_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("why");
        QTest::newRow("missing") << QString("missing") << QString("cannot read");
        QTest::newRow("fifo") << QString("fifo") << QString("refused to read .*not a regular file");
        QTest::newRow("endless device") << QString("/dev/zero") << QString("refused to read .*not a regular file");
        QTest::newRow("folder") << QString(".") << QString("refused to read .*not a regular file");
        QTest::newRow("one byte too large") << QString("large") << QString("refused to read .*larger than 1048576");
    }
    void copyOverRefusesWhatIsNoFile() {
        QFETCH(QString, source);
        QFETCH(QString, why);
        TestDataFolder folder;
        QVERIFY(::mkfifo("fifo", 0600) == 0);
        QVERIFY(writeFile("large", QByteArray(SV::kMaxCopiedFileBytes + 1, 'x')));
        QVERIFY(writeFile("b", "[g]\nk=2\n"));
        ignoreWarning(qPrintable(why));
        QVERIFY(!SV::copyOver(source, "b"));
        QCOMPARE(readFile("b"), QByteArray("[g]\nk=2\n"));
        QCOMPARE(QDir().entryList(QDir::Files | QDir::System), (QStringList{"b", "fifo", "large"}));
    }

    void listsPacksByDisplayName() {
        TestDataFolder folder;
        QVERIFY(writeFile(kPack, "[main]\ntotal=0\n") && writeFile("modules/i18n/readme.txt", ""));
        QVERIFY(writeFile("modules/i18n/lang_025208.ini", ""));
        QCOMPARE(LanguagePacks().installedLanguages(),
                 (QMap<QString, QString>{{"CHINESE (Simp)", "025044"}, {"CHINESE (Trad)", "025208"}}));
        QVERIFY(QDir("modules/i18n").removeRecursively());
        QVERIFY(LanguagePacks().installedLanguages().isEmpty());
        for (const QString pair :
             {"025044=CHINESE (Simp)", "025208=CHINESE (Trad)", "031000=ENGLISH", "999998=999 (998)"})
            QCOMPARE(LanguagePacks::displayName(pair.left(6)), pair.mid(7));
    }

    void groups_data() {
        QTest::addColumn<uint>("type");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("main stops at total") << 0u << QStringList{"主页", "设置", ""};
        QTest::newRow("keyMenu") << 2u << QStringList{"m0", "m1"};
        QTest::newRow("macroKey missing") << 5u << QStringList();
        QTest::newRow("ungrouped") << 7u << QStringList{"top0"};
    }
    void groups() {
        QFETCH(uint, type);
        TestDataFolder folder;
        QVERIFY(writeFile(kPack, QStringLiteral("total=1\n0=top0\n[main]\ntotal=3\n0=主页\n1=设置\n3=beyond\n"
                                                "[keyMenu]\ntotal=2\n0=m0\n1=m1\n")
                                     .toUtf8()));
        QTEST(LanguagePacks().groupStrings(type, "lang_025044"), "expected");
        QCOMPARE(prefixes(), QStringList(LinkState::kStageCount, "DPI Switch to"));
    }

    void badPacks() {
        TestDataFolder folder;
        LanguagePacks packs;
        QVERIFY(packs.groupStrings(0, "lang_025044").isEmpty()); // no pack
        QCOMPARE(packs.productLayoutStrings("025044"), QStringList(16));
        QVERIFY(writeFile(kPack, "[main]\ntotal=1000000000\n0=x\n[other]\ntotal=3\n0=a\n1=b\n2=c\n"));
        ignoreWarning("claims 1000000000");
        QCOMPARE(packs.groupStrings(0, "lang_025044").size(), LanguagePacks::kMaxEntries);
        packs.groupStrings(6, "lang_025044"); // a short group keeps the remaining prefixes
        QCOMPARE(prefixes().mid(0, 4), (QStringList{"a", "b", "c", "DPI Switch to"}));
        QCOMPARE(prefixes().last(), "DPI Switch to");
        QVERIFY(writeFile("modules/secret.ini", "[main]\ntotal=1\n0=secret\n"));
        ignoreWarning("name refused");
        QVERIFY(packs.groupStrings(0, "../secret").isEmpty());
        ignoreWarning("name refused");
        QCOMPARE(packs.productLayoutStrings("x/../../secret"), QStringList(16));
        QVERIFY(writeFile(kPack, "[Q3_133C6AA]\n0=L0\n15=L15\n16=L16\n"));
        QCOMPARE(packs.productLayoutStrings("025044"), QStringList{"L0"} + QStringList(14) + QStringList{"L15"});
    }

    void switchStoresNumberOnlyOnChangeAtOnce() {
        Fixture f;
        f.manager.switchTo(0);
        QVERIFY(!QFile::exists(kConfig));
        f.manager.switchTo(4);
        QCOMPARE(TestDataFolder::onDisk(kConfig, "Q3/profileNo").toInt(), 4);
        QVERIFY(f.profiles.writeCurrent("sensor/stage_Q3", 3));
        QCOMPARE(TestDataFolder::onDisk(file(4), "sensor/stage_Q3").toInt(), 3);
    }

    void copyProfile() {
        for (auto [dest, src] : {std::pair{9, 0}, {2, 2}}) { // onto itself keeps the profile
            Fixture f;
            f.manager.copyProfile(dest, src);
            QCOMPARE(readFile(file(dest)), text(src));
            QCOMPARE(f.rate(dest), src + 1);
            QVERIFY(f.othersUnchanged(dest));
        }
        Fixture f;
        f.profiles.at(3).setValue("sensor/stage_Q3", 4); // not yet flushed, but copied along
        f.manager.copyProfile(5, 3);
        QCOMPARE(f.profiles.at(5).value("sensor/stage_Q3").toInt(), 4);
    }

    void positionsOutsideTableAreRefused() {
        for (int position : {-1, 10}) {
            Fixture f;
            for (int i = 0; i < 8; ++i)
                ignoreWarning("refused");
            f.manager.resetToFactory(position);
            f.manager.copyProfile(position, 1);
            f.manager.copyProfile(1, position);
            f.manager.copyProfile(position, position);
            QVERIFY(!f.manager.importProfile(position, "out.pf"));
            f.manager.exportProfile(position, "out.pf");
            f.manager.switchTo(position);
            QCOMPARE(f.profiles.currentIndex(), 0);
            QVERIFY(!f.manager.acceptsPosition(position, "loadProfile"));
            QVERIFY(!QFile::exists("out.pf"));
            QCOMPARE(QDir("modules/setting").entryList(QDir::Files).size(), ProfileStore::kCount + 1);
            QVERIFY(f.othersUnchanged(-1));
        }
    }

    void profileReset() {
        Fixture f;
        f.manager.resetToFactory(3);
        QCOMPARE(readFile(file(3)), readFile(kProfileFactory));
        QCOMPARE(f.rate(3), 8);
        QVERIFY(!f.profiles.at(3).contains("sensor/dpi_Q3"));
        QVERIFY(QFile::remove(kProfileFactory));
        ignoreWarning("cannot read");
        f.manager.resetToFactory(4); // without factory file: profile kept
        QVERIFY(f.othersUnchanged(3));
    }

    void import() {
        Fixture f;
        QVERIFY(writeFile("mine.pf", "[sensor]\nreportRate_Q3=4\n"));
        ignoreWarning("cannot read");
        QVERIFY(!f.manager.importProfile(6, "missing.pf")); // unreadable: profile kept, nothing to show
        ignoreWarning("not a regular file");
        QVERIFY(!f.manager.importProfile(6, "/dev/zero")); // a device is no profile: never read
        QVERIFY(f.othersUnchanged(-1));
        QVERIFY(f.manager.importProfile(6, "mine.pf"));
        QCOMPARE(readFile(file(6)), readFile("mine.pf"));
        QCOMPARE(f.rate(6), 4);
    }

    void exportProfile() {
        Fixture f;
        QVERIFY(writeFile("old.pf", "stale contents that are longer than the profile"));
        for (const QString& target :
             {QString("old.pf"), QString("noextension"), QFileInfo(file(4)).absoluteFilePath()}) {
            f.manager.exportProfile(4, target);
            QCOMPARE(readFile(target), text(4));
        }
        QVERIFY(f.othersUnchanged(-1));
        QVERIFY(QFile::remove(file(5)));
        ignoreWarning("no file");
        f.manager.exportProfile(5, "old.pf"); // no profile file: the target is deleted
        QVERIFY(!QFile::exists("old.pf"));
    }

    // A disk without room for the new file: every replacing write keeps the old file
    // byte for byte, in memory too, and reports the failure with exactly one warning.
    void fullDiskKeepsOldFiles_data() {
        QTest::addColumn<Op>("operation");
        QTest::addColumn<QString>("kept");
        QTest::newRow("copyProfile") << Op([](Fixture& f) { f.manager.copyProfile(4, 0); }) << file(4);
        QTest::newRow("resetProfile") << Op([](Fixture& f) { f.manager.resetToFactory(4); }) << file(4);
        QTest::newRow("loadProfile") << Op([](Fixture& f) { QVERIFY(!f.manager.importProfile(4, "large.pf")); })
                                     << file(4);
        QTest::newRow("saveProfile onto an export")
            << Op([](Fixture& f) { f.manager.exportProfile(0, "old.pf"); }) << QString("old.pf");
        QTest::newRow("resetApconfig") << Op([](Fixture& f) { f.config.resetApconfig(); }) << kConfig;
        QTest::newRow("saveApConfig") << Op([](Fixture& f) {
            f.config.saveApConfig(QVariantList(100, "a value of the generic list"));
        }) << kConfig;
        QTest::newRow("writeCurrent") << Op([](Fixture& f) {
            QVERIFY(!f.profiles.writeCurrent("sensor/note", QString(2000, 'w')));
        }) << file(4);
    }
    void fullDiskKeepsOldFiles() {
        QFETCH(Op, operation);
        QFETCH(QString, kept);
        Fixture f;
        f.manager.switchTo(4);
        for (const QString& large : {kProfileFactory, file(0), QString("large.pf"), kConfigFactory})
            QVERIFY(writeFile(large, largeProfile()));
        QVERIFY(writeFile("old.pf", "[sensor]\nreportRate_Q3=2\n"));
        const QByteArray before = readFile(kept);
        ignoreWarning("cannot write|could not write");
        QTest::failOnWarning(QRegularExpression(".*"));
        {
            FileSizeLimit full(kRoomBytes);
            operation(f);
        }
        QCOMPARE(readFile(kept), before);
        QCOMPARE(f.rate(4), 5);
        QVERIFY(!f.profiles.at(4).contains("sensor/note"));
        QCOMPARE(f.config.profileNumber(), 4);
        QVERIFY(f.config.loadApConfig().isEmpty());
        QCOMPARE(QDir("modules/setting").entryList(QDir::Files).size(), ProfileStore::kCount + 3);
    }

    // After a write that Qt itself saw fail (not even its lock file fitted), Qt would
    // write again on its own at the next event loop turn, unchecked: the profiles and
    // the configuration are written only through the checked flush.
    void failedWriteIsNotRetriedUnchecked() {
        Fixture f;
        f.config.storeProfileNumber(3);
        const QByteArray profile = readFile(file(0));
        const QByteArray config = readFile(kConfig);
        {
            FileSizeLimit noRoom(16);
            ignoreWarning("could not write .*p1.bin.*AccessError");
            QVERIFY(!f.profiles.writeCurrent("sensor/note", QString(2000, 'w')));
            ignoreWarning("could not write .*apConfig.bin.*AccessError");
            f.config.saveApConfig(QVariantList(100, "a value of the generic list"));
        }
        {
            FileSizeLimit roomForTheLockOnly(kRoomBytes);
            QCoreApplication::sendPostedEvents();
        }
        QCOMPARE(readFile(file(0)), profile);
        QCOMPARE(readFile(kConfig), config);
    }

    void pageDefaults_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("page");
        QTest::addColumn<QVariantList>("expected");
        const QByteArray full = "[keydefine_Q3]\n0=1, 0, 240, 0\n1=1, 0, 241, 0\n15=4, 0, 2, 0\n"
                                "[color_Q3]\ntype1=1, 2\ntype2=7\n"
                                "[sensor]\nreportRate_Q3=1\ncursorSpeed_Q3=4\nverticalScrollLines_Q3=3\n"
                                "doubleClickSpeed_Q3=6\ndpi_Q3=800, 1600\nstage_Q3=1\n";
        QTest::newRow("no file, page 3") << QByteArray() << 3 << QVariantList{2, 5, 2, 5, 2};
        QTest::newRow("page 0") << full << 0 << QVariantList{1, 0, 240, 0, 1, 0, 241, 0, 4, 0, 2, 0};
        QTest::newRow("page 3") << full << 3 << QVariantList{1, 4, 3, 6, 800, 1600, 1, 1, 2, 7};
        QTest::newRow("page 255") << full << 255 << QVariantList();
    }
    void pageDefaults() {
        QFETCH(QByteArray, file);
        QFETCH(int, page);
        Fixture f;
        if (!file.isEmpty())
            QVERIFY(writeFile("modules/setting/pD.bin", file));
        QTEST(f.manager.pageDefaults(static_cast<uchar>(page)), "expected");
    }

    void factoryConfigurationProfilesAndPageDefaults() {
        TestDataFolder folder;
        QVERIFY(copyFactoryTree());
        AppConfig config;
        QCOMPARE(config.loadDeviceApConfig(), QVariantList{8});
        QCOMPARE(readFile("modules/setting/apConfigD.bin"), readFile(AppConfig::fileName()));
        QVERIFY(!AppConfig::windowTitle().isEmpty() && !hasChinese(AppConfig::windowTitle()));
        QVERIFY(SettingsValues::writeNow(config.settings(), "common/language", "ChineseSimplified"));
        QVERIFY(hasChinese(AppConfig::windowTitle()));
        for (int i = 0; i < ProfileStore::kCount; ++i)
            QCOMPARE(readFile(ProfileStore::fileNameOf(i)), readFile(ProfileManager::factoryFileName()));
        ProfileStore profiles;
        QSettings& p = profiles.current();
        QCOMPARE(p.value("keydefine_Q3/3").toStringList(), (QStringList{"15", "0", "46", "0"}));
        QCOMPARE(p.value("color_Q3/type1").toStringList().size(), 24);
        QCOMPARE(p.value("XYSensitive/0").toInt(), 4);
        ProfileManager manager(profiles, config);
        QCOMPARE(manager.pageDefaults(0).mid(12, 8), (QVariantList{0x0F, 0, 0x2E, 0, 0x0F, 0, 0x05, 0}));
        QCOMPARE(manager.pageDefaults(2).size(), 24 + 3);
        QCOMPARE(manager.pageDefaults(3).mid(0, 13),
                 (QVariantList{1, 5, 3, 5, 800, 1200, 1600, 2400, 3200, 6000, 250, 250, 2}));
    }

    void factoryChinesePackIsCompleteWithItsShapesAndPrefixes() {
        TestDataFolder folder;
        QVERIFY(copyFactoryTree());
        // Per group: the entry count, and where the entries left empty (as in the English set) begin.
        const int groups[7][2] = {{35, 30}, {5, 5}, {55, 51}, {20, 17}, {30, 28}, {10, 9}, {8, 8}};
        for (int type = 0; type < 7; ++type) {
            const QStringList strings = LanguagePacks().groupStrings(type, "lang_025044");
            QCOMPARE(strings.size(), groups[type][0]);
            for (int i = 0; i < strings.size(); ++i)
                QVERIFY2(i < groups[type][1] ? hasChinese(strings.at(i)) || strings.at(i).startsWith("DPI")
                                             : strings.at(i).isEmpty(),
                         qPrintable(QString("group %1 entry %2: %3").arg(type).arg(i).arg(strings.at(i))));
        }
        LanguagePacks packs;
        QVERIFY(packs.groupStrings(1, "lang_025044").at(4).endsWith(' ')); // followed by the button number
        packs.groupStrings(6, "lang_025044");
        for (int i = 0; i < LinkState::kStageCount; ++i)
            QVERIFY(hasChinese(LinkState::dpiMessagePrefix(i)));
        const QStringList layout = packs.productLayoutStrings("025044");
        QVERIFY(layout.size() == 16 && !layout.contains(QString()));
    }
};

QTEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"
