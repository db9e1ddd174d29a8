// SPDX-License-Identifier: GPL-3.0-or-later
#include "CallVerbs.h"

#include "OperationInvoker.h"
#include "OperationRunner.h"
#include "VerbSession.h"

#include <QFile>
#include <QJsonDocument>
#include <cstdio>

int CallVerbs::listOperations(const QStringList& arguments) {
    if (arguments != QStringList{QStringLiteral("--list")})
        return -1;
    for (const QString& signature : OperationRunner::signatures())
        std::fprintf(stdout, "%s\n", qPrintable(signature));
    return VerbSession::kExitDone;
}

std::optional<QList<CallVerbs::Operation>> CallVerbs::fromCall(const QStringList& words) {
    if (words.isEmpty()) {
        VerbSession::printError(QStringLiteral("call: give OPERATION [ARG ...], or --list"));
        return std::nullopt;
    }
    Operation operation{words.first(), {}};
    for (const QString& word : words.mid(1))
        operation.arguments.append(OperationInvoker::parseWord(word));
    return QList<Operation>{operation};
}

std::optional<QList<CallVerbs::Operation>> CallVerbs::fromScript(const QStringList& words) {
    if (words.size() != 1) {
        VerbSession::printError(QStringLiteral("script: give FILE, or - for standard input"));
        return std::nullopt;
    }
    const QString& path = words.first();
    QFile file;
    const bool opened = path == QLatin1String("-")
                            ? file.open(stdin, QIODevice::ReadOnly | QIODevice::Text)
                            : (file.setFileName(path), file.open(QIODevice::ReadOnly | QIODevice::Text));
    if (!opened) {
        VerbSession::printError(QStringLiteral("cannot read the script %1").arg(path));
        return std::nullopt;
    }
    QList<Operation> operations;
    int lineNumber = 0;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        ++lineNumber;
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QJsonDocument document = QJsonDocument::fromJson(line);
        const QJsonArray array = document.array();
        if (!document.isArray() || array.isEmpty() || !array.first().isString()) {
            VerbSession::printError(QStringLiteral("line %1: expected [\"NAME\", arg, ...]").arg(lineNumber));
            return std::nullopt;
        }
        operations.append({array.first().toString(), QJsonArray::fromVariantList(array.toVariantList().mid(1))});
    }
    return operations;
}

int CallVerbs::run(VerbSession& session, const QList<Operation>& operations) {
    QJsonArray answers;
    session.keepAnswersOnly();
    for (const Operation& operation : operations) {
        const QJsonValue value = session.call(operation.name, operation.arguments);
        if (!session.callable())
            break;
        if (session.json())
            answers.append(value);
        else
            session.answer(value);
    }
    if (session.json())
        session.field(QStringLiteral("results"), answers);
    return session.finish();
}
