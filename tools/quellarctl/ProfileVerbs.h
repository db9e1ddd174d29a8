// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

class VerbSession;

// `profile list|switch|copy|reset|export|import`, numbered 1 to 10 as the files p1 to p10.
class ProfileVerbs {
public:
    static const QStringList& subjects();
    static int run(VerbSession& session, const QStringList& arguments);

private:
    static int list(VerbSession& session);
    static int switchTo(VerbSession& session, const QStringList& arguments);
    static int copy(VerbSession& session, const QStringList& arguments);
    static int reset(VerbSession& session, const QStringList& arguments);
    static int exchange(VerbSession& session, const QStringList& arguments, bool exporting);
};
