// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Discovery: reads the catalogue, finds the mouse's command and event
// interfaces among the attached HID devices, hands the records to the worker
// and lets it switch to its current device (which runs the handshake).
// Runs on the GUI thread; the host window's checkDevice slot only calls run().

#include "DeviceCatalog.h"
#include "DeviceRecord.h"

#include <QList>
#include <QString>

class DeviceConfigSource;
class HidBackend;
class Hid_Thread;

class DeviceDiscovery {
public:
    // Only this catalogue entry is ever looked for among the attached devices.
    static constexpr int kSearchedEntry = 1;

    DeviceDiscovery(HidBackend& backend, const DeviceConfigSource& config,
                    QString catalogPath = QString::fromLatin1(DeviceCatalog::kCarriedPath));

    void run(Hid_Thread& worker);
    // One record per entry, in order; paths set only where both interfaces were found.
    QList<DeviceRecord> match(const QList<DeviceEntry>& entries);

private:
    DeviceRecord matchEntry(int index, const DeviceEntry& entry);

    HidBackend& m_backend;
    const DeviceConfigSource& m_config;
    QString m_catalogPath;
};
