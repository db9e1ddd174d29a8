// SPDX-License-Identifier: GPL-3.0-or-later
#include "myQQuickView.h"

#include "AppConfig.h"
#include "Backend.h"
#include "DeviceSettings.h"
#include "GunSelection.h"
#include "HostPointerSettings.h"
#include "KeyAssignment.h"
#include "KeyNameTable.h"
#include "LanguagePacks.h"
#include "LibraryFiles.h"
#include "MacroLibrary.h"
#include "MacroLog.h"
#include "MacroUpload.h"
#include "ProfileManager.h"
#include "ProfileStore.h"
#include "SettingsValues.h"
#include "StoredValues.h"
#include "UserDialogs.h"
#include "ValueRange.h"

#include <QFile>
#include <QQuickWidget>
#include <QStandardPaths>
#include <optional>

namespace {
constexpr int kGunDataValues = 5; // the values of a named gun data set

QString desktopFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

// The slot a page names: its low 8 bits, as the device numbers slots; -1 when it is no number.
int macroSlotOf(const QVariant& value) {
    bool isNumber = false;
    const uint slot = value.toUInt(&isNumber) & 0xFF;
    return isNumber ? int(slot) : -1;
}

// The slot id a page names for an upload: its number's low 8 bits, 0 when it is no number.
uchar slotIdOf(const QVariant& value) {
    return uchar(value.toInt() & 0xFF);
}

// The values a page stores as it gave them, as their texts.
QStringList textsOf(const QVariantList& values) {
    QStringList texts;
    texts.reserve(values.size());
    for (const QVariant& value : values)
        texts.append(value.toString());
    return texts;
}

// The pages' numbers as whole numbers; anything else counts as 0.
QList<int> integersOf(const QVariantList& values) {
    QList<int> integers;
    integers.reserve(values.size());
    for (const QVariant& value : values)
        integers.append(SettingsValues::integer(value, 0));
    return integers;
}

// Every value a whole number, or nothing (and one warning naming the first that is not).
std::optional<QList<long long>> wholeNumbersOf(const QVariantList& values, const char* operation, const char* what) {
    QList<long long> numbers;
    numbers.reserve(values.size());
    for (const QVariant& value : values) {
        const std::optional<long long> number = ValueRange::wholeNumber(value, operation, what);
        if (!number)
            return std::nullopt;
        numbers.append(*number);
    }
    return numbers;
}

// Image bytes from the pages' numbers: each value's low 8 bits.
QList<uchar> bytesOf(const QVariantList& values) {
    QList<uchar> bytes;
    bytes.reserve(values.size());
    for (const QVariant& value : values)
        bytes.append(SettingsValues::byteOf(value));
    return bytes;
}
} // namespace

myQQuickView::myQQuickView(Backend& backend, UserDialogs& dialogs, QObject* parent)
    : QObject(parent), m_dialogs(dialogs), m_config(backend.config()), m_profileManager(backend.profileManager()),
      m_languages(backend.languages()), m_keyAssignment(backend.keyAssignment()),
      m_deviceSettings(backend.deviceSettings()), m_hostPointerSettings(backend.hostPointerSettings()),
      m_macroLibrary(backend.macroLibrary()), m_macroUpload(backend.macroUpload()),
      m_gunSelection(backend.gunSelection()) {
    m_deviceSettings.setMessages(m_messageList);
}

void myQQuickView::attachWindow(QQuickWidget* window) {
    m_window = window;
    m_notifier.setView(window);
    m_deviceSettings.setViewVisibility(
        [window = QPointer<QQuickWidget>(window)] { return window && window->isVisible(); });
    connect(window, &QQuickWidget::statusChanged, this, [this](QQuickWidget::Status status) {
        if (status == QQuickWidget::Ready)
            m_notifier.flushPending();
    });
}

myQQuickView::~myQQuickView() = default;

void myQQuickView::notifyDetectKeyboard(bool isDown, int usage) {
    m_notifier.post(QStringLiteral("detectKeyboard"), {isDown, usage});
}

void myQQuickView::notifyDetectMouse(bool isDown, uint button, uint x, uint y) {
    m_notifier.post(QStringLiteral("detectMouse"), {isDown, button, x, y});
}

