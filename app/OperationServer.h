// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LocalListener.h"

#include <QJsonObject>
#include <QObject>

#include <functional>

class QLocalSocket;

// The running quellar's operation endpoint, so quellarctl acts on the same back end as the
// window instead of starting a second one beside it. One request per line, a JSON object
// {"operation": NAME, "arguments": [...]}; one answer per line, the runner's report (see
// OperationRunner). A connection may carry several requests, answered in order. One endpoint
// per data folder, user-only, on LocalListener's bounds. GUI thread.
class OperationServer : public QObject {
    Q_OBJECT
public:
    using Runner = std::function<QJsonObject(const QString& operation, const QJsonArray& arguments)>;

    // Longest request line: macro images and key matrices fit many times over.
    static constexpr int kMaxRequestBytes = 1024 * 1024;

    explicit OperationServer(Runner runner, LocalListener::Limits limits = {}, QObject* parent = nullptr);
    ~OperationServer() override;

    bool listen(const QString& dataFolder);
    bool isListening() const { return m_listener.isListening(); }
    // Empty with *error when the runtime folder is refused.
    static QString serverNameFor(const QString& dataFolder, QString* error = nullptr);

private:
    void serve(QLocalSocket* socket);
    QByteArray answer(const QByteArray& line) const;

    Runner m_runner;
    LocalListener m_listener; // last, so destroyed first: its sockets go before the state they report to
};
