// Every command slot: the exact out report and bulk reports the virtual mouse
// receives, what lands in its memory, and what each get hands its caller,
// also after a failed transfer.

#include "DeviceTestSupport.h"

#include <QTest>

using WorkerCall = std::function<void(Hid_Thread&)>;
using StateCheck = std::function<void(const VirtualMouseState&)>;
using StatePrep = std::function<void(VirtualMouseState&)>;
using GetCall = std::function<QString(Hid_Thread&)>;
Q_DECLARE_METATYPE(WorkerCall)
Q_DECLARE_METATYPE(StateCheck)
Q_DECLARE_METATYPE(StatePrep)
Q_DECLARE_METATYPE(GetCall)

namespace {

QString bytesText(std::initializer_list<int> values) {
    QStringList parts;
    for (int v : values)
        parts << QString::number(v);
    return parts.join(QLatin1Char(','));
}

const auto k64 = patternBlock<64>(3);
const auto k128 = patternBlock<128>(5);
const auto k8 = patternBlock<8>(11);
const auto k24 = patternBlock<24>(13);
const auto k21 = patternBlock<21>(17);
const auto k192 = patternBlock<192>(19);
const auto k512 = patternBlock<512>(23);

} // namespace

class TestDeviceCommands : public QObject {
    Q_OBJECT
private slots:
    void setCommand_data();
    void setCommand();
    void getCommand_data();
    void getCommand();
    void getAfterFailedTransfer_data();
    void getAfterFailedTransfer();
    void bulkGetKeepsWholeReportsReadBeforeFailure();
    void firmwareVersionText_data();
    void firmwareVersionText();
    void scrambledCommandsReachTheMouse();
    void demoModeSendsNothing();
    void failedOpenClearsCommandPath();
    void oversizedReportLengthIsRefused();
};

