// SPDX-License-Identifier: GPL-3.0-or-later
#include "QmlRootNotifier.h"

#include <QMetaObject>
#include <QQuickItem>
#include <QQuickWidget>

namespace {
QGenericArgument argumentAt(const QVariantList& arguments, int index) {
    return index < arguments.size() ? Q_ARG(QVariant, arguments[index]) : QGenericArgument();
}
} // namespace

void QmlRootNotifier::setView(QQuickWidget* view) {
    m_view = view;
}

void QmlRootNotifier::post(const QString& function, const QVariantList& arguments) {
    if (m_view && m_view->rootObject() && m_pending.isEmpty()) {
        invoke(function, arguments, Qt::QueuedConnection);
        return;
    }
    if (m_pending.size() < kMaxPending)
        m_pending.append({function, arguments});
}

void QmlRootNotifier::call(const QString& function, const QVariantList& arguments) {
    if (m_view && m_view->rootObject())
        invoke(function, arguments, Qt::DirectConnection);
}

void QmlRootNotifier::flushPending() {
    if (!m_view || !m_view->rootObject())
        return;
    const QList<PendingCall> pending = std::exchange(m_pending, {});
    for (const PendingCall& waiting : pending)
        invoke(waiting.function, waiting.arguments, Qt::QueuedConnection);
}

void QmlRootNotifier::invoke(const QString& function, const QVariantList& arguments, Qt::ConnectionType type) {
    // QML functions take QVariant parameters; at most four are ever passed.
    QMetaObject::invokeMethod(m_view->rootObject(), function.toUtf8().constData(), type, argumentAt(arguments, 0),
                              argumentAt(arguments, 1), argumentAt(arguments, 2), argumentAt(arguments, 3));
}
