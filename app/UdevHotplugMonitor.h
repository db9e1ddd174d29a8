// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "HotplugMonitor.h"

class QSocketNotifier;
struct udev;
struct udev_monitor;

// libudev monitor on the "hidraw" subsystem; its socket is watched on the GUI thread and
// every add or remove becomes one deviceChanged signal.
class UdevHotplugMonitor : public HotplugMonitor {
    Q_OBJECT
public:
    explicit UdevHotplugMonitor(QObject* parent = nullptr);
    ~UdevHotplugMonitor() override;

    bool start() override;
    void stop() override;

private:
    void readEvents();

    udev* m_udev = nullptr;
    udev_monitor* m_monitor = nullptr;
    QSocketNotifier* m_notifier = nullptr; // child; stop() may run inside its own signal
};
