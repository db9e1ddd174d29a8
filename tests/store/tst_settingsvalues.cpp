// Conversions of values read back from INI files: by meaning, never by
// splitting a text into characters.

#include "SettingsValues.h"
#include "TestDataFolder.h"

#include <QTest>

namespace {
const QString kFile = QStringLiteral("values.ini");

// The value of key "k" after writing the INI text `line` under [g].
QVariant readBack(const QByteArray& line) {
    TestDataFolder::write(kFile, "[g]\n" + line + "\n");
    const QSettings file(kFile, QSettings::IniFormat);
    return file.value(QStringLiteral("g/k"));
}
} // namespace

class TestSettingsValues : public QObject {
    Q_OBJECT
private slots:
    void init() { m_folder = std::make_unique<TestDataFolder>(); }
    void cleanup() { m_folder.reset(); }

    void integers_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QVariantList>("expected");
        QTest::newRow("list") << QByteArray("k=800, 1600, 3200") << QVariantList{800, 1600, 3200};
        QTest::newRow("one element stays a number") << QByteArray("k=800") << QVariantList{800};
        QTest::newRow("empty list") << QByteArray("k=@Invalid()") << QVariantList();
        QTest::newRow("absent") << QByteArray("other=1") << QVariantList();
        QTest::newRow("garbage element is 0") << QByteArray("k=1, x, 3") << QVariantList{1, 0, 3};
        QTest::newRow("negative") << QByteArray("k=-1, 2") << QVariantList{-1, 2};
    }
    void integers() {
        QFETCH(QByteArray, line);
        QFETCH(QVariantList, expected);
        QCOMPARE(SettingsValues::integers(readBack(line)), expected);
    }

    void unsignedIntegersHaveThatType() {
        const QVariantList values = SettingsValues::unsignedIntegers(readBack("k=1, 2"));
        QCOMPARE(values, (QVariantList{1u, 2u}));
        QCOMPARE(values.first().metaType().id(), QMetaType::UInt);
    }

    void listsWrittenByQtReadBack() {
        QSettings file(kFile, QSettings::IniFormat);
        file.setValue(QStringLiteral("g/k"), QVariantList{15, 0, 46, 0});
        file.setValue(QStringLiteral("g/empty"), QVariantList{});
        file.sync();
        const QSettings again(kFile, QSettings::IniFormat);
        QCOMPARE(SettingsValues::integers(again.value(QStringLiteral("g/k"))), (QVariantList{15, 0, 46, 0}));
        QVERIFY(SettingsValues::integers(again.value(QStringLiteral("g/empty"))).isEmpty());
        QVERIFY(TestDataFolder::read(kFile).contains("k=15, 0, 46, 0"));
        QVERIFY(TestDataFolder::read(kFile).contains("empty=@Invalid()"));
    }

    void scalars_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("integer");
        QTest::addColumn<uint>("unsignedValue");
        QTest::addColumn<bool>("boolean");
        QTest::newRow("number") << QByteArray("k=3") << 3 << 3u << true;
        QTest::newRow("zero") << QByteArray("k=0") << 0 << 0u << false;
        QTest::newRow("true") << QByteArray("k=true") << 1 << 1u << true;
        QTest::newRow("false") << QByteArray("k=false") << 0 << 0u << false;
        QTest::newRow("text") << QByteArray("k=abc") << 9 << 9u << true;
        QTest::newRow("list is no scalar") << QByteArray("k=1, 2") << 9 << 9u << true;
        QTest::newRow("absent") << QByteArray("x=1") << 9 << 9u << true;
        QTest::newRow("negative unsigned") << QByteArray("k=-4") << -4 << 9u << true;
    }
    void scalars() {
        QFETCH(QByteArray, line);
        QFETCH(int, integer);
        QFETCH(uint, unsignedValue);
        QFETCH(bool, boolean);
        const QVariant stored = readBack(line);
        QCOMPARE(SettingsValues::integer(stored, 9), integer);
        QCOMPARE(SettingsValues::unsignedInteger(stored, 9), unsignedValue);
        QCOMPARE(SettingsValues::boolean(stored, true), boolean);
    }

    void texts() {
        QCOMPARE(SettingsValues::texts(readBack("k=one")), QStringList{QStringLiteral("one")});
        QCOMPARE(SettingsValues::texts(readBack("k=a, b")), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
        QVERIFY(SettingsValues::texts(readBack("x=1")).isEmpty());
        QCOMPARE(SettingsValues::text(readBack("k=a, b")), QStringLiteral("a, b"));
        QCOMPARE(SettingsValues::text(readBack("k=\"a, b\"")), QStringLiteral("a, b"));
    }

    void writeNowReachesDisk() {
        QSettings file(kFile, QSettings::IniFormat);
        QVERIFY(SettingsValues::writeNow(file, QStringLiteral("g/k"), 5));
        QCOMPARE(TestDataFolder::onDisk(kFile, QStringLiteral("g/k")).toInt(), 5);
    }

    void writeNowReportsUnwritableFile() {
        // A folder where the file should be: no user, root included, can write it.
        QVERIFY(QDir().mkpath(QStringLiteral("blocked.ini")));
        QSettings file(QStringLiteral("blocked.ini"), QSettings::IniFormat);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("could not write")));
        QVERIFY(!SettingsValues::writeNow(file, QStringLiteral("g/k"), 5));
    }

    void copyOverIsExact() {
        QVERIFY(TestDataFolder::write(QStringLiteral("a"), "[g]\nk=1\n"));
        QVERIFY(TestDataFolder::write(QStringLiteral("b"), "[g]\nk=2\n"));
        QVERIFY(SettingsValues::copyOver(QStringLiteral("a"), QStringLiteral("b")));
        QCOMPARE(TestDataFolder::read(QStringLiteral("b")), QByteArray("[g]\nk=1\n"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("cannot read")));
        QVERIFY(!SettingsValues::copyOver(QStringLiteral("missing"), QStringLiteral("b")));
        QCOMPARE(TestDataFolder::read(QStringLiteral("b")), QByteArray("[g]\nk=1\n"));
    }

private:
    std::unique_ptr<TestDataFolder> m_folder;
};

QTEST_GUILESS_MAIN(TestSettingsValues)
#include "tst_settingsvalues.moc"
