#pragma once
// The HID seam hosting the virtual mouse in-process: two interfaces,
// virtual:cmd (ff00/ff00) and virtual:evt (ff01/ff01). Carries failure hooks
// so tests can make opens, reports and reads fail, answers turn to garbage,
// the device go silent or an enumeration look any way they like.
//
// Threads: safe from any thread; the mouse locks itself, the hooks are guarded here.

#include "HidBackend.h"
#include "VirtualMouse.h"

#include <QMutex>
#include <QSet>
#include <QWaitCondition>
#include <optional>

class VirtualHidBackend : public HidBackend {
public:
    static constexpr const char* kCommandPath = "virtual:cmd";
    static constexpr const char* kEventPath = "virtual:evt";

    enum class Op { Open, SendFeature, GetFeature, Write, Read };

    // `iniPath`: where the mouse keeps its memory; empty = not kept.
    explicit VirtualHidBackend(const QString& iniPath = {});
    ~VirtualHidBackend() override;

    VirtualMouse& mouse() { return m_mouse; }

    // Test hooks.
    // Replaces what enumerate() reports (filtered by ids as hidapi does); nullopt restores the mouse's own.
    void setEnumeration(const std::optional<QList<HidInterfaceInfo>>& interfaces);
    // Makes `count` calls of `op` fail after `skip` more calls succeed.
    void failNext(Op op, int count = 1, int skip = 0);
    void setGarbageAnswers(bool on);
    // A silent device takes reports but answers nothing: feature reads fail, input reads time out.
    void setSilent(bool on);
    // While held, every feature report waits before it is taken, like a device that
    // stalls; releasing lets the waiting ones through. A test decides when a transfer
    // ends instead of racing a fixed delay against the host's timing.
    void holdSends(bool on);
    int openHandles() const;

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
    struct VirtualHandle {
        bool event = false;
    };
    struct Failure {
        int skip = 0;
        int count = 0;
    };

    bool shouldFail(Op op);
    std::optional<bool> isEventHandle(Handle handle) const;
    static QList<HidInterfaceInfo> ownInterfaces();
    void garble(unsigned char* data, std::size_t length) const;

    VirtualMouse m_mouse;
    mutable QMutex m_lock;
    QSet<VirtualHandle*> m_handles;
    std::optional<QList<HidInterfaceInfo>> m_enumeration;
    QHash<int, Failure> m_failures;
    bool m_garbage = false;
    bool m_silent = false;
    bool m_holdSends = false;
    QWaitCondition m_sendsReleased;
};
