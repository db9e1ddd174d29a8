// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Host pointer settings on a desktop whose settings we cannot reach: every
// call is refused, so the callers log their failure and keep the profile value.

#include "HostPointer.h"

class FallbackHostPointer : public HostPointer {
public:
    std::optional<MouseParameters> mouseParameters() override { return std::nullopt; }
    bool setMouseParameters(const MouseParameters&) override { return false; }
    bool setWheelScrollLines(unsigned int) override { return false; }
    bool setDoubleClickTime(unsigned int) override { return false; }
    bool setMouseSpeed(unsigned int) override { return false; }
};
