// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Host pointer settings through GNOME's settings service (GSettings schema
// org.gnome.desktop.peripherals.mouse): double-click time in milliseconds,
// speed -1..1, and the acceleration profile ('flat' = off). GNOME has no
// setting for wheel scroll lines, so that call is refused.
// GUI thread only.

#include "HostPointer.h"

struct _GSettings; // NOLINT(bugprone-reserved-identifier): GLib's own name for GSettings

class GnomeHostPointer : public HostPointer {
public:
    static const char* const kSchema;

    // True when the schema is installed, so the backend can work.
    static bool isAvailable();

    GnomeHostPointer();
    ~GnomeHostPointer() override;
    GnomeHostPointer(const GnomeHostPointer&) = delete;
    GnomeHostPointer& operator=(const GnomeHostPointer&) = delete;

    // The GNOME speed for a speed on the 1..20 scale: (speed - 10) / 10 within [-1, 1].
    static double gnomeSpeedOf(unsigned int speed);

    std::optional<MouseParameters> mouseParameters() override;
    bool setMouseParameters(const MouseParameters& parameters) override;
    bool setWheelScrollLines(unsigned int lines) override;
    bool setDoubleClickTime(unsigned int milliseconds) override;
    bool setMouseSpeed(unsigned int speed) override;

private:
    _GSettings* m_settings = nullptr;
};
