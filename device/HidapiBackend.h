// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The HID seam on the real hidapi library (hidraw backend). Owns hidapi's
// global initialisation. Threads: any; hidapi handles are used by one thread at a time.

#include "HidBackend.h"

class HidapiBackend : public HidBackend {
public:
    HidapiBackend();
    ~HidapiBackend() override;
    HidapiBackend(const HidapiBackend&) = delete;
    HidapiBackend& operator=(const HidapiBackend&) = delete;

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
    bool m_initialised = false;
};
