// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The configuration values the device worker reads (secrecy codes, product
// names), taken from the application configuration.

#include "DeviceConfigSource.h"

class AppConfig;

class AppConfigDeviceSource final : public DeviceConfigSource {
public:
    explicit AppConfigDeviceSource(const AppConfig& config) : m_config(config) {}

    QString secrecyCodeText(unsigned int deviceId) const override;
    QStringList productNames() const override;

private:
    const AppConfig& m_config;
};
