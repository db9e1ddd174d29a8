// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The host's own pointer settings: cursor speed, double-click time, wheel
// scroll lines and pointer acceleration. One implementation per desktop
// (GNOME settings, or a fallback that refuses everything) plus a test double.
// Every call is synchronous and returns whether the host accepted it.
// GUI thread only.

#include <memory>
#include <optional>

class HostPointer {
public:
    // Two thresholds and the acceleration flag, as the host reports them; a
    // write hands back the thresholds it read so only the flag changes.
    struct MouseParameters {
        int threshold1 = 0;
        int threshold2 = 0;
        int acceleration = 0;
        bool operator==(const MouseParameters&) const = default;
    };

    static constexpr unsigned int kMinSpeed = 1;
    static constexpr unsigned int kMaxSpeed = 20;

    virtual ~HostPointer() = default;

    virtual std::optional<MouseParameters> mouseParameters() = 0;
    virtual bool setMouseParameters(const MouseParameters& parameters) = 0;
    // Lines per wheel notch; 1000 means one screen.
    virtual bool setWheelScrollLines(unsigned int lines) = 0;
    virtual bool setDoubleClickTime(unsigned int milliseconds) = 0;
    // Speed on the scale 1 (slowest) to 20 (fastest), 10 the neutral speed.
    virtual bool setMouseSpeed(unsigned int speed) = 0;

    // The GNOME backend when its settings schema is installed, else the fallback.
    static std::unique_ptr<HostPointer> createForDesktop();
};
