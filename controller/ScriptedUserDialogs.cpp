// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScriptedUserDialogs.h"

#include <cstdio>

QString ScriptedUserDialogs::openFileName(const QString&, const QString&, const QString&) {
    return m_answerPath;
}

QString ScriptedUserDialogs::saveFileName(const QString&, const QString&, const QString&) {
    return m_answerPath;
}

void ScriptedUserDialogs::warning(const QString& title, const QString& text) {
    show(title, text);
}

bool ScriptedUserDialogs::confirm(const QString& title, const QString& text) {
    show(title, text);
    return false; // Cancel is the default button
}

void ScriptedUserDialogs::show(const QString& title, const QString& text) {
    const QString line = title + QStringLiteral(": ") + text;
    m_shownMessages.append(line);
    std::fprintf(stderr, "%s\n", qPrintable(line));
}
