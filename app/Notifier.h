// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Where the host window's short messages go (device found, DPI stage switched, waiting for the
// mouse): desktop notifications or the tray icon's balloon. A new message replaces the one
// still shown where the desktop allows it. GUI thread only.
class Notifier {
public:
    virtual ~Notifier() = default;
    virtual void notify(const QString& title, const QString& text, int msecs) = 0;
};
