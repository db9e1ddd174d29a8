// The worker: handshake, demo mode, the event listener, the access flag and
// the pacing of transfers, seen through the wire trace of the virtual mouse.

#include "DeviceDiscovery.h"
#include "DeviceTestSupport.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTest>

namespace {
const QString kDetectMouse = QStringLiteral("Info|Detect Mouse|10000");

QString secrecyText() {
    QString text;
    for (std::size_t i = 1; i <= 6; ++i)
        text += QLatin1Char(static_cast<char>(LinkState::secrecyCode[i]));
    return text;
}
} // namespace

class TestDeviceWorker : public QObject {
    Q_OBJECT
private slots:
    void init() { resetLinkState(); }
    void handshakePassesAndStartsListener();
    void handshakeFailsOnWrongEcho();
    void handshakeFailsWithoutDevice();
    void handshakeFailsWhenTransportIsBusy();
    void demoModeOnDemoCode();
    void secrecyCodeLengthRule_data();
    void secrecyCodeLengthRule();
    void listenerShowsDpiMessage_data();
    void listenerShowsDpiMessage();
    void listenerIgnoresStageOutsideTable();
    void unplugIsNoticedAndPlugRunsHandshakeAgain();
    void failingEventReadsDoNotSpin();
    void switchingDeviceRestartsListener();
    void secondSetCommandWaitsForFirst();
    void acquireGivesUpAfter255Rounds();
    void keyMatrixWritePacing();
    void bulkReportsArePaced_data();
    void bulkReportsArePaced();
    void bulkReadIsBounded();
    void destructionWaitsForTransfers();
};

void TestDeviceWorker::handshakePassesAndStartsListener() {
    DeviceRig rig;
    QTest::ignoreMessage(QtDebugMsg, "Device Connect");
    rig.worker.chkDeviceIsEnCode();
    QVERIFY(LinkState::deviceConnected.load());
    QVERIFY(!LinkState::demoMode.load());
    QCOMPARE(secrecyText(), QStringLiteral("731905"));
    QCOMPARE(rig.host.messages(), QStringList{kDetectMouse});
    QCOMPARE(rig.host.hides(), 0);
    QVERIFY(rig.worker.isListenerRunning());
    rig.worker.waitForTransfers();

    // Handshake echo, then the option bytes read and written back with bit 40H in the fourth.
    const QList<TraceLine> features = withOp(rig.commandLines(), QStringLiteral("send_feature"));
    QCOMPARE(features.size(), 3);
    QCOMPARE(features[0].bytes.at(1), '\x00');
    QCOMPARE(features[1].bytes.toHex(' '), QByteArray("00 83 00 00 00 00 00 00 7c"));
    QCOMPARE(features[2].bytes.toHex(' '), QByteArray("00 03 01 01 00 40 00 00 ba"));
    const QList<TraceLine> answers = withOp(rig.commandLines(), QStringLiteral("get_feature"));
    QCOMPARE(answers[0].bytes.mid(2, 4), features[0].bytes.mid(2, 4));
    QCOMPARE(rig.virt.mouse().state().option2, 0x40);
}

void TestDeviceWorker::handshakeFailsOnWrongEcho() {
    DeviceRig rig;
    rig.virt.setGarbageAnswers(true);
    QTest::ignoreMessage(QtDebugMsg, "Device Error");
    rig.worker.chkDeviceIsEnCode();
    QVERIFY(!LinkState::deviceConnected.load());
    QCOMPARE(rig.host.hides(), 1);
    QVERIFY(rig.host.messages().isEmpty());
    QVERIFY(!rig.worker.isListenerRunning());
}

void TestDeviceWorker::handshakeFailsWithoutDevice() {
    DeviceRig rig;
    rig.worker.setRecords({});
    QTest::ignoreMessage(QtDebugMsg, "Device Error");
    rig.worker.chkDeviceIsEnCode();
    QVERIFY(!LinkState::deviceConnected.load());
    QCOMPARE(rig.host.hides(), 1);
    QVERIFY(rig.commandLines().isEmpty());
}

void TestDeviceWorker::handshakeFailsWhenTransportIsBusy() {
    // A handshake that never reached the device must not count as passed.
    DeviceRig rig;
    const QByteArray code("731905");
    std::copy(code.begin(), code.end(), LinkState::secrecyCode.begin() + 1);
    rig.virt.setSendDelayMs(2600);
    rig.worker.hid_01H_SetReportRate(2);
    QTest::ignoreMessage(QtDebugMsg, "cmd Failed 00");
    QTest::ignoreMessage(QtDebugMsg, "Device Error");
    rig.worker.chkDeviceIsEnCode();
    QVERIFY(!LinkState::deviceConnected.load());
    QCOMPARE(rig.host.hides(), 1);
}

