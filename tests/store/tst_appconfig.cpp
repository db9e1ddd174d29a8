// The application configuration file: defaults, title, profile number, generic list, reset, skins.

#include "AppConfig.h"
#include "StoreTestSupport.h"

#include <QTest>

static const QString kConfig = QStringLiteral("modules/setting/apConfig.bin");
static const QString kFactory = QStringLiteral("modules/setting/apConfigD.bin");

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
        QTest::newRow("chinese") << QByteArray("language=ChineseSimplified") << QString("鼠标设置");
        QTest::newRow("english") << QByteArray("language=English") << QString("Mouse Settings, K417");
        QTest::newRow("case differs") << QByteArray("language=chinesesimplified") << QString("Mouse Settings, K417");
        QTest::newRow("absent") << QByteArray() << QString("Mouse Settings, K417");
    }
    void windowTitle() {
        QFETCH(QByteArray, language);
        QFETCH(QString, title);
        TestDataFolder folder;
        QVERIFY(TestDataFolder::write(kConfig, "[common]\n" + language + "\nname=鼠标设置\nname0=\"Mouse Settings, K417\"\n"));
        QCOMPARE(AppConfig::windowTitle(), title);
    }

    void setProfileStoresNumberOnDiskAtOnce() {
        TestDataFolder folder;
        AppConfig config;
        for (const QVariant& given : {QVariant("3"), QVariant(4), QVariant(5.0)}) { // text, number, double from QML
            config.setProfile(given);
            QCOMPARE(TestDataFolder::onDisk(kConfig, "Q3/profileNo").toString(), QString::number(given.toInt()));
            QCOMPARE(config.getProfile().toInt(), given.toInt());
        }
    }

    void genericList() {
        TestDataFolder folder;
        AppConfig config;
        config.saveApConfig({1, QStringLiteral("two"), QVariantList{3, 4}});
        QVERIFY(TestDataFolder::read(kConfig).contains("0=1\n1=two\n2=3, 4\ntotal=3\n"));
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
        QCOMPARE(config.loadDeviceApConfig(), QVariantList{6});
    }

    void deviceValues() {
        TestDataFolder folder;
        QVERIFY(TestDataFolder::write(kConfig, "[common]\nsCode0=012345\nproduct_name=\"KB Q3\", \"K417\"\n"));
        AppConfig config;
        QCOMPARE(config.secrecyCodeText(0), "012345"); // the leading zero is kept
        QCOMPARE(config.productNames(), (QStringList{"KB Q3", "K417"}));
    }
};

QTEST_GUILESS_MAIN(TestAppConfig)
#include "tst_appconfig.moc"
