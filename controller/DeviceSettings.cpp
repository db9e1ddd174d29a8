// SPDX-License-Identifier: GPL-3.0-or-later
#include "DeviceSettings.h"

#include "ControllerLog.h"
#include "DevicePort.h"
#include "LinkState.h"
#include "ProfileKeys.h"
#include "ProfileStore.h"
#include "SettingsValues.h"
#include "UserDialogs.h"
#include "ValueRange.h"

#include <QDebug>
#include <QProcess>
#include <QThread>
#include <algorithm>
#include <optional>

namespace {

constexpr uint kKeyboardDevice = 0;
constexpr uint kMouseDevice = 1;
constexpr uchar kLogoLedType = 0;
// Ranges of the values the pages pass (the device settings pages and the command set).
constexpr int kFirstStage = 1;
constexpr int kLastLedEffect = 4;
constexpr int kLastAxis = 1;
constexpr int kLastSliderPosition = 9;
constexpr int kLowestXYFactor = 20;
constexpr int kHighestXYFactor = 200;
constexpr int kLastPicture = 4;
constexpr long long kLargestDpiValue = 0xFFFFFFFFLL;

const QString kUpdaterPath = QStringLiteral("./update/update.exe");

// Only axis numbers make keys, and only these two.
std::optional<QString> xySensitiveKey(long long axis, const char* operation) {
    if (!ValueRange::check(axis, 0, kLastAxis, operation, "axis"))
        return std::nullopt;
    return ProfileKeys::xySensitivity(static_cast<int>(axis));
}

// Every element of `values` a whole number in [low, high].
bool allIn(const QList<long long>& values, long long low, long long high, const char* operation, const char* what) {
    return std::all_of(values.begin(), values.end(),
                       [&](long long value) { return ValueRange::check(value, low, high, operation, what); });
}

// As the profile always kept them: whole numbers of the settings file's own conversion.
QVariantList storedForm(const QList<long long>& values) {
    QVariantList stored;
    for (long long value : values)
        stored.append(SettingsValues::integer(QVariant(static_cast<qlonglong>(value)), 0));
    return stored;
}

// How the profile keeps a list of whole numbers.
QVariantList storedForm(const QList<int>& values) {
    QVariantList stored;
    for (int value : values)
        stored.append(value);
    return stored;
}

QList<int> wholeNumbersOf(const QVariantList& stored) {
    QList<int> values;
    for (const QVariant& value : stored)
        values.append(value.toInt());
    return values;
}

} // namespace

QList<int> DeviceSettings::storedIntegers(const QString& key) {
    return wholeNumbersOf(SettingsValues::integers(m_profiles.current().value(key)));
}

QList<uint> DeviceSettings::storedUnsigned(const QString& key) {
    QList<uint> values;
    for (const QVariant& value : SettingsValues::unsignedIntegers(m_profiles.current().value(key)))
        values.append(value.toUInt());
    return values;
}

DeviceSettings::DeviceSettings(ProfileStore& profiles, DevicePort& device, UserDialogs& dialogs, QObject* parent)
    : QObject(parent), m_profiles(profiles), m_device(device), m_dialogs(dialogs) {}

void DeviceSettings::mirrorUserPictures() {
    // Only the keyboard keeps user pictures worth mirroring into the profile.
    if (m_device.currentDeviceId() != kKeyboardDevice)
        return;
    for (int index = 0; index <= kLastPicture; ++index) {
        Block512 picture{};
        m_device.getUserPicture(uchar(index), picture);
        // Stored without sending it back.
        setUserPicture(uchar(index), kPictureNotSent, QList<int>(picture.begin(), picture.end()));
    }
}

