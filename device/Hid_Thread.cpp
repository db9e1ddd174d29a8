// SPDX-License-Identifier: GPL-3.0-or-later
#include "Hid_Thread.h"

#include "DeviceConfigSource.h"
#include "DeviceHost.h"
#include "DeviceLog.h"
#include "HidBackend.h"
#include "LinkState.h"
#include "PreciseSleep.h"
#include "ReportCodec.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <QThread>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>

namespace {

constexpr int kCommandPauseMs = 8;
constexpr int kTrayMessageMs = 10000;
constexpr int kEventReadTimeoutMs = 500;
constexpr int kEventReportSize = 4;
constexpr int kEventErrorPauseMs = 100;
// The listener holds one pool thread for as long as it runs; write transfers
// need at least one more, even on a single-core machine.
constexpr int kMinPoolThreads = 2;
constexpr uchar kEventDpiStage0 = 0x06;
constexpr uchar kEventDpiStage1 = 0x07;
constexpr uchar kListenOptionBit = 0x40;
constexpr int kLastOwnPrefixStage = 5;
constexpr uchar kFirstGetCode = 0x80;
const QString kDemoCode = QStringLiteral("k-ravine");
constexpr qsizetype kSecrecyCodeLength = 6;

constexpr uchar kHandshakeCode = 0x00;

void logAcquireFailure(uchar code) {
    if (code >= kFirstGetCode)
        qDebug("cmd Failed");
    else
        qDebug("cmd Failed %02X", code);
}

int colorBlockLength(uchar type) {
    return type == 2 ? 4 : 24;
}

} // namespace

Hid_Thread::Hid_Thread(HidBackend& backend, const DeviceConfigSource& config, DeviceHost* host, QObject* parent)
    : QObject(parent), m_backend(backend), m_config(config), m_host(host), m_transport(backend, m_records) {
    QThreadPool* pool = QThreadPool::globalInstance();
    pool->setMaxThreadCount(std::max(pool->maxThreadCount(), kMinPoolThreads));
}

Hid_Thread::~Hid_Thread() {
    stopListener();
    waitForTransfers();
}

void Hid_Thread::setRecords(const QList<DeviceRecord>& records) {
    m_records.replace(records);
}

QList<DeviceRecord> Hid_Thread::records() const {
    return m_records.all();
}

void Hid_Thread::waitForTransfers() {
    for (;;) {
        QList<QFuture<void>> pending;
        {
            QMutexLocker lock(&m_writesLock);
            pending.swap(m_writes);
        }
        if (pending.isEmpty())
            return;
        for (QFuture<void>& future : pending)
            future.waitForFinished();
    }
}

// ---- transfers -------------------------------------------------------------

void Hid_Thread::startTransfer(HidTransport::Lease lease, uchar code, int bulkLength, bool settle) {
    const uint did = m_curDevice;
    // The caller does not wait (the UI stays responsive), so the transfer reports its own failure.
    // The lease travels with the task: even a task that never runs gives the flag back.
    QFuture<void> future = QtConcurrent::run(
        QThreadPool::globalInstance(), [this, lease = std::move(lease), code, did, bulkLength, settle]() mutable {
            // The flag is free again before the outcome is reported, as after a read.
            const HidTransport::Outcome outcome = m_transport.send(std::move(lease), did, bulkLength, settle);
            noteOutcome(code, outcome);
        });
    QMutexLocker lock(&m_writesLock);
    m_writes.removeIf([](const QFuture<void>& f) { return f.isFinished(); });
    m_writes.append(future);
}

void Hid_Thread::noteOutcome(uchar code, HidTransport::Outcome outcome) {
    using Outcome = HidTransport::Outcome;
    if (outcome == Outcome::Done || outcome == Outcome::Demo)
        return;
    m_failedCommands.fetch_add(1);
    if (outcome == Outcome::NoDevice)
        m_commandsWithoutDevice.fetch_add(1);
    // A failed handshake is reported by discovery ("Device Error").
    if (code == kHandshakeCode)
        return;
    qCWarning(lcDevice, "command %02X did not reach the device: %s", code,
              outcome == Outcome::NoDevice ? "no device" : "transfer failed");
}