void myQQuickView::notifySetProtectUI(int interval) {
    m_notifier.call(QStringLiteral("setProtectUI"), {interval});
}

void myQQuickView::syncFW() {
    m_deviceSettings.mirrorUserPictures();
}

void myQQuickView::initUI() {
    m_notifier.post(QStringLiteral("initUI"));
}

void myQQuickView::runUI() {
    m_notifier.post(QStringLiteral("run"));
}

void myQQuickView::setEnableAudio(bool isEnable) {
    m_audioEnabled = isEnable;
}

// The product has no sounds; the operations exist for the pages that call them.
void myQQuickView::playMedia_Index(uchar) {}
void myQQuickView::playMedia_Background() {}
void myQQuickView::clearAllMedia() {}

QString myQQuickView::getCustomFilePath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    QString path = m_dialogs.openFileName(tr("Open File"), folder, tr("Image Files(*.png)"));
    if (path.isEmpty())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        const QString title = m_messageList.size() > 2 ? m_messageList[2] : tr("Open File");
        const QString text = m_messageList.size() > 3 ? m_messageList[3] : tr("Cannot open the file: ");
        m_dialogs.warning(title, QStringLiteral("%1%2").arg(text, path));
        return {};
    }
    file.close();
    return path;
}

// Everything below forwards one to one to the subsystem that owns the rule.

void myQQuickView::saveApConfig(QVariantList apConfigs) {
    m_config.saveApConfig(apConfigs);
}

QVariant myQQuickView::getLang() {
    return m_config.getLang();
}

QVariantList myQQuickView::loadApConfig() {
    return m_config.loadApConfig();
}

QVariantList myQQuickView::loadDeviceApConfig() {
    return m_config.loadDeviceApConfig();
}

QVariant myQQuickView::getProfile() {
    return m_config.profileNumber();
}

void myQQuickView::setProfile(QVariant profileNo) {
    m_config.setProfileNumber(SettingsValues::unsignedInteger(profileNo, 0));
}

void myQQuickView::resetApconfig() {
    m_config.resetApconfig();
}

bool myQQuickView::getIsSkinShow() {
    return m_config.getIsSkinShow();
}

QVariantList myQQuickView::loadDefaultProfile(uchar uiPageId) {
    return m_profileManager.pageDefaults(uiPageId);
}

bool myQQuickView::loadProfile(int profile) {
    if (!m_profileManager.acceptsPosition(profile, "loadProfile"))
        return false;
    const QString chosen = m_dialogs.openFileName(tr("Open File"), desktopFolder(), tr("Profile(*.pf)"));
    return !chosen.isEmpty() && m_profileManager.importProfile(profile, chosen);
}

void myQQuickView::saveProfile(int profile) {
    if (!m_profileManager.acceptsPosition(profile, "saveProfile"))
        return;
    const QString chosen = m_dialogs.saveFileName(tr("Save File"), desktopFolder(), tr("Profile(*.pf)"));
    if (!chosen.isEmpty())
        m_profileManager.exportProfile(profile, chosen);
}

void myQQuickView::resetProfile(int profile) {
    m_profileManager.resetToFactory(profile);
}

void myQQuickView::copyProfile(int destprofile, int srcprofile) {
    m_profileManager.copyProfile(destprofile, srcprofile);
}

QVariant myQQuickView::loadMacroIniFromFile(QVariant name) {
    return m_macroLibrary.importMacroFile(name.toString());
}

void myQQuickView::saveMacroIniToFile(QVariant name) {
    m_macroLibrary.exportMacroFile(name.toString());
}

void myQQuickView::renameMacroIniFile(QVariant oldName, QVariant newName) {
    m_macroLibrary.renameEntryFile(LibraryKind::Macro, oldName.toString(), newName.toString());
}

QVariantMap myQQuickView::chkLanguages() {
    QVariantMap languages;
    const QMap<QString, QString> installed = m_languages.installedLanguages();
    for (auto it = installed.cbegin(); it != installed.cend(); ++it)
        languages.insert(it.key(), it.value());
    return languages;
}

