// SPDX-License-Identifier: GPL-3.0-or-later
#include "GunSelection.h"

#include "DevicePort.h"
#include "LibraryFiles.h"
#include "MacroEncoder.h"
#include "MacroLibrary.h"
#include "MacroLog.h"
#include "MacroUpload.h"
#include "ProfileKeys.h"
#include "ProfileStore.h"
#include "SettingsValues.h"
#include "StoredValues.h"

#include <QFile>
#include <QSettings>
#include <algorithm>
#include <optional>

namespace {

constexpr int kEntrySize = 4;
constexpr int kMatrixEntries = 16;
constexpr int kMatrixBytes = kEntrySize * kMatrixEntries;
constexpr int kNamedKeyFunction = 0x0F;
constexpr int kGunDataValues = 5;
constexpr int kDefaultGunLoopCount = 1;

const QString kGunDataGroup = QStringLiteral("gunData");

// A data set name is a key of the group; "/" or "\\" would make it a path of
// groups (an empty one names the group itself), so such names are refused as
// library names are (logged once here).
std::optional<QString> gunDataKey(const QString& name) {
    if (!LibraryFiles::isSafeName(name)) {
        qCWarning(lcMacro) << "refused gun data name" << name.left(LibraryFiles::kMaxNameLength);
        return std::nullopt;
    }
    return kGunDataGroup + QLatin1Char('/') + name;
}

// gunData.bin is never created here; every operation needs the file present.
bool hasGunDataFile() {
    return QFile::exists(LibraryFiles::gunDataPath());
}

} // namespace

GunSelection::GunSelection(ProfileStore& profiles, DevicePort& device, MacroLibrary& library, MacroUpload& upload)
    : m_profiles(profiles), m_device(device), m_library(library), m_upload(upload) {}

QVariantList GunSelection::chosenGuns() {
    QSettings& profile = m_profiles.current();
    QVariantList positions;
    for (int slot = 0; slot < kGunSlotCount; ++slot)
        positions << StoredValues::numberOrValue(profile.value(ProfileKeys::selectedGun(slot), QString()));
    return positions;
}

void GunSelection::chooseGuns(const QStringList& positions) {
    if (positions.size() < kGunSlotCount)
        return;
    QSettings& profile = m_profiles.current();
    for (int slot = 0; slot < kGunSlotCount; ++slot)
        profile.setValue(ProfileKeys::selectedGun(slot), positions.at(slot));
    SettingsValues::flush(profile);
}

QVariantList GunSelection::gunKeyBindings() {
    QSettings& profile = m_profiles.current();
    QVariantList values;
    for (int slot = 0; slot < kGunSlotCount; ++slot)
        values << StoredValues::numberOrValue(profile.value(ProfileKeys::gunKey(slot), QString()));
    for (int slot = 0; slot < kGunSlotCount; ++slot)
        values << StoredValues::numberOrValue(profile.value(ProfileKeys::gunKeyMode(slot), QString()));
    return values;
}

void GunSelection::bindGunKeys(const QStringList& keysThenModes) {
    if (keysThenModes.size() < 2LL * kGunSlotCount)
        return;
    QSettings& profile = m_profiles.current();
    for (int slot = 0; slot < kGunSlotCount; ++slot)
        profile.setValue(ProfileKeys::gunKey(slot), keysThenModes.at(slot));
    for (int slot = 0; slot < kGunSlotCount; ++slot)
        profile.setValue(ProfileKeys::gunKeyMode(slot), keysThenModes.at(kGunSlotCount + slot));
    SettingsValues::flush(profile);
}

void GunSelection::forgetDeletedGun(int deletedPosition) {
    for (int position = 0; position < MacroLibrary::kReferencedProfiles; ++position) {
        if (position == m_profiles.currentIndex())
            continue;
        QSettings& profile = m_profiles.at(position);
        for (int slot = 0; slot < kGunSlotCount; ++slot) {
            // An unset slot reads as empty text, which chose no gun at all.
            const auto chosen = StoredValues::integer(profile.value(ProfileKeys::selectedGun(slot), QString()));
            if (!chosen || *chosen < deletedPosition)
                continue;
            if (*chosen > deletedPosition) {
                // The guns after the deleted one move up a place; the slot keeps its gun.
                profile.setValue(ProfileKeys::selectedGun(slot), *chosen - 1);
                continue;
            }
            profile.setValue(ProfileKeys::gunKey(slot), kUnbound);
            profile.setValue(ProfileKeys::selectedGun(slot), kFallbackGunPosition);
        }
        SettingsValues::flush(profile);
    }
}

QVariantList GunSelection::gunMatrixEntry(uint matrix, const QString& entry) {
    const QVariant stored = m_profiles.current().value(ProfileKeys::gunMatrixButton(matrix, entry));
    // A list of numbers reads as numbers; anything else is handed back as its texts.
    if (QVariantList numbers = SettingsValues::integers(stored, SettingsValues::BadElement::RefusesList);
        !numbers.isEmpty())
        return numbers;
    QVariantList texts;
    for (const QString& text : SettingsValues::texts(stored))
        texts << text;
    return texts;
}