void Hid_Thread::runSet(uchar code, const Data6& data, const uchar* payload, int bulkLength, bool settle, bool pause) {
    HidTransport::Lease lease = m_transport.acquire();
    if (!lease) {
        logAcquireFailure(code);
        m_failedCommands.fetch_add(1);
        return;
    }
    m_transport.fillOutReport(code, data);
    if (payload && bulkLength > 0)
        std::copy_n(payload, bulkLength, m_transport.bulk().begin());
    startTransfer(std::move(lease), code, bulkLength, settle);
    if (pause)
        PreciseSleep::forMs(kCommandPauseMs);
}

Hid_Thread::GetOutcome Hid_Thread::runGet(uchar code, const Data6& data, const Data6& preset, uchar* block,
                                          int bulkLength, int checksumOverride) {
    HidTransport::Lease lease = m_transport.acquire();
    if (!lease) {
        logAcquireFailure(code);
        m_failedCommands.fetch_add(1);
        return GetOutcome::NotAcquired;
    }
    m_transport.fillOutReport(code, data, checksumOverride);
    m_transport.presetInReport(code, preset);
    if (block && bulkLength > 0)
        std::copy_n(block, bulkLength, m_transport.bulk().begin());
    const HidTransport::Outcome outcome =
        m_transport.request(std::move(lease), m_curDevice, bulkLength, m_answer, block);
    noteOutcome(code, outcome);
    return outcome == HidTransport::Outcome::Done ? GetOutcome::Answered : GetOutcome::Failed;
}

// ---- worker ----------------------------------------------------------------

void Hid_Thread::swichCurDevice(uint did) {
    if (did != m_curDevice) {
        m_curDevice = did;
        startListener(did);
    }
    chkDeviceIsEnCode();
}

uchar Hid_Thread::hidCS(uchar* cmd) {
    return ReportCodec::checksum(cmd);
}

void Hid_Thread::USBDataEncryption(uchar* FIFOBuf, uchar* SecrecyCode) {
    ReportCodec::scramble(FIFOBuf, SecrecyCode);
}

void Hid_Thread::USBDataDecipher(uchar* FIFOBuf, uchar* SecrecyCode) {
    ReportCodec::unscramble(FIFOBuf, SecrecyCode);
}

void Hid_Thread::chkDeviceIsEnCode() {
    QString codeText;
    if (m_curDevice <= 1)
        codeText = m_config.secrecyCodeText(m_curDevice);
    if (codeText.size() == kSecrecyCodeLength)
        storeSecrecyCode(codeText);

    QRandomGenerator random(static_cast<quint32>(QDateTime::currentSecsSinceEpoch()));
    std::array<uchar, 4> sent{};
    for (uchar& byte : sent)
        byte = static_cast<uchar>(random.generate() & 0xFF);
    std::array<uchar, 4> received = sent;

    // Only a real exchange counts: a command that could not run proves nothing.
    if (exchangeSecrecyBytes(received) && received == sent) {
        qDebug("Device Connect");
        LinkState::deviceConnected.store(true);
        showInfo(QStringLiteral("Detect Mouse"));
        startListener(m_curDevice);
        return;
    }
    qDebug("Device Error");
    LinkState::deviceConnected.store(false);
    if (codeText == kDemoCode) {
        LinkState::demoMode.store(true);
        LinkState::deviceConnected.store(true);
        LinkState::scramblingEnabled.store(false);
        return;
    }
    if (m_host)
        m_host->hideHostWindow();
}

