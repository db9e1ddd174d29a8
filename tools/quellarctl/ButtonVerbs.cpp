// SPDX-License-Identifier: GPL-3.0-or-later
#include "ButtonVerbs.h"

#include "ArgumentRules.h"
#include "RuleScript.h"
#include "VerbSession.h"

#include <QJsonObject>

namespace {
constexpr int kEntries = 16; // the key matrix, buttons and spare entries
constexpr int kTypeMacro = 0x09;
constexpr int kButtonMenuRunMode = 0; // the run mode the button menu binds macros with
constexpr int kNoSlot = -1;
const QString kKeyPrefix = QStringLiteral("key:");
const QString kMacroPrefix = QStringLiteral("macro:");
const QString kOff = QStringLiteral("off");

// Each braced value is one argument, lists included.
QJsonValue rule(const QString& function, std::initializer_list<QJsonValue> arguments) {
    return RuleScript::instance().call(function, QJsonArray(arguments));
}

bool isKeyboardKey(const QJsonArray& entry) {
    return entry.at(0).toInt() == 0 && entry.at(1).toInt() == 0 && entry.at(3).toInt() == 0;
}

bool isOff(const QJsonArray& entry) {
    return isKeyboardKey(entry) && entry.at(2).toInt() == 0;
}
} // namespace

QStringList ButtonVerbs::functionNames() {
    QStringList names;
    for (const auto& name : RuleScript::instance()
                                .constant(QStringLiteral("Object.values(KeyRules.entryNames).map(names => names[0])"))
                                .toArray())
        names.append(name.toString());
    return names;
}

QJsonArray ButtonVerbs::matrix(VerbSession& session) {
    QJsonArray entries;
    for (int i = 0; i < kEntries; ++i)
        entries.append(rule(QStringLiteral("KeyRules.pageEntry"), {session.call(QStringLiteral("getKeydefine"), {i})}));
    return entries;
}

QString ButtonVerbs::nameOf(VerbSession& session, const QJsonArray& entry) {
    if (entry.at(0).toInt() == kTypeMacro)
        return kMacroPrefix + session.call(QStringLiteral("getMacroKey"), {entry.at(2).toInt()}).toVariant().toString();
    if (isOff(entry))
        return kOff;
    if (isKeyboardKey(entry)) {
        const QJsonObject codes = session.call(QStringLiteral("keyCodeTable")).toObject();
        for (auto it = codes.begin(); it != codes.end(); ++it) {
            if (it.value().toInt() == entry.at(2).toInt())
                return kKeyPrefix + it.key();
        }
    }
    const QString name = rule(QStringLiteral("KeyRules.entryName"), {entry, false}).toString();
    return name.isEmpty() ? QStringLiteral("entry:") + rule(QStringLiteral("KeyRules.entryHex"), {entry}).toString()
                          : name;
}

int ButtonVerbs::get(VerbSession& session, const QStringList& arguments) {
    QString error;
    const std::optional<int> only =
        arguments.isEmpty() ? std::nullopt
                            : ArgumentRules::number(arguments[0], 1, kButtons, QStringLiteral("the button"), &error);
    if (!error.isEmpty() || arguments.size() > 1)
        return VerbSession::usage(QStringLiteral("get button: ") +
                                  (error.isEmpty() ? QStringLiteral("give at most one N") : error));
    const QJsonArray entries = matrix(session);
    QJsonObject buttons;
    for (int button = 1; button <= kButtons; ++button) {
        if (only && *only != button)
            continue;
        const QString name = nameOf(session, entries.at(button - 1).toArray());
        session.line(QStringLiteral("button %1: %2").arg(button).arg(name));
        buttons.insert(QString::number(button), name);
    }
    session.field(QStringLiteral("buttons"), buttons);
    return -1;
}

std::optional<QJsonArray> ButtonVerbs::entryFor(VerbSession& session, const QString& function, QString* error) {
    if (function.compare(kOff, Qt::CaseInsensitive) == 0)
        return QJsonArray{0, 0, 0, 0};
    if (function.startsWith(kKeyPrefix)) {
        const QString key = function.mid(kKeyPrefix.size());
        const QJsonObject codes = session.call(QStringLiteral("keyCodeTable")).toObject();
        for (auto it = codes.begin(); it != codes.end(); ++it) {
            if (it.key().compare(key, Qt::CaseInsensitive) == 0)
                return QJsonArray{0, 0, it.value().toInt(), 0};
        }
        *error = QStringLiteral("no keyboard key is named \"%1\"").arg(key);
        return std::nullopt;
    }
    const QJsonObject names = RuleScript::instance().constant(QStringLiteral("KeyRules.entryNames")).toObject();
    for (auto it = names.begin(); it != names.end(); ++it) {
        const QJsonArray both = it.value().toArray();
        if (both.at(0).toString().compare(function, Qt::CaseInsensitive) == 0 || both.at(1).toString() == function)
            return rule(QStringLiteral("KeyRules.entryOfHex"), {it.key()}).toArray();
    }
    *error = QStringLiteral("no function is named \"%1\"; one of: %2, key:NAME, macro:NAME, off")
                 .arg(function, functionNames().join(QStringLiteral(", ")));
    return std::nullopt;
}

