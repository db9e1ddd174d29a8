// The page encoder (both variants), the tag encoder and the key-name table:
// golden images and round trips through an independent decoder.

#include "KeyNameTable.h"
#include "MacroEncoder.h"
#include "MacroTestSupport.h"

#include <QRandomGenerator>

using Variant = MacroEncoder::Variant;

class TestMacroEncoder : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { KeyNameTable::build(); }

    void keyNameTable_data();
    void keyNameTable();
    void keyNameTableHas132Entries();

    void pageImage_data();
    void pageImage();
    void roundTrip_data();
    void roundTrip();

    void tagImage_data();
    void tagImage();
};

void TestMacroEncoder::keyNameTable_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("code");
    QTest::newRow("A") << "A" << 0x04;
    QTest::newRow("Z") << "Z" << 0x1D;
    QTest::newRow("1") << "1" << 0x1E;
    QTest::newRow("0") << "0" << 0x27;
    QTest::newRow("Space") << "Space" << 0x2C;
    QTest::newRow("backslash") << "\\ |" << 0x31;
    QTest::newRow("quote") << "' \"" << 0x34;
    QTest::newRow("Caps") << "Caps" << 0x39;
    QTest::newRow("F12") << "F12" << 0x45;
    QTest::newRow("PgD") << "PgD" << 0x4E;
    QTest::newRow("right arrow") << QString::fromUtf8("\u25BA") << 0x4F;
    QTest::newRow("up arrow") << QString::fromUtf8("\u25B2") << 0x52;
    QTest::newRow("KP .") << "KP ." << 0x63;
    QTest::newRow("KP =") << "KP =" << 0x67;
    QTest::newRow("F13") << "F13" << 0x68;
    QTest::newRow("F24") << "F24" << 0x73;
    QTest::newRow("Keypad") << "Keypad" << 0x85;
    QTest::newRow("Intl'2") << "Intl'2" << 0x88;
    QTest::newRow("Int'l 5") << "Int'l 5" << 0x8B;
    QTest::newRow("Lang 2") << "Lang 2" << 0x91;
    QTest::newRow("R Win") << "R Win" << 0xE7;
    QTest::newRow("MS-L") << "MS-L" << 0xF0;
    QTest::newRow("MS-B5") << "MS-B5" << 0xF4;
    QTest::newRow("Backspace is not a name") << "Backspace" << 0;
    QTest::newRow("empty") << "" << 0;
}

void TestMacroEncoder::keyNameTable() {
    QFETCH(QString, name);
    QFETCH(int, code);
    QCOMPARE(int(KeyNameTable::codeOf(name)), code);
}

void TestMacroEncoder::keyNameTableHas132Entries() {
    QCOMPARE(KeyNameTable::entries().size(), KeyNameTable::kEntryCount);
    KeyNameTable::codeOf(QStringLiteral("not a key"));
    QCOMPARE(KeyNameTable::entries().size(), KeyNameTable::kEntryCount);
    KeyNameTable::build();
    QCOMPARE(KeyNameTable::entries().size(), KeyNameTable::kEntryCount);
}

