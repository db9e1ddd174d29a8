// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A device that takes every command and answers none: what a get leaves in its
// block is what the caller handed over. Test doubles derive from it and record
// the commands they look at.

#include "DevicePort.h"

struct SilentDevicePort : DevicePort {
    uint deviceId = 1;

    uint currentDeviceId() const override { return deviceId; }
    void stopListening() override {}
    void setReportRate(uchar) override {}
    void getReportRate(uchar&) override {}
    void setCurrentProfile(uchar) override {}
    void getCurrentProfile(uchar&) override {}
    void getFirmwareVersion(QString&) override {}
    void setFunctionOption(uchar, uchar, uchar, uchar) override {}
    void getFunctionOption(uchar&, uchar&, uchar&) override {}
    bool getLedInstructFunction(uchar, uchar&, uchar&, uchar&) override { return false; }
    void setCurrentDpiStage(uchar) override {}
    void getCurrentDpiStage(uchar&) override {}
    void setRgbLedEffect(uchar, uchar, uchar) override {}
    void setXYSensitivity(uchar, uchar) override {}
    void setStageColors(uchar, const Block24&) override {}
    void setDpiStages(uchar, const Block8&) override {}
    bool getDpiStages(uchar&, Block8&) override { return false; }
    void setKeyMatrix(const Block64&, uchar) override {}
    void getKeyMatrix(Block64&) override {}
    void setMacro(uchar, const Block128&) override {}
    void getMacro(uchar, Block128&) override {}
    void setGunData(uchar, uchar, uchar, uchar, uchar) override {}
    void setKeyboardOption(uchar, uchar, uchar, uchar) override {}
    void getKeyboardOption(uchar&, uchar&, uchar&, uchar&) override {}
    void getButtonSensitivity(uchar&, uchar&, uchar&, uchar&) override {}
    void setIndicatorLight(uchar, uchar) override {}
    void setLedType(uchar, uchar, uchar, uchar, uchar, uchar) override {}
    void setKeyboardMode(uchar) override {}
    void getKeyboardMode(uchar&) override {}
    void setKeyboardKeyMatrix(const Block512&) override {}
    void getKeyboardKeyMatrix(Block512&) override {}
    void setKeySwitches(const Block21&) override {}
    void getKeySwitches(Block21&) override {}
    void setKeyboardMacro(uchar, const Block192&) override {}
    void getKeyboardMacro(uchar, Block192&) override {}
    void setUserPicture(uchar, uchar, const Block512&) override {}
    void getUserPicture(uchar, Block512&) override {}
    void setRecoveryData() override {}
    void setKeyColor(uchar, uchar, uchar, uchar) override {}
};
