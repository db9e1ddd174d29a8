// SPDX-License-Identifier: GPL-3.0-or-later
// Profiles, page defaults and the application configuration: files of any
// content read back through every reader the pages use, within bounds.

#include "AppConfig.h"
#include "FuzzDataFolder.h"
#include "FuzzDoubles.h"
#include "MacroLibrary.h"
#include "ProfileManager.h"
#include "ProfileStore.h"
#include "SettingsValues.h"

#include <cstdint>
#include <cstdlib>

namespace {

FuzzLibraryRig* rig = nullptr;

// Every key of the profile through the value conversions the readers use.
void readEveryKey(QSettings& profile) {
    for (const QString& key : profile.allKeys()) {
        const QVariant stored = profile.value(key);
        SettingsValues::text(stored);
        SettingsValues::integers(stored);
        SettingsValues::unsignedIntegers(stored);
        SettingsValues::integer(stored, 0);
        SettingsValues::unsignedInteger(stored, 0);
        SettingsValues::boolean(stored, false);
    }
}

void readConfiguration(const QByteArray& input) {
    rig->folder.writeStamped(AppConfig::fileName(), input);
    AppConfig config;
    config.loadApConfig();
    config.loadDeviceApConfig();
    config.getLang();
    config.profileNumber();
    config.secrecyCodeText(0);
    config.productNames();
    AppConfig::windowTitle();

    rig->folder.writeStamped(ProfileManager::defaultsFileName(), input);
    ProfileManager manager(rig->profiles, config);
    for (uchar page = 0; page < 5; ++page)
        manager.pageDefaults(page);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    rig = new FuzzLibraryRig;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString path = rig->folder.writeFresh(QStringLiteral("profile-%1.bin"), input);
    rig->profiles.replaceFrom(0, path);
    QFile::remove(path);

    readEveryKey(rig->profiles.at(0));
    rig->library.referencesTo(LibraryKind::Macro, QStringLiteral("Reload"));
    rig->library.referencesTo(LibraryKind::Gun, QStringLiteral("General"));
    readConfiguration(input);
    return 0;
}
