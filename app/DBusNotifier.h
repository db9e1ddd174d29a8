// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Notifier.h"

#include <QDBusConnection>
#include <QObject>

#include <optional>

class QDBusPendingCall;

// Messages as desktop notifications (org.freedesktop.Notifications on the session bus). Each
// Notify passes the id of the previous one as replaces_id, so a new DPI stage replaces the
// message in place instead of stacking a new one. Calls are asynchronous; a message raised while
// one is on its way waits for its id (only the newest waits). When the server fails a call, the
// warning is logged once and this and every later message go to the fallback. GUI thread only.
class DBusNotifier : public QObject, public Notifier {
    Q_OBJECT
public:
    static const QString kService;
    static const QString kPath;
    static const QString kInterface;
    static const QString kAppName;

    DBusNotifier(QDBusConnection bus, Notifier& fallback, QObject* parent = nullptr);

    // Whether a notification server runs on the bus or is started on demand by it.
    static bool isServed(const QDBusConnection& bus);

    void notify(const QString& title, const QString& text, int msecs) override;

private:
    struct Message {
        QString title;
        QString text;
        int msecs = 0;
    };

    void send(const Message& message);
    void finished(const QDBusPendingCall& call, const Message& message);

    QDBusConnection m_bus;
    Notifier& m_fallback;
    uint m_lastId = 0;
    bool m_callPending = false;
    bool m_failed = false;
    std::optional<Message> m_waiting;
};
