// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The opt-in autostart entry: $XDG_CONFIG_HOME/autostart/quellar.desktop (freedesktop
// Desktop Application Autostart), which starts quellar in the tray.
class Autostart {
public:
    static QString entryPath();
    // `autostart on|off|status`: the exit code.
    static int run(const QStringList& arguments);
};