QStringList myQQuickView::getGlobalStrings(QVariant type, QString langCode) {
    // Anything that is no group number reads the ungrouped strings.
    return m_languages.groupStrings(SettingsValues::unsignedInteger(type, ~0u), langCode);
}

QStringList myQQuickView::getProductLayoutStrings_Q3(QString langCode) {
    return m_languages.productLayoutStrings(langCode);
}

QVariant myQQuickView::createMacroIni(QVariant name, QVariant macroIndex) {
    return m_macroLibrary.createEntry(LibraryKind::Macro, name.toString(), macroIndex.toUInt());
}

QVariant myQQuickView::createGunIni(QVariant name, QVariant gunIndex) {
    return m_macroLibrary.createEntry(LibraryKind::Gun, name.toString(), gunIndex.toUInt());
}

QVariant myQQuickView::updataNameList(QVariant type, QStringList nameList) {
    bool isNumber = false;
    const int listType = type.toInt(&isNumber);
    // A type that is no number names no list: nothing to store, nothing failed.
    return !isNumber || m_macroLibrary.storeNameList(listType, nameList);
}

QVariant myQQuickView::modifyMacroName(QVariant oldname, QVariant newname) {
    return m_macroLibrary.renameMacro(oldname.toString(), newname.toString());
}

QVariant myQQuickView::modifyGunName(QVariant oldname, QVariant newname) {
    return m_macroLibrary.renameEntryFile(LibraryKind::Gun, oldname.toString(), newname.toString());
}

QStringList myQQuickView::isMacroUse(QVariant macroName) {
    return m_macroLibrary.referencesTo(LibraryKind::Macro, macroName.toString());
}

QStringList myQQuickView::isGunUse(QVariant macroName) {
    return m_macroLibrary.referencesTo(LibraryKind::Gun, macroName.toString());
}

QVariant myQQuickView::deleteMacroIni(QVariant name) {
    return m_macroLibrary.deleteEntry(LibraryKind::Macro, name.toString());
}

QVariant myQQuickView::deleteGunIni(QVariant name) {
    return m_macroLibrary.deleteEntry(LibraryKind::Gun, name.toString());
}

QVariantList myQQuickView::getNameList(QVariant type) {
    bool isNumber = false;
    const int listType = type.toInt(&isNumber);
    QVariantList names;
    if (isNumber) {
        for (const QString& name : m_macroLibrary.nameList(listType))
            names << name;
    }
    return names;
}

// The lines carry the whole entry; the pages' byte image (macroData) is not kept.
QVariant myQQuickView::saveMacroIni(QVariant name, QStringList macros, QVariantList, QVariant repeat) {
    return m_macroLibrary.saveEntry(LibraryKind::Macro, name.toString(), macros, repeat.toString());
}

QVariant myQQuickView::saveGunIni(QVariant name, QStringList macros, QVariantList, QVariant repeat) {
    return m_macroLibrary.saveEntry(LibraryKind::Gun, name.toString(), macros, repeat.toString());
}

QVariant myQQuickView::sendMacroData(QVariantList macroData, QVariant macroIndex) {
    // The contract answers true whatever became of the image; a refused slot
    // is logged by the upload, and quellarctl's exit code tells.
    m_macroUpload.sendImage(macroSlotOf(macroIndex), bytesOf(macroData));
    return true;
}

QVariant myQQuickView::sendGunData(QVariantList gunData, QVariant gunIndex) {
    return sendMacroData(gunData, gunIndex);
}

QStringList myQQuickView::loadMacroIni(QVariant name) {
    return m_macroLibrary.loadEntry(LibraryKind::Macro, name.toString());
}

QStringList myQQuickView::loadGunIni(QVariant name) {
    return m_macroLibrary.loadEntry(LibraryKind::Gun, name.toString());
}

QVariant myQQuickView::loadMacroType(QVariant name) {
    return m_macroLibrary.entryType(LibraryKind::Macro, name.toString());
}

QVariant myQQuickView::loadGunType(QVariant name) {
    return m_macroLibrary.entryType(LibraryKind::Gun, name.toString());
}

