#include "WorkerMacroPort.h"

uint WorkerMacroPort::currentDeviceId() const {
    return m_worker.curDevice();
}

void WorkerMacroPort::setMacroKey13(uchar slotId, const Block128& image) {
    m_worker.hid_13H_SetMacroKey(slotId, image);
}

void WorkerMacroPort::getMacroKey93(uchar slotId, Block128& image) {
    m_worker.hid_93H_GetMacroKey(slotId, image);
}

void WorkerMacroPort::setMacroKey11(uchar slotId, const Block192& image) {
    m_worker.hid_11H_SetMacroKey(slotId, image);
}

void WorkerMacroPort::getMacroKey91(uchar slotId, Block192& image) {
    m_worker.hid_91H_GetMacroKey(slotId, image);
}

void WorkerMacroPort::setKeyMatrix12(const Block64& matrix, uchar matrixNumber) {
    m_worker.hid_12H_SetKeyMatrix(matrix, matrixNumber);
}

void WorkerMacroPort::setGunData04(uchar par0, uchar par1, uchar par2, uchar par3, uchar par4) {
    m_worker.hid_04H_SetGunData(par0, par1, par2, par3, par4);
}
