#pragma once
// quellarctl's own back end: the operations run in this process.

#include "OperationRunner.h"
#include "OperationTarget.h"
#include "ScriptedUserDialogs.h"

class LocalTarget : public OperationTarget {
public:
    LocalTarget(OperationRunner& runner, ScriptedUserDialogs& dialogs) : m_runner(runner), m_dialogs(dialogs) {}
    QJsonObject run(const QString& operation, const QJsonArray& arguments) override {
        return m_runner.run(operation, arguments);
    }
    bool isRunningApp() const override { return false; }
    bool answerDialogsWith(const QString& path) override {
        m_dialogs.setAnswerPath(path);
        return true;
    }

private:
    OperationRunner& m_runner;
    ScriptedUserDialogs& m_dialogs;
};
