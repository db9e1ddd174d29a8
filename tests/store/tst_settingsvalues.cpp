// Conversions of values read back from INI files: by meaning, never by
// splitting a text into characters; writes that reach the disk at once.

#include "SettingsValues.h"
#include "StoreTestSupport.h"

#include <QTest>

namespace SV = SettingsValues;

class TestSettingsValues : public QObject {
    Q_OBJECT
    TestDataFolder* m_folder = nullptr;
    // The value of key "k" after writing the INI text `line` under [g].
    static QVariant readBack(const QByteArray& line) {
        TestDataFolder::write("values.ini", "[g]\n" + line + "\n");
        return QSettings("values.ini", QSettings::IniFormat).value("g/k");
    }
private slots:
    void init() { m_folder = new TestDataFolder; }
    void cleanup() { delete m_folder; }

    void lists_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QVariantList>("integers");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("list") << QByteArray("k=800, 1600") << QVariantList{800, 1600} << QStringList{"800", "1600"};
        QTest::newRow("one element") << QByteArray("k=800") << QVariantList{800} << QStringList{"800"};
        QTest::newRow("empty list") << QByteArray("k=@Invalid()") << QVariantList() << QStringList();
        QTest::newRow("garbage is 0") << QByteArray("k=1, x, -3") << QVariantList{1, 0, -3} << QStringList{"1", "x", "-3"};
        QTest::newRow("text") << QByteArray("k=one") << QVariantList{0} << QStringList{"one"};
    }
    void lists() {
        QFETCH(QByteArray, line);
        QFETCH(QVariantList, integers);
        QFETCH(QStringList, texts);
        QCOMPARE(SV::integers(readBack(line)), integers);
        QCOMPARE(SV::texts(readBack(line)), texts);
    }

    void scalars_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("integer");
        QTest::addColumn<uint>("unsignedValue");
        QTest::addColumn<bool>("boolean");
        QTest::newRow("false") << QByteArray("k=false") << 0 << 0u << false;
        QTest::newRow("text") << QByteArray("k=abc") << 9 << 9u << true;
        QTest::newRow("list is no scalar") << QByteArray("k=1, 2") << 9 << 9u << true;
        QTest::newRow("negative unsigned") << QByteArray("k=-4") << -4 << 9u << true;
    }
    void scalars() {
        QFETCH(QByteArray, line);
        QFETCH(int, integer);
        QFETCH(uint, unsignedValue);
        QFETCH(bool, boolean);
        QCOMPARE(SV::integer(readBack(line), 9), integer);
        QCOMPARE(SV::unsignedInteger(readBack(line), 9), unsignedValue);
        QCOMPARE(SV::boolean(readBack(line), true), boolean);
    }

    void shapesWrittenByQt() {
        QSettings file("values.ini", QSettings::IniFormat);
        file.setValue("g/k", QVariantList{15, 0, 46, 0});
        file.setValue("g/empty", QVariantList{});
        QVERIFY(SV::writeNow(file, "g/t", "a, b"));
        QCOMPARE(TestDataFolder::read("values.ini"), QByteArray("[g]\nempty=@Invalid()\nk=15, 0, 46, 0\nt=\"a, b\"\n"));
        QCOMPARE(SV::unsignedIntegers(readBack("k=15, 0")), (QVariantList{15u, 0u}));
        QCOMPARE(SV::text(readBack("k=\"a, b\"")), QStringLiteral("a, b"));
        QCOMPARE(SV::text(readBack("k=a, b")), QStringLiteral("a, b"));
        QVERIFY(QDir().mkpath("blocked.ini")); // a folder where the file should be: nobody can write it
        QSettings blocked("blocked.ini", QSettings::IniFormat);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("could not write"));
        QVERIFY(!SV::writeNow(blocked, "g/k", 5));
    }

    void copyOverIsExact() {
        QVERIFY(TestDataFolder::write("a", "[g]\nk=1\n") && TestDataFolder::write("b", "[g]\nk=2\n"));
        QVERIFY(SV::copyOver("a", "b"));
        QCOMPARE(TestDataFolder::read("b"), QByteArray("[g]\nk=1\n"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot read"));
        QVERIFY(!SV::copyOver("missing", "b"));
        QCOMPARE(TestDataFolder::read("b"), QByteArray("[g]\nk=1\n"));
    }
};

QTEST_GUILESS_MAIN(TestSettingsValues)
#include "tst_settingsvalues.moc"
