// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// As the context property "ui_View", the object behind every QML call, and
// the QML contract's only C++ side: its slots keep the contract's names and
// QVariant signatures and forward to the back end's services, so each rule
// lives in its service. It calls the functions of the window's QML root when
// a window is attached; quellarctl uses it without one. GUI thread only.

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariant>

#include "QmlRootNotifier.h"

class AppConfig;
class DeviceSettings;
class GunSelection;
class Backend;
class HostPointerSettings;
class KeyAssignment;
class LanguagePacks;
class MacroLibrary;
class MacroUpload;
class ProfileManager;
class UserDialogs;
class QQuickWidget;

class myQQuickView : public QObject {
    Q_OBJECT
public:
    myQQuickView(Backend& backend, UserDialogs& dialogs, QObject* parent = nullptr);
    ~myQQuickView() override;

    // The window's QML: notifications reach its root, and the current stage is
    // only asked while it is shown.
    void attachWindow(QQuickWidget* window);

    // Notifications into the QML root.
    void notifyDetectKeyboard(bool isDown, int usage);
    void notifyDetectMouse(bool isDown, uint button, uint x, uint y);
    void notifySetProtectUI(int interval);

public slots:
    void syncFW();
    void initUI();
    void runUI();
    void setEnableAudio(bool isEnable);
    void playMedia_Index(uchar index);
    void playMedia_Background();
    void clearAllMedia();
    void saveApConfig(QVariantList apConfigs);
    QVariant getLang();
    QVariantList loadApConfig();
    QVariantList loadDeviceApConfig();
    QVariant getProfile();
    void setProfile(QVariant profileNo);
    void resetApconfig();
    bool getIsSkinShow();
    QVariantList loadDefaultProfile(uchar uiPageId);
    bool loadProfile(int profile);
    void saveProfile(int profile);
    void resetProfile(int profile);
    void copyProfile(int destprofile, int srcprofile);
    QVariant loadMacroIniFromFile(QVariant name);
    void saveMacroIniToFile(QVariant name);
    void renameMacroIniFile(QVariant oldName, QVariant newName);
    QString getCustomFilePath();
    QVariantMap chkLanguages();
    QStringList getGlobalStrings(QVariant type, QString langCode);
    QStringList getProductLayoutStrings_Q3(QString langCode);
    QVariant createMacroIni(QVariant name, QVariant macroIndex);
    QVariant createGunIni(QVariant name, QVariant gunIndex);
    QVariant updataNameList(QVariant type, QStringList nameList);
    QVariant modifyMacroName(QVariant oldname, QVariant newname);
    QVariant modifyGunName(QVariant oldname, QVariant newname);
    QStringList isMacroUse(QVariant macroName);
    QStringList isGunUse(QVariant macroName);
    QVariant deleteMacroIni(QVariant name);
    QVariant deleteGunIni(QVariant name);
    QVariantList getNameList(QVariant type);
    QVariant saveMacroIni(QVariant name, QStringList macros, QVariantList macroData, QVariant repeat);
    QVariant saveGunIni(QVariant name, QStringList macros, QVariantList macroData, QVariant repeat);
    QVariant sendMacroData(QVariantList macroData, QVariant macroIndex);
    QVariant sendGunData(QVariantList gunData, QVariant gunIndex);
    QStringList loadMacroIni(QVariant name);
    QStringList loadGunIni(QVariant name);
    QVariant loadMacroType(QVariant name);
    QVariant loadGunType(QVariant name);
    QVariant loadMacroIndex(QVariant name);
    QVariant loadGunIndex(QVariant name);
    QVariantList loadMacroIniConfig(QVariant name);
    void setMacroIniConfig(QVariant name, QVariantList config);
    void setMacroIndex(QVariant name, QVariant macroIndex);
    void setGunIndex(QVariant name, QVariant gunIndex);
    void setMacroType(QVariant name, QVariant macroType);
    QVariantList getKeydefine(QVariant matrixId);
    QVariantList getGunKeydefine(QVariant keyMatrixIndex, QVariant matrixId);
    void changeMacroFileIndex(QVariant macroIndex);
    void changeMacroFileType(QVariant macroIndex, QVariant macroType);
    void saveGundata(QVariantList src6);
    void modifyGundata(QVariant modifyType, QVariantList src6);
    QVariantList getGunData(QVariant name);
    QStringList getGunDataKey();
    QVariant getXYSensitive(QVariant index);
    void setXYSensitive(QVariant index, QVariant xyData);
    QVariantList getselectGun();
    void setSelectGun(QVariantList gunData);
    void upDateDeleteGun(QVariant gunData);
    QVariantList getselectGunKey();
    void setSelectGunKey(QVariantList gunData);
    QList<uchar> macroIncode(QStringList macros);
    void setMacroKey(int index, QVariant macroName);
    QVariant getMacroKey(int index);
    void ui_01H_SetReportRate(uchar rate);
    void ui_02H_SetCurrentProfile(int profile);
    void ui_02H_SetKeyMatrixNo(uchar keyMatrixNo);
    void ui_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4);
    void ui_04H_SetGunData(uchar par0, uchar par1, uchar par2, uchar par3, uchar par4);
    void ui_07H_SetControlIndicatorLight(uchar effect, uchar frequenty);
    void ui_08H_SetLEDType(uchar option, uchar effect, uchar speed, uchar light, uchar color, uchar direction);
    void ui_09H_SetKeyboardMode(uchar mode);
    void ui_0DH_SetKeyMatrix(QVariantList src512);
    void ui_0EH_SetKeyOnOff(QVariantList src21);
    void ui_0EH_SetXYSensitive(QVariant par0, QVariant par1);
    void ui_11H_SetMacroKey(QVariant macroId, QVariant name);
    void ui_12H_SetUserPicture(uchar index, uchar option, QVariantList src512);
    void ui_13H_SetRecoveryData();
    void ui_14H_SetColor(uchar index, uchar rValue, uchar gValue, uchar bValue);
    QString ui_80H_GetFWVersion();
    QVariant ui_81H_GetReportRate();
    QVariant ui_82H_GetCurrentProfile();
    QVariantList ui_83H_GetKeyboardoption();
    QVariantList ui_84H_GetButtonSensitivity();
    QVariantList ui_88H_GetLEDType();
    QVariant ui_89H_GetKeyboardMode();
    QVariantList ui_8DH_GetKeyMatrix();
    QVariantList ui_8EH_GetKeyOnOff();
    QVariantList ui_91H_GetMacroKey(uchar macroId);
    QVariantList ui_92H_GetUserPicture(uchar index);
    QVariantList ui_94H_GetColor(uchar index);
    QVariant getSensorType();
    bool chkIsLogoLedWork();
    bool getMsgAns_FoolProofing();
    void setScrollPinSwap(bool isSwap);
    void setAcceleration(bool acceleration);
    void setCursorSpeed(uint cursorSpeed);
    void setVerticalScrollLines(uint lines);
    void setDoubleClickSpeed(uint speed);
    void ui_0BH_SetCurrentDPIStage(uchar dpiStage);
    void ui_0DH_SetRGBLedEffect(uchar effect, uchar option1, uchar option2, QVariantList configs);
    void ui_10H_SetLED8StageColor(uchar type, QVariantList src24);
    void ui_11H_SetDPISet(uchar dpiStage, QVariantList src8, QVariantList valueForIndex);
    void ui_11H_SetDPISelect(QVariantList valueForIndex);
    void ui_12H_SetGunKeyMatrix(QVariantList src64, QVariant keyMatrixIndex);
    void ui_12H_SetKeyMatrix(QVariantList src64);
    void ui_13H_SetMacroKey(QVariant macroId, QVariant name);
    bool getScrollPinSwap();
    bool getAcceleration();
    uint getCursorSpeed();
    uint getVerticalScrollLines();
    uint getDoubleClickSpeed();
    QVariant ui_8BH_GetCurrentDPIStage();
    // Our addition for the command line: the mouse's stage even while no window shows.
    QVariant getDeviceDpiStage();
    QVariantList ui_8DH_GetRGBLedEffect();
    QVariantList ui_90H_GetLED8StageColor(uchar type);
    uchar ui_91H_SyncDPI();
    void openUpdateExe();
    QVariantList ui_91H_GetDPISet();
    QVariantList ui_91H_GetDPISelect();
    QVariantList ui_92H_GetKeyMatrix();
    QVariantList ui_93H_GetMacroKey(uchar macroId);
    // Additions of our own: the page-side algorithms that compute bytes.
    QVariantList encodeMacroLines(QStringList lines, int loopCount, bool gunVariant);
    QVariant uploadGunData(QStringList gunNames);
    QVariantMap keyCodeTable();
    // The window's own slot, which QML calls to lock it: it then takes no input.
    void setEnabled(bool enabled);

private:
    UserDialogs& m_dialogs;
    bool m_audioEnabled = true;
    // Texts for warning boxes; nothing fills it, readers must check its size.
    QStringList m_messageList;
    AppConfig& m_config;
    ProfileManager& m_profileManager;
    LanguagePacks& m_languages;
    KeyAssignment& m_keyAssignment;
    DeviceSettings& m_deviceSettings;
    HostPointerSettings& m_hostPointerSettings;
    MacroLibrary& m_macroLibrary;
    MacroUpload& m_macroUpload;
    GunSelection& m_gunSelection;
    QmlRootNotifier m_notifier;
    QPointer<QQuickWidget> m_window;
};
