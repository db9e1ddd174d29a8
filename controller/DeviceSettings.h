// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The device settings the pages change: DPI stages and the DPI value table,
// the current stage, lighting and stage colours, report rate, sensor type, XY
// sensitivity, the active key matrix, the keyboard-family commands, the
// updater and the confirmation box. Each set operation writes the current
// profile first (flushed to disk) and sends the device command second, so
// the profile keeps the value when the device is absent. Lists shorter than
// an operation needs are refused before anything is stored or sent.
// GUI thread only; the device worker reads the DPI value table from its listener.

#include "DeviceBlocks.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <functional>

class DevicePort;
class ProfileStore;
class UserDialogs;

class DeviceSettings : public QObject {
    Q_OBJECT
public:
    static constexpr int kDpiStages = 8;
    static constexpr int kColorBytes = 24;
    static constexpr int kPackedColorBytes = 4;
    static constexpr int kKeySwitchBytes = 21;
    static constexpr int kPictureBytes = 512;
    static constexpr uchar kPictureNotSent = 255;
    static constexpr uchar kPackedColorType = 2;
    static constexpr uchar kFallbackStageCount = 8;
    static constexpr int kDefaultXYSensitive = 4;
    static constexpr unsigned long kUpdaterPauseMs = 500;
    // Entries of the message list the confirmation box shows.
    static constexpr int kConfirmTitleEntry = 4;
    static constexpr int kConfirmTextEntry = 5;

    DeviceSettings(ProfileStore& profiles, DevicePort& device, UserDialogs& dialogs, QObject* parent = nullptr);

    // Tells whether the window is shown; the current stage is only asked while
    // it is. Without one (no window) the window counts as hidden.
    void setViewVisibility(std::function<bool()> isViewVisible) { m_isViewVisible = std::move(isViewVisible); }
    // The keyboard's user pictures into the current profile, as the device keeps them.
    void mirrorUserPictures();

    // The view's message texts (entry 4 and 5 title and body of the confirmation box).
    void setMessages(const QStringList& messages) { m_messages = messages; }
    const QStringList& messages() const { return m_messages; }

    // The 24-byte block of 10H: the list's values, type 2 packed two per byte.
    static Block24 stageColorBlock(uchar type, const QList<int>& values);

    // DPI stages
    // 8 stage codes (low 8 bits each) to the device, 8 DPI values (0 to 0xFFFFFFFF) into the profile.
    void setDpiStages(uchar stageCount, const QList<int>& codes, const QList<long long>& values);
    // The profile's DPI values; they also become the DPI table the tray messages show.
    QList<int> dpiValues();
    // Per stage 1 (in use) or 0, kept in the profile only.
    void setStagesInUse(const QList<long long>& inUse);
    QList<int> stagesInUse();
    // The stage count the device holds; 8 when it does not answer.
    uchar deviceStageCount();
    void setCurrentDpiStage(uchar dpiStage);
    // The stage in use as the device reports it; 0 while the window is hidden.
    int currentDpiStage();
    // The stage the mouse reports, whether a window shows or not; 0 when it does not answer.
    int deviceDpiStage();

    // Lighting
    // The effect to the device; `stored` is what the profile keeps for the page.
    void setLightingEffect(uchar effect, uchar option1, uchar option2, const QList<int>& stored);
    QList<uint> lightingEffect();
    // At most 24 values (each value's low 8 bits; type 2 packed two per byte).
    void setStageColors(uchar type, const QList<int>& values);
    QList<uint> stageColors(uchar type);
    bool logoLedWorks();

    // Report rate, sensor and sensitivity
    void setReportRate(uchar rate);
    // The mouse's from the profile, the keyboard's from the device.
    uint reportRate();
    int sensorType();
    // The page's slider position (0 to 9) of axis 0 (X) or 1 (Y), kept in the profile only.
    int xySensitivity(long long axis);
    void setXYSensitivity(long long axis, long long position);
    // The factors (20 to 200) the device applies to X and Y.
    void sendXYFactors(long long x, long long y);

    // Key matrix
    void selectKeyMatrix(uchar keyMatrixNo);

    // Keyboard family
    void setKeyboardOption(uchar byte1, uchar byte2, uchar byte3, uchar byte4);
    void setGunData(uchar par0, uchar par1, uchar par2, uchar par3, uchar par4);
    void setIndicatorLight(uchar effect, uchar frequenty);
    void setKeyboardLighting(uchar option, uchar effect, uchar speed, uchar light, uchar color, uchar direction);
    void setKeyboardMode(uchar mode);
    void setKeySwitches(const QList<int>& values);
    // Option 255 stores the picture without sending it.
    void setUserPicture(uchar index, uchar option, const QList<int>& values);
    void sendRecoveryData();
    void setKeyColor(uchar index, uchar rValue, uchar gValue, uchar bValue);
    QString firmwareVersion();
    int deviceProfile();
    Block4 keyboardOption();
    Block4 buttonSensitivity();
    QList<int> keyboardLighting();
    int keyboardMode();
    Block21 keySwitches();
    QList<int> userPicture(uchar index);
    QList<int> keyColor(uchar index);

    // Other
    void openUpdateExe();
    bool getMsgAns_FoolProofing();

private:
    QList<int> storedIntegers(const QString& key);
    QList<uint> storedUnsigned(const QString& key);
    bool servesMouse() const;
    void fillDpiTable(const QVariantList& values);

    ProfileStore& m_profiles;
    DevicePort& m_device;
    UserDialogs& m_dialogs;
    std::function<bool()> m_isViewVisible;
    QStringList m_messages;
};
