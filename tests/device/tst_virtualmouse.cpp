// The virtual mouse as a device: persistence, its dump, damaged files, numbers
// out of range and the failure hooks of its backend.

#include "DeviceTestSupport.h"

#include <QTest>

class TestVirtualMouse : public QObject {
    Q_OBJECT
private slots:
    void init() { resetLinkState(); }
    void memoryPersistsAcrossRuns() {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("virtual-device.ini"));
        {
            VirtualHidBackend backend(ini);
            FakeConfig config;
            Hid_Thread worker(backend, config);
            worker.setRecords(virtualMouseRecords());
            worker.hid_12H_SetKeyMatrix(patternBlock<64>(40), 2);
            worker.hid_0BH_SetCurrentDPIStage(5);
            worker.hid_14H_SetColor(9, 1, 2, 3);
        }
        VirtualMouseState expected = VirtualMouseState::factory();
        expected.keyMatrices[1] = patternBlock<64>(40);
        expected.currentStage = 5;
        expected.colors[9] = {1, 2, 3};
        QVERIFY(VirtualMouse(ini).state() == expected);
    }

    void dumpRoundTrips() {
        VirtualMouseState state = VirtualMouseState::factory();
        state.macros[11] = patternBlock<128>(3);
        state.pictures[2] = patternBlock<512>(4);
        state.keyboardMacros[200] = patternBlock<192>(5);
        state.ledInstruct[3] = {4, 5, 6};
        state.recoveryRequests = 3;
        VirtualMouse mouse;
        mouse.setState(state);
        const QString text = mouse.dump();
        QVERIFY(text.contains(QStringLiteral("[keyMatrix]\n1=0100f000")));
        QVERIFY(text.contains(QStringLiteral("stageCount=6")));

        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("dump.ini")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
        file.close();
        QVERIFY(VirtualMouseState::fromIniFile(file.fileName()) == state);
    }

    void damagedFileKeepsFactoryValues() {
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("virtual-device.ini")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(
            "[function]\nreportRate=999\nsensorType=abc\noption1=7\n[keyMatrix]\n1=zz01\n2=0102\n[color]\nx=010203\n"
            "300=010203\n\x01\x02garbage");
        file.close();
        VirtualMouseState expected = VirtualMouseState::factory();
        expected.option1 = 7;
        QVERIFY(VirtualMouse(file.fileName()).state() == expected);
    }

    void outOfRangeNumbersAreIgnored() {
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

    void failureHooks() {
        DeviceRig rig;
        // A bulk write failing after the first report: only that report landed.
        rig.virt.failNext(VirtualHidBackend::Op::Write, 1, 1);
        rig.worker.hid_12H_SetKeyMatrix(patternBlock<64>(2), 2);
        rig.worker.waitForTransfers();
        const QByteArray stored = bytesOf(rig.virt.mouse().state().keyMatrices[1]);
        QCOMPARE(stored.toHex(), (bytesOf(patternBlock<64>(2)).left(32) + QByteArray(32, '\0')).toHex());

        // A silent device: feature reads fail, the get hands back its failure value.
        rig.virt.setSilent(true);
        uchar stage = 9;
        rig.worker.hid_8BH_GetCurrentDPIStage(stage);
        QCOMPARE(stage, 0);
        rig.virt.setSilent(false);
        rig.worker.hid_8BH_GetCurrentDPIStage(stage);
        QCOMPARE(stage, 1);
        QCOMPARE(rig.virt.openHandles(), 0);
    }
};

QTEST_GUILESS_MAIN(TestVirtualMouse)
#include "tst_virtualmouse.moc"
