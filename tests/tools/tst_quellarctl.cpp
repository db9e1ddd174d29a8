// quellarctl as users and scripts run it: argument handling, exit codes, and
// whole scripts against the virtual mouse checked through the data files and
// the wire trace.
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString kQuellarCtl = QStringLiteral(QUELLARCTL_EXECUTABLE);

struct Run {
    int exitCode = -1;
    QStringList results; // one JSON text per operation
    QString errors;
};

// Command report as the trace shows it: id 0, code, six bytes, checksum.
QString commandReport(const QList<int>& codeAndData)
{
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
        hex.append(QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')));
    return QStringLiteral("cmd send_feature ") + hex.join(QLatin1Char(' '));
}

QString json(const QList<int>& values)
{
    QJsonArray array;
    for (int value : values)
        array.append(value);
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}
} // namespace

class TestQuellarCtl : public QObject {
    Q_OBJECT
private slots:
    void init();
    void unknownOperationExitsWithTwo();
    void wrongArgumentCountPrintsTheSignature();
    void argumentsAreConvertedLikeQml();
    void controllerOperationsAreReachable();
    void settingsOfProfileThreeReachFileAndDevice();
    void encodersReproduceTheirExamples();
    void macroScriptShowsFilesReferencesAndWire();
    void virtualWithoutARunningInstanceFails();
    void exitCodes_data();
    void exitCodes();
    void helpListsTheExitCodes();
    void fullDiskExitsWithOneAndKeepsProfile();
    void emptyDataFolderIsRefused();
    void runsOnOneDataFolderTakeTurns();
    void unsafeRuntimeFolderIsRefused();
    void debugLinesNeedVerboseOrLoggingRules_data();
    void debugLinesNeedVerboseOrLoggingRules();

private:
    Run quellarctl(const QStringList& arguments, const QByteArray& script = {}, bool virtualDevice = true);
    Run script(const QStringList& lines);
    QString trace() const;
    QSettings profileFile(int position) const;

    std::unique_ptr<QTemporaryDir> m_data;
};

void TestQuellarCtl::init()
{
    m_data = std::make_unique<QTemporaryDir>();
}

Run TestQuellarCtl::quellarctl(const QStringList& arguments, const QByteArray& script, bool virtualDevice)
{
    QProcess process;
    QStringList options{QStringLiteral("--data"), m_data->path(), QStringLiteral("--trace"),
                        m_data->filePath(QStringLiteral("trace.txt"))};
    if (virtualDevice)
        options.append(QStringLiteral("--virtual-device"));
    process.start(kQuellarCtl, options + arguments);
    process.write(script);
    process.closeWriteChannel();
    Run run;
    if (!process.waitForFinished(30000))
        return run;
    run.exitCode = process.exitCode();
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    run.results = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    run.errors = QString::fromUtf8(process.readAllStandardError());
    return run;
}

Run TestQuellarCtl::script(const QStringList& lines)
{
    return quellarctl({QStringLiteral("script"), QStringLiteral("-")}, lines.join(QLatin1Char('\n')).toUtf8());
}

QString TestQuellarCtl::trace() const
{
    QFile file(m_data->filePath(QStringLiteral("trace.txt")));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QSettings TestQuellarCtl::profileFile(int position) const
{
    return QSettings(m_data->filePath(QStringLiteral("modules/setting/p%1.bin").arg(position + 1)), QSettings::IniFormat);
}

void TestQuellarCtl::unknownOperationExitsWithTwo()
{
    const Run run = quellarctl({QStringLiteral("call"), QStringLiteral("NoSuchOp")});
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.results.isEmpty());
    QVERIFY(run.errors.contains(QStringLiteral("NoSuchOp")));
}

void TestQuellarCtl::wrongArgumentCountPrintsTheSignature()
{
    const Run run = quellarctl({QStringLiteral("call"), QStringLiteral("ui_0BH_SetCurrentDPIStage")});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.errors.contains(QStringLiteral("ui_0BH_SetCurrentDPIStage(uchar)")), qPrintable(run.errors));
    QVERIFY(!trace().contains(commandReport({0x0B})));

    // A bad script line stops before anything runs.
    const Run bad = script({QStringLiteral("[\"setProfile\", 4]"), QStringLiteral("not json")});
    QCOMPARE(bad.exitCode, 2);
    QVERIFY(bad.results.isEmpty());
}

