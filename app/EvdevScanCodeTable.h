// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <optional>

// Linux evdev key code -> PC set-1 scan code and extended (E0) flag, as a PC keyboard sends
// them. Right Shift, Num Lock and Pause follow what the keyboard hook's scan-code map
// expects (36+E, 45+E, 45), so every key lands on its map entry.
class EvdevScanCodeTable {
public:
    struct ScanCode {
        quint16 code = 0;
        bool extended = false;
        friend bool operator==(const ScanCode&, const ScanCode&) = default;
    };

    static constexpr int kLeftAlt = 56;
    static constexpr int kRightAlt = 100;
    static constexpr int kSysRq = 99;
    // The scan code a PC keyboard sends for Print Screen while Alt is held.
    static constexpr quint16 kAltSysRqScanCode = 0x54;

    static std::optional<ScanCode> lookup(int evdevCode);
};
