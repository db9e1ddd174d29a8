// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the device worker needs from the application around it: the tray
// balloon and hiding the host window after a failed handshake. The shell
// implements it; tests use a recording double. Calls arrive on any thread;
// implementations hand them to the GUI thread themselves.

#include <QString>

class DeviceHost {
public:
    virtual ~DeviceHost() = default;
    // Information balloon of the tray icon.
    virtual void showTrayMessage(const QString& title, const QString& text, int msecs) = 0;
    virtual void hideHostWindow() = 0;
};
