// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LocalListener.h"

#include <QObject>
#include <QStringList>

#include <functional>

class QLocalSocket;
class QTextStream;

// Line-based control endpoint of a running instance (quellarctl virtual ... talks to it).
// A request is one line holding a JSON array of strings; the answer is one line holding a
// JSON object {"ok": bool, "text": string}. The handler decides what the words mean, so the
// channel knows nothing of what it controls. One channel per data folder; a client only talks
// to a server of its own user. GUI thread.
class ControlChannel : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<QString(const QStringList& args, bool* ok)>;

    // Client exit codes.
    static constexpr int kExitOk = 0;
    static constexpr int kExitRefused = 1;    // the handler reported a failure
    static constexpr int kExitNoInstance = 3; // nobody listens, or the answer never came

    static constexpr int kMaxRequestBytes = 64 * 1024;

    explicit ControlChannel(Handler handler, LocalListener::Limits limits = {}, QObject* parent = nullptr);
    ~ControlChannel() override;

    // key separates instances (pass the data folder); one user may run one per key.
    bool listen(const QString& key = {});
    bool isListening() const;
    int connectionCount() const { return m_listener.connectionCount(); }
    // Empty with *error when the runtime folder is refused.
    static QString serverNameFor(const QString& key, QString* error = nullptr);

    struct Reply {
        bool reached = false;
        bool ok = false;
        QString text;
        QString error; // why it was not reached, when known
    };
    // Sends one request and waits for its answer.
    static Reply request(const QString& key, const QStringList& args, int timeoutMs = 5000);
    // quellarctl's side: sends, prints the answer (errors to err) and returns the exit code.
    static int runClient(const QString& key, const QStringList& args, QTextStream& out, QTextStream& err,
                         int timeoutMs = 5000);

private:
    void accept(QLocalSocket* socket);
    void serve(QLocalSocket* socket);
    QByteArray answer(const QByteArray& line) const;

    Handler m_handler;
    LocalListener m_listener; // last, so destroyed first: its sockets go before the state they report to
};