void TestQuellarCtl::argumentsAreConvertedLikeQml()
{
    // The text "3" becomes the number 3, as QML's conversion would.
    Run run = quellarctl({QStringLiteral("call"), QStringLiteral("setProfile"), QStringLiteral("\"3\"")});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.results, QStringList{QStringLiteral("null")});
    run = quellarctl({QStringLiteral("call"), QStringLiteral("getProfile")});
    QCOMPARE(run.results, QStringList{QStringLiteral("3")});

    // Lists arrive as lists; a plain word is a string.
    run = quellarctl({QStringLiteral("call"), QStringLiteral("saveApConfig"), QStringLiteral("[1,\"two\",[3]]")});
    QCOMPARE(run.exitCode, 0);
    run = quellarctl({QStringLiteral("call"), QStringLiteral("loadApConfig")});
    QCOMPARE(run.results, QStringList{QStringLiteral("[\"1\",\"two\",[3]]")});
    // Maps come back as objects: the installed languages by display name.
    run = quellarctl({QStringLiteral("call"), QStringLiteral("chkLanguages")});
    QCOMPARE(run.results, QStringList{QStringLiteral("{\"CHINESE (Simp)\":\"025044\"}")});
    run = quellarctl({QStringLiteral("call"), QStringLiteral("getXYSensitive"), QStringLiteral("0")});
    QCOMPARE(run.results, QStringList{QStringLiteral("4")});
}

void TestQuellarCtl::controllerOperationsAreReachable()
{
    const Run run = script({QStringLiteral("[\"ui_Ctl.setBusy\", 300]"), QStringLiteral("[\"ui_Ctl.setBusy\"]"),
                            QStringLiteral("[\"ui_Ctl.onXChanged\", 5]")});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.results, (QStringList{QStringLiteral("null"), QStringLiteral("null"), QStringLiteral("null")}));
}

void TestQuellarCtl::settingsOfProfileThreeReachFileAndDevice()
{
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
        QStringLiteral("# profile 3 is the file p4.bin"),
        QStringLiteral("[\"ui_02H_SetCurrentProfile\", 3]"),
        QStringLiteral("[\"ui_11H_SetDPISet\", 6, %1, %2]").arg(json(codes), json(values)),
        QStringLiteral("[\"ui_0BH_SetCurrentDPIStage\", 3]"),
        QStringLiteral("[\"ui_0DH_SetRGBLedEffect\", 2, 3, 2, [2, 3, 2]]"),
        QStringLiteral("[\"ui_10H_SetLED8StageColor\", 1, %1]").arg(json(colours)),
        QStringLiteral("[\"ui_01H_SetReportRate\", 2]"),
        QStringLiteral("[\"ui_12H_SetKeyMatrix\", %1]").arg(json(matrix)),
    });
    QCOMPARE(write.exitCode, 0);
    QCOMPARE(write.results.size(), 7);

    QSettings p4 = profileFile(3);
    QCOMPARE(p4.value(QStringLiteral("sensor/dpi_Q3")).toStringList().join(QLatin1Char(',')),
             QStringLiteral("400,800,1600,2400,3200,6000,250,250"));
    QCOMPARE(p4.value(QStringLiteral("sensor/stage_Q3")).toInt(), 3);
    QCOMPARE(p4.value(QStringLiteral("color_Q3/ledEffect")).toStringList(), (QStringList{"2", "3", "2"}));
    QCOMPARE(p4.value(QStringLiteral("color_Q3/type1")).toStringList().size(), 24);
    QCOMPARE(p4.value(QStringLiteral("sensor/reportRate_Q3")).toInt(), 2);
    QCOMPARE(p4.value(QStringLiteral("keydefine_Q3/3")).toStringList(), (QStringList{"15", "0", "46", "0"}));
    QCOMPARE(profileFile(0).value(QStringLiteral("sensor/stage_Q3")).toInt(), 2); // the factory value, untouched

    const QString wire = trace();
    QVERIFY(wire.contains(commandReport({0x11, 6, 8})));
    QVERIFY(wire.contains(QStringLiteral("cmd write 00 04 08 10 18 20 3c 80 80")));
    QVERIFY(wire.contains(commandReport({0x0B, 3})));
    QVERIFY(wire.contains(commandReport({0x0D, 2, 3, 2})));
    QVERIFY(wire.contains(commandReport({0x10, 1, 24})));
    QVERIFY(wire.contains(commandReport({0x01, 2})));
    QVERIFY(wire.contains(commandReport({0x12, 1, 0x40, 0x08})));
    // The named key goes out as a plain key.
    QVERIFY(wire.contains(QStringLiteral("cmd write 00 01 00 f0 00 01 00 f1 00 01 00 f2 00 00 00 2e 00")));

    // A second run reads the values back from the mouse and from the profile.
    const Run read = script({QStringLiteral("[\"ui_02H_SetCurrentProfile\", 3]"), QStringLiteral("[\"ui_91H_SyncDPI\"]"),
                             QStringLiteral("[\"ui_92H_GetKeyMatrix\"]"), QStringLiteral("[\"ui_91H_GetDPISet\"]"),
                             QStringLiteral("[\"ui_8DH_GetRGBLedEffect\"]"), QStringLiteral("[\"ui_81H_GetReportRate\"]")});
    QCOMPARE(read.exitCode, 0);
    QCOMPARE(read.results.value(1), QStringLiteral("6"));
    QList<int> sentMatrix = matrix;
    sentMatrix[12] = 0; // 0F is sent as 00
    QCOMPARE(read.results.value(2), json(sentMatrix));
    QCOMPARE(read.results.value(3), json(values));
    QCOMPARE(read.results.value(4), QStringLiteral("[2,3,2]"));
    QCOMPARE(read.results.value(5), QStringLiteral("2"));
}

