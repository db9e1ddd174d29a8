// SPDX-License-Identifier: GPL-3.0-or-later
#include "HidTransport.h"

#include "DeviceLog.h"
#include "DeviceRecordList.h"
#include "HidBackend.h"
#include "LinkState.h"
#include "PreciseSleep.h"
#include "ReportCodec.h"

#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <vector>

namespace {

void scrambleIfEnabled(HidTransport::Report& report) {
    if (LinkState::scramblingEnabled.load())
        ReportCodec::scramble(report.data() + 1, LinkState::secrecyCode.data());
}

void unscrambleIfEnabled(HidTransport::Report& report) {
    if (LinkState::scramblingEnabled.load())
        ReportCodec::unscramble(report.data() + 1, LinkState::secrecyCode.data());
}

// Closes the handle when a transfer leaves, whatever path it takes.
class HandleCloser {
public:
    HandleCloser(HidBackend& backend, void* handle) : m_backend(backend), m_handle(handle) {}
    ~HandleCloser() {
        if (m_handle)
            m_backend.close(m_handle);
    }
    HandleCloser(const HandleCloser&) = delete;
    HandleCloser& operator=(const HandleCloser&) = delete;

private:
    HidBackend& m_backend;
    void* m_handle;
};

} // namespace

HidTransport::HidTransport(HidBackend& backend, DeviceRecordList& records) : m_backend(backend), m_records(records) {}

HidTransport::Lease& HidTransport::Lease::operator=(Lease&& other) noexcept {
    if (this != &other) {
        release();
        m_flag = std::exchange(other.m_flag, nullptr);
    }
    return *this;
}

void HidTransport::Lease::release() {
    if (m_flag)
        std::exchange(m_flag, nullptr)->store(true);
}

HidTransport::Lease HidTransport::acquire() {
    for (int round = 0;; ++round) {
        bool expected = true;
        if (m_free.compare_exchange_strong(expected, false))
            return Lease(&m_free);
        if (round == kAcquireRounds)
            return {};
        QThread::msleep(kAcquirePauseMs);
        if (QCoreApplication::instance())
            QCoreApplication::processEvents();
    }
}

void HidTransport::fillOutReport(unsigned char code, const std::array<unsigned char, 6>& data, int checksumOverride) {
    m_out[0] = 0;
    m_out[1] = code;
    std::copy(data.begin(), data.end(), m_out.begin() + 2);
    m_out[8] = checksumOverride >= 0 ? static_cast<unsigned char>(checksumOverride) : ReportCodec::checksum(&m_out[1]);
}

void HidTransport::presetInReport(unsigned char code, const std::array<unsigned char, 6>& data) {
    m_in[0] = 0;
    m_in[1] = code;
    std::copy(data.begin(), data.end(), m_in.begin() + 2);
    m_in[8] = 0;
}

bool HidTransport::bulkFits(int bulkLength, unsigned int reportLength) {
    if (bulkLength <= 0)
        return true;
    if (reportLength == 0)
        return false;
    const unsigned int chunk = std::min(static_cast<unsigned int>(bulkLength), reportLength);
    const unsigned int reports = (static_cast<unsigned int>(bulkLength) + chunk - 1) / chunk;
    return static_cast<std::size_t>(reports) * chunk <= kBulkBufferSize;
}

HidTransport::Outcome HidTransport::request(Lease lease, uint did, int bulkLength, Report& answer,
                                            unsigned char* block) {
    Q_ASSERT(lease);
    const Outcome ok = requestLocked(did, bulkLength);
    answer = m_in;
    if (block && bulkLength > 0)
        std::copy_n(m_bulk.begin(), std::min<std::size_t>(static_cast<std::size_t>(bulkLength), kBulkBufferSize),
                    block);
    return ok;
}

HidTransport::Outcome HidTransport::send(Lease lease, uint did, int bulkLength, bool settle) {
    Q_ASSERT(lease);
    return sendLocked(did, bulkLength, settle);
}

