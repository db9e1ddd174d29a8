#include "KeyAssignment.h"

#include "Hid_Thread.h"
#include "ProfileKeys.h"
#include "ProfileStore.h"
#include "SettingsValues.h"
#include "StoreLog.h"

namespace {

constexpr uint kKeyboardDevice = 0;
constexpr uint kMouseDevice = 1;
constexpr uchar kStandardMatrix = 1;

// Entry n of a flat list, as the four values the pages passed.
QVariantList entryAt(const QVariantList& flat, int n) {
    QVariantList entry;
    for (int i = 0; i < KeyAssignment::kEntrySize; ++i)
        entry.append(SettingsValues::integer(flat.at(n * KeyAssignment::kEntrySize + i), 0));
    return entry;
}

} // namespace

KeyAssignment::KeyAssignment(ProfileStore& profiles, Hid_Thread& worker, QObject* parent)
    : QObject(parent), m_profiles(profiles), m_worker(worker) {}

QVariantList KeyAssignment::getKeydefine(QVariant matrixId) {
    QString prefix;
    int entries = 0;
    if (m_worker.curDevice() == kKeyboardDevice) {
        prefix = QStringLiteral("keydefine/");
        entries = kKeyboardStoredEntries;
    } else if (m_worker.curDevice() == kMouseDevice) {
        prefix = QStringLiteral("keydefine_Q3/");
        entries = kMouseEntries;
    } else {
        return {};
    }
    // Only entry numbers make keys: text could reach into other groups of the file.
    bool isNumber = false;
    const qlonglong id = matrixId.toLongLong(&isNumber);
    if (!isNumber || id < 0 || id >= entries) {
        qCWarning(lcStore) << "getKeydefine refused: entry" << matrixId.toString() << "outside 0 to" << entries - 1;
        return {};
    }
    return SettingsValues::integers(m_profiles.current().value(prefix + QString::number(id)));
}

std::array<uchar, KeyAssignment::kMouseMatrixBytes> KeyAssignment::mouseMatrixBytes(const QVariantList& src64) {
    std::array<uchar, kMouseMatrixBytes> bytes = SettingsValues::byteBlock<kMouseMatrixBytes>(src64);
    for (std::size_t i = 0; i < bytes.size(); i += kEntrySize) {
        if (bytes[i] == kTypeNamedKey)
            bytes[i] = kTypeKeyboard;
    }
    return bytes;
}

void KeyAssignment::ui_12H_SetKeyMatrix(QVariantList src64) {
    if (SettingsValues::refuseShort(src64, kMouseMatrixBytes, "ui_12H_SetKeyMatrix", lcStore))
        return;
    QSettings& profile = m_profiles.current();
    for (int n = 0; n < kMouseEntries; ++n)
        profile.setValue(ProfileKeys::mouseButton(n), entryAt(src64, n));
    SettingsValues::flush(profile);
    m_worker.hid_12H_SetKeyMatrix(mouseMatrixBytes(src64), kStandardMatrix);
}

void KeyAssignment::ui_0DH_SetKeyMatrix(QVariantList src512) {
    if (SettingsValues::refuseShort(src512, kKeyboardMatrixBytes, "ui_0DH_SetKeyMatrix", lcStore))
        return;
    QSettings& profile = m_profiles.current();
    for (int n = 0; n < kKeyboardStoredEntries; ++n)
        profile.setValue(ProfileKeys::keyboardKey(n), entryAt(src512, n));
    SettingsValues::flush(profile);
    m_worker.hid_0DH_SetKeyMatrix(SettingsValues::byteBlock<kKeyboardMatrixBytes>(src512));
}

QVariantList KeyAssignment::ui_92H_GetKeyMatrix() {
    // Zeros stay in place when the device does not answer.
    Block64 bytes{};
    m_worker.hid_92H_GetKeyMatrix(bytes);
    return SettingsValues::toVariantList(bytes);
}

QVariantList KeyAssignment::ui_8DH_GetKeyMatrix() {
    Block512 bytes{};
    m_worker.hid_8DH_GetKeyMatrix(bytes);
    return SettingsValues::toVariantList(bytes);
}
