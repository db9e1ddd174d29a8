// The wire trace: its line format, interface names and results.

#include "DeviceTestSupport.h"

#include <QRegularExpression>
#include <QTest>

class TestWireTrace : public QObject {
    Q_OBJECT
private slots:
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

QTEST_GUILESS_MAIN(TestWireTrace)
#include "tst_wiretrace.moc"
