// SPDX-License-Identifier: GPL-3.0-or-later
// The worker (handshake, demo mode, listener, access flag, pacing) seen through the wire trace of the
// virtual mouse; discovery's matching rules; the mouse's persistence and dump; the trace format.

#include "DeviceDiscovery.h"
#include "DeviceTestSupport.h"
#include "FileSizeLimit.h"
#include "HidTransport.h"
#include "PreciseSleep.h"
#include "TestFiles.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTest>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

namespace {
// "a:ff00/ff00 k@8008:ff01/0001": path, product id (default the mouse's), usage page and usage.
QList<HidInterfaceInfo> interfaces(const QString& text) {
    QList<HidInterfaceInfo> list;
    for (const QString& item : text.split(' ', Qt::SkipEmptyParts)) {
        const QString head = item.section(':', 0, 0);
        const QString usage = item.section(':', 1);
        const auto hex = [](const QString& s) { return static_cast<std::uint16_t>(s.toUInt(nullptr, 16)); };
        list.append({head.section('@', 0, 0), 0x04d9,
                     head.contains('@') ? hex(head.section('@', 1)) : std::uint16_t(0xa171),
                     hex(usage.section('/', 0, 0)), hex(usage.section('/', 1))});
    }
    return list;
}

// A catalogue of both devices whose mouse entry is changed by `from` -> `to`.
QString writeCatalog(const QTemporaryDir& dir, const QByteArray& from = {}, const QByteArray& to = {}) {
    QByteArray text = "[common]\ntotal=2\nisEncode=false\n"
                      "[0]\ntype=0\nvid=04d9\npid=8008\nusagePage=ff01\nusage=0001\nusagePage2=ff02\n"
                      "usage2=0001\nreportLength=64\n"
                      "[1]\ntype=1\nvid=04d9\npid=a171\nusagePage=ff00\nusage=ff00\nusagePage2=ff01\n"
                      "usage2=ff01\nreportLength=32\n";
    if (!from.isEmpty())
        text.replace(from, to);
    const QString path = dir.filePath("catalog.ini");
    writeFile(path, text);
    return path;
}
} // namespace

