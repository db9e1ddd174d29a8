// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CommandLineOptions.h"
#include "HeadlessHost.h"
#include "OperationTarget.h"
#include "ScriptedUserDialogs.h"

#include <memory>

class Backend;
class HidBackendStack;
class OperationRunner;
class Ui_Controler;
class myQQuickView;

// quellarctl's own back end on the data folder whose lock the caller holds. It starts with the
// first operation, so a verb whose arguments are wrong exits before any device is opened; when
// it goes, it waits for the transfers it started and writes the settings files. GUI thread.
class OwnBackEnd : public OperationTarget {
public:
    OwnBackEnd(CommandLineOptions options, const QString& answerFile);
    ~OwnBackEnd() override;
    OwnBackEnd(const OwnBackEnd&) = delete;
    OwnBackEnd& operator=(const OwnBackEnd&) = delete;

    QJsonObject run(const QString& operation, const QJsonArray& arguments) override;
    bool isRunningApp() const override { return false; }
    bool answerDialogsWith(const QString& path) override;

private:
    bool start(QString* error);

    CommandLineOptions m_options;
    ScriptedUserDialogs m_dialogs;
    HeadlessHost m_host;
    bool m_started = false;
    QString m_startError;
    std::unique_ptr<HidBackendStack> m_hid;
    std::unique_ptr<Backend> m_backend;
    std::unique_ptr<myQQuickView> m_view;
    std::unique_ptr<Ui_Controler> m_controller;
    std::unique_ptr<OperationRunner> m_runner;
};
