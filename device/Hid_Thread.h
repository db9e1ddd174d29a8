// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The device worker: the one object through which the program talks to the
// mouse. It owns the device records, the transport buffers and the access
// flag, runs the handshake and the event listener, and carries every device
// command as a slot.
//
// Threads: slots are called on the GUI thread. Set commands hand their
// transfer to the global thread pool and return; get commands run their
// transfer on the calling thread. The listener runs on a pool thread and
// touches only the event interface, `m_listenerRunning` and the records' path2.

#include "DeviceBlocks.h"
#include "DeviceRecord.h"
#include "DeviceRecordList.h"
#include "HidTransport.h"

#include <QFuture>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>
#include <array>
#include <atomic>
#include <optional>

class DeviceConfigSource;
class DeviceHost;
class HidBackend;

class Hid_Thread : public QObject {
    Q_OBJECT
public:
    Hid_Thread(HidBackend& backend, const DeviceConfigSource& config, DeviceHost* host = nullptr,
               QObject* parent = nullptr);
    // Stops the listener and waits for every write transfer still running.
    ~Hid_Thread() override;

    // Discovery replaces the record list as a whole.
    void setRecords(const QList<DeviceRecord>& records);
    QList<DeviceRecord> records() const;
    uint curDevice() const { return m_curDevice; }
    bool isListenerRunning() const { return m_listenerRunning.load(); }
    void startListener(uint did);
    void stopListener();
    // Blocks until the running write transfer (if any) has finished.
    void waitForTransfers();
    // Commands that did not reach the device, since construction: all of them
    // (not run, transfer failed, no device), and those that found no device.
    // Demo mode refuses transfers by design and counts as neither.
    int failedCommands() const { return m_failedCommands.load(); }
    int commandsWithoutDevice() const { return m_commandsWithoutDevice.load(); }

public slots:
    void swichCurDevice(uint did);
    uchar hidCS(uchar* cmd);
    void chkDeviceIsEnCode();
    void USBDataEncryption(uchar* FIFOBuf, uchar* SecrecyCode);
    void USBDataDecipher(uchar* FIFOBuf, uchar* SecrecyCode);
    void hid_00H_GetSecrecyCode(uchar& byte1, uchar& byte2, uchar& byte3, uchar& byte4);

    // Commands shared by both devices and the keyboard family.
    void hid_01H_SetReportRate(uchar rate);
    void hid_02H_SetCurrentProfile(uchar profile);
    void hid_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4);
    void hid_04H_SetGunData(uchar par0, uchar par1, uchar par2, uchar par3, uchar par4);
    void hid_07H_SetControlIndicatorLight(uchar effect, uchar frequenty);
    void hid_08H_SetLEDType(uchar option, uchar effect, uchar speed, uchar light, uchar color, uchar direction);
    void hid_09H_SetKeyboardMode(uchar mode);
    void hid_0DH_SetKeyMatrix(const Block512& src512);
    void hid_0EH_SetKeyOnOff(const Block21& src21);
    void hid_0EH_SetXYSensitive(uchar par0, uchar par1);
    void hid_11H_SetMacroKey(uchar macroId, const Block192& src192);
    void hid_12H_SetUserPicture(uchar index, uchar option, const Block512& src512);
    void hid_13H_SetRecoveryData();
    void hid_14H_SetColor(uchar index, uchar rValue, uchar gValue, uchar bValue);
    void hid_80H_GetFWVersion(QString& version);
    void hid_81H_GetReportRate(uchar& rate);
    void hid_82H_GetCurrentProfile(uchar& profile);
    void hid_83H_GetKeyboardoption(uchar& byte1, uchar& byte2, uchar& byte3, uchar& byte4);
    void hid_84H_GetButtonSensitivity(uchar& sens1, uchar& sens2, uchar& sens3, uchar& sens4);
    void hid_88H_GetLEDType(uchar& effect, uchar& speed, uchar& light, uchar& color, uchar& direction);
    void hid_89H_GetKeyboardMode(uchar& mode);
    void hid_8DH_GetKeyMatrix(Block512& src512);
    void hid_8EH_GetKeyOnOff(Block21& src21);
    void hid_91H_GetMacroKey(uchar macroId, Block192& src192);
    void hid_92H_GetUserPicture(uchar index, Block512& src512);
    void hid_94H_GetColor(uchar index, uchar& rValue, uchar& gValue, uchar& bValue);

    // Mouse commands.
    void hid_03H_SetFunctionOption(uchar type, uchar rate, uchar option1, uchar option2);
    void hid_07H_SetLEDInstructFunction(uchar type, uchar option1, uchar option2, uchar option3);
    void hid_0BH_SetCurrentDPIStage(uchar dpiStage);
    void hid_0DH_SetRGBLedEffect(uchar effect, uchar option1, uchar option2);
    void hid_10H_SetLED8StageColor(uchar type, const Block24& src24);
    void hid_11H_SetDPISet(uchar dpiStage, const Block8& src8);
    void hid_12H_SetKeyMatrix(const Block64& src64, uchar indexAddOne);
    void hid_13H_SetMacroKey(uchar macroId, const Block128& src128);
    void hid_83H_GetFunctionOption(uchar& type, uchar& option1, uchar& option2);
    bool hid_87H_GetLEDInstructFunction(uchar type, uchar& option1, uchar& option2, uchar& option3);
    void hid_8BH_GetCurrentDPIStage(uchar& dpiStage);
    void hid_8DH_GetRGBLedEffect(uchar& effect, uchar& option1, uchar& option2);
    void hid_90H_GetLED8StageColor(uchar type, Block24& src24);
    bool hid_91H_GetDPISet(uchar& dpiMAXStage, Block8& src8);
    void hid_92H_GetKeyMatrix(Block64& src64);
    void hid_93H_GetMacroKey(uchar macroId, Block128& src128);

private:
    using Data6 = std::array<uchar, 6>;
    enum class GetOutcome { NotAcquired, Failed, Answered };

    // One routine per command shape: every slot only fills in its bytes.
    void runSet(uchar code, const Data6& data, const uchar* payload, int bulkLength, bool settle, bool pause);
    GetOutcome runGet(uchar code, const Data6& data, const Data6& preset, uchar* block = nullptr, int bulkLength = 0,
                      int checksumOverride = -1);
    uchar answer(int byte) const { return m_answer[static_cast<std::size_t>(byte)]; }
    void startTransfer(HidTransport::Lease lease, uchar code, int bulkLength, bool settle);
    // Logs and counts a command that did not reach the device (once per command).
    void noteOutcome(uchar code, HidTransport::Outcome outcome);
    void storeSecrecyCode(const QString& codeText);
    bool exchangeSecrecyBytes(std::array<uchar, 4>& bytes);
    void showInfo(const QString& text);
    void listenerLoop(uint did);
    void handleEventReport(const uchar* report, int length);

    HidBackend& m_backend;
    const DeviceConfigSource& m_config;
    DeviceHost* m_host = nullptr;
    DeviceRecordList m_records;
    HidTransport m_transport;
    HidTransport::Report m_answer{};
    uint m_curDevice = 1;
    std::atomic<bool> m_listenerRunning{false};
    QFuture<void> m_listener;
    QMutex m_writesLock;
    QList<QFuture<void>> m_writes;
    std::atomic<int> m_failedCommands{0};
    std::atomic<int> m_commandsWithoutDevice{0};
};
