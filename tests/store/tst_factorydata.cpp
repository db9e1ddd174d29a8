// The factory data tree shipped with the program, read through the same
// operations the program uses, from a copy in a fresh data folder.

#include "AppConfig.h"
#include "LanguagePacks.h"
#include "LinkState.h"
#include "ProfileManager.h"
#include "ProfileStore.h"
#include "ScriptedDialogs.h"
#include "TestDataFolder.h"

#include <QDirIterator>
#include <QTest>

namespace {

const QString kFactoryModules = QStringLiteral(QUELLAR_FACTORY_MODULES);
const QString kPack = QStringLiteral("lang_025044");

bool copyFactoryTree() {
    QDirIterator it(kFactoryModules, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = QStringLiteral("modules/") + QDir(kFactoryModules).relativeFilePath(source);
        QDir().mkpath(QFileInfo(target).path());
        if (!QFile::copy(source, target))
            return false;
    }
    return true;
}

QVariantList numbers(std::initializer_list<int> values) {
    QVariantList list;
    for (int value : values)
        list.append(value);
    return list;
}

bool hasChinese(const QString& text) {
    for (QChar c : text)
        if (c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF)
            return true;
    return false;
}

} // namespace

class TestFactoryData : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_folder = std::make_unique<TestDataFolder>();
        QVERIFY(copyFactoryTree());
    }
    void cleanup() { m_folder.reset(); }

    void configuration() {
        AppConfig config;
        QCOMPARE(config.getLang().toString(), QStringLiteral("English"));
        QCOMPARE(config.getProfile().toInt(), 0);
        QCOMPARE(config.loadDeviceApConfig(), QVariantList{8});
        QVERIFY(config.loadApConfig().isEmpty());
        QCOMPARE(config.secrecyCodeText(0), QStringLiteral("731905"));
        QCOMPARE(config.secrecyCodeText(1), QStringLiteral("731905"));
        QCOMPARE(config.productNames().size(), 2);
        QCOMPARE(config.productNames().at(1), QStringLiteral("MORVANE QUELLAR MOUSE K417"));
        const QString english = AppConfig::windowTitle();
        QVERIFY(!english.isEmpty() && !hasChinese(english));
        QCOMPARE(TestDataFolder::read(QStringLiteral("modules/setting/apConfigD.bin")),
                 TestDataFolder::read(QStringLiteral("modules/setting/apConfig.bin")));

        config.settings().setValue(QStringLiteral("common/language"), QStringLiteral("ChineseSimplified"));
        config.settings().sync();
        QVERIFY(hasChinese(AppConfig::windowTitle()));
    }

    void profilesAreTheFactoryProfile() {
        const QByteArray factory = TestDataFolder::read(QStringLiteral("modules/setting/pD_standard.bin"));
        QVERIFY(!factory.isEmpty());
        for (int i = 0; i < ProfileStore::kCount; ++i)
            QCOMPARE(TestDataFolder::read(ProfileStore::fileNameOf(i)), factory);
    }

    void profileValues() {
        ProfileStore profiles;
        QSettings& p = profiles.current();
        QCOMPARE(p.value(QStringLiteral("keydefine_Q3/3")).toStringList(),
                 (QStringList{QStringLiteral("15"), QStringLiteral("0"), QStringLiteral("46"), QStringLiteral("0")}));
        QCOMPARE(p.value(QStringLiteral("sensor/dpi_Q3")).toStringList().size(), 8);
        QCOMPARE(p.value(QStringLiteral("sensor/dpi_Select")).toStringList().count(QStringLiteral("1")), 6);
        QCOMPARE(p.value(QStringLiteral("color_Q3/type1")).toStringList().size(), 24);
        QCOMPARE(p.value(QStringLiteral("XYSensitive/0")).toInt(), 4);
        QCOMPARE(p.value(QStringLiteral("keydefine_Q3/scrollswap")).toString(), QStringLiteral("false"));
    }

    void pageDefaults() {
        ProfileStore profiles;
        AppConfig config;
        ScriptedDialogs dialogs;
        ProfileManager manager(profiles, config, dialogs);
        const QVariantList buttons = manager.loadDefaultProfile(0);
        QCOMPARE(buttons.size(), 64);
        QCOMPARE(buttons.mid(0, 28), numbers({1,    0, 0xF0, 0, 1,    0, 0xF1, 0, 1, 0, 0xF2, 0, 0x0F, 0,
                                              0x2E, 0, 0x0F, 0, 0x05, 0, 8,    0, 1, 1, 7,    0, 3,    0}));
        QCOMPARE(buttons.mid(56), numbers({4, 0, 1, 0, 4, 0, 2, 0}));
        const QVariantList lighting = manager.loadDefaultProfile(2);
        QCOMPARE(lighting.size(), 24 + 3);
        const QVariantList performance = manager.loadDefaultProfile(3);
        QCOMPARE(performance.size(), 4 + 8 + 1 + 24 + 8);
        QCOMPARE(performance.mid(0, 4), numbers({1, 5, 3, 5}));
        QCOMPARE(performance.mid(4, 8), numbers({800, 1200, 1600, 2400, 3200, 6000, 250, 250}));
        QCOMPARE(performance.at(12).toInt(), 2);
    }

    void profileNameList() {
        const QSettings names(QStringLiteral("modules/setting/name.bin"), QSettings::IniFormat);
        const QStringList list = names.value(QStringLiteral("profile/profileName")).toStringList();
        QCOMPARE(list.size(), 2);
        QVERIFY(list.first().endsWith(QLatin1Char('0')));
        QCOMPARE(list.last(), QStringLiteral("loadermarble"));
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
        LanguagePacks packs;
        const QStringList strings = packs.getGlobalStrings(type, kPack);
        QCOMPARE(strings.size(), count);
        for (int i = 0; i < count; ++i) {
            if (i < firstEmpty)
                QVERIFY2(hasChinese(strings.at(i)) || strings.at(i).startsWith(QLatin1String("DPI")),
                         qPrintable(QStringLiteral("entry %1: %2").arg(i).arg(strings.at(i))));
            else
                QVERIFY(strings.at(i).isEmpty());
        }
        for (int i = 0; i < LinkState::kStageCount; ++i)
            LinkState::setDpiMessagePrefix(i, QStringLiteral("DPI Switch to"));
    }

    void chineseTextsKeepTheirShape() {
        LanguagePacks packs;
        const QStringList main = packs.getGlobalStrings(0, kPack);
        QVERIFY(main.at(8).contains(QLatin1Char('\n'))); // a two-line caption like the English one
        const QStringList keyMatrix = packs.getGlobalStrings(1, kPack);
        QVERIFY(keyMatrix.at(4).endsWith(QLatin1Char(' '))); // followed by the button number
        const QStringList macroKey = packs.getGlobalStrings(5, kPack);
        for (int i = 2; i <= 4; ++i)
            QVERIFY(macroKey.at(i).contains(QLatin1Char('\n')));
        const QStringList keyMenu = packs.getGlobalStrings(2, kPack);
        QCOMPARE(keyMenu.at(14), QStringLiteral("DPI +"));
    }

    void packListsAndPrefixes() {
        LanguagePacks packs;
        QCOMPARE(packs.chkLanguages().value(QStringLiteral("CHINESE (Simp)")).toString(), QStringLiteral("025044"));
        packs.getGlobalStrings(6, kPack);
        for (int i = 0; i < LinkState::kStageCount; ++i)
            QVERIFY(hasChinese(LinkState::dpiMessagePrefix(i)));
        for (int i = 0; i < LinkState::kStageCount; ++i)
            LinkState::setDpiMessagePrefix(i, QStringLiteral("DPI Switch to"));
        const QStringList layout = packs.getProductLayoutStrings_Q3(QStringLiteral("025044"));
        QCOMPARE(layout.size(), 16);
        QVERIFY(!layout.contains(QString()));
    }

private:
    std::unique_ptr<TestDataFolder> m_folder;
};

QTEST_GUILESS_MAIN(TestFactoryData)
#include "tst_factorydata.moc"
