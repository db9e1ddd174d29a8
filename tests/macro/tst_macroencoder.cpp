// SPDX-License-Identifier: GPL-3.0-or-later
// The page encoder (both variants) and the tag encoder: golden images, and
// round trips of generated event lists through an independent decoder.

#include "KeyNameTable.h"
#include "MacroEncoder.h"
#include "MacroTestSupport.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <limits>

using Variant = MacroEncoder::Variant;

// Tag encoder by device id, or the page encoder in one of its variants.
enum Encoder { Keyboard = 0, Mouse = 1, OtherDevice = 2, Page, Gun };

// The keyboard keys as the table of key names lists them: each run of names
// takes consecutive usage codes from its first code on.
struct KeyRun {
    QStringList names;
    int firstCode;
};
static const QList<KeyRun> kKeyboardRuns{
    {{"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M",
      "N", "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z"},
     0x04},
    {{"1", "2", "3", "4", "5", "6", "7", "8", "9", "0"}, 0x1E},
    {{"Enter", "Esc", "Back", "Tab", "Space"}, 0x28},
    {{"- _", "= +", "[ {", "] }"}, 0x2D},
    {{"; :", "' \"", "` ~", ", <", ". >", "/ ?", "Caps"}, 0x33},
    {{"F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12"}, 0x3A},
    {{"Prt", "Scr", "Pau", "Ins", "Hom", "PgU", "Del", "End", "PgD"}, 0x46},
    {{"\u25BA", "\u25C4", "\u25BC", "\u25B2"}, 0x4F},
    {{"Num", "KP /", "KP *", "KP -", "KP +", "KP Enter"}, 0x53},
    {{"KP 1", "KP 2", "KP 3", "KP 4", "KP 5", "KP 6", "KP 7", "KP 8", "KP 9", "KP 0", "KP ."}, 0x59},
    {{"Eur 2", "App", "Power", "KP ="}, 0x64},
    {{"F13", "F14", "F15", "F16", "F17", "F18", "F19", "F20", "F21", "F22", "F23", "F24"}, 0x68},
    {{"Keypad"}, 0x85},
    {{"Int'l 1", "Intl'2", "Int'l 2", "Int'l 4", "Int'l 5"}, 0x87},
    {{"Lang 1", "Lang 2"}, 0x90},
    {{"L Ctrl", "L Shift", "L Alt", "L Win", "R Ctrl", "R Shift", "R Alt", "R Win"}, 0xE0},
};
static const QString kBackslash = QStringLiteral("\\ |");

// lines: separated by '|', "{backslash}" for the backslash key's name; in tag
// lines " down", " up" and " delay" stand for the tags.
static void row(const char* name, Encoder encoder, const char* lines, const char* hex, int loopCount = 1) {
    QStringList list = QString(lines).split('|', Qt::SkipEmptyParts);
    for (QString& line : list)
        line.replace("{backslash}", kBackslash);
    if (encoder < Page)
        for (QString& line : list)
            line.replace(" down", "    [Down]").replace(" up", "      [Up]").replace(" delay", "   [Delay]");
    QTest::newRow(name) << int(encoder) << list << loopCount << hexList(hex);
}

// Delays drawn from every encoding range, each a value the range can hold exactly;
// range 4 is split into several units, range 5 is no delay.
static qint64 exactDelay(QRandomGenerator& random) {
    static const int unit[] = {2, 20, 50, 100, 100, 0}, low[] = {1, 13, 4000, 6000, 12000, 0},
                     high[] = {127, 10000, 12000, 12000, 60000, 1};
    const int range = random.bounded(6);
    return qint64(unit[range]) * random.bounded(low[range], high[range]);
}

class TestMacroEncoder : public QObject {
    Q_OBJECT
private slots:

