// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Recoil ("gun") data of the current profile: the guns chosen for the three gun
// slots, the buttons bound as gun keys, the three gun key matrices, the upload
// of the chosen guns into the macro slots, and the named five-value sets of
// gunData.bin. The view converts the pages' values; these methods take them
// typed. uploadGunData is the byte-computing step of the gun page, moved here
// so it is tested once.
// GUI thread only.

#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <optional>

class DevicePort;
class MacroLibrary;
class MacroUpload;
class ProfileStore;

class GunSelection {
public:
    static constexpr int kGunSlotCount = 3;
    static constexpr int kGunMatrixCount = 3;      // gun key matrices 1..3
    static constexpr int kFirstGunMacroSlot = 5;   // gun images fill macro slots 5, 6, ...
    static constexpr int kUploadLimit = 896;       // 7 slots of 128 bytes
    static constexpr int kFallbackGunPosition = 2; // what a slot falls back to
    static constexpr int kUnbound = -1;

    GunSelection(ProfileStore& profiles, DevicePort& device, MacroLibrary& library, MacroUpload& upload);

    // The gun positions chosen for the three gun slots, numbers where they are.
    QVariantList chosenGuns();
    // Records the gun positions of the three gun slots; fewer than three change nothing.
    void chooseGuns(const QStringList& positions);
    // The three gun keys, then the three gun key modes, numbers where they are.
    QVariantList gunKeyBindings();
    // Records three gun keys then three modes; fewer than six change nothing.
    void bindGunKeys(const QStringList& keysThenModes);
    // After gun `deletedPosition` was deleted: in the other profiles, slots that
    // chose it fall back and lose their key, those choosing later guns follow them.
    void forgetDeletedGun(int deletedPosition);
    // Entry `entry` of gun key matrix `matrix`: numbers, or the stored texts.
    QVariantList gunMatrixEntry(uint matrix, const QString& entry);
    // Stores gun key matrix `matrix` (1..3, device matrix matrix + 1) from its
    // 64 values and sends it; refused with one warning otherwise.
    void setGunKeyMatrix(int matrix, const QList<int>& values);
    void ui_04H_SetGunData(uchar par0, uchar par1, uchar par2, uchar par3, uchar par4);
    // The named five-value sets of gunData.bin, which must exist. A name that is
    // no safe name is refused with one warning.
    void saveGunData(const QString& name, const QStringList& values);
    void removeGunData(const QString& name);
    // Stores `values` (when there are any) under `name`, after removing the set
    // `replacedName` when one is given; both names are checked first.
    void updateGunData(const QString& name, const QStringList& values, const std::optional<QString>& replacedName);
    QVariantList gunData(const QString& name);
    QStringList gunDataNames();

    // Uploads the guns named for slots 0, 1, 2: their gun images, concatenated,
    // go in 128-byte pieces to macro slots 5, 6, ... when they total under 896
    // bytes; then 04H gives each image's length in 2-byte words. A name without
    // a gun (empty, unknown) counts as an empty image. True when the images were sent.
    bool uploadGunData(const QStringList& gunNames);

    // The gun variant image of one stored gun; empty when there is no such gun.
    QList<uchar> gunImage(const QString& name);

private:
    ProfileStore& m_profiles;
    DevicePort& m_device;
    MacroLibrary& m_library;
    MacroUpload& m_upload;
};
