// SPDX-License-Identifier: GPL-3.0-or-later
#include "UdevHotplugMonitor.h"

#include "AppLogging.h"

#include <QSocketNotifier>

#include <libudev.h>

#include <cstring>

namespace {
constexpr const char* kSubsystem = "hidraw";
}

UdevHotplugMonitor::UdevHotplugMonitor(QObject* parent) : HotplugMonitor(parent) {}

UdevHotplugMonitor::~UdevHotplugMonitor() {
    // Qualified: no virtual dispatch while the object is destroyed.
    UdevHotplugMonitor::stop();
}

bool UdevHotplugMonitor::start() {
    stop();
    m_udev = udev_new();
    if (m_udev)
        m_monitor = udev_monitor_new_from_netlink(m_udev, "udev");
    if (!m_monitor || udev_monitor_filter_add_match_subsystem_devtype(m_monitor, kSubsystem, nullptr) < 0 ||
        udev_monitor_enable_receiving(m_monitor) < 0) {
        qCWarning(lcApp) << "device hot-plug notifications are unavailable";
        stop();
        return false;
    }
    m_notifier = new QSocketNotifier(udev_monitor_get_fd(m_monitor), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &UdevHotplugMonitor::readEvents);
    return true;
}

void UdevHotplugMonitor::stop() {
    if (m_notifier) {
        m_notifier->setEnabled(false);
        m_notifier->deleteLater();
        m_notifier = nullptr;
    }
    if (m_monitor)
        udev_monitor_unref(m_monitor);
    if (m_udev)
        udev_unref(m_udev);
    m_monitor = nullptr;
    m_udev = nullptr;
}

void UdevHotplugMonitor::readEvents() {
    // A receiver may stop the monitor from inside the signal.
    while (udev_device* device = m_monitor ? udev_monitor_receive_device(m_monitor) : nullptr) {
        const char* action = udev_device_get_action(device);
        const QString node = QString::fromLocal8Bit(udev_device_get_devnode(device));
        if (action && std::strcmp(action, "add") == 0)
            emit deviceChanged(Action::Added, node);
        else if (action && std::strcmp(action, "remove") == 0)
            emit deviceChanged(Action::Removed, node);
        udev_device_unref(device);
    }
}