void Hid_Thread::storeSecrecyCode(const QString& codeText) {
    std::array<uchar, 8> code{};
    for (qsizetype i = 0; i < kSecrecyCodeLength; ++i)
        code[static_cast<std::size_t>(i) + 1] = static_cast<uchar>(codeText.at(i).unicode());
    if (code == LinkState::secrecyCode)
        return;
    // A write transfer still on the pool may be scrambling with the old code.
    waitForTransfers();
    LinkState::secrecyCode = code;
}

bool Hid_Thread::exchangeSecrecyBytes(std::array<uchar, 4>& bytes) {
    const GetOutcome outcome = runGet(0x00, {bytes[0], bytes[1], bytes[2], bytes[3], 0, 0}, {});
    if (outcome == GetOutcome::NotAcquired)
        return false;
    for (int i = 0; i < 4; ++i)
        bytes[static_cast<std::size_t>(i)] = answer(2 + i);
    return outcome == GetOutcome::Answered;
}

void Hid_Thread::hid_00H_GetSecrecyCode(uchar& byte1, uchar& byte2, uchar& byte3, uchar& byte4) {
    // Unchanged when the command could not run; the answer (or the cleared report) otherwise.
    std::array<uchar, 4> bytes{byte1, byte2, byte3, byte4};
    exchangeSecrecyBytes(bytes);
    byte1 = bytes[0];
    byte2 = bytes[1];
    byte3 = bytes[2];
    byte4 = bytes[3];
}

void Hid_Thread::showInfo(const QString& text) {
    if (m_host)
        m_host->showTrayMessage(QStringLiteral("Info"), text, kTrayMessageMs);
}

// ---- event listener ----------------------------------------------------------

void Hid_Thread::startListener(uint did) {
    stopListener();
    uchar byte1 = 0;
    uchar byte2 = 0;
    uchar byte3 = 0;
    uchar byte4 = 0;
    hid_83H_GetKeyboardoption(byte1, byte2, byte3, byte4);
    hid_03H_SetKeyboardoption(byte1, byte2, byte3, byte4 | kListenOptionBit);
    m_listenerRunning.store(true);
    m_listener = QtConcurrent::run(QThreadPool::globalInstance(), [this, did] { listenerLoop(did); });
}

void Hid_Thread::stopListener() {
    m_listenerRunning.store(false);
    m_listener.waitForFinished();
}

// The event interface stays open between reads: the kernel queues input reports only for open
// files, so a DPI press that fell between a close and the next open would be lost. A failed read
// closes it; the next open then tells a removed device from a passing error.
void Hid_Thread::listenerLoop(uint did) {
    HidBackend::Handle handle = nullptr;
    while (m_listenerRunning.load()) {
        const std::optional<DeviceRecord> record = m_records.at(did);
        if (!record || record->path2.isEmpty())
            break;
        if (!handle) {
            handle = m_backend.open(record->path2);
            if (!handle) {
                qDebug("Device removed");
                m_records.clearPath2(did, record->path2);
                break;
            }
            m_backend.setNonBlocking(handle, 0);
        }
        std::array<uchar, kEventReportSize> report{};
        const int got = m_backend.readTimeout(handle, report.data(), report.size(), kEventReadTimeoutMs);
        if (got < 0) {
            m_backend.close(handle);
            handle = nullptr;
            // A read that fails at once would otherwise spin.
            QThread::msleep(kEventErrorPauseMs);
            continue;
        }
        handleEventReport(report.data(), got);
    }
    if (handle)
        m_backend.close(handle);
    // A loop that ended on its own must not look alive: the host restarts discovery only without one.
    m_listenerRunning.store(false);
}

void Hid_Thread::handleEventReport(const uchar* report, int length) {
    if (length != kEventReportSize || report[0] != kEventDpiStage0 || report[1] != kEventDpiStage1)
        return;
    const int stage = report[3];
    if (stage < 1 || stage > LinkState::kStageCount) {
        qCWarning(lcDevice) << "DPI event with stage" << stage << "outside the table ignored";
        return;
    }
    const int prefixIndex = std::min(stage, kLastOwnPrefixStage + 1) - 1;
    const unsigned int value = LinkState::dpiValues[static_cast<std::size_t>(stage - 1)].load();
    showInfo(LinkState::dpiMessagePrefix(prefixIndex) + QLatin1Char(' ') + QString::number(value));
}

