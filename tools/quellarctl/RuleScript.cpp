// SPDX-License-Identifier: GPL-3.0-or-later
#include "RuleScript.h"

#include "ControllerLog.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QRegularExpression>

namespace {
const char* const kRuleFiles[] = {":/modules/qml/Q3/PanelMath.js", ":/modules/qml/Q3/KeyRules.js",
                                  ":/modules/qml/Q3/MacroRules.js", ":/modules/qml/Q3/ProfileRules.js"};
}

RuleScript& RuleScript::instance() {
    static RuleScript rules;
    return rules;
}

RuleScript::RuleScript() {
    for (const char* file : kRuleFiles)
        load(QString::fromLatin1(file));
}

void RuleScript::load(const QString& resource) {
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcController) << "cannot read the rules" << resource;
        return;
    }
    // As QML imports a ".pragma library" file: its own scope, reached by the file's base name.
    QString source = QString::fromUtf8(file.readAll());
    source.replace(QStringLiteral(".pragma library"), QString());
    static const QRegularExpression kDeclaration(QStringLiteral("^(?:function|const)\\s+(\\w+)"),
                                                 QRegularExpression::MultilineOption);
    QStringList names;
    for (const QRegularExpressionMatch& match : kDeclaration.globalMatch(source))
        names.append(match.captured(1));
    const QString wrapped =
        QStringLiteral("(function() {\n%1\nreturn { %2 };\n})()").arg(source, names.join(QStringLiteral(", ")));
    const QJSValue scope = m_engine.evaluate(wrapped, resource);
    if (scope.isError())
        qCWarning(lcController) << "the rules" << resource << "do not run:" << scope.toString();
    else
        m_engine.globalObject().setProperty(QFileInfo(resource).baseName(), scope);
}

QJsonValue RuleScript::call(const QString& function, const QJsonArray& arguments) {
    QJSValueList values;
    for (const auto& argument : arguments)
        values.append(m_engine.toScriptValue(argument.toVariant()));
    const QString scope = function.section(QLatin1Char('.'), 0, 0);
    const QJSValue result =
        m_engine.globalObject().property(scope).property(function.section(QLatin1Char('.'), 1)).call(values);
    if (result.isError()) {
        qCWarning(lcController) << "rule" << function << "failed:" << result.toString();
        return QJsonValue::Null;
    }
    return QJsonValue::fromVariant(result.toVariant(QJSValue::ConvertJSObjects));
}

QJsonValue RuleScript::constant(const QString& name) {
    const QJSValue result = m_engine.evaluate(name);
    return QJsonValue::fromVariant(result.toVariant(QJSValue::ConvertJSObjects));
}
