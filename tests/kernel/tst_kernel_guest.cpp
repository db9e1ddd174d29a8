// SPDX-License-Identifier: GPL-3.0-or-later
// Runs inside the kernel tier's virtual machine: the virtual mouse's firmware behind
// /dev/uhid, the unchanged worker and discovery on hidapi's hidraw backend. Shows what only
// the kernel shows: enumeration of uhid devices, DPI events as input reports, a device that
// vanishes in the middle of a transfer, and GET replies that come late or never.
#include "DeviceDiscovery.h"
#include "HidapiBackend.h"
#include "TestFiles.h"
#include "UhidMouse.h"
#include "device/DeviceTestSupport.h"

#include <QElapsedTimer>
#include <QTest>
#include <hidapi/hidapi.h>
#include <unistd.h>

namespace {

constexpr int kMouse = 1;
// Lower bound on how long uhid waits for a feature reply (its own timeout is 5 s).
constexpr qint64 kKernelReplyTimeoutMs = 5000;
// Upper bound for that case on the emulated CPU: the timeout plus slack for a slow guest.
constexpr qint64 kWithheldBoundMs = 8000;
constexpr int kDpiEventWaitMs = 2000;

struct Interface {
    QString path;
    int interfaceNumber = 0;
    std::uint16_t usagePage = 0;
};

QList<Interface> listed(std::uint16_t vendor, std::uint16_t product) {
    QList<Interface> interfaces;
    hid_device_info* list = hid_enumerate(vendor, product);
    for (const hid_device_info* info = list; info; info = info->next)
        interfaces.append({QString::fromLocal8Bit(info->path), info->interface_number, info->usage_page});
    hid_free_enumeration(list);
    return interfaces;
}

// The mouse on uhid and the worker on hidapi through the wire tracer, as quellarctl wires them.
struct KernelRig {
    VirtualMouse mouse;
    UhidMouse device{mouse, false};
    HidapiBackend hidapi;
    QTemporaryDir dir;
    QString tracePath = dir.filePath(QStringLiteral("wire.trace"));
    TracingHidBackend trace{hidapi, tracePath};
    FakeConfig config;
    RecordingHost host;
    Hid_Thread worker{trace, config, &host};

    KernelRig() { resetLinkState(); }
    ~KernelRig() {
        worker.stopListener();
        worker.waitForTransfers();
    }
    bool interfacesListed() const { return listed(VirtualMouse::kVendorId, VirtualMouse::kProductId).size() == 2; }
    DeviceRecord mouseRecord() const { return worker.records().value(kMouse); }
    void discover() { DeviceDiscovery(trace, config).run(worker); }
};

} // namespace

class TestKernelGuest : public QObject {
    Q_OBJECT

private slots:
    void discoveryTakesTheTwoInterfacesByUsagePage() {
        int stranger = -1;
        QString error;
        QVERIFY2(UhidMouse::createStranger(&stranger, &error), qPrintable(error));
        KernelRig rig;
        QVERIFY2(rig.device.start(&error), qPrintable(error));
        QTRY_VERIFY(rig.interfacesListed());
        QTRY_COMPARE(listed(0, 0).size(), 3);

        // uhid devices carry no USB interface number: only the usage page tells them apart.
        QString commandPath, eventPath;
        for (const Interface& iface : listed(VirtualMouse::kVendorId, VirtualMouse::kProductId)) {
            QCOMPARE(iface.interfaceNumber, -1);
            QVERIFY2(iface.path.startsWith(QLatin1String("/dev/hidraw")), qPrintable(iface.path));
            (iface.usagePage == 0xff00 ? commandPath : eventPath) = iface.path;
        }
        qInfo("found %s (ff00) and %s (ff01)", qPrintable(commandPath), qPrintable(eventPath));
        rig.discover();
        QCOMPARE(rig.mouseRecord().path, commandPath);
        QCOMPARE(rig.mouseRecord().path2, eventPath);
        QCOMPARE(rig.mouseRecord().reportLength, 32u);
        // The handshake went through the kernel and the listener runs on the event interface.
        QVERIFY(LinkState::deviceConnected.load());
        QVERIFY(rig.worker.isListenerRunning());
        ::close(stranger);
    }

