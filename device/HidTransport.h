// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The report transport of the command interface: out report, in report and
// bulk buffer, the access flag that serialises transfers, and the request and
// send transfers every command uses.
//
// Threads: acquire() and request() run on the calling (GUI) thread; send()
// runs on a pool thread. The buffers are touched only by whoever holds the
// access flag. acquire() hands it out as a Lease that the transfer takes over
// and that gives the flag back when it is destroyed, on every path.

#include <QString>
#include <array>
#include <atomic>
#include <cstddef>
#include <utility>

class DeviceRecordList;
class HidBackend;

class HidTransport {
public:
    static constexpr std::size_t kReportSize = 9;
    static constexpr std::size_t kBulkBufferSize = 514;
    static constexpr int kLargestPayload = 512;
    static constexpr int kAcquireRounds = 255;
    static constexpr int kAcquirePauseMs = 8;
    static constexpr int kSettleHalfMs = 64;
    static constexpr int kBulkGapMs = 8;
    static constexpr int kBulkReadTimeoutMs = 1000;

    // How a transfer ended. Demo mode refuses every transfer by design.
    enum class Outcome { Done, Demo, NoDevice, Failed };

    using Report = std::array<unsigned char, kReportSize>;
    using BulkBuffer = std::array<unsigned char, kBulkBufferSize>;

    HidTransport(HidBackend& backend, DeviceRecordList& records);

    // The access flag while it is taken: move-only, and its destruction gives the
    // flag back. An empty lease (acquire() gave up, or moved from) holds nothing.
    class Lease {
    public:
        Lease() = default;
        Lease(Lease&& other) noexcept : m_flag(std::exchange(other.m_flag, nullptr)) {}
        Lease& operator=(Lease&& other) noexcept;
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        ~Lease() { release(); }
        explicit operator bool() const { return m_flag != nullptr; }

    private:
        friend class HidTransport;
        explicit Lease(std::atomic<bool>* flag) : m_flag(flag) {}
        void release();

        std::atomic<bool>* m_flag = nullptr;
    };

    // Takes the access flag: up to 255 rounds of 8 ms, processing GUI events
    // between rounds. The test and the set are one atomic step. Empty when it gave up.
    Lease acquire();
    bool isFree() const { return m_free.load(); }

    // Out report with id 0, the code, six data bytes and the checksum (or `checksumOverride`).
    void fillOutReport(unsigned char code, const std::array<unsigned char, 6>& data, int checksumOverride = -1);
    // In report pre-set: id 0, the code, six data bytes, zero checksum.
    void presetInReport(unsigned char code, const std::array<unsigned char, 6>& data);
    const Report& outReport() const { return m_out; }
    const Report& inReport() const { return m_in; }
    BulkBuffer& bulk() { return m_bulk; }

    // Both own the lease for the transfer, so the flag is free again when they
    // return, whatever path they take. request() copies the in report to `answer`
    // and the first `bulkLength` bulk bytes to `block` before the lease ends.
    Outcome request(Lease lease, uint did, int bulkLength, Report& answer, unsigned char* block);
    Outcome send(Lease lease, uint did, int bulkLength, bool settle);

    // Whether `bulkLength`, rounded up to whole reports, fits the bulk buffer.
    static bool bulkFits(int bulkLength, unsigned int reportLength);

private:
    Outcome requestLocked(uint did, int bulkLength);
    Outcome sendLocked(uint did, int bulkLength, bool settle);
    // Opens the command interface for one transfer; null in demo mode, without a
    // path, when the open fails (the path is then cleared) or when the bulk data
    // would not fit the buffer. `why` tells which.
    void* openForTransfer(uint did, int bulkLength, unsigned int* reportLength, Outcome* why);
    bool sendOutReport(void* handle);

    HidBackend& m_backend;
    DeviceRecordList& m_records;
    std::atomic<bool> m_free{true};
    Report m_out{};
    Report m_in{};
    BulkBuffer m_bulk{};
};
