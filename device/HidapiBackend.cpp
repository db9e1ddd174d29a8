// SPDX-License-Identifier: GPL-3.0-or-later
#include "HidapiBackend.h"

#include "DeviceLog.h"

#include <hidapi/hidapi.h>

namespace {
hid_device* device(HidBackend::Handle handle) {
    return static_cast<hid_device*>(handle);
}
} // namespace

HidapiBackend::HidapiBackend() : m_initialised(hid_init() == 0) {
    if (!m_initialised)
        qCWarning(lcDevice) << "hidapi initialisation failed";
}

HidapiBackend::~HidapiBackend() {
    if (m_initialised)
        hid_exit();
}

QList<HidInterfaceInfo> HidapiBackend::enumerate(std::uint16_t vendorId, std::uint16_t productId) {
    QList<HidInterfaceInfo> interfaces;
    hid_device_info* list = hid_enumerate(vendorId, productId);
    for (const hid_device_info* info = list; info; info = info->next) {
        interfaces.append(HidInterfaceInfo{QString::fromLocal8Bit(info->path), info->vendor_id, info->product_id,
                                           info->usage_page, info->usage});
    }
    hid_free_enumeration(list);
    return interfaces;
}

HidBackend::Handle HidapiBackend::open(const QString& path) {
    return hid_open_path(path.toLocal8Bit().constData());
}

int HidapiBackend::setNonBlocking(Handle handle, int nonBlock) {
    return hid_set_nonblocking(device(handle), nonBlock);
}

int HidapiBackend::sendFeatureReport(Handle handle, const unsigned char* data, std::size_t length) {
    return hid_send_feature_report(device(handle), data, length);
}

int HidapiBackend::getFeatureReport(Handle handle, unsigned char* data, std::size_t length) {
    return hid_get_feature_report(device(handle), data, length);
}

int HidapiBackend::write(Handle handle, const unsigned char* data, std::size_t length) {
    return hid_write(device(handle), data, length);
}

int HidapiBackend::read(Handle handle, unsigned char* data, std::size_t length) {
    return hid_read(device(handle), data, length);
}

int HidapiBackend::readTimeout(Handle handle, unsigned char* data, std::size_t length, int milliseconds) {
    return hid_read_timeout(device(handle), data, length, milliseconds);
}

void HidapiBackend::close(Handle handle) {
    hid_close(device(handle));
}
