#pragma once
// The device commands the macro and gun operations need, behind a small
// interface so the operations can be tested without the worker. The program
// plugs in WorkerMacroPort (the device worker); tests plug in a recorder or the
// worker over the virtual mouse. GUI thread only.

#include "Hid_Thread.h"

class MacroDevicePort {
public:
    virtual ~MacroDevicePort() = default;
    // Catalogue index of the open device: 0 keyboard, 1 mouse.
    virtual uint currentDeviceId() const = 0;
    virtual void setMacroKey13(uchar slotId, const Block128& image) = 0;
    virtual void getMacroKey93(uchar slotId, Block128& image) = 0;
    virtual void setMacroKey11(uchar slotId, const Block192& image) = 0;
    virtual void getMacroKey91(uchar slotId, Block192& image) = 0;
    virtual void setKeyMatrix12(const Block64& matrix, uchar matrixNumber) = 0;
    virtual void setGunData04(uchar par0, uchar par1, uchar par2, uchar par3, uchar par4) = 0;
};
