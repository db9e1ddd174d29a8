// SPDX-License-Identifier: GPL-3.0-or-later
#include "DeviceCatalog.h"

#include "DeviceLog.h"
#include "HidTransport.h"

#include <QSettings>

namespace {

std::uint16_t hexValue(const QSettings& ini, const QString& key) {
    bool ok = false;
    const uint value = ini.value(key).toString().toUInt(&ok, 16);
    return ok && value <= 0xFFFF ? static_cast<std::uint16_t>(value) : 0;
}

int typeValue(const QSettings& ini, const QString& key) {
    bool ok = false;
    const int value = ini.value(key).toString().toInt(&ok, 16);
    return ok ? value : -1;
}

} // namespace

DeviceCatalog::DeviceCatalog(const QString& path, const QStringList& productNames) {
    const QSettings ini(path, QSettings::IniFormat);
    m_scrambling = ini.value(QStringLiteral("common/isEncode"), false).toBool();
    const int total = ini.value(QStringLiteral("common/total"), 0).toInt();
    for (int n = 0; n < total; ++n) {
        const QString group = QString::number(n) + QLatin1Char('/');
        DeviceEntry entry;
        entry.type = typeValue(ini, group + QStringLiteral("type"));
        entry.vid = hexValue(ini, group + QStringLiteral("vid"));
        entry.pid = hexValue(ini, group + QStringLiteral("pid"));
        entry.usagePage = hexValue(ini, group + QStringLiteral("usagePage"));
        entry.usage = hexValue(ini, group + QStringLiteral("usage"));
        entry.usagePage2 = hexValue(ini, group + QStringLiteral("usagePage2"));
        entry.usage2 = hexValue(ini, group + QStringLiteral("usage2"));
        entry.reportLength = ini.value(group + QStringLiteral("reportLength"), 0).toUInt();
        entry.name = n < productNames.size() ? productNames.at(n) : QString();
        entry.usable = reportLengthFits(entry.reportLength);
        if (!entry.usable)
            qCWarning(lcDevice) << "catalogue entry" << n << "refused: report length" << entry.reportLength;
        m_entries.append(entry);
    }
}

bool DeviceCatalog::reportLengthFits(unsigned int reportLength) {
    return HidTransport::bulkFits(HidTransport::kLargestPayload, reportLength);
}