void TestDeviceCommands::setCommand_data() {
    QTest::addColumn<WorkerCall>("call");
    QTest::addColumn<QByteArray>("outReport");
    QTest::addColumn<int>("bulkReports");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<StateCheck>("check");

    const QByteArray none;
    QTest::newRow("01H report rate") << WorkerCall([](Hid_Thread& w) { w.hid_01H_SetReportRate(4); })
                                     << hexBytes("00 01 04 00 00 00 00 00 fa") << 0 << none
                                     << StateCheck([](const VirtualMouseState& s) { QCOMPARE(s.reportRate, 4); });
    QTest::newRow("02H active matrix") << WorkerCall([](Hid_Thread& w) { w.hid_02H_SetCurrentProfile(3); })
                                       << hexBytes("00 02 03 00 00 00 00 00 fa") << 0 << none
                                       << StateCheck(
                                              [](const VirtualMouseState& s) { QCOMPARE(s.activeKeyMatrix, 3); });
    QTest::newRow("03H function option") << WorkerCall([](Hid_Thread& w) {
        w.hid_03H_SetFunctionOption(1, 2, 0x40, 5);
    }) << hexBytes("00 03 01 02 40 05 00 00 b4")
                                         << 0 << none << StateCheck([](const VirtualMouseState& s) {
                                                QCOMPARE(s.sensorType, 1);
                                                QCOMPARE(s.reportRate, 2);
                                                QCOMPARE(s.option1, 0x40);
                                                QCOMPARE(s.option2, 5);
                                            });
    QTest::newRow("03H keyboard option") << WorkerCall([](Hid_Thread& w) { w.hid_03H_SetKeyboardoption(9, 8, 7, 6); })
                                         << hexBytes("00 03 09 08 07 06 00 00 de") << 0 << none
                                         << StateCheck([](const VirtualMouseState& s) {
                                                QCOMPARE(s.sensorType, 9);
                                                QCOMPARE(s.option2, 6);
                                            });
    QTest::newRow("04H gun data") << WorkerCall([](Hid_Thread& w) { w.hid_04H_SetGunData(0x10, 2, 0, 0, 1); })
                                  << hexBytes("00 04 10 02 00 00 01 00 e8") << 0 << none
                                  << StateCheck([](const VirtualMouseState& s) {
                                         QCOMPARE(s.gunData, (std::array<uchar, 5>{0x10, 2, 0, 0, 1}));
                                     });
    QTest::newRow("07H LED instruct") << WorkerCall([](Hid_Thread& w) { w.hid_07H_SetLEDInstructFunction(0, 1, 2, 3); })
                                      << hexBytes("00 07 00 01 02 03 00 00 f2") << 0 << none
                                      << StateCheck([](const VirtualMouseState& s) {
                                             QCOMPARE(s.ledInstruct.at(0), (VirtualMouseState::Rgb{1, 2, 3}));
                                         });
    QTest::newRow("07H indicator") << WorkerCall([](Hid_Thread& w) { w.hid_07H_SetControlIndicatorLight(5, 6); })
                                   << hexBytes("00 07 05 06 00 00 00 00 ed") << 0 << none
                                   << StateCheck([](const VirtualMouseState& s) {
                                          QCOMPARE(s.ledInstruct.at(5), (VirtualMouseState::Rgb{6, 0, 0}));
                                      });
    QTest::newRow("08H LED type") << WorkerCall([](Hid_Thread& w) { w.hid_08H_SetLEDType(1, 2, 3, 4, 5, 6); })
                                  << hexBytes("00 08 01 02 03 04 05 06 e2") << 0 << none
                                  << StateCheck([](const VirtualMouseState& s) {
                                         QCOMPARE(s.ledType, (std::array<uchar, 6>{1, 2, 3, 4, 5, 6}));
                                     });
    QTest::newRow("09H keyboard mode") << WorkerCall([](Hid_Thread& w) { w.hid_09H_SetKeyboardMode(2); })
                                       << hexBytes("00 09 02 00 00 00 00 00 f4") << 0 << none
                                       << StateCheck([](const VirtualMouseState& s) { QCOMPARE(s.keyboardMode, 2); });
    QTest::newRow("0BH stage") << WorkerCall([](Hid_Thread& w) { w.hid_0BH_SetCurrentDPIStage(3); })
                               << hexBytes("00 0b 03 00 00 00 00 00 f1") << 0 << none
                               << StateCheck([](const VirtualMouseState& s) { QCOMPARE(s.currentStage, 3); });
    QTest::newRow("0DH RGB effect") << WorkerCall([](Hid_Thread& w) { w.hid_0DH_SetRGBLedEffect(2, 3, 2); })
                                    << hexBytes("00 0d 02 03 02 00 00 00 eb") << 0 << none
                                    << StateCheck([](const VirtualMouseState& s) {
                                           QCOMPARE(s.ledEffect, 2);
                                           QCOMPARE(s.ledOption1, 3);
                                           QCOMPARE(s.ledOption2, 2);
                                       });
    QTest::newRow("0DH keyboard matrix") << WorkerCall([](Hid_Thread& w) { w.hid_0DH_SetKeyMatrix(k512); })
                                         << hexBytes("00 0d 00 00 08 00 00 00 ea") << 16 << bytesOf(k512)
                                         << StateCheck([](const VirtualMouseState& s) {
                                                QCOMPARE(s.keyboardKeyMatrix, k512);
                                            });
    QTest::newRow("0EH key switches") << WorkerCall([](Hid_Thread& w) { w.hid_0EH_SetKeyOnOff(k21); })
                                      << hexBytes("00 0e 00 00 15 00 00 00 dc") << 1 << bytesOf(k21)
                                      << StateCheck([](const VirtualMouseState& s) { QCOMPARE(s.keySwitches, k21); });
    QTest::newRow("0EH XY") << WorkerCall([](Hid_Thread& w) { w.hid_0EH_SetXYSensitive(40, 60); })
                            << hexBytes("00 0e 28 3c 00 00 00 00 8d") << 0 << none
                            << StateCheck([](const VirtualMouseState& s) {
                                   QCOMPARE(s.xSensitivity, 40);
                                   QCOMPARE(s.ySensitivity, 60);
                               });
    QTest::newRow("10H type 1") << WorkerCall([](Hid_Thread& w) { w.hid_10H_SetLED8StageColor(1, k24); })
                                << hexBytes("00 10 01 18 00 00 00 00 d6") << 1 << bytesOf(k24)
                                << StateCheck([](const VirtualMouseState& s) { QCOMPARE(s.stageColors24, k24); });
    QTest::newRow("10H type 0") << WorkerCall([](Hid_Thread& w) { w.hid_10H_SetLED8StageColor(0, k24); })
                                << hexBytes("00 10 00 18 00 00 00 00 d7") << 1 << bytesOf(k24)
                                << StateCheck([](const VirtualMouseState& s) { QCOMPARE(s.stageColors24, k24); });
    QTest::newRow("10H type 2") << WorkerCall([](Hid_Thread& w) { w.hid_10H_SetLED8StageColor(2, k24); })
                                << hexBytes("00 10 02 04 00 00 00 00 e9") << 1 << bytesOf(k24).left(4)
                                << StateCheck([](const VirtualMouseState& s) {
                                       QCOMPARE(bytesOf(s.stageColors4), bytesOf(k24).left(4));
                                   });
    QTest::newRow("11H DPI set") << WorkerCall([](Hid_Thread& w) { w.hid_11H_SetDPISet(6, k8); })
                                 << hexBytes("00 11 06 08 00 00 00 00 e0") << 1 << bytesOf(k8)
                                 << StateCheck([](const VirtualMouseState& s) {
                                        QCOMPARE(s.dpiStageCount, 6);
                                        QCOMPARE(s.dpiCodes, k8);
                                    });
    QTest::newRow("11H keyboard macro") << WorkerCall([](Hid_Thread& w) { w.hid_11H_SetMacroKey(5, k192); })
                                        << hexBytes("00 11 00 05 03 00 00 00 e6") << 6 << bytesOf(k192)
                                        << StateCheck([](const VirtualMouseState& s) {
                                               QCOMPARE(s.keyboardMacros.at(5), k192);
                                           });
    QTest::newRow("12H key matrix 1") << WorkerCall([](Hid_Thread& w) { w.hid_12H_SetKeyMatrix(k64, 1); })
                                      << hexBytes("00 12 01 40 08 00 00 00 a4") << 2 << bytesOf(k64)
                                      << StateCheck(
                                             [](const VirtualMouseState& s) { QCOMPARE(s.keyMatrices[0], k64); });
    QTest::newRow("12H gun matrix 3") << WorkerCall([](Hid_Thread& w) { w.hid_12H_SetKeyMatrix(k64, 3); })
                                      << hexBytes("00 12 03 40 08 00 00 00 a2") << 2 << bytesOf(k64)
                                      << StateCheck(
                                             [](const VirtualMouseState& s) { QCOMPARE(s.keyMatrices[2], k64); });
    QTest::newRow("12H user picture") << WorkerCall([](Hid_Thread& w) { w.hid_12H_SetUserPicture(4, 0x22, k512); })
                                      << hexBytes("00 12 00 04 08 22 00 00 bf") << 16 << bytesOf(k512)
                                      << StateCheck([](const VirtualMouseState& s) { QCOMPARE(s.pictures[4], k512); });
    QTest::newRow("13H macro 7") << WorkerCall([](Hid_Thread& w) { w.hid_13H_SetMacroKey(7, k128); })
                                 << hexBytes("00 13 07 80 00 00 00 00 65") << 4 << bytesOf(k128)
                                 << StateCheck([](const VirtualMouseState& s) { QCOMPARE(s.macros[6], k128); });
    QTest::newRow("13H recovery") << WorkerCall([](Hid_Thread& w) { w.hid_13H_SetRecoveryData(); })
                                  << hexBytes("00 13 ff 00 00 00 00 00 ed") << 0 << none
                                  << StateCheck([](const VirtualMouseState& s) { QCOMPARE(s.recoveryRequests, 1u); });
    QTest::newRow("14H colour") << WorkerCall([](Hid_Thread& w) { w.hid_14H_SetColor(2, 255, 0, 16); })
                                << hexBytes("00 14 00 02 ff 00 10 00 da") << 0 << none
                                << StateCheck([](const VirtualMouseState& s) {
                                       QCOMPARE(s.colors.at(2), (VirtualMouseState::Rgb{255, 0, 16}));
                                   });
}

