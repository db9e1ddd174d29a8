// SPDX-License-Identifier: GPL-3.0-or-later
// Every command slot in one table: exact reports on the wire, the change in the mouse's memory, what a
// get hands its caller, also after a failed transfer; checksum and scrambling of command reports.

#include "DeviceTestSupport.h"
#include "ReportCodec.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSettings>
#include <QTest>
#include <functional>
#include <optional>
#include <tuple>

using W = Hid_Thread;

namespace {
template <std::size_t N> const std::array<uchar, N> P = patternBlock<N>(1); // the caller's pattern

// "P64" is the hex of 64 bytes of the caller's pattern, "Q4" of the device's; a run like "Q4P20"
// takes each next stretch from the named pattern.
QString expand(QString text) {
    static const QRegularExpression run(QStringLiteral("(?:[PQ]\\d+)+")), token(QStringLiteral("([PQ])(\\d+)"));
    for (QRegularExpressionMatch m = run.match(text); m.hasMatch(); m = run.match(text)) {
        QByteArray bytes;
        for (auto it = token.globalMatch(m.captured()); it.hasNext();) {
            const QRegularExpressionMatch t = it.next();
            const int seed = t.captured(1) == QStringLiteral("P") ? 1 : 2;
            bytes += bytesOf(patternBlock<512>(seed)).mid(bytes.size(), t.captured(2).toInt());
        }
        text.replace(m.capturedStart(), m.capturedLength(), QString::fromLatin1(bytes.toHex()));
    }
    return text;
}

// What a get hands back: scalars preset to 9, blocks preset to the caller's pattern, and the
// text of whatever the call used.
struct Out {
    std::array<uchar, 5> v{9, 9, 9, 9, 9};
    int used = 0;
    std::optional<bool> ok;
    QString version;
    std::tuple<Block8, Block21, Block24, Block64, Block128, Block192, Block512> blocks{
        patternBlock<8>(1),   patternBlock<21>(1),  patternBlock<24>(1), patternBlock<64>(1),
        patternBlock<128>(1), patternBlock<192>(1), patternBlock<512>(1)};
    std::function<QByteArray()> block;

    uchar& operator[](int i) {
        used = std::max(used, i + 1);
        return v[static_cast<std::size_t>(i)];
    }
    template <std::size_t N> std::array<uchar, N>& b() {
        block = [this] { return bytesOf(std::get<std::array<uchar, N>>(blocks)); };
        return std::get<std::array<uchar, N>>(blocks);
    }
    QString text() const {
        QStringList parts;
        for (int i = 0; i < used; ++i)
            parts << QString::number(v[static_cast<std::size_t>(i)]);
        QStringList words{version, parts.join(QLatin1Char(',')), block ? QString::fromLatin1(block().toHex()) : ""};
        words.removeAll(QString());
        return (ok ? QString::number(*ok) + QLatin1Char(':') : QString()) + words.join(QLatin1Char(' '));
    }
};
using Call = std::function<void(W&, Out&)>;

// The items ("group/key=value", the form of the table's memory cells) that differ from `before`.
QString changes(const VirtualMouseState& before, const VirtualMouseState& after) {
    const auto items = [](const VirtualMouseState& state) {
        QStringList out;
        QString group;
        for (const QString& line : state.toIni().split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            if (line.startsWith(QLatin1Char('[')))
                group = line.mid(1, line.size() - 2);
            else
                out << group + QLatin1Char('/') + line;
        }
        return out;
    };
    QStringList diff = items(after);
    diff.removeIf([old = items(before)](const QString& item) { return old.contains(item); });
    return diff.join(QLatin1Char(' '));
}

VirtualMouseState factoryWith(const QString& changed) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("state.ini"));
    {
        QSettings ini(path, QSettings::IniFormat);
        for (const QString& item : changed.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            ini.setValue(item.section(QLatin1Char('='), 0, 0), item.section(QLatin1Char('='), 1));
    }
    return VirtualMouseState::fromIniFile(path);
}

