// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QTimer>

class QLocalSocket;

// A local server that bounds what its clients can hold: at most maxConnections at once (one
// more is sent the refusal bytes and closed at once), each closed after idleTimeoutMs without
// data, connections of other users closed unread. The listening socket is opened again when
// it is lost: Qt closes the server for good when an accept fails (for want of descriptors),
// and the socket file may be removed. Lives on the thread it was made on.
class LocalListener : public QObject {
    Q_OBJECT
public:
    struct Limits {
        int maxConnections = 16;
        int idleTimeoutMs = 10000;
        int recoveryIntervalMs = 2000;
    };

    explicit LocalListener(Limits limits, QObject* parent = nullptr);
    ~LocalListener() override;

    // Bytes written to a connection refused for being one too many (empty: closed silently).
    void setRefusalReply(const QByteArray& bytes) { m_refusalReply = bytes; }

    bool listen(const QString& path);
    void close();
    bool isListening() const { return m_server.isListening(); }
    QString path() const { return m_path; }
    int connectionCount() const { return m_connections; }

signals:
    // A new client connection. It is deleted (later) when it disconnects; receivers may delete it sooner.
    void connected(QLocalSocket* socket);

private:
    void acceptConnections();
    bool admit(QLocalSocket* socket);
    void track(QLocalSocket* socket);
    void recover();

    Limits m_limits;
    QLocalServer m_server;
    QTimer m_recovery;
    QString m_path;
    QByteArray m_refusalReply;
    int m_connections = 0;
    bool m_refusing = false; // a refusal was logged; cleared when no connection is left
    bool m_lost = false;     // the loss was logged; cleared when listening again
};
