// Checksum and scrambling of command reports.

#include "ReportCodec.h"

#include <QRandomGenerator>
#include <QTest>
#include <array>

class TestReportCodec : public QObject {
    Q_OBJECT
private slots:
    void checksum_data() {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<int>("expected");
        QTest::newRow("rate 3") << QByteArray::fromHex("01030000000000") << 0xFB;
        QTest::newRow("all zero") << QByteArray::fromHex("00000000000000") << 0xFF;
        QTest::newRow("key matrix 1") << QByteArray::fromHex("12014008000000") << 0xA4;
        QTest::newRow("colour") << QByteArray::fromHex("140002ff001000") << 0xDA;
        QTest::newRow("sum wraps") << QByteArray::fromHex("ffffffffffffff") << 0x06;
    }

    void checksum() {
        QFETCH(QByteArray, command);
        QFETCH(int, expected);
        QCOMPARE(int(ReportCodec::checksum(reinterpret_cast<const uchar*>(command.constData()))), expected);
    }

    void scrambleExamples_data() {
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<QByteArray>("code");
        QTest::addColumn<QByteArray>("scrambled");
        const QByteArray code = QByteArray(1, '\0') + "731905" + QByteArray(1, '\0');
        QTest::newRow("zeros, no code") << QByteArray(8, '\0') << QByteArray(8, '\0')
                                        << QByteArray::fromHex("c457d40716b4f627");
        QTest::newRow("stage 3") << QByteArray::fromHex("0b030000000000f1") << code
                                 << QByteArray::fromHex("c515e590e78d9e27");
        QTest::newRow("handshake") << QByteArray::fromHex("0012345678000093") << code
                                   << QByteArray::fromHex("c6d4d5906f370fc7");
    }

    void scrambleExamples() {
        QFETCH(QByteArray, plain);
        QFETCH(QByteArray, code);
        QFETCH(QByteArray, scrambled);
        QByteArray block = plain;
        const auto* key = reinterpret_cast<const uchar*>(code.constData());
        ReportCodec::scramble(reinterpret_cast<uchar*>(block.data()), key);
        QCOMPARE(block.toHex(), scrambled.toHex());
        ReportCodec::unscramble(reinterpret_cast<uchar*>(block.data()), key);
        QCOMPARE(block.toHex(), plain.toHex());
    }

    // Unscramble undoes scramble for any block and code, and bytes 0 and 7 of the code never matter.
    void randomBlocksAndCodes() {
        QRandomGenerator random(20261206);
        const auto fill = [&random](std::array<uchar, 8>& bytes) {
            for (auto& b : bytes)
                b = static_cast<uchar>(random.bounded(256));
        };
        for (int round = 0; round < 20000; ++round) {
            std::array<uchar, 8> block{}, code{};
            fill(block);
            fill(code);
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
};

QTEST_GUILESS_MAIN(TestReportCodec)
#include "tst_reportcodec.moc"