// Columns: memory before, out report, result, result after a failed transfer. The bulk payload is
// the pattern bytes the result names, in 32-byte reports.
void row(const char* name, const char* prep, const char* out, const char* result, const char* failed,
         const Call& call) {
    QTest::newRow(name) << QString::fromLatin1(prep) << QByteArray::fromHex(out) << QString::fromLatin1(result)
                        << QString::fromLatin1(failed) << call;
}
// A set's result is the change in the mouse's memory; a failed send changes nothing.
void set(const char* name, const char* out, const char* change, void (*call)(W&)) {
    row(name, "", out, change, "", [call](W& w, Out&) { call(w); });
}

} // namespace
Q_DECLARE_METATYPE(Call)

class TestDeviceCommands : public QObject {
    Q_OBJECT
private slots:
    void command_data() {
        QTest::addColumn<QString>("prep");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("failed");
        QTest::addColumn<Call>("call");

        set("01H", "00 01 04 00 00 00 00 00 fa", "function/reportRate=4", [](W& w) { w.hid_01H_SetReportRate(4); });
        set("02H", "00 02 03 00 00 00 00 00 fa", "mouse/activeKeyMatrix=3",
            [](W& w) { w.hid_02H_SetCurrentProfile(3); });
        set("03H function", "00 03 01 02 40 05 00 00 b4",
            "function/reportRate=2 function/option1=64 function/option2=5",
            [](W& w) { w.hid_03H_SetFunctionOption(1, 2, 0x40, 5); });
        set("03H keyboard", "00 03 09 08 07 06 00 00 de",
            "function/sensorType=9 function/reportRate=8 function/option1=7 function/option2=6",
            [](W& w) { w.hid_03H_SetKeyboardoption(9, 8, 7, 6); });
        set("04H", "00 04 10 02 00 00 01 00 e8", "mouse/gunData=1002000001",
            [](W& w) { w.hid_04H_SetGunData(0x10, 2, 0, 0, 1); });
        set("07H instruct", "00 07 00 01 02 03 00 00 f2", "ledInstruct/0=010203",
            [](W& w) { w.hid_07H_SetLEDInstructFunction(0, 1, 2, 3); });
        set("07H indicator", "00 07 05 06 00 00 00 00 ed", "ledInstruct/5=060000",
            [](W& w) { w.hid_07H_SetControlIndicatorLight(5, 6); });
        set("08H", "00 08 01 02 03 04 05 06 e2", "keyboard/ledType=010203040506",
            [](W& w) { w.hid_08H_SetLEDType(1, 2, 3, 4, 5, 6); });
        set("09H", "00 09 02 00 00 00 00 00 f4", "keyboard/mode=2", [](W& w) { w.hid_09H_SetKeyboardMode(2); });
        set("0BH", "00 0b 03 00 00 00 00 00 f1", "dpi/currentStage=3", [](W& w) { w.hid_0BH_SetCurrentDPIStage(3); });
        set("0DH effect", "00 0d 02 03 02 00 00 00 eb", "light/effect=2 light/option1=3 light/option2=2",
            [](W& w) { w.hid_0DH_SetRGBLedEffect(2, 3, 2); });
        set("0DH matrix", "00 0d 00 00 08 00 00 00 ea", "keyboard/keyMatrix=P512",
            [](W& w) { w.hid_0DH_SetKeyMatrix(P<512>); });
        set("0EH switches", "00 0e 00 00 15 00 00 00 dc", "keyboard/keySwitches=P21",
            [](W& w) { w.hid_0EH_SetKeyOnOff(P<21>); });
        set("0EH XY", "00 0e 28 3c 00 00 00 00 8d", "sensor/x=40 sensor/y=60",
            [](W& w) { w.hid_0EH_SetXYSensitive(40, 60); });
        set("10H type 1", "00 10 01 18 00 00 00 00 d6", "light/stageColors24=P24",
            [](W& w) { w.hid_10H_SetLED8StageColor(1, P<24>); });
        set("10H type 2", "00 10 02 04 00 00 00 00 e9", "light/stageColors4=P4",
            [](W& w) { w.hid_10H_SetLED8StageColor(2, P<24>); });
        set("11H DPI", "00 11 06 08 00 00 00 00 e0", "dpi/codes=P8", [](W& w) { w.hid_11H_SetDPISet(6, P<8>); });
        set("11H macro", "00 11 00 05 03 00 00 00 e6", "keyboardMacro/5=P192",
            [](W& w) { w.hid_11H_SetMacroKey(5, P<192>); });
        set("12H matrix 1", "00 12 01 40 08 00 00 00 a4", "keyMatrix/1=P64",
            [](W& w) { w.hid_12H_SetKeyMatrix(P<64>, 1); });
        set("12H picture", "00 12 00 04 08 22 00 00 bf", "picture/4=P512",
            [](W& w) { w.hid_12H_SetUserPicture(4, 0x22, P<512>); });
        set("13H macro", "00 13 07 80 00 00 00 00 65", "macro/7=P128", [](W& w) { w.hid_13H_SetMacroKey(7, P<128>); });
        set("13H recovery", "00 13 ff 00 00 00 00 00 ed", "keyboard/recoveryRequests=1",
            [](W& w) { w.hid_13H_SetRecoveryData(); });
        set("14H", "00 14 00 02 ff 00 10 00 da", "color/2=ff0010", [](W& w) { w.hid_14H_SetColor(2, 255, 0, 16); });

        row("00H", "", "00 00 01 02 03 04 00 00 f5", "1,2,3,4", "0,0,0,0", [](W& w, Out& o) {
            o.v = {1, 2, 3, 4, 0};
            w.hid_00H_GetSecrecyCode(o[0], o[1], o[2], o[3]);
        });
        row("80H", "", "00 80 00 00 00 00 00 00 7f", "1.0A", "unknown",
            [](W& w, Out& o) { w.hid_80H_GetFWVersion(o.version); });
        row("81H", "function/reportRate=8", "00 81 00 00 00 00 00 00 7e", "8", "9",
            [](W& w, Out& o) { w.hid_81H_GetReportRate(o[0]); });
        row("82H", "mouse/activeKeyMatrix=2", "00 82 00 00 00 00 00 00 7d", "2", "9",
            [](W& w, Out& o) { w.hid_82H_GetCurrentProfile(o[0]); });
        const char* options = "function/sensorType=3 function/reportRate=4 function/option1=64 function/option2=65";
        row("83H function", options, "00 83 00 00 00 00 00 00 7c", "3,64,65", "0,0,0",
            [](W& w, Out& o) { w.hid_83H_GetFunctionOption(o[0], o[1], o[2]); });
        row("83H keyboard", options, "00 83 00 00 00 00 00 00 7c", "3,4,64,65", "9,9,9,9",
            [](W& w, Out& o) { w.hid_83H_GetKeyboardoption(o[0], o[1], o[2], o[3]); });
        row("84H", "", "00 84 00 00 00 00 00 00 7b", "0,0,0,0", "9,9,9,9",
            [](W& w, Out& o) { w.hid_84H_GetButtonSensitivity(o[0], o[1], o[2], o[3]); });
        row("87H type 3", "ledInstruct/3=070809", "00 87 03 00 00 00 00 00 75", "1:7,8,9", "0:9,9,9",
            [](W& w, Out& o) { o.ok = w.hid_87H_GetLEDInstructFunction(3, o[0], o[1], o[2]); });
        row("88H", "keyboard/ledType=010203040506", "00 88 00 00 00 00 00 00 77", "2,3,4,5,6", "9,9,9,9,9",
            [](W& w, Out& o) { w.hid_88H_GetLEDType(o[0], o[1], o[2], o[3], o[4]); });
        row("89H", "keyboard/mode=7", "00 89 00 00 00 00 00 00 76", "7", "9",
            [](W& w, Out& o) { w.hid_89H_GetKeyboardMode(o[0]); });
        row("8BH", "dpi/currentStage=5", "00 8b 00 00 00 00 00 00 74", "5", "0",
            [](W& w, Out& o) { w.hid_8BH_GetCurrentDPIStage(o[0]); });
        row("8DH effect", "light/effect=4 light/option1=3 light/option2=2", "00 8d 00 00 00 00 00 00 72", "4,3,2",
            "0,0,0", [](W& w, Out& o) { w.hid_8DH_GetRGBLedEffect(o[0], o[1], o[2]); });
        row("8DH matrix", "keyboard/keyMatrix=Q512", "00 8d 00 00 00 00 00 00 00", "Q512", "P512",
            [](W& w, Out& o) { w.hid_8DH_GetKeyMatrix(o.b<512>()); });
        row("8EH", "keyboard/keySwitches=Q21", "00 8e 00 00 00 00 00 00 71", "Q21", "P21",
            [](W& w, Out& o) { w.hid_8EH_GetKeyOnOff(o.b<21>()); });
        row("90H type 1", "light/stageColors24=Q24", "00 90 01 00 00 00 00 00 6e", "Q24", "P24",
            [](W& w, Out& o) { w.hid_90H_GetLED8StageColor(1, o.b<24>()); });
        row("90H type 2 reads 4", "light/stageColors4=Q4", "00 90 02 00 00 00 00 00 6d", "Q4P20", "P24",
            [](W& w, Out& o) { w.hid_90H_GetLED8StageColor(2, o.b<24>()); });
        row("91H DPI", "dpi/stageCount=4 dpi/codes=Q8", "00 91 00 00 00 00 00 00 6e", "1:4 Q8", "0:9 P8",
            [](W& w, Out& o) { o.ok = w.hid_91H_GetDPISet(o[0], o.b<8>()); });
        row("91H macro", "keyboardMacro/5=Q192", "00 91 00 05 00 00 00 00 69", "Q192", "P192",
            [](W& w, Out& o) { w.hid_91H_GetMacroKey(5, o.b<192>()); });
        row("92H matrix", "keyMatrix/1=Q64", "00 92 01 00 00 00 00 00 6c", "Q64", "P64",
            [](W& w, Out& o) { w.hid_92H_GetKeyMatrix(o.b<64>()); });
        row("92H picture", "picture/4=Q512", "00 92 00 04 00 00 00 00 69", "Q512", "P512",
            [](W& w, Out& o) { w.hid_92H_GetUserPicture(4, o.b<512>()); });
        row("93H", "macro/7=Q128", "00 93 07 00 00 00 00 00 65", "Q128", "P128",
            [](W& w, Out& o) { w.hid_93H_GetMacroKey(7, o.b<128>()); });
        row("94H", "color/2=ff0010", "00 94 00 02 00 00 00 00 69", "255,0,16", "9,9,9",
            [](W& w, Out& o) { w.hid_94H_GetColor(2, o[0], o[1], o[2]); });
    }

