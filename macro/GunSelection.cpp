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
std::optional<QString> gunDataKey(const QVariant& name) {
    const QString text = name.toString();
    if (!LibraryFiles::isSafeName(text)) {
        qCWarning(lcMacro) << "refused gun data name" << text.left(LibraryFiles::kMaxNameLength);
        return std::nullopt;
    }
    return kGunDataGroup + QLatin1Char('/') + text;
}

// gunData.bin is never created here; every operation needs the file present.
bool hasGunDataFile() {
    return QFile::exists(LibraryFiles::gunDataPath());
}

} // namespace

GunSelection::GunSelection(ProfileStore& profiles, DevicePort& device, MacroLibrary& library, MacroUpload& upload)
    : m_profiles(profiles), m_device(device), m_library(library), m_upload(upload) {}

QVariantList GunSelection::getselectGun() {
    QSettings& profile = m_profiles.current();
    QVariantList positions;
    for (int slot = 0; slot < kGunSlotCount; ++slot)
        positions << StoredValues::numberOrValue(profile.value(ProfileKeys::selectedGun(slot), QString()));
    return positions;
}

void GunSelection::setSelectGun(QVariantList gunData) {
    if (gunData.size() < kGunSlotCount)
        return;
    QSettings& profile = m_profiles.current();
    for (int slot = 0; slot < kGunSlotCount; ++slot)
        profile.setValue(ProfileKeys::selectedGun(slot), gunData.at(slot));
    SettingsValues::flush(profile);
}

QVariantList GunSelection::getselectGunKey() {
    QSettings& profile = m_profiles.current();
    QVariantList values;
    for (int slot = 0; slot < kGunSlotCount; ++slot)
        values << StoredValues::numberOrValue(profile.value(ProfileKeys::gunKey(slot), QString()));
    for (int slot = 0; slot < kGunSlotCount; ++slot)
        values << StoredValues::numberOrValue(profile.value(ProfileKeys::gunKeyMode(slot), QString()));
    return values;
}

void GunSelection::setSelectGunKey(QVariantList gunData) {
    if (gunData.size() < 2LL * kGunSlotCount)
        return;
    QSettings& profile = m_profiles.current();
    for (int slot = 0; slot < kGunSlotCount; ++slot)
        profile.setValue(ProfileKeys::gunKey(slot), gunData.at(slot));
    for (int slot = 0; slot < kGunSlotCount; ++slot)
        profile.setValue(ProfileKeys::gunKeyMode(slot), gunData.at(kGunSlotCount + slot));
    SettingsValues::flush(profile);
}

