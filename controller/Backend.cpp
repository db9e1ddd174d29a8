// SPDX-License-Identifier: GPL-3.0-or-later
#include "Backend.h"

#include "AppConfig.h"
#include "AppConfigDeviceSource.h"
#include "DeviceDiscovery.h"
#include "DeviceSettings.h"
#include "GunSelection.h"
#include "Hid_Thread.h"
#include "HostPointer.h"
#include "HostPointerSettings.h"
#include "KeyAssignment.h"
#include "LanguagePacks.h"
#include "MacroLibrary.h"
#include "MacroUpload.h"
#include "ProfileManager.h"
#include "ProfileStore.h"
#include "WorkerDevicePort.h"

Backend::Backend(HidBackend& hid, UserDialogs& dialogs, std::unique_ptr<HostPointer> hostPointer)
    : m_hid(hid), m_hostPointer(std::move(hostPointer)) {
    m_config = std::make_unique<AppConfig>();
    m_deviceConfig = std::make_unique<AppConfigDeviceSource>(*m_config);
    m_worker = std::make_unique<Hid_Thread>(hid, *m_deviceConfig, &m_hostRelay);
    m_device = std::make_unique<WorkerDevicePort>(*m_worker);
    m_profiles = std::make_unique<ProfileStore>();
    if (!m_hostPointer)
        m_hostPointer = HostPointer::createForDesktop();
    m_profileManager = std::make_unique<ProfileManager>(*m_profiles, *m_config);
    m_languages = std::make_unique<LanguagePacks>();
    m_keyAssignment = std::make_unique<KeyAssignment>(*m_profiles, *m_device);
    m_deviceSettings = std::make_unique<DeviceSettings>(*m_profiles, *m_device, dialogs);
    m_hostPointerSettings = std::make_unique<HostPointerSettings>(*m_profiles, *m_hostPointer, *m_device);
    m_macroLibrary = std::make_unique<MacroLibrary>(*m_profiles, *m_device, dialogs);
    m_macroUpload = std::make_unique<MacroUpload>(*m_profiles, *m_device, *m_macroLibrary, dialogs);
    m_gunSelection = std::make_unique<GunSelection>(*m_profiles, *m_device, *m_macroLibrary, *m_macroUpload);
}

Backend::~Backend() {
    m_worker->stopListener();
    m_worker->waitForTransfers();
    m_hostRelay.target = nullptr;
}

void Backend::discoverDevice() {
    DeviceDiscovery(m_hid, *m_deviceConfig).run(*m_worker);
    m_deviceSettings->mirrorUserPictures();
}

void Backend::HostRelay::showTrayMessage(const QString& title, const QString& text, int msecs) {
    if (DeviceHost* host = target.load())
        host->showTrayMessage(title, text, msecs);
}

void Backend::HostRelay::hideHostWindow() {
    if (DeviceHost* host = target.load())
        host->hideHostWindow();
}