    void command() {
        QFETCH(QString, prep);
        QFETCH(QByteArray, out);
        QFETCH(QString, result);
        QFETCH(QString, failed);
        QFETCH(Call, call);
        const bool isGet = uchar(out.at(1)) >= 0x80 || out.at(1) == 0;
        static const QRegularExpression token(QStringLiteral("[PQ](\\d+)"));
        int payload = 0;
        for (auto it = token.globalMatch(result); it.hasNext();)
            payload += it.next().captured(1).toInt();
        const int reports = (payload + 31) / 32;

        for (const bool fail : {false, true}) {
            DeviceRig rig;
            rig.virt.mouse().setState(factoryWith(expand(prep)));
            const VirtualMouseState before = rig.virt.mouse().state();
            if (fail)
                rig.faults.failNext(isGet ? FaultyHidBackend::Op::GetFeature : FaultyHidBackend::Op::SendFeature);
            Out o;
            call(rig.worker, o);
            rig.worker.waitForTransfers();
            QCOMPARE(o.text() + changes(before, rig.virt.mouse().state()), expand(fail ? failed : result));
            QCOMPARE(rig.virt.openHandles(), 0);
            QVERIFY(!rig.worker.records().at(1).path.isEmpty());

            const QList<TraceLine> sends = rig.cmd(QStringLiteral("send_feature"));
            QCOMPARE(sends.size(), 1);
            QCOMPARE(sends[0].bytes.toHex(' '), out.toHex(' '));
            QCOMPARE(rig.cmd().last().op, QStringLiteral("close"));
            const QList<TraceLine> writes = rig.cmd(QStringLiteral("write"));
            const int bulk = fail ? 0 : reports;
            QCOMPARE(rig.cmd(QStringLiteral("read_timeout")).size(), isGet ? bulk : 0);
            QCOMPARE(writes.size(), isGet ? 0 : bulk);
            const QByteArray data = bytesOf(patternBlock<512>(1)).left(payload).leftJustified(reports * 32, '\0');
            QByteArray sent, expected;
            for (int i = 0; i < writes.size(); ++i) {
                sent += writes[i].bytes;
                expected += QByteArray(1, '\0') + data.mid(i * 32, 32);
            }
            QCOMPARE(sent.toHex(' '), expected.toHex(' '));
            // The access flag came back: the next command runs.
            uchar rate = 0;
            rig.worker.hid_81H_GetReportRate(rate);
            QCOMPARE(rate, rig.virt.mouse().state().reportRate);
        }
    }