void TestDeviceCommands::setCommand() {
    QFETCH(WorkerCall, call);
    QFETCH(QByteArray, outReport);
    QFETCH(int, bulkReports);
    QFETCH(QByteArray, payload);
    QFETCH(StateCheck, check);

    DeviceRig rig;
    call(rig.worker);
    rig.worker.waitForTransfers();

    const QList<TraceLine> lines = rig.commandLines();
    const QList<TraceLine> features = withOp(lines, QStringLiteral("send_feature"));
    QCOMPARE(features.size(), 1);
    QCOMPARE(features.first().bytes.toHex(' '), outReport.toHex(' '));
    QCOMPARE(features.first().result, QStringLiteral("9"));

    const QList<TraceLine> writes = withOp(lines, QStringLiteral("write"));
    QCOMPARE(writes.size(), bulkReports);
    QByteArray sent;
    for (const TraceLine& write : writes) {
        QCOMPARE(write.bytes.size(), 33);
        QCOMPARE(write.bytes.at(0), '\0');
        sent += write.bytes.mid(1);
    }
    QCOMPARE(sent.left(payload.size()).toHex(), payload.toHex());
    QCOMPARE(lines.last().op, QStringLiteral("close"));
    QCOMPARE(rig.virt.openHandles(), 0);
    QVERIFY(rig.worker.isListenerRunning() == false);
    check(rig.virt.mouse().state());
}

