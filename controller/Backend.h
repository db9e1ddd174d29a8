// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The whole back end, built in one place and in one order: the application
// configuration and the profiles, the device worker and the port the services
// reach it through, the desktop's pointer settings and every service the QML
// contract forwards to. quellar and quellarctl create it the same way; the
// view and the command line only use it. GUI thread only, except the device
// host relay, which the worker calls from pool threads.

#include "DeviceHost.h"
#include "HostPointer.h"

#include <atomic>
#include <memory>

class AppConfig;
class DeviceSettings;
class GunSelection;
class HidBackend;
class Hid_Thread;
class HostPointerSettings;
class KeyAssignment;
class LanguagePacks;
class MacroLibrary;
class MacroUpload;
class ProfileManager;
class ProfileStore;
class UserDialogs;
class WorkerDevicePort;
class AppConfigDeviceSource;

class Backend {
public:
    // hostPointer: the desktop's pointer settings; null picks the desktop's own.
    Backend(HidBackend& hid, UserDialogs& dialogs, std::unique_ptr<HostPointer> hostPointer = {});
    // Stops the listener and waits for the device transfers still running.
    ~Backend();
    Backend(const Backend&) = delete;
    Backend& operator=(const Backend&) = delete;

    // Where the worker's tray messages and window requests go; none: dropped.
    void setDeviceHost(DeviceHost* host) { m_hostRelay.target = host; }
    // Finds the device, shakes hands with it and mirrors what it keeps into the profile.
    void discoverDevice();

    Hid_Thread& worker() { return *m_worker; }
    AppConfig& config() { return *m_config; }
    ProfileStore& profiles() { return *m_profiles; }
    ProfileManager& profileManager() { return *m_profileManager; }
    LanguagePacks& languages() { return *m_languages; }
    KeyAssignment& keyAssignment() { return *m_keyAssignment; }
    DeviceSettings& deviceSettings() { return *m_deviceSettings; }
    HostPointerSettings& hostPointerSettings() { return *m_hostPointerSettings; }
    MacroLibrary& macroLibrary() { return *m_macroLibrary; }
    MacroUpload& macroUpload() { return *m_macroUpload; }
    GunSelection& gunSelection() { return *m_gunSelection; }

private:
    // The worker is built before any window that could host it: this hands its
    // calls to whichever host is set, from any thread.
    struct HostRelay final : DeviceHost {
        std::atomic<DeviceHost*> target{nullptr};
        void showTrayMessage(const QString& title, const QString& text, int msecs) override;
        void hideHostWindow() override;
    };

    HidBackend& m_hid;
    HostRelay m_hostRelay;
    std::unique_ptr<AppConfig> m_config;
    std::unique_ptr<AppConfigDeviceSource> m_deviceConfig;
    std::unique_ptr<Hid_Thread> m_worker;
    std::unique_ptr<WorkerDevicePort> m_device;
    std::unique_ptr<ProfileStore> m_profiles;
    std::unique_ptr<HostPointer> m_hostPointer;
    std::unique_ptr<ProfileManager> m_profileManager;
    std::unique_ptr<LanguagePacks> m_languages;
    std::unique_ptr<KeyAssignment> m_keyAssignment;
    std::unique_ptr<DeviceSettings> m_deviceSettings;
    std::unique_ptr<HostPointerSettings> m_hostPointerSettings;
    std::unique_ptr<MacroLibrary> m_macroLibrary;
    std::unique_ptr<MacroUpload> m_macroUpload;
    std::unique_ptr<GunSelection> m_gunSelection;
};
