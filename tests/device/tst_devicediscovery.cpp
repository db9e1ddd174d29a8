// Discovery's matching rules over enumerations the virtual backend is told to
// return, and catalogues that are missing, short or refuse an entry.

#include "DeviceDiscovery.h"
#include "DeviceTestSupport.h"
#include "HidapiBackend.h"

#include <QRegularExpression>
#include <QTest>

namespace {

// "a:ff00/ff00 k@8008:ff01/0001": path, product id (default the mouse's), usage page and usage.
QList<HidInterfaceInfo> interfaces(const QString& text) {
    QList<HidInterfaceInfo> list;
    for (const QString& item : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString head = item.section(QLatin1Char(':'), 0, 0);
        const QString usage = item.section(QLatin1Char(':'), 1);
        const auto hex = [](const QString& s) { return static_cast<std::uint16_t>(s.toUInt(nullptr, 16)); };
        list.append({head.section(QLatin1Char('@'), 0, 0), 0x04d9,
                     head.contains(QLatin1Char('@')) ? hex(head.section(QLatin1Char('@'), 1)) : std::uint16_t(0xa171),
                     hex(usage.section(QLatin1Char('/'), 0, 0)), hex(usage.section(QLatin1Char('/'), 1))});
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
    const QString path = dir.filePath(QStringLiteral("catalog.ini"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(text);
    return path;
}

} // namespace

class TestDeviceDiscovery : public QObject {
    Q_OBJECT
private slots:
    void init() { resetLinkState(); }
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
        VirtualHidBackend backend;
        backend.setEnumeration(interfaces(enumerated));
        FakeConfig config;
        const QString catalog = sameUsages
                                    ? writeCatalog(dir, "usagePage2=ff01\nusage2=ff01", "usagePage2=ff00\nusage2=ff00")
                                    : QString::fromLatin1(DeviceCatalog::kCarriedPath);
        const QList<DeviceRecord> records =
            DeviceDiscovery(backend, config).match(DeviceCatalog(catalog, config.names).entries());
        QCOMPARE(records.size(), 2);
        QCOMPARE(records[0].did, 0);
        QCOMPARE(records[0].name, QStringLiteral("Keyboard"));
        QVERIFY(records[0].path.isEmpty() && records[0].path2.isEmpty());
        QCOMPARE(records[1].did, 1);
        QCOMPARE(QStringList({records[1].path, records[1].path2}).join(QLatin1Char(' ')).trimmed(), found);
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
        const QString path =
            from.isEmpty() ? rig.dir.filePath(QStringLiteral("absent.ini")) : writeCatalog(rig.dir, from, to);
        if (to.startsWith('='))
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("catalogue entry 1 refused")));
        QTest::ignoreMessage(QtDebugMsg, "Device Error");
        DeviceDiscovery(rig.trace, rig.config, path).run(rig.worker);
        QCOMPARE(rig.worker.records().size(), records);
        for (const DeviceRecord& record : rig.worker.records())
            QVERIFY(record.path.isEmpty());
        QVERIFY(!LinkState::deviceConnected.load());
        QCOMPARE(rig.host.hides.load(), 1);
    }
};

QTEST_GUILESS_MAIN(TestDeviceDiscovery)
#include "tst_devicediscovery.moc"
