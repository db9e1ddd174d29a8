// SPDX-License-Identifier: GPL-3.0-or-later
#include "LocalListener.h"

#include "AppLogging.h"
#include "LocalEndpoint.h"

#include <QFileInfo>
#include <QLocalSocket>

LocalListener::LocalListener(Limits limits, QObject* parent) : QObject(parent), m_limits(limits) {
    connect(&m_server, &QLocalServer::newConnection, this, &LocalListener::acceptConnections);
    m_recovery.setInterval(m_limits.recoveryIntervalMs);
    m_recovery.setTimerType(Qt::CoarseTimer);
    connect(&m_recovery, &QTimer::timeout, this, &LocalListener::recover);
}

LocalListener::~LocalListener() {
    // The server deletes its sockets; nobody may hear of it while its owner is half destroyed.
    for (QLocalSocket* socket : m_server.findChildren<QLocalSocket*>(Qt::FindDirectChildrenOnly))
        socket->disconnect();
}

bool LocalListener::listen(const QString& path) {
    close();
    if (!LocalEndpoint::listen(m_server, path))
        return false;
    m_path = path;
    m_lost = false;
    m_recovery.start();
    return true;
}

void LocalListener::close() {
    m_recovery.stop();
    m_path.clear();
    m_server.close();
}

void LocalListener::acceptConnections() {
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        if (!admit(socket)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        track(socket);
        emit connected(socket);
    }
}

bool LocalListener::admit(QLocalSocket* socket) {
    if (!LocalEndpoint::peerIsUser(*socket)) {
        qCWarning(lcApp) << "refused a connection of another user on" << m_path;
        return false;
    }
    if (m_connections < m_limits.maxConnections)
        return true;
    // Logged once until every connection has gone: a flood must not flood the log too.
    if (!m_refusing)
        qCWarning(lcApp) << "refusing connections on" << m_path << ":" << m_connections << "are open already";
    m_refusing = true;
    if (!m_refusalReply.isEmpty()) {
        socket->write(m_refusalReply);
        socket->flush();
    }
    return false;
}

void LocalListener::track(QLocalSocket* socket) {
    ++m_connections;
    auto* idle = new QTimer(socket);
    idle->setSingleShot(true);
    idle->start(m_limits.idleTimeoutMs);
    connect(socket, &QLocalSocket::readyRead, idle, qOverload<>(&QTimer::start));
    connect(idle, &QTimer::timeout, socket, [this, socket] {
        qCInfo(lcApp) << "closed a connection idle for" << m_limits.idleTimeoutMs << "ms on" << m_path;
        socket->abort();
        socket->deleteLater();
    });
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QObject::destroyed, this, [this] {
        if (--m_connections == 0)
            m_refusing = false;
    });
}

void LocalListener::recover() {
    if (m_server.isListening() && QFileInfo::exists(m_path))
        return;
    if (!m_lost)
        qCWarning(lcApp) << "lost the listening socket" << m_path << ":" << m_server.errorString()
                         << "; opening it again";
    m_lost = true;
    m_server.close();
    QString error; // the loss is logged already; a retry that fails again says nothing new
    if (LocalEndpoint::listen(m_server, m_path, &error)) {
        qCInfo(lcApp) << "listening again on" << m_path;
        m_lost = false;
    }
}