void TestDeviceWorker::demoModeOnDemoCode() {
    DeviceRig rig;
    rig.config.code = QStringLiteral("k-ravine");
    rig.virt.mouse().unplug();
    LinkState::scramblingEnabled.store(true);
    QTest::ignoreMessage(QtDebugMsg, "Device Error");
    rig.worker.chkDeviceIsEnCode();
    QVERIFY(LinkState::demoMode.load());
    QVERIFY(LinkState::deviceConnected.load());
    QVERIFY(!LinkState::scramblingEnabled.load());
    QCOMPARE(rig.host.hides(), 0);
    QVERIFY(!rig.worker.isListenerRunning());

    // Every command now fails at once without device traffic.
    rig.virt.mouse().plug();
    const int before = rig.commandLines().size();
    uchar rate = 3;
    rig.worker.hid_81H_GetReportRate(rate);
    rig.worker.hid_01H_SetReportRate(8);
    rig.worker.waitForTransfers();
    QCOMPARE(rate, 3);
    QCOMPARE(rig.commandLines().size(), before);
}

void TestDeviceWorker::secrecyCodeLengthRule_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("stored");
    QTest::newRow("six") << QStringLiteral("abcdef") << QStringLiteral("abcdef");
    QTest::newRow("five") << QStringLiteral("12345") << QString(6, QChar(0));
    QTest::newRow("seven") << QStringLiteral("1234567") << QString(6, QChar(0));
    QTest::newRow("empty") << QString() << QString(6, QChar(0));
}

void TestDeviceWorker::secrecyCodeLengthRule() {
    QFETCH(QString, code);
    QFETCH(QString, stored);
    DeviceRig rig;
    rig.config.code = code;
    rig.worker.chkDeviceIsEnCode();
    QCOMPARE(secrecyText(), stored);
}

void TestDeviceWorker::listenerShowsDpiMessage_data() {
    QTest::addColumn<int>("stage");
    QTest::addColumn<QString>("message");
    QTest::newRow("stage 3") << 3 << QStringLiteral("Info|DPI Switch to 1600|10000");
    QTest::newRow("stage 5 own prefix") << 5 << QStringLiteral("Info|P5 5000|10000");
    QTest::newRow("stage 7 sixth prefix") << 7 << QStringLiteral("Info|P6 7000|10000");
}

void TestDeviceWorker::listenerShowsDpiMessage() {
    QFETCH(int, stage);
    QFETCH(QString, message);
    DeviceRig rig;
    for (int i = 0; i < LinkState::kStageCount; ++i)
        LinkState::dpiValues[static_cast<std::size_t>(i)].store(static_cast<unsigned>((i + 1) * 1000));
    LinkState::dpiValues[2].store(1600);
    LinkState::setDpiMessagePrefix(4, QStringLiteral("P5"));
    LinkState::setDpiMessagePrefix(5, QStringLiteral("P6"));
    LinkState::setDpiMessagePrefix(6, QStringLiteral("P7"));

    rig.worker.chkDeviceIsEnCode();
    QVERIFY(rig.worker.isListenerRunning());
    rig.virt.mouse().pressDpi(stage);
    QTRY_COMPARE_WITH_TIMEOUT(rig.host.messages().size(), 2, 3000);
    QCOMPARE(rig.host.messages().last(), message);
    for (int i = 0; i < LinkState::kStageCount; ++i)
        LinkState::setDpiMessagePrefix(i, QStringLiteral("DPI Switch to"));

    const QList<TraceLine> events = onInterface(readTrace(rig.tracePath), QStringLiteral("evt"));
    QVERIFY(!withOp(events, QStringLiteral("open")).isEmpty());
    const QList<TraceLine> reads = withOp(events, QStringLiteral("read_timeout"));
    const auto hit = std::find_if(reads.begin(), reads.end(), [](const TraceLine& l) { return l.result == "4"; });
    QVERIFY(hit != reads.end());
    QCOMPARE(hit->bytes.toHex(' '), QByteArray("06 07 00 ") + QByteArray::number(stage, 16).rightJustified(2, '0'));
}

void TestDeviceWorker::listenerIgnoresStageOutsideTable() {
    DeviceRig rig;
    rig.worker.chkDeviceIsEnCode();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("stage 0 outside")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("stage 9 outside")));
    rig.virt.mouse().pressDpi(0);
    rig.virt.mouse().pressDpi(9);
    rig.virt.mouse().pressDpi(1);
    QTRY_COMPARE_WITH_TIMEOUT(rig.host.messages().size(), 2, 3000);
    QCOMPARE(rig.host.messages().last(), QStringLiteral("Info|DPI Switch to 0|10000"));
}

