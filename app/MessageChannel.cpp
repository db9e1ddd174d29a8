// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageChannel.h"

#include "AppLogging.h"
#include "LocalEndpoint.h"

#include <QLocalSocket>
#include <QtEndian>

#include <utility>

namespace {
constexpr int kHeaderBytes = 8;
constexpr int kConnectTimeoutMs = 1000;
constexpr int kWriteTimeoutMs = 2000;
} // namespace

MessageChannel::MessageChannel(LocalListener::Limits limits, QObject* parent) : QObject(parent), m_listener(limits) {
    connect(&m_listener, &LocalListener::connected, this, &MessageChannel::accept);
}

MessageChannel::~MessageChannel() = default;

void MessageChannel::setHandler(TextHandler handler) {
    m_handler = std::move(handler);
}

void MessageChannel::setRaiseHandler(RaiseHandler handler) {
    m_raiseHandler = std::move(handler);
}

QString MessageChannel::serverNameFor(const QString& windowTitle, const QString& dataFolder) {
    return LocalEndpoint::pathFor(QStringLiteral("quellar-window"), dataFolder, windowTitle);
}

bool MessageChannel::listen(const QString& windowTitle, const QString& dataFolder) {
    return m_listener.listen(serverNameFor(windowTitle, dataFolder));
}

bool MessageChannel::isListening() const {
    return m_listener.isListening();
}

void MessageChannel::accept(QLocalSocket* socket) {
    // Bounded, so a sender that never stops cannot make us buffer without end.
    socket->setReadBufferSize(kHeaderBytes + kMaxMessageBytes + 1);
    m_pending.insert(socket, QByteArray());
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrom(socket); });
    connect(socket, &QLocalSocket::disconnected, this, [this, socket] { finish(socket); });
    connect(socket, &QObject::destroyed, this, [this, socket] { m_pending.remove(socket); });
    readFrom(socket);
    if (socket->state() == QLocalSocket::UnconnectedState)
        finish(socket);
}

void MessageChannel::readFrom(QLocalSocket* socket) {
    auto it = m_pending.find(socket);
    if (it == m_pending.end())
        return;
    it->append(socket->readAll());
    // The frame ends at the first zero after the header; the announced length is only checked.
    const qsizetype end = it->size() > kHeaderBytes ? it->indexOf('\0', kHeaderBytes) : -1;
    const qsizetype textBytes = (end >= 0 ? end : it->size()) - kHeaderBytes;
    if (textBytes > kMaxMessageBytes) {
        qCWarning(lcApp) << "window message too long, dropped";
        m_pending.erase(it);
        socket->abort();
        socket->deleteLater();
        return;
    }
    if (end >= 0) {
        const QByteArray frame = it->left(end);
        m_pending.erase(it);
        socket->disconnectFromServer();
        socket->deleteLater();
        deliver(frame);
    }
}

void MessageChannel::finish(QLocalSocket* socket) {
    if (!m_pending.contains(socket))
        return;
    readFrom(socket);
    // A sender that closed without the terminating zero sent no valid message.
    if (m_pending.remove(socket))
        socket->deleteLater();
}

void MessageChannel::deliver(const QByteArray& frame) {
    const auto tag = qFromLittleEndian<quint32>(frame.constData());
    const auto announcedLength = qFromLittleEndian<quint32>(frame.constData() + 4);
    if (tag == kRaiseTag && announcedLength == 0 && frame.size() == kHeaderBytes) {
        if (m_raiseHandler)
            m_raiseHandler();
        return;
    }
    if (tag != kWarningTag)
        return;
    const QString text = QString::fromUtf8(frame.mid(kHeaderBytes));
    if (quint32(text.toUtf8().size()) != announcedLength)
        return;
    if (m_handler)
        m_handler(text);
}

bool MessageChannel::sendText(const QString& windowTitle, const QString& text, const QString& dataFolder) {
    const QByteArray bytes = text.toUtf8();
    return sendFrame(windowTitle, kWarningTag, quint32(bytes.size()), bytes, dataFolder);
}

bool MessageChannel::sendRaise(const QString& windowTitle, const QString& dataFolder) {
    return sendFrame(windowTitle, kRaiseTag, 0, {}, dataFolder);
}

bool MessageChannel::sendFrame(const QString& windowTitle, quint32 tag, quint32 announcedLength,
                               const QByteArray& bytes, const QString& dataFolder) {
    QLocalSocket socket;
    if (!LocalEndpoint::connectTo(socket, serverNameFor(windowTitle, dataFolder), kConnectTimeoutMs))
        return false;
    QByteArray frame(kHeaderBytes, Qt::Uninitialized);
    qToLittleEndian<quint32>(tag, frame.data());
    qToLittleEndian<quint32>(announcedLength, frame.data() + 4);
    frame += bytes;
    frame += '\0';
    socket.write(frame);
    // The receiver may be this very thread, so only wait for the kernel to take the bytes.
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(kWriteTimeoutMs))
            return false;
    }
    socket.disconnectFromServer();
    return true;
}