void TestDeviceCommands::getCommand_data() {
    QTest::addColumn<StatePrep>("prepare");
    QTest::addColumn<GetCall>("call");
    QTest::addColumn<QByteArray>("outReport");
    QTest::addColumn<int>("bulkReports");
    QTest::addColumn<QString>("expected");

    QTest::newRow("00H echo") << StatePrep([](VirtualMouseState&) {}) << GetCall([](Hid_Thread& w) {
        uchar a = 1, b = 2, c = 3, d = 4;
        w.hid_00H_GetSecrecyCode(a, b, c, d);
        return bytesText({a, b, c, d});
    }) << hexBytes("00 00 01 02 03 04 00 00 f5")
                              << 0 << QStringLiteral("1,2,3,4");
    QTest::newRow("80H firmware") << StatePrep([](VirtualMouseState&) {}) << GetCall([](Hid_Thread& w) {
        QString version;
        w.hid_80H_GetFWVersion(version);
        return version;
    }) << hexBytes("00 80 00 00 00 00 00 00 7f")
                                  << 0 << QStringLiteral("1.0A");
    QTest::newRow("81H rate") << StatePrep([](VirtualMouseState& s) { s.reportRate = 8; })
                              << GetCall([](Hid_Thread& w) {
                                     uchar rate = 99;
                                     w.hid_81H_GetReportRate(rate);
                                     return bytesText({rate});
                                 })
                              << hexBytes("00 81 00 00 00 00 00 00 7e") << 0 << QStringLiteral("8");
    QTest::newRow("82H profile") << StatePrep([](VirtualMouseState& s) { s.activeKeyMatrix = 2; })
                                 << GetCall([](Hid_Thread& w) {
                                        uchar profile = 99;
                                        w.hid_82H_GetCurrentProfile(profile);
                                        return bytesText({profile});
                                    })
                                 << hexBytes("00 82 00 00 00 00 00 00 7d") << 0 << QStringLiteral("2");
    QTest::newRow("83H function option") << StatePrep([](VirtualMouseState& s) {
        s.sensorType = 3;
        s.reportRate = 4;
        s.option1 = 0x40;
        s.option2 = 0x41;
    }) << GetCall([](Hid_Thread& w) {
        uchar type = 9, o1 = 9, o2 = 9;
        w.hid_83H_GetFunctionOption(type, o1, o2);
        return bytesText({type, o1, o2});
    }) << hexBytes("00 83 00 00 00 00 00 00 7c")
                                         << 0 << QStringLiteral("3,64,65");
    QTest::newRow("83H keyboard option") << StatePrep([](VirtualMouseState& s) {
        s.sensorType = 3;
        s.reportRate = 4;
        s.option1 = 5;
        s.option2 = 6;
    }) << GetCall([](Hid_Thread& w) {
        uchar a = 0, b = 0, c = 0, d = 0;
        w.hid_83H_GetKeyboardoption(a, b, c, d);
        return bytesText({a, b, c, d});
    }) << hexBytes("00 83 00 00 00 00 00 00 7c")
                                         << 0 << QStringLiteral("3,4,5,6");
    QTest::newRow("84H sensitivity") << StatePrep([](VirtualMouseState&) {}) << GetCall([](Hid_Thread& w) {
        uchar a = 9, b = 9, c = 9, d = 9;
        w.hid_84H_GetButtonSensitivity(a, b, c, d);
        return bytesText({a, b, c, d});
    }) << hexBytes("00 84 00 00 00 00 00 00 7b")
                                     << 0 << QStringLiteral("0,0,0,0");
    QTest::newRow("87H type 0") << StatePrep([](VirtualMouseState&) {}) << GetCall([](Hid_Thread& w) {
        uchar a = 9, b = 9, c = 9;
        const bool ok = w.hid_87H_GetLEDInstructFunction(0, a, b, c);
        return bytesText({ok, a, b, c});
    }) << hexBytes("00 87 00 00 00 00 00 00 78")
                                << 0 << QStringLiteral("1,0,0,0");
    QTest::newRow("87H type 3") << StatePrep([](VirtualMouseState& s) {
        s.ledInstruct[3] = {7, 8, 9};
    }) << GetCall([](Hid_Thread& w) {
        uchar a = 0, b = 0, c = 0;
        const bool ok = w.hid_87H_GetLEDInstructFunction(3, a, b, c);
        return bytesText({ok, a, b, c});
    }) << hexBytes("00 87 03 00 00 00 00 00 75")
                                << 0 << QStringLiteral("1,7,8,9");
    QTest::newRow("88H LED type") << StatePrep([](VirtualMouseState& s) { s.ledType = {1, 2, 3, 4, 5, 6}; })
                                  << GetCall([](Hid_Thread& w) {
                                         uchar a = 0, b = 0, c = 0, d = 0, e = 0;
                                         w.hid_88H_GetLEDType(a, b, c, d, e);
                                         return bytesText({a, b, c, d, e});
                                     })
                                  << hexBytes("00 88 00 00 00 00 00 00 77") << 0 << QStringLiteral("2,3,4,5,6");
    QTest::newRow("89H mode") << StatePrep([](VirtualMouseState& s) { s.keyboardMode = 7; })
                              << GetCall([](Hid_Thread& w) {
                                     uchar mode = 0;
                                     w.hid_89H_GetKeyboardMode(mode);
                                     return bytesText({mode});
                                 })
                              << hexBytes("00 89 00 00 00 00 00 00 76") << 0 << QStringLiteral("7");
    QTest::newRow("8BH stage") << StatePrep([](VirtualMouseState& s) { s.currentStage = 5; })
                               << GetCall([](Hid_Thread& w) {
                                      uchar stage = 0;
                                      w.hid_8BH_GetCurrentDPIStage(stage);
                                      return bytesText({stage});
                                  })
                               << hexBytes("00 8b 00 00 00 00 00 00 74") << 0 << QStringLiteral("5");
    QTest::newRow("8DH RGB effect") << StatePrep([](VirtualMouseState& s) {
        s.ledEffect = 4;
        s.ledOption1 = 3;
        s.ledOption2 = 2;
    }) << GetCall([](Hid_Thread& w) {
        uchar e = 0, a = 0, b = 0;
        w.hid_8DH_GetRGBLedEffect(e, a, b);
        return bytesText({e, a, b});
    }) << hexBytes("00 8d 00 00 00 00 00 00 72")
                                    << 0 << QStringLiteral("4,3,2");
    QTest::newRow("8DH keyboard matrix") << StatePrep([](VirtualMouseState& s) { s.keyboardKeyMatrix = k512; })
                                         << GetCall([](Hid_Thread& w) {
                                                Block512 block{};
                                                w.hid_8DH_GetKeyMatrix(block);
                                                return QString::fromLatin1(bytesOf(block).toHex());
                                            })
                                         << hexBytes("00 8d 00 00 00 00 00 00 00") << 16
                                         << QString::fromLatin1(bytesOf(k512).toHex());
    QTest::newRow("8EH key switches") << StatePrep([](VirtualMouseState& s) { s.keySwitches = k21; })
                                      << GetCall([](Hid_Thread& w) {
                                             Block21 block{};
                                             w.hid_8EH_GetKeyOnOff(block);
                                             return QString::fromLatin1(bytesOf(block).toHex());
                                         })
                                      << hexBytes("00 8e 00 00 00 00 00 00 71") << 1
                                      << QString::fromLatin1(bytesOf(k21).toHex());
    QTest::newRow("90H type 1") << StatePrep([](VirtualMouseState& s) { s.stageColors24 = k24; })
                                << GetCall([](Hid_Thread& w) {
                                       Block24 block{};
                                       w.hid_90H_GetLED8StageColor(1, block);
                                       return QString::fromLatin1(bytesOf(block).toHex());
                                   })
                                << hexBytes("00 90 01 00 00 00 00 00 6e") << 1
                                << QString::fromLatin1(bytesOf(k24).toHex());
    QTest::newRow("90H type 2 reads 4") << StatePrep([](VirtualMouseState& s) {
        s.stageColors4 = {1, 2, 3, 4};
    }) << GetCall([](Hid_Thread& w) {
        Block24 block;
        block.fill(0xEE);
        w.hid_90H_GetLED8StageColor(2, block);
        return QString::fromLatin1(bytesOf(block).toHex());
    }) << hexBytes("00 90 02 00 00 00 00 00 6d")
                                        << 1 << QStringLiteral("01020304") + QStringLiteral("ee").repeated(20);
    QTest::newRow("91H DPI set") << StatePrep([](VirtualMouseState& s) {
        s.dpiStageCount = 4;
        s.dpiCodes = k8;
    }) << GetCall([](Hid_Thread& w) {
        uchar count = 0;
        Block8 block{};
        const bool ok = w.hid_91H_GetDPISet(count, block);
        return bytesText({ok, count}) + QLatin1Char(':') + QString::fromLatin1(bytesOf(block).toHex());
    }) << hexBytes("00 91 00 00 00 00 00 00 6e")
                                 << 1 << QStringLiteral("1,4:") + QString::fromLatin1(bytesOf(k8).toHex());
    QTest::newRow("91H keyboard macro") << StatePrep([](VirtualMouseState& s) { s.keyboardMacros[5] = k192; })
                                        << GetCall([](Hid_Thread& w) {
                                               Block192 block{};
                                               w.hid_91H_GetMacroKey(5, block);
                                               return QString::fromLatin1(bytesOf(block).toHex());
                                           })
                                        << hexBytes("00 91 00 05 00 00 00 00 69") << 6
                                        << QString::fromLatin1(bytesOf(k192).toHex());
    QTest::newRow("92H key matrix") << StatePrep([](VirtualMouseState&) {}) << GetCall([](Hid_Thread& w) {
        Block64 block{};
        w.hid_92H_GetKeyMatrix(block);
        return QString::fromLatin1(bytesOf(block).toHex());
    }) << hexBytes("00 92 01 00 00 00 00 00 6c")
                                    << 2
                                    << QString::fromLatin1(
                                           bytesOf(VirtualMouseState::factory().keyMatrices[0]).toHex());
    QTest::newRow("92H picture 4") << StatePrep([](VirtualMouseState& s) { s.pictures[4] = k512; })
                                   << GetCall([](Hid_Thread& w) {
                                          Block512 block{};
                                          w.hid_92H_GetUserPicture(4, block);
                                          return QString::fromLatin1(bytesOf(block).toHex());
                                      })
                                   << hexBytes("00 92 00 04 00 00 00 00 69") << 16
                                   << QString::fromLatin1(bytesOf(k512).toHex());
    QTest::newRow("93H macro 7") << StatePrep([](VirtualMouseState& s) { s.macros[6] = k128; })
                                 << GetCall([](Hid_Thread& w) {
                                        Block128 block{};
                                        w.hid_93H_GetMacroKey(7, block);
                                        return QString::fromLatin1(bytesOf(block).toHex());
                                    })
                                 << hexBytes("00 93 07 00 00 00 00 00 65") << 4
                                 << QString::fromLatin1(bytesOf(k128).toHex());
    QTest::newRow("94H colour") << StatePrep([](VirtualMouseState& s) {
        s.colors[2] = {255, 0, 16};
    }) << GetCall([](Hid_Thread& w) {
        uchar r = 0, g = 0, b = 0;
        w.hid_94H_GetColor(2, r, g, b);
        return bytesText({r, g, b});
    }) << hexBytes("00 94 00 02 00 00 00 00 69")
                                << 0 << QStringLiteral("255,0,16");
}

