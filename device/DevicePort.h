// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The device as the settings, key and macro services see it: the commands
// they send and the answers they read, nothing of records, transport or
// handshake. The program plugs in WorkerDevicePort (the device worker); tests
// plug in a recorder or the worker over the virtual mouse.
// GUI thread only. Set commands return at once (their transfer runs on a pool
// thread); get commands leave a block as it was handed over when the device
// does not answer.

#include "DeviceBlocks.h"

#include <QString>

class DevicePort {
public:
    virtual ~DevicePort() = default;

    // Catalogue index of the device the commands go to: 0 keyboard, 1 mouse.
    virtual uint currentDeviceId() const = 0;
    // Before another program takes the device (the updater): stop reading its events.
    virtual void stopListening() = 0;

    // Shared by both devices.
    virtual void setReportRate(uchar rate) = 0;            // 01H
    virtual void getReportRate(uchar& rate) = 0;           // 81H
    virtual void setCurrentProfile(uchar profile) = 0;     // 02H
    virtual void getCurrentProfile(uchar& profile) = 0;    // 82H
    virtual void getFirmwareVersion(QString& version) = 0; // 80H

    // Mouse.
    virtual void setFunctionOption(uchar type, uchar rate, uchar option1, uchar option2) = 0;            // 03H
    virtual void getFunctionOption(uchar& type, uchar& option1, uchar& option2) = 0;                     // 83H
    virtual bool getLedInstructFunction(uchar type, uchar& option1, uchar& option2, uchar& option3) = 0; // 87H
    virtual void setCurrentDpiStage(uchar stage) = 0;                                                    // 0BH
    virtual void getCurrentDpiStage(uchar& stage) = 0;                                                   // 8BH
    virtual void setRgbLedEffect(uchar effect, uchar option1, uchar option2) = 0;                        // 0DH
    virtual void setXYSensitivity(uchar x, uchar y) = 0;                                                 // 0EH
    virtual void setStageColors(uchar type, const Block24& colors) = 0;                                  // 10H
    virtual void setDpiStages(uchar stageCount, const Block8& codes) = 0;                                // 11H
    virtual bool getDpiStages(uchar& stageCount, Block8& codes) = 0;                                     // 91H
    virtual void setKeyMatrix(const Block64& matrix, uchar matrixNumber) = 0;                            // 12H
    virtual void getKeyMatrix(Block64& matrix) = 0;                                                      // 92H
    virtual void setMacro(uchar slotId, const Block128& image) = 0;                                      // 13H
    virtual void getMacro(uchar slotId, Block128& image) = 0;                                            // 93H
    virtual void setGunData(uchar par0, uchar par1, uchar par2, uchar par3, uchar par4) = 0;             // 04H

    // Keyboard family.
    virtual void setKeyboardOption(uchar byte1, uchar byte2, uchar byte3, uchar byte4) = 0;        // 03H
    virtual void getKeyboardOption(uchar& byte1, uchar& byte2, uchar& byte3, uchar& byte4) = 0;    // 83H
    virtual void getButtonSensitivity(uchar& sens1, uchar& sens2, uchar& sens3, uchar& sens4) = 0; // 84H
    virtual void setIndicatorLight(uchar effect, uchar frequency) = 0;                             // 07H
    virtual void setLedType(uchar option, uchar effect, uchar speed, uchar light, uchar color,
                            uchar direction) = 0;                                        // 08H
    virtual void setKeyboardMode(uchar mode) = 0;                                        // 09H
    virtual void getKeyboardMode(uchar& mode) = 0;                                       // 89H
    virtual void setKeyboardKeyMatrix(const Block512& matrix) = 0;                       // 0DH
    virtual void getKeyboardKeyMatrix(Block512& matrix) = 0;                             // 8DH
    virtual void setKeySwitches(const Block21& switches) = 0;                            // 0EH
    virtual void getKeySwitches(Block21& switches) = 0;                                  // 8EH
    virtual void setKeyboardMacro(uchar macroId, const Block192& image) = 0;             // 11H
    virtual void getKeyboardMacro(uchar macroId, Block192& image) = 0;                   // 91H
    virtual void setUserPicture(uchar index, uchar option, const Block512& picture) = 0; // 12H
    virtual void getUserPicture(uchar index, Block512& picture) = 0;                     // 92H
    virtual void setRecoveryData() = 0;                                                  // 13H
    virtual void setKeyColor(uchar index, uchar red, uchar green, uchar blue) = 0;       // 14H
};
