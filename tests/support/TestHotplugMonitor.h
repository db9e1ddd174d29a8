// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "HotplugMonitor.h"

// Hot-plug monitor that tests fire by hand; only fires while started.
class TestHotplugMonitor : public HotplugMonitor {
public:
    using HotplugMonitor::HotplugMonitor;

    bool start() override {
        m_running = true;
        return true;
    }
    void stop() override { m_running = false; }
    bool isRunning() const { return m_running; }

    void fire(Action action, const QString& deviceNode = QStringLiteral("/dev/hidraw0")) {
        if (m_running)
            emit deviceChanged(action, deviceNode);
    }

private:
    bool m_running = false;
};
