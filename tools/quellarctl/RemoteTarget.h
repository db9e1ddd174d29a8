#pragma once
// The running quellar's back end, reached through its operation endpoint.

#include "OperationClient.h"
#include "OperationTarget.h"

class RemoteTarget : public OperationTarget {
public:
    bool connectTo(const QString& dataFolder) { return m_client.connectTo(dataFolder); }
    QJsonObject run(const QString& operation, const QJsonArray& arguments) override {
        return m_client.run(operation, arguments);
    }
    bool isRunningApp() const override { return true; }
    bool answerDialogsWith(const QString&) override { return false; }

private:
    OperationClient m_client;
};