void TestMacroEncoder::pageImage_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("loopCount");
    QTest::addColumn<bool>("gun");
    QTest::addColumn<QList<uchar>>("expected");

    QTest::newRow("empty list") << QStringList{} << 1 << false << hexBytes("00 01");
    QTest::newRow("only delays") << QStringList{"0,100", "0,50"} << 3 << false << hexBytes("00 03");
    QTest::newRow("press A, 100 ms, release A")
        << QStringList{"1,A", "0,100", "2,A"} << 1 << false << hexBytes("00 01 32 04 81 04 00 00");
    QTest::newRow("leading delays are skipped")
        << QStringList{"0,40", "1,A", "0,100", "2,A"} << 1 << false << hexBytes("00 01 32 04 81 04 00 00");
    QTest::newRow("no delay gives one unit")
        << QStringList{"1,B", "2,B"} << 1 << false << hexBytes("00 01 01 05 81 05 00 00");
    QTest::newRow("delays between two events add up")
        << QStringList{"1,B", "0,20", "0,30", "2,B"} << 1 << false << hexBytes("00 01 19 05 81 05 00 00");
    QTest::newRow("trailing delays do not count")
        << QStringList{"1,B", "2,B", "0,500"} << 1 << false << hexBytes("00 01 01 05 81 05 00 00");
    QTest::newRow("300 ms after a press: mode 1")
        << QStringList{"1,A", "0,300", "2,A"} << 1 << false << hexBytes("00 01 00 04 00 01 00 0f 81 04 00 00");
    QTest::newRow("300 ms after a release: release bit kept")
        << QStringList{"2,A", "0,300", "1,A"} << 1 << false << hexBytes("00 01 80 04 00 01 00 0f 01 04 00 00");
    QTest::newRow("252 ms is the longest short delay")
        << QStringList{"1,A", "0,252", "2,A"} << 1 << false << hexBytes("00 01 7e 04 81 04 00 00");
    QTest::newRow("254 ms is extended") << QStringList{"1,A", "0,254", "2,A"} << 1 << false
                                        << hexBytes("00 01 00 04 00 01 00 0c 81 04 00 00");
    QTest::newRow("odd milliseconds round half a unit up")
        << QStringList{"1,A", "0,3", "2,A"} << 1 << false << hexBytes("00 01 02 04 81 04 00 00");
    QTest::newRow("1 ms is one unit") << QStringList{"1,A", "0,1", "2,A"} << 1 << false
                                      << hexBytes("00 01 01 04 81 04 00 00");
    QTest::newRow("mode 2 from 200000 ms")
        << QStringList{"1,A", "0,200000", "2,A"} << 1 << false << hexBytes("00 01 00 04 00 02 0f a0 81 04 00 00");
    QTest::newRow("last mode 1 count") << QStringList{"1,A", "0,199998", "2,A"} << 1 << false
                                       << hexBytes("00 01 00 04 00 01 27 0f 81 04 00 00");
    QTest::newRow("mode 3 from 600000 ms")
        << QStringList{"1,A", "0,600000", "2,A"} << 1 << false << hexBytes("00 01 00 04 00 03 17 70 81 04 00 00");
    QTest::newRow("1199900 ms still one mode 3 unit")
        << QStringList{"1,A", "0,1199900", "2,A"} << 1 << false << hexBytes("00 01 00 04 00 03 2e df 81 04 00 00");
    QTest::newRow("1200000 ms splits into two mode 3 units")
        << QStringList{"1,A", "0,1200000", "2,A"} << 1 << false
        << hexBytes("00 01 00 04 00 03 2e df 00 03 00 01 81 04 00 00");
    QTest::newRow("loop count over 255") << QStringList{"3,MS-L", "4,MS-L"} << 300 << false
                                         << hexBytes("01 2c 01 f0 81 f0 00 00");
    QTest::newRow("loop count 65535") << QStringList{"3,MS-R", "4,MS-R"} << 65535 << false
                                      << hexBytes("ff ff 01 f1 81 f1 00 00");
    QTest::newRow("loop count clamped") << QStringList{} << 70000 << false << hexBytes("ff ff");
    QTest::newRow("negative loop count") << QStringList{} << -5 << false << hexBytes("00 00");
    QTest::newRow("mouse buttons") << QStringList{"3,MS-M", "0,10", "4,MS-M", "3,MS-B4", "4,MS-B5"} << 1 << false
                                   << hexBytes("00 01 05 f2 81 f2 01 f3 81 f4 00 00");
    QTest::newRow("unknown key names are left out")
        << QStringList{"1,A", "1,Nope", "0,10", "2,A"} << 1 << false << hexBytes("00 01 05 04 81 04 00 00");
    QTest::newRow("malformed lines are left out")
        << QStringList{"", "x", "9,A", "1A", "1,A", "2,A"} << 1 << false << hexBytes("00 01 01 04 81 04 00 00");
    QTest::newRow("offsets are not macro events")
        << QStringList{"1,A", "5,3", "6,-3", "2,A"} << 1 << false << hexBytes("00 01 01 04 81 04 00 00");

    QTest::newRow("gun: zero delay and closing are 0x0A")
        << QStringList{"3,MS-L", "4,MS-L"} << 1 << true << hexBytes("00 01 0a f0 8a f0 00 00");
    QTest::newRow("gun: cursor record, negative as 256 + value")
        << QStringList{"3,MS-L", "0,20", "5,3", "6,-4", "0,30", "4,MS-L"} << 2 << true
        << hexBytes("00 02 0a f0 0f fa 03 fc 8a f0 00 00");
    QTest::newRow("gun: cursor record closing the image")
        << QStringList{"5,-127", "6,127"} << 1 << true << hexBytes("00 01 0a fa 81 7f 00 00");
    QTest::newRow("gun: cursor record with an extended delay")
        << QStringList{"5,1", "6,2", "0,400", "3,MS-L"} << 1 << true
        << hexBytes("00 01 00 fa 01 02 00 01 00 14 0a f0 00 00");
    QTest::newRow("gun: offsets clamped to 127")
        << QStringList{"5,300", "6,-300"} << 1 << true << hexBytes("00 01 0a fa 7f 81 00 00");
    QTest::newRow("gun: X without Y moves only X")
        << QStringList{"5,5", "3,MS-L"} << 1 << true << hexBytes("00 01 0a fa 05 00 0a f0 00 00");
    QTest::newRow("gun: lone Y is left out")
        << QStringList{"6,5", "3,MS-L"} << 1 << true << hexBytes("00 01 0a f0 00 00");
}

