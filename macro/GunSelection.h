// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Recoil ("gun") data of the current profile: the guns chosen for the three gun
// slots, the buttons bound as gun keys, the three gun key matrices, the upload
// of the chosen guns into the macro slots, and the named five-value sets of
// gunData.bin. The "ui_View" method names and signatures are the pages'
// contract; uploadGunData is the byte-computing step of the gun page, moved
// here so it is tested once.
// GUI thread only.

#include <QStringList>
#include <QVariant>
#include <QVariantList>

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

    QVariantList getselectGun();
    void setSelectGun(QVariantList gunData);
    QVariantList getselectGunKey();
    void setSelectGunKey(QVariantList gunData);
    void upDateDeleteGun(QVariant gunData);
    QVariantList getGunKeydefine(QVariant keyMatrixIndex, QVariant matrixId);
    void ui_12H_SetGunKeyMatrix(QVariantList src64, QVariant keyMatrixIndex);
    void ui_04H_SetGunData(uchar par0, uchar par1, uchar par2, uchar par3, uchar par4);
    void saveGundata(QVariantList src6);
    void modifyGundata(QVariant modifyType, QVariantList src6);
    QVariantList getGunData(QVariant name);
    QStringList getGunDataKey();

    // Uploads the guns named for slots 0, 1, 2: their gun images, concatenated,
    // go in 128-byte pieces to macro slots 5, 6, ... when they total under 896
    // bytes; then 04H gives each image's length in 2-byte words. A name without
    // a gun (empty, unknown) counts as an empty image. True when the images were sent.
    QVariant uploadGunData(QStringList gunNames);

    // The gun variant image of one stored gun; empty when there is no such gun.
    QList<uchar> gunImage(const QString& name);

private:
    ProfileStore& m_profiles;
    DevicePort& m_device;
    MacroLibrary& m_library;
    MacroUpload& m_upload;
};
