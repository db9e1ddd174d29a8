// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Stand-ins the fuzz targets share: a device port that takes every macro
// command and answers nothing, dialogs that cancel every question, and the
// profiles with the macro library in a data folder of their own.

#include "FuzzDataFolder.h"
#include "MacroLibrary.h"
#include "ProfileStore.h"
#include "SilentDevicePort.h"
#include "UserDialogs.h"

struct CancellingDialogs final : UserDialogs {
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
    void warning(const QString&, const QString&) override {}
    bool confirm(const QString&, const QString&) override { return false; }
};

struct FuzzLibraryRig {
    FuzzDataFolder folder;
    SilentDevicePort port;
    CancellingDialogs dialogs;
    ProfileStore profiles;
    MacroLibrary library{profiles, port, dialogs};
};
