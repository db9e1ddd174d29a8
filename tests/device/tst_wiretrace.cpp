// The wire trace: its line format, interface names, results and whole lines
// under concurrent use.

#include "DeviceTestSupport.h"

#include <QRegularExpression>
#include <QTest>
#include <QtConcurrent/QtConcurrentRun>

namespace {
const QRegularExpression kLine(QStringLiteral(
    R"(^\d+\.\d{3} (cmd|evt) (open|close|send_feature|get_feature|write|read|read_timeout)( [0-9a-f]{2})*( -> (ok|fail|-?\d+))?$)"));

QStringList rawLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
} // namespace

class TestWireTrace : public QObject {
    Q_OBJECT
private slots:
    void init() { resetLinkState(); }
    void lineFormat();
    void interfacesAndFailures();
    void linesStayWholeUnderConcurrency();
};

void TestWireTrace::lineFormat() {
    DeviceRig rig;
    rig.worker.hid_0BH_SetCurrentDPIStage(3);
    uchar rate = 0;
    rig.worker.hid_81H_GetReportRate(rate);
    const QStringList lines = rawLines(rig.tracePath);
    QCOMPARE(lines.size(), 7);
    for (const QString& line : lines)
        QVERIFY2(kLine.match(line).hasMatch(), qPrintable(line));
    QVERIFY(lines.at(1).endsWith(QStringLiteral(" cmd send_feature 00 0b 03 00 00 00 00 00 f1 -> 9")));
    QVERIFY(lines.contains(lines.last()) && lines.last().endsWith(QStringLiteral(" cmd close")));
    const QStringList gets = lines.filter(QStringLiteral("get_feature"));
    QCOMPARE(gets.size(), 1);
    QVERIFY(gets.first().endsWith(QStringLiteral("get_feature 00 81 01 00 00 00 00 00 7d -> 9")));
    // Times never go backwards.
    double last = 0;
    for (const TraceLine& line : readTrace(rig.tracePath)) {
        QVERIFY(line.t >= last);
        last = line.t;
    }
}

void TestWireTrace::interfacesAndFailures() {
    DeviceRig rig;
    rig.worker.chkDeviceIsEnCode();
    QTRY_VERIFY_WITH_TIMEOUT(!rawLines(rig.tracePath).filter(QStringLiteral(" evt close")).isEmpty(), 3000);
    rig.worker.stopListener();
    rig.virt.mouse().unplug();
    rig.worker.hid_01H_SetReportRate(2);
    rig.worker.waitForTransfers();
    const QStringList lines = rawLines(rig.tracePath);
    QVERIFY(lines.filter(QRegularExpression(QStringLiteral(" evt open -> ok$"))).size() >= 1);
    QVERIFY(lines.filter(QRegularExpression(QStringLiteral(" evt read_timeout( [0-9a-f]{2})* -> -?\\d+$"))).size() >=
            1);
    QVERIFY(lines.filter(QRegularExpression(QStringLiteral(" evt close$"))).size() >= 1);
    QVERIFY(lines.last().endsWith(QStringLiteral(" cmd open -> fail")));
}

void TestWireTrace::linesStayWholeUnderConcurrency() {
    QTemporaryDir dir;
    VirtualHidBackend backend;
    const QString path = dir.filePath(QStringLiteral("wire.trace"));
    {
        TracingHidBackend trace(backend, path);
        QVERIFY(trace.isOpen());
        auto hammer = [&trace] {
            for (int i = 0; i < 300; ++i) {
                HidBackend::Handle handle = trace.open(QString::fromLatin1(VirtualHidBackend::kCommandPath));
                const std::array<uchar, 9> report{0, 0x81, 0, 0, 0, 0, 0, 0, 0x7e};
                trace.sendFeatureReport(handle, report.data(), report.size());
                trace.close(handle);
            }
        };
        QFuture<void> a = QtConcurrent::run(hammer);
        QFuture<void> b = QtConcurrent::run(hammer);
        hammer();
        a.waitForFinished();
        b.waitForFinished();
    }
    const QStringList lines = rawLines(path);
    QCOMPARE(lines.size(), 3 * 300 * 3);
    for (const QString& line : lines)
        QVERIFY2(kLine.match(line).hasMatch(), qPrintable(line));
}

QTEST_GUILESS_MAIN(TestWireTrace)
#include "tst_wiretrace.moc"
