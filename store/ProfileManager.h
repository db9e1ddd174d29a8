#pragma once
// The profile page's operations on whole profiles: switching the current
// profile, import and export through file dialogs, factory reset, copying,
// and the page defaults of "modules/setting/pD.bin". Works on the profile
// table and the application configuration it is given. GUI thread only.

#include <QObject>
#include <QVariantList>

class AppConfig;
class ProfileStore;
class UserDialogs;

class ProfileManager : public QObject {
    Q_OBJECT
public:
    ProfileManager(ProfileStore& profiles, AppConfig& config, UserDialogs& dialogs, QObject* parent = nullptr);

    static QString defaultsFileName();
    static QString factoryFileName();

    QVariantList loadDefaultProfile(uchar uiPageId);
    bool loadProfile(int profile);
    void saveProfile(int profile);
    void resetProfile(int profile);
    void copyProfile(int destprofile, int srcprofile);
    void ui_02H_SetCurrentProfile(int profile);

private:
    bool checkPosition(int profile, const char* operation) const;

    ProfileStore& m_profiles;
    AppConfig& m_config;
    UserDialogs& m_dialogs;
};
