// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Invokes an operation of a QObject by name through the meta-object system,
// the way QML does: arguments arrive as JSON values and are converted to the
// slot's parameter types; the result comes back as JSON. Overloads are told
// apart by their argument count.

#include <QJsonArray>
#include <QJsonValue>
#include <QString>
#include <QStringList>

class QObject;
struct QMetaObject;

class OperationInvoker {
public:
    enum class Outcome { Done, UnknownOperation, WrongArgumentCount, BadArgument };

    struct Result {
        Outcome outcome = Outcome::Done;
        QJsonValue value; // the operation's result; null for none
        QString message;  // for failures: what went wrong and the signatures
    };

    static Result invoke(QObject* target, const QString& operation, const QJsonArray& arguments);
    // A shell word as an argument: JSON when it parses, a string otherwise.
    static QJsonValue parseWord(const QString& word);
    static QJsonValue toJson(const QVariant& value);
    // The public slots a class adds to QObject's, as "TYPE PREFIXNAME(PARAMETERS)", sorted.
    static QStringList signatures(const QMetaObject& meta, const QString& prefix = {});
};
