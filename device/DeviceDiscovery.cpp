// SPDX-License-Identifier: GPL-3.0-or-later
#include "DeviceDiscovery.h"

#include "DeviceConfigSource.h"
#include "HidBackend.h"
#include "Hid_Thread.h"
#include "LinkState.h"

DeviceDiscovery::DeviceDiscovery(HidBackend& backend, const DeviceConfigSource& config, QString catalogPath)
    : m_backend(backend), m_config(config), m_catalogPath(std::move(catalogPath)) {}

void DeviceDiscovery::run(Hid_Thread& worker) {
    const DeviceCatalog catalog(m_catalogPath, m_config.productNames());
    worker.setRecords(match(catalog.entries()));
    LinkState::scramblingEnabled.store(catalog.scramblingEnabled());
    worker.swichCurDevice(worker.curDevice());
}

QList<DeviceRecord> DeviceDiscovery::match(const QList<DeviceEntry>& entries) {
    QList<DeviceRecord> records;
    for (int n = 0; n < entries.size(); ++n)
        records.append(matchEntry(n, entries.at(n)));
    return records;
}

DeviceRecord DeviceDiscovery::matchEntry(int index, const DeviceEntry& entry) {
    DeviceRecord record;
    record.did = index;
    record.name = entry.name;
    record.type = entry.type;
    if (index != kSearchedEntry || !entry.usable)
        return record;

    QString path;
    QString path2;
    for (const HidInterfaceInfo& info : m_backend.enumerate(entry.vid, entry.pid)) {
        if (info.usagePage == entry.usagePage && info.usage == entry.usage)
            path = info.path;
        if (info.usagePage == entry.usagePage2 && info.usage == entry.usage2)
            path2 = info.path;
        // Stored after every interface, so the last match of each pair wins.
        if (!path.isEmpty() && !path2.isEmpty()) {
            record.path = path;
            record.path2 = path2;
            record.reportLength = entry.reportLength;
        }
    }
    return record;
}
