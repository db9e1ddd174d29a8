// SPDX-License-Identifier: GPL-3.0-or-later
#include "OperationServer.h"

#include "AppLogging.h"
#include "LocalEndpoint.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLocalSocket>

#include <utility>

OperationServer::OperationServer(Runner runner, LocalListener::Limits limits, QObject* parent)
    : QObject(parent), m_runner(std::move(runner)), m_listener(limits) {
    connect(&m_listener, &LocalListener::connected, this, [this](QLocalSocket* socket) {
        socket->setReadBufferSize(kMaxRequestBytes + 1);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { serve(socket); });
        serve(socket);
    });
}

OperationServer::~OperationServer() = default;

QString OperationServer::serverNameFor(const QString& dataFolder, QString* error) {
    return LocalEndpoint::pathFor(QStringLiteral("quellar-operations"), dataFolder, {}, error);
}

bool OperationServer::listen(const QString& dataFolder) {
    return m_listener.listen(serverNameFor(dataFolder));
}

void OperationServer::serve(QLocalSocket* socket) {
    while (socket->canReadLine()) {
        const QByteArray line = socket->readLine(kMaxRequestBytes + 1);
        socket->write(answer(line.trimmed()));
        socket->write("\n");
    }
    if (socket->bytesAvailable() > kMaxRequestBytes) {
        qCWarning(lcApp) << "operation request too long, connection closed";
        socket->abort();
        socket->deleteLater();
    }
}

QByteArray OperationServer::answer(const QByteArray& line) const {
    const QJsonDocument request = QJsonDocument::fromJson(line);
    const QJsonValue operation = request.object().value(QStringLiteral("operation"));
    const QJsonValue arguments = request.object().value(QStringLiteral("arguments"));
    if (!request.isObject() || !operation.isString() || !(arguments.isArray() || arguments.isUndefined())) {
        qCWarning(lcApp) << "malformed operation request refused";
        const QJsonObject refusal{{QStringLiteral("outcome"), QStringLiteral("bad request")},
                                  {QStringLiteral("message"), QStringLiteral("expected {\"operation\": NAME, "
                                                                             "\"arguments\": [...]}")}};
        return QJsonDocument(refusal).toJson(QJsonDocument::Compact);
    }
    return QJsonDocument(m_runner(operation.toString(), arguments.toArray())).toJson(QJsonDocument::Compact);
}
