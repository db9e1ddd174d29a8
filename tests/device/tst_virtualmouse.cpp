// The virtual mouse as a device: its factory memory, persistence, control
// interface, scrambling and the failure hooks of its backend.

#include "DeviceTestSupport.h"
#include "ReportCodec.h"

#include <QTest>

class TestVirtualMouse : public QObject {
    Q_OBJECT
private slots:
    void init() { resetLinkState(); }
    void factoryMemory();
    void memoryPersistsAcrossRuns();
    void dumpRoundTrips();
    void damagedFileKeepsFactoryValues();
    void unplugAndPlug();
    void pressDpiQueuesEventReport();
    void answersScrambledWhenAsked();
    void outOfRangeNumbersAreIgnored();
    void failureHooks();
};

void TestVirtualMouse::factoryMemory() {
    const VirtualMouseState state = VirtualMouseState::factory();
    QCOMPARE(state.sensorType, 1);
    QCOMPARE(state.reportRate, 1);
    QCOMPARE(state.option1, 0);
    QCOMPARE(state.option2, 0);
    QCOMPARE(state.dpiStageCount, 6);
    QCOMPARE(state.currentStage, 1);
    const QByteArray defaultMatrix = QByteArray("0100f000"
                                                "0100f100"
                                                "0100f200"
                                                "0f002e00"
                                                "0f000500"
                                                "08000101"
                                                "07000300") +
                                     QByteArray("00000000").repeated(7) +
                                     QByteArray("04000100"
                                                "04000200");
    QCOMPARE(bytesOf(state.keyMatrices[0]).toHex(), defaultMatrix);
    QCOMPARE(state.keyMatrices[1], (std::array<uchar, 64>{}));
    QCOMPARE(state.macros[0], (std::array<uchar, 128>{}));
}

void TestVirtualMouse::memoryPersistsAcrossRuns() {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("virtual-device.ini"));
    const auto matrix = patternBlock<64>(40);
    {
        VirtualHidBackend backend(ini);
        FakeConfig config;
        Hid_Thread worker(backend, config);
        worker.setRecords(virtualMouseRecords());
        worker.hid_12H_SetKeyMatrix(matrix, 2);
        worker.hid_0BH_SetCurrentDPIStage(5);
        worker.hid_14H_SetColor(9, 1, 2, 3);
    }
    VirtualMouse later(ini);
    const VirtualMouseState state = later.state();
    QCOMPARE(state.keyMatrices[1], matrix);
    QCOMPARE(state.currentStage, 5);
    QCOMPARE(state.colors.at(9), (VirtualMouseState::Rgb{1, 2, 3}));
    QCOMPARE(state.keyMatrices[0], VirtualMouseState::factory().keyMatrices[0]);
}

