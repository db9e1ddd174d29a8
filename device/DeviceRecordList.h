// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The worker's device records behind a lock: discovery replaces the list on
// the GUI thread while the transport (pool threads) and the listener clear
// paths of records that went away.

#include "DeviceRecord.h"

#include <QList>
#include <QMutex>
#include <optional>

class DeviceRecordList {
public:
    void replace(const QList<DeviceRecord>& records);
    QList<DeviceRecord> all() const;
    std::optional<DeviceRecord> at(uint did) const;
    // Clears the path only while it still names `path`, so a newer discovery is not undone.
    void clearPath(uint did, const QString& path);
    void clearPath2(uint did, const QString& path2);

private:
    mutable QMutex m_lock;
    QList<DeviceRecord> m_records;
};
