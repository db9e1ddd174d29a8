// Button assignment: profile keys of both key matrices, the wire bytes of 12H
// and 0DH on the virtual mouse, the read-backs, and refusals of short lists.

#include "KeyAssignment.h"
#include "ProfileStore.h"
#include "TestDataFolder.h"
#include "device/DeviceTestSupport.h"

#include <QTest>

namespace {

// The pages' standard matrix: left, right, middle, Auto Run, Fire Mode, gun key, DPI loop, 7 x off, 04 01, 04 02.
QVariantList standardMatrix() {
    const int entries[16][4] = {{1, 0, 0xF0, 0},    {1, 0, 0xF1, 0}, {1, 0, 0xF2, 0}, {0x0F, 0, 0x2E, 0},
                                {0x0F, 0, 0x05, 0}, {8, 0, 1, 1},    {7, 0, 3, 0},    {0, 0, 0, 0},
                                {0, 0, 0, 0},       {0, 0, 0, 0},    {0, 0, 0, 0},    {0, 0, 0, 0},
                                {0, 0, 0, 0},       {0, 0, 0, 0},    {4, 0, 1, 0},    {4, 0, 2, 0}};
    QVariantList list;
    for (const auto& entry : entries)
        for (int value : entry)
            list.append(value);
    return list;
}

QVariantList counting(int size) {
    QVariantList list;
    for (int i = 0; i < size; ++i)
        list.append(i);
    return list;
}

struct Fixture {
    TestDataFolder folder;
    ProfileStore profiles;
    DeviceRig device;
    KeyAssignment keys{profiles, device.worker};

    QList<TraceLine> sent(const QString& op) {
        device.worker.waitForTransfers();
        return withOp(device.commandLines(), op);
    }
    QByteArray profileText() { return TestDataFolder::read(ProfileStore::fileNameOf(0)); }
    void serveKeyboard() {
        QList<DeviceRecord> records = virtualMouseRecords();
        records[0].path = records[1].path;
        records[0].reportLength = records[1].reportLength;
        device.worker.setRecords(records);
        device.worker.swichCurDevice(0);
    }
};

} // namespace

class TestKeyAssignment : public QObject {
    Q_OBJECT
private slots:
    void mouseMatrixStoredAndSent() {
        Fixture f;
        f.keys.ui_12H_SetKeyMatrix(standardMatrix());
        const QByteArray text = f.profileText();
        QVERIFY2(text.contains("[keydefine_Q3]\n0=1, 0, 240, 0\n1=1, 0, 241, 0\n"), text.constData());
        QVERIFY(text.contains("\n3=15, 0, 46, 0\n"));
        QVERIFY(text.contains("\n15=4, 0, 2, 0\n"));
        const QList<TraceLine> reports = f.sent(QStringLiteral("send_feature"));
        QCOMPARE(reports.size(), 1);
        QCOMPARE(reports.first().bytes, hexBytes("00 12 01 40 08 00 00 00 a4"));
        const QList<TraceLine> bulk = f.sent(QStringLiteral("write"));
        QCOMPARE(bulk.size(), 2);
        QCOMPARE(bulk.at(0).bytes.size(), 33);
        const QByteArray wire = bulk.at(0).bytes.mid(1) + bulk.at(1).bytes.mid(1);
        QCOMPARE(wire.mid(12, 4), hexBytes("00 00 2e 00")); // Auto Run goes out as a plain key
        QCOMPARE(wire.mid(16, 4), hexBytes("00 00 05 00"));
        QCOMPARE(wire.mid(0, 4), hexBytes("01 00 f0 00"));
        QCOMPARE(wire.mid(60, 4), hexBytes("04 00 02 00"));
    }

