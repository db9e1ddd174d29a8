#pragma once
// Stand-ins the fuzz targets share: a device port that takes every macro
// command and answers nothing, dialogs that cancel every question, and the
// profiles with the macro library in a data folder of their own.

#include "FuzzDataFolder.h"
#include "MacroDevicePort.h"
#include "MacroLibrary.h"
#include "ProfileStore.h"
#include "UserDialogs.h"

struct SilentMacroPort final : MacroDevicePort {
    uint currentDeviceId() const override { return 1; }
    void setMacroKey13(uchar, const Block128&) override {}
    void getMacroKey93(uchar, Block128&) override {}
    void setMacroKey11(uchar, const Block192&) override {}
    void getMacroKey91(uchar, Block192&) override {}
    void setKeyMatrix12(const Block64&, uchar) override {}
    void setGunData04(uchar, uchar, uchar, uchar, uchar) override {}
};

struct CancellingDialogs final : UserDialogs {
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
    void warning(const QString&, const QString&) override {}
    bool confirm(const QString&, const QString&) override { return false; }
};

struct FuzzLibraryRig {
    FuzzDataFolder folder;
    SilentMacroPort port;
    CancellingDialogs dialogs;
    ProfileStore profiles;
    MacroLibrary library{profiles, port, dialogs};
};