    void encode_data() {
        QTest::addColumn<int>("encoder");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("loopCount");
        QTest::addColumn<QList<uchar>>("expected");
        row("empty list", Page, "", "00 01");
        row("only delays", Page, "0,100|0,50", "00 03", 3);
        row("press A, 100 ms, release A", Page, "1,A|0,100|2,A", "00 01 32 04 81 04 00 00");
        row("leading delays are skipped", Page, "0,40|1,A|0,100|2,A", "00 01 32 04 81 04 00 00");
        row("no delay gives one unit", Page, "1,B|2,B", "00 01 01 05 81 05 00 00");
        row("delays between two events add up", Page, "1,B|0,20|0,30|2,B", "00 01 19 05 81 05 00 00");
        row("trailing delays do not count", Page, "1,B|2,B|0,500", "00 01 01 05 81 05 00 00");
        row("300 ms after a press: mode 1", Page, "1,A|0,300|2,A", "00 01 00 04 00 01 00 0f 81 04 00 00");
        row("300 ms after a release keeps the bit", Page, "2,A|0,300|1,A", "00 01 80 04 00 01 00 0f 01 04 00 00");
        row("252 ms is the longest short delay", Page, "1,A|0,252|2,A", "00 01 7e 04 81 04 00 00");
        row("254 ms is extended", Page, "1,A|0,254|2,A", "00 01 00 04 00 01 00 0c 81 04 00 00");
        row("odd milliseconds round up", Page, "1,A|0,3|2,A", "00 01 02 04 81 04 00 00");
        row("last mode 1 count", Page, "1,A|0,199998|2,A", "00 01 00 04 00 01 27 0f 81 04 00 00");
        row("mode 2 from 200000 ms", Page, "1,A|0,200000|2,A", "00 01 00 04 00 02 0f a0 81 04 00 00");
        row("mode 3 from 600000 ms", Page, "1,A|0,600000|2,A", "00 01 00 04 00 03 17 70 81 04 00 00");
        row("1199900 ms: one mode 3 unit", Page, "1,A|0,1199900|2,A", "00 01 00 04 00 03 2e df 81 04 00 00");
        row("1200000 ms: two mode 3 units", Page, "1,A|0,1200000|2,A",
            "00 01 00 04 00 03 2e df 00 03 00 01 81 04 00 00");
        row("loop count over 255", Page, "3,MS-L|4,MS-L", "01 2c 01 f0 81 f0 00 00", 300);
        row("loop count clamped", Page, "", "ff ff", 70000);
        row("negative loop count", Page, "", "00 00", -5);
        row("mouse buttons", Page, "3,MS-M|0,10|4,MS-M|3,MS-B4|4,MS-B5", "00 01 05 f2 81 f2 01 f3 81 f4 00 00");
        row("unknown and malformed lines are left out", Page, "|x|9,A|1A|1,A|1,Nope|0,10|2,A",
            "00 01 05 04 81 04 00 00");
        row("offsets are not macro events", Page, "1,A|5,3|6,-3|2,A", "00 01 01 04 81 04 00 00");
        row("gun: zero delay and closing are 0x0A", Gun, "3,MS-L|4,MS-L", "00 01 0a f0 8a f0 00 00");
        row("gun: cursor record, negative as 256 + value", Gun, "3,MS-L|0,20|5,3|6,-4|0,30|4,MS-L",
            "00 02 0a f0 0f fa 03 fc 8a f0 00 00", 2);
        row("gun: cursor record closing the image", Gun, "5,-127|6,127", "00 01 0a fa 81 7f 00 00");
        row("gun: cursor record, extended delay", Gun, "5,1|6,2|0,400|3,MS-L",
            "00 01 00 fa 01 02 00 01 00 14 0a f0 00 00");
        row("gun: offsets clamped to 127", Gun, "5,300|6,-300", "00 01 0a fa 7f 81 00 00");
        row("gun: X without Y moves only X", Gun, "5,5|3,MS-L", "00 01 0a fa 05 00 0a f0 00 00");
        row("gun: lone Y is left out", Gun, "6,5|3,MS-L", "00 01 0a f0 00 00");
        row("backslash key is usage 0x32", Page, "1,{backslash}|0,100|2,{backslash}", "00 01 32 32 81 32 00 00");
        row("gun: backslash key is usage 0x32", Gun, "1,{backslash}|2,{backslash}", "00 01 0a 32 8a 32 00 00");
        row("mouse names are no key names", Page, "1,MS-L|1,A|0,10|2,MS-R|2,A", "00 01 05 04 81 04 00 00");

        row("tags: nothing, loop count line ignored", Mouse, "5", "00 01 00 00");
        row("mouse: down A, 5000 ms, up A", Mouse, "A down|5000 delay|A up", "00 01 01 04 fa 01 81 04 00 00");
        row("mouse: short delay rewrites the delay byte", Mouse, "A down|100 delay|A up", "00 01 0a 04 81 04 00 00");
        row("mouse: short delay keeps the release bit", Mouse, "A up|1270 delay", "00 01 ff 04 00 00");
        row("mouse: shortest short delay is 10 ms", Mouse, "A down|3 delay", "00 01 01 04 00 00");
        row("mouse: 1271 ms takes the middle form", Mouse, "A down|1271 delay", "00 01 01 04 40 01 00 00");
        row("mouse: 5101 ms takes the long form", Mouse, "A down|5101 delay", "00 01 01 04 00 01 00 ff 00 00");
        row("mouse: a first delay is long", Mouse, "100 delay|A down", "00 01 00 01 00 05 01 04 00 00");
        row("mouse: delay after delay is long", Mouse, "A down|100 delay|100 delay", "00 01 0a 04 00 01 00 05 00 00");
        row("mouse: dropped key line", Mouse, "A down|Nope down|200 delay", "00 01 14 04 00 00");
        row("mouse: short delay never touches the loop count", Mouse, "Nope down|200 delay|A down",
            "00 01 00 01 00 0a 01 04 00 00");
        row("mouse: short delay never touches a delay unit", Mouse, "A down|2000 delay|Nope down|200 delay",
            "00 01 01 04 64 01 00 01 00 0a 00 00");
        row("mouse: zero, negative, text delays ignored", Mouse, "A down|0 delay|-40 delay|x delay",
            "00 01 01 04 00 00");
        row("mouse: long count capped at 16 bits", Mouse, "A down|99999999 delay", "00 01 01 04 00 01 ff ff 00 00");
        row("mouse: longest delay", Mouse, "A down|9223372036854775807 delay", "00 01 01 04 00 01 ff ff 00 00");
        row("mouse button names", Mouse, "MS-L down|MS-L up", "00 01 01 f0 81 f0 00 00");
        row("tags: backslash key keeps 0x31", Mouse, "{backslash} down|{backslash} up", "00 01 01 31 81 31 00 00");
        row("keyboard: delay in 10 ms", Keyboard, "A down|1234 delay|A up", "00 01 01 04 7f 00 00 7b 81 04 00 00");
        row("other device drops delays", OtherDevice, "A down|1234 delay|A up", "00 01 01 04 81 04 00 00");
    }

