// SPDX-License-Identifier: GPL-3.0-or-later
#include "MacroVerbs.h"

#include "ButtonVerbs.h"
#include "OperationTarget.h"
#include "RuleScript.h"
#include "VerbSession.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

namespace {
constexpr int kMacroNameList = 0; // getNameList's type for the macro library
const QStringList kSubjects{QStringLiteral("list"), QStringLiteral("show"), QStringLiteral("export"),
                            QStringLiteral("import"), QStringLiteral("bind")};
} // namespace

const QStringList& MacroVerbs::subjects() {
    return kSubjects;
}

int MacroVerbs::run(VerbSession& session, const QStringList& arguments) {
    const QString subject = arguments.value(0);
    const QStringList rest = arguments.mid(1);
    if (subject == QLatin1String("list") && rest.isEmpty())
        return list(session);
    if (subject == QLatin1String("show") && rest.size() == 1)
        return show(session, rest[0]);
    if (subject == QLatin1String("export") && rest.size() == 2)
        return exchange(session, rest[0], rest[1], true);
    if (subject == QLatin1String("import") && rest.size() == 2)
        return exchange(session, rest[1], rest[0], false);
    if (subject == QLatin1String("bind") && rest.size() == 2)
        return ButtonVerbs::set(session, {rest[1], QStringLiteral("macro:") + rest[0]});
    return VerbSession::usage(QStringLiteral("macro: expected list | show NAME | export NAME FILE | import FILE NAME | "
                                             "bind NAME BUTTON"));
}

bool MacroVerbs::exists(VerbSession& session, const QString& name) {
    const QJsonArray names = RuleScript::instance()
                                 .call(QStringLiteral("MacroRules.shownNames"),
                                       {session.call(QStringLiteral("getNameList"), {kMacroNameList})})
                                 .toArray();
    return names.contains(QJsonValue(name));
}

int MacroVerbs::list(VerbSession& session) {
    const QJsonArray names = RuleScript::instance()
                                 .call(QStringLiteral("MacroRules.shownNames"),
                                       {session.call(QStringLiteral("getNameList"), {kMacroNameList})})
                                 .toArray();
    QJsonArray macros;
    for (const auto& name : names) {
        // isMacroUse answers the name, then the slots that hold the macro.
        const QJsonArray use = session.call(QStringLiteral("isMacroUse"), {name}).toArray();
        const QJsonArray boundSlots = QJsonArray::fromVariantList(use.toVariantList().mid(1));
        macros.append(QJsonObject{{QStringLiteral("name"), name}, {QStringLiteral("slots"), boundSlots}});
        session.line(boundSlots.isEmpty() ? name.toString()
                                          : QStringLiteral("%1 (bound, slot %2)")
                                                .arg(name.toString(), boundSlots.first().toVariant().toString()));
    }
    if (names.isEmpty())
        session.line(QStringLiteral("no macros yet"));
    session.field(QStringLiteral("macros"), macros);
    return session.finish();
}

int MacroVerbs::show(VerbSession& session, const QString& name) {
    if (!exists(session, name)) {
        session.refuse(QStringLiteral("no macro is named \"%1\"").arg(name));
        return session.finish();
    }
    const QJsonObject stored =
        RuleScript::instance()
            .call(QStringLiteral("MacroRules.eventsOfLines"), {session.call(QStringLiteral("loadMacroIni"), {name})})
            .toObject();
    const QJsonArray events = stored.value(QStringLiteral("events")).toArray();
    static const QStringList kTypes{QStringLiteral("delay"),      QStringLiteral("key down"), QStringLiteral("key up"),
                                    QStringLiteral("mouse down"), QStringLiteral("mouse up"), QStringLiteral("move x"),
                                    QStringLiteral("move y")};
    for (const auto& event : events) {
        const QJsonObject object = event.toObject();
        session.line(kTypes.value(object.value(QStringLiteral("type")).toInt(), QStringLiteral("?")) +
                     QLatin1Char(' ') + object.value(QStringLiteral("info")).toString());
    }
    session.field(QStringLiteral("name"), name);
    session.field(QStringLiteral("events"), events);
    session.put(QStringLiteral("loops"), stored.value(QStringLiteral("loops")),
                stored.value(QStringLiteral("loops")).toString());
    return session.finish();
}

int MacroVerbs::exchange(VerbSession& session, const QString& name, const QString& file, bool exporting) {
    const QString path = QFileInfo(file).absoluteFilePath();
    if (!exporting && !QFileInfo(path).isReadable())
        return VerbSession::usage(QStringLiteral("macro import: cannot read %1").arg(path));
    if (!session.target().answerDialogsWith(path)) {
        VerbSession::printError(QStringLiteral("macro %1 asks for a file in the running quellar's window; use the "
                                               "window, or quit quellar first")
                                    .arg(exporting ? "export" : "import"));
        return VerbSession::kExitBusy;
    }
    if (!exists(session, name)) {
        session.refuse(exporting ? QStringLiteral("no macro is named \"%1\"").arg(name)
                                 : QStringLiteral("no macro is named \"%1\": create it in the window first, the "
                                                  "import replaces it")
                                       .arg(name));
        return session.finish();
    }
    session.call(exporting ? QStringLiteral("saveMacroIniToFile") : QStringLiteral("loadMacroIniFromFile"), {name});
    session.line(exporting ? QStringLiteral("macro %1 exported to %2").arg(name, path)
                           : QStringLiteral("macro %1 imported from %2").arg(name, path));
    return session.finish();
}