    void namedKeyTypeOnlyInTypePosition_data() {
        QTest::addColumn<QVariantList>("entry");
        QTest::addColumn<QByteArray>("wire");
        QTest::newRow("type 0f") << QVariantList{15, 0, 46, 0} << hexBytes("00 00 2e 00");
        QTest::newRow("0f in p1") << QVariantList{0, 15, 4, 0} << hexBytes("00 0f 04 00");
        QTest::newRow("0f in p2 p3") << QVariantList{1, 0, 15, 15} << hexBytes("01 00 0f 0f");
        QTest::newRow("macro slot 0") << QVariantList{9, 0, 1, 0} << hexBytes("09 00 01 00");
        QTest::newRow("values from QML as doubles") << QVariantList{10.0, 240.0, 30.0, 2.0} << hexBytes("0a f0 1e 02");
        QTest::newRow("over 255 cut") << QVariantList{0x10F, 0, 0x104, 0} << hexBytes("00 00 04 00");
    }
    void namedKeyTypeOnlyInTypePosition() {
        QFETCH(QVariantList, entry);
        QFETCH(QByteArray, wire);
        QVariantList matrix = standardMatrix();
        for (int i = 0; i < 4; ++i)
            matrix[8 + i] = entry.at(i);
        const auto bytes = KeyAssignment::mouseMatrixBytes(matrix);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(bytes.data()) + 8, 4), wire);
    }

    void storedEntryKeepsPagesValues() {
        Fixture f;
        QVariantList matrix = standardMatrix();
        matrix[8] = 9;
        matrix[9] = 2;
        matrix[10] = 1;
        f.keys.ui_12H_SetKeyMatrix(matrix);
        QCOMPARE(f.keys.getKeydefine(3), (QVariantList{15, 0, 46, 0}));
        QCOMPARE(f.keys.getKeydefine(2), (QVariantList{9, 2, 1, 0}));
        QCOMPARE(f.keys.getKeydefine(QStringLiteral("2")), (QVariantList{9, 2, 1, 0}));
        QVERIFY(f.keys.getKeydefine(16).isEmpty());
    }

    void shortMatricesRefused_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("keyboard");
        QTest::newRow("mouse 63") << 63 << false;
        QTest::newRow("mouse empty") << 0 << false;
        QTest::newRow("keyboard 511") << 511 << true;
        QTest::newRow("keyboard 64") << 64 << true;
    }
    void shortMatricesRefused() {
        QFETCH(int, size);
        QFETCH(bool, keyboard);
        Fixture f;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("refused")));
        if (keyboard)
            f.keys.ui_0DH_SetKeyMatrix(counting(size));
        else
            f.keys.ui_12H_SetKeyMatrix(counting(size));
        QVERIFY(f.sent(QStringLiteral("send_feature")).isEmpty());
        QVERIFY(!QFile::exists(ProfileStore::fileNameOf(0)));
    }

    void keyboardMatrixStoresExactly126Entries() {
        Fixture f;
        f.serveKeyboard();
        f.keys.ui_0DH_SetKeyMatrix(counting(512));
        QSettings& profile = f.profiles.current();
        profile.beginGroup(QStringLiteral("keydefine"));
        const QStringList keys = profile.childKeys();
        profile.endGroup();
        QCOMPARE(keys.size(), 126);
        QVERIFY(keys.contains(QStringLiteral("0")) && keys.contains(QStringLiteral("125")));
        QVERIFY(f.profileText().contains("\n125=500, 501, 502, 503\n"));
        QCOMPARE(f.keys.getKeydefine(3), (QVariantList{12, 13, 14, 15}));
        QCOMPARE(f.sent(QStringLiteral("send_feature")).last().bytes.at(1), char(0x0D));
        QByteArray wire;
        for (const TraceLine& line : f.sent(QStringLiteral("write")))
            wire += line.bytes.mid(1);
        QCOMPARE(wire.size(), 512);
        QCOMPARE(static_cast<uchar>(wire.at(300)), uchar(300 & 0xFF));
        QCOMPARE(static_cast<uchar>(wire.at(511)), uchar(511 & 0xFF));
    }

    void keydefineFollowsCurrentDevice() {
        Fixture f;
        f.profiles.current().setValue(QStringLiteral("keydefine/3"), QVariantList{1, 2, 3, 4});
        f.profiles.current().setValue(QStringLiteral("keydefine_Q3/3"), QVariantList{5, 6, 7, 8});
        QCOMPARE(f.keys.getKeydefine(3), (QVariantList{5, 6, 7, 8}));
        f.serveKeyboard();
        QCOMPARE(f.keys.getKeydefine(3), (QVariantList{1, 2, 3, 4}));
        f.device.worker.swichCurDevice(2);
        QVERIFY(f.keys.getKeydefine(3).isEmpty());
    }

    void readBackMouseMatrix() {
        Fixture f;
        f.keys.ui_12H_SetKeyMatrix(standardMatrix());
        const QVariantList readBack = f.keys.ui_92H_GetKeyMatrix();
        QCOMPARE(readBack.size(), 64);
        QCOMPARE(readBack.at(2).toUInt(), 0xF0u);
        QCOMPARE(readBack.at(12).toUInt(), 0u); // the device holds the plain key
        QCOMPARE(readBack.at(14).toUInt(), 0x2Eu);
        QCOMPARE(f.sent(QStringLiteral("send_feature")).last().bytes.mid(1, 2), hexBytes("92 01"));
    }

    void failedReadBacksAreZero() {
        Fixture f;
        f.keys.ui_12H_SetKeyMatrix(standardMatrix());
        f.device.worker.waitForTransfers();
        f.device.virt.setSilent(true);
        QCOMPARE(f.keys.ui_92H_GetKeyMatrix(), QVariantList(64, 0u));
        QCOMPARE(f.keys.ui_8DH_GetKeyMatrix(), QVariantList(512, 0u));
    }
};

QTEST_GUILESS_MAIN(TestKeyAssignment)
#include "tst_keyassignment.moc"