Block24 DeviceSettings::stageColorBlock(uchar type, const QList<int>& values) {
    Block24 block = SettingsValues::byteBlock<kColorBytes>(values);
    if (type != kPackedColorType)
        return block;
    // Eight 4-bit values, two per byte, low nibble first.
    std::array<uchar, kColorBytes> packed{};
    for (std::size_t k = 0; k < kPackedColorBytes; ++k)
        packed[k] = static_cast<uchar>((block[2 * k] & 0x0F) | ((block[2 * k + 1] << 4) & 0xFF));
    for (int i = kPackedColorBytes; i < kColorBytes; ++i)
        packed[i] = block[i];
    return packed;
}

// ---- DPI stages ----

void DeviceSettings::setDpiStages(uchar stageCount, const QList<int>& codes, const QList<long long>& values) {
    if (SettingsValues::refuseShort(codes, kDpiStages, "ui_11H_SetDPISet", lcController) ||
        SettingsValues::refuseShort(values, kDpiStages, "ui_11H_SetDPISet", lcController))
        return;
    if (!ValueRange::check(stageCount, kFirstStage, kDpiStages, "ui_11H_SetDPISet", "stage count") ||
        !allIn(values, 0, kLargestDpiValue, "ui_11H_SetDPISet", "DPI value"))
        return;
    const QVariantList stored = storedForm(values);
    m_profiles.writeCurrent(ProfileKeys::kDpiValues, stored);
    fillDpiTable(stored);
    m_device.setDpiStages(stageCount, SettingsValues::byteBlock<kDpiStages>(codes));
}

QList<int> DeviceSettings::dpiValues() {
    const QVariantList values = SettingsValues::integers(m_profiles.current().value(ProfileKeys::kDpiValues));
    fillDpiTable(values);
    return wholeNumbersOf(values);
}

void DeviceSettings::setStagesInUse(const QList<long long>& inUse) {
    if (!allIn(inUse, 0, 1, "ui_11H_SetDPISelect", "stage in use"))
        return;
    m_profiles.writeCurrent(ProfileKeys::kDpiSelect, storedForm(inUse));
}

QList<int> DeviceSettings::stagesInUse() {
    return storedIntegers(ProfileKeys::kDpiSelect);
}

uchar DeviceSettings::deviceStageCount() {
    uchar stageCount = 0;
    Block8 codes{};
    if (!m_device.getDpiStages(stageCount, codes))
        return kFallbackStageCount;
    return stageCount;
}

void DeviceSettings::setCurrentDpiStage(uchar dpiStage) {
    if (!ValueRange::check(dpiStage, kFirstStage, kDpiStages, "ui_0BH_SetCurrentDPIStage", "stage"))
        return;
    m_profiles.writeCurrent(ProfileKeys::kDpiStage, dpiStage);
    m_device.setCurrentDpiStage(dpiStage);
}

int DeviceSettings::currentDpiStage() {
    if (!m_isViewVisible || !m_isViewVisible())
        return 0;
    return deviceDpiStage();
}

int DeviceSettings::deviceDpiStage() {
    uchar stage = 0;
    m_device.getCurrentDpiStage(stage);
    return static_cast<int>(stage);
}

void DeviceSettings::fillDpiTable(const QVariantList& values) {
    // Stages the list does not cover read as 0 rather than keeping an older profile's value.
    for (int stage = 0; stage < kDpiStages; ++stage) {
        const unsigned int value = stage < values.size() ? SettingsValues::unsignedInteger(values.at(stage), 0) : 0;
        LinkState::dpiValues[stage].store(value);
    }
}

// ---- Lighting ----

void DeviceSettings::setLightingEffect(uchar effect, uchar option1, uchar option2, const QList<int>& stored) {
    if (!ValueRange::check(effect, 0, kLastLedEffect, "ui_0DH_SetRGBLedEffect", "effect"))
        return;
    m_profiles.writeCurrent(ProfileKeys::kLedEffect, storedForm(stored));
    m_device.setRgbLedEffect(effect, option1, option2);
}

QList<uint> DeviceSettings::lightingEffect() {
    return storedUnsigned(ProfileKeys::kLedEffect);
}

