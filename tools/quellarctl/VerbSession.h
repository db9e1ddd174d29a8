// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>

class OperationTarget;

// One run of a verb: calls operations on the target, tallies what became of them, collects the
// verb's output (labelled fields for --json, lines of text otherwise) and turns it all into
// the exit code. The first of usage, no device and refused-or-failed wins, as documented.
class VerbSession {
public:
    static constexpr int kExitDone = 0;
    static constexpr int kExitRefused = 1;
    static constexpr int kExitUsage = 2;
    static constexpr int kExitNoDevice = 3;
    static constexpr int kExitBusy = 4;

    VerbSession(OperationTarget& target, bool json);

    // The operation's answer; null when it could not be called (the failure is reported).
    // A list as the only argument must be wrapped: {QJsonValue(list)}.
    QJsonValue call(const QString& operation, const QJsonArray& arguments = {});
    // False once an operation could not be called: nothing after it should run.
    bool callable() const { return !m_usage && !m_busy; }
    // A refusal found by the verb itself (a rule of the window said no).
    void refuse(const QString& why);

    // One labelled result: a field of the JSON object, a "label: text" line otherwise (the
    // label is the key unless given).
    void put(const QString& key, const QJsonValue& value, const QString& text, const QString& label = {});
    // A field of the JSON object only (its text is given by lines).
    void field(const QString& key, const QJsonValue& value) { m_fields.insert(key, value); }
    // A line of text output only.
    void line(const QString& text) { m_lines.append(text); }
    // A bare answer line (call and script print one per operation).
    void answer(const QJsonValue& value);
    // Standard output holds answer lines only; who answered goes to standard error.
    void keepAnswersOnly() { m_answersOnly = true; }

    OperationTarget& target() { return m_target; }
    bool json() const { return m_json; }

    // Prints the output and who answered; the exit code of the whole run: usage, then busy,
    // then no device, then refused or failed.
    int finish();

    static void printError(const QString& text);
    static int usage(const QString& text);

private:
    OperationTarget& m_target;
    bool m_json;
    QJsonObject m_fields;
    QStringList m_lines;
    bool m_answersOnly = false;
    bool m_usage = false;
    bool m_busy = false; // an operation needed the running window's dialogs
    bool m_refused = false;
    bool m_noDevice = false;
};