void TestVirtualMouse::dumpRoundTrips() {
    QTemporaryDir dir;
    VirtualMouseState state = VirtualMouseState::factory();
    state.macros[11] = patternBlock<128>(3);
    state.pictures[2] = patternBlock<512>(4);
    state.keyboardMacros[200] = patternBlock<192>(5);
    state.ledInstruct[3] = {4, 5, 6};
    state.recoveryRequests = 3;
    state.dpiCodes = patternBlock<8>(6);
    VirtualMouse mouse;
    mouse.setState(state);
    const QString text = mouse.dump();
    QVERIFY(text.contains(QStringLiteral("[keyMatrix]\n1=0100f000")));
    QVERIFY(text.contains(QStringLiteral("stageCount=6")));

    const QString path = dir.filePath(QStringLiteral("dump.ini"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
    file.close();
    QVERIFY(VirtualMouseState::fromIniFile(path) == state);
}

void TestVirtualMouse::damagedFileKeepsFactoryValues() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("virtual-device.ini"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[function]\nreportRate=999\nsensorType=abc\noption1=7\n[keyMatrix]\n1=zz01\n2=0102\n[color]\nx=010203\n"
               "300=010203\n\x01\x02garbage");
    file.close();
    const VirtualMouseState state = VirtualMouse(path).state();
    VirtualMouseState expected = VirtualMouseState::factory();
    expected.option1 = 7;
    QVERIFY(state == expected);
}

void TestVirtualMouse::unplugAndPlug() {
    VirtualHidBackend backend;
    QCOMPARE(backend.enumerate(0x04d9, 0xa171).size(), 2);
    QCOMPARE(backend.enumerate(0x04d9, 0x8008).size(), 0);
    backend.mouse().unplug();
    QVERIFY(backend.enumerate(0x04d9, 0xa171).isEmpty());
    QVERIFY(!backend.open(QString::fromLatin1(VirtualHidBackend::kCommandPath)));
    QVERIFY(!backend.open(QString::fromLatin1(VirtualHidBackend::kEventPath)));
    backend.mouse().plug();
    const QList<HidInterfaceInfo> interfaces = backend.enumerate(0x04d9, 0xa171);
    QCOMPARE(interfaces.size(), 2);
    QCOMPARE(interfaces[0].usagePage, 0xff00);
    QCOMPARE(interfaces[1].usage, 0xff01);
    HidBackend::Handle handle = backend.open(interfaces[0].path);
    QVERIFY(handle);
    backend.close(handle);
    QCOMPARE(backend.openHandles(), 0);
}

void TestVirtualMouse::pressDpiQueuesEventReport() {
    VirtualHidBackend backend;
    HidBackend::Handle events = backend.open(QString::fromLatin1(VirtualHidBackend::kEventPath));
    std::array<uchar, 4> report{};
    QCOMPARE(backend.readTimeout(events, report.data(), report.size(), 10), 0);
    backend.mouse().pressDpi(4);
    QCOMPARE(backend.readTimeout(events, report.data(), report.size(), 10), 4);
    QCOMPARE(report, (std::array<uchar, 4>{0x06, 0x07, 0x00, 0x04}));
    QCOMPARE(backend.mouse().state().currentStage, 4);
    backend.close(events);
}

void TestVirtualMouse::answersScrambledWhenAsked() {
    VirtualMouse mouse;
    mouse.setScrambling(true);
    std::array<uchar, 8> code{};
    const QByteArray text(VirtualMouse::kSecrecyCode);
    std::copy(text.begin(), text.end(), code.begin() + 1);

    std::array<uchar, 9> out{0, 0x00, 0xde, 0xad, 0xbe, 0xef, 0, 0, 0};
    out[8] = ReportCodec::checksum(&out[1]);
    ReportCodec::scramble(&out[1], code.data());
    mouse.receiveFeatureReport(out.data(), out.size());
    std::array<uchar, 9> in{};
    QCOMPARE(mouse.answerFeatureReport(in.data(), in.size()), 9);
    QVERIFY(in[2] != 0xde || in[3] != 0xad);
    ReportCodec::unscramble(&in[1], code.data());
    QCOMPARE(in[2], 0xde);
    QCOMPARE(in[5], 0xef);
}

void TestVirtualMouse::outOfRangeNumbersAreIgnored() {
    DeviceRig rig;
    const VirtualMouseState before = rig.virt.mouse().state();
    rig.worker.hid_12H_SetKeyMatrix(patternBlock<64>(1), 0);
    rig.worker.hid_12H_SetKeyMatrix(patternBlock<64>(1), 5);
    rig.worker.hid_13H_SetMacroKey(13, patternBlock<128>(1));
    rig.worker.hid_13H_SetMacroKey(0, patternBlock<128>(1));
    rig.worker.waitForTransfers();
    QVERIFY(rig.virt.mouse().state() == before);
    Block128 block = patternBlock<128>(8);
    rig.worker.hid_93H_GetMacroKey(40, block);
    QCOMPARE(block, (std::array<uchar, 128>{}));
}

void TestVirtualMouse::failureHooks() {
    DeviceRig rig;
    // A failed send: the flag comes back, nothing lands.
    rig.virt.failNext(VirtualHidBackend::Op::SendFeature);
    rig.worker.hid_0BH_SetCurrentDPIStage(7);
    // A failed bulk write after the first report.
    rig.virt.failNext(VirtualHidBackend::Op::Write, 1, 1);
    rig.worker.hid_12H_SetKeyMatrix(patternBlock<64>(2), 2);
    rig.worker.waitForTransfers();
    QCOMPARE(rig.virt.mouse().state().currentStage, 1);
    QCOMPARE(bytesOf(rig.virt.mouse().state().keyMatrices[1]).left(32), bytesOf(patternBlock<64>(2)).left(32));
    QCOMPARE(bytesOf(rig.virt.mouse().state().keyMatrices[1]).mid(32), QByteArray(32, '\0'));

    // A silent device: reads answer nothing, gets hand back their pre-sets.
    rig.virt.setSilent(true);
    uchar stage = 9;
    rig.worker.hid_8BH_GetCurrentDPIStage(stage);
    QCOMPARE(stage, 0);
    rig.virt.setSilent(false);
    rig.worker.hid_8BH_GetCurrentDPIStage(stage);
    QCOMPARE(stage, 1);
    QCOMPARE(rig.virt.openHandles(), 0);
}

QTEST_GUILESS_MAIN(TestVirtualMouse)
#include "tst_virtualmouse.moc"