void DeviceSettings::setStageColors(uchar type, const QList<int>& values) {
    if (values.size() > kColorBytes) {
        qCWarning(lcController) << "ui_10H_SetLED8StageColor refused: at most" << kColorBytes << "values, got"
                                << values.size();
        return;
    }
    m_profiles.writeCurrent(ProfileKeys::stageColors(type), storedForm(values));
    m_device.setStageColors(type, stageColorBlock(type, values));
}

QList<uint> DeviceSettings::stageColors(uchar type) {
    return storedUnsigned(ProfileKeys::stageColors(type));
}

bool DeviceSettings::logoLedWorks() {
    uchar option1 = 0;
    uchar option2 = 0;
    uchar option3 = 0;
    return m_device.getLedInstructFunction(kLogoLedType, option1, option2, option3) && option1 == 0;
}

// ---- Report rate, sensor and sensitivity ----

bool DeviceSettings::servesMouse() const {
    return m_device.currentDeviceId() == kMouseDevice;
}

void DeviceSettings::setReportRate(uchar rate) {
    if (!ValueRange::checkOneOf(rate, {1, 2, 4, 8}, "ui_01H_SetReportRate", "rate"))
        return;
    if (servesMouse())
        m_profiles.writeCurrent(ProfileKeys::kReportRate, rate);
    m_device.setReportRate(rate);
}

uint DeviceSettings::reportRate() {
    if (servesMouse())
        return static_cast<uint>(SettingsValues::byteOf(m_profiles.current().value(ProfileKeys::kReportRate, 0)));
    uchar rate = 0;
    m_device.getReportRate(rate);
    return rate;
}

int DeviceSettings::sensorType() {
    uchar type = 0;
    uchar option1 = 0;
    uchar option2 = 0;
    m_device.getFunctionOption(type, option1, option2);
    return static_cast<int>(type);
}

int DeviceSettings::xySensitivity(long long axis) {
    const std::optional<QString> key = xySensitiveKey(axis, "getXYSensitive");
    if (!key)
        return kDefaultXYSensitive;
    return SettingsValues::integer(m_profiles.current().value(*key), kDefaultXYSensitive);
}

void DeviceSettings::setXYSensitivity(long long axis, long long position) {
    const std::optional<QString> key = xySensitiveKey(axis, "setXYSensitive");
    if (key && ValueRange::check(position, 0, kLastSliderPosition, "setXYSensitive", "slider position"))
        m_profiles.writeCurrent(*key, static_cast<int>(position));
}

void DeviceSettings::sendXYFactors(long long x, long long y) {
    const char* operation = "ui_0EH_SetXYSensitive";
    if (ValueRange::check(x, kLowestXYFactor, kHighestXYFactor, operation, "X") &&
        ValueRange::check(y, kLowestXYFactor, kHighestXYFactor, operation, "Y"))
        m_device.setXYSensitivity(static_cast<uchar>(x), static_cast<uchar>(y));
}

// ---- Key matrix ----

void DeviceSettings::selectKeyMatrix(uchar keyMatrixNo) {
    m_device.setCurrentProfile(keyMatrixNo);
}

// ---- Keyboard family ----

void DeviceSettings::setKeyboardOption(uchar byte1, uchar byte2, uchar byte3, uchar byte4) {
    m_device.setKeyboardOption(byte1, byte2, byte3, byte4);
}

void DeviceSettings::setGunData(uchar par0, uchar par1, uchar par2, uchar par3, uchar par4) {
    m_device.setGunData(par0, par1, par2, par3, par4);
}

void DeviceSettings::setIndicatorLight(uchar effect, uchar frequenty) {
    m_device.setIndicatorLight(effect, frequenty);
}

void DeviceSettings::setKeyboardLighting(uchar option, uchar effect, uchar speed, uchar light, uchar color,
                                         uchar direction) {
    m_profiles.writeCurrent(ProfileKeys::kKeyboardLedType, QVariantList{effect, speed, light, color, direction});
    m_device.setLedType(option, effect, speed, light, color, direction);
}