// ---- commands shared by both devices and the keyboard family -----------------

void Hid_Thread::hid_01H_SetReportRate(uchar rate) {
    runSet(0x01, {rate, 0, 0, 0, 0, 0}, nullptr, 0, true, false);
}

void Hid_Thread::hid_02H_SetCurrentProfile(uchar profile) {
    runSet(0x02, {profile, 0, 0, 0, 0, 0}, nullptr, 0, false, true);
}

void Hid_Thread::hid_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4) {
    runSet(0x03, {byte1, byte2, byte3, byte4, 0, 0}, nullptr, 0, false, true);
}

void Hid_Thread::hid_04H_SetGunData(uchar par0, uchar par1, uchar par2, uchar par3, uchar par4) {
    runSet(0x04, {par0, par1, par2, par3, par4, 0}, nullptr, 0, true, false);
}

void Hid_Thread::hid_07H_SetControlIndicatorLight(uchar effect, uchar frequenty) {
    runSet(0x07, {effect, frequenty, 0, 0, 0, 0}, nullptr, 0, false, true);
}

void Hid_Thread::hid_08H_SetLEDType(uchar option, uchar effect, uchar speed, uchar light, uchar color,
                                    uchar direction) {
    runSet(0x08, {option, effect, speed, light, color, direction}, nullptr, 0, true, false);
}

void Hid_Thread::hid_09H_SetKeyboardMode(uchar mode) {
    runSet(0x09, {mode, 0, 0, 0, 0, 0}, nullptr, 0, true, false);
}

void Hid_Thread::hid_0DH_SetKeyMatrix(const Block512& src512) {
    runSet(0x0D, {0, 0, 0x08, 0, 0, 0}, src512.data(), static_cast<int>(src512.size()), true, false);
}

void Hid_Thread::hid_0EH_SetKeyOnOff(const Block21& src21) {
    runSet(0x0E, {0, 0, 0x15, 0, 0, 0}, src21.data(), static_cast<int>(src21.size()), true, false);
}

void Hid_Thread::hid_0EH_SetXYSensitive(uchar par0, uchar par1) {
    runSet(0x0E, {par0, par1, 0, 0, 0, 0}, nullptr, 0, true, false);
}

void Hid_Thread::hid_11H_SetMacroKey(uchar macroId, const Block192& src192) {
    runSet(0x11, {0, macroId, 0x03, 0, 0, 0}, src192.data(), static_cast<int>(src192.size()), true, false);
}

void Hid_Thread::hid_12H_SetUserPicture(uchar index, uchar option, const Block512& src512) {
    runSet(0x12, {0, index, 0x08, option, 0, 0}, src512.data(), static_cast<int>(src512.size()), true, false);
}

void Hid_Thread::hid_13H_SetRecoveryData() {
    runSet(0x13, {0xFF, 0, 0, 0, 0, 0}, nullptr, 0, false, true);
}

void Hid_Thread::hid_14H_SetColor(uchar index, uchar rValue, uchar gValue, uchar bValue) {
    runSet(0x14, {0, index, rValue, gValue, bValue, 0}, nullptr, 0, false, true);
}

void Hid_Thread::hid_80H_GetFWVersion(QString& version) {
    const GetOutcome outcome = runGet(0x80, {}, {});
    if (outcome == GetOutcome::NotAcquired)
        return;
    if (outcome == GetOutcome::Failed) {
        version = QStringLiteral("unknown");
        return;
    }
    version = QString::number(answer(2), 16) + QLatin1Char('.') +
              QStringLiteral("%1").arg(answer(3), 2, 16, QLatin1Char('0')).toUpper();
}

