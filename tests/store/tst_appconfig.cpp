// The application configuration: defaults, the generic list, the profile
// number, the factory reset, the skin check, the window title and the values
// the device worker reads.

#include "AppConfig.h"
#include "TestDataFolder.h"

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
        QCOMPARE(config.secrecyCodeText(0), QStringLiteral("731905"));
        QCOMPARE(config.secrecyCodeText(1), QStringLiteral("731905"));
        QVERIFY(config.productNames().isEmpty());
        QVERIFY(!QFile::exists(kConfig)); // reading creates nothing
    }

    void windowTitle_data() {
        QTest::addColumn<QByteArray>("language");
        QTest::addColumn<QString>("title");
        QTest::newRow("chinese") << QByteArray("ChineseSimplified") << QStringLiteral("鼠标设置");
        QTest::newRow("english") << QByteArray("English") << QStringLiteral("Mouse Settings, K417");
        QTest::newRow("case differs") << QByteArray("chinesesimplified") << QStringLiteral("Mouse Settings, K417");
        QTest::newRow("absent") << QByteArray() << QStringLiteral("Mouse Settings, K417");
    }
    void windowTitle() {
        QFETCH(QByteArray, language);
        QFETCH(QString, title);
        TestDataFolder folder;
        QByteArray ini = "[common]\n";
        if (!language.isEmpty())
            ini += "language=" + language + "\n";
        ini += QStringLiteral("name=鼠标设置\nname0=\"Mouse Settings, K417\"\n").toUtf8();
        QVERIFY(TestDataFolder::write(kConfig, ini));
        QCOMPARE(AppConfig::windowTitle(), title);
    }

    void languageIsReadAsStored() {
        TestDataFolder folder;
        QVERIFY(TestDataFolder::write(kConfig, "[common]\nlanguage=ChineseSimplified\n"));
        AppConfig config;
        QCOMPARE(config.getLang().toString(), QStringLiteral("ChineseSimplified"));
    }

    void setProfileStoresNumberOnDiskAtOnce_data() {
        QTest::addColumn<QVariant>("given");
        QTest::addColumn<int>("stored");
        QTest::newRow("text") << QVariant(QStringLiteral("3")) << 3;
        QTest::newRow("number") << QVariant(7) << 7;
        QTest::newRow("double from QML") << QVariant(2.0) << 2;
    }
    void setProfileStoresNumberOnDiskAtOnce() {
        QFETCH(QVariant, given);
        QFETCH(int, stored);
        TestDataFolder folder;
        AppConfig config;
        config.setProfile(given);
        QCOMPARE(TestDataFolder::onDisk(kConfig, QStringLiteral("Q3/profileNo")).toString(), QString::number(stored));
        QCOMPARE(config.getProfile().toInt(), stored);
    }

    void genericListRoundTrip() {
        TestDataFolder folder;
        AppConfig config;
        config.saveApConfig({1, QStringLiteral("two"), QVariantList{3, 4}});
        QCOMPARE(TestDataFolder::onDisk(kConfig, QStringLiteral("common/total")).toInt(), 3);
        const QByteArray text = TestDataFolder::read(kConfig);
        QVERIFY2(text.contains("0=1\n") && text.contains("1=two\n") && text.contains("2=3, 4\n"), text.constData());
        const QVariantList loaded = config.loadApConfig();
        QCOMPARE(loaded.size(), 3);
        QCOMPARE(loaded.at(0).toString(), QStringLiteral("1"));
        QCOMPARE(loaded.at(1).toString(), QStringLiteral("two"));
        QCOMPARE(loaded.at(2).toStringList(), (QStringList{QStringLiteral("3"), QStringLiteral("4")}));
    }

    void emptyListKeepsOlderKeysButLoadsNothing() {
        TestDataFolder folder;
        AppConfig config;
        config.saveApConfig({5, 6});
        config.saveApConfig({});
        QCOMPARE(TestDataFolder::onDisk(kConfig, QStringLiteral("common/total")).toInt(), 0);
        QCOMPARE(TestDataFolder::onDisk(kConfig, QStringLiteral("common/1")).toString(), QStringLiteral("6"));
        QVERIFY(config.loadApConfig().isEmpty());
    }

    void absurdTotalIsNotAList() {
        TestDataFolder folder;
        QVERIFY(TestDataFolder::write(kConfig, "[common]\ntotal=abc\n[Q3]\ncolorMaxStage=x\n"));
        AppConfig config;
        QVERIFY(config.loadApConfig().isEmpty());
        QCOMPARE(config.loadDeviceApConfig(), QVariantList{8});
    }

    void resetRestoresFactoryContents() {
        TestDataFolder folder;
        QVERIFY(TestDataFolder::write(kFactory, "[common]\nlanguage=English\n[Q3]\nprofileNo=0\ncolorMaxStage=6\n"));
        AppConfig config;
        config.setProfile(5);
        config.saveApConfig({1});
        config.resetApconfig();
        QCOMPARE(TestDataFolder::read(kConfig), TestDataFolder::read(kFactory));
        QCOMPARE(config.getProfile().toInt(), 0);
        QCOMPARE(config.loadDeviceApConfig(), QVariantList{6});
        QCOMPARE(config.getLang().toString(), QStringLiteral("English"));
    }

    void resetWithoutFactoryKeepsConfiguration() {
        TestDataFolder folder;
        AppConfig config;
        config.setProfile(4);
        const QByteArray before = TestDataFolder::read(kConfig);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("cannot read")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("reset refused")));
        config.resetApconfig();
        QCOMPARE(TestDataFolder::read(kConfig), before);
        QCOMPARE(config.getProfile().toInt(), 4);
    }

    void skinShow_data() {
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("shown");
        QTest::newRow("no img folder") << QStringList() << QStringList() << false;
        QTest::newRow("empty") << QStringList{QStringLiteral("modules/img")} << QStringList() << false;
        QTest::newRow("one") << QStringList{QStringLiteral("modules/img/a")} << QStringList() << false;
        QTest::newRow("one plus files") << QStringList{QStringLiteral("modules/img/a")}
                                        << QStringList{QStringLiteral("modules/img/x.png"),
                                                       QStringLiteral("modules/img/y.png")}
                                        << false;
        QTest::newRow("two") << QStringList{QStringLiteral("modules/img/a"), QStringLiteral("modules/img/b")}
                             << QStringList() << true;
    }
    void skinShow() {
        QFETCH(QStringList, folders);
        QFETCH(QStringList, files);
        QFETCH(bool, shown);
        TestDataFolder folder;
        for (const QString& path : folders)
            QVERIFY(QDir().mkpath(path));
        for (const QString& path : files)
            QVERIFY(TestDataFolder::write(path, "x"));
        AppConfig config;
        QCOMPARE(config.getIsSkinShow(), shown);
    }

    void deviceValues() {
        TestDataFolder folder;
        QVERIFY(TestDataFolder::write(kConfig, "[common]\nsCode0=012345\nsCode1=654321\n"
                                               "product_name=\"KB Q3\", \"MORVANE QUELLAR MOUSE K417\"\n"));
        AppConfig config;
        QCOMPARE(config.secrecyCodeText(0), QStringLiteral("012345"));
        QCOMPARE(config.secrecyCodeText(1), QStringLiteral("654321"));
        QCOMPARE(config.productNames(),
                 (QStringList{QStringLiteral("KB Q3"), QStringLiteral("MORVANE QUELLAR MOUSE K417")}));
    }
};

QTEST_GUILESS_MAIN(TestAppConfig)
#include "tst_appconfig.moc"
