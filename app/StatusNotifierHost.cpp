// SPDX-License-Identifier: GPL-3.0-or-later
#include "StatusNotifierHost.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>

namespace {
const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");
const QString kWatcherInterface = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kHostProperty = QStringLiteral("IsStatusNotifierHostRegistered");
const QString kPropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
// Asked once at start-up; a watcher that does not answer in time counts as absent.
constexpr int kReplyTimeoutMs = 2000;
} // namespace

bool StatusNotifierHost::isPresent() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(kWatcherService).value())
        return false;
    QDBusMessage get =
        QDBusMessage::createMethodCall(kWatcherService, kWatcherPath, kPropertiesInterface, QStringLiteral("Get"));
    get.setArguments({kWatcherInterface, kHostProperty});
    const QDBusReply<QDBusVariant> reply = bus.call(get, QDBus::Block, kReplyTimeoutMs);
    return reply.isValid() && reply.value().variant().toBool();
}