void TestMacroEncoder::pageImage() {
    QFETCH(QStringList, lines);
    QFETCH(int, loopCount);
    QFETCH(bool, gun);
    QFETCH(QList<uchar>, expected);
    const QList<uchar> image = MacroEncoder::encodePage(lines, loopCount, gun ? Variant::Gun : Variant::Macro);
    QCOMPARE(image, expected);
    QVERIFY(decodePageImage(image, gun).has_value());
}

void TestMacroEncoder::roundTrip_data() {
    QTest::addColumn<bool>("gun");
    QTest::addColumn<quint32>("seed");
    for (quint32 seed = 1; seed <= 150; ++seed) {
        QTest::addRow("macro %u", seed) << false << seed;
        QTest::addRow("gun %u", seed) << true << seed;
    }
}

// Delays drawn from every encoding range, each a value the range can hold exactly.
static qint64 exactDelay(QRandomGenerator& random) {
    switch (random.bounded(6)) {
    case 0:
        return 2 * random.bounded(1, 127);
    case 1:
        return 20 * random.bounded(13, 10000);
    case 2:
        return 50 * random.bounded(4000, 12000);
    case 3:
        return 100 * random.bounded(6000, 12000);
    case 4:
        return 100 * random.bounded(12000, 60000); // split into several units
    default:
        return 0;
    }
}

void TestMacroEncoder::roundTrip() {
    QFETCH(bool, gun);
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);
    const QStringList keyNames = KeyNameTable::entries().keys();
    const QStringList buttons{"MS-L", "MS-R", "MS-M", "MS-B4", "MS-B5"};

    QStringList lines;
    std::vector<DecodedEvent> expected;
    const int count = random.bounded(0, 30);
    for (int i = 0; i < count; ++i) {
        DecodedEvent event;
        const int kind = random.bounded(gun ? 3 : 2);
        event.release = random.bounded(2) == 1;
        if (kind == 0) {
            QString name = keyNames.at(random.bounded(int(keyNames.size())));
            event.code = KeyNameTable::codeOf(name);
            lines << QStringLiteral("%1,%2").arg(event.release ? 2 : 1).arg(name);
        } else if (kind == 1) {
            const int button = random.bounded(5);
            event.code = uchar(0xF0 + button);
            lines << QStringLiteral("%1,%2").arg(event.release ? 4 : 3).arg(buttons.at(button));
        } else {
            event.release = false;
            event.cursor = true;
            event.code = 0xFA;
            event.x = random.bounded(-127, 128);
            event.y = random.bounded(-127, 128);
            lines << QStringLiteral("5,%1").arg(event.x) << QStringLiteral("6,%1").arg(event.y);
        }
        const qint64 delay = exactDelay(random);
        if (delay > 0)
            lines << QStringLiteral("0,%1").arg(delay);
        const qint64 shortest = gun ? 20 : 2;
        event.gapMs = (delay == 0 || i + 1 == count) ? shortest : delay;
        expected.push_back(event);
    }
    const int loopCount = random.bounded(0, 65536);
    const QList<uchar> image = MacroEncoder::encodePage(lines, loopCount, gun ? Variant::Gun : Variant::Macro);
    const auto decoded = decodePageImage(image, gun);
    QVERIFY2(decoded.has_value(), qPrintable(lines.join(QLatin1Char('|'))));
    QCOMPARE(decoded->loopCount, loopCount);
    QCOMPARE(decoded->events.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const DecodedEvent& got = decoded->events[i];
        const DecodedEvent& want = expected[i];
        QCOMPARE(got.code, want.code);
        QCOMPARE(got.release, want.release);
        QCOMPARE(got.cursor, want.cursor);
        QCOMPARE(got.x, want.x);
        QCOMPARE(got.y, want.y);
        QCOMPARE(got.gapMs, want.gapMs);
    }
}

