// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The device catalogue: reads the INI catalogue (normally the carried
// resource :/DevInfo.ini) into device entries. Used on the GUI thread by
// discovery and once by the wire tracer.

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

struct DeviceEntry {
    int type = -1;
    std::uint16_t vid = 0;
    std::uint16_t pid = 0;
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    std::uint16_t usagePage2 = 0;
    std::uint16_t usage2 = 0;
    QString name;
    unsigned int reportLength = 0;
    // False when the entry's report length cannot carry the command set's
    // payloads through the bulk buffer; such an entry is never looked for.
    bool usable = true;
};

class DeviceCatalog {
public:
    static constexpr const char* kCarriedPath = ":/DevInfo.ini";

    // Reads the catalogue at `path`; entry n is named by productNames[n] when present.
    explicit DeviceCatalog(const QString& path = QString::fromLatin1(kCarriedPath),
                           const QStringList& productNames = {});

    const QList<DeviceEntry>& entries() const { return m_entries; }
    bool scramblingEnabled() const { return m_scrambling; }

    // A report length whose whole-chunk rounding of the largest payload still fits the bulk buffer.
    static bool reportLengthFits(unsigned int reportLength);

private:
    QList<DeviceEntry> m_entries;
    bool m_scrambling = false;
};
