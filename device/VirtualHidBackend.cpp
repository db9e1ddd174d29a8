// SPDX-License-Identifier: GPL-3.0-or-later
#include "VirtualHidBackend.h"

#include "LinkState.h"

namespace {
constexpr std::uint16_t kCommandUsage = 0xff00;
constexpr std::uint16_t kEventUsage = 0xff01;
} // namespace

VirtualHidBackend::VirtualHidBackend(const QString& iniPath) : m_mouse(iniPath) {}

VirtualHidBackend::~VirtualHidBackend() {
    QMutexLocker lock(&m_lock);
    qDeleteAll(m_handles);
}

QList<HidInterfaceInfo> VirtualHidBackend::ownInterfaces() {
    HidInterfaceInfo command{QString::fromLatin1(kCommandPath), VirtualMouse::kVendorId, VirtualMouse::kProductId,
                             kCommandUsage, kCommandUsage};
    HidInterfaceInfo event{QString::fromLatin1(kEventPath), VirtualMouse::kVendorId, VirtualMouse::kProductId,
                           kEventUsage, kEventUsage};
    return {command, event};
}

int VirtualHidBackend::openHandles() const {
    QMutexLocker lock(&m_lock);
    return static_cast<int>(m_handles.size());
}

std::optional<bool> VirtualHidBackend::isEventHandle(Handle handle) const {
    QMutexLocker lock(&m_lock);
    auto* known = static_cast<VirtualHandle*>(handle);
    if (!m_handles.contains(known))
        return std::nullopt;
    return known->event;
}

QList<HidInterfaceInfo> VirtualHidBackend::enumerate(std::uint16_t vendorId, std::uint16_t productId) {
    if (!m_mouse.isPlugged())
        return {};
    QList<HidInterfaceInfo> matching;
    for (const HidInterfaceInfo& info : ownInterfaces()) {
        // hidapi treats 0 as "any" for both ids.
        if ((vendorId == 0 || info.vendorId == vendorId) && (productId == 0 || info.productId == productId))
            matching.append(info);
    }
    return matching;
}

HidBackend::Handle VirtualHidBackend::open(const QString& path) {
    if (!m_mouse.isPlugged())
        return nullptr;
    const bool event = path == QLatin1String(kEventPath);
    if (!event && path != QLatin1String(kCommandPath))
        return nullptr;
    auto* handle = new VirtualHandle{event};
    QMutexLocker lock(&m_lock);
    m_handles.insert(handle);
    return handle;
}

int VirtualHidBackend::setNonBlocking(Handle handle, int) {
    return isEventHandle(handle) ? 0 : -1;
}

int VirtualHidBackend::sendFeatureReport(Handle handle, const unsigned char* data, std::size_t length) {
    const std::optional<bool> event = isEventHandle(handle);
    if (!event || *event || !m_mouse.isPlugged())
        return -1;
    // The mouse follows the scrambling setting of the catalogue the host runs with.
    m_mouse.setScrambling(LinkState::scramblingEnabled.load());
    m_mouse.receiveFeatureReport(data, length);
    return static_cast<int>(length);
}

int VirtualHidBackend::getFeatureReport(Handle handle, unsigned char* data, std::size_t length) {
    const std::optional<bool> event = isEventHandle(handle);
    if (!event || *event || !m_mouse.isPlugged())
        return -1;
    return m_mouse.answerFeatureReport(data, length);
}

int VirtualHidBackend::write(Handle handle, const unsigned char* data, std::size_t length) {
    const std::optional<bool> event = isEventHandle(handle);
    if (!event || *event || !m_mouse.isPlugged())
        return -1;
    m_mouse.receiveOutputReport(data, length);
    return static_cast<int>(length);
}

int VirtualHidBackend::read(Handle handle, unsigned char* data, std::size_t length) {
    return readTimeout(handle, data, length, -1);
}

int VirtualHidBackend::readTimeout(Handle handle, unsigned char* data, std::size_t length, int milliseconds) {
    const std::optional<bool> event = isEventHandle(handle);
    // Reading a removed device fails, as it does on a real one.
    if (!event || !m_mouse.isPlugged())
        return -1;
    return *event ? m_mouse.nextEventReport(data, length, milliseconds)
                  : m_mouse.nextInputReport(data, length, milliseconds);
}

void VirtualHidBackend::close(Handle handle) {
    QMutexLocker lock(&m_lock);
    auto* known = static_cast<VirtualHandle*>(handle);
    if (m_handles.remove(known))
        delete known;
}
