// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Dialogs answered from a script: each file chooser returns its answer (empty:
// cancelled), every question is recorded as "caption|filter", warnings are kept
// and confirmations declined.

#include "UserDialogs.h"

#include <QList>
#include <QPair>
#include <QStringList>

struct ScriptedDialogs final : UserDialogs {
    QString openAnswer, saveAnswer;
    QStringList asked; // caption|filter
    QList<QPair<QString, QString>> warnings;
    QString ask(const QString& caption, const QString& filter, const QString& answer) {
        asked << caption + '|' + filter;
        return answer;
    }
    QString openFileName(const QString& c, const QString&, const QString& f) override { return ask(c, f, openAnswer); }
    QString saveFileName(const QString& c, const QString&, const QString& f) override { return ask(c, f, saveAnswer); }
    void warning(const QString& title, const QString& text) override { warnings.append({title, text}); }
    bool confirm(const QString&, const QString&) override { return false; }
};
