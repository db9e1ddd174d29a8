// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProfileVerbs.h"

#include "ArgumentRules.h"
#include "OperationTarget.h"
#include "RuleScript.h"
#include "SettingVerbs.h"
#include "VerbSession.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

namespace {
constexpr int kProfiles = 10;
constexpr int kProfileNameList = 2; // getNameList's type for the profile list
const QStringList kSubjects{QStringLiteral("list"),  QStringLiteral("switch"), QStringLiteral("copy"),
                            QStringLiteral("reset"), QStringLiteral("export"), QStringLiteral("import")};

std::optional<int> profileNumber(const QString& text, QString* error) {
    return ArgumentRules::number(text, 1, kProfiles, QStringLiteral("the profile"), error);
}

int current(VerbSession& session) {
    return session.call(QStringLiteral("getProfile")).toVariant().toInt();
}

int cannotForward(const QString& what) {
    VerbSession::printError(QStringLiteral("%1 asks for a file in the running quellar's window; use the window, "
                                           "or quit quellar first")
                                .arg(what));
    return VerbSession::kExitBusy;
}
} // namespace

const QStringList& ProfileVerbs::subjects() {
    return kSubjects;
}

int ProfileVerbs::run(VerbSession& session, const QStringList& arguments) {
    const QString subject = arguments.value(0);
    const QStringList rest = arguments.mid(1);
    if (subject == QLatin1String("list") && rest.isEmpty())
        return list(session);
    if (subject == QLatin1String("switch"))
        return switchTo(session, rest);
    if (subject == QLatin1String("copy"))
        return copy(session, rest);
    if (subject == QLatin1String("reset"))
        return reset(session, rest);
    if (subject == QLatin1String("export") || subject == QLatin1String("import"))
        return exchange(session, rest, subject == QLatin1String("export"));
    return VerbSession::usage(QStringLiteral("profile what? one of: ") + kSubjects.join(QLatin1Char(' ')));
}

int ProfileVerbs::list(VerbSession& session) {
    const int now = current(session);
    const QJsonObject parsed = RuleScript::instance()
                                   .call(QStringLiteral("ProfileRules.parseStoredList"),
                                         {session.call(QStringLiteral("getNameList"), {kProfileNameList})})
                                   .toObject();
    QJsonArray profiles;
    for (const auto& entry : parsed.value(QStringLiteral("entries")).toArray()) {
        const int number = entry.toObject().value(QStringLiteral("profileNo")).toInt() + 1;
        const QString name = entry.toObject().value(QStringLiteral("profileName")).toString();
        profiles.append(QJsonObject{{QStringLiteral("number"), number}, {QStringLiteral("name"), name}});
        session.line(QStringLiteral("%1 %2%3").arg(number).arg(name, number == now + 1 ? QStringLiteral(" (current)")
                                                                                       : QString()));
    }
    session.field(QStringLiteral("profiles"), profiles);
    session.put(QStringLiteral("current"), now + 1, QString::number(now + 1), QStringLiteral("current profile"));
    return session.finish();
}

int ProfileVerbs::switchTo(VerbSession& session, const QStringList& arguments) {
    QString error;
    const std::optional<int> number = arguments.size() == 1 ? profileNumber(arguments[0], &error) : std::nullopt;
    if (!number)
        return VerbSession::usage(QStringLiteral("profile switch: ") +
                                  (error.isEmpty() ? QStringLiteral("give N") : error));
    session.call(QStringLiteral("ui_02H_SetCurrentProfile"), {*number - 1});
    // The window sends every setting of the new profile once it is chosen; so does this.
    SettingVerbs::resend(session);
    session.put(QStringLiteral("current"), *number, QString::number(*number), QStringLiteral("current profile"));
    return session.finish();
}

int ProfileVerbs::copy(VerbSession& session, const QStringList& arguments) {
    QString error;
    const std::optional<int> source = arguments.size() == 2 ? profileNumber(arguments[0], &error) : std::nullopt;
    const std::optional<int> target = source ? profileNumber(arguments[1], &error) : std::nullopt;
    if (!target)
        return VerbSession::usage(QStringLiteral("profile copy: ") +
                                  (error.isEmpty() ? QStringLiteral("give FROM TO") : error));
    if (*source == *target)
        return VerbSession::usage(QStringLiteral("profile copy: FROM and TO are the same profile"));
    session.call(QStringLiteral("copyProfile"), {*target - 1, *source - 1});
    session.line(QStringLiteral("profile %1 copied to profile %2").arg(*source).arg(*target));
    return session.finish();
}

int ProfileVerbs::reset(VerbSession& session, const QStringList& arguments) {
    QString error;
    const std::optional<int> number = arguments.size() == 1 ? profileNumber(arguments[0], &error) : std::nullopt;
    if (!number)
        return VerbSession::usage(QStringLiteral("profile reset: ") +
                                  (error.isEmpty() ? QStringLiteral("give N") : error));
    session.call(QStringLiteral("resetProfile"), {*number - 1});
    if (*number - 1 == current(session))
        SettingVerbs::resend(session); // as the window after a factory reset of the current profile
    session.line(QStringLiteral("profile %1 reset to the factory settings").arg(*number));
    return session.finish();
}

int ProfileVerbs::exchange(VerbSession& session, const QStringList& arguments, bool exporting) {
    const QString what = exporting ? QStringLiteral("profile export") : QStringLiteral("profile import");
    if (arguments.size() != 1)
        return VerbSession::usage(what + QStringLiteral(": give FILE"));
    const QString file = QFileInfo(arguments[0]).absoluteFilePath();
    if (!exporting && !QFileInfo(file).isReadable())
        return VerbSession::usage(what + QStringLiteral(": cannot read %1").arg(file));
    if (!session.target().answerDialogsWith(file))
        return cannotForward(what);
    const int now = current(session);
    session.call(exporting ? QStringLiteral("saveProfile") : QStringLiteral("loadProfile"), {now});
    if (!exporting)
        SettingVerbs::resend(session);
    session.line(exporting ? QStringLiteral("profile %1 exported to %2").arg(now + 1).arg(file)
                           : QStringLiteral("profile %1 imported from %2").arg(now + 1).arg(file));
    return session.finish();
}
