// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The seam between the transport and hidapi. Everything above it is the same
// code for real hardware (HidapiBackend) and the virtual mouse
// (VirtualHidBackend). Methods mirror the hidapi calls the transport uses;
// they may be called from the GUI thread, pool threads and the listener.

#include <QList>
#include <QString>
#include <cstddef>
#include <cstdint>

struct HidInterfaceInfo {
    QString path;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
};

class HidBackend {
public:
    using Handle = void*;

    virtual ~HidBackend() = default;
    virtual QList<HidInterfaceInfo> enumerate(std::uint16_t vendorId, std::uint16_t productId) = 0;
    // Returns nullptr when the path cannot be opened.
    virtual Handle open(const QString& path) = 0;
    virtual int setNonBlocking(Handle handle, int nonBlock) = 0;
    virtual int sendFeatureReport(Handle handle, const unsigned char* data, std::size_t length) = 0;
    virtual int getFeatureReport(Handle handle, unsigned char* data, std::size_t length) = 0;
    virtual int write(Handle handle, const unsigned char* data, std::size_t length) = 0;
    virtual int read(Handle handle, unsigned char* data, std::size_t length) = 0;
    virtual int readTimeout(Handle handle, unsigned char* data, std::size_t length, int milliseconds) = 0;
    virtual void close(Handle handle) = 0;
};
