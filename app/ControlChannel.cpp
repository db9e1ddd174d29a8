// SPDX-License-Identifier: GPL-3.0-or-later
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

ControlChannel::ControlChannel(Handler handler, LocalListener::Limits limits, QObject* parent)
    : QObject(parent), m_handler(std::move(handler)), m_listener(limits) {
    m_listener.setRefusalReply(replyLine(false, QStringLiteral("busy: too many connections")));
    connect(&m_listener, &LocalListener::connected, this, &ControlChannel::accept);
}

ControlChannel::~ControlChannel() = default;

QString ControlChannel::serverNameFor(const QString& key, QString* error) {
    return LocalEndpoint::pathFor(QStringLiteral("quellar-control"), key, {}, error);
}

bool ControlChannel::listen(const QString& key) {
    return m_listener.listen(serverNameFor(key));
}

bool ControlChannel::isListening() const {
    return m_listener.isListening();
}

void ControlChannel::accept(QLocalSocket* socket) {
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { serve(socket); });
    serve(socket);
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
    for (const auto& value : document.array()) {
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
    if (!LocalEndpoint::connectTo(socket, serverNameFor(key, &reply.error), int(deadline.remainingTime()),
                                  &reply.error))
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
        if (!reply.error.isEmpty())
            err << reply.error << '\n';
        else
            err << "no running quellar --virtual-device answered on this data folder\n";
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
