// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where quellarctl's operations run: its own back end, or the running quellar's (forwarded).
// Both answer with the OperationRunner's report.

#include <QJsonArray>
#include <QJsonObject>

class OperationTarget {
public:
    virtual ~OperationTarget() = default;
    virtual QJsonObject run(const QString& operation, const QJsonArray& arguments) = 0;
    // True when the running quellar answers.
    virtual bool isRunningApp() const = 0;
    // File dialogs answered with this path (empty: cancelled); false when the dialogs are the
    // running window's and cannot be answered from here.
    virtual bool answerDialogsWith(const QString& path) = 0;
};