void GunSelection::upDateDeleteGun(QVariant gunData) {
    const auto deleted = StoredValues::integer(gunData);
    if (!deleted)
        return;
    for (int position = 0; position < MacroLibrary::kReferencedProfiles; ++position) {
        if (position == m_profiles.currentIndex())
            continue;
        QSettings& profile = m_profiles.at(position);
        for (int slot = 0; slot < kGunSlotCount; ++slot) {
            // An unset slot reads as empty text, which chose no gun at all.
            const auto chosen = StoredValues::integer(profile.value(ProfileKeys::selectedGun(slot), QString()));
            if (!chosen || *chosen < *deleted)
                continue;
            if (*chosen > *deleted) {
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

QVariantList GunSelection::getGunKeydefine(QVariant keyMatrixIndex, QVariant matrixId) {
    const QVariant stored =
        m_profiles.current().value(ProfileKeys::gunMatrixButton(keyMatrixIndex.toUInt(), matrixId.toString()));
    // A list of numbers reads as numbers; anything else is handed back as its texts.
    if (QVariantList numbers = SettingsValues::integers(stored, SettingsValues::BadElement::RefusesList);
        !numbers.isEmpty())
        return numbers;
    QVariantList texts;
    for (const QString& text : SettingsValues::texts(stored))
        texts << text;
    return texts;
}

void GunSelection::ui_12H_SetGunKeyMatrix(QVariantList src64, QVariant keyMatrixIndex) {
    const auto matrix = StoredValues::integer(keyMatrixIndex);
    if (!matrix || *matrix < 1 || *matrix > kGunMatrixCount) {
        qCWarning(lcMacro) << "refused gun key matrix" << keyMatrixIndex.toString().left(LibraryFiles::kMaxNameLength)
                           << "outside 1 to" << kGunMatrixCount;
        return;
    }
    if (src64.size() < kMatrixBytes) {
        qCWarning(lcMacro) << "refused gun key matrix of" << src64.size() << "values instead of" << kMatrixBytes;
        return;
    }
    QSettings& profile = m_profiles.current();
    for (int entry = 0; entry < kMatrixEntries; ++entry)
        profile.setValue(ProfileKeys::gunMatrixButton(uint(*matrix), QString::number(entry)),
                         src64.mid(qsizetype{kEntrySize} * entry, kEntrySize));
    SettingsValues::flush(profile);

    Block64 payload{};
    for (int j = 0; j < kMatrixBytes; ++j) {
        const auto byte = uchar(src64.at(j).toInt() & 0xFF);
        // A named key is a plain key to the device.
        payload[j] = (j % kEntrySize == 0 && byte == kNamedKeyFunction) ? 0 : byte;
    }
    m_device.setKeyMatrix(payload, uchar(*matrix + 1));
}

void GunSelection::ui_04H_SetGunData(uchar par0, uchar par1, uchar par2, uchar par3, uchar par4) {
    m_device.setGunData(par0, par1, par2, par3, par4);
}

void GunSelection::saveGundata(QVariantList src6) {
    if (!hasGunDataFile() || src6.size() < kGunDataValues + 1)
        return;
    const auto key = gunDataKey(src6.first());
    if (!key)
        return;
    QSettings data(LibraryFiles::gunDataPath(), QSettings::IniFormat);
    data.setValue(*key, src6.mid(1, kGunDataValues));
    SettingsValues::flush(data);
}

void GunSelection::modifyGundata(QVariant modifyType, QVariantList src6) {
    if (!hasGunDataFile() || src6.isEmpty())
        return;
    constexpr int kReplacedName = 6;
    const auto type = StoredValues::integer(modifyType);
    const bool replaces = type == 1 && src6.size() > kReplacedName;
    const auto key = gunDataKey(src6.first());
    const auto replacedKey = replaces ? gunDataKey(src6.at(kReplacedName)) : key;
    // Both names are checked before anything changes.
    if (!key || !replacedKey)
        return;
    QSettings data(LibraryFiles::gunDataPath(), QSettings::IniFormat);
    if (type == 0) {
        data.remove(*key);
    } else {
        if (replaces)
            data.remove(*replacedKey);
        if (src6.size() > kGunDataValues)
            data.setValue(*key, src6.mid(1, kGunDataValues));
    }
    SettingsValues::flush(data);
}

QVariantList GunSelection::getGunData(QVariant name) {
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

QStringList GunSelection::getGunDataKey() {
    if (!hasGunDataFile())
        return {};
    QSettings data(LibraryFiles::gunDataPath(), QSettings::IniFormat);
    data.beginGroup(kGunDataGroup);
    return data.childKeys();
}

QList<uchar> GunSelection::gunImage(const QString& name) {
    if (name.isEmpty()) // a slot that chose no gun: nothing to upload, nothing refused
        return {};
    QStringList lines = m_library.loadGunIni(name);
    if (lines.isEmpty())
        return {};
    const int loopCount = StoredValues::integer(lines.takeLast()).value_or(kDefaultGunLoopCount);
    return MacroEncoder::encodePage(lines, loopCount, MacroEncoder::Variant::Gun);
}

QVariant GunSelection::uploadGunData(QStringList gunNames) {
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
