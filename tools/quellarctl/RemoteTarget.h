// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The running quellar's back end, reached through its operation endpoint.

#include "OperationClient.h"
#include "OperationRunner.h"
#include "OperationTarget.h"

class RemoteTarget : public OperationTarget {
public:
    bool connectTo(const QString& dataFolder) { return m_client.connectTo(dataFolder); }
    // An operation that would open a dialog in the running window is not sent.
    QJsonObject run(const QString& operation, const QJsonArray& arguments) override {
        if (OperationRunner::needsDialog(operation))
            return {
                {QStringLiteral("outcome"), QStringLiteral("needs the window")},
                {QStringLiteral("message"), QStringLiteral("%1 asks for a file or an answer in the running "
                                                           "quellar's window; use the window, or quit quellar first")
                                                .arg(operation)}};
        return m_client.run(operation, arguments);
    }
    bool isRunningApp() const override { return true; }
    bool answerDialogsWith(const QString&) override { return false; }

private:
    OperationClient m_client;
};
