// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One verb of quellarctl: its words, its help, and how it runs.

#include <QStringList>
#include <functional>

class VerbSession;

struct Verb {
    QString name;
    QString usage;        // the arguments after the verb, as the help shows them
    QString summary;      // one line for the overview
    QString help;         // the verb's own help, after its usage line
    QStringList subjects; // the words that may follow it (for the completions)
    // Runs without a back end; -1 when the back end is needed after all.
    std::function<int(const QStringList& arguments)> local;
    // Runs on a back end (quellarctl's own or the running quellar's).
    std::function<int(VerbSession& session, const QStringList& arguments)> run;
};
