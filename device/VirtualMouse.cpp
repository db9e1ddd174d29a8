// SPDX-License-Identifier: GPL-3.0-or-later
#include "VirtualMouse.h"

#include "DeviceLog.h"
#include "ReportCodec.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QSaveFile>

namespace {

constexpr std::uint8_t kEventDpi0 = 0x06;
constexpr std::uint8_t kEventDpi1 = 0x07;
constexpr std::uint8_t kFirmwareMajor = 0x01;
constexpr std::uint8_t kFirmwareMinor = 0x0A;
constexpr std::uint8_t kMouseMatrixLength = 0x40;
constexpr std::uint8_t kMouseMacroLength = 0x80;
constexpr std::uint8_t kBlockReports8 = 0x08;
constexpr std::uint8_t kKeySwitchLength = 0x15;
constexpr std::uint8_t kMacroReports3 = 0x03;
constexpr std::uint8_t kRecoveryMark = 0xFF;

} // namespace

VirtualMouse::VirtualMouse(QString iniPath) : m_iniPath(std::move(iniPath)), m_state(VirtualMouseState::factory()) {
    const QByteArray code(kSecrecyCode);
    std::copy(code.begin(), code.end(), m_code.begin() + 1);
    if (!m_iniPath.isEmpty() && QFileInfo::exists(m_iniPath))
        m_state = VirtualMouseState::fromIniFile(m_iniPath);
}

void VirtualMouse::setScrambling(bool on) {
    QMutexLocker lock(&m_lock);
    m_scrambling = on;
}

void VirtualMouse::receiveFeatureReport(const Byte* data, std::size_t length) {
    if (length < kFeatureReportSize)
        return;
    QMutexLocker lock(&m_lock);
    Frame frame{};
    std::copy_n(data, kFeatureReportSize, frame.begin());
    if (m_scrambling)
        ReportCodec::unscramble(frame.data() + 1, m_code.data());
    handleCommand(frame);
}

int VirtualMouse::answerFeatureReport(Byte* data, std::size_t length) {
    if (length < kFeatureReportSize)
        return -1;
    QMutexLocker lock(&m_lock);
    Frame frame = m_answer;
    frame[0] = 0;
    frame[8] = ReportCodec::checksum(&frame[1]);
    if (m_scrambling)
        ReportCodec::scramble(frame.data() + 1, m_code.data());
    std::copy(frame.begin(), frame.end(), data);
    return static_cast<int>(kFeatureReportSize);
}

void VirtualMouse::receiveOutputReport(const Byte* data, std::size_t length) {
    QMutexLocker lock(&m_lock);
    if (m_bulkTarget.empty() || length < 2)
        return;
    // Byte 0 is the report id; the rest is one chunk of the announced block.
    const std::size_t chunk = std::min(length - 1, m_bulkTarget.size() - m_bulkOffset);
    std::copy_n(data + 1, chunk, m_bulkTarget.begin() + static_cast<std::ptrdiff_t>(m_bulkOffset));
    m_bulkOffset += chunk;
    if (m_bulkOffset >= m_bulkTarget.size()) {
        m_bulkTarget = {};
        persist();
    }
}

int VirtualMouse::waitFor(const std::deque<QByteArray>& queue, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs < 0 ? QDeadlineTimer::Forever : QDeadlineTimer(timeoutMs));
    while (queue.empty() && m_plugged) {
        if (!m_arrived.wait(&m_lock, deadline))
            break;
    }
    if (!m_plugged)
        return -1;
    return queue.empty() ? 0 : 1;
}

int VirtualMouse::nextInputReport(Byte* data, std::size_t length, int timeoutMs) {
    QMutexLocker lock(&m_lock);
    const int ready = waitFor(m_input, timeoutMs);
    if (ready <= 0)
        return ready;
    const QByteArray report = m_input.front();
    m_input.pop_front();
    const std::size_t count = std::min(length, static_cast<std::size_t>(report.size()));
    std::copy_n(report.begin(), count, data);
    return static_cast<int>(count);
}

int VirtualMouse::nextEventReport(Byte* data, std::size_t length, int timeoutMs) {
    QMutexLocker lock(&m_lock);
    const int ready = waitFor(m_events, timeoutMs);
    if (ready <= 0)
        return ready;
    const QByteArray report = m_events.front();
    m_events.pop_front();
    const std::size_t count = std::min(length, static_cast<std::size_t>(report.size()));
    std::copy_n(report.begin(), count, data);
    return static_cast<int>(count);
}

void VirtualMouse::pressDpi(int stage) {
    QMutexLocker lock(&m_lock);
    if (stage >= 1 && stage <= 8)
        m_state.currentStage = static_cast<Byte>(stage);
    const char report[kEventReportSize] = {kEventDpi0, kEventDpi1, 0, static_cast<char>(stage & 0xFF)};
    m_events.emplace_back(report, static_cast<qsizetype>(kEventReportSize));
    m_arrived.wakeAll();
}

