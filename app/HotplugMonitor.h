// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

// Tells the host window that HID devices came or went, so it can run discovery again.
// Signals are emitted on the GUI thread.
class HotplugMonitor : public QObject {
    Q_OBJECT
public:
    enum class Action { Added, Removed };
    Q_ENUM(Action)

    using QObject::QObject;
    ~HotplugMonitor() override = default;

    // Starts watching; false when the platform offers no notifications.
    virtual bool start() = 0;
    virtual void stop() = 0;

signals:
    void deviceChanged(HotplugMonitor::Action action, const QString& deviceNode);
};
