// Checksum and scrambling of command reports.

#include "DeviceTestSupport.h"
#include "ReportCodec.h"

#include <QRandomGenerator>
#include <QTest>

namespace {
std::array<uchar, 8> codeOf(const char* six) {
    std::array<uchar, 8> code{};
    for (int i = 0; i < 6; ++i)
        code[static_cast<std::size_t>(i) + 1] = static_cast<uchar>(six[i]);
    return code;
}
} // namespace

class TestReportCodec : public QObject {
    Q_OBJECT
private slots:
    void checksum_data();
    void checksum();
    void scrambleExamples_data();
    void scrambleExamples();
    void roundTripOverRandomBlocks();
    void outerCodeBytesNeverMatter();
    void workerSlotsUseTheCodec();
};

void TestReportCodec::checksum_data() {
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<int>("expected");
    QTest::newRow("rate 3") << QByteArray::fromHex("01030000000000") << 0xFB;
    QTest::newRow("all zero") << QByteArray::fromHex("00000000000000") << 0xFF;
    QTest::newRow("stage 3") << QByteArray::fromHex("0b030000000000") << 0xF1;
    QTest::newRow("key matrix 1") << QByteArray::fromHex("12014008000000") << 0xA4;
    QTest::newRow("colour") << QByteArray::fromHex("140002ff001000") << 0xDA;
    QTest::newRow("recovery") << QByteArray::fromHex("13ff0000000000") << 0xED;
    QTest::newRow("sum wraps") << QByteArray::fromHex("ffffffffffffff") << 0x06;
}

void TestReportCodec::checksum() {
    QFETCH(QByteArray, command);
    QFETCH(int, expected);
    QCOMPARE(int(ReportCodec::checksum(reinterpret_cast<const uchar*>(command.constData()))), expected);
}

void TestReportCodec::scrambleExamples_data() {
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<QByteArray>("scrambled");
    QTest::newRow("zeros, no code") << QByteArray(8, '\0') << QByteArray(8, '\0')
                                    << QByteArray::fromHex("c457d40716b4f627");
    const auto code = codeOf("731905");
    const QByteArray codeBytes(reinterpret_cast<const char*>(code.data()), 8);
    QTest::newRow("stage 3") << QByteArray::fromHex("0b030000000000f1") << codeBytes
                             << QByteArray::fromHex("c515e590e78d9e27");
    QTest::newRow("handshake") << QByteArray::fromHex("0012345678000093") << codeBytes
                               << QByteArray::fromHex("c6d4d5906f370fc7");
}

void TestReportCodec::scrambleExamples() {
    QFETCH(QByteArray, plain);
    QFETCH(QByteArray, code);
    QFETCH(QByteArray, scrambled);
    QByteArray block = plain;
    ReportCodec::scramble(reinterpret_cast<uchar*>(block.data()), reinterpret_cast<const uchar*>(code.constData()));
    QCOMPARE(block.toHex(), scrambled.toHex());
    ReportCodec::unscramble(reinterpret_cast<uchar*>(block.data()), reinterpret_cast<const uchar*>(code.constData()));
    QCOMPARE(block.toHex(), plain.toHex());
}

void TestReportCodec::roundTripOverRandomBlocks() {
    QRandomGenerator random(20261206);
    for (int round = 0; round < 20000; ++round) {
        std::array<uchar, 8> block{};
        std::array<uchar, 8> code{};
        for (auto& b : block)
            b = static_cast<uchar>(random.bounded(256));
        for (auto& c : code)
            c = static_cast<uchar>(random.bounded(256));
        auto work = block;
        ReportCodec::scramble(work.data(), code.data());
        ReportCodec::unscramble(work.data(), code.data());
        QCOMPARE(work, block);
    }
}

void TestReportCodec::outerCodeBytesNeverMatter() {
    QRandomGenerator random(7);
    for (int round = 0; round < 2000; ++round) {
        std::array<uchar, 8> block{};
        for (auto& b : block)
            b = static_cast<uchar>(random.bounded(256));
        auto code = codeOf("731905");
        auto other = code;
        other[0] = static_cast<uchar>(random.bounded(256));
        other[7] = static_cast<uchar>(random.bounded(256));
        auto a = block;
        auto b = block;
        ReportCodec::scramble(a.data(), code.data());
        ReportCodec::scramble(b.data(), other.data());
        QCOMPARE(a, b);
        ReportCodec::unscramble(a.data(), other.data());
        QCOMPARE(a, block);
    }
}

void TestReportCodec::workerSlotsUseTheCodec() {
    DeviceRig rig;
    std::array<uchar, 9> report{0, 0x01, 0x03, 0, 0, 0, 0, 0, 0};
    QCOMPARE(int(rig.worker.hidCS(&report[1])), 0xFB);

    auto code = codeOf("123456");
    std::array<uchar, 8> block{1, 2, 3, 4, 5, 6, 7, 8};
    auto viaCodec = block;
    auto viaWorker = block;
    ReportCodec::scramble(viaCodec.data(), code.data());
    rig.worker.USBDataEncryption(viaWorker.data(), code.data());
    QCOMPARE(viaWorker, viaCodec);
    rig.worker.USBDataDecipher(viaWorker.data(), code.data());
    QCOMPARE(viaWorker, block);
}

QTEST_GUILESS_MAIN(TestReportCodec)
#include "tst_reportcodec.moc"