void TestDeviceWorker::unplugIsNoticedAndPlugRunsHandshakeAgain() {
    DeviceRig rig;
    rig.worker.chkDeviceIsEnCode();
    QVERIFY(rig.worker.isListenerRunning());

    QTest::ignoreMessage(QtDebugMsg, "Device removed");
    QElapsedTimer clock;
    clock.start();
    rig.virt.mouse().unplug();
    QTRY_VERIFY_WITH_TIMEOUT(!rig.worker.isListenerRunning(), 3000);
    qInfo() << "removal noticed after" << clock.elapsed() << "ms";
    QVERIFY(rig.worker.records().at(1).path2.isEmpty());
    QVERIFY(LinkState::deviceConnected.load());

    rig.virt.mouse().plug();
    QTest::ignoreMessage(QtDebugMsg, "Device Connect");
    DeviceDiscovery(rig.trace, rig.config).run(rig.worker);
    QCOMPARE(rig.worker.records().at(1).path2, QString::fromLatin1(VirtualHidBackend::kEventPath));
    QVERIFY(rig.worker.isListenerRunning());
    QCOMPARE(rig.host.messages(), (QStringList{kDetectMouse, kDetectMouse}));
}

void TestDeviceWorker::failingEventReadsDoNotSpin() {
    DeviceRig rig;
    rig.worker.chkDeviceIsEnCode();
    rig.worker.waitForTransfers();
    rig.virt.failNext(VirtualHidBackend::Op::Read, 1000000);
    const int before = withOp(onInterface(readTrace(rig.tracePath), QStringLiteral("evt")), "open").size();
    QTest::qWait(1000);
    const int opens = withOp(onInterface(readTrace(rig.tracePath), QStringLiteral("evt")), "open").size() - before;
    qInfo() << "event interface opened" << opens << "times in 1 s of failing reads";
    QVERIFY(opens >= 2);
    QVERIFY(opens < 100);
    QVERIFY(rig.worker.isListenerRunning());
    rig.virt.failNext(VirtualHidBackend::Op::Read, 0);
    rig.virt.mouse().pressDpi(1);
    QTRY_COMPARE_WITH_TIMEOUT(rig.host.messages().size(), 2, 3000);
}

void TestDeviceWorker::switchingDeviceRestartsListener() {
    DeviceRig rig;
    rig.worker.chkDeviceIsEnCode();
    QVERIFY(rig.worker.isListenerRunning());
    // Device 0 is never present: its listener ends at once and its handshake fails.
    QTest::ignoreMessage(QtDebugMsg, "Device Error");
    rig.worker.swichCurDevice(0);
    QCOMPARE(rig.worker.curDevice(), 0u);
    QTRY_VERIFY_WITH_TIMEOUT(!rig.worker.isListenerRunning(), 3000);
    QCOMPARE(rig.host.hides(), 1);
}

void TestDeviceWorker::secondSetCommandWaitsForFirst() {
    DeviceRig rig;
    rig.worker.hid_0BH_SetCurrentDPIStage(2);
    rig.worker.hid_0DH_SetRGBLedEffect(1, 2, 2);
    rig.worker.waitForTransfers();
    const QList<TraceLine> lines = rig.commandLines();
    const QList<TraceLine> features = withOp(lines, QStringLiteral("send_feature"));
    const QList<TraceLine> closes = withOp(lines, QStringLiteral("close"));
    QCOMPARE(features.size(), 2);
    QCOMPARE(features[0].bytes.at(1), '\x0b');
    QCOMPARE(features[1].bytes.at(1), '\x0d');
    // The second report leaves only after the first transfer (with its settle pause) closed.
    QVERIFY(features[1].t >= closes[0].t);
    QVERIFY(features[1].t - features[0].t >= 0.127);
    QCOMPARE(rig.virt.mouse().state().currentStage, 2);
    QCOMPARE(rig.virt.mouse().state().ledEffect, 1);
}

void TestDeviceWorker::acquireGivesUpAfter255Rounds() {
    DeviceRig rig;
    rig.virt.setSendDelayMs(5200);
    rig.worker.hid_0BH_SetCurrentDPIStage(4);

    QTest::ignoreMessage(QtDebugMsg, "cmd Failed 0D");
    QElapsedTimer clock;
    clock.start();
    rig.worker.hid_0DH_SetRGBLedEffect(3, 3, 2);
    QVERIFY(clock.elapsed() >= 255 * 8);

    QTest::ignoreMessage(QtDebugMsg, "cmd Failed");
    uchar rate = 77;
    rig.worker.hid_81H_GetReportRate(rate);
    QCOMPARE(rate, 77);

    rig.worker.waitForTransfers();
    const QList<TraceLine> features = withOp(rig.commandLines(), QStringLiteral("send_feature"));
    QCOMPARE(features.size(), 1);
    QCOMPARE(features[0].bytes.at(1), '\x0b');
    QCOMPARE(rig.virt.mouse().state().ledEffect, 0);
    QCOMPARE(rig.virt.mouse().state().currentStage, 4);
}

