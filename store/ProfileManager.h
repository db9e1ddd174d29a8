// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The profile page's operations on whole profiles: switching the current
// profile, import from and export to a file the caller chose, factory reset,
// copying, and the page defaults of "modules/setting/pD.bin". Works on the
// profile table and the application configuration it is given. GUI thread only.

#include <QObject>
#include <QVariantList>

class AppConfig;
class ProfileStore;

class ProfileManager : public QObject {
    Q_OBJECT
public:
    ProfileManager(ProfileStore& profiles, AppConfig& config, QObject* parent = nullptr);

    static QString defaultsFileName();
    static QString factoryFileName();

    // The stored defaults a page shows for its reset (page 0 buttons, 2 lighting, 3 performance).
    QVariantList pageDefaults(uchar page);
    // Whether `profile` names one of the ten profiles; a refusal names `operation`.
    bool acceptsPosition(int profile, const char* operation) const;
    // Replaces the profile by the file at `path`; false, and the profile kept, when it cannot be read.
    bool importProfile(int profile, const QString& path);
    // Writes the profile's file to `path`, replacing what is there.
    void exportProfile(int profile, const QString& path);
    void resetToFactory(int profile);
    void copyProfile(int destination, int source);
    // Makes `profile` the current one and records it in the configuration.
    void switchTo(int profile);

private:
    ProfileStore& m_profiles;
    AppConfig& m_config;
};
