// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Calls functions of the QML root object by name. The root is not ready while
// QML is still completing its own construction, so calls made before then are
// kept in order and delivered once the root exists. GUI thread only.

#include <QList>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QVariantList>

class QQuickWidget;

class QmlRootNotifier {
public:
    QmlRootNotifier() = default;

    // The view whose root receives the calls; none: posted calls wait, direct ones are dropped.
    void setView(QQuickWidget* view);

    // Queued call: reaches QML from the event loop.
    void post(const QString& function, const QVariantList& arguments = {});
    // Direct call; dropped when the root is not there.
    void call(const QString& function, const QVariantList& arguments = {});
    // Delivers what waited for the root; called when the view's status changes.
    void flushPending();

private:
    struct PendingCall {
        QString function;
        QVariantList arguments;
    };
    static constexpr int kMaxPending = 256;

    void invoke(const QString& function, const QVariantList& arguments, Qt::ConnectionType type);

    QPointer<QQuickWidget> m_view;
    QList<PendingCall> m_pending;
};
