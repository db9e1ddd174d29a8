// SPDX-License-Identifier: GPL-3.0-or-later
#include "WarningPresenter.h"

#include "AppLogging.h"

#include <utility>

WarningPresenter::WarningPresenter(ShowFunction show, QObject* parent) : QObject(parent), m_show(std::move(show)) {}

void WarningPresenter::offer(const QString& text) {
    if (m_busy) {
        ++m_dropped;
        ++m_droppedMeanwhile;
        return;
    }
    m_busy = true;
    // By name: the functor overload hands Qt a heap slot object that the static analyser takes for a leak.
    QMetaObject::invokeMethod(this, "present", Qt::QueuedConnection, Q_ARG(QString, text));
}

void WarningPresenter::present(const QString& text) {
    qCInfo(lcApp).noquote() << "warning box:" << text;
    ++m_shown;
    if (m_show)
        m_show(text);
    if (m_droppedMeanwhile > 0)
        qCWarning(lcApp) << "dropped" << m_droppedMeanwhile << "window messages that came while a warning was shown";
    m_droppedMeanwhile = 0;
    m_busy = false;
}
