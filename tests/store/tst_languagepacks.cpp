// Language packs: listing, groups, the layout strings and the DPI message prefixes.

#include "LanguagePacks.h"
#include "LinkState.h"
#include "TestDataFolder.h"

#include <QTest>

namespace {

QString packFile(const QString& code) {
    return QStringLiteral("modules/i18n/lang_%1.ini").arg(code);
}

void resetPrefixes() {
    for (int i = 0; i < LinkState::kStageCount; ++i)
        LinkState::setDpiMessagePrefix(i, QStringLiteral("DPI Switch to"));
}

} // namespace

class TestLanguagePacks : public QObject {
    Q_OBJECT
private slots:
    void init() { resetPrefixes(); }

    void listsPacksByDisplayName() {
        TestDataFolder folder;
        QVERIFY(TestDataFolder::write(packFile(QStringLiteral("025044")), "[main]\ntotal=0\n"));
        QVERIFY(TestDataFolder::write(packFile(QStringLiteral("025208")), ""));
        QVERIFY(TestDataFolder::write(QStringLiteral("modules/i18n/readme.txt"), ""));
        LanguagePacks packs;
        const QVariantMap map = packs.chkLanguages();
        QCOMPARE(map.size(), 2);
        QCOMPARE(map.value(QStringLiteral("CHINESE (Simp)")).toString(), QStringLiteral("025044"));
        QCOMPARE(map.value(QStringLiteral("CHINESE (Trad)")).toString(), QStringLiteral("025208"));
    }

