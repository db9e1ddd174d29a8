// SPDX-License-Identifier: GPL-3.0-or-later
#include "DBusNotifier.h"

#include "AppLogging.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>
#include <utility>

const QString DBusNotifier::kService = QStringLiteral("org.freedesktop.Notifications");
const QString DBusNotifier::kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString DBusNotifier::kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString DBusNotifier::kAppName = QStringLiteral("Quellar");

namespace {
const QString kNotifyMethod = QStringLiteral("Notify");
// The icon and desktop entry installed with the program (share/icons, share/applications).
const QString kIconName = QStringLiteral("quellar");
const QString kDesktopEntry = QStringLiteral("quellar");
// A server that does not answer within this time counts as failed: the balloon takes over.
constexpr int kCallTimeoutMs = 5000;
} // namespace

DBusNotifier::DBusNotifier(QDBusConnection bus, Notifier& fallback, QObject* parent)
    : QObject(parent), m_bus(std::move(bus)), m_fallback(fallback) {}

bool DBusNotifier::isServed(const QDBusConnection& bus) {
    const QDBusConnectionInterface* daemon = bus.isConnected() ? bus.interface() : nullptr;
    if (!daemon)
        return false;
    // Most servers are started by the bus at the first call, so an activatable name counts too.
    return daemon->isServiceRegistered(kService).value() ||
           daemon->activatableServiceNames().value().contains(kService);
}

void DBusNotifier::notify(const QString& title, const QString& text, int msecs) {
    const Message message{title, text, msecs};
    if (m_failed) {
        m_fallback.notify(title, text, msecs);
        return;
    }
    // Sent before the previous id is known, the message would stack instead of replacing.
    if (m_callPending) {
        m_waiting = message;
        return;
    }
    send(message);
}

void DBusNotifier::send(const Message& message) {
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, kNotifyMethod);
    const QVariantMap hints{{QStringLiteral("desktop-entry"), kDesktopEntry}};
    call << kAppName << m_lastId << kIconName << message.title << message.text << QStringList() << hints
         << message.msecs;
    const QDBusPendingCall pending = m_bus.asyncCall(call, kCallTimeoutMs);
    m_callPending = true;
    // Without a connection the call has failed already, and no watcher would report it.
    if (pending.isFinished()) {
        finished(pending, message);
        return;
    }
    auto* watcher = new QDBusPendingCallWatcher(pending, this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, message](QDBusPendingCallWatcher* done) {
        done->deleteLater();
        finished(*done, message);
    });
}

void DBusNotifier::finished(const QDBusPendingCall& call, const Message& message) {
    m_callPending = false;
    const QDBusPendingReply<uint> reply = call;
    if (reply.isError()) {
        qCWarning(lcApp).noquote() << "desktop notification failed, using the tray balloon:" << reply.error().message();
        m_failed = true;
        m_fallback.notify(message.title, message.text, message.msecs);
    } else {
        m_lastId = reply.value();
    }
    if (m_waiting) {
        const Message next = *m_waiting;
        m_waiting.reset();
        notify(next.title, next.text, next.msecs);
    }
}