QVariant myQQuickView::loadMacroIndex(QVariant name) {
    return m_macroLibrary.entryIndex(LibraryKind::Macro, name.toString());
}

QVariant myQQuickView::loadGunIndex(QVariant name) {
    return m_macroLibrary.entryIndex(LibraryKind::Gun, name.toString());
}

QVariantList myQQuickView::loadMacroIniConfig(QVariant name) {
    const std::optional<MacroLibrary::SlotConfig> config = m_macroLibrary.macroSlotConfig(name.toString());
    return config ? QVariantList{config->index, config->repeat} : QVariantList();
}

void myQQuickView::setMacroIniConfig(QVariant name, QVariantList config) {
    // The macro's index, then its repeat value.
    if (config.size() < 2) {
        qCWarning(lcMacro) << "refused a macro configuration of" << config.size() << "values instead of 2";
        return;
    }
    m_macroLibrary.setMacroSlotConfig(name.toString(), config.at(0).toString(), config.at(1).toString());
}

void myQQuickView::setMacroIndex(QVariant name, QVariant macroIndex) {
    m_macroLibrary.setEntryIndex(LibraryKind::Macro, name.toString(), macroIndex.toString());
}

void myQQuickView::setGunIndex(QVariant name, QVariant gunIndex) {
    m_macroLibrary.setEntryIndex(LibraryKind::Gun, name.toString(), gunIndex.toString());
}

void myQQuickView::setMacroType(QVariant name, QVariant macroType) {
    m_macroLibrary.setMacroType(name.toString(), macroType.toString());
}

QVariantList myQQuickView::getKeydefine(QVariant matrixId) {
    // Only entry numbers make keys: text could reach into other groups of the file.
    const std::optional<long long> entry = ValueRange::wholeNumber(matrixId, "getKeydefine", "entry");
    return entry ? SettingsValues::toVariantList(m_keyAssignment.storedEntry(*entry)) : QVariantList();
}

QVariantList myQQuickView::getGunKeydefine(QVariant keyMatrixIndex, QVariant matrixId) {
    return m_gunSelection.gunMatrixEntry(keyMatrixIndex.toUInt(), matrixId.toString());
}

void myQQuickView::changeMacroFileIndex(QVariant macroIndex) {
    // A value that is no number names no macro: nothing to update.
    if (const std::optional<int> deleted = StoredValues::integer(macroIndex))
        m_macroUpload.forgetDeletedMacro(*deleted);
}

void myQQuickView::changeMacroFileType(QVariant macroIndex, QVariant macroType) {
    if (const std::optional<int> changed = StoredValues::integer(macroIndex))
        m_macroUpload.changeMacroRunMode(*changed, macroType.toInt());
}

void myQQuickView::saveGundata(QVariantList src6) {
    // The set's name, then its five values.
    m_gunSelection.saveGunData(src6.value(0).toString(), textsOf(src6.mid(1, kGunDataValues)));
}

void myQQuickView::modifyGundata(QVariant modifyType, QVariantList src6) {
    // Type 0 removes the set named first; type 1 with a seventh value renames
    // that set to the first name; any other type only stores the values.
    if (src6.isEmpty())
        return;
    const QString name = src6.first().toString();
    const std::optional<int> type = StoredValues::integer(modifyType);
    if (type == 0) {
        m_gunSelection.removeGunData(name);
        return;
    }
    constexpr int kReplacedName = kGunDataValues + 1;
    const std::optional<QString> replaced =
        type == 1 && src6.size() > kReplacedName ? std::optional(src6.at(kReplacedName).toString()) : std::nullopt;
    const QStringList values = src6.size() > kGunDataValues ? textsOf(src6.mid(1, kGunDataValues)) : QStringList();
    m_gunSelection.updateGunData(name, values, replaced);
}

QVariantList myQQuickView::getGunData(QVariant name) {
    return m_gunSelection.gunData(name.toString());
}

QStringList myQQuickView::getGunDataKey() {
    return m_gunSelection.gunDataNames();
}

QVariant myQQuickView::getXYSensitive(QVariant index) {
    const std::optional<long long> axis = ValueRange::wholeNumber(index, "getXYSensitive", "axis");
    return axis ? m_deviceSettings.xySensitivity(*axis) : DeviceSettings::kDefaultXYSensitive;
}