class TestDeviceWorker : public QObject {
    Q_OBJECT
private slots:
    void init() { resetLinkState(); }
    void handshake_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("cause");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("pass") << "731905" << 0 << "connected";
        QTest::newRow("five-character code is not stored") << "12345" << 0 << "connected";
        QTest::newRow("seven-character code is not stored") << "1234567" << 0 << "connected";
        QTest::newRow("wrong echo") << "731905" << 1 << "error";
        QTest::newRow("no device") << "731905" << 2 << "error";
        // A handshake that never reached the device must not count as passed.
        QTest::newRow("transport busy") << "731905" << 3 << "error";
        QTest::newRow("demo code") << "k-ravine" << 4 << "demo";
    }

    void handshake() {
        QFETCH(QString, code);
        QFETCH(int, cause);
        QFETCH(QString, outcome);
        DeviceRig rig;
        rig.config.code = code;
        if (cause == 1)
            rig.faults.setGarbageAnswers(true);
        if (cause == 2)
            rig.worker.setRecords({});
        if (cause == 3) {
            // The code is already stored, so the handshake does not wait for the stalled write.
            const QByteArray bytes = code.toLatin1();
            std::copy(bytes.begin(), bytes.end(), LinkState::secrecyCode.begin() + 1);
            rig.faults.holdSends(true);
            rig.worker.hid_01H_SetReportRate(2);
            QTest::ignoreMessage(QtDebugMsg, "cmd Failed 00");
        }
        if (cause == 4) {
            rig.virt.mouse().unplug();
            LinkState::scramblingEnabled.store(true);
        }
        const bool passes = outcome == "connected";
        QTest::ignoreMessage(QtDebugMsg, passes ? "Device Connect" : "Device Error");
        rig.worker.chkDeviceIsEnCode();
        rig.faults.holdSends(false);
        QCOMPARE(LinkState::deviceConnected.load(), outcome != "error");
        QCOMPARE(LinkState::demoMode.load(), outcome == "demo");
        QCOMPARE(rig.host.hides.load(), outcome == "error" ? 1 : 0);
        QCOMPARE(rig.host.messages(), passes ? QStringList{"Info|Detect Mouse|10000"} : QStringList());
        QCOMPARE(rig.worker.isListenerRunning(), passes);
        QCOMPARE(QString::fromLatin1(reinterpret_cast<const char*>(&LinkState::secrecyCode[1]), 6),
                 code.size() == 6 ? code : QString(6, QChar(0)));
        rig.worker.waitForTransfers();
        if (passes) {
            // Handshake echo, then the option bytes read and written back with bit 40H in the fourth.
            const QList<TraceLine> sends = rig.cmd("send_feature");
            QCOMPARE(sends.size(), 3);
            QCOMPARE(sends[0].bytes.at(1), '\x00');
            QCOMPARE(rig.cmd("get_feature")[0].bytes.mid(2, 4), sends[0].bytes.mid(2, 4));
            QCOMPARE(sends[1].bytes.toHex(' '), QByteArray("00 83 00 00 00 00 00 00 7c"));
            QCOMPARE(sends[2].bytes.toHex(' '), QByteArray("00 03 01 01 00 40 00 00 ba"));
            QCOMPARE(rig.virt.mouse().state().option2, 0x40);
        }
        // Demo mode then refuses every command quietly (failedTransfersAreReportedOnce).
        if (outcome == "demo")
            QVERIFY(!LinkState::scramblingEnabled.load());
    }

    void listenerShowsDpiMessage_data() {
        QTest::addColumn<QList<int>>("pressed");
        QTest::addColumn<QString>("message");
        QTest::newRow("stage 3") << QList<int>{3} << "DPI Switch to 1600";
        QTest::newRow("stage 5 own prefix") << QList<int>{5} << "P5 5000";
        QTest::newRow("stage 7 sixth prefix") << QList<int>{7} << "P6 7000";
        QTest::newRow("stages 0 and 9 ignored") << QList<int>{0, 9, 1} << "DPI Switch to 1000";
    }

    void listenerShowsDpiMessage() {
        QFETCH(QList<int>, pressed);
        QFETCH(QString, message);
        DeviceRig rig;
        for (std::size_t i = 0; i < LinkState::kStageCount; ++i)
            LinkState::dpiValues[i].store(i == 2 ? 1600 : static_cast<unsigned>((i + 1) * 1000));
        for (int i = 4; i < 7; ++i)
            LinkState::setDpiMessagePrefix(i, QString("P%1").arg(i + 1));
        rig.worker.chkDeviceIsEnCode();
        for (int stage : pressed) {
            if (stage == 0 || stage > LinkState::kStageCount)
                QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QString("stage %1 outside").arg(stage)));
            rig.virt.mouse().pressDpi(stage);
        }
        QTRY_COMPARE_WITH_TIMEOUT(rig.host.messages().size(), 2, 3000);
        QCOMPARE(rig.host.messages().last(), QString("Info|%1|10000").arg(message));
        for (int i = 0; i < LinkState::kStageCount; ++i)
            LinkState::setDpiMessagePrefix(i, "DPI Switch to");

        const QList<TraceLine> reads = readTrace(rig.tracePath, "evt", "read_timeout");
        const auto hit = std::find_if(reads.begin(), reads.end(), [](const TraceLine& l) { return l.result == "4"; });
        QVERIFY(hit != reads.end());
        QCOMPARE(hit->bytes.toHex(' '), QByteArray("06 07 00 0") + QByteArray::number(pressed[0]));
        // The event interface stays open from read to read, so no report can fall between two opens.
        QCOMPARE(readTrace(rig.tracePath, "evt", "open").size(), 1);
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
        QCOMPARE(rig.host.messages(), QStringList(2, "Info|Detect Mouse|10000"));
    }

    void writesRunWhileTheListenerHoldsAPoolThread() {
        // A single-core machine gives the global pool one thread, which the listener would take.
        QThreadPool::globalInstance()->setMaxThreadCount(1);
        DeviceRig rig;
        rig.worker.chkDeviceIsEnCode();
        QVERIFY(rig.worker.isListenerRunning());
        rig.worker.hid_0BH_SetCurrentDPIStage(3);
        // Not waitForTransfers(): waiting on the future would run the write on this thread.
        QTRY_COMPARE_WITH_TIMEOUT(int(rig.virt.mouse().state().currentStage), 3, 2000);
    }

    void failingEventReadsDoNotSpin() {
        DeviceRig rig;
        rig.worker.chkDeviceIsEnCode();
        rig.worker.waitForTransfers();
        const auto opens = [&rig] { return readTrace(rig.tracePath, "evt", "open").size(); };
        rig.faults.failNext(FaultyHidBackend::Op::Read, 1000000);
        const auto before = opens();
        QTest::qWait(1000);
        QVERIFY(opens() - before >= 2 && opens() - before < 100);
        QVERIFY(rig.worker.isListenerRunning());
        rig.faults.failNext(FaultyHidBackend::Op::Read, 0);
        rig.virt.mouse().pressDpi(1);
        QTRY_COMPARE_WITH_TIMEOUT(rig.host.messages().size(), 2, 3000);
    }

    void acquireGivesUpAfter255Rounds() {
        DeviceRig rig;
        // The stalled transfer holds the flag for as long as the test needs, however slow the machine.
        rig.faults.holdSends(true);
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

        rig.faults.holdSends(false);
        rig.worker.waitForTransfers();
        QCOMPARE(rig.cmd("send_feature").size(), 1);
        QVERIFY(rig.virt.mouse().state().currentStage == 4 && rig.virt.mouse().state().ledEffect == 0);
    }

    void transferLeavesTheTransportFree_data() {
        QTest::addColumn<QString>("cause");
        QTest::addColumn<int>("bulkLength");
        QTest::addColumn<int>("outcome");
        using O = HidTransport::Outcome;
        QTest::newRow("no record") << "no record" << 0 << int(O::NoDevice);
        QTest::newRow("demo mode") << "demo" << 0 << int(O::Demo);
        QTest::newRow("bulk too long") << "" << 600 << int(O::Failed);
        QTest::newRow("open fails") << "open fails" << 0 << int(O::NoDevice);
        QTest::newRow("report refused") << "send fails" << 0 << int(O::Failed);
        QTest::newRow("done") << "" << 0 << int(O::Done);
    }

    // Every way out of a transfer gives the access flag back, on the caller's thread and on a pool thread.
    void transferLeavesTheTransportFree() {
        QFETCH(QString, cause);
        QFETCH(int, bulkLength);
        QFETCH(int, outcome);
        DeviceRig rig;
        DeviceRecordList records;
        records.replace(cause == "no record" ? QList<DeviceRecord>{} : virtualMouseRecords());
        LinkState::demoMode.store(cause == "demo");
        HidTransport transport(rig.trace, records);
        for (const bool onPool : {false, true}) {
            if (cause == "open fails")
                rig.faults.failNext(FaultyHidBackend::Op::Open);
            if (cause == "send fails")
                rig.faults.failNext(FaultyHidBackend::Op::SendFeature);
            HidTransport::Lease lease = transport.acquire();
            QVERIFY(lease && !transport.isFree());
            HidTransport::Outcome got{};
            if (onPool) {
                QtConcurrent::run([&, lease = std::move(lease)]() mutable {
                    got = transport.send(std::move(lease), 1, bulkLength, false);
                }).waitForFinished();
            } else {
                HidTransport::Report answer{};
                got = transport.request(std::move(lease), 1, bulkLength, answer, nullptr);
            }
            QCOMPARE(int(got), outcome);
            QVERIFY(transport.isFree());
            QCOMPARE(rig.virt.openHandles(), 0);
        }
    }

    void leaseIsReleasedByItsLastOwner() {
        DeviceRig rig;
        DeviceRecordList records;
        HidTransport transport(rig.trace, records);
        {
            HidTransport::Lease first = transport.acquire();
            HidTransport::Lease second = std::move(first);
            QVERIFY(!first && second);
            first = HidTransport::Lease();
            QVERIFY(!transport.isFree());
        }
        QVERIFY(transport.isFree());
        QVERIFY(transport.acquire()); // a lease nobody hands to a transfer ends at once
        QVERIFY(transport.isFree());
    }

    void pacingAndBackToBackSets() {
        DeviceRig rig;
        rig.worker.hid_12H_SetKeyMatrix(patternBlock<64>(1), 1);
        rig.worker.hid_0BH_SetCurrentDPIStage(2); // waits for the first transfer
        rig.worker.waitForTransfers();
        const QList<TraceLine> lines = rig.cmd();
        QStringList shape;
        for (const TraceLine& line : lines)
            shape << line.op + '/' + QString::number(line.bytes.size());
        QCOMPARE(shape.join(' '), "open/0 send_feature/9 write/33 write/33 close/0 open/0 send_feature/9 close/0");
        QCOMPARE(lines[1].bytes.toHex(' '), QByteArray("00 12 01 40 08 00 00 00 a4"));
        // Lower bounds only, times carry millisecond rounding: settle, gap, settle, then the second report.
        QVERIFY(lines[2].t - lines[1].t >= 0.127);
        QVERIFY(lines[3].t - lines[2].t >= 0.007);
        QVERIFY(lines[4].t - lines[3].t >= 0.135);
        QVERIFY(lines[6].t >= lines[4].t);
        QCOMPARE(rig.virt.mouse().state().currentStage, 2);
    }

    void failedTransfersAreReportedOnce_data() {
        QTest::addColumn<QString>("cause");
        QTest::addColumn<bool>("isGet"); // macro slot 1: 13H sends 128 bytes, 93H reads them, in four reports
        QTest::addColumn<QString>("warning");
        QTest::addColumn<int>("withoutDevice");
        QTest::addColumn<int>("bytesThrough"); // leading bytes that reached the other side
        const QString noDevice = "command %1 did not reach the device: no device";
        const QString failed = "command %1 did not reach the device: transfer failed";
        for (const bool isGet : {false, true}) {
            const QString code = isGet ? "93" : "13";
            const auto row = [isGet](const char* name) -> QTestData& {
                return QTest::addRow("%s %s", isGet ? "get" : "set", name);
            };
            row("delivered") << "" << isGet << "" << 0 << 128;
            row("no device") << "no device" << isGet << noDevice.arg(code) << 1 << 0;
            row("unplugged") << "unplugged" << isGet << noDevice.arg(code) << 1 << 0;
            row("open fails") << "open fails" << isGet << noDevice.arg(code) << 1 << 0;
            row("report refused") << (isGet ? "get fails" : "send fails") << isGet << failed.arg(code) << 0 << 0;
            // Whole reports only: the first two went through, the third failed.
            row("third bulk report fails")
                << (isGet ? "third read fails" : "third write fails") << isGet << failed.arg(code) << 0 << 64;
            // Demo mode refuses everything quietly, without device traffic.
            row("demo mode") << "demo" << isGet << "" << 0 << 0;
        }
    }

    void failedTransfersAreReportedOnce() {
        QFETCH(QString, cause);
        QFETCH(bool, isGet);
        QFETCH(QString, warning);
        QFETCH(int, withoutDevice);
        QFETCH(int, bytesThrough);
        DeviceRig rig;
        const Block128 host = patternBlock<128>(3), device = patternBlock<128>(4);
        VirtualMouseState state = VirtualMouseState::factory();
        state.macros[0] = device;
        rig.virt.mouse().setState(state);
        if (cause == "no device")
            rig.worker.setRecords({});
        if (cause == "unplugged")
            rig.virt.mouse().unplug();
        if (cause == "open fails")
            rig.faults.failNext(FaultyHidBackend::Op::Open);
        if (cause == "send fails" || cause == "get fails")
            rig.faults.failNext(isGet ? FaultyHidBackend::Op::GetFeature : FaultyHidBackend::Op::SendFeature);
        if (cause.startsWith("third"))
            rig.faults.failNext(isGet ? FaultyHidBackend::Op::Read : FaultyHidBackend::Op::Write, 1, 2);
        LinkState::demoMode.store(cause == "demo");
        if (!warning.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, qPrintable(warning));
        QTest::failOnWarning(QRegularExpression("."));
        Block128 block = host;
        if (isGet)
            rig.worker.hid_93H_GetMacroKey(1, block);
        else
            rig.worker.hid_13H_SetMacroKey(1, host); // returns at once, as the pages need
        rig.worker.waitForTransfers();
        LinkState::demoMode.store(false);

        QCOMPARE(rig.worker.failedCommands(), warning.isEmpty() ? 0 : 1);
        QCOMPARE(rig.worker.commandsWithoutDevice(), withoutDevice);
        QCOMPARE(rig.virt.openHandles(), 0);
        // The receiving side holds the sent bytes up to the failure and its own bytes after it.
        const Block128& from = isGet ? device : host;
        const Block128& kept = isGet ? host : device;
        const Block128 received = isGet ? block : rig.virt.mouse().state().macros[0];
        QCOMPARE(bytesOf(received), bytesOf(from).left(bytesThrough) + bytesOf(kept).mid(bytesThrough));
        if (cause == "demo")
            QVERIFY(rig.cmd().isEmpty());

        // A failed open means the device went away: the next command fails at once, without an open.
        const bool gone = cause == "open fails" || cause == "unplugged";
        QCOMPARE(rig.worker.records().value(1).path.isEmpty(), gone || cause == "no device");
        if (gone) {
            rig.virt.mouse().plug();
            const qsizetype opens = rig.cmd("open").size();
            QTest::ignoreMessage(QtWarningMsg, "command 8B did not reach the device: no device");
            uchar stage = 7;
            rig.worker.hid_8BH_GetCurrentDPIStage(stage);
            QCOMPARE(stage, 0);
            QCOMPARE(rig.cmd("open").size(), opens);
            QCOMPARE(rig.worker.records().at(1).path2, QString::fromLatin1(VirtualHidBackend::kEventPath));
        }
    }

    void pausesAreLowerBounds() {
        // However early a thread asks to be woken, it never returns before its deadline.
        for (int milliseconds : {0, 1, 8}) {
            for (int round = 0; round < 40; ++round) {
                const auto start = PreciseSleep::Clock::now();
                PreciseSleep::forMs(milliseconds);
                QVERIFY2(PreciseSleep::Clock::now() - start >= std::chrono::milliseconds(milliseconds),
                         qPrintable(QString::number(milliseconds)));
            }
        }
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
        QTest::ignoreMessage(QtWarningMsg, "command 92 did not reach the device: transfer failed");
        worker.hid_92H_GetKeyMatrix(block);
        QCOMPARE(block, patternBlock<64>(9));
        QVERIFY(backend.timeoutAsked.load() >= 500);
        QCOMPARE(backend.openHandles(), 0);
    }

    void matching_data() {
        QTest::addColumn<QString>("enumerated");
        QTest::addColumn<bool>("sameUsages"); // mouse entry with one usage pair for both interfaces
        QTest::addColumn<QString>("found");   // "path path2" of the mouse, empty when not found
        QTest::newRow("both") << "a:ff00/ff00 b:ff01/ff01" << false << "a b";
        QTest::newRow("event first") << "b:ff01/ff01 c:0001/0002 a:ff00/ff00" << false << "a b";
        QTest::newRow("only command") << "a:ff00/ff00" << false << "";
        QTest::newRow("only event") << "b:ff01/ff01" << false << "";
        QTest::newRow("later command wins") << "a1:ff00/ff00 b:ff01/ff01 a2:ff00/ff00" << false << "a2 b";
        QTest::newRow("later event wins") << "b1:ff01/ff01 a:ff00/ff00 b2:ff01/ff01" << false << "a b2";
        QTest::newRow("keyboard never found") << "k1@8008:ff01/0001 k2@8008:ff02/0001" << false << "";
        QTest::newRow("usage page alone is not enough") << "a:ff00/0001 b:ff01/ff01" << false << "";
        QTest::newRow("nothing attached") << "" << false << "";
        QTest::newRow("one interface for both") << "only:ff00/ff00" << true << "only only";
    }

    void matching() {
        QFETCH(QString, enumerated);
        QFETCH(bool, sameUsages);
        QFETCH(QString, found);
        QTemporaryDir dir;
        VirtualHidBackend mouse;
        FaultyHidBackend backend(mouse);
        backend.setEnumeration(interfaces(enumerated));
        FakeConfig config;
        const QString catalog = sameUsages
                                    ? writeCatalog(dir, "usagePage2=ff01\nusage2=ff01", "usagePage2=ff00\nusage2=ff00")
                                    : QString::fromLatin1(DeviceCatalog::kCarriedPath);
        const QList<DeviceRecord> records =
            DeviceDiscovery(backend, config).match(DeviceCatalog(catalog, config.names).entries());
        QCOMPARE(records.size(), 2);
        QVERIFY(records[0].path.isEmpty() && records[0].path2.isEmpty());
        QCOMPARE(QStringList({records[1].path, records[1].path2}).join(' ').trimmed(), found);
        QCOMPARE(records[1].reportLength, found.isEmpty() ? 0u : 32u);
    }

    void catalogueWithoutUsableMouse_data() {
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<int>("records");
        QTest::newRow("missing file") << QByteArray() << QByteArray() << 0;
        QTest::newRow("single entry") << QByteArray("total=2") << QByteArray("total=1") << 1;
        QTest::newRow("length zero") << QByteArray("=32") << QByteArray("=0") << 2;
        QTest::newRow("length missing") << QByteArray("=32") << QByteArray("=") << 2;
        QTest::newRow("length overruns the bulk buffer") << QByteArray("=32") << QByteArray("=100") << 2;
        QTest::newRow("300 rounds 512 up to 600") << QByteArray("=32") << QByteArray("=300") << 2;
    }

    void catalogueWithoutUsableMouse() {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(int, records);
        DeviceRig rig;
        const QString path = from.isEmpty() ? rig.dir.filePath("absent.ini") : writeCatalog(rig.dir, from, to);
        if (to.startsWith('='))
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("catalogue entry 1 refused"));
        QTest::ignoreMessage(QtDebugMsg, "Device Error");
        DeviceDiscovery(rig.trace, rig.config, path).run(rig.worker);
        QCOMPARE(rig.worker.records().size(), records);
        for (const DeviceRecord& record : rig.worker.records())
            QVERIFY(record.path.isEmpty());
        QVERIFY(!LinkState::deviceConnected.load());
        QCOMPARE(rig.host.hides.load(), 1);
    }

    void destructionWaitsForWritesThatPersist() {
        QTemporaryDir dir;
        const QString ini = dir.filePath("virtual-device.ini");
        VirtualHidBackend backend(ini);
        {
            FakeConfig config;
            Hid_Thread worker(backend, config);
            worker.setRecords(virtualMouseRecords());
            worker.hid_12H_SetKeyMatrix(patternBlock<64>(40), 2);
            worker.hid_0BH_SetCurrentDPIStage(5);
            worker.hid_14H_SetColor(9, 1, 2, 3);
            worker.hid_11H_SetMacroKey(200, patternBlock<192>(5));
            worker.hid_07H_SetLEDInstructFunction(3, 4, 5, 6);
            worker.hid_13H_SetRecoveryData();
        } // the destructor waits for every write still running
        QCOMPARE(backend.openHandles(), 0);
        VirtualMouseState expected = VirtualMouseState::factory();
        expected.keyMatrices[1] = patternBlock<64>(40);
        expected.currentStage = 5;
        expected.colors[9] = {1, 2, 3};
        expected.keyboardMacros[200] = patternBlock<192>(5);
        expected.ledInstruct[3] = {4, 5, 6};
        expected.recoveryRequests = 1;
        const VirtualMouse later(ini); // a later run reads the memory back
        QVERIFY(later.state() == expected);

        const QString text = later.dump();
        QVERIFY(text.contains("[keyMatrix]\n1=0100f000") && text.contains("stageCount=6"));
        QVERIFY(writeFile(dir.filePath("dump.ini"), text.toUtf8()));
        QVERIFY(VirtualMouseState::fromIniFile(dir.filePath("dump.ini")) == expected);
    }

    // A damaged state file keeps the factory values for what it cannot read; a full disk keeps the file.
    void damagedFileAndFullDiskKeepState() {
        QTemporaryDir dir;
        const QString ini = dir.filePath("virtual-device.ini");
        QVERIFY(writeFile(ini, "[function]\nreportRate=999\nsensorType=abc\noption1=7\n[keyMatrix]\n1=zz01\n2=0102\n"
                               "[color]\nx=010203\n300=010203\n\x01\x02garbage"));
        VirtualMouseState damaged = VirtualMouseState::factory();
        damaged.option1 = 7;
        QVERIFY(VirtualMouse(ini).state() == damaged);

        VirtualMouse mouse(ini);
        mouse.setState(VirtualMouseState::factory());
        const QByteArray before = readFile(ini);
        QVERIFY(!before.isEmpty());
        VirtualMouseState changed = VirtualMouseState::factory();
        changed.currentStage = 5;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("virtual mouse: cannot write"));
        {
            FileSizeLimit full(static_cast<rlim_t>(before.size() / 2));
            mouse.setState(changed);
        }
        QCOMPARE(readFile(ini), before);
        QVERIFY(VirtualMouse(ini).state() == VirtualMouseState::factory());
    }

    void lineFormat() {
        const QRegularExpression format(
            QStringLiteral(R"(^\d+\.\d{3} (cmd|evt) )"
                           R"((open|close|send_feature|get_feature|write|read|read_timeout))"
                           R"(( [0-9a-f]{2})*( -> (ok|fail|-?\d+))?$)"));
        DeviceRig rig;
        rig.worker.hid_0BH_SetCurrentDPIStage(3);
        uchar rate = 0;
        rig.worker.hid_81H_GetReportRate(rate);
        rig.worker.chkDeviceIsEnCode();
        QTRY_VERIFY_WITH_TIMEOUT(!readTrace(rig.tracePath, "evt", "read_timeout").isEmpty(), 3000);
        rig.worker.stopListener();
        rig.virt.mouse().unplug();
        rig.worker.hid_01H_SetReportRate(2);
        rig.worker.waitForTransfers();

        const QStringList lines = QString::fromLatin1(readFile(rig.tracePath)).split('\n', Qt::SkipEmptyParts);
        QVERIFY(lines.size() > 5);
        for (const QString& line : lines)
            QVERIFY2(format.match(line).hasMatch(), qPrintable(line));
        QVERIFY(lines[1].endsWith(" cmd send_feature 00 0b 03 00 00 00 00 00 f1 -> 9"));
        QVERIFY(lines[5].endsWith(" cmd get_feature 00 81 01 00 00 00 00 00 7d -> 9"));
        QVERIFY(!lines.filter(QRegularExpression(" evt read_timeout( [0-9a-f]{2})* -> -?\\d+$")).isEmpty());
        QVERIFY(lines.last().endsWith(" cmd open -> fail"));
        double last = 0; // times never go backwards
        for (const TraceLine& line : readTrace(rig.tracePath)) {
            QVERIFY(line.t >= last);
            last = line.t;
        }
    }
};

QTEST_GUILESS_MAIN(TestDeviceWorker)
#include "tst_deviceworker.moc"
