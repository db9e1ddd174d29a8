// SPDX-License-Identifier: GPL-3.0-or-later
// Macro and gun uploads end to end: the real worker and transport talking to
// the virtual mouse through the wire tracer.

#include "MacroTestSupport.h"
#include "WorkerDevicePort.h"
#include "device/DeviceTestSupport.h"

#include <memory>

// Per 9-byte command report of the given code: its five parameters.
static QList<QByteArray> sent(const DeviceRig& rig, char code) {
    QList<QByteArray> reports;
    for (const TraceLine& line : rig.cmd(QStringLiteral("send_feature")))
        if (line.bytes.size() == 9 && line.bytes[1] == code)
            reports << line.bytes.mid(2, 5);
    return reports;
}

// The bulk bytes of every transfer of the given code: the data of the output
// reports written after its command report, without their report ids.
static QList<QByteArray> bulks(const DeviceRig& rig, char code) {
    QList<QByteArray> transfers;
    bool inTransfer = false;
    for (const TraceLine& line : rig.cmd()) {
        if (line.op == QLatin1String("send_feature")) {
            inTransfer = line.bytes.size() == 9 && line.bytes[1] == code;
            if (inTransfer)
                transfers << QByteArray();
        } else if (line.op == QLatin1String("write") && inTransfer) {
            transfers.last() += line.bytes.mid(1);
        }
    }
    return transfers;
}

class TestMacroWire : public QObject {
    Q_OBJECT
    std::unique_ptr<DeviceRig> m_rig;
    std::unique_ptr<WorkerDevicePort> m_port;
    std::unique_ptr<MacroRig> m;

private slots:
    void init() {
        m_rig = std::make_unique<DeviceRig>();
        m_port = std::make_unique<WorkerDevicePort>(m_rig->worker);
        m = std::make_unique<MacroRig>(*m_port);
    }
    void cleanup() {
        m_rig->worker.waitForTransfers();
        m.reset();
        m_port.reset();
        m_rig.reset();
    }

    // Macro slot 0 is device slot 1; what is stored there reads back.
    void macroSlotRoundTrip() {
        const QList<uchar> image = m->upload.encodeMacroLines({"1,A", "0,300", "2,A"}, 2, false);
        m->upload.sendImage(0, image);
        m_rig->worker.waitForTransfers();
        const auto stored = m_rig->virt.mouse().state().macros[0];
        QCOMPARE(QList<uchar>(stored.begin(), stored.begin() + 12), hexList("00 02 00 04 00 01 00 0f 81 04 00 00"));
        const auto readBack = m->upload.readMouseMacro(1);
        QCOMPARE(QList<uchar>(readBack.begin(), readBack.begin() + image.size()), image);
    }

    // The backslash key goes out as usage 0x32 in macros and guns alike.
    void backslashKeyOnTheWire() {
        const QString backslash = QStringLiteral("\\ |");
        const QStringList lines{"1," + backslash, "0,100", "2," + backslash};
        m->upload.sendImage(0, m->upload.encodeMacroLines(lines, 1, false));
        QVERIFY(m->library.createEntry(LibraryKind::Gun, "G", 0));
        QVERIFY(m->library.saveEntry(LibraryKind::Gun, "G", lines, "1"));
        QVERIFY(m->guns.uploadGunData({"G", "", ""}));
        m_rig->worker.waitForTransfers();
        const QList<QByteArray> images = bulks(*m_rig, 0x13);
        QCOMPARE(images.size(), 2);
        QCOMPARE(images[0].left(10), QByteArray::fromHex("0001323281320000"
                                                         "0000"));
        QCOMPARE(images[1].left(10), QByteArray::fromHex("000132328a320000"
                                                         "0000")); // gun: closing delay 0x0A
        QCOMPARE(sent(*m_rig, 0x13), (QList{QByteArray::fromHex("0180000000"), QByteArray::fromHex("0680000000")}));
    }

    // Gun images go to slots 5.. only when they total under 896 bytes; 04H gives each length in words,
    // low byte first; a name without a gun is an empty image.
    void gunUploadLimit() {
        m->createGun("A", 300);
        m->createGun("B", 520);
        m->createGun("C", 296);
        QVERIFY(m->guns.uploadGunData({"A", "", "B"}));
        m_rig->worker.waitForTransfers();
        const QList<uchar> all = m->guns.gunImage("A") + m->guns.gunImage("B");
        const auto state = m_rig->virt.mouse().state();
        for (int i = 0; i < all.size(); ++i)
            QCOMPARE(state.macros[5 + i / 128][i % 128], all[i]);
        QCOMPARE(sent(*m_rig, 0x13).size(), 7);
        QVERIFY(!m->guns.uploadGunData({"A", "A", "C"})); // 896 bytes
        m_rig->worker.waitForTransfers();
        QCOMPARE(sent(*m_rig, 0x13).size(), 7);
        QCOMPARE(sent(*m_rig, 0x04), (QList{QByteArray::fromHex("9600000000"), QByteArray::fromHex("0000000001"),
                                            QByteArray::fromHex("0401000002"), QByteArray::fromHex("9600000000"),
                                            QByteArray::fromHex("9600000001"), QByteArray::fromHex("9400000002")}));
    }

    // Gun matrix 2 is device matrix 3; a named key goes as a plain key.
    void gunKeyMatrixOnDevice() {
        QList<int> src;
        for (int n = 0; n < 16; ++n)
            src << (n == 2 ? 0x0F : 1) << 0 << 0xF0 + n % 5 << 0;
        m->guns.setGunKeyMatrix(2, src);
        m_rig->worker.waitForTransfers();
        const auto matrix = m_rig->virt.mouse().state().keyMatrices[2];
        QCOMPARE(QList<uchar>(matrix.begin(), matrix.begin() + 12), hexList("01 00 f0 00 01 00 f1 00 00 00 f2 00"));
    }
};

QTEST_GUILESS_MAIN(TestMacroWire)
#include "tst_macrowire.moc"
