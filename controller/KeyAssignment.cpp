// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyAssignment.h"

#include "ControllerLog.h"
#include "DevicePort.h"
#include "ProfileKeys.h"
#include "ProfileStore.h"
#include "SettingsValues.h"
#include "ValueRange.h"

namespace {

constexpr uint kKeyboardDevice = 0;
constexpr uint kMouseDevice = 1;
constexpr uchar kStandardMatrix = 1;

// Entry n of a flat list, as the four values the pages passed.
QVariantList entryAt(const QList<int>& flat, int n) {
    QVariantList entry;
    for (int i = 0; i < KeyAssignment::kEntrySize; ++i)
        entry.append(flat.at(n * KeyAssignment::kEntrySize + i));
    return entry;
}

} // namespace

KeyAssignment::KeyAssignment(ProfileStore& profiles, DevicePort& device, QObject* parent)
    : QObject(parent), m_profiles(profiles), m_device(device) {}

QList<int> KeyAssignment::storedEntry(long long entry) {
    QString prefix;
    int entries = 0;
    if (m_device.currentDeviceId() == kKeyboardDevice) {
        prefix = QStringLiteral("keydefine/");
        entries = kKeyboardStoredEntries;
    } else if (m_device.currentDeviceId() == kMouseDevice) {
        prefix = QStringLiteral("keydefine_Q3/");
        entries = kMouseEntries;
    } else {
        return {};
    }
    if (!ValueRange::check(entry, 0, entries - 1, "getKeydefine", "entry"))
        return {};
    QList<int> values;
    for (const QVariant& value : SettingsValues::integers(m_profiles.current().value(prefix + QString::number(entry))))
        values.append(value.toInt());
    return values;
}

Block64 KeyAssignment::mouseMatrixBytes(const QList<int>& values) {
    Block64 bytes = SettingsValues::byteBlock<kMouseMatrixBytes>(values);
    for (std::size_t i = 0; i < bytes.size(); i += kEntrySize) {
        if (bytes[i] == kTypeNamedKey)
            bytes[i] = kTypeKeyboard;
    }
    return bytes;
}

void KeyAssignment::assignMouseButtons(const QList<int>& values) {
    if (SettingsValues::refuseShort(values, kMouseMatrixBytes, "ui_12H_SetKeyMatrix", lcController))
        return;
    QSettings& profile = m_profiles.current();
    for (int n = 0; n < kMouseEntries; ++n)
        profile.setValue(ProfileKeys::mouseButton(n), entryAt(values, n));
    SettingsValues::flush(profile);
    m_device.setKeyMatrix(mouseMatrixBytes(values), kStandardMatrix);
}

void KeyAssignment::assignKeyboardKeys(const QList<int>& values) {
    if (SettingsValues::refuseShort(values, kKeyboardMatrixBytes, "ui_0DH_SetKeyMatrix", lcController))
        return;
    QSettings& profile = m_profiles.current();
    for (int n = 0; n < kKeyboardStoredEntries; ++n)
        profile.setValue(ProfileKeys::keyboardKey(n), entryAt(values, n));
    SettingsValues::flush(profile);
    m_device.setKeyboardKeyMatrix(SettingsValues::byteBlock<kKeyboardMatrixBytes>(values));
}

Block64 KeyAssignment::readMouseButtons() {
    Block64 bytes{};
    m_device.getKeyMatrix(bytes);
    return bytes;
}

Block512 KeyAssignment::readKeyboardKeys() {
    Block512 bytes{};
    m_device.getKeyboardKeyMatrix(bytes);
    return bytes;
}
