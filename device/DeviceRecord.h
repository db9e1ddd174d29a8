// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One record per catalogue entry, index = device id. Paths are empty while the
// entry is not present (or after its command path failed to open).

#include <QString>

struct DeviceRecord {
    int did = 0;
    QString name;
    int type = -1;
    QString path;  // command interface
    QString path2; // event interface
    unsigned int reportLength = 0;
};