    void encode() {
        QFETCH(int, encoder);
        QFETCH(QStringList, lines);
        QFETCH(int, loopCount);
        QFETCH(QList<uchar>, expected);
        if (encoder < Page) {
            QCOMPARE(MacroEncoder::encodeTags(lines, uint(encoder)), expected);
        } else {
            const auto image =
                MacroEncoder::encodePage(lines, loopCount, encoder == Gun ? Variant::Gun : Variant::Macro);
            QCOMPARE(image, expected);
            if (image.size() < MacroEncoder::kMacroImageCapacity)
                QVERIFY(decodePageImage(image, encoder == Gun));
        }
    }

    // The key-name table of the back end and the pages' key-code table the
    // images take their codes from: the same keyboard keys, but the backslash
    // key's name is usage 0x32 for the pages, and mouse buttons are no keys there.
    void keyCodeTables_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("keyNameCode");
        QTest::addColumn<int>("pageCode");
        for (const KeyRun& run : kKeyboardRuns)
            for (int i = 0; i < run.names.size(); ++i)
                QTest::newRow(qPrintable(run.names[i])) << run.names[i] << run.firstCode + i << run.firstCode + i;
        QTest::newRow("backslash") << kBackslash << 0x31 << 0x32;
        QTest::newRow("MS-L") << "MS-L" << 0xF0 << 0;
        QTest::newRow("MS-B5") << "MS-B5" << 0xF4 << 0;
        QTest::newRow("not a key") << "Backspace" << 0 << 0;
    }
    void keyCodeTables() {
        QFETCH(QString, name);
        QFETCH(int, keyNameCode);
        QFETCH(int, pageCode);
        QCOMPARE(int(KeyNameTable::codeOf(name)), keyNameCode);
        QCOMPARE(int(KeyNameTable::pageCodeOf(name)), pageCode);
        QCOMPARE(KeyNameTable::entries().size(), KeyNameTable::kEntryCount);
        // The whole table the button pages get: keyboard names only, page codes.
        const QVariantMap pages = KeyNameTable::pageCodes();
        QCOMPARE(pages.value(name, 0).toInt(), pageCode);
        QCOMPARE(pages.contains(name), pageCode != 0);
        QCOMPARE(pages.size(), KeyNameTable::kEntryCount - 5);
    }

    // Hostile values end promptly in an image no longer than its device slot.
    void hostileInputs() {
        QElapsedTimer timer;
        timer.start();
        QList<uchar> mode3Units = hexList("00 01 00 04");
        while (mode3Units.size() < MacroEncoder::kMacroImageCapacity)
            mode3Units += hexList("00 03 2e df");
        QCOMPARE(MacroEncoder::encodePage({"1,A", "0,100000000000000", "2,A"}, 1, Variant::Macro), mode3Units);
        const QString longest = QString::number(std::numeric_limits<qint64>::max());
        QCOMPARE(MacroEncoder::encodePage({"1,A", "0," + longest, "0," + longest, "2,A"}, 1, Variant::Macro),
                 mode3Units);
        QCOMPARE(MacroEncoder::encodePage({"1,A", "0,100000000000000", "2,A"}, 1, Variant::Gun).size(),
                 MacroEncoder::kGunImageCapacity);
        const auto gunImage = MacroEncoder::encodePage({"1,A", "0,4611686018427387904", "2,A"}, 1, Variant::Gun);
        QCOMPARE(gunImage.size(), MacroEncoder::kGunImageCapacity);
        QCOMPARE(gunImage.mid(0, 8), hexList("00 01 00 04 00 03 2e df"));
        QStringList manyKeys(200000, "1,A");
        QList<uchar> fullOfKeys = hexList("00 01");
        while (fullOfKeys.size() < MacroEncoder::kMacroImageCapacity)
            fullOfKeys += hexList("01 04");
        QCOMPARE(MacroEncoder::encodePage(manyKeys, 1, Variant::Macro), fullOfKeys);
        QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
        static_assert(MacroEncoder::unitsOfMilliseconds(std::numeric_limits<qint64>::max()) == (qint64(1) << 62));
        static_assert(MacroEncoder::unitsOfMilliseconds(-5) == 0 && MacroEncoder::unitsOfMilliseconds(3) == 2);
    }

    void roundTrip() {
        QList<QPair<QString, uchar>> keys{{kBackslash, 0x32}};
        for (const KeyRun& run : kKeyboardRuns)
            for (int i = 0; i < run.names.size(); ++i)
                keys.append({run.names[i], uchar(run.firstCode + i)});
        const QStringList buttons{"MS-L", "MS-R", "MS-M", "MS-B4", "MS-B5"};
        int fitting = 0;
        for (quint32 seed = 1; seed <= 300; ++seed) {
            QRandomGenerator random(seed);
            const bool gun = seed % 2;
            QStringList lines;
            std::vector<DecodedEvent> expected;
            const int count = random.bounded(0, gun ? 30 : 12);
            for (int i = 0; i < count; ++i) {
                DecodedEvent event;
                event.release = random.bounded(2);
                const int kind = random.bounded(gun ? 3 : 2);
                if (kind == 0) {
                    const auto& [name, code] = keys.at(random.bounded(int(keys.size())));
                    event.code = code;
                    lines << QString("%1,%2").arg(event.release ? 2 : 1).arg(name);
                } else if (kind == 1) {
                    event.code = uchar(0xF0 + random.bounded(5));
                    lines << QString("%1,%2").arg(event.release ? 4 : 3).arg(buttons.at(event.code - 0xF0));
                } else {
                    event = {0xFA, false, true, random.bounded(-127, 128), random.bounded(-127, 128)};
                    lines << QString("5,%1").arg(event.x) << QString("6,%1").arg(event.y);
                }
                const qint64 delay = exactDelay(random);
                if (delay > 0)
                    lines << QString("0,%1").arg(delay);
                event.gapMs = (delay == 0 || i + 1 == count) ? (gun ? 20 : 2) : delay;
                expected.push_back(event);
            }
            const int loopCount = random.bounded(0, 65536);
            const Variant variant = gun ? Variant::Gun : Variant::Macro;
            const auto image = MacroEncoder::encodePage(lines, loopCount, variant);
            // An image that does not fit is cut at the slot size.
            QVERIFY(image.size() <= MacroEncoder::capacityOf(variant));
            if (image.size() == MacroEncoder::capacityOf(variant))
                continue;
            ++fitting;
            const auto decoded = decodePageImage(image, gun);
            QVERIFY2(decoded && decoded->loopCount == loopCount && decoded->events == expected,
                     qPrintable(lines.join('|')));
        }
        QVERIFY2(fitting > 200, qPrintable(QString::number(fitting)));
    }
};

QTEST_GUILESS_MAIN(TestMacroEncoder)
#include "tst_macroencoder.moc"
