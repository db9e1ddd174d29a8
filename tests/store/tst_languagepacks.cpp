// Language packs: listing by display name, groups, layout strings, DPI message prefixes, refused names.

#include "LanguagePacks.h"
#include "LinkState.h"
#include "StoreTestSupport.h"

#include <QTest>

namespace {
const QString kPack = QStringLiteral("modules/i18n/lang_025044.ini");
QStringList prefixes() {
    QStringList list;
    for (int i = 0; i < LinkState::kStageCount; ++i)
        list << LinkState::dpiMessagePrefix(i);
    return list;
}
} // namespace

class TestLanguagePacks : public QObject {
    Q_OBJECT
private slots:
    void init() {
        for (int i = 0; i < LinkState::kStageCount; ++i)
            LinkState::setDpiMessagePrefix(i, "DPI Switch to");
    }

    void listsPacksByDisplayName() {
        TestDataFolder folder;
        QVERIFY(TestDataFolder::write(kPack, "[main]\ntotal=0\n") && TestDataFolder::write("modules/i18n/readme.txt", ""));
        QVERIFY(TestDataFolder::write("modules/i18n/lang_025208.ini", ""));
        QCOMPARE(LanguagePacks().chkLanguages(), (QVariantMap{{"CHINESE (Simp)", "025044"}, {"CHINESE (Trad)", "025208"}}));
        QVERIFY(QDir("modules/i18n").removeRecursively());
        QVERIFY(LanguagePacks().chkLanguages().isEmpty());
    }

    void displayName_data() {
        QTest::addColumn<QString>("name"); // of the pack number given as row name
        QTest::newRow("025044") << "CHINESE (Simp)";
        QTest::newRow("025208") << "CHINESE (Trad)";
        QTest::newRow("031000") << "ENGLISH";
        QTest::newRow("999998") << "999 (998)";
    }
    void displayName() {
        QFETCH(QString, name);
        QCOMPARE(LanguagePacks::displayName(QTest::currentDataTag()), name);
    }

    void groups_data() {
        QTest::addColumn<QVariant>("type");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("main stops at total") << QVariant(0) << QStringList{"主页", "设置", ""};
        QTest::newRow("keyMenu as text") << QVariant("2") << QStringList{"m0", "m1"};
        QTest::newRow("macroKey missing") << QVariant(5) << QStringList();
        QTest::newRow("ungrouped") << QVariant(7) << QStringList{"top0"};
    }
    void groups() {
        QFETCH(QVariant, type);
        QFETCH(QStringList, expected);
        TestDataFolder folder;
        QVERIFY(TestDataFolder::write(kPack, QStringLiteral("total=1\n0=top0\n[main]\ntotal=3\n0=主页\n1=设置\n3=beyond\n"
                                                            "[keyMenu]\ntotal=2\n0=m0\n1=m1\n")
                                                 .toUtf8()));
        QCOMPARE(LanguagePacks().getGlobalStrings(type, "lang_025044"), expected);
        QCOMPARE(prefixes(), QStringList(LinkState::kStageCount, "DPI Switch to"));
    }

    void badPacks() {
        TestDataFolder folder;
        LanguagePacks packs;
        QVERIFY(packs.getGlobalStrings(0, "lang_025044").isEmpty()); // no pack
        QCOMPARE(packs.getProductLayoutStrings_Q3("025044"), QStringList(16));
        QVERIFY(TestDataFolder::write(kPack, "[main]\ntotal=1000000000\n0=x\n[other]\ntotal=3\n0=a\n1=b\n2=c\n"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("claims 1000000000"));
        QCOMPARE(packs.getGlobalStrings(0, "lang_025044").size(), LanguagePacks::kMaxEntries);
        packs.getGlobalStrings(6, "lang_025044"); // a short group keeps the remaining prefixes
        QCOMPARE(prefixes().mid(0, 4), (QStringList{"a", "b", "c", "DPI Switch to"}));
        QCOMPARE(prefixes().last(), "DPI Switch to");
        QVERIFY(TestDataFolder::write("modules/secret.ini", "[main]\ntotal=1\n0=secret\n"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("name refused"));
        QVERIFY(packs.getGlobalStrings(0, "../secret").isEmpty());
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("name refused"));
        QCOMPARE(packs.getProductLayoutStrings_Q3("x/../../secret"), QStringList(16));
        QVERIFY(TestDataFolder::write(kPack, "[Q3_133C6AA]\n0=L0\n15=L15\n16=L16\n"));
        QCOMPARE(packs.getProductLayoutStrings_Q3("025044"), QStringList{"L0"} + QStringList(14) + QStringList{"L15"});
    }

};

QTEST_GUILESS_MAIN(TestLanguagePacks)
#include "tst_languagepacks.moc"
