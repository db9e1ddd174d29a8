// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Whether the desktop shows tray icons as StatusNotifierItems (KDE Plasma, GNOME with the
// AppIndicator extension, Wayland sessions) rather than in an XEmbed tray. Qt asks the same
// question when it creates a tray icon: a watcher on the session bus that reports a host.
// Such a host activates an item with one click and never reports a double click.
class StatusNotifierHost {
public:
    static bool isPresent();
};
