// SPDX-License-Identifier: GPL-3.0-or-later
#include "DeviceRecordList.h"

void DeviceRecordList::replace(const QList<DeviceRecord>& records) {
    QMutexLocker lock(&m_lock);
    m_records = records;
}

QList<DeviceRecord> DeviceRecordList::all() const {
    QMutexLocker lock(&m_lock);
    return m_records;
}

std::optional<DeviceRecord> DeviceRecordList::at(uint did) const {
    QMutexLocker lock(&m_lock);
    if (did >= static_cast<uint>(m_records.size()))
        return std::nullopt;
    return m_records.at(did);
}

void DeviceRecordList::clearPath(uint did, const QString& path) {
    QMutexLocker lock(&m_lock);
    if (did < static_cast<uint>(m_records.size()) && m_records[did].path == path)
        m_records[did].path.clear();
}

void DeviceRecordList::clearPath2(uint did, const QString& path2) {
    QMutexLocker lock(&m_lock);
    if (did < static_cast<uint>(m_records.size()) && m_records[did].path2 == path2)
        m_records[did].path2.clear();
}
