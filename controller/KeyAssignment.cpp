#include "KeyAssignment.h"

#include "ControllerLog.h"
#include "DevicePort.h"
#include "ProfileKeys.h"
#include "ProfileStore.h"
#include "SettingsValues.h"

namespace {

constexpr uint kKeyboardDevice = 0;
constexpr uint kMouseDevice = 1;
constexpr uchar kStandardMatrix = 1;

uchar byteOf(const QVariant& value) {
    return static_cast<uchar>(SettingsValues::integer(value, 0) & 0xFF);
}

// Entry n of a flat list, as the four values the pages passed.
QVariantList entryAt(const QVariantList& flat, int n) {
    QVariantList entry;
    for (int i = 0; i < KeyAssignment::kEntrySize; ++i)
        entry.append(SettingsValues::integer(flat.at(n * KeyAssignment::kEntrySize + i), 0));
    return entry;
}

template <std::size_t N> QVariantList toIntegers(const std::array<uchar, N>& bytes) {
    QVariantList values;
    values.reserve(static_cast<int>(N));
    for (uchar byte : bytes)
        values.append(static_cast<unsigned int>(byte));
    return values;
}

bool refuseShort(const QVariantList& list, int needed, const char* operation) {
    if (list.size() >= needed)
        return false;
    qCWarning(lcController) << operation << "refused: needs" << needed << "values, got" << list.size();
    return true;
}

} // namespace

KeyAssignment::KeyAssignment(ProfileStore& profiles, DevicePort& device, QObject* parent)
    : QObject(parent), m_profiles(profiles), m_device(device) {}

QVariantList KeyAssignment::getKeydefine(QVariant matrixId) {
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
    // Only entry numbers make keys: text could reach into other groups of the file.
    bool isNumber = false;
    const qlonglong id = matrixId.toLongLong(&isNumber);
    if (!isNumber || id < 0 || id >= entries) {
        qCWarning(lcController) << "getKeydefine refused: entry" << matrixId.toString() << "outside 0 to"
                                << entries - 1;
        return {};
    }
    return SettingsValues::integers(m_profiles.current().value(prefix + QString::number(id)));
}

std::array<uchar, KeyAssignment::kMouseMatrixBytes> KeyAssignment::mouseMatrixBytes(const QVariantList& src64) {
    std::array<uchar, kMouseMatrixBytes> bytes{};
    for (int i = 0; i < kMouseMatrixBytes && i < src64.size(); ++i) {
        bytes[i] = byteOf(src64.at(i));
        if (i % kEntrySize == 0 && bytes[i] == kTypeNamedKey)
            bytes[i] = kTypeKeyboard;
    }
    return bytes;
}

void KeyAssignment::ui_12H_SetKeyMatrix(QVariantList src64) {
    if (refuseShort(src64, kMouseMatrixBytes, "ui_12H_SetKeyMatrix"))
        return;
    QSettings& profile = m_profiles.current();
    for (int n = 0; n < kMouseEntries; ++n)
        profile.setValue(ProfileKeys::mouseButton(n), entryAt(src64, n));
    SettingsValues::flush(profile);
    m_device.setKeyMatrix(mouseMatrixBytes(src64), kStandardMatrix);
}

void KeyAssignment::ui_0DH_SetKeyMatrix(QVariantList src512) {
    if (refuseShort(src512, kKeyboardMatrixBytes, "ui_0DH_SetKeyMatrix"))
        return;
    QSettings& profile = m_profiles.current();
    for (int n = 0; n < kKeyboardStoredEntries; ++n)
        profile.setValue(ProfileKeys::keyboardKey(n), entryAt(src512, n));
    SettingsValues::flush(profile);
    Block512 bytes{};
    for (int i = 0; i < kKeyboardMatrixBytes; ++i)
        bytes[i] = byteOf(src512.at(i));
    m_device.setKeyboardKeyMatrix(bytes);
}

QVariantList KeyAssignment::ui_92H_GetKeyMatrix() {
    // Zeros stay in place when the device does not answer.
    Block64 bytes{};
    m_device.getKeyMatrix(bytes);
    return toIntegers(bytes);
}

QVariantList KeyAssignment::ui_8DH_GetKeyMatrix() {
    Block512 bytes{};
    m_device.getKeyboardKeyMatrix(bytes);
    return toIntegers(bytes);
}
