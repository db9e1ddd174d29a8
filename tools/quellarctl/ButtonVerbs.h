// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonArray>
#include <QStringList>
#include <optional>

class VerbSession;

// `get button` and `set button N FUNCTION`: the button menu's function names, keyboard keys
// ("key:NAME"), macros ("macro:NAME") and "off", stored and sent as the button page does.
class ButtonVerbs {
public:
    static constexpr int kButtons = 7; // the buttons the page shows

    // -1 when done, else the exit code of a usage error.
    static int get(VerbSession& session, const QStringList& arguments);
    static int set(VerbSession& session, const QStringList& arguments);
    // The function names of the button menu, in English.
    static QStringList functionNames();
    // The stored key matrix sent again, macros uploaded, as the button page's init(true).
    static void resend(VerbSession& session);

private:
    static QJsonArray matrix(VerbSession& session);
    static QString nameOf(VerbSession& session, const QJsonArray& entry);
    static std::optional<QJsonArray> entryFor(VerbSession& session, const QString& function, QString* error);
    static int bindMacro(VerbSession& session, QJsonArray entries, int index, const QString& name);
    static void sendMacro(VerbSession& session, int slot, const QString& name);
};
