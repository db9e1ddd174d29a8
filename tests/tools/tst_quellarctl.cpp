// SPDX-License-Identifier: GPL-3.0-or-later
// quellarctl as users and scripts run it: argument handling, exit codes, and
// whole scripts against the virtual mouse checked through the data files and
// the wire trace.
#include "TestFiles.h"
#include "VerbTable.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString kQuellarCtl = QStringLiteral(QUELLARCTL_EXECUTABLE);

struct Run {
    int exitCode = -1;
    QByteArray out;
    QStringList results; // one JSON text per operation
    QString errors;
};

// quellarctl with exactly these arguments, `input` on its standard input.
Run runQuellarCtl(const QStringList& arguments, const QByteArray& input = {},
                  const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(kQuellarCtl, arguments);
    process.write(input);
    process.closeWriteChannel();
    Run run;
    if (!process.waitForFinished(30000))
        return run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.results = QString::fromUtf8(run.out).split('\n', Qt::SkipEmptyParts);
    run.errors = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// Command report as the trace shows it: id 0, code, six bytes, checksum.
QString commandReport(const QList<int>& codeAndData) {
    QList<int> bytes = codeAndData;
    while (bytes.size() < 7)
        bytes.append(0);
    int sum = 0;
    for (int byte : bytes)
        sum += byte;
    bytes.prepend(0);
    bytes.append(0xFF - (sum & 0xFF));
    QStringList hex;
    for (int byte : bytes)
        hex.append(QString("%1").arg(byte, 2, 16, QLatin1Char('0')));
    return "cmd send_feature " + hex.join(' ');
}

QString json(const QList<int>& values) {
    QJsonArray array;
    for (int value : values)
        array.append(value);
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}
} // namespace

class TestQuellarCtl : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_data;

    Run quellarctl(const QStringList& arguments, const QByteArray& script = {}, bool virtualDevice = true) {
        QStringList options{"--data", m_data->path(), "--trace", m_data->filePath("trace.txt")};
        if (virtualDevice)
            options.append("--virtual-device");
        return runQuellarCtl(options + arguments, script);
    }
    Run script(const QStringList& lines) { return quellarctl({"script", "-"}, lines.join('\n').toUtf8()); }
    QString trace() const { return QString::fromUtf8(readFile(m_data->filePath("trace.txt"))); }
    // A row of verbs(): the words, the exit code, a part of standard output, a part of the trace
    // (empty: not checked), and "FILE KEY=VALUE", a key of modules/setting/FILE and its value with
    // list elements joined by "," (empty: none).
    static void verb(const char* name, const QStringList& words, int exitCode, const QString& output = {},
                     const QString& wire = {}, const QString& stored = {}) {
        QTest::newRow(name) << words << exitCode << output << wire << stored;
    }
    // A row of exitCodes(): the call, whether on the virtual mouse, the exit code, the one result
    // line (empty: none) and the one warning of a refusal (empty: none).
    static void callRow(const char* name, const QStringList& call, bool virtualDevice, int exitCode,
                        const QString& result, const QString& refusal = {}) {
        QTest::newRow(name) << call << virtualDevice << exitCode << result << refusal;
    }
    QSettings profileFile(int position) const {
        return QSettings(m_data->filePath(QString("modules/setting/p%1.bin").arg(position + 1)), QSettings::IniFormat);
    }

