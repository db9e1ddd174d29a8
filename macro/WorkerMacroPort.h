#pragma once
// MacroDevicePort on the device worker: every call goes straight to the
// worker's command slot. Lives on the GUI thread like the worker's callers.

#include "MacroDevicePort.h"

class WorkerMacroPort final : public MacroDevicePort {
public:
    explicit WorkerMacroPort(Hid_Thread& worker) : m_worker(worker) {}

    uint currentDeviceId() const override;
    void setMacroKey13(uchar slotId, const Block128& image) override;
    void getMacroKey93(uchar slotId, Block128& image) override;
    void setMacroKey11(uchar slotId, const Block192& image) override;
    void getMacroKey91(uchar slotId, Block192& image) override;
    void setKeyMatrix12(const Block64& matrix, uchar matrixNumber) override;
    void setGunData04(uchar par0, uchar par1, uchar par2, uchar par3, uchar par4) override;

private:
    Hid_Thread& m_worker;
};