void GunSelection::setGunKeyMatrix(int matrix, const QList<int>& values) {
    if (matrix < 1 || matrix > kGunMatrixCount) {
        qCWarning(lcMacro) << "refused gun key matrix" << QString::number(matrix) << "outside 1 to" << kGunMatrixCount;
        return;
    }
    if (values.size() < kMatrixBytes) {
        qCWarning(lcMacro) << "refused gun key matrix of" << values.size() << "values instead of" << kMatrixBytes;
        return;
    }
    QSettings& profile = m_profiles.current();
    for (int entry = 0; entry < kMatrixEntries; ++entry)
        profile.setValue(ProfileKeys::gunMatrixButton(uint(matrix), QString::number(entry)),
                         SettingsValues::toVariantList(values.mid(qsizetype{kEntrySize} * entry, kEntrySize)));
    SettingsValues::flush(profile);

    Block64 payload{};
    for (int j = 0; j < kMatrixBytes; ++j) {
        const auto byte = uchar(values.at(j) & 0xFF);
        // A named key is a plain key to the device.
        payload[j] = (j % kEntrySize == 0 && byte == kNamedKeyFunction) ? 0 : byte;
    }
    m_device.setKeyMatrix(payload, uchar(matrix + 1));
}

void GunSelection::ui_04H_SetGunData(uchar par0, uchar par1, uchar par2, uchar par3, uchar par4) {
    m_device.setGunData(par0, par1, par2, par3, par4);
}

void GunSelection::saveGunData(const QString& name, const QStringList& values) {
    if (!hasGunDataFile() || values.size() < kGunDataValues)
        return;
    const auto key = gunDataKey(name);
    if (!key)
        return;
    QSettings data(LibraryFiles::gunDataPath(), QSettings::IniFormat);
    data.setValue(*key, values.mid(0, kGunDataValues));
    SettingsValues::flush(data);
}

void GunSelection::removeGunData(const QString& name) {
    if (!hasGunDataFile())
        return;
    const auto key = gunDataKey(name);
    if (!key)
        return;
    QSettings data(LibraryFiles::gunDataPath(), QSettings::IniFormat);
    data.remove(*key);
    SettingsValues::flush(data);
}

void GunSelection::updateGunData(const QString& name, const QStringList& values,
                                 const std::optional<QString>& replacedName) {
    if (!hasGunDataFile())
        return;
    const auto key = gunDataKey(name);
    const auto replacedKey = replacedName ? gunDataKey(*replacedName) : key;
    // Both names are checked before anything changes.
    if (!key || !replacedKey)
        return;
    QSettings data(LibraryFiles::gunDataPath(), QSettings::IniFormat);
    if (replacedName)
        data.remove(*replacedKey);
    if (!values.isEmpty())
        data.setValue(*key, values);
    SettingsValues::flush(data);
}

QVariantList GunSelection::gunData(const QString& name) {
    if (!hasGunDataFile())
        return {};
    const auto key = gunDataKey(name);
    if (!key)
        return {};
    QSettings data(LibraryFiles::gunDataPath(), QSettings::IniFormat);
    QVariantList values;
    for (const QString& text : SettingsValues::texts(data.value(*key)))
        values << StoredValues::numberOrValue(text);
    return values;
}

QStringList GunSelection::gunDataNames() {
    if (!hasGunDataFile())
        return {};
    QSettings data(LibraryFiles::gunDataPath(), QSettings::IniFormat);
    data.beginGroup(kGunDataGroup);
    return data.childKeys();
}

QList<uchar> GunSelection::gunImage(const QString& name) {
    if (name.isEmpty()) // a slot that chose no gun: nothing to upload, nothing refused
        return {};
    QStringList lines = m_library.loadEntry(LibraryKind::Gun, name);
    if (lines.isEmpty())
        return {};
    const int loopCount = StoredValues::integer(lines.takeLast()).value_or(kDefaultGunLoopCount);
    return MacroEncoder::encodePage(lines, loopCount, MacroEncoder::Variant::Gun);
}

bool GunSelection::uploadGunData(const QStringList& gunNames) {
    QList<QList<uchar>> images;
    QList<uchar> all;
    for (int slot = 0; slot < kGunSlotCount; ++slot) {
        images << (slot < gunNames.size() ? gunImage(gunNames.at(slot)) : QList<uchar>{});
        all << images.last();
    }

    const bool fits = all.size() < kUploadLimit;
    if (fits) {
        constexpr int kPiece = MacroUpload::kMouseImageSize;
        for (qsizetype offset = 0, slot = kFirstGunMacroSlot; offset < all.size(); offset += kPiece, ++slot) {
            m_upload.sendImage(int(slot), all.mid(offset, kPiece));
        }
    }
    for (int slot = 0; slot < kGunSlotCount; ++slot) {
        const int words = int((images.at(slot).size() + 1) / 2);
        ui_04H_SetGunData(uchar(words % 256), uchar(words / 256), 0, 0, uchar(slot));
    }
    return fits;
}