private slots:
    void init() { m_data = std::make_unique<QTemporaryDir>(); }

    // An unknown operation, a wrong argument count and a bad script line exit 2 before anything runs.
    void operationUsageErrors() {
        const QList<QPair<Run, QString>> runs{
            {quellarctl({"call", "NoSuchOp"}), "NoSuchOp"},
            {quellarctl({"call", "ui_0BH_SetCurrentDPIStage"}), "ui_0BH_SetCurrentDPIStage(uchar)"},
            {script({"[\"setProfile\", 4]", "not json"}), ""}};
        for (const auto& [run, error] : runs) {
            QCOMPARE(run.exitCode, 2);
            QVERIFY(run.results.isEmpty());
            QVERIFY2(run.errors.contains(error), qPrintable(run.errors));
        }
        QVERIFY(!trace().contains(commandReport({0x0B})));
    }

    void argumentsAreConvertedLikeQml() {
        // The text "3" becomes the number 3, as QML's conversion would.
        Run run = quellarctl({"call", "setProfile", "\"3\""});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.results, QStringList{"null"});
        run = quellarctl({"call", "getProfile"});
        QCOMPARE(run.results, QStringList{"3"});

        // Lists arrive as lists; a plain word is a string.
        run = quellarctl({"call", "saveApConfig", "[1,\"two\",[3]]"});
        QCOMPARE(run.exitCode, 0);
        run = quellarctl({"call", "loadApConfig"});
        QCOMPARE(run.results, QStringList{"[\"1\",\"two\",[3]]"});
        // Maps come back as objects: the installed languages by display name.
        run = quellarctl({"call", "chkLanguages"});
        QCOMPARE(run.results, QStringList{"{\"CHINESE (Simp)\":\"025044\"}"});
        run = quellarctl({"call", "getXYSensitive", "0"});
        QCOMPARE(run.results, QStringList{"4"});
    }

    void controllerOperationsAreReachable() {
        const Run run = script({"[\"ui_Ctl.setBusy\", 300]", "[\"ui_Ctl.setBusy\"]", "[\"ui_Ctl.onXChanged\", 5]"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.results, (QStringList{"null", "null", "null"}));
    }

    void settingsOfProfileThreeReachFileAndDevice() {
        QList<int> matrix;
        const QList<QList<int>> entries{{1, 0, 0xF0, 0}, {1, 0, 0xF1, 0}, {1, 0, 0xF2, 0}, {0x0F, 0, 0x2E, 0},
                                        {0, 0, 0x04, 0}, {7, 0, 1, 0},    {7, 0, 2, 0}};
        for (int button = 0; button < 16; ++button)
            matrix += button < entries.size() ? entries[button] : QList<int>{0, 0, 0, 0};
        const QList<int> codes{0x04, 0x08, 0x10, 0x18, 0x20, 0x3c, 0x80, 0x80};
        const QList<int> values{400, 800, 1600, 2400, 3200, 6000, 250, 250};
        QList<int> colours;
        for (int i = 0; i < 24; ++i)
            colours.append((i * 37) % 256);

        const Run write = script({
            "# profile 3 is the file p4.bin",
            "[\"ui_02H_SetCurrentProfile\", 3]",
            QString("[\"ui_11H_SetDPISet\", 6, %1, %2]").arg(json(codes), json(values)),
            "[\"ui_0BH_SetCurrentDPIStage\", 3]",
            "[\"ui_0DH_SetRGBLedEffect\", 2, 3, 2, [2, 3, 2]]",
            QString("[\"ui_10H_SetLED8StageColor\", 1, %1]").arg(json(colours)),
            "[\"ui_01H_SetReportRate\", 2]",
            QString("[\"ui_12H_SetKeyMatrix\", %1]").arg(json(matrix)),
        });
        QCOMPARE(write.exitCode, 0);
        QCOMPARE(write.results.size(), 7);

        QSettings p4 = profileFile(3);
        QCOMPARE(p4.value("sensor/dpi_Q3").toStringList().join(','), "400,800,1600,2400,3200,6000,250,250");
        QCOMPARE(p4.value("sensor/stage_Q3").toInt(), 3);
        QCOMPARE(p4.value("color_Q3/ledEffect").toStringList(), (QStringList{"2", "3", "2"}));
        QCOMPARE(p4.value("color_Q3/type1").toStringList().size(), 24);
        QCOMPARE(p4.value("sensor/reportRate_Q3").toInt(), 2);
        QCOMPARE(p4.value("keydefine_Q3/3").toStringList(), (QStringList{"15", "0", "46", "0"}));
        QCOMPARE(profileFile(0).value("sensor/stage_Q3").toInt(), 2); // the factory value, untouched

        const QString wire = trace();
        // The named key goes out as a plain key (the last write).
        for (const QString& report :
             {commandReport({0x11, 6, 8}), QString("cmd write 00 04 08 10 18 20 3c 80 80"), commandReport({0x0B, 3}),
              commandReport({0x0D, 2, 3, 2}), commandReport({0x10, 1, 24}), commandReport({0x01, 2}),
              commandReport({0x12, 1, 0x40, 0x08}),
              QString("cmd write 00 01 00 f0 00 01 00 f1 00 01 00 f2 00 00 00 2e 00")})
            QVERIFY2(wire.contains(report), qPrintable(report));

        // A second run reads the values back from the mouse and from the profile.
        const Run read =
            script({"[\"ui_02H_SetCurrentProfile\", 3]", "[\"ui_91H_SyncDPI\"]", "[\"ui_92H_GetKeyMatrix\"]",
                    "[\"ui_91H_GetDPISet\"]", "[\"ui_8DH_GetRGBLedEffect\"]", "[\"ui_81H_GetReportRate\"]"});
        QCOMPARE(read.exitCode, 0);
        QCOMPARE(read.results.value(1), "6");
        QList<int> sentMatrix = matrix;
        sentMatrix[12] = 0; // 0F is sent as 00
        QCOMPARE(read.results.value(2), json(sentMatrix));
        QCOMPARE(read.results.value(3), json(values));
        QCOMPARE(read.results.value(4), "[2,3,2]");
        QCOMPARE(read.results.value(5), "2");
    }

    void encodersReproduceTheirExamples() {
        // The last one is the mouse's tag encoder: down A, 5000 ms, up A.
        const QList<QPair<QStringList, QString>> examples{
            {{"encodeMacroLines", R"(["1,A","0,100","2,A"])", "1", "false"}, "[0,1,50,4,129,4,0,0]"},
            {{"encodeMacroLines", R"(["1,A","0,300","2,A"])", "1", "false"}, "[0,1,0,4,0,1,0,15,129,4,0,0]"},
            {{"encodeMacroLines", R"(["0,100","0,50"])", "1", "false"}, "[0,1]"},
            {{"macroIncode", R"(["A    [Down]","5000   [Delay]","A      [Up]"])"}, "[0,1,1,4,250,1,129,4,0,0]"}};
        for (const auto& [call, image] : examples)
            QCOMPARE(quellarctl(QStringList{"call"} + call).results, QStringList{image});
    }

    void macroScriptShowsFilesReferencesAndWire() {
        const Run run = script({
            "[\"createMacroIni\", \"Reload\", 0]",
            "[\"saveMacroIni\", \"Reload\", [\"1,A\", \"0,100\", \"2,A\", \"1\"], [], 1]",
            "[\"setMacroKey\", 0, \"Reload\"]",
            "[\"sendMacroData\", [0, 1, 50, 4, 129, 4, 0, 0], 0]",
            "[\"modifyMacroName\", \"Reload\", \"Reload fast\"]",
            "[\"getMacroKey\", 0]",
            "[\"isMacroUse\", \"Reload fast\"]",
        });
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.results.value(0), "true");
        QCOMPARE(run.results.value(3), "true");
        QCOMPARE(run.results.value(5), "\"Reload fast\"");
        // "Name", then the slot key bound to the macro in profile 0.
        QCOMPARE(run.results.value(6), "[\"Name\",\"0\"]");

        QVERIFY(QFile::exists(m_data->filePath("modules/macro/Reload fast.bin")));
        QVERIFY(!QFile::exists(m_data->filePath("modules/macro/Reload.bin")));
        QCOMPARE(profileFile(0).value("macro/0").toString(), "Reload fast");
        // Slot 0 is macro number 1 on the wire, with the image and its padding.
        QVERIFY(trace().contains(commandReport({0x13, 1, 0x80})));
        QVERIFY(trace().contains("cmd write 00 00 01 32 04 81 04 00 00 00"));
    }

    void virtualWithoutARunningInstanceFails() {
        const Run run = runQuellarCtl({"--data", m_data->path(), "virtual", "dump"});
        QCOMPARE(run.exitCode, 3);
        QVERIFY(run.errors.contains("no running quellar"));
    }

    void exitCodes_data() {
        QTest::addColumn<QStringList>("call");
        QTest::addColumn<bool>("virtualDevice");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("refusal");
        callRow("done", {"ui_0BH_SetCurrentDPIStage", "3"}, true, 0, "null");
        callRow("stage 9 refused", {"ui_0BH_SetCurrentDPIStage", "9"}, true, 1, "null",
                "ui_0BH_SetCurrentDPIStage refused: stage 9 outside 1 to 8");
        callRow("stage 300 is not a byte", {"ui_0BH_SetCurrentDPIStage", "300"}, true, 2, "");
        callRow("slider position -99999999999 refused", {"setXYSensitive", "0", "-99999999999"}, true, 1, "null",
                "setXYSensitive refused: slider position -99999999999 outside 0 to 9");
        callRow("an axis that is no number", {"setXYSensitive", "../sensor/dpi_Q3", "7"}, true, 1, "null",
                "setXYSensitive refused: axis ../sensor/dpi_Q3 is not a whole number");
        callRow("slider position 2.5", {"setXYSensitive", "1", "2.5"}, true, 1, "null",
                "setXYSensitive refused: slider position 2.5 is not a whole number");
        callRow("a gun key matrix that is no number",
                {"ui_12H_SetGunKeyMatrix", "[" + QStringList(64, "0").join(',') + "]", "x"}, true, 1, "null",
                "refused gun key matrix \"x\" outside 1 to 3");
        callRow("profile 99 refused", {"loadProfile", "99"}, true, 1, "false",
                "loadProfile refused: profile position 99");
        callRow("a name list type that is no number", {"updataNameList", "text", R"(["x"])"}, true, 0, "true");
        callRow("a false answer of a query", {"getScrollPinSwap"}, true, 0, "false");
        callRow("no device for a device command", {"getSensorType"}, false, 3, "0");
        callRow("no device needed", {"getProfile"}, false, 0, "0");
    }
    void exitCodes() {
        QFETCH(QStringList, call);
        QFETCH(bool, virtualDevice);
        QFETCH(int, exitCode);
        QFETCH(QString, result);
        QFETCH(QString, refusal);
        const Run run = quellarctl(QStringList{"call"} + call, {}, virtualDevice);
        if (!virtualDevice && run.errors.contains("Detect Mouse"))
            QSKIP("a real mouse is attached");
        QVERIFY2(run.exitCode == exitCode, qPrintable(run.errors));
        QCOMPARE(run.results, result.isEmpty() ? QStringList() : QStringList{result});
        QCOMPARE(run.errors.count("refused"), refusal.isEmpty() ? 0 : 1);
        QVERIFY2(run.errors.contains(refusal), qPrintable(run.errors));
        if (exitCode == 3)
            QVERIFY(run.errors.contains("no device"));
        if (exitCode == 2)
            QVERIFY2(run.errors.contains(QString("argument 1 of %1 is out of range").arg(call.first())),
                     qPrintable(run.errors));
        if (exitCode == 0)
            return;
        // Nothing refused reaches the profile or the wire.
        QCOMPARE(profileFile(0).value("sensor/stage_Q3").toInt(), 2);
        QCOMPARE(profileFile(0).value("XYSensitive/0", 4).toInt(), 4);
        QVERIFY(!trace().contains("send_feature 00 0b"));
    }

    // Every verb as a user types it, against the virtual mouse: what it prints, what the
    // mouse receives and what the profile (or configuration) file keeps.
    void verbs_data() {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("wire");
        QTest::addColumn<QString>("stored");
        const QString dpiCodes = "04 09 0e 13 18 80 80 80"; // 500 to 2500, stage 6 off, 7 and 8 spare
        verb("set dpi", {"set", "dpi", "dpi=500,1000,1500,2000,2500,3000", "enabled=1,1,1,1,1,0"}, 0,
             "enabled: on,on,on,on,on,off", dpiCodes, "p1.bin sensor/dpi_Select=1,1,1,1,1,0,0,0");
        verb("set dpi stage", {"set", "dpi", "stage=3"}, 0, "current stage: 3", commandReport({0x0B, 3}),
             "p1.bin sensor/stage_Q3=3");
        verb("set dpi colours", {"set", "dpi", "colours=#112233,#AABBCC"}, 0, "colours: #112233,#aabbcc,#00ff00", "",
             "p1.bin color_Q3/type1=17,34,51,170,187,204,0,255,0,255,255,0,0,255,255,255,0,255,0,0,0,0,0,0");
        verb("get dpi --json", {"get", "dpi", "--json"}, 0, "\"answeredBy\":\"quellarctl\",\"colours\":[\"#ff0000\"");
        verb("set rate", {"set", "rate", "250"}, 0, "report rate: 250 Hz", commandReport({0x01, 4}),
             "p1.bin sensor/reportRate_Q3=4");
        verb("set lighting", {"set", "lighting", "breath", "4"}, 0, "effect: breath", commandReport({0x0D, 2, 1, 2}),
             "p1.bin color_Q3/ledEffect=2,4,2");
        verb("set lighting off", {"set", "lighting", "off"}, 0, "effect: off", commandReport({0x0D}),
             "p1.bin color_Q3/ledEffect=1,0,2");
        verb("set axis", {"set", "axis", "3", "7"}, 0, "y: 7", commandReport({0x0E, 80, 160}),
             "p1.bin XYSensitive/1=7");
        verb("set pointer", {"set", "pointer", "speed=4", "double-click=7", "scroll=screen"}, 0, "scroll: screen");
        verb("set button", {"set", "button", "4", "Copy"}, 0, "button 4: Copy", "", "p1.bin keydefine_Q3/3=0,0,224,6");
        verb("set button key", {"set", "button", "5", "key:A"}, 0, "button 5: key:A", "",
             "p1.bin keydefine_Q3/4=0,0,4,0");
        verb("set button two words", {"set", "button", "2", "Select", "All"}, 0, "button 2: Select All", "",
             "p1.bin keydefine_Q3/1=0,0,224,4");
        verb("get button", {"get", "button"}, 0, "button 7: DPI LOOP");
        verb("last left click stays", {"set", "button", "1", "off"}, 1, "", "", "p1.bin keydefine_Q3/0=1,0,240,0");
        verb("profile list", {"profile", "list"}, 0, "1 Default (current)");
        verb("profile switch", {"profile", "switch", "2"}, 0, "current profile: 2", commandReport({0x01, 1}),
             "apConfig.bin Q3/profileNo=1");
        verb("profile copy", {"profile", "copy", "1", "3"}, 0, "profile 1 copied to profile 3", "",
             "p3.bin sensor/dpi_Q3=800,1200,1600,2400,3200,6000,250,250");
        verb("macro list", {"macro", "list"}, 0, "no macros yet");
        verb("macro show unknown", {"macro", "show", "nope"}, 1);
        verb("info", {"info"}, 0, "firmware: 1.0A\ncurrent profile: 1\nDPI stages: 6\ncurrent stage: 1",
             commandReport({0x8B}));
        verb("info --json", {"--json", "info"}, 0, R"("firmware":"1.0A","profile":1)");
        verb("list", {"list"}, 0, "mouse 04d9:a171 virtual:cmd");
        verb("call --list", {"call", "--list"}, 0, "void ui_0BH_SetCurrentDPIStage(uchar)\n");
        verb("verb help", {"set", "--help"}, 0, "set button N FUNCTION");
        verb("help of a verb", {"help", "profile"}, 0, "Usage: quellarctl profile");
    }
    void verbs() {
        QFETCH(QStringList, words);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        QFETCH(QString, wire);
        QFETCH(QString, stored);
        const Run run = quellarctl(words);
        QVERIFY2(run.exitCode == exitCode, qPrintable(QString::number(run.exitCode) + run.out + run.errors));
        const QString shown = QString::fromUtf8(run.out);
        QVERIFY2(shown.contains(output), qPrintable(shown));
        if (words.first() != "list" && !words.contains("--list") && !words.contains("--help") &&
            words.first() != "help")
            QVERIFY2(shown.contains(words.contains("--json") ? R"("answeredBy":"quellarctl")"
                                                             : "answered by quellarctl's own back end"),
                     qPrintable(shown));
        if (!wire.isEmpty())
            QVERIFY2(trace().contains(wire), qPrintable(trace()));
        if (!stored.isEmpty()) {
            const QString file = stored.section('=', 0, 0);
            const QSettings settings(m_data->filePath("modules/setting/" + file.section(' ', 0, 0)),
                                     QSettings::IniFormat);
            const QVariant value = settings.value(file.section(' ', 1));
            const QString text = value.typeId() == QMetaType::QVariantList || value.typeId() == QMetaType::QStringList
                                     ? value.toStringList().join(',')
                                     : value.toString();
            QCOMPARE(text, stored.section('=', 1));
        }
    }

    // Wrong words: exit 2 before the data folder is prepared or the mouse opened.
    void usageErrors_data() {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QString>("error");
        QTest::newRow("rate not offered") << QStringList{"set", "rate", "300"} << "one of 125, 250, 500, 1000";
        QTest::newRow("dpi off step") << QStringList{"set", "dpi", "dpi=250"} << "steps of 100";
        QTest::newRow("dpi too high") << QStringList{"set", "dpi", "dpi=6100"} << "from 200 to 6000";
        QTest::newRow("stage 7") << QStringList{"set", "dpi", "stage=7"} << "from 1 to 6";
        QTest::newRow("axis 10") << QStringList{"set", "axis", "10"} << "from 0 to 9";
        QTest::newRow("unknown effect") << QStringList{"set", "lighting", "disco"} << "off, static, breath";
        QTest::newRow("unknown function") << QStringList{"set", "button", "2", "Bogus"} << "no function is named";
        QTest::newRow("button 8") << QStringList{"set", "button", "8", "Copy"} << "from 1 to 7";
        QTest::newRow("profile 11") << QStringList{"profile", "switch", "11"} << "from 1 to 10";
        QTest::newRow("unknown subject") << QStringList{"get", "colour"} << "get what?";
        QTest::newRow("unknown verb") << QStringList{"frobnicate"} << "no verb is named";
    }
    void usageErrors() {
        QFETCH(QStringList, words);
        QFETCH(QString, error);
        const Run run = quellarctl(words);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.errors.contains(error), qPrintable(run.errors));
        QVERIFY(run.out.isEmpty());
        QVERIFY(trace().isEmpty());
        QVERIFY(!QFile::exists(m_data->filePath("modules/setting/p1.bin")));
    }

    void profileExchangeAnswersTheDialogWithTheFile() {
        const QString exported = m_data->filePath("exported.pf");
        QCOMPARE(quellarctl({"set", "rate", "500"}).exitCode, 0);
        QCOMPARE(quellarctl({"profile", "export", exported}).exitCode, 0);
        QCOMPARE(QSettings(exported, QSettings::IniFormat).value("sensor/reportRate_Q3").toString(), QString("2"));
        QCOMPARE(quellarctl({"profile", "switch", "4"}).exitCode, 0);
        const Run imported = quellarctl({"profile", "import", exported});
        QCOMPARE(imported.exitCode, 0);
        QCOMPARE(profileFile(3).value("sensor/reportRate_Q3").toString(), QString("2"));
        QVERIFY(trace().contains(commandReport({0x01, 2})));
        QCOMPARE(quellarctl({"profile", "import", m_data->filePath("missing.pf")}).exitCode, 2);
    }

    void macroVerbsListShowBindAndExchange() {
        QCOMPARE(script({"[\"createMacroIni\", \"Reload\", 0]",
                         "[\"saveMacroIni\", \"Reload\", [\"1,A\", \"0,100\", \"2,A\"], [], 1]",
                         "[\"updataNameList\", 0, [\"Reload\"]]"})
                     .exitCode,
                 0);
        QVERIFY(quellarctl({"macro", "list"}).out.startsWith("Reload\n"));
        QVERIFY(quellarctl({"macro", "show", "Reload"}).out.startsWith("key down A\ndelay 100\nkey up A\nloops: 1\n"));

        // As the macro key dialog: the first free slot, the button's entry, the upload.
        const Run bound = quellarctl({"macro", "bind", "Reload", "4"});
        QCOMPARE(bound.exitCode, 0);
        QVERIFY2(bound.out.startsWith("button 4: macro:Reload\n"), bound.out.constData());
        QCOMPARE(profileFile(0).value("macro/0").toString(), "Reload");
        QCOMPARE(profileFile(0).value("keydefine_Q3/3").toStringList(), (QStringList{"9", "0", "1", "0"}));
        QVERIFY(trace().contains(commandReport({0x13, 1, 0x80})));
        QVERIFY(quellarctl({"macro", "list", "--json"})
                    .out.startsWith(R"({"answeredBy":"quellarctl","macros":[{"name":"Reload","slots":["0"]}]})"));

        const QString exported = m_data->filePath("reload.mc");
        QCOMPARE(quellarctl({"macro", "export", "Reload", exported}).exitCode, 0);
        QVERIFY(QFile::exists(exported));
        QCOMPARE(quellarctl({"macro", "import", exported, "Reload"}).exitCode, 0);
        QCOMPARE(quellarctl({"macro", "import", exported, "Unknown"}).exitCode, 1);
        QCOMPARE(quellarctl({"macro", "bind", "Unknown", "4"}).exitCode, 1);
    }

    void autostartWritesAndRemovesTheEntry() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", m_data->filePath("config"));
        const QString entry = m_data->filePath("config/autostart/quellar.desktop");
        QCOMPARE(runQuellarCtl({"autostart", "on"}, {}, environment).exitCode, 0);
        QVERIFY(QString::fromUtf8(readFile(entry)).contains("\nExec=quellar --hidden\n"));
        QCOMPARE(runQuellarCtl({"autostart", "status"}, {}, environment).results, QStringList{"autostart: on"});
        QCOMPARE(runQuellarCtl({"autostart", "off"}, {}, environment).exitCode, 0);
        QVERIFY(!QFile::exists(entry));
        QCOMPARE(runQuellarCtl({"autostart", "maybe"}, {}, environment).exitCode, 2);
    }

    void completionsKnowEveryVerb() {
        for (const char* name : {"quellarctl.bash", "_quellarctl"}) {
            const QString script =
                QString::fromUtf8(readFile(QStringLiteral(QUELLAR_SOURCE_DIR "/packaging/completion/") + name));
            QVERIFY(!script.isEmpty());
            for (const Verb& verb : VerbTable::verbs()) {
                for (const QString& word : QStringList{verb.name} + verb.subjects)
                    QVERIFY2(script.contains(
                                 QRegularExpression("(^|[^\\w-])" + QRegularExpression::escape(word) + "($|[^\\w-])")),
                             qPrintable(QString("%1 lacks %2").arg(name, word)));
            }
        }
    }

    // --version names the project version; --help lists the exit codes.
    void versionAndHelp() {
        const Run version = quellarctl({"--version"});
        QCOMPARE(version.exitCode, 0);
        QCOMPARE(version.results, QStringList{QStringLiteral("quellarctl " QUELLAR_VERSION)});
        const Run help = quellarctl({"--help"});
        QCOMPARE(help.exitCode, 0);
        for (const char* line : {"0  done", "1  refused or failed", "2  usage", "3  no device", "4  busy"})
            QVERIFY2(help.results.join('\n').contains(QLatin1String(line)), line);
    }

    // On a small tmpfs of its own (a private mount namespace: no privilege needed where
    // user namespaces are allowed), filled to the last byte, a profile copy fails: the
    // target keeps its bytes and quellarctl exits 1.
    void fullDiskExitsWithOneAndKeepsProfile() {
        static const QString kScript = QStringLiteral(R"(
            mount -t tmpfs -o size=200k tmpfs "$1" || exit 77
            "$2" --data "$1" call getProfile >/dev/null 2>&1 || exit 78
            printf '[sensor]\nreportRate_Q3=3\n' >"$1/modules/setting/p1.bin"
            cp "$1/modules/setting/p5.bin" "$3/p5.before"
            dd if=/dev/zero of="$1/filler" bs=1k 2>/dev/null
            "$2" --data "$1" --virtual-device call copyProfile 4 0 >/dev/null 2>"$3/errors.txt"
            echo "exit $?"
            cmp -s "$1/modules/setting/p5.bin" "$3/p5.before" && echo kept
        )");
        const QTemporaryDir results;
        QProcess process;
        process.start("unshare", {"-rm", "sh", "-c", kScript, "sh", m_data->path(), kQuellarCtl, results.path()});
        if (!process.waitForFinished(60000) && process.error() == QProcess::FailedToStart)
            QSKIP("unshare is not installed");
        if (process.exitCode() == 77 || process.exitCode() == 1)
            QSKIP("no private tmpfs can be mounted here");
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(process.readAllStandardOutput()), "exit 1\nkept\n");
        QVERIFY(readFile(results.filePath("errors.txt"))
                    .contains("quellar.store: cannot write \"./modules/setting/p5.bin\""));
    }

    void emptyDataFolderIsRefused() {
        // An empty value must not fall back to the user's real data folder.
        for (const QStringList& arguments :
             {QStringList{"--data", QString(), "call", "getProfile"}, QStringList{"--data=", "virtual", "dump"}}) {
            const Run run = runQuellarCtl(arguments);
            QCOMPARE(run.exitCode, 2);
            QVERIFY(run.out.isEmpty());
            QVERIFY2(run.errors.contains("quellarctl: --data needs a folder, not an empty value\n"),
                     qPrintable(run.errors));
        }
    }

    void runsOnOneDataFolderTakeTurns() {
        // Two runs at once on one data folder: the second waits for the first instead of interleaving.
        const QStringList arguments{"--data", m_data->path(), "--virtual-device", "call", "getProfile"};
        QProcess first;
        QProcess second;
        first.start(kQuellarCtl, arguments);
        second.start(kQuellarCtl, arguments);
        for (QProcess* process : {&first, &second}) {
            QVERIFY(process->waitForFinished(30000));
            QCOMPARE(process->exitCode(), 0);
            QCOMPARE(process->readAllStandardOutput(), QByteArray("0\n"));
        }
    }

    void unsafeRuntimeFolderIsRefused() {
        // A runtime folder anybody may write to could hold anybody's lock or socket.
        QTemporaryDir shared;
        QVERIFY(QFile::setPermissions(shared.path(), QFileDevice::Permissions(0x7777)));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_RUNTIME_DIR", shared.path());
        for (const QStringList& command : {QStringList{"call", "getProfile"}, QStringList{"virtual", "dump"}}) {
            const Run run = runQuellarCtl(QStringList{"--data", m_data->path()} + command, {}, environment);
            QCOMPARE(run.exitCode, command.first() == "call" ? 1 : 3);
            QVERIFY(run.out.isEmpty());
            QVERIFY2(run.errors.contains("refusing the runtime folder " + shared.path() +
                                         ": other users may write to it (mode 0777)"),
                     qPrintable(run.errors));
        }
        QVERIFY(QDir(shared.path()).isEmpty());
        QVERIFY(!QFile::exists(m_data->filePath("modules"))); // stopped before touching the data
    }

    void debugLinesNeedVerboseOrLoggingRules_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("loggingRules"); // QT_LOGGING_RULES; empty: unset
        QTest::addColumn<bool>("debugLogged");
        QTest::newRow("default") << QStringList() << QString() << false;
        QTest::newRow("--verbose") << QStringList{"--verbose"} << QString() << true;
        QTest::newRow("QT_LOGGING_RULES") << QStringList() << "quellar.app.debug=true" << true;
        QTest::newRow("QT_LOGGING_RULES over --verbose")
            << QStringList{"--verbose"} << "quellar.*.debug=false" << false;
    }
    void debugLinesNeedVerboseOrLoggingRules() {
        QFETCH(QStringList, options);
        QFETCH(QString, loggingRules);
        QFETCH(bool, debugLogged);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("QT_LOGGING_RULES");
        if (!loggingRules.isEmpty())
            environment.insert("QT_LOGGING_RULES", loggingRules);
        const Run run = runQuellarCtl(QStringList{"--data", m_data->path(), "--virtual-device"} + options +
                                          QStringList{"call", "ui_Ctl.setBusy"},
                                      {}, environment);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.errors.contains("quellar.app: data folder"), debugLogged);
    }
};

QTEST_GUILESS_MAIN(TestQuellarCtl)
#include "tst_quellarctl.moc"
