#include "ControlChannel.h"

#include "LocalEndpoint.h"

#include <QDeadlineTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QTextStream>

#include <utility>

namespace {

QByteArray replyLine(bool ok, const QString& text) {
    const QJsonObject reply{{QStringLiteral("ok"), ok}, {QStringLiteral("text"), text}};
    return QJsonDocument(reply).toJson(QJsonDocument::Compact) + '\n';
}

} // namespace

ControlChannel::ControlChannel(Handler handler, QObject* parent) : QObject(parent), m_handler(std::move(handler)) {
    connect(&m_server, &QLocalServer::newConnection, this, &ControlChannel::acceptConnections);
}

ControlChannel::~ControlChannel() = default;

QString ControlChannel::serverNameFor(const QString& key) {
    return LocalEndpoint::nameFor(QStringLiteral("quellar-control"), key);
}

bool ControlChannel::listen(const QString& key) {
    if (m_server.isListening())
        m_server.close();
    return LocalEndpoint::listen(m_server, serverNameFor(key));
}

bool ControlChannel::isListening() const {
    return m_server.isListening();
}

void ControlChannel::acceptConnections() {
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { serve(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        serve(socket);
    }
}

void ControlChannel::serve(QLocalSocket* socket) {
    while (socket->canReadLine()) {
        const QByteArray line = socket->readLine(kMaxRequestBytes);
        socket->write(answer(line.trimmed()));
    }
    if (socket->bytesAvailable() > kMaxRequestBytes) {
        socket->write(replyLine(false, QStringLiteral("request too long")));
        socket->disconnectFromServer();
    }
}

QByteArray ControlChannel::answer(const QByteArray& line) const {
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(line, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isArray())
        return replyLine(false, QStringLiteral("malformed request"));
    QStringList args;
    for (const QJsonValue& value : document.array()) {
        if (!value.isString())
            return replyLine(false, QStringLiteral("malformed request"));
        args << value.toString();
    }
    bool ok = false;
    const QString text = m_handler ? m_handler(args, &ok) : QStringLiteral("no handler");
    return replyLine(ok, text);
}

ControlChannel::Reply ControlChannel::request(const QString& key, const QStringList& args, int timeoutMs) {
    Reply reply;
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    socket.connectToServer(serverNameFor(key));
    if (!socket.waitForConnected(int(deadline.remainingTime())))
        return reply;
    socket.write(QJsonDocument(QJsonArray::fromStringList(args)).toJson(QJsonDocument::Compact) + '\n');
    while (!socket.canReadLine()) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(int(deadline.remainingTime())))
            return reply;
    }
    const QJsonDocument document = QJsonDocument::fromJson(socket.readLine());
    if (!document.isObject())
        return reply;
    reply.reached = true;
    reply.ok = document.object().value(QStringLiteral("ok")).toBool();
    reply.text = document.object().value(QStringLiteral("text")).toString();
    return reply;
}

int ControlChannel::runClient(const QString& key, const QStringList& args, QTextStream& out, QTextStream& err,
                              int timeoutMs) {
    const Reply reply = request(key, args, timeoutMs);
    if (!reply.reached) {
        err << "no running quellar --virtual-device answered\n";
        err.flush();
        return kExitNoInstance;
    }
    QTextStream& stream = reply.ok ? out : err;
    stream << reply.text;
    if (!reply.text.isEmpty() && !reply.text.endsWith(QLatin1Char('\n')))
        stream << '\n';
    stream.flush();
    return reply.ok ? kExitOk : kExitRefused;
}