void TestQuellarCtl::encodersReproduceTheirExamples()
{
    Run run = quellarctl({QStringLiteral("call"), QStringLiteral("encodeMacroLines"),
                          QStringLiteral("[\"1,A\",\"0,100\",\"2,A\"]"), QStringLiteral("1"), QStringLiteral("false")});
    QCOMPARE(run.results, QStringList{QStringLiteral("[0,1,50,4,129,4,0,0]")});
    run = quellarctl({QStringLiteral("call"), QStringLiteral("encodeMacroLines"),
                      QStringLiteral("[\"1,A\",\"0,300\",\"2,A\"]"), QStringLiteral("1"), QStringLiteral("false")});
    QCOMPARE(run.results, QStringList{QStringLiteral("[0,1,0,4,0,1,0,15,129,4,0,0]")});
    run = quellarctl({QStringLiteral("call"), QStringLiteral("encodeMacroLines"), QStringLiteral("[\"0,100\",\"0,50\"]"),
                      QStringLiteral("1"), QStringLiteral("false")});
    QCOMPARE(run.results, QStringList{QStringLiteral("[0,1]")});
    // The mouse's tag encoder: down A, 5000 ms, up A.
    run = quellarctl({QStringLiteral("call"), QStringLiteral("macroIncode"),
                      QStringLiteral("[\"A    [Down]\",\"5000   [Delay]\",\"A      [Up]\"]")});
    QCOMPARE(run.results, QStringList{QStringLiteral("[0,1,1,4,250,1,129,4,0,0]")});
}

void TestQuellarCtl::macroScriptShowsFilesReferencesAndWire()
{
    const Run run = script({
        QStringLiteral("[\"createMacroIni\", \"Reload\", 0]"),
        QStringLiteral("[\"saveMacroIni\", \"Reload\", [\"1,A\", \"0,100\", \"2,A\", \"1\"], [], 1]"),
        QStringLiteral("[\"setMacroKey\", 0, \"Reload\"]"),
        QStringLiteral("[\"sendMacroData\", [0, 1, 50, 4, 129, 4, 0, 0], 0]"),
        QStringLiteral("[\"modifyMacroName\", \"Reload\", \"Reload fast\"]"),
        QStringLiteral("[\"getMacroKey\", 0]"),
        QStringLiteral("[\"isMacroUse\", \"Reload fast\"]"),
    });
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.results.value(0), QStringLiteral("true"));
    QCOMPARE(run.results.value(3), QStringLiteral("true"));
    QCOMPARE(run.results.value(5), QStringLiteral("\"Reload fast\""));
    // "Name", then the slot key bound to the macro in profile 0.
    QCOMPARE(run.results.value(6), QStringLiteral("[\"Name\",\"0\"]"));

    QVERIFY(QFile::exists(m_data->filePath(QStringLiteral("modules/macro/Reload fast.bin"))));
    QVERIFY(!QFile::exists(m_data->filePath(QStringLiteral("modules/macro/Reload.bin"))));
    QCOMPARE(profileFile(0).value(QStringLiteral("macro/0")).toString(), QStringLiteral("Reload fast"));
    // Slot 0 is macro number 1 on the wire, with the image and its padding.
    QVERIFY(trace().contains(commandReport({0x13, 1, 0x80})));
    QVERIFY(trace().contains(QStringLiteral("cmd write 00 00 01 32 04 81 04 00 00 00")));
}