void TestDeviceCommands::getCommand() {
    QFETCH(StatePrep, prepare);
    QFETCH(GetCall, call);
    QFETCH(QByteArray, outReport);
    QFETCH(int, bulkReports);
    QFETCH(QString, expected);

    DeviceRig rig;
    VirtualMouseState state = VirtualMouseState::factory();
    prepare(state);
    rig.virt.mouse().setState(state);

    QCOMPARE(call(rig.worker), expected);
    QVERIFY(rig.worker.records().at(1).path.size() > 0);

    const QList<TraceLine> lines = rig.commandLines();
    const QList<TraceLine> features = withOp(lines, QStringLiteral("send_feature"));
    QCOMPARE(features.size(), 1);
    QCOMPARE(features.first().bytes.toHex(' '), outReport.toHex(' '));
    QCOMPARE(withOp(lines, QStringLiteral("get_feature")).size(), 1);
    const QList<TraceLine> reads = withOp(lines, QStringLiteral("read_timeout"));
    QCOMPARE(reads.size(), bulkReports);
    for (const TraceLine& read : reads)
        QCOMPARE(read.bytes.size(), 32);
    QCOMPARE(lines.last().op, QStringLiteral("close"));
}

void TestDeviceCommands::getAfterFailedTransfer_data() {
    QTest::addColumn<GetCall>("call");
    QTest::addColumn<QString>("expected");

    QTest::newRow("81H keeps") << GetCall([](Hid_Thread& w) {
        uchar rate = 42;
        w.hid_81H_GetReportRate(rate);
        return bytesText({rate});
    }) << QStringLiteral("42");
    QTest::newRow("82H keeps") << GetCall([](Hid_Thread& w) {
        uchar p = 42;
        w.hid_82H_GetCurrentProfile(p);
        return bytesText({p});
    }) << QStringLiteral("42");
    QTest::newRow("83H function option zero") << GetCall([](Hid_Thread& w) {
        uchar t = 9, a = 9, b = 9;
        w.hid_83H_GetFunctionOption(t, a, b);
        return bytesText({t, a, b});
    }) << QStringLiteral("0,0,0");
    QTest::newRow("83H keyboard option keeps") << GetCall([](Hid_Thread& w) {
        uchar a = 1, b = 2, c = 3, d = 4;
        w.hid_83H_GetKeyboardoption(a, b, c, d);
        return bytesText({a, b, c, d});
    }) << QStringLiteral("1,2,3,4");
    QTest::newRow("84H keeps") << GetCall([](Hid_Thread& w) {
        uchar a = 1, b = 2, c = 3, d = 4;
        w.hid_84H_GetButtonSensitivity(a, b, c, d);
        return bytesText({a, b, c, d});
    }) << QStringLiteral("1,2,3,4");
    QTest::newRow("87H false untouched") << GetCall([](Hid_Thread& w) {
        uchar a = 7, b = 8, c = 9;
        const bool ok = w.hid_87H_GetLEDInstructFunction(0, a, b, c);
        return bytesText({ok, a, b, c});
    }) << QStringLiteral("0,7,8,9");
    QTest::newRow("88H keeps") << GetCall([](Hid_Thread& w) {
        uchar a = 1, b = 2, c = 3, d = 4, e = 5;
        w.hid_88H_GetLEDType(a, b, c, d, e);
        return bytesText({a, b, c, d, e});
    }) << QStringLiteral("1,2,3,4,5");
    QTest::newRow("89H keeps") << GetCall([](Hid_Thread& w) {
        uchar m = 6;
        w.hid_89H_GetKeyboardMode(m);
        return bytesText({m});
    }) << QStringLiteral("6");
    QTest::newRow("8BH zero") << GetCall([](Hid_Thread& w) {
        uchar s = 6;
        w.hid_8BH_GetCurrentDPIStage(s);
        return bytesText({s});
    }) << QStringLiteral("0");
    QTest::newRow("8DH zero") << GetCall([](Hid_Thread& w) {
        uchar e = 6, a = 6, b = 6;
        w.hid_8DH_GetRGBLedEffect(e, a, b);
        return bytesText({e, a, b});
    }) << QStringLiteral("0,0,0");
    QTest::newRow("94H keeps") << GetCall([](Hid_Thread& w) {
        uchar r = 1, g = 2, b = 3;
        w.hid_94H_GetColor(2, r, g, b);
        return bytesText({r, g, b});
    }) << QStringLiteral("1,2,3");
    QTest::newRow("80H unknown") << GetCall([](Hid_Thread& w) {
        QString version = QStringLiteral("old");
        w.hid_80H_GetFWVersion(version);
        return version;
    }) << QStringLiteral("unknown");
    QTest::newRow("91H false untouched") << GetCall([](Hid_Thread& w) {
        uchar count = 3;
        Block8 block;
        block.fill(0x55);
        const bool ok = w.hid_91H_GetDPISet(count, block);
        return bytesText({ok, count}) + QLatin1Char(':') + QString::fromLatin1(bytesOf(block).toHex());
    }) << QStringLiteral("0,3:5555555555555555");
    QTest::newRow("92H caller bytes") << GetCall([](Hid_Thread& w) {
        Block64 block = k64;
        w.hid_92H_GetKeyMatrix(block);
        return QString::fromLatin1(bytesOf(block).toHex());
    }) << QString::fromLatin1(bytesOf(k64).toHex());
    QTest::newRow("8DH keyboard matrix caller bytes") << GetCall([](Hid_Thread& w) {
        Block512 block = k512;
        w.hid_8DH_GetKeyMatrix(block);
        return QString::fromLatin1(bytesOf(block).toHex());
    }) << QString::fromLatin1(bytesOf(k512).toHex());
    QTest::newRow("8EH caller bytes") << GetCall([](Hid_Thread& w) {
        Block21 block = k21;
        w.hid_8EH_GetKeyOnOff(block);
        return QString::fromLatin1(bytesOf(block).toHex());
    }) << QString::fromLatin1(bytesOf(k21).toHex());
    QTest::newRow("90H caller bytes") << GetCall([](Hid_Thread& w) {
        Block24 block = k24;
        w.hid_90H_GetLED8StageColor(1, block);
        return QString::fromLatin1(bytesOf(block).toHex());
    }) << QString::fromLatin1(bytesOf(k24).toHex());
    QTest::newRow("91H keyboard macro caller bytes") << GetCall([](Hid_Thread& w) {
        Block192 block = k192;
        w.hid_91H_GetMacroKey(2, block);
        return QString::fromLatin1(bytesOf(block).toHex());
    }) << QString::fromLatin1(bytesOf(k192).toHex());
    QTest::newRow("92H picture caller bytes") << GetCall([](Hid_Thread& w) {
        Block512 block = k512;
        w.hid_92H_GetUserPicture(1, block);
        return QString::fromLatin1(bytesOf(block).toHex());
    }) << QString::fromLatin1(bytesOf(k512).toHex());
    QTest::newRow("93H caller bytes") << GetCall([](Hid_Thread& w) {
        Block128 block = k128;
        w.hid_93H_GetMacroKey(1, block);
        return QString::fromLatin1(bytesOf(block).toHex());
    }) << QString::fromLatin1(bytesOf(k128).toHex());
    QTest::newRow("00H cleared answer") << GetCall([](Hid_Thread& w) {
        uchar a = 1, b = 2, c = 3, d = 4;
        w.hid_00H_GetSecrecyCode(a, b, c, d);
        return bytesText({a, b, c, d});
    }) << QStringLiteral("0,0,0,0");
}