void TestMacroEncoder::tagImage_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<uint>("deviceId");
    QTest::addColumn<QList<uchar>>("expected");
    const QString down = QStringLiteral("    [Down]");
    const QString up = QStringLiteral("      [Up]");
    const QString delay = QStringLiteral("   [Delay]");

    QTest::newRow("nothing") << QStringList{} << 1u << hexBytes("00 01 00 00");
    QTest::newRow("loop count line is ignored") << QStringList{"5"} << 1u << hexBytes("00 01 00 00");
    QTest::newRow("mouse: down A, 5000 ms, up A")
        << QStringList{"A" + down, "5000" + delay, "A" + up} << 1u << hexBytes("00 01 01 04 fa 01 81 04 00 00");
    QTest::newRow("mouse: short delay rewrites the delay byte")
        << QStringList{"A" + down, "100" + delay, "A" + up} << 1u << hexBytes("00 01 0a 04 81 04 00 00");
    QTest::newRow("mouse: short delay keeps the release bit")
        << QStringList{"A" + up, "1270" + delay} << 1u << hexBytes("00 01 ff 04 00 00");
    QTest::newRow("mouse: shortest short delay is 10 ms")
        << QStringList{"A" + down, "3" + delay} << 1u << hexBytes("00 01 01 04 00 00");
    QTest::newRow("mouse: 1271 ms takes the middle form")
        << QStringList{"A" + down, "1271" + delay} << 1u << hexBytes("00 01 01 04 40 01 00 00");
    QTest::newRow("mouse: 5101 ms takes the long form")
        << QStringList{"A" + down, "5101" + delay} << 1u << hexBytes("00 01 01 04 00 01 00 ff 00 00");
    QTest::newRow("mouse: a first delay takes the long form")
        << QStringList{"100" + delay, "A" + down} << 1u << hexBytes("00 01 00 01 00 05 01 04 00 00");
    QTest::newRow("mouse: delay after a delay takes the long form")
        << QStringList{"A" + down, "100" + delay, "100" + delay} << 1u << hexBytes("00 01 0a 04 00 01 00 05 00 00");
    QTest::newRow("mouse: a dropped key line lets the delay change the record before")
        << QStringList{"A" + down, "Nope" + down, "200" + delay} << 1u << hexBytes("00 01 14 04 00 00");
    QTest::newRow("mouse: a short delay never touches the loop count")
        << QStringList{"Nope" + down, "200" + delay, "A" + down} << 1u << hexBytes("00 01 00 01 00 0a 01 04 00 00");
    QTest::newRow("mouse: a short delay never touches a delay unit")
        << QStringList{"A" + down, "2000" + delay, "Nope" + down, "200" + delay} << 1u
        << hexBytes("00 01 01 04 64 01 00 01 00 0a 00 00");
    QTest::newRow("mouse: zero, negative and text delays are ignored")
        << QStringList{"A" + down, "0" + delay, "-40" + delay, "x" + delay} << 1u << hexBytes("00 01 01 04 00 00");
    QTest::newRow("mouse: long count capped at 16 bits")
        << QStringList{"A" + down, "99999999" + delay} << 1u << hexBytes("00 01 01 04 00 01 ff ff 00 00");
    QTest::newRow("keyboard: delay in 10 ms")
        << QStringList{"A" + down, "1234" + delay, "A" + up} << 0u << hexBytes("00 01 01 04 7f 00 00 7b 81 04 00 00");
    QTest::newRow("other device drops delays")
        << QStringList{"A" + down, "1234" + delay, "A" + up} << 2u << hexBytes("00 01 01 04 81 04 00 00");
    QTest::newRow("mouse button names") << QStringList{"MS-L" + down, "MS-L" + up} << 1u
                                        << hexBytes("00 01 01 f0 81 f0 00 00");
}

void TestMacroEncoder::tagImage() {
    QFETCH(QStringList, lines);
    QFETCH(uint, deviceId);
    QFETCH(QList<uchar>, expected);
    QCOMPARE(MacroEncoder::encodeTags(lines, deviceId), expected);
}

QTEST_GUILESS_MAIN(TestMacroEncoder)
#include "tst_macroencoder.moc"
