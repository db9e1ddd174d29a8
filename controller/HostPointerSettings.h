// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pointer settings that belong to the host (cursor speed, double-click
// time, wheel scroll lines, acceleration) and the wheel direction swap, which
// the mouse keeps as one bit of its function option. The first three and the
// swap flag are kept in the current profile, written before the host or the
// device is asked, so the profile holds the value even when they refuse it.
// GUI thread only.

#include <QObject>

class HostPointer;
class DevicePort;
class ProfileStore;

class HostPointerSettings : public QObject {
    Q_OBJECT
public:
    static constexpr uchar kScrollSwapBit = 0x40;

    HostPointerSettings(ProfileStore& profiles, HostPointer& host, DevicePort& device, QObject* parent = nullptr);

    // Host values for the page's speed steps 0..11.
    static unsigned int doubleClickTimeOf(unsigned int step);
    static unsigned int cursorSpeedOf(unsigned int step);

    void setScrollPinSwap(bool isSwap);
    bool getScrollPinSwap();
    void setAcceleration(bool acceleration);
    bool getAcceleration();
    void setCursorSpeed(uint cursorSpeed);
    uint getCursorSpeed();
    void setVerticalScrollLines(uint lines);
    uint getVerticalScrollLines();
    void setDoubleClickSpeed(uint speed);
    uint getDoubleClickSpeed();

private:
    uint storedStep(const QString& key);

    ProfileStore& m_profiles;
    HostPointer& m_host;
    DevicePort& m_device;
};
