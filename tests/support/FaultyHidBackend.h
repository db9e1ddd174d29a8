// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Decorator that makes any HID backend misbehave on demand, the way
// TracingHidBackend wraps one to trace it: calls fail, answers turn to garbage,
// the device goes silent, feature reports stall until released, or enumeration
// lists whatever a test describes. Everything it does not change goes to the
// wrapped backend as it is.
//
// The command interface is the one that takes feature reports: a handle that
// sent or fetched one counts as a command handle, so event reads stay untouched
// by garbage and silence.
//
// Threads: any; the transport, pool threads and the listener call it at once.

#include "HidBackend.h"

#include <QHash>
#include <QMutex>
#include <QSet>
#include <QWaitCondition>
#include <functional>
#include <optional>

class FaultyHidBackend : public HidBackend {
public:
    enum class Op { Open, SendFeature, GetFeature, Write, Read };

    explicit FaultyHidBackend(HidBackend& inner) : m_inner(inner) {}

    // Replaces what enumerate() reports (filtered by ids as hidapi does); nullopt restores the inner one's.
    void setEnumeration(const std::optional<QList<HidInterfaceInfo>>& interfaces);
    // Makes `count` calls of `op` fail after `skip` more calls succeed.
    void failNext(Op op, int count = 1, int skip = 0);
    // Answers of the command interface turn to random bytes (byte 0 of a feature report stays the report id).
    void setGarbageAnswers(bool on);
    // A silent device takes reports but answers nothing: feature reads fail, command reads time out.
    void setSilent(bool on);
    // While held, every feature report waits before it is taken, like a device that
    // stalls; releasing lets the waiting ones through. A test decides when a transfer
    // ends instead of racing a fixed delay against the host's timing.
    void holdSends(bool on);

    QList<HidInterfaceInfo> enumerate(std::uint16_t vendorId, std::uint16_t productId) override;
    Handle open(const QString& path) override;
    int setNonBlocking(Handle handle, int nonBlock) override;
    int sendFeatureReport(Handle handle, const unsigned char* data, std::size_t length) override;
    int getFeatureReport(Handle handle, unsigned char* data, std::size_t length) override;
    int write(Handle handle, const unsigned char* data, std::size_t length) override;
    int read(Handle handle, unsigned char* data, std::size_t length) override;
    int readTimeout(Handle handle, unsigned char* data, std::size_t length, int milliseconds) override;
    void close(Handle handle) override;

private:
    struct Failure {
        int skip = 0;
        int count = 0;
    };

    bool shouldFail(Op op);
    void noteCommandHandle(Handle handle);
    bool isCommandHandle(Handle handle) const;
    bool garbage() const;
    bool silent() const;
    static void garble(unsigned char* data, std::size_t length);
    // A read of either kind: fails, times out or turns to garbage as set, otherwise `innerRead`.
    int filteredRead(Handle handle, unsigned char* data, int milliseconds, const std::function<int()>& innerRead);

    HidBackend& m_inner;
    mutable QMutex m_lock;
    std::optional<QList<HidInterfaceInfo>> m_enumeration;
    QHash<int, Failure> m_failures;
    QSet<Handle> m_commandHandles;
    bool m_garbage = false;
    bool m_silent = false;
    bool m_holdSends = false;
    QWaitCondition m_sendsReleased;
};
