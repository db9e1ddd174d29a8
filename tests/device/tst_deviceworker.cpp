// The worker: handshake, demo mode, the event listener, the access flag and
// the pacing of transfers, seen through the wire trace of the virtual mouse.

#include "DeviceDiscovery.h"
#include "DeviceTestSupport.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTest>

namespace {
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
    void handshakePassesAndStartsListener() {
        DeviceRig rig;
        QTest::ignoreMessage(QtDebugMsg, "Device Connect");
        rig.worker.chkDeviceIsEnCode();
        QVERIFY(LinkState::deviceConnected.load() && !LinkState::demoMode.load());
        QCOMPARE(secrecyText(), QStringLiteral("731905"));
        QCOMPARE(rig.host.messages(), QStringList{QStringLiteral("Info|Detect Mouse|10000")});
        QCOMPARE(rig.host.hides.load(), 0);
        QVERIFY(rig.worker.isListenerRunning());
        rig.worker.waitForTransfers();

        // Handshake echo, then the option bytes read and written back with bit 40H in the fourth.
        const QList<TraceLine> sends = rig.cmd(QStringLiteral("send_feature"));
        QCOMPARE(sends.size(), 3);
        QCOMPARE(sends[0].bytes.at(1), '\x00');
        QCOMPARE(sends[1].bytes.toHex(' '), QByteArray("00 83 00 00 00 00 00 00 7c"));
        QCOMPARE(sends[2].bytes.toHex(' '), QByteArray("00 03 01 01 00 40 00 00 ba"));
        QCOMPARE(rig.cmd(QStringLiteral("get_feature"))[0].bytes.mid(2, 4), sends[0].bytes.mid(2, 4));
        QCOMPARE(rig.virt.mouse().state().option2, 0x40);
    }

    void handshakeFails_data() {
        QTest::addColumn<int>("cause");
        QTest::newRow("wrong echo") << 0;
        QTest::newRow("no device") << 1;
        // A handshake that never reached the device must not count as passed.
        QTest::newRow("transport busy") << 2;
    }

    void handshakeFails() {
        QFETCH(int, cause);
        DeviceRig rig;
        if (cause == 0)
            rig.virt.setGarbageAnswers(true);
        if (cause == 1)
            rig.worker.setRecords({});
        if (cause == 2) {
            // The code is already stored, so the handshake does not wait for the slow write.
            const QByteArray code("731905");
            std::copy(code.begin(), code.end(), LinkState::secrecyCode.begin() + 1);
            rig.virt.setSendDelayMs(2600);
            rig.worker.hid_01H_SetReportRate(2);
            QTest::ignoreMessage(QtDebugMsg, "cmd Failed 00");
        }
        QTest::ignoreMessage(QtDebugMsg, "Device Error");
        rig.worker.chkDeviceIsEnCode();
        QVERIFY(!LinkState::deviceConnected.load());
        QCOMPARE(rig.host.hides.load(), 1);
        QVERIFY(rig.host.messages().isEmpty());
        QVERIFY(!rig.worker.isListenerRunning());
    }

    void demoModeOnDemoCode() {
        DeviceRig rig;
        rig.config.code = QStringLiteral("k-ravine");
        rig.virt.mouse().unplug();
        LinkState::scramblingEnabled.store(true);
        QTest::ignoreMessage(QtDebugMsg, "Device Error");
        rig.worker.chkDeviceIsEnCode();
        QVERIFY(LinkState::demoMode.load() && LinkState::deviceConnected.load());
        QVERIFY(!LinkState::scramblingEnabled.load());
        QCOMPARE(rig.host.hides.load(), 0);
        QVERIFY(!rig.worker.isListenerRunning());

        // Every command now fails at once without device traffic.
        rig.virt.mouse().plug();
        const int before = rig.cmd().size();
        uchar rate = 3;
        rig.worker.hid_81H_GetReportRate(rate);
        rig.worker.hid_01H_SetReportRate(8);
        rig.worker.waitForTransfers();
        QCOMPARE(rate, 3);
        QCOMPARE(rig.cmd().size(), before);
    }

