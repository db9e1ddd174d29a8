// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonArray>
#include <QList>
#include <QStringList>
#include <optional>

class VerbSession;

// The expert mode: `call OPERATION ARGS` and `script FILE|-` run operations of the QML contract
// by name, one answer line each; `call --list` prints every operation with its signature.
class CallVerbs {
public:
    struct Operation {
        QString name;
        QJsonArray arguments;
    };

    // Without a back end: `call --list`; -1 for anything else.
    static int listOperations(const QStringList& arguments);
    // The operations a call or a script names; nullopt (reported) when they cannot be read.
    static std::optional<QList<Operation>> fromCall(const QStringList& words);
    static std::optional<QList<Operation>> fromScript(const QStringList& words);
    // Runs them in order; stops at the first one that cannot be called.
    static int run(VerbSession& session, const QList<Operation>& operations);
};