    void scrambledCommandsReachTheMouse() {
        DeviceRig rig;
        LinkState::scramblingEnabled.store(true);
        const QByteArray code(VirtualMouse::kSecrecyCode);
        std::copy(code.begin(), code.end(), LinkState::secrecyCode.begin() + 1);
        rig.worker.hid_0BH_SetCurrentDPIStage(3);
        rig.worker.hid_12H_SetKeyMatrix(patternBlock<64>(1), 2);
        uchar stage = 0;
        rig.worker.hid_8BH_GetCurrentDPIStage(stage);
        LinkState::scramblingEnabled.store(false);
        QCOMPARE(stage, 3);
        QCOMPARE(rig.virt.mouse().state().keyMatrices[1], patternBlock<64>(1));
        QCOMPARE(rig.cmd(QStringLiteral("send_feature"))[0].bytes.toHex(' '), QByteArray("00 c5 15 e5 90 e7 8d 9e 27"));
    }

    void checksumAndScrambleExamples() {
        for (const auto& [command, sum] : {std::pair{"01030000000000", 0xFB},
                                           {"00000000000000", 0xFF},
                                           {"12014008000000", 0xA4},
                                           {"ffffffffffffff", 0x06}})
            QCOMPARE(int(ReportCodec::checksum(reinterpret_cast<const uchar*>(QByteArray::fromHex(command).data()))),
                     sum);
        const QByteArray code = QByteArray(1, '\0') + "731905" + QByteArray(1, '\0');
        for (const auto& [plain, key, scrambled] :
             {std::tuple{"0000000000000000", QByteArray(8, '\0'), "c457d40716b4f627"},
              {"0b030000000000f1", code, "c515e590e78d9e27"},
              {"0012345678000093", code, "c6d4d5906f370fc7"}}) {
            QByteArray block = QByteArray::fromHex(plain);
            const auto* k = reinterpret_cast<const uchar*>(key.constData());
            ReportCodec::scramble(reinterpret_cast<uchar*>(block.data()), k);
            QCOMPARE(block.toHex(), QByteArray(scrambled));
            ReportCodec::unscramble(reinterpret_cast<uchar*>(block.data()), k);
            QCOMPARE(block.toHex(), QByteArray(plain));
        }
    }

    // Unscramble undoes scramble for any block and code, and bytes 0 and 7 of the code never matter.
    void randomBlocksAndCodes() {
        QRandomGenerator random(20261206);
        const auto fill = [&random](std::array<uchar, 8>& bytes) {
            for (auto& b : bytes)
                b = static_cast<uchar>(random.bounded(256));
        };
        for (int round = 0; round < 20000; ++round) {
            std::array<uchar, 8> block{}, code{};
            fill(block);
            fill(code);
            auto other = code;
            other[0] = static_cast<uchar>(random.bounded(256));
            other[7] = static_cast<uchar>(random.bounded(256));
            auto a = block;
            auto b = block;
            ReportCodec::scramble(a.data(), code.data());
            ReportCodec::scramble(b.data(), other.data());
            QCOMPARE(a, b);
            ReportCodec::unscramble(a.data(), other.data());
            QCOMPARE(a, block);
        }
    }
};

QTEST_GUILESS_MAIN(TestDeviceCommands)
#include "tst_devicecommands.moc"