void TestDeviceCommands::getAfterFailedTransfer() {
    QFETCH(GetCall, call);
    QFETCH(QString, expected);

    DeviceRig rig;
    rig.virt.failNext(VirtualHidBackend::Op::GetFeature);
    QCOMPARE(call(rig.worker), expected);
    QCOMPARE(rig.virt.openHandles(), 0);
    QVERIFY(rig.worker.records().at(1).path.size() > 0);
    // The flag came back: the next command runs.
    uchar rate = 0;
    rig.worker.hid_81H_GetReportRate(rate);
    QCOMPARE(rate, 1);
}

void TestDeviceCommands::bulkGetKeepsWholeReportsReadBeforeFailure() {
    DeviceRig rig;
    VirtualMouseState state = VirtualMouseState::factory();
    state.macros[0] = k128;
    rig.virt.mouse().setState(state);
    rig.virt.failNext(VirtualHidBackend::Op::Read, 1, 2);

    Block128 block;
    block.fill(0xAA);
    rig.worker.hid_93H_GetMacroKey(1, block);
    QCOMPARE(bytesOf(block).left(64).toHex(), bytesOf(k128).left(64).toHex());
    QCOMPARE(bytesOf(block).mid(64).toHex(), QByteArray(64, char(0xAA)).toHex());
}