void TestQuellarCtl::virtualWithoutARunningInstanceFails()
{
    QProcess process;
    process.start(kQuellarCtl, {QStringLiteral("--data"), m_data->path(), QStringLiteral("virtual"), QStringLiteral("dump")});
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitCode(), 3);
    QVERIFY(process.readAllStandardError().contains("no running quellar"));
}

void TestQuellarCtl::emptyDataFolderIsRefused()
{
    // An empty value must not fall back to the user's real data folder.
    for (const QStringList& arguments : {QStringList{QStringLiteral("--data"), QString(), QStringLiteral("call"),
                                                     QStringLiteral("getProfile")},
                                         QStringList{QStringLiteral("--data="), QStringLiteral("virtual"),
                                                     QStringLiteral("dump")}}) {
        QProcess process;
        process.start(kQuellarCtl, arguments);
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitCode(), 2);
        QVERIFY(process.readAllStandardOutput().isEmpty());
        const QByteArray errors = process.readAllStandardError();
        QVERIFY2(errors.contains("quellarctl: --data needs a folder, not an empty value\n"), errors.constData());
    }
}

void TestQuellarCtl::runsOnOneDataFolderTakeTurns()
{
    // Two runs at once on one data folder: the second waits for the first instead of interleaving.
    const QStringList arguments{QStringLiteral("--data"), m_data->path(), QStringLiteral("--virtual-device"),
                                QStringLiteral("call"), QStringLiteral("getProfile")};
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

void TestQuellarCtl::unsafeRuntimeFolderIsRefused()
{
    // A runtime folder anybody may write to could hold anybody's lock or socket.
    QTemporaryDir shared;
    QVERIFY(QFile::setPermissions(shared.path(), QFileDevice::Permissions(0x7777)));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), shared.path());
    for (const QStringList& command : {QStringList{QStringLiteral("call"), QStringLiteral("getProfile")},
                                       QStringList{QStringLiteral("virtual"), QStringLiteral("dump")}}) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(kQuellarCtl, QStringList{QStringLiteral("--data"), m_data->path()} + command);
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitCode(), command.first() == QLatin1String("call") ? 1 : 3);
        QVERIFY(process.readAllStandardOutput().isEmpty());
        const QByteArray errors = process.readAllStandardError();
        QVERIFY2(errors.contains("refusing the runtime folder " + QFile::encodeName(shared.path()) +
                                 ": other users may write to it (mode 0777)"),
                 errors.constData());
    }
    QVERIFY(QDir(shared.path()).isEmpty());
    QVERIFY(!QFile::exists(m_data->filePath(QStringLiteral("modules")))); // stopped before touching the data
}

void TestQuellarCtl::exitCodes_data()
{
    QTest::addColumn<QStringList>("call");
    QTest::addColumn<bool>("virtualDevice");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("result");  // the one result line; empty: none
    QTest::addColumn<QString>("refusal"); // the one warning of a refusal; empty: none

    QTest::newRow("done") << QStringList{"ui_0BH_SetCurrentDPIStage", "3"} << true << 0 << "null" << "";
    QTest::newRow("stage 9 refused")
        << QStringList{"ui_0BH_SetCurrentDPIStage", "9"} << true << 1 << "null"
        << "ui_0BH_SetCurrentDPIStage refused: stage 9 outside 1 to 8";
    QTest::newRow("stage 300 is not a byte") << QStringList{"ui_0BH_SetCurrentDPIStage", "300"} << true << 2 << ""
                                             << "";
    QTest::newRow("slider position -99999999999 refused")
        << QStringList{"setXYSensitive", "0", "-99999999999"} << true << 1 << "null"
        << "setXYSensitive refused: slider position -99999999999 outside 0 to 9";
    QTest::newRow("profile 99 refused") << QStringList{"loadProfile", "99"} << true << 1 << "false"
                                        << "loadProfile refused: profile position 99";
    QTest::newRow("a false answer of a query") << QStringList{"getScrollPinSwap"} << true << 0 << "false" << "";
    QTest::newRow("no device for a device command") << QStringList{"getSensorType"} << false << 3 << "0" << "";
    QTest::newRow("no device needed") << QStringList{"getProfile"} << false << 0 << "0" << "";
}

