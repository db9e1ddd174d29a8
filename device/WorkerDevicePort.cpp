// SPDX-License-Identifier: GPL-3.0-or-later
#include "WorkerDevicePort.h"

#include "Hid_Thread.h"

uint WorkerDevicePort::currentDeviceId() const {
    return m_worker.curDevice();
}

void WorkerDevicePort::stopListening() {
    m_worker.stopListener();
}

void WorkerDevicePort::setReportRate(uchar rate) {
    m_worker.hid_01H_SetReportRate(rate);
}

void WorkerDevicePort::getReportRate(uchar& rate) {
    m_worker.hid_81H_GetReportRate(rate);
}

void WorkerDevicePort::setCurrentProfile(uchar profile) {
    m_worker.hid_02H_SetCurrentProfile(profile);
}

void WorkerDevicePort::getCurrentProfile(uchar& profile) {
    m_worker.hid_82H_GetCurrentProfile(profile);
}

void WorkerDevicePort::getFirmwareVersion(QString& version) {
    m_worker.hid_80H_GetFWVersion(version);
}

void WorkerDevicePort::setFunctionOption(uchar type, uchar rate, uchar option1, uchar option2) {
    m_worker.hid_03H_SetFunctionOption(type, rate, option1, option2);
}

void WorkerDevicePort::getFunctionOption(uchar& type, uchar& option1, uchar& option2) {
    m_worker.hid_83H_GetFunctionOption(type, option1, option2);
}

bool WorkerDevicePort::getLedInstructFunction(uchar type, uchar& option1, uchar& option2, uchar& option3) {
    return m_worker.hid_87H_GetLEDInstructFunction(type, option1, option2, option3);
}

void WorkerDevicePort::setCurrentDpiStage(uchar stage) {
    m_worker.hid_0BH_SetCurrentDPIStage(stage);
}

void WorkerDevicePort::getCurrentDpiStage(uchar& stage) {
    m_worker.hid_8BH_GetCurrentDPIStage(stage);
}

void WorkerDevicePort::setRgbLedEffect(uchar effect, uchar option1, uchar option2) {
    m_worker.hid_0DH_SetRGBLedEffect(effect, option1, option2);
}

void WorkerDevicePort::setXYSensitivity(uchar x, uchar y) {
    m_worker.hid_0EH_SetXYSensitive(x, y);
}

void WorkerDevicePort::setStageColors(uchar type, const Block24& colors) {
    m_worker.hid_10H_SetLED8StageColor(type, colors);
}

void WorkerDevicePort::setDpiStages(uchar stageCount, const Block8& codes) {
    m_worker.hid_11H_SetDPISet(stageCount, codes);
}

bool WorkerDevicePort::getDpiStages(uchar& stageCount, Block8& codes) {
    return m_worker.hid_91H_GetDPISet(stageCount, codes);
}

void WorkerDevicePort::setKeyMatrix(const Block64& matrix, uchar matrixNumber) {
    m_worker.hid_12H_SetKeyMatrix(matrix, matrixNumber);
}

void WorkerDevicePort::getKeyMatrix(Block64& matrix) {
    m_worker.hid_92H_GetKeyMatrix(matrix);
}

void WorkerDevicePort::setMacro(uchar slotId, const Block128& image) {
    m_worker.hid_13H_SetMacroKey(slotId, image);
}

void WorkerDevicePort::getMacro(uchar slotId, Block128& image) {
    m_worker.hid_93H_GetMacroKey(slotId, image);
}

void WorkerDevicePort::setGunData(uchar par0, uchar par1, uchar par2, uchar par3, uchar par4) {
    m_worker.hid_04H_SetGunData(par0, par1, par2, par3, par4);
}

void WorkerDevicePort::setKeyboardOption(uchar byte1, uchar byte2, uchar byte3, uchar byte4) {
    m_worker.hid_03H_SetKeyboardoption(byte1, byte2, byte3, byte4);
}

void WorkerDevicePort::getKeyboardOption(uchar& byte1, uchar& byte2, uchar& byte3, uchar& byte4) {
    m_worker.hid_83H_GetKeyboardoption(byte1, byte2, byte3, byte4);
}

void WorkerDevicePort::getButtonSensitivity(uchar& sens1, uchar& sens2, uchar& sens3, uchar& sens4) {
    m_worker.hid_84H_GetButtonSensitivity(sens1, sens2, sens3, sens4);
}

void WorkerDevicePort::setIndicatorLight(uchar effect, uchar frequency) {
    m_worker.hid_07H_SetControlIndicatorLight(effect, frequency);
}

void WorkerDevicePort::setLedType(uchar option, uchar effect, uchar speed, uchar light, uchar color, uchar direction) {
    m_worker.hid_08H_SetLEDType(option, effect, speed, light, color, direction);
}

void WorkerDevicePort::setKeyboardMode(uchar mode) {
    m_worker.hid_09H_SetKeyboardMode(mode);
}

void WorkerDevicePort::getKeyboardMode(uchar& mode) {
    m_worker.hid_89H_GetKeyboardMode(mode);
}

void WorkerDevicePort::setKeyboardKeyMatrix(const Block512& matrix) {
    m_worker.hid_0DH_SetKeyMatrix(matrix);
}

void WorkerDevicePort::getKeyboardKeyMatrix(Block512& matrix) {
    m_worker.hid_8DH_GetKeyMatrix(matrix);
}

void WorkerDevicePort::setKeySwitches(const Block21& switches) {
    m_worker.hid_0EH_SetKeyOnOff(switches);
}

void WorkerDevicePort::getKeySwitches(Block21& switches) {
    m_worker.hid_8EH_GetKeyOnOff(switches);
}

void WorkerDevicePort::setKeyboardMacro(uchar macroId, const Block192& image) {
    m_worker.hid_11H_SetMacroKey(macroId, image);
}

void WorkerDevicePort::getKeyboardMacro(uchar macroId, Block192& image) {
    m_worker.hid_91H_GetMacroKey(macroId, image);
}

void WorkerDevicePort::setUserPicture(uchar index, uchar option, const Block512& picture) {
    m_worker.hid_12H_SetUserPicture(index, option, picture);
}

void WorkerDevicePort::getUserPicture(uchar index, Block512& picture) {
    m_worker.hid_92H_GetUserPicture(index, picture);
}

void WorkerDevicePort::setRecoveryData() {
    m_worker.hid_13H_SetRecoveryData();
}

void WorkerDevicePort::setKeyColor(uchar index, uchar red, uchar green, uchar blue) {
    m_worker.hid_14H_SetColor(index, red, green, blue);
}