void myQQuickView::setXYSensitive(QVariant index, QVariant xyData) {
    const std::optional<long long> axis = ValueRange::wholeNumber(index, "setXYSensitive", "axis");
    const std::optional<long long> position =
        axis ? ValueRange::wholeNumber(xyData, "setXYSensitive", "slider position") : std::nullopt;
    if (position)
        m_deviceSettings.setXYSensitivity(*axis, *position);
}

QVariantList myQQuickView::getselectGun() {
    return m_gunSelection.chosenGuns();
}

void myQQuickView::setSelectGun(QVariantList gunData) {
    m_gunSelection.chooseGuns(textsOf(gunData));
}

void myQQuickView::upDateDeleteGun(QVariant gunData) {
    // A value that is no number names no gun: nothing to update.
    if (const std::optional<int> deleted = StoredValues::integer(gunData))
        m_gunSelection.forgetDeletedGun(*deleted);
}

QVariantList myQQuickView::getselectGunKey() {
    return m_gunSelection.gunKeyBindings();
}

void myQQuickView::setSelectGunKey(QVariantList gunData) {
    m_gunSelection.bindGunKeys(textsOf(gunData));
}

QList<uchar> myQQuickView::macroIncode(QStringList macros) {
    return m_macroUpload.encodeTagLines(macros);
}

void myQQuickView::setMacroKey(int index, QVariant macroName) {
    m_macroUpload.bindMacroName(index, macroName.toString());
}

QVariant myQQuickView::getMacroKey(int index) {
    return m_macroUpload.boundMacroName(index);
}

void myQQuickView::ui_01H_SetReportRate(uchar rate) {
    m_deviceSettings.setReportRate(rate);
}

void myQQuickView::ui_02H_SetCurrentProfile(int profile) {
    m_profileManager.switchTo(profile);
}

void myQQuickView::ui_02H_SetKeyMatrixNo(uchar keyMatrixNo) {
    m_deviceSettings.selectKeyMatrix(keyMatrixNo);
}

void myQQuickView::ui_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4) {
    m_deviceSettings.setKeyboardOption(byte1, byte2, byte3, byte4);
}

void myQQuickView::ui_04H_SetGunData(uchar par0, uchar par1, uchar par2, uchar par3, uchar par4) {
    m_deviceSettings.setGunData(par0, par1, par2, par3, par4);
}

void myQQuickView::ui_07H_SetControlIndicatorLight(uchar effect, uchar frequenty) {
    m_deviceSettings.setIndicatorLight(effect, frequenty);
}

void myQQuickView::ui_08H_SetLEDType(uchar option, uchar effect, uchar speed, uchar light, uchar color,
                                     uchar direction) {
    m_deviceSettings.setKeyboardLighting(option, effect, speed, light, color, direction);
}

void myQQuickView::ui_09H_SetKeyboardMode(uchar mode) {
    m_deviceSettings.setKeyboardMode(mode);
}

void myQQuickView::ui_0DH_SetKeyMatrix(QVariantList src512) {
    m_keyAssignment.assignKeyboardKeys(integersOf(src512));
}

void myQQuickView::ui_0EH_SetKeyOnOff(QVariantList src21) {
    m_deviceSettings.setKeySwitches(integersOf(src21));
}

void myQQuickView::ui_0EH_SetXYSensitive(QVariant par0, QVariant par1) {
    const std::optional<long long> x = ValueRange::wholeNumber(par0, "ui_0EH_SetXYSensitive", "X");
    const std::optional<long long> y = x ? ValueRange::wholeNumber(par1, "ui_0EH_SetXYSensitive", "Y") : std::nullopt;
    if (y)
        m_deviceSettings.sendXYFactors(*x, *y);
}

void myQQuickView::ui_11H_SetMacroKey(QVariant macroId, QVariant name) {
    m_macroUpload.uploadKeyboardMacro(slotIdOf(macroId), name.toString());
}

