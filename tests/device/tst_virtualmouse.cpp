// The virtual mouse as a device: persistence, its dump, damaged files, the
// failure hooks of its backend and the wire trace format.

#include "DeviceTestSupport.h"

#include <QRegularExpression>
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

    void failureHooks() {
        DeviceRig rig;
        // A bulk write failing after the first report: only that report landed.
        rig.virt.failNext(VirtualHidBackend::Op::Write, 1, 1);
        rig.worker.hid_12H_SetKeyMatrix(patternBlock<64>(2), 2);
        rig.worker.waitForTransfers();
        const QByteArray stored = bytesOf(rig.virt.mouse().state().keyMatrices[1]);
        QCOMPARE(stored.toHex(), (bytesOf(patternBlock<64>(2)).left(32) + QByteArray(32, '\0')).toHex());

        QCOMPARE(rig.virt.openHandles(), 0);
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
        QTRY_VERIFY_WITH_TIMEOUT(!readTrace(rig.tracePath, QStringLiteral("evt"), QStringLiteral("close")).isEmpty(),
                                 3000);
        rig.worker.stopListener();
        rig.virt.mouse().unplug();
        rig.worker.hid_01H_SetReportRate(2);
        rig.worker.waitForTransfers();

        QFile file(rig.tracePath);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromLatin1(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (const QString& line : lines)
            QVERIFY2(format.match(line).hasMatch(), qPrintable(line));
        QVERIFY(lines[0].endsWith(QStringLiteral(" cmd open -> ok")));
        QVERIFY(lines[1].endsWith(QStringLiteral(" cmd send_feature 00 0b 03 00 00 00 00 00 f1 -> 9")));
        QVERIFY(lines[5].endsWith(QStringLiteral(" cmd get_feature 00 81 01 00 00 00 00 00 7d -> 9")));
        QVERIFY(lines[6].endsWith(QStringLiteral(" cmd close")));
        QVERIFY(
            !lines.filter(QRegularExpression(QStringLiteral(" evt read_timeout( [0-9a-f]{2})* -> -?\\d+$"))).isEmpty());
        QVERIFY(lines.last().endsWith(QStringLiteral(" cmd open -> fail")));
        double last = 0; // times never go backwards
        for (const TraceLine& line : readTrace(rig.tracePath)) {
            QVERIFY(line.t >= last);
            last = line.t;
        }
    }
};

QTEST_GUILESS_MAIN(TestVirtualMouse)
#include "tst_virtualmouse.moc"