void TestQuellarCtl::exitCodes()
{
    QFETCH(QStringList, call);
    QFETCH(bool, virtualDevice);
    QFETCH(int, exitCode);
    QFETCH(QString, result);
    QFETCH(QString, refusal);
    const Run run = quellarctl(QStringList{QStringLiteral("call")} + call, {}, virtualDevice);
    if (!virtualDevice && run.errors.contains(QStringLiteral("Detect Mouse")))
        QSKIP("a real mouse is attached");
    QVERIFY2(run.exitCode == exitCode, qPrintable(run.errors));
    QCOMPARE(run.results, result.isEmpty() ? QStringList() : QStringList{result});
    QCOMPARE(run.errors.count(QStringLiteral("refused")), refusal.isEmpty() ? 0 : 1);
    QVERIFY2(run.errors.contains(refusal), qPrintable(run.errors));
    if (exitCode == 3)
        QVERIFY(run.errors.contains(QStringLiteral("no device")));
    if (exitCode == 2)
        QVERIFY2(run.errors.contains(QStringLiteral("argument 1 of %1 is out of range").arg(call.first())),
                 qPrintable(run.errors));
    if (exitCode == 0)
        return;
    // Nothing refused reaches the profile or the wire.
    QCOMPARE(profileFile(0).value(QStringLiteral("sensor/stage_Q3")).toInt(), 2);
    QCOMPARE(profileFile(0).value(QStringLiteral("XYSensitive/0"), 4).toInt(), 4);
    QVERIFY(!trace().contains(QStringLiteral("send_feature 00 0b")));
}

void TestQuellarCtl::helpListsTheExitCodes()
{
    const Run run = quellarctl({QStringLiteral("--help")});
    QCOMPARE(run.exitCode, 0);
    const QString help = run.results.join(QLatin1Char('\n'));
    for (const char* line : {"0  done", "1  refused or failed", "2  usage", "3  no device", "4  busy"})
        QVERIFY2(help.contains(QLatin1String(line)), line);
}

// On a small tmpfs of its own (a private mount namespace: no privilege needed where
// user namespaces are allowed), filled to the last byte, a profile copy fails: the
// target keeps its bytes and quellarctl exits 1.
void TestQuellarCtl::fullDiskExitsWithOneAndKeepsProfile()
{
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
    process.start(QStringLiteral("unshare"), {QStringLiteral("-rm"), QStringLiteral("sh"), QStringLiteral("-c"), kScript,
                                              QStringLiteral("sh"), m_data->path(), kQuellarCtl, results.path()});
    if (!process.waitForFinished(60000) && process.error() == QProcess::FailedToStart)
        QSKIP("unshare is not installed");
    if (process.exitCode() == 77 || process.exitCode() == 1)
        QSKIP("no private tmpfs can be mounted here");
    QCOMPARE(process.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(process.readAllStandardOutput()), QStringLiteral("exit 1\nkept\n"));
    QFile errors(results.filePath(QStringLiteral("errors.txt")));
    QVERIFY(errors.open(QIODevice::ReadOnly));
    QVERIFY(errors.readAll().contains("quellar.store: cannot write \"./modules/setting/p5.bin\""));
}

void TestQuellarCtl::debugLinesNeedVerboseOrLoggingRules_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("loggingRules"); // QT_LOGGING_RULES; empty: unset
    QTest::addColumn<bool>("debugLogged");
    QTest::newRow("default") << QStringList() << QString() << false;
    QTest::newRow("--verbose") << QStringList{QStringLiteral("--verbose")} << QString() << true;
    QTest::newRow("QT_LOGGING_RULES") << QStringList() << QStringLiteral("quellar.app.debug=true") << true;
    QTest::newRow("QT_LOGGING_RULES over --verbose")
        << QStringList{QStringLiteral("--verbose")} << QStringLiteral("quellar.*.debug=false") << false;
}

void TestQuellarCtl::debugLinesNeedVerboseOrLoggingRules()
{
    QFETCH(QStringList, options);
    QFETCH(QString, loggingRules);
    QFETCH(bool, debugLogged);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_LOGGING_RULES"));
    if (!loggingRules.isEmpty())
        environment.insert(QStringLiteral("QT_LOGGING_RULES"), loggingRules);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(kQuellarCtl,
                  QStringList{QStringLiteral("--data"), m_data->path(), QStringLiteral("--virtual-device")} + options +
                      QStringList{QStringLiteral("call"), QStringLiteral("ui_Ctl.setBusy")});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 0);
    const QString errors = QString::fromUtf8(process.readAllStandardError());
    QCOMPARE(errors.contains(QStringLiteral("quellar.app: data folder")), debugLogged);
}

QTEST_GUILESS_MAIN(TestQuellarCtl)
#include "tst_quellarctl.moc"