void TestDeviceCommands::firmwareVersionText_data() {
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<QString>("text");
    QTest::newRow("1.0A") << 1 << 0x0A << QStringLiteral("1.0A");
    QTest::newRow("1b.05") << 0x1B << 5 << QStringLiteral("1b.05");
    QTest::newRow("0.00") << 0 << 0 << QStringLiteral("0.00");
}

void TestDeviceCommands::firmwareVersionText() {
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(QString, text);
    // A device of our own that answers the given version through the real transport.
    class VersionBackend : public VirtualHidBackend {
    public:
        uchar major = 0, minor = 0;
        int getFeatureReport(Handle handle, unsigned char* data, std::size_t length) override {
            const int got = VirtualHidBackend::getFeatureReport(handle, data, length);
            data[2] = major;
            data[3] = minor;
            return got;
        }
    } backend;
    backend.major = static_cast<uchar>(major);
    backend.minor = static_cast<uchar>(minor);
    FakeConfig config;
    Hid_Thread worker(backend, config);
    resetLinkState();
    worker.setRecords(virtualMouseRecords());
    QString version;
    worker.hid_80H_GetFWVersion(version);
    QCOMPARE(version, text);
}

void TestDeviceCommands::scrambledCommandsReachTheMouse() {
    DeviceRig rig;
    LinkState::scramblingEnabled.store(true);
    const QByteArray code(VirtualMouse::kSecrecyCode);
    std::copy(code.begin(), code.end(), LinkState::secrecyCode.begin() + 1);

    rig.worker.hid_0BH_SetCurrentDPIStage(3);
    rig.worker.hid_12H_SetKeyMatrix(k64, 2);
    uchar stage = 0;
    rig.worker.hid_8BH_GetCurrentDPIStage(stage);
    QCOMPARE(stage, 3);
    QCOMPARE(rig.virt.mouse().state().keyMatrices[1], k64);

    const QList<TraceLine> features = withOp(rig.commandLines(), QStringLiteral("send_feature"));
    QCOMPARE(features.first().bytes.toHex(' '), QByteArray("00 c5 15 e5 90 e7 8d 9e 27"));
    LinkState::scramblingEnabled.store(false);
}

