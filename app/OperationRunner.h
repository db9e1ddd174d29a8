// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>

class Hid_Thread;
class QObject;

// Runs one operation of the QML contract by name, on the view (or, named "ui_Ctl.NAME", on the
// controller), and reports what became of it as one JSON object: "outcome" ("done" or why it
// could not be called), "value" (the operation's answer), "message" (for a failure), "warnings"
// (warnings of quellar.* logged meanwhile), "failed" and "absent" (device commands that did not
// reach the device, and those of them that found no device). It waits for the transfers the
// operation started, so the counts are complete. The same report whether quellarctl runs the
// operation itself or the running quellar runs it for it. GUI thread.
class OperationRunner {
public:
    static constexpr const char* kControllerPrefix = "ui_Ctl.";

    OperationRunner(QObject* view, QObject* controller, Hid_Thread& worker);

    QJsonObject run(const QString& operation, const QJsonArray& arguments);
    // True for an operation that only reads (get..., chk..., is..., the 8xH and 9xH reads).
    static bool isQuery(const QString& operation);
    // True for an operation that asks the user for a file or an answer in a dialog.
    static bool needsDialog(const QString& operation);
    // Every operation with its signature, "TYPE NAME(PARAMETERS)", controller ones prefixed.
    static QStringList signatures();

private:
    QObject* m_view;
    QObject* m_controller;
    Hid_Thread& m_worker;
};
