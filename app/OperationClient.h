// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QLocalSocket>

// quellarctl's side of the running quellar's operation endpoint (OperationServer): one
// connection, one request at a time, each answered before the next is sent.
class OperationClient {
public:
    // How long one operation may take in the running program, transfers included.
    static constexpr int kAnswerTimeoutMs = 30000;

    // False when no quellar of this user serves the data folder.
    bool connectTo(const QString& dataFolder);
    // The runner's report; an empty object when the connection broke or the answer never came.
    QJsonObject run(const QString& operation, const QJsonArray& arguments);

private:
    QLocalSocket m_socket;
};