void VirtualMouse::unplug() {
    QMutexLocker lock(&m_lock);
    m_plugged = false;
    m_input.clear();
    m_events.clear();
    m_bulkTarget = {};
    m_arrived.wakeAll();
}

void VirtualMouse::plug() {
    QMutexLocker lock(&m_lock);
    m_plugged = true;
}

bool VirtualMouse::isPlugged() const {
    QMutexLocker lock(&m_lock);
    return m_plugged;
}

QString VirtualMouse::dump() const {
    QMutexLocker lock(&m_lock);
    return m_state.toIni();
}

VirtualMouseState VirtualMouse::state() const {
    QMutexLocker lock(&m_lock);
    return m_state;
}

void VirtualMouse::setState(const VirtualMouseState& state) {
    QMutexLocker lock(&m_lock);
    m_state = state;
    m_bulkTarget = {};
    persist();
}

void VirtualMouse::persist() const {
    if (m_iniPath.isEmpty())
        return;
    const QByteArray contents = m_state.toIni().toUtf8();
    QSaveFile file(m_iniPath);
    // The flush is checked before the rename: QSaveFile::commit() alone renames a
    // truncated file over the old one when the flush of its buffer fails (full disk).
    if (file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size() && file.flush() && file.commit())
        return;
    qCWarning(lcDevice) << "virtual mouse: cannot write" << m_iniPath << file.errorString();
    file.cancelWriting(); // the old file stays; the destructor removes the temporary one
}

void VirtualMouse::expectBulk(std::span<Byte> target) {
    m_bulkTarget = target;
    m_bulkOffset = 0;
}

void VirtualMouse::queueInput(std::span<const Byte> bytes) {
    m_input.clear();
    for (std::size_t offset = 0; offset < bytes.size(); offset += kInputReportLength) {
        QByteArray report(static_cast<qsizetype>(kInputReportLength), '\0');
        const std::size_t count = std::min(kInputReportLength, bytes.size() - offset);
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), count, report.begin());
        m_input.push_back(report);
    }
    m_arrived.wakeAll();
}

void VirtualMouse::handleCommand(const Frame& frame) {
    m_bulkTarget = {};
    m_input.clear();
    m_answer = {};
    m_answer[1] = frame[1];
    if (frame[1] >= 0x80 || frame[1] == 0x00)
        handleGet(frame);
    else
        handleSet(frame);
}

void VirtualMouse::handleSet(const Frame& f) {
    if (announcesBlock(f))
        return;
    if (applySetting(f))
        persist();
}

// A set command that announces a block: the bulk data follows as output reports.
bool VirtualMouse::announcesBlock(const Frame& f) {
    VirtualMouseState& s = m_state;
    switch (f[1]) {
    case 0x0D:
        if (f[2] != 0 || f[3] != 0 || f[4] != kBlockReports8)
            return false;
        expectBulk(s.keyboardKeyMatrix);
        return true;
    case 0x0E:
        if (f[2] != 0 || f[3] != 0 || f[4] != kKeySwitchLength)
            return false;
        expectBulk(s.keySwitches);
        return true;
    case 0x10:
        if (f[3] == 4)
            expectBulk(s.stageColors4);
        else
            expectBulk(std::span(s.stageColors24).first(std::min<std::size_t>(f[3], s.stageColors24.size())));
        return true;
    case 0x11:
        if (f[3] == kBlockReports8 && f[4] == 0) {
            s.dpiStageCount = f[2];
            expectBulk(s.dpiCodes);
        } else if (f[4] == kMacroReports3) {
            expectBulk(s.keyboardMacros[f[3]]);
        }
        return true;
    case 0x12:
        announceMatrixOrPicture(f);
        return true;
    case 0x13:
        if (f[2] == kRecoveryMark && f[3] == 0)
            return false;
        if (f[3] == kMouseMacroLength && f[2] >= 1 && f[2] <= VirtualMouseState::kMacroSlots)
            expectBulk(s.macros[f[2] - 1u]);
        return true;
    default:
        return false;
    }
}

void VirtualMouse::announceMatrixOrPicture(const Frame& f) {
    VirtualMouseState& s = m_state;
    if (f[3] == kMouseMatrixLength) {
        if (f[2] >= 1 && f[2] <= VirtualMouseState::kKeyMatrices)
            expectBulk(s.keyMatrices[f[2] - 1u]);
    } else if (f[2] == 0 && f[4] == kBlockReports8 && f[3] < VirtualMouseState::kPictures) {
        expectBulk(s.pictures[f[3]]);
    }
}

