// The carried catalogue and discovery's matching rules, over enumerations the
// virtual backend is told to return.

#include "DeviceDiscovery.h"
#include "DeviceTestSupport.h"
#include "HidapiBackend.h"

#include <QRegularExpression>
#include <QTest>

Q_DECLARE_METATYPE(QList<HidInterfaceInfo>)

namespace {

HidInterfaceInfo iface(const char* path, std::uint16_t pid, std::uint16_t page, std::uint16_t usage) {
    return HidInterfaceInfo{QString::fromLatin1(path), 0x04d9, pid, page, usage};
}

QString writeCatalog(const QTemporaryDir& dir, const QByteArray& text) {
    const QString path = dir.filePath(QStringLiteral("catalog.ini"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(text);
    return path;
}

const QByteArray kMouseOnly = "[common]\ntotal=2\nisEncode=false\n"
                              "[0]\ntype=0\nvid=04d9\npid=8008\nusagePage=ff01\nusage=0001\nusagePage2=ff02\n"
                              "usage2=0001\nreportLength=64\n"
                              "[1]\ntype=1\nvid=04d9\npid=a171\nusagePage=ff00\nusage=ff00\nusagePage2=ff00\n"
                              "usage2=ff00\nreportLength=32\n";

} // namespace

class TestDeviceDiscovery : public QObject {
    Q_OBJECT
private slots:
    void init() { resetLinkState(); }
    void carriedCatalogue();
    void matching_data();
    void matching();
    void oneInterfaceMatchingBothPairs();
    void singleEntryCatalogueFindsNothing();
    void shortNameListLeavesNamesEmpty();
    void missingCatalogueGivesNoRecords();
    void scramblingFollowsCatalogue();
    void unusableReportLengthIsNeverFound_data();
    void unusableReportLengthIsNeverFound();
    void runEndsInHandshake();
    void hidapiBackendOnThisMachine();
};

void TestDeviceDiscovery::carriedCatalogue() {
    QFile file(QStringLiteral(":/DevInfo.ini"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readLine().trimmed(), QByteArray("; type 0: Keyboard, type 1: Mouse"));

    const DeviceCatalog catalog;
    QCOMPARE(catalog.entries().size(), 2);
    QVERIFY(!catalog.scramblingEnabled());
    const DeviceEntry& keyboard = catalog.entries().at(0);
    QCOMPARE(keyboard.type, 0);
    QCOMPARE(keyboard.vid, 0x04d9);
    QCOMPARE(keyboard.pid, 0x8008);
    QCOMPARE(keyboard.usagePage, 0xff01);
    QCOMPARE(keyboard.usage, 0x0001);
    QCOMPARE(keyboard.usagePage2, 0xff02);
    QCOMPARE(keyboard.usage2, 0x0001);
    QCOMPARE(keyboard.reportLength, 64u);
    const DeviceEntry& mouse = catalog.entries().at(1);
    QCOMPARE(mouse.type, 1);
    QCOMPARE(mouse.pid, 0xa171);
    QCOMPARE(mouse.usagePage, 0xff00);
    QCOMPARE(mouse.usage, 0xff00);
    QCOMPARE(mouse.usagePage2, 0xff01);
    QCOMPARE(mouse.usage2, 0xff01);
    QCOMPARE(mouse.reportLength, 32u);
    QVERIFY(mouse.usable && keyboard.usable);
}

void TestDeviceDiscovery::matching_data() {
    QTest::addColumn<QList<HidInterfaceInfo>>("interfaces");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("path2");

    QTest::newRow("both interfaces") << QList<HidInterfaceInfo>{iface("a", 0xa171, 0xff00, 0xff00),
                                                                iface("b", 0xa171, 0xff01, 0xff01)}
                                     << "a"
                                     << "b";
    QTest::newRow("event first") << QList<HidInterfaceInfo>{iface("b", 0xa171, 0xff01, 0xff01),
                                                            iface("c", 0xa171, 0x0001, 0x0002),
                                                            iface("a", 0xa171, 0xff00, 0xff00)}
                                 << "a"
                                 << "b";
    QTest::newRow("only command") << QList<HidInterfaceInfo>{iface("a", 0xa171, 0xff00, 0xff00)} << ""
                                  << "";
    QTest::newRow("only event") << QList<HidInterfaceInfo>{iface("b", 0xa171, 0xff01, 0xff01)} << ""
                                << "";
    QTest::newRow("later command wins") << QList<HidInterfaceInfo>{iface("a1", 0xa171, 0xff00, 0xff00),
                                                                   iface("b", 0xa171, 0xff01, 0xff01),
                                                                   iface("a2", 0xa171, 0xff00, 0xff00)}
                                        << "a2"
                                        << "b";
    QTest::newRow("later event wins") << QList<HidInterfaceInfo>{iface("b1", 0xa171, 0xff01, 0xff01),
                                                                 iface("a", 0xa171, 0xff00, 0xff00),
                                                                 iface("b2", 0xa171, 0xff01, 0xff01)}
                                      << "a"
                                      << "b2";
    QTest::newRow("keyboard never found")
        << QList<HidInterfaceInfo>{iface("k1", 0x8008, 0xff01, 0x0001), iface("k2", 0x8008, 0xff02, 0x0001)} << ""
        << "";
    QTest::newRow("usage page alone is not enough")
        << QList<HidInterfaceInfo>{iface("a", 0xa171, 0xff00, 0x0001), iface("b", 0xa171, 0xff01, 0xff01)} << ""
        << "";
    QTest::newRow("nothing attached") << QList<HidInterfaceInfo>{} << ""
                                      << "";
}

void TestDeviceDiscovery::matching() {
    QFETCH(QList<HidInterfaceInfo>, interfaces);
    QFETCH(QString, path);
    QFETCH(QString, path2);

    VirtualHidBackend backend;
    backend.setEnumeration(interfaces);
    FakeConfig config;
    DeviceDiscovery discovery(backend, config);
    const QList<DeviceRecord> records =
        discovery.match(DeviceCatalog(DeviceCatalog::kCarriedPath, config.names).entries());
    QCOMPARE(records.size(), 2);
    QVERIFY(records[0].path.isEmpty() && records[0].path2.isEmpty());
    QCOMPARE(records[0].did, 0);
    QCOMPARE(records[0].name, QStringLiteral("Keyboard"));
    QCOMPARE(records[1].did, 1);
    QCOMPARE(records[1].path, path);
    QCOMPARE(records[1].path2, path2);
    QCOMPARE(records[1].reportLength, path.isEmpty() ? 0u : 32u);
}

void TestDeviceDiscovery::oneInterfaceMatchingBothPairs() {
    QTemporaryDir dir;
    VirtualHidBackend backend;
    backend.setEnumeration(QList<HidInterfaceInfo>{iface("only", 0xa171, 0xff00, 0xff00)});
    FakeConfig config;
    DeviceDiscovery discovery(backend, config, writeCatalog(dir, kMouseOnly));
    const QList<DeviceRecord> records =
        discovery.match(DeviceCatalog(writeCatalog(dir, kMouseOnly), config.names).entries());
    QCOMPARE(records[1].path, QStringLiteral("only"));
    QCOMPARE(records[1].path2, QStringLiteral("only"));
}

void TestDeviceDiscovery::singleEntryCatalogueFindsNothing() {
    QTemporaryDir dir;
    QByteArray text = kMouseOnly;
    text.replace("total=2", "total=1");
    DeviceRig rig;
    DeviceDiscovery discovery(rig.trace, rig.config, writeCatalog(dir, text));
    QTest::ignoreMessage(QtDebugMsg, "Device Error");
    discovery.run(rig.worker);
    QCOMPARE(rig.worker.records().size(), 1);
    QVERIFY(rig.worker.records().at(0).path.isEmpty());
    QVERIFY(!LinkState::deviceConnected.load());
}

void TestDeviceDiscovery::shortNameListLeavesNamesEmpty() {
    const DeviceCatalog catalog(DeviceCatalog::kCarriedPath, {QStringLiteral("Only")});
    QCOMPARE(catalog.entries().at(0).name, QStringLiteral("Only"));
    QCOMPARE(catalog.entries().at(1).name, QString());
}

void TestDeviceDiscovery::missingCatalogueGivesNoRecords() {
    DeviceRig rig;
    DeviceDiscovery discovery(rig.trace, rig.config, rig.dir.filePath(QStringLiteral("absent.ini")));
    QTest::ignoreMessage(QtDebugMsg, "Device Error");
    discovery.run(rig.worker);
    QVERIFY(rig.worker.records().isEmpty());
    QCOMPARE(rig.host.hides(), 1);
}

void TestDeviceDiscovery::scramblingFollowsCatalogue() {
    QTemporaryDir dir;
    QByteArray text = kMouseOnly;
    text.replace("isEncode=false", "isEncode=true");
    text.replace("usagePage2=ff00\nusage2=ff00", "usagePage2=ff01\nusage2=ff01");
    DeviceRig rig;
    DeviceDiscovery discovery(rig.trace, rig.config, writeCatalog(dir, text));
    // The mouse unscrambles with its code, the host scrambles with the configured one: they agree.
    QTest::ignoreMessage(QtDebugMsg, "Device Connect");
    discovery.run(rig.worker);
    QVERIFY(LinkState::scramblingEnabled.load());
    QVERIFY(LinkState::deviceConnected.load());
    uchar stage = 0;
    rig.worker.hid_0BH_SetCurrentDPIStage(6);
    rig.worker.hid_8BH_GetCurrentDPIStage(stage);
    QCOMPARE(stage, 6);
    rig.worker.stopListener();
    LinkState::scramblingEnabled.store(false);
}

void TestDeviceDiscovery::unusableReportLengthIsNeverFound_data() {
    QTest::addColumn<QByteArray>("length");
    QTest::newRow("zero") << QByteArray("0");
    QTest::newRow("missing") << QByteArray("");
    QTest::newRow("overruns the bulk buffer") << QByteArray("100");
    QTest::newRow("300 rounds 512 up to 600") << QByteArray("300");
}

void TestDeviceDiscovery::unusableReportLengthIsNeverFound() {
    QFETCH(QByteArray, length);
    QTemporaryDir dir;
    QByteArray text = kMouseOnly;
    text.replace("usagePage2=ff00\nusage2=ff00\nreportLength=32",
                 "usagePage2=ff01\nusage2=ff01\nreportLength=" + length);
    VirtualHidBackend backend;
    FakeConfig config;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("catalogue entry 1 refused")));
    const DeviceCatalog catalog(writeCatalog(dir, text), config.names);
    QVERIFY(!catalog.entries().at(1).usable);
    const QList<DeviceRecord> records = DeviceDiscovery(backend, config).match(catalog.entries());
    QVERIFY(records[1].path.isEmpty());
}

void TestDeviceDiscovery::runEndsInHandshake() {
    DeviceRig rig;
    rig.worker.setRecords({});
    QTest::ignoreMessage(QtDebugMsg, "Device Connect");
    DeviceDiscovery(rig.trace, rig.config).run(rig.worker);
    const QList<DeviceRecord> records = rig.worker.records();
    QCOMPARE(records.size(), 2);
    QCOMPARE(records[1].path, QString::fromLatin1(VirtualHidBackend::kCommandPath));
    QCOMPARE(records[1].path2, QString::fromLatin1(VirtualHidBackend::kEventPath));
    QCOMPARE(records[1].name, QStringLiteral("Mouse"));
    QCOMPARE(records[1].type, 1);
    QVERIFY(LinkState::deviceConnected.load());
    QVERIFY(rig.worker.isListenerRunning());
}

void TestDeviceDiscovery::hidapiBackendOnThisMachine() {
    // The real backend must cope with whatever is attached, including nothing.
    HidapiBackend backend;
    const QList<HidInterfaceInfo> interfaces = backend.enumerate(0x04d9, 0xa171);
    for (const HidInterfaceInfo& info : interfaces) {
        QCOMPARE(info.vendorId, 0x04d9);
        QCOMPARE(info.productId, 0xa171);
    }
    QVERIFY(!backend.open(QStringLiteral("/nonexistent/hidraw99")));
}

QTEST_GUILESS_MAIN(TestDeviceDiscovery)
#include "tst_devicediscovery.moc"