void myQQuickView::ui_12H_SetUserPicture(uchar index, uchar option, QVariantList src512) {
    m_deviceSettings.setUserPicture(index, option, integersOf(src512));
}

void myQQuickView::ui_13H_SetRecoveryData() {
    m_deviceSettings.sendRecoveryData();
}

void myQQuickView::ui_14H_SetColor(uchar index, uchar rValue, uchar gValue, uchar bValue) {
    m_deviceSettings.setKeyColor(index, rValue, gValue, bValue);
}

QString myQQuickView::ui_80H_GetFWVersion() {
    return m_deviceSettings.firmwareVersion();
}

QVariant myQQuickView::ui_81H_GetReportRate() {
    return m_deviceSettings.reportRate();
}

QVariant myQQuickView::ui_82H_GetCurrentProfile() {
    return m_deviceSettings.deviceProfile();
}

QVariantList myQQuickView::ui_83H_GetKeyboardoption() {
    return SettingsValues::toVariantList(m_deviceSettings.keyboardOption());
}

QVariantList myQQuickView::ui_84H_GetButtonSensitivity() {
    return SettingsValues::toVariantList(m_deviceSettings.buttonSensitivity());
}

QVariantList myQQuickView::ui_88H_GetLEDType() {
    return SettingsValues::toVariantList(m_deviceSettings.keyboardLighting());
}

QVariant myQQuickView::ui_89H_GetKeyboardMode() {
    return m_deviceSettings.keyboardMode();
}

QVariantList myQQuickView::ui_8DH_GetKeyMatrix() {
    return SettingsValues::toVariantList(m_keyAssignment.readKeyboardKeys());
}

QVariantList myQQuickView::ui_8EH_GetKeyOnOff() {
    return SettingsValues::toVariantList(m_deviceSettings.keySwitches());
}

QVariantList myQQuickView::ui_91H_GetMacroKey(uchar macroId) {
    return SettingsValues::toVariantList(m_macroUpload.readKeyboardMacro(macroId));
}

QVariantList myQQuickView::ui_92H_GetUserPicture(uchar index) {
    return SettingsValues::toVariantList(m_deviceSettings.userPicture(index));
}

QVariantList myQQuickView::ui_94H_GetColor(uchar index) {
    return SettingsValues::toVariantList(m_deviceSettings.keyColor(index));
}

QVariant myQQuickView::getSensorType() {
    return m_deviceSettings.sensorType();
}

bool myQQuickView::chkIsLogoLedWork() {
    return m_deviceSettings.logoLedWorks();
}

bool myQQuickView::getMsgAns_FoolProofing() {
    return m_deviceSettings.getMsgAns_FoolProofing();
}

void myQQuickView::setScrollPinSwap(bool isSwap) {
    m_hostPointerSettings.setScrollPinSwap(isSwap);
}

void myQQuickView::setAcceleration(bool acceleration) {
    m_hostPointerSettings.setAcceleration(acceleration);
}

void myQQuickView::setCursorSpeed(uint cursorSpeed) {
    m_hostPointerSettings.setCursorSpeed(cursorSpeed);
}

void myQQuickView::setVerticalScrollLines(uint lines) {
    m_hostPointerSettings.setVerticalScrollLines(lines);
}

void myQQuickView::setDoubleClickSpeed(uint speed) {
    m_hostPointerSettings.setDoubleClickSpeed(speed);
}

void myQQuickView::ui_0BH_SetCurrentDPIStage(uchar dpiStage) {
    m_deviceSettings.setCurrentDpiStage(dpiStage);
}

void myQQuickView::ui_0DH_SetRGBLedEffect(uchar effect, uchar option1, uchar option2, QVariantList configs) {
    m_deviceSettings.setLightingEffect(effect, option1, option2, integersOf(configs));
}

void myQQuickView::ui_10H_SetLED8StageColor(uchar type, QVariantList src24) {
    m_deviceSettings.setStageColors(type, integersOf(src24));
}

void myQQuickView::ui_11H_SetDPISet(uchar dpiStage, QVariantList src8, QVariantList valueForIndex) {
    if (const std::optional<QList<long long>> values = wholeNumbersOf(valueForIndex, "ui_11H_SetDPISet", "DPI value"))
        m_deviceSettings.setDpiStages(dpiStage, integersOf(src8), *values);
}

