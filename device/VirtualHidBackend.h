// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The HID seam hosting the virtual mouse in-process: two interfaces,
// virtual:cmd (ff00/ff00) and virtual:evt (ff01/ff01). It behaves as the
// device does; tests that need a misbehaving device wrap it in a decorator.
//
// Threads: safe from any thread; the mouse locks itself, the handles are guarded here.

#include "HidBackend.h"
#include "VirtualMouse.h"

#include <QMutex>
#include <QSet>
#include <optional>

class VirtualHidBackend : public HidBackend {
public:
    static constexpr const char* kCommandPath = "virtual:cmd";
    static constexpr const char* kEventPath = "virtual:evt";

    // `iniPath`: where the mouse keeps its memory; empty = not kept.
    explicit VirtualHidBackend(const QString& iniPath = {});
    ~VirtualHidBackend() override;

    VirtualMouse& mouse() { return m_mouse; }

    // Handles opened and not closed yet: a transfer that leaves one behind leaks it.
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
    std::optional<bool> isEventHandle(Handle handle) const;
    static QList<HidInterfaceInfo> ownInterfaces();

    VirtualMouse m_mouse;
    mutable QMutex m_lock;
    QSet<VirtualHandle*> m_handles;
};
