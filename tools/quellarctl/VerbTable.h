// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Verb.h"

#include <QList>

// Every verb of quellarctl with its help: the one table that main dispatches on, the help
// texts print and the shell completions are checked against.
class VerbTable {
public:
    static const QList<Verb>& verbs();
    static const Verb* find(const QString& name);
    // The overview for `quellarctl --help`: usage lines of every verb, exit codes.
    static QString overview();
    // `quellarctl VERB --help`.
    static QString helpOf(const Verb& verb);
    static const QString& exitCodes();
};