void myQQuickView::ui_11H_SetDPISelect(QVariantList valueForIndex) {
    if (const std::optional<QList<long long>> inUse =
            wholeNumbersOf(valueForIndex, "ui_11H_SetDPISelect", "stage in use"))
        m_deviceSettings.setStagesInUse(*inUse);
}

void myQQuickView::ui_12H_SetGunKeyMatrix(QVariantList src64, QVariant keyMatrixIndex) {
    const std::optional<int> matrix = StoredValues::integer(keyMatrixIndex);
    if (!matrix) {
        qCWarning(lcMacro) << "refused gun key matrix" << keyMatrixIndex.toString().left(LibraryFiles::kMaxNameLength)
                           << "outside 1 to" << GunSelection::kGunMatrixCount;
        return;
    }
    QList<int> values;
    values.reserve(src64.size());
    for (const QVariant& value : src64)
        values.append(value.toInt());
    m_gunSelection.setGunKeyMatrix(*matrix, values);
}

void myQQuickView::ui_12H_SetKeyMatrix(QVariantList src64) {
    m_keyAssignment.assignMouseButtons(integersOf(src64));
}

void myQQuickView::ui_13H_SetMacroKey(QVariant macroId, QVariant name) {
    m_macroUpload.uploadMouseMacro(slotIdOf(macroId), name.toString());
}

bool myQQuickView::getScrollPinSwap() {
    return m_hostPointerSettings.getScrollPinSwap();
}

bool myQQuickView::getAcceleration() {
    return m_hostPointerSettings.getAcceleration();
}

uint myQQuickView::getCursorSpeed() {
    return m_hostPointerSettings.getCursorSpeed();
}

uint myQQuickView::getVerticalScrollLines() {
    return m_hostPointerSettings.getVerticalScrollLines();
}

uint myQQuickView::getDoubleClickSpeed() {
    return m_hostPointerSettings.getDoubleClickSpeed();
}

QVariant myQQuickView::ui_8BH_GetCurrentDPIStage() {
    return m_deviceSettings.currentDpiStage();
}

QVariant myQQuickView::getDeviceDpiStage() {
    return m_deviceSettings.deviceDpiStage();
}

QVariantList myQQuickView::ui_8DH_GetRGBLedEffect() {
    return SettingsValues::toVariantList(m_deviceSettings.lightingEffect());
}

QVariantList myQQuickView::ui_90H_GetLED8StageColor(uchar type) {
    return SettingsValues::toVariantList(m_deviceSettings.stageColors(type));
}

uchar myQQuickView::ui_91H_SyncDPI() {
    return m_deviceSettings.deviceStageCount();
}

void myQQuickView::openUpdateExe() {
    m_deviceSettings.openUpdateExe();
}

QVariantList myQQuickView::ui_91H_GetDPISet() {
    return SettingsValues::toVariantList(m_deviceSettings.dpiValues());
}

QVariantList myQQuickView::ui_91H_GetDPISelect() {
    return SettingsValues::toVariantList(m_deviceSettings.stagesInUse());
}

QVariantList myQQuickView::ui_92H_GetKeyMatrix() {
    return SettingsValues::toVariantList(m_keyAssignment.readMouseButtons());
}

QVariantList myQQuickView::ui_93H_GetMacroKey(uchar macroId) {
    return SettingsValues::toVariantList(m_macroUpload.readMouseMacro(macroId));
}

QVariantList myQQuickView::encodeMacroLines(QStringList lines, int loopCount, bool gunVariant) {
    QVariantList image;
    for (const uchar byte : m_macroUpload.encodeMacroLines(lines, loopCount, gunVariant))
        image << int(byte);
    return image;
}

QVariant myQQuickView::uploadGunData(QStringList gunNames) {
    return m_gunSelection.uploadGunData(gunNames);
}

QVariantMap myQQuickView::keyCodeTable() {
    return KeyNameTable::pageCodes();
}

void myQQuickView::setEnabled(bool enabled) {
    if (m_window)
        m_window->setEnabled(enabled);
}
