// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJSEngine>
#include <QJsonValue>

// The settings pages' own value rules (PanelMath.js, KeyRules.js from the QML resources), run
// here too, so a DPI code, a lighting level or a button entry means the same from the command
// line as from the window. One engine per process, built on first use. GUI thread.
class RuleScript {
public:
    static RuleScript& instance();
    // The result of a rule function ("PanelMath.dpiCode") for JSON arguments, as JSON.
    QJsonValue call(const QString& function, const QJsonArray& arguments);
    // An expression over the rule files (such as "KeyRules.entryNames"), as JSON.
    QJsonValue constant(const QString& name);

private:
    RuleScript();
    void load(const QString& resource);

    QJSEngine m_engine;
};
