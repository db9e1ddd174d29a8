// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppConfigDeviceSource.h"

#include "AppConfig.h"

QString AppConfigDeviceSource::secrecyCodeText(unsigned int deviceId) const {
    return m_config.secrecyCodeText(deviceId);
}

QStringList AppConfigDeviceSource::productNames() const {
    return m_config.productNames();
}
