// SPDX-License-Identifier: GPL-3.0-or-later
#include "VerbSession.h"

#include "OperationTarget.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>
#include <cstdio>

namespace {
// A false answer of a query (get..., chk..., is...) is an answer; of any other operation, a refusal.
bool isRefusal(const QString& operation, const QJsonValue& value) {
    static const QStringList kQueryPrefixes{QStringLiteral("get"), QStringLiteral("chk"), QStringLiteral("is")};
    const QString name = operation.section(QLatin1Char('.'), -1);
    const bool query = std::any_of(kQueryPrefixes.begin(), kQueryPrefixes.end(),
                                   [&name](const QString& prefix) { return name.startsWith(prefix); });
    return !query && value.isBool() && !value.toBool();
}

QByteArray compact(const QJsonValue& value) {
    const QByteArray json = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return json.mid(1, json.size() - 2); // the value without its wrapping brackets
}
} // namespace

VerbSession::VerbSession(OperationTarget& target, bool json) : m_target(target), m_json(json) {}

QJsonValue VerbSession::call(const QString& operation, const QJsonArray& arguments) {
    if (!callable())
        return QJsonValue::Null;
    const QJsonObject report = m_target.run(operation, arguments);
    if (report.isEmpty()) {
        printError(QStringLiteral("the running quellar did not answer %1").arg(operation));
        m_refused = true;
        return QJsonValue::Null;
    }
    const QString outcome = report.value(QStringLiteral("outcome")).toString();
    if (outcome != QLatin1String("done")) {
        printError(report.value(QStringLiteral("message")).toString());
        (outcome == QLatin1String("needs the window") ? m_busy : m_usage) = true;
        return QJsonValue::Null;
    }
    QJsonValue value = report.value(QStringLiteral("value"));
    m_noDevice |= report.value(QStringLiteral("absent")).toInt() > 0;
    m_refused |= report.value(QStringLiteral("warnings")).toInt() > 0 ||
                 report.value(QStringLiteral("failed")).toInt() > 0 || isRefusal(operation, value);
    return value;
}

void VerbSession::refuse(const QString& why) {
    printError(why);
    m_refused = true;
}

void VerbSession::put(const QString& key, const QJsonValue& value, const QString& text, const QString& label) {
    m_fields.insert(key, value);
    m_lines.append((label.isEmpty() ? key : label) + QStringLiteral(": ") + text);
}

void VerbSession::answer(const QJsonValue& value) {
    // Scripts read answers as they come.
    std::fprintf(stdout, "%s\n", compact(value).constData());
    std::fflush(stdout);
}

int VerbSession::finish() {
    const QString answeredBy =
        m_target.isRunningApp() ? QStringLiteral("the running quellar") : QStringLiteral("quellarctl's own back end");
    if (m_json) {
        QJsonObject object = m_fields;
        object.insert(QStringLiteral("answeredBy"),
                      m_target.isRunningApp() ? QStringLiteral("quellar") : QStringLiteral("quellarctl"));
        std::fprintf(stdout, "%s\n", QJsonDocument(object).toJson(QJsonDocument::Compact).constData());
    } else {
        for (const QString& line : m_lines)
            std::fprintf(stdout, "%s\n", qPrintable(line));
    }
    if (!m_json)
        std::fprintf(m_answersOnly ? stderr : stdout, "answered by %s\n", qPrintable(answeredBy));
    std::fflush(stdout);
    if (m_usage)
        return kExitUsage;
    if (m_busy)
        return kExitBusy;
    if (m_noDevice) {
        printError(QStringLiteral("no device answered"));
        return kExitNoDevice;
    }
    return m_refused ? kExitRefused : kExitDone;
}

void VerbSession::printError(const QString& text) {
    std::fprintf(stderr, "quellarctl: %s\n", qPrintable(text));
}

int VerbSession::usage(const QString& text) {
    printError(text);
    return kExitUsage;
}
