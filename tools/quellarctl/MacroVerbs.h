// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

class VerbSession;

// `macro list|show NAME|export NAME FILE|import FILE NAME|bind NAME BUTTON`, on the macro
// library of the macro pages.
class MacroVerbs {
public:
    static const QStringList& subjects();
    static int run(VerbSession& session, const QStringList& arguments);

private:
    static int list(VerbSession& session);
    static int show(VerbSession& session, const QString& name);
    static int exchange(VerbSession& session, const QString& name, const QString& file, bool exporting);
    static bool exists(VerbSession& session, const QString& name);
};