void DeviceSettings::setKeyboardMode(uchar mode) {
    m_device.setKeyboardMode(mode);
}

void DeviceSettings::setKeySwitches(const QList<int>& values) {
    if (SettingsValues::refuseShort(values, kKeySwitchBytes, "ui_0EH_SetKeyOnOff", lcController))
        return;
    m_device.setKeySwitches(SettingsValues::byteBlock<kKeySwitchBytes>(values));
}

void DeviceSettings::setUserPicture(uchar index, uchar option, const QList<int>& values) {
    if (SettingsValues::refuseShort(values, kPictureBytes, "ui_12H_SetUserPicture", lcController) ||
        !ValueRange::check(index, 0, kLastPicture, "ui_12H_SetUserPicture", "picture"))
        return;
    m_profiles.writeCurrent(ProfileKeys::userPicture(index), storedForm(values));
    if (option == kPictureNotSent)
        return;
    m_device.setUserPicture(index, option, SettingsValues::byteBlock<kPictureBytes>(values));
}

void DeviceSettings::sendRecoveryData() {
    m_device.setRecoveryData();
}

void DeviceSettings::setKeyColor(uchar index, uchar rValue, uchar gValue, uchar bValue) {
    m_profiles.writeCurrent(ProfileKeys::keyboardColor(index), QVariantList{rValue, gValue, bValue});
    m_device.setKeyColor(index, rValue, gValue, bValue);
}

QString DeviceSettings::firmwareVersion() {
    QString version;
    m_device.getFirmwareVersion(version);
    return version;
}

int DeviceSettings::deviceProfile() {
    uchar profile = 0;
    m_device.getCurrentProfile(profile);
    return static_cast<int>(profile);
}

Block4 DeviceSettings::keyboardOption() {
    Block4 bytes{};
    m_device.getKeyboardOption(bytes[0], bytes[1], bytes[2], bytes[3]);
    return bytes;
}

Block4 DeviceSettings::buttonSensitivity() {
    Block4 bytes{};
    m_device.getButtonSensitivity(bytes[0], bytes[1], bytes[2], bytes[3]);
    return bytes;
}

QList<int> DeviceSettings::keyboardLighting() {
    return storedIntegers(ProfileKeys::kKeyboardLedType);
}

int DeviceSettings::keyboardMode() {
    uchar mode = 0;
    m_device.getKeyboardMode(mode);
    return static_cast<int>(mode);
}

Block21 DeviceSettings::keySwitches() {
    Block21 bytes{};
    m_device.getKeySwitches(bytes);
    return bytes;
}

QList<int> DeviceSettings::userPicture(uchar index) {
    if (!ValueRange::check(index, 0, kLastPicture, "ui_92H_GetUserPicture", "picture"))
        return {};
    return storedIntegers(ProfileKeys::userPicture(index));
}

QList<int> DeviceSettings::keyColor(uchar index) {
    return storedIntegers(ProfileKeys::keyboardColor(index));
}

// ---- Other ----

void DeviceSettings::openUpdateExe() {
    // The updater may replace the firmware: nothing may listen to the device meanwhile.
    m_device.stopListening();
    QThread::msleep(kUpdaterPauseMs);
    auto* updater = new QProcess(this);
    connect(updater, &QProcess::errorOccurred, updater, [updater](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            updater->deleteLater();
    });
    connect(updater, &QProcess::finished, updater, &QObject::deleteLater);
    updater->start(kUpdaterPath, {}, QIODevice::ReadWrite);
}

bool DeviceSettings::getMsgAns_FoolProofing() {
    // Nothing fills the message list today; fall back to our own texts rather
    // than reading entries that are not there.
    const QString title = m_messages.value(kConfirmTitleEntry, tr("Confirm"));
    const QString text = m_messages.value(kConfirmTextEntry, tr("Do you want to continue?"));
    return m_dialogs.confirm(title, text);
}