// A set command that carries its values in the report itself; false for an unknown one.
bool VirtualMouse::applySetting(const Frame& f) {
    VirtualMouseState& s = m_state;
    switch (f[1]) {
    case 0x01:
        s.reportRate = f[2];
        break;
    case 0x02:
        s.activeKeyMatrix = f[2];
        break;
    case 0x03:
        s.sensorType = f[2];
        s.reportRate = f[3];
        s.option1 = f[4];
        s.option2 = f[5];
        break;
    case 0x04:
        std::copy_n(f.begin() + 2, s.gunData.size(), s.gunData.begin());
        break;
    case 0x07:
        s.ledInstruct[f[2]] = {f[3], f[4], f[5]};
        break;
    case 0x08:
        std::copy_n(f.begin() + 2, s.ledType.size(), s.ledType.begin());
        break;
    case 0x09:
        s.keyboardMode = f[2];
        break;
    case 0x0B:
        s.currentStage = f[2];
        break;
    case 0x0D:
        s.ledEffect = f[2];
        s.ledOption1 = f[3];
        s.ledOption2 = f[4];
        break;
    case 0x0E:
        s.xSensitivity = f[2];
        s.ySensitivity = f[3];
        break;
    case 0x13: // the recovery request
        ++s.recoveryRequests;
        break;
    case 0x14:
        s.colors[f[3]] = {f[4], f[5], f[6]};
        break;
    default:
        qCDebug(lcDevice) << "virtual mouse: unknown set command" << f[1];
        return false;
    }
    return true;
}

void VirtualMouse::handleGet(const Frame& f) {
    if (f[1] >= 0x8D && f[1] <= 0x93)
        answerBlockGet(f);
    else
        answerValueGet(f);
}

// A get answered with a block: the frame says its size, the data follows as input reports.
void VirtualMouse::answerBlockGet(const Frame& f) {
    const VirtualMouseState& s = m_state;
    Frame& a = m_answer;
    switch (f[1]) {
    case 0x8D:
        // The keyboard form carries 0 where the checksum belongs.
        if (f[8] == 0) {
            a[4] = kBlockReports8;
            queueInput(s.keyboardKeyMatrix);
        } else {
            a[2] = s.ledEffect;
            a[3] = s.ledOption1;
            a[4] = s.ledOption2;
        }
        break;
    case 0x8E:
        a[4] = kKeySwitchLength;
        queueInput(s.keySwitches);
        break;
    case 0x90:
        a[2] = f[2];
        if (f[2] == 2)
            queueInput(s.stageColors4);
        else
            queueInput(s.stageColors24);
        break;
    case 0x91:
        if (f[3] != 0) {
            a[3] = f[3];
            a[4] = kMacroReports3;
            const auto found = s.keyboardMacros.find(f[3]);
            queueInput(found != s.keyboardMacros.end() ? found->second : std::array<Byte, 192>{});
        } else {
            a[2] = s.dpiStageCount;
            a[3] = kBlockReports8;
            queueInput(s.dpiCodes);
        }
        break;
    case 0x92:
        if (f[2] >= 1 && f[2] <= VirtualMouseState::kKeyMatrices) {
            a[2] = f[2];
            a[3] = kMouseMatrixLength;
            a[4] = kBlockReports8;
            queueInput(s.keyMatrices[f[2] - 1u]);
        } else if (f[2] == 0 && f[3] < VirtualMouseState::kPictures) {
            a[3] = f[3];
            a[4] = kBlockReports8;
            queueInput(s.pictures[f[3]]);
        } else {
            queueInput(std::array<Byte, 64>{});
        }
        break;
    case 0x93:
        a[2] = f[2];
        a[3] = kMouseMacroLength;
        if (f[2] >= 1 && f[2] <= VirtualMouseState::kMacroSlots)
            queueInput(s.macros[f[2] - 1u]);
        else
            queueInput(std::array<Byte, 128>{});
        break;
    default:
        qCDebug(lcDevice) << "virtual mouse: unknown get command" << f[1];
        break;
    }
}

void VirtualMouse::answerValueGet(const Frame& f) {
    const VirtualMouseState& s = m_state;
    Frame& a = m_answer;
    switch (f[1]) {
    case 0x00: // the handshake: echo the four data bytes
        std::copy_n(f.begin() + 2, 4, a.begin() + 2);
        break;
    case 0x80:
        a[2] = kFirmwareMajor;
        a[3] = kFirmwareMinor;
        break;
    case 0x81:
        a[2] = s.reportRate;
        break;
    case 0x82:
        a[2] = s.activeKeyMatrix;
        break;
    case 0x83:
        a[2] = s.sensorType;
        a[3] = s.reportRate;
        a[4] = s.option1;
        a[5] = s.option2;
        break;
    case 0x84:
        break;
    case 0x87: {
        a[2] = f[2];
        const auto found = s.ledInstruct.find(f[2]);
        if (f[2] != 0 && found != s.ledInstruct.end())
            std::copy(found->second.begin(), found->second.end(), a.begin() + 3);
        break;
    }
    case 0x88:
        std::copy(s.ledType.begin(), s.ledType.end(), a.begin() + 2);
        break;
    case 0x89:
        a[2] = s.keyboardMode;
        break;
    case 0x8B:
        a[2] = s.currentStage;
        break;
    case 0x94: {
        a[3] = f[3];
        const auto found = s.colors.find(f[3]);
        if (found != s.colors.end())
            std::copy(found->second.begin(), found->second.end(), a.begin() + 4);
        break;
    }
    default:
        qCDebug(lcDevice) << "virtual mouse: unknown get command" << f[1];
        break;
    }
}
