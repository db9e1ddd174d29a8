// SPDX-License-Identifier: GPL-3.0-or-later
#include "OperationClient.h"

#include "LocalEndpoint.h"
#include "OperationServer.h"

#include <QJsonDocument>

namespace {
constexpr int kConnectTimeoutMs = 1000;
}

bool OperationClient::connectTo(const QString& dataFolder) {
    const QString path = OperationServer::serverNameFor(dataFolder);
    if (path.isEmpty())
        return false;
    m_socket.connectToServer(path);
    return m_socket.waitForConnected(kConnectTimeoutMs) && LocalEndpoint::peerIsUser(m_socket);
}

QJsonObject OperationClient::run(const QString& operation, const QJsonArray& arguments) {
    const QJsonObject request{{QStringLiteral("operation"), operation}, {QStringLiteral("arguments"), arguments}};
    m_socket.write(QJsonDocument(request).toJson(QJsonDocument::Compact) + '\n');
    if (!m_socket.waitForBytesWritten(kAnswerTimeoutMs))
        return {};
    while (!m_socket.canReadLine()) {
        if (!m_socket.waitForReadyRead(kAnswerTimeoutMs))
            return {};
    }
    return QJsonDocument::fromJson(m_socket.readLine()).object();
}