void TestDeviceCommands::demoModeSendsNothing() {
    DeviceRig rig;
    LinkState::demoMode.store(true);
    rig.worker.hid_0BH_SetCurrentDPIStage(3);
    uchar rate = 5;
    rig.worker.hid_81H_GetReportRate(rate);
    rig.worker.waitForTransfers();
    LinkState::demoMode.store(false);
    QCOMPARE(rate, 5);
    QVERIFY(withOp(rig.commandLines(), QStringLiteral("send_feature")).isEmpty());
    QCOMPARE(rig.virt.mouse().state().currentStage, 1);
}

void TestDeviceCommands::failedOpenClearsCommandPath() {
    DeviceRig rig;
    rig.virt.failNext(VirtualHidBackend::Op::Open);
    rig.worker.hid_0BH_SetCurrentDPIStage(3);
    rig.worker.waitForTransfers();
    QVERIFY(rig.worker.records().at(1).path.isEmpty());
    QCOMPARE(rig.worker.records().at(1).path2, QString::fromLatin1(VirtualHidBackend::kEventPath));
    // Later commands fail at once without touching the device.
    uchar stage = 7;
    rig.worker.hid_8BH_GetCurrentDPIStage(stage);
    QCOMPARE(stage, 0);
    QCOMPARE(withOp(rig.commandLines(), QStringLiteral("open")).size(), 1);
}

void TestDeviceCommands::oversizedReportLengthIsRefused() {
    DeviceRig rig;
    QList<DeviceRecord> records = virtualMouseRecords();
    records[1].reportLength = 100; // 512 bytes would round up to 600
    rig.worker.setRecords(records);
    rig.worker.hid_0DH_SetKeyMatrix(k512);
    rig.worker.waitForTransfers();
    QVERIFY(withOp(rig.commandLines(), QStringLiteral("write")).isEmpty());
    QVERIFY(!DeviceCatalog::reportLengthFits(100));
    QVERIFY(!DeviceCatalog::reportLengthFits(0));
    QVERIFY(DeviceCatalog::reportLengthFits(32));
    QVERIFY(DeviceCatalog::reportLengthFits(64));
    // The flag came back.
    uchar rate = 0;
    rig.worker.hid_81H_GetReportRate(rate);
    QCOMPARE(rate, 1);
}

QTEST_GUILESS_MAIN(TestDeviceCommands)
#include "tst_devicecommands.moc"
