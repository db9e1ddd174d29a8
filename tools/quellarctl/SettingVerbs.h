// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

class VerbSession;

// `get` and `set` of the mouse's settings: each subject reads and writes through the same
// operations and value rules as its settings panel in the window.
class SettingVerbs {
public:
    static const QStringList& subjects();
    static int get(VerbSession& session, const QStringList& arguments);
    static int set(VerbSession& session, const QStringList& arguments);

    // The settings of the current profile sent again, as the window does after a profile change.
    static void resend(VerbSession& session);

private:
    // setStage: the stage just set, else 0 (the mouse is asked).
    static void getDpi(VerbSession& session, int setStage = 0);
    static int setDpi(VerbSession& session, const QStringList& arguments);
    static void getRate(VerbSession& session);
    static int setRate(VerbSession& session, const QStringList& arguments);
    static void getLighting(VerbSession& session);
    static int setLighting(VerbSession& session, const QStringList& arguments);
    static void getAxis(VerbSession& session);
    static int setAxis(VerbSession& session, const QStringList& arguments);
    static void getPointer(VerbSession& session);
    static int setPointer(VerbSession& session, const QStringList& arguments);
};