void* HidTransport::openForTransfer(uint did, int bulkLength, unsigned int* reportLength, Outcome* why) {
    *why = Outcome::NoDevice;
    if (LinkState::demoMode.load()) {
        *why = Outcome::Demo;
        return nullptr;
    }
    const std::optional<DeviceRecord> record = m_records.at(did);
    if (!record || record->path.isEmpty())
        return nullptr;
    if (!bulkFits(bulkLength, record->reportLength)) {
        // The command's own failure line follows; this says why.
        qCDebug(lcDevice) << "a bulk transfer of" << bulkLength << "bytes does not fit report length"
                          << record->reportLength;
        *why = Outcome::Failed;
        return nullptr;
    }
    void* handle = m_backend.open(record->path);
    if (!handle) {
        // The device went away: later transfers fail at once until discovery runs again.
        m_records.clearPath(did, record->path);
        return nullptr;
    }
    m_backend.setNonBlocking(handle, 0);
    *reportLength = record->reportLength;
    return handle;
}

bool HidTransport::sendOutReport(void* handle) {
    scrambleIfEnabled(m_out);
    return m_backend.sendFeatureReport(handle, m_out.data(), m_out.size()) >= 0;
}

HidTransport::Outcome HidTransport::requestLocked(uint did, int bulkLength) {
    unsigned int reportLength = 0;
    Outcome why = Outcome::Failed;
    void* handle = openForTransfer(did, bulkLength, &reportLength, &why);
    if (!handle)
        return why;
    HandleCloser closer(m_backend, handle);
    if (!sendOutReport(handle))
        return Outcome::Failed;
    if (m_backend.getFeatureReport(handle, m_in.data(), m_in.size()) < 0)
        return Outcome::Failed;
    if (bulkLength == 0) {
        unscrambleIfEnabled(m_in);
        return Outcome::Done;
    }
    const unsigned int chunk = std::min(static_cast<unsigned int>(bulkLength), reportLength);
    std::vector<unsigned char> report(reportLength + 1);
    for (unsigned int offset = 0; offset < static_cast<unsigned int>(bulkLength); offset += chunk) {
        std::fill(report.begin(), report.end(), 0);
        // Bounded: a device that stops answering must not hold the GUI thread forever.
        const int got = m_backend.readTimeout(handle, report.data(), report.size(), kBulkReadTimeoutMs);
        if (got <= 0) {
            // The command's own failure line follows; this says where.
            qCDebug(lcDevice) << "bulk read failed at offset" << offset << "result" << got;
            return Outcome::Failed;
        }
        std::copy_n(report.begin(), chunk, m_bulk.begin() + offset);
    }
    return Outcome::Done;
}

HidTransport::Outcome HidTransport::sendLocked(uint did, int bulkLength, bool settle) {
    unsigned int reportLength = 0;
    Outcome why = Outcome::Failed;
    void* handle = openForTransfer(did, bulkLength, &reportLength, &why);
    if (!handle)
        return why;
    HandleCloser closer(m_backend, handle);
    if (!sendOutReport(handle))
        return Outcome::Failed;
    // Each pause runs from the end of the report before it, to a deadline, so
    // neither the work between reports nor a late wake-up adds up over a block.
    using std::chrono::milliseconds;
    const milliseconds settlePause(settle ? 2 * kSettleHalfMs : 0);
    PreciseSleep::Clock::time_point earliestNext = PreciseSleep::Clock::now() + settlePause;
    if (bulkLength == 0) {
        PreciseSleep::until(earliestNext);
        return Outcome::Done;
    }
    const unsigned int chunk = std::min(static_cast<unsigned int>(bulkLength), reportLength);
    std::vector<unsigned char> report(reportLength + 1, 0);
    for (unsigned int offset = 0; offset < static_cast<unsigned int>(bulkLength); offset += chunk) {
        report[0] = 0;
        // Whole chunks: the tail of the last one is whatever the bulk buffer holds.
        std::copy_n(m_bulk.begin() + offset, chunk, report.begin() + 1);
        PreciseSleep::until(earliestNext);
        if (m_backend.write(handle, report.data(), report.size()) < 0)
            return Outcome::Failed;
        earliestNext = PreciseSleep::Clock::now() + milliseconds(kBulkGapMs);
    }
    PreciseSleep::until(earliestNext + settlePause);
    return Outcome::Done;
}
