// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Device-side firmware of the virtual mouse: parses the reports the host
// sends and answers as the mouse does. It knows nothing of how reports reach
// it: the in-process HID seam (VirtualHidBackend) or /dev/uhid (tests/kernel/UhidMouse),
// which drains the input and event queues after each report and pushes them to the kernel.
//
// Threads: every public function locks; the host side may call from the GUI
// thread, pool threads and the listener at once.

#include "VirtualMouseState.h"

#include <QByteArray>
#include <QMutex>
#include <QString>
#include <QWaitCondition>
#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>

class VirtualMouse {
public:
    static constexpr std::uint16_t kVendorId = 0x04d9;
    static constexpr std::uint16_t kProductId = 0xa171;
    static constexpr std::size_t kFeatureReportSize = 9;
    static constexpr std::size_t kInputReportLength = 32;
    static constexpr std::size_t kEventReportSize = 4;
    static constexpr const char* kSecrecyCode = "731905";

    // `iniPath` names the file its memory persists in; empty = no persistence.
    explicit VirtualMouse(QString iniPath = {});

    // Host side. Feature reports carry the report id in byte 0.
    void receiveFeatureReport(const std::uint8_t* data, std::size_t length);
    int answerFeatureReport(std::uint8_t* data, std::size_t length);
    void receiveOutputReport(const std::uint8_t* data, std::size_t length);
    // Next bulk input report (without report id); 0 when none came within timeoutMs (-1 = wait).
    int nextInputReport(std::uint8_t* data, std::size_t length, int timeoutMs);
    int nextEventReport(std::uint8_t* data, std::size_t length, int timeoutMs);
    // The mouse unscrambles command reports and scrambles its answers while this is on.
    void setScrambling(bool on);

    // Control.
    void pressDpi(int stage);
    void unplug();
    void plug();
    bool isPlugged() const;
    QString dump() const;
    VirtualMouseState state() const;
    void setState(const VirtualMouseState& state);

private:
    using Byte = std::uint8_t;
    using Frame = std::array<Byte, kFeatureReportSize>;

    void handleCommand(const Frame& frame);
    void handleSet(const Frame& frame);
    bool announcesBlock(const Frame& frame);
    void announceMatrixOrPicture(const Frame& frame);
    bool applySetting(const Frame& frame);
    void handleGet(const Frame& frame);
    void answerBlockGet(const Frame& frame);
    void answerValueGet(const Frame& frame);
    void expectBulk(std::span<Byte> target);
    void queueInput(std::span<const Byte> bytes);
    void persist() const;
    int waitFor(const std::deque<QByteArray>& queue, int timeoutMs);

    mutable QMutex m_lock;
    QWaitCondition m_arrived;
    QString m_iniPath;
    VirtualMouseState m_state;
    bool m_plugged = true;
    bool m_scrambling = false;
    std::array<Byte, 8> m_code{};
    Frame m_answer{};
    std::span<Byte> m_bulkTarget;
    std::size_t m_bulkOffset = 0;
    std::deque<QByteArray> m_input;
    std::deque<QByteArray> m_events;
};