int ButtonVerbs::set(VerbSession& session, const QStringList& arguments) {
    QString error;
    const std::optional<int> button =
        arguments.size() >= 2 ? ArgumentRules::number(arguments[0], 1, kButtons, QStringLiteral("the button"), &error)
                              : std::nullopt;
    if (!button)
        return VerbSession::usage(QStringLiteral("set button: ") +
                                  (error.isEmpty() ? QStringLiteral("give N FUNCTION") : error));
    const QString function = arguments.mid(1).join(QLatin1Char(' '));
    const int index = *button - 1;
    const bool isMacro = function.startsWith(kMacroPrefix);
    // A function name is checked before the mouse is opened; a key name needs the back end's table.
    const std::optional<QJsonArray> entry = isMacro ? QJsonArray() : entryFor(session, function, &error);
    if (!entry)
        return VerbSession::usage(QStringLiteral("set button: ") + error);
    QJsonArray entries = matrix(session);
    if (!rule(QStringLiteral("KeyRules.mayReplace"), {entries, index}).toBool()) {
        session.refuse(QStringLiteral("button %1 holds the last left click, which stays").arg(*button));
        return session.finish();
    }
    if (isMacro)
        return bindMacro(session, entries, index, function.mid(kMacroPrefix.size()));
    entries[index] = *entry;
    session.call(QStringLiteral("ui_12H_SetKeyMatrix"), {rule(QStringLiteral("KeyRules.storedList"), {entries})});
    get(session, {QString::number(*button)});
    return session.finish();
}

int ButtonVerbs::bindMacro(VerbSession& session, QJsonArray entries, int index, const QString& name) {
    if (session.call(QStringLiteral("loadMacroIni"), {name}).toArray().isEmpty()) {
        session.refuse(QStringLiteral("no macro is named \"%1\" (see quellarctl macro list)").arg(name));
        return session.finish();
    }
    // As the macro key dialog: the button's own macro slot, else the first free one.
    const int slot = rule(QStringLiteral("MacroRules.macroSlot"), {entries, index}).toInt(kNoSlot);
    if (slot == kNoSlot) {
        session.refuse(QStringLiteral("every macro slot is in use; free a button first"));
        return session.finish();
    }
    session.call(QStringLiteral("setMacroKey"), {slot, name});
    entries[index] = QJsonArray{kTypeMacro, kButtonMenuRunMode, slot, 0};
    session.call(QStringLiteral("ui_12H_SetKeyMatrix"), {rule(QStringLiteral("KeyRules.storedList"), {entries})});
    sendMacro(session, slot, name);
    get(session, {QString::number(index + 1)});
    return session.finish();
}

void ButtonVerbs::sendMacro(VerbSession& session, int slot, const QString& name) {
    // As the macro editor's sendMacro: the stored events encoded by the page's own encoder.
    const QJsonValue lines = session.call(QStringLiteral("loadMacroIni"), {name});
    const QJsonObject stored = rule(QStringLiteral("MacroRules.eventsOfLines"), {lines}).toObject();
    const QJsonValue loops = rule(QStringLiteral("MacroRules.loopCount"), {stored.value(QStringLiteral("loops"))});
    const QJsonValue image = session.call(
        QStringLiteral("encodeMacroLines"),
        {rule(QStringLiteral("MacroRules.eventLines"), {stored.value(QStringLiteral("events"))}), loops, false});
    session.call(QStringLiteral("sendMacroData"), {image, slot});
}

void ButtonVerbs::resend(VerbSession& session) {
    const QJsonArray entries = matrix(session);
    for (const auto& entry : entries) {
        if (entry.toArray().at(0).toInt() == kTypeMacro) {
            const int slot = entry.toArray().at(2).toInt();
            sendMacro(session, slot, session.call(QStringLiteral("getMacroKey"), {slot}).toVariant().toString());
        }
    }
    session.call(QStringLiteral("ui_12H_SetKeyMatrix"), {rule(QStringLiteral("KeyRules.storedList"), {entries})});
}