void Hid_Thread::hid_81H_GetReportRate(uchar& rate) {
    if (runGet(0x81, {}, {rate, 0, 0, 0, 0, 0}) != GetOutcome::NotAcquired)
        rate = answer(2);
}

void Hid_Thread::hid_82H_GetCurrentProfile(uchar& profile) {
    if (runGet(0x82, {}, {profile, 0, 0, 0, 0, 0}) != GetOutcome::NotAcquired)
        profile = answer(2);
}

void Hid_Thread::hid_83H_GetKeyboardoption(uchar& byte1, uchar& byte2, uchar& byte3, uchar& byte4) {
    if (runGet(0x83, {}, {byte1, byte2, byte3, byte4, 0, 0}) == GetOutcome::NotAcquired)
        return;
    byte1 = answer(2);
    byte2 = answer(3);
    byte3 = answer(4);
    byte4 = answer(5);
}

void Hid_Thread::hid_84H_GetButtonSensitivity(uchar& sens1, uchar& sens2, uchar& sens3, uchar& sens4) {
    if (runGet(0x84, {}, {sens1, sens2, sens3, sens4, 0, 0}) == GetOutcome::NotAcquired)
        return;
    sens1 = answer(2);
    sens2 = answer(3);
    sens3 = answer(4);
    sens4 = answer(5);
}

void Hid_Thread::hid_88H_GetLEDType(uchar& effect, uchar& speed, uchar& light, uchar& color, uchar& direction) {
    if (runGet(0x88, {}, {0, effect, speed, light, color, direction}) == GetOutcome::NotAcquired)
        return;
    effect = answer(3);
    speed = answer(4);
    light = answer(5);
    color = answer(6);
    direction = answer(7);
}

void Hid_Thread::hid_89H_GetKeyboardMode(uchar& mode) {
    if (runGet(0x89, {}, {mode, 0, 0, 0, 0, 0}) != GetOutcome::NotAcquired)
        mode = answer(2);
}

void Hid_Thread::hid_8DH_GetKeyMatrix(Block512& src512) {
    // This one command goes out with 0 where the checksum would be.
    runGet(0x8D, {}, {0, 0, 0x08, 0, 0, 0}, src512.data(), static_cast<int>(src512.size()), 0);
}

void Hid_Thread::hid_8EH_GetKeyOnOff(Block21& src21) {
    runGet(0x8E, {}, {0, 0, 0x15, 0, 0, 0}, src21.data(), static_cast<int>(src21.size()));
}

void Hid_Thread::hid_91H_GetMacroKey(uchar macroId, Block192& src192) {
    runGet(0x91, {0, macroId, 0, 0, 0, 0}, {0, macroId, 0x03, 0, 0, 0}, src192.data(), static_cast<int>(src192.size()));
}

void Hid_Thread::hid_92H_GetUserPicture(uchar index, Block512& src512) {
    runGet(0x92, {0, index, 0, 0, 0, 0}, {0, index, 0x08, 0, 0, 0}, src512.data(), static_cast<int>(src512.size()));
}

void Hid_Thread::hid_94H_GetColor(uchar index, uchar& rValue, uchar& gValue, uchar& bValue) {
    if (runGet(0x94, {0, index, 0, 0, 0, 0}, {0, index, rValue, gValue, bValue, 0}) == GetOutcome::NotAcquired)
        return;
    rValue = answer(4);
    gValue = answer(5);
    bValue = answer(6);
}

// ---- mouse commands -----------------------------------------------------------

void Hid_Thread::hid_03H_SetFunctionOption(uchar type, uchar rate, uchar option1, uchar option2) {
    runSet(0x03, {type, rate, option1, option2, 0, 0}, nullptr, 0, true, true);
}

void Hid_Thread::hid_07H_SetLEDInstructFunction(uchar type, uchar option1, uchar option2, uchar option3) {
    runSet(0x07, {type, option1, option2, option3, 0, 0}, nullptr, 0, false, false);
}

