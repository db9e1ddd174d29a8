// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two configuration values the device worker reads. The application
// configuration implements it; tests hand values in directly.

#include <QString>
#include <QStringList>

class DeviceConfigSource {
public:
    virtual ~DeviceConfigSource() = default;
    // Value of "common/sCode<deviceId>", "731905" when absent.
    virtual QString secrecyCodeText(unsigned int deviceId) const = 0;
    // "common/product_name": entry n names catalogue device n.
    virtual QStringList productNames() const = 0;
};
