// The application configuration file: defaults, title, profile number, generic list, reset, skins.

#include "AppConfig.h"
#include "StoreTestSupport.h"

#include <QTest>

namespace {
const QString kConfig = QStringLiteral("modules/setting/apConfig.bin");
const QString kFactory = QStringLiteral("modules/setting/apConfigD.bin");
} // namespace

class TestAppConfig : public QObject {
    Q_OBJECT
private slots:
    void defaultsWithoutFile() {
        TestDataFolder folder;
        AppConfig config;
        QVERIFY(!config.getLang().isValid());
        QCOMPARE(config.getProfile().toInt(), 0);
        QCOMPARE(config.loadDeviceApConfig(), QVariantList{8});
        QVERIFY(config.loadApConfig().isEmpty());
        QCOMPARE(AppConfig::windowTitle(), QString());
        QCOMPARE(config.secrecyCodeText(1), QStringLiteral("731905"));
        QVERIFY(config.productNames().isEmpty());
        QVERIFY(!QFile::exists(kConfig)); // reading creates nothing
    }

    void windowTitle_data() {
        QTest::addColumn<QByteArray>("language");
        QTest::addColumn<QString>("title");
        QTest::newRow("chinese") << QByteArray("language=ChineseSimplified") << QStringLiteral("鼠标设置");
        QTest::newRow("english") << QByteArray("language=English") << QStringLiteral("Mouse Settings, K417");
        QTest::newRow("case differs") << QByteArray("language=chinesesimplified") << QStringLiteral("Mouse Settings, K417");
        QTest::newRow("absent") << QByteArray() << QStringLiteral("Mouse Settings, K417");
    }
    void windowTitle() {
        QFETCH(QByteArray, language);
        QFETCH(QString, title);
        TestDataFolder folder;
        QVERIFY(TestDataFolder::write(kConfig, "[common]\n" + language + "\nname=鼠标设置\nname0=\"Mouse Settings, K417\"\n"));
        QCOMPARE(AppConfig::windowTitle(), title);
    }

    void setProfileStoresNumberOnDiskAtOnce_data() {
        QTest::addColumn<QVariant>("given");
        QTest::newRow("text") << QVariant(QStringLiteral("3"));
        QTest::newRow("number") << QVariant(3);
        QTest::newRow("double from QML") << QVariant(3.0);
    }
    void setProfileStoresNumberOnDiskAtOnce() {
        QFETCH(QVariant, given);
        TestDataFolder folder;
        AppConfig config;
        config.setProfile(given);
        QCOMPARE(TestDataFolder::onDisk(kConfig, QStringLiteral("Q3/profileNo")).toString(), QStringLiteral("3"));
        QCOMPARE(config.getProfile().toInt(), 3);
    }

    void genericList() {
        TestDataFolder folder;
        AppConfig config;
        config.saveApConfig({1, QStringLiteral("two"), QVariantList{3, 4}});
        const QByteArray text = TestDataFolder::read(kConfig);
        QVERIFY2(text.contains("0=1\n1=two\n2=3, 4\ntotal=3\n"), text.constData());
        QCOMPARE(config.loadApConfig(), (QVariantList{"1", "two", QVariantList{"3", "4"}}));
        config.saveApConfig({});
        QVERIFY(config.loadApConfig().isEmpty());
        QVERIFY(TestDataFolder::write(kConfig, "[common]\ntotal=abc\n[Q3]\ncolorMaxStage=x\n"));
        AppConfig absurd;
        QVERIFY(absurd.loadApConfig().isEmpty());
        QCOMPARE(absurd.loadDeviceApConfig(), QVariantList{8});
    }

    void reset() {
        TestDataFolder folder;
        AppConfig config;
        config.setProfile(4);
        const QByteArray before = TestDataFolder::read(kConfig);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("cannot read")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("reset refused")));
        config.resetApconfig(); // without factory file: configuration kept
        QCOMPARE(TestDataFolder::read(kConfig), before);
        QVERIFY(TestDataFolder::write(kFactory, "[common]\nlanguage=English\n[Q3]\nprofileNo=0\ncolorMaxStage=6\n"));
        config.resetApconfig();
        QCOMPARE(TestDataFolder::read(kConfig), TestDataFolder::read(kFactory));
        QCOMPARE(config.getProfile().toInt(), 0);
        QCOMPARE(config.loadDeviceApConfig(), QVariantList{6});
        QCOMPARE(config.getLang().toString(), QStringLiteral("English"));
    }

    void skinShowNeedsTwoFolders() {
        TestDataFolder folder;
        QVERIFY(!AppConfig().getIsSkinShow());
        QVERIFY(QDir().mkpath("modules/img/a") && TestDataFolder::write("modules/img/x.png", "x"));
        QVERIFY(!AppConfig().getIsSkinShow());
        QVERIFY(QDir().mkpath("modules/img/b"));
        QVERIFY(AppConfig().getIsSkinShow());
    }

    void deviceValues() {
        TestDataFolder folder;
        QVERIFY(TestDataFolder::write(kConfig, "[common]\nsCode0=012345\nsCode1=654321\n"
                                               "product_name=\"KB Q3\", \"MORVANE QUELLAR MOUSE K417\"\n"));
        AppConfig config;
        QCOMPARE(config.secrecyCodeText(0), QStringLiteral("012345"));
        QCOMPARE(config.secrecyCodeText(1), QStringLiteral("654321"));
        QCOMPARE(config.productNames(), (QStringList{"KB Q3", "MORVANE QUELLAR MOUSE K417"}));
    }
};

QTEST_GUILESS_MAIN(TestAppConfig)
#include "tst_appconfig.moc"