void TestDeviceWorker::keyMatrixWritePacing() {
    DeviceRig rig;
    const auto block = patternBlock<64>(1);
    rig.worker.hid_12H_SetKeyMatrix(block, 1);
    rig.worker.waitForTransfers();
    const QList<TraceLine> lines = rig.commandLines();
    QStringList excerpt;
    QFile file(rig.tracePath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    qInfo().noquote() << "trace of a key matrix write:\n" + QString::fromLatin1(file.readAll());

    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines[0].op, QStringLiteral("open"));
    QCOMPARE(lines[1].op, QStringLiteral("send_feature"));
    QCOMPARE(lines[1].bytes.toHex(' '), QByteArray("00 12 01 40 08 00 00 00 a4"));
    QCOMPARE(lines[2].op, QStringLiteral("write"));
    QCOMPARE(lines[3].op, QStringLiteral("write"));
    QCOMPARE(lines[2].bytes.size(), 33);
    QCOMPARE(lines[3].bytes.size(), 33);
    QCOMPARE(lines[4].op, QStringLiteral("close"));
    // Lower bounds only; times carry millisecond rounding.
    QVERIFY(lines[2].t - lines[1].t >= 0.127);
    QVERIFY(lines[3].t - lines[2].t >= 0.007);
    QVERIFY(lines[4].t - lines[3].t >= 0.135);
}

void TestDeviceWorker::bulkReportsArePaced_data() {
    QTest::addColumn<int>("which");
    QTest::addColumn<int>("reports");
    QTest::newRow("13H macro") << 0 << 4;
    QTest::newRow("0DH keyboard matrix") << 1 << 16;
}

void TestDeviceWorker::bulkReportsArePaced() {
    QFETCH(int, which);
    QFETCH(int, reports);
    DeviceRig rig;
    if (which == 0)
        rig.worker.hid_13H_SetMacroKey(1, patternBlock<128>(2));
    else
        rig.worker.hid_0DH_SetKeyMatrix(patternBlock<512>(2));
    rig.worker.waitForTransfers();
    const QList<TraceLine> lines = rig.commandLines();
    const QList<TraceLine> writes = withOp(lines, QStringLiteral("write"));
    QCOMPARE(writes.size(), reports);
    for (int i = 1; i < writes.size(); ++i)
        QVERIFY2(writes[i].t - writes[i - 1].t >= 0.007, qPrintable(QString::number(i)));
    QVERIFY(writes.first().t - withOp(lines, QStringLiteral("send_feature")).first().t >= 0.127);
}

void TestDeviceWorker::bulkReadIsBounded() {
    // A device that stops answering mid-read: each read is bounded and the command fails cleanly.
    class StallingBackend : public VirtualHidBackend {
    public:
        std::atomic<int> timeoutAsked{0};
        int readTimeout(Handle, unsigned char*, std::size_t, int milliseconds) override {
            timeoutAsked.store(milliseconds);
            return 0;
        }
    } backend;
    FakeConfig config;
    Hid_Thread worker(backend, config);
    worker.setRecords(virtualMouseRecords());
    Block64 block = patternBlock<64>(9);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("bulk read failed")));
    worker.hid_92H_GetKeyMatrix(block);
    QCOMPARE(block, patternBlock<64>(9));
    QVERIFY(backend.timeoutAsked.load() >= 500);
    QCOMPARE(backend.openHandles(), 0);
    uchar rate = 0;
    worker.hid_81H_GetReportRate(rate);
    QCOMPARE(rate, 1);
}

void TestDeviceWorker::destructionWaitsForTransfers() {
    VirtualHidBackend backend;
    FakeConfig config;
    const auto block = patternBlock<128>(4);
    {
        Hid_Thread worker(backend, config);
        worker.setRecords(virtualMouseRecords());
        worker.hid_13H_SetMacroKey(12, block);
    }
    QCOMPARE(backend.mouse().state().macros[11], block);
    QCOMPARE(backend.openHandles(), 0);
}

QTEST_GUILESS_MAIN(TestDeviceWorker)
#include "tst_deviceworker.moc"