    void secrecyCodeLengthRule() {
        DeviceRig rig;
        for (const char* code : {"12345", "1234567", "abcdef"}) {
            rig.config.code = QString::fromLatin1(code);
            rig.worker.chkDeviceIsEnCode();
            QCOMPARE(secrecyText(), rig.config.code.size() == 6 ? rig.config.code : QString(6, QChar(0)));
        }
    }

    void listenerShowsDpiMessage_data() {
        QTest::addColumn<QList<int>>("pressed");
        QTest::addColumn<QString>("message");
        QTest::newRow("stage 3") << QList<int>{3} << QStringLiteral("DPI Switch to 1600");
        QTest::newRow("stage 5 own prefix") << QList<int>{5} << QStringLiteral("P5 5000");
        QTest::newRow("stage 7 sixth prefix") << QList<int>{7} << QStringLiteral("P6 7000");
        QTest::newRow("stages 0 and 9 ignored") << QList<int>{0, 9, 1} << QStringLiteral("DPI Switch to 1000");
    }

    void listenerShowsDpiMessage() {
        QFETCH(QList<int>, pressed);
        QFETCH(QString, message);
        DeviceRig rig;
        for (std::size_t i = 0; i < LinkState::kStageCount; ++i)
            LinkState::dpiValues[i].store(i == 2 ? 1600 : static_cast<unsigned>((i + 1) * 1000));
        for (int i = 4; i < 7; ++i)
            LinkState::setDpiMessagePrefix(i, QStringLiteral("P%1").arg(i + 1));
        rig.worker.chkDeviceIsEnCode();
        for (int stage : pressed) {
            if (stage == 0 || stage > LinkState::kStageCount)
                QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("stage %1 outside").arg(stage)));
            rig.virt.mouse().pressDpi(stage);
        }
        QTRY_COMPARE_WITH_TIMEOUT(rig.host.messages().size(), 2, 3000);
        QCOMPARE(rig.host.messages().last(), QStringLiteral("Info|%1|10000").arg(message));
        for (int i = 0; i < LinkState::kStageCount; ++i)
            LinkState::setDpiMessagePrefix(i, QStringLiteral("DPI Switch to"));

        const QList<TraceLine> reads = readTrace(rig.tracePath, QStringLiteral("evt"), QStringLiteral("read_timeout"));
        const auto hit = std::find_if(reads.begin(), reads.end(), [](const TraceLine& l) { return l.result == "4"; });
        QVERIFY(hit != reads.end());
        QCOMPARE(hit->bytes.toHex(' '), QByteArray("06 07 00 0") + QByteArray::number(pressed[0]));
    }

    void unplugIsNoticedAndPlugRunsHandshakeAgain() {
        DeviceRig rig;
        rig.worker.chkDeviceIsEnCode();
        QVERIFY(rig.worker.isListenerRunning());
        QTest::ignoreMessage(QtDebugMsg, "Device removed");
        rig.virt.mouse().unplug();
        QTRY_VERIFY_WITH_TIMEOUT(!rig.worker.isListenerRunning(), 3000);
        QVERIFY(rig.worker.records().at(1).path2.isEmpty());

        rig.virt.mouse().plug();
        QTest::ignoreMessage(QtDebugMsg, "Device Connect");
        DeviceDiscovery(rig.trace, rig.config).run(rig.worker);
        QCOMPARE(rig.worker.records().at(1).path2, QString::fromLatin1(VirtualHidBackend::kEventPath));
        QVERIFY(rig.worker.isListenerRunning());
        QCOMPARE(rig.host.messages(), QStringList(2, QStringLiteral("Info|Detect Mouse|10000")));
    }

    void failingEventReadsDoNotSpin() {
        DeviceRig rig;
        rig.worker.chkDeviceIsEnCode();
        rig.worker.waitForTransfers();
        const auto opens = [&rig] {
            return readTrace(rig.tracePath, QStringLiteral("evt"), QStringLiteral("open")).size();
        };
        rig.virt.failNext(VirtualHidBackend::Op::Read, 1000000);
        const auto before = opens();
        QTest::qWait(1000);
        QVERIFY(opens() - before >= 2);
        QVERIFY(opens() - before < 100);
        QVERIFY(rig.worker.isListenerRunning());
        rig.virt.failNext(VirtualHidBackend::Op::Read, 0);
        rig.virt.mouse().pressDpi(1);
        QTRY_COMPARE_WITH_TIMEOUT(rig.host.messages().size(), 2, 3000);
    }

    void secondSetCommandWaitsForFirst() {
        DeviceRig rig;
        rig.worker.hid_0BH_SetCurrentDPIStage(2);
        rig.worker.hid_0DH_SetRGBLedEffect(1, 2, 2);
        rig.worker.waitForTransfers();
        const QList<TraceLine> sends = rig.cmd(QStringLiteral("send_feature"));
        QCOMPARE(sends.size(), 2);
        QCOMPARE(sends[1].bytes.at(1), '\x0d');
        // The second report leaves only after the first transfer (with its settle pause) closed.
        QVERIFY(sends[1].t >= rig.cmd(QStringLiteral("close"))[0].t);
        QVERIFY(sends[1].t - sends[0].t >= 0.127);
        QCOMPARE(rig.virt.mouse().state().currentStage, 2);
        QCOMPARE(rig.virt.mouse().state().ledEffect, 1);
    }

    void acquireGivesUpAfter255Rounds() {
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
        QCOMPARE(rig.cmd(QStringLiteral("send_feature")).size(), 1);
        QCOMPARE(rig.virt.mouse().state().ledEffect, 0);
        QCOMPARE(rig.virt.mouse().state().currentStage, 4);
    }

    void writePacing() {
        DeviceRig rig;
        rig.worker.hid_12H_SetKeyMatrix(patternBlock<64>(1), 1);
        rig.worker.waitForTransfers();
        // open, out report, two bulk reports, close; lower bounds only, times carry millisecond rounding.
        const QList<TraceLine> lines = rig.cmd();
        QStringList shape;
        for (const TraceLine& line : lines)
            shape << line.op + QLatin1Char('/') + QString::number(line.bytes.size());
        QCOMPARE(shape.join(QLatin1Char(' ')), QStringLiteral("open/0 send_feature/9 write/33 write/33 close/0"));
        QCOMPARE(lines[1].bytes.toHex(' '), QByteArray("00 12 01 40 08 00 00 00 a4"));
        QVERIFY(lines[2].t - lines[1].t >= 0.127);
        QVERIFY(lines[3].t - lines[2].t >= 0.007);
        QVERIFY(lines[4].t - lines[3].t >= 0.135);

        rig.worker.hid_0DH_SetKeyMatrix(patternBlock<512>(2));
        rig.worker.waitForTransfers();
        const QList<TraceLine> writes = rig.cmd(QStringLiteral("write")).mid(2);
        QCOMPARE(writes.size(), 16);
        QVERIFY(writes[0].t - rig.cmd(QStringLiteral("send_feature"))[1].t >= 0.127);
        for (int i = 1; i < writes.size(); ++i)
            QVERIFY2(writes[i].t - writes[i - 1].t >= 0.007, qPrintable(QString::number(i)));
    }

    void bulkReadIsBounded() {
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

    void destructionWaitsForTransfers() {
        VirtualHidBackend backend;
        FakeConfig config;
        {
            Hid_Thread worker(backend, config);
            worker.setRecords(virtualMouseRecords());
            worker.hid_13H_SetMacroKey(12, patternBlock<128>(4));
        }
        QCOMPARE(backend.mouse().state().macros[11], patternBlock<128>(4));
        QCOMPARE(backend.openHandles(), 0);
    }
};

QTEST_GUILESS_MAIN(TestDeviceWorker)
#include "tst_deviceworker.moc"
