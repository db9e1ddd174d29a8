// The factory data tree shipped with the program, read through the program's
// own operations from a copy in a fresh data folder.

#include "AppConfig.h"
#include "LanguagePacks.h"
#include "LinkState.h"
#include "ProfileManager.h"
#include "ProfileStore.h"
#include "SettingsValues.h"
#include "StoreTestSupport.h"

#include <QDirIterator>
#include <QTest>

namespace {
bool hasChinese(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF; });
}
} // namespace

class TestFactoryData : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDataFolder> m_folder;
private slots:
    void init() {
        m_folder = std::make_unique<TestDataFolder>();
        const QDir factory(QStringLiteral(QUELLAR_FACTORY_MODULES));
        for (QDirIterator it(factory.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            const QString target = "modules/" + factory.relativeFilePath(it.next());
            QVERIFY(QDir().mkpath(QFileInfo(target).path()) && QFile::copy(it.filePath(), target));
        }
        for (int i = 0; i < LinkState::kStageCount; ++i)
            LinkState::setDpiMessagePrefix(i, "DPI Switch to");
    }
    void cleanup() { m_folder.reset(); }

    void configurationProfilesAndPageDefaults() {
        AppConfig config;
        QCOMPARE(config.loadDeviceApConfig(), QVariantList{8});
        QCOMPARE(TestDataFolder::read("modules/setting/apConfigD.bin"), TestDataFolder::read(AppConfig::fileName()));
        QVERIFY(!AppConfig::windowTitle().isEmpty() && !hasChinese(AppConfig::windowTitle()));
        QVERIFY(SettingsValues::writeNow(config.settings(), "common/language", "ChineseSimplified"));
        QVERIFY(hasChinese(AppConfig::windowTitle()));
        for (int i = 0; i < ProfileStore::kCount; ++i)
            QCOMPARE(TestDataFolder::read(ProfileStore::fileNameOf(i)), TestDataFolder::read(ProfileManager::factoryFileName()));
        ProfileStore profiles;
        QSettings& p = profiles.current();
        QCOMPARE(p.value("keydefine_Q3/3").toStringList(), (QStringList{"15", "0", "46", "0"}));
        QCOMPARE(p.value("color_Q3/type1").toStringList().size(), 24);
        QCOMPARE(p.value("XYSensitive/0").toInt(), 4);
        ScriptedDialogs dialogs;
        ProfileManager manager(profiles, config, dialogs);
        QCOMPARE(manager.loadDefaultProfile(0).mid(12, 8), (QVariantList{0x0F, 0, 0x2E, 0, 0x0F, 0, 0x05, 0}));
        QCOMPARE(manager.loadDefaultProfile(2).size(), 24 + 3);
        QCOMPARE(manager.loadDefaultProfile(3).mid(0, 13), (QVariantList{1, 5, 3, 5, 800, 1200, 1600, 2400, 3200, 6000, 250, 250, 2}));
    }

    void chinesePackIsComplete_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("firstEmpty"); // the English set is empty from here on
        QTest::newRow("main") << 0 << 35 << 30;
        QTest::newRow("keyMatrix") << 1 << 5 << 5;
        QTest::newRow("keyMenu") << 2 << 55 << 51;
        QTest::newRow("macroEditor") << 3 << 20 << 17;
        QTest::newRow("gunControl") << 4 << 30 << 28;
        QTest::newRow("macroKey") << 5 << 10 << 9;
        QTest::newRow("other") << 6 << 8 << 8;
    }
    void chinesePackIsComplete() {
        QFETCH(int, type);
        QFETCH(int, count);
        QFETCH(int, firstEmpty);
        const QStringList strings = LanguagePacks().getGlobalStrings(type, "lang_025044");
        QCOMPARE(strings.size(), count);
        for (int i = 0; i < count; ++i)
            QVERIFY2(i < firstEmpty ? hasChinese(strings.at(i)) || strings.at(i).startsWith("DPI") : strings.at(i).isEmpty(),
                     qPrintable(QStringLiteral("entry %1: %2").arg(i).arg(strings.at(i))));
    }

    void chinesePackShapesAndPrefixes() {
        LanguagePacks packs;
        QVERIFY(packs.getGlobalStrings(1, "lang_025044").at(4).endsWith(' ')); // followed by the button number
        packs.getGlobalStrings(6, "lang_025044");
        for (int i = 0; i < LinkState::kStageCount; ++i)
            QVERIFY(hasChinese(LinkState::dpiMessagePrefix(i)));
        const QStringList layout = packs.getProductLayoutStrings_Q3("025044");
        QVERIFY(layout.size() == 16 && !layout.contains(QString()));
    }
};

QTEST_GUILESS_MAIN(TestFactoryData)
#include "tst_factorydata.moc"