    void displayName_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::newRow("chinese china") << "025044"
                                       << "CHINESE (Simp)";
        QTest::newRow("chinese taiwan") << "025208"
                                        << "CHINESE (Trad)";
        QTest::newRow("no country") << "031000"
                                    << "ENGLISH";
        QTest::newRow("english us") << "031225"
                                    << "ENGLISH (UNITED STATES)";
        QTest::newRow("german germany") << "042082"
                                        << "GERMAN (GERMANY)";
        QTest::newRow("japanese japan") << "059108"
                                        << "JAPANESE (JAPAN)";
        QTest::newRow("korean korea") << "066114"
                                      << "KOREAN (SOUTH KOREA)";
        QTest::newRow("russian russia") << "096178"
                                        << "RUSSIAN (RUSSIA)";
        QTest::newRow("chinese hong kong") << "025097"
                                           << "CHINESE (HONG KONG)";
        QTest::newRow("unknown numbers") << "999998"
                                         << "999 (998)";
    }
    void displayName() {
        QFETCH(QString, code);
        QFETCH(QString, name);
        QCOMPARE(LanguagePacks::displayName(code), name);
    }

    void noFolderGivesEmptyMap() {
        TestDataFolder folder;
        QVERIFY(QDir(QStringLiteral("modules/i18n")).removeRecursively());
        LanguagePacks packs;
        QVERIFY(packs.chkLanguages().isEmpty());
    }

    void groups_data() {
        QTest::addColumn<QVariant>("type");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("main stops at total") << QVariant(0) << QStringList{"主页", "设置", ""};
        QTest::newRow("keyMatrix") << QVariant(1) << QStringList{"k0"};
        QTest::newRow("keyMenu as text") << QVariant(QStringLiteral("2")) << QStringList{"m0", "m1"};
        QTest::newRow("macroEditor") << QVariant(3) << QStringList{"a, b"};
        QTest::newRow("gunControl") << QVariant(4) << QStringList{"g0"};
        QTest::newRow("macroKey missing") << QVariant(5) << QStringList();
        QTest::newRow("ungrouped") << QVariant(7) << QStringList{"top0", "top1"};
    }
    void groups() {
        QFETCH(QVariant, type);
        QFETCH(QStringList, expected);
        TestDataFolder folder;
        QVERIFY(TestDataFolder::write(packFile(QStringLiteral("025044")),
                                      QStringLiteral("total=2\n0=top0\n1=top1\n"
                                                     "[main]\ntotal=3\n0=主页\n1=设置\n3=beyond\n"
                                                     "[keyMatrix]\ntotal=1\n0=k0\n"
                                                     "[keyMenu]\ntotal=2\n0=m0\n1=m1\n"
                                                     "[macroEditor]\ntotal=1\n0=a, b\n"
                                                     "[gunControl]\ntotal=1\n0=g0\n")
                                          .toUtf8()));
        LanguagePacks packs;
        QCOMPARE(packs.getGlobalStrings(type, QStringLiteral("lang_025044")), expected);
        for (int i = 0; i < LinkState::kStageCount; ++i)
            QCOMPARE(LinkState::dpiMessagePrefix(i), QStringLiteral("DPI Switch to"));
    }

    void missingPackGivesEmptyList() {
        TestDataFolder folder;
        LanguagePacks packs;
        QVERIFY(packs.getGlobalStrings(0, QStringLiteral("lang_025044")).isEmpty());
    }

    void absurdTotalIsCapped() {
        TestDataFolder folder;
        QVERIFY(TestDataFolder::write(packFile(QStringLiteral("025044")), "[main]\ntotal=1000000000\n0=x\n"));
        LanguagePacks packs;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("claims 1000000000")));
        const QStringList strings = packs.getGlobalStrings(0, QStringLiteral("lang_025044"));
        QCOMPARE(strings.size(), LanguagePacks::kMaxEntries);
        QCOMPARE(strings.first(), QStringLiteral("x"));
    }

    void otherInstallsDpiPrefixes() {
        TestDataFolder folder;
        QByteArray ini = "[other]\ntotal=9\n";
        for (int i = 0; i < 9; ++i)
            ini += QStringLiteral("%1=DPI 切换到 %1\n").arg(i).toUtf8();
        QVERIFY(TestDataFolder::write(packFile(QStringLiteral("025044")), ini));
        LanguagePacks packs;
        QCOMPARE(packs.getGlobalStrings(6, QStringLiteral("lang_025044")).size(), 9);
        for (int i = 0; i < LinkState::kStageCount; ++i)
            QCOMPARE(LinkState::dpiMessagePrefix(i), QStringLiteral("DPI 切换到 %1").arg(i));
    }

    void shortOtherKeepsRemainingPrefixes() {
        TestDataFolder folder;
        QVERIFY(TestDataFolder::write(packFile(QStringLiteral("025044")), "[other]\ntotal=3\n0=a\n1=b\n2=c\n"));
        LanguagePacks packs;
        packs.getGlobalStrings(6, QStringLiteral("lang_025044"));
        QCOMPARE(LinkState::dpiMessagePrefix(0), QStringLiteral("a"));
        QCOMPARE(LinkState::dpiMessagePrefix(2), QStringLiteral("c"));
        for (int i = 3; i < LinkState::kStageCount; ++i)
            QCOMPARE(LinkState::dpiMessagePrefix(i), QStringLiteral("DPI Switch to"));
    }

    void packNamesWithPathsAreRefused() {
        TestDataFolder folder;
        QVERIFY(TestDataFolder::write(QStringLiteral("modules/secret.ini"), "[main]\ntotal=1\n0=secret\n"));
        LanguagePacks packs;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("name refused")));
        QVERIFY(packs.getGlobalStrings(0, QStringLiteral("../secret")).isEmpty());
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("name refused")));
        QCOMPARE(packs.getProductLayoutStrings_Q3(QStringLiteral("x/../../secret")), QStringList(16));
    }

    void layoutStringsAreAlwaysSixteen() {
        TestDataFolder folder;
        QVERIFY(TestDataFolder::write(packFile(QStringLiteral("025044")), "[Q3_133C6AA]\n0=L0\n15=L15\n16=L16\n"));
        LanguagePacks packs;
        const QStringList strings = packs.getProductLayoutStrings_Q3(QStringLiteral("025044"));
        QCOMPARE(strings.size(), 16);
        QCOMPARE(strings.first(), QStringLiteral("L0"));
        QCOMPARE(strings.at(1), QString());
        QCOMPARE(strings.last(), QStringLiteral("L15"));
        QCOMPARE(packs.getProductLayoutStrings_Q3(QStringLiteral("999999")), QStringList(16));
    }
};

QTEST_GUILESS_MAIN(TestLanguagePacks)
#include "tst_languagepacks.moc"