    void dpiButtonReachesTheListener() {
        KernelRig rig;
        QString error;
        QVERIFY2(rig.device.start(&error), qPrintable(error));
        QTRY_VERIFY(rig.interfacesListed());
        rig.discover();
        QVERIFY(rig.worker.isListenerRunning());
        LinkState::dpiValues[2].store(1600);
        // The listener reads 4 bytes of the 32-byte report; hidraw hands over what fits.
        const auto dpiEventRead = [&rig] {
            const QList<TraceLine> reads =
                readTrace(rig.tracePath, QStringLiteral("evt"), QStringLiteral("read_timeout"));
            return std::any_of(reads.cbegin(), reads.cend(), [](const TraceLine& line) {
                return line.bytes == QByteArray::fromHex("06070003") && line.result == QLatin1String("4");
            });
        };
        // hidraw keeps input reports only for files open at the time; the listener keeps the event
        // interface open, so one press after its first open reaches it.
        QTRY_VERIFY(!readTrace(rig.tracePath, QStringLiteral("evt"), QStringLiteral("open")).isEmpty());
        rig.device.pressDpi(3);
        QVERIFY(QTest::qWaitFor(dpiEventRead, kDpiEventWaitMs));
        QTRY_VERIFY2(!rig.host.messages().filter(QStringLiteral(" 1600|")).isEmpty(),
                     qPrintable(rig.host.messages().join(QLatin1Char('\n'))));
    }

    // Unplugged after 5 of the 16 reports of a picture: the transfer fails at once, the
    // listener ends, and discovery finds the mouse again once it is back.
    void unplugInTheMiddleOfALargeTransfer() {
        KernelRig rig;
        QString error;
        QVERIFY2(rig.device.start(&error), qPrintable(error));
        QTRY_VERIFY(rig.interfacesListed());
        rig.discover();
        QVERIFY(rig.worker.isListenerRunning());
        const int failedBefore = rig.worker.failedCommands();
        rig.device.destroyAfterOutputs(5);
        QElapsedTimer clock;
        clock.start();
        rig.worker.hid_12H_SetUserPicture(1, 0, patternBlock<512>(3));
        rig.worker.waitForTransfers();
        QCOMPARE(rig.worker.failedCommands(), failedBefore + 1);
        const QList<TraceLine> writes = readTrace(rig.tracePath, QStringLiteral("cmd"), QStringLiteral("write"));
        // The kernel takes a few more reports before the device is gone.
        QVERIFY2(writes.size() > 5 && writes.size() < 16, qPrintable(QString::number(writes.size())));
        QCOMPARE(writes.last().result, QStringLiteral("-1"));
        qInfo("unplugged after 5 reports: %d of 16 were taken before a write failed, after %lld ms",
              int(writes.size()) - 1, clock.elapsed());
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
        QTRY_VERIFY(!rig.worker.isListenerRunning());
        QTRY_VERIFY(listed(VirtualMouse::kVendorId, VirtualMouse::kProductId).isEmpty());

        rig.device.plug();
        QTRY_VERIFY(rig.interfacesListed());
        rig.discover();
        QVERIFY(!rig.mouseRecord().path.isEmpty());
        QVERIFY(rig.worker.isListenerRunning());
        uchar rate = 0;
        rig.worker.hid_81H_GetReportRate(rate);
        QCOMPARE(rate, VirtualMouseState::factory().reportRate);
    }

    void lateAndWithheldAnswersAreBounded() {
        KernelRig rig;
        QString error;
        QVERIFY2(rig.device.start(&error), qPrintable(error));
        QTRY_VERIFY(rig.interfacesListed());
        rig.discover();
        rig.worker.stopListener();
        const int failedBefore = rig.worker.failedCommands();

        // Late: the command waits for the answer and gets it.
        rig.device.setGetReplyDelay(300);
        QElapsedTimer clock;
        clock.start();
        uchar stage = 0;
        rig.worker.hid_8BH_GetCurrentDPIStage(stage);
        QVERIFY(clock.elapsed() >= 300);
        QCOMPARE(stage, VirtualMouseState::factory().currentStage);
        QCOMPARE(rig.worker.failedCommands(), failedBefore);

        // Never: the kernel gives up, the command fails, and the next one is answered.
        rig.device.setGetReplyDelay(UhidMouse::kNeverAnswer);
        clock.restart();
        rig.worker.hid_8BH_GetCurrentDPIStage(stage);
        const qint64 waited = clock.elapsed();
        qInfo("withheld GET failed after %lld ms", waited);
        QVERIFY2(waited >= kKernelReplyTimeoutMs - 100 && waited < kWithheldBoundMs,
                 qPrintable(QString::number(waited)));
        QCOMPARE(rig.worker.failedCommands(), failedBefore + 1);
        rig.device.setGetReplyDelay(0);
        stage = 0;
        rig.worker.hid_8BH_GetCurrentDPIStage(stage);
        QCOMPARE(stage, VirtualMouseState::factory().currentStage);
    }
};

QTEST_GUILESS_MAIN(TestKernelGuest)
#include "tst_kernel_guest.moc"