void Hid_Thread::hid_0BH_SetCurrentDPIStage(uchar dpiStage) {
    runSet(0x0B, {dpiStage, 0, 0, 0, 0, 0}, nullptr, 0, true, false);
}

void Hid_Thread::hid_0DH_SetRGBLedEffect(uchar effect, uchar option1, uchar option2) {
    runSet(0x0D, {effect, option1, option2, 0, 0, 0}, nullptr, 0, true, false);
}

void Hid_Thread::hid_10H_SetLED8StageColor(uchar type, const Block24& src24) {
    const int length = colorBlockLength(type);
    runSet(0x10, {type, static_cast<uchar>(length), 0, 0, 0, 0}, src24.data(), length, true, false);
}

void Hid_Thread::hid_11H_SetDPISet(uchar dpiStage, const Block8& src8) {
    runSet(0x11, {dpiStage, 0x08, 0, 0, 0, 0}, src8.data(), static_cast<int>(src8.size()), true, false);
}

void Hid_Thread::hid_12H_SetKeyMatrix(const Block64& src64, uchar indexAddOne) {
    runSet(0x12, {indexAddOne, 0x40, 0x08, 0, 0, 0}, src64.data(), static_cast<int>(src64.size()), true, false);
}

void Hid_Thread::hid_13H_SetMacroKey(uchar macroId, const Block128& src128) {
    runSet(0x13, {macroId, 0x80, 0, 0, 0, 0}, src128.data(), static_cast<int>(src128.size()), true, false);
}

void Hid_Thread::hid_83H_GetFunctionOption(uchar& type, uchar& option1, uchar& option2) {
    if (runGet(0x83, {}, {}) == GetOutcome::NotAcquired)
        return;
    type = answer(2);
    option1 = answer(4);
    option2 = answer(5);
}

bool Hid_Thread::hid_87H_GetLEDInstructFunction(uchar type, uchar& option1, uchar& option2, uchar& option3) {
    if (runGet(0x87, {type, 0, 0, 0, 0, 0}, {type, 0, 0, 0, 0, 0}) != GetOutcome::Answered)
        return false;
    option1 = answer(3);
    option2 = answer(4);
    option3 = answer(5);
    return true;
}

void Hid_Thread::hid_8BH_GetCurrentDPIStage(uchar& dpiStage) {
    if (runGet(0x8B, {}, {}) != GetOutcome::NotAcquired)
        dpiStage = answer(2);
}

void Hid_Thread::hid_8DH_GetRGBLedEffect(uchar& effect, uchar& option1, uchar& option2) {
    if (runGet(0x8D, {}, {}) == GetOutcome::NotAcquired)
        return;
    effect = answer(2);
    option1 = answer(3);
    option2 = answer(4);
}

void Hid_Thread::hid_90H_GetLED8StageColor(uchar type, Block24& src24) {
    runGet(0x90, {type, 0, 0, 0, 0, 0}, {type, 0, 0, 0, 0, 0}, src24.data(), colorBlockLength(type));
}

bool Hid_Thread::hid_91H_GetDPISet(uchar& dpiMAXStage, Block8& src8) {
    Block8 block = src8;
    if (runGet(0x91, {}, {0, 0x08, 0, 0, 0, 0}, block.data(), static_cast<int>(block.size())) != GetOutcome::Answered)
        return false;
    dpiMAXStage = answer(2);
    src8 = block;
    return true;
}

void Hid_Thread::hid_92H_GetKeyMatrix(Block64& src64) {
    runGet(0x92, {0x01, 0, 0, 0, 0, 0}, {0x01, 0x40, 0x08, 0, 0, 0}, src64.data(), static_cast<int>(src64.size()));
}

void Hid_Thread::hid_93H_GetMacroKey(uchar macroId, Block128& src128) {
    runGet(0x93, {macroId, 0, 0, 0, 0, 0}, {macroId, 0x80, 0, 0, 0, 0}, src128.data(), static_cast<int>(src128.size()));
}
