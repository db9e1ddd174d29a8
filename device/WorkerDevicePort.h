// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// DevicePort on the device worker: every call goes straight to the worker's
// command slot. Lives on the GUI thread like the worker's callers.

#include "DevicePort.h"

class Hid_Thread;

class WorkerDevicePort final : public DevicePort {
public:
    explicit WorkerDevicePort(Hid_Thread& worker) : m_worker(worker) {}

    uint currentDeviceId() const override;
    void stopListening() override;
    void setReportRate(uchar rate) override;
    void getReportRate(uchar& rate) override;
    void setCurrentProfile(uchar profile) override;
    void getCurrentProfile(uchar& profile) override;
    void getFirmwareVersion(QString& version) override;
    void setFunctionOption(uchar type, uchar rate, uchar option1, uchar option2) override;
    void getFunctionOption(uchar& type, uchar& option1, uchar& option2) override;
    bool getLedInstructFunction(uchar type, uchar& option1, uchar& option2, uchar& option3) override;
    void setCurrentDpiStage(uchar stage) override;
    void getCurrentDpiStage(uchar& stage) override;
    void setRgbLedEffect(uchar effect, uchar option1, uchar option2) override;
    void setXYSensitivity(uchar x, uchar y) override;
    void setStageColors(uchar type, const Block24& colors) override;
    void setDpiStages(uchar stageCount, const Block8& codes) override;
    bool getDpiStages(uchar& stageCount, Block8& codes) override;
    void setKeyMatrix(const Block64& matrix, uchar matrixNumber) override;
    void getKeyMatrix(Block64& matrix) override;
    void setMacro(uchar slotId, const Block128& image) override;
    void getMacro(uchar slotId, Block128& image) override;
    void setGunData(uchar par0, uchar par1, uchar par2, uchar par3, uchar par4) override;
    void setKeyboardOption(uchar byte1, uchar byte2, uchar byte3, uchar byte4) override;
    void getKeyboardOption(uchar& byte1, uchar& byte2, uchar& byte3, uchar& byte4) override;
    void getButtonSensitivity(uchar& sens1, uchar& sens2, uchar& sens3, uchar& sens4) override;
    void setIndicatorLight(uchar effect, uchar frequency) override;
    void setLedType(uchar option, uchar effect, uchar speed, uchar light, uchar color, uchar direction) override;
    void setKeyboardMode(uchar mode) override;
    void getKeyboardMode(uchar& mode) override;
    void setKeyboardKeyMatrix(const Block512& matrix) override;
    void getKeyboardKeyMatrix(Block512& matrix) override;
    void setKeySwitches(const Block21& switches) override;
    void getKeySwitches(Block21& switches) override;
    void setKeyboardMacro(uchar macroId, const Block192& image) override;
    void getKeyboardMacro(uchar macroId, Block192& image) override;
    void setUserPicture(uchar index, uchar option, const Block512& picture) override;
    void getUserPicture(uchar index, Block512& picture) override;
    void setRecoveryData() override;
    void setKeyColor(uchar index, uchar red, uchar green, uchar blue) override;

private:
    Hid_Thread& m_worker;
};
