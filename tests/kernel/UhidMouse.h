// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The virtual mouse's firmware presented to the kernel as a USB HID device through
// /dev/uhid: the command interface (ff00/ff00: 8-byte feature report, 32-byte output and
// input reports) and the event interface (ff01/ff01: 32-byte input reports), each a uhid
// device of its own, as the two interfaces of the real mouse are two hidraw nodes.
// Feature SET/GET reach the firmware, output reports are its bulk data, the bulk input it
// queues for a GET and its DPI-button events go back as input reports. unplug()/plug()
// destroy and create both devices.
//
// Threads: one server thread answers the kernel; the control functions may be called from
// any thread (an optional fault is armed before the transfer it concerns starts).

#include "VirtualMouse.h"

#include <QByteArray>
#include <QString>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

class UhidMouse {
public:
    // A GET the firmware never answers: the kernel's own timeout ends it.
    static constexpr int kNeverAnswer = -1;

    // `scrambling`: whether the firmware unscrambles commands, as the catalogue's host does.
    UhidMouse(VirtualMouse& mouse, bool scrambling);
    ~UhidMouse();
    UhidMouse(const UhidMouse&) = delete;
    UhidMouse& operator=(const UhidMouse&) = delete;

    // Opens /dev/uhid for both interfaces, creates them and starts answering; false (with the
    // reason in *error) when uhid is not there.
    bool start(QString* error);
    void pressDpi(int stage);
    void unplug();
    void plug();

    // Faults: both interfaces vanish once `count` more output reports have arrived (0 = off);
    // GET replies wait `delayMs` (kNeverAnswer = withheld; 0 = at once).
    void destroyAfterOutputs(int count);
    void setGetReplyDelay(int delayMs);

    // A third uhid device with the same vendor usage page but other ids, which discovery must pass by.
    static bool createStranger(int* fd, QString* error);

private:
    struct Interface {
        int fd = -1;
        const char* name = "";
        QByteArray descriptor;
    };

    bool createInterface(const Interface& iface);
    void destroyInterfaces();
    void serve();
    void handleEvent(const Interface& iface);
    void answerGet(int fd, std::uint32_t id);
    void takeOutput(const std::uint8_t* data, std::size_t size);
    void sendQueuedInput();
    void sendInput(int fd, const std::uint8_t* data, std::size_t size);

    VirtualMouse& m_mouse;
    Interface m_command;
    Interface m_event;
    std::mutex m_createLock; // create, destroy and the created flag
    bool m_created = false;
    std::atomic<bool> m_running{false};
    std::atomic<int> m_outputsLeft{0};
    std::atomic<int> m_getDelayMs{0};
    std::thread m_server;
};
