// SPDX-License-Identifier: GPL-3.0-or-later
#include "EvdevScanCodeTable.h"

namespace {

// Evdev codes 1 to 83 are the set-1 scan codes of the same keys (Esc to keypad dot).
constexpr int kFirstDirect = 1;
constexpr int kLastDirect = 83;
constexpr int kRightShift = 54;
constexpr int kNumLock = 69;

struct Entry {
    int evdev;
    quint16 code;
    bool extended;
};

constexpr Entry kEntries[] = {
    {86, 0x56, false},  // 102nd key (< > on ISO keyboards)
    {87, 0x57, false},  // F11
    {88, 0x58, false},  // F12
    {96, 0x1C, true},   // keypad Enter
    {97, 0x1D, true},   // right Ctrl
    {98, 0x35, true},   // keypad /
    {99, 0x37, true},   // Print Screen / SysRq
    {100, 0x38, true},  // right Alt
    {102, 0x47, true},  // Home
    {103, 0x48, true},  // Up
    {104, 0x49, true},  // Page Up
    {105, 0x4B, true},  // Left
    {106, 0x4D, true},  // Right
    {107, 0x4F, true},  // End
    {108, 0x50, true},  // Down
    {109, 0x51, true},  // Page Down
    {110, 0x52, true},  // Insert
    {111, 0x53, true},  // Delete
    {113, 0x20, true},  // Mute
    {114, 0x2E, true},  // Volume down
    {115, 0x30, true},  // Volume up
    {117, 0x59, false}, // keypad =
    {119, 0x45, false}, // Pause
    {125, 0x5B, true},  // left Meta
    {126, 0x5C, true},  // right Meta
    {127, 0x5D, true},  // Menu
    {183, 0x64, false}, // F13
    {184, 0x65, false}, // F14
    {185, 0x66, false}, // F15
    {186, 0x67, false}, // F16
    {187, 0x68, false}, // F17
    {188, 0x69, false}, // F18
    {189, 0x6A, false}, // F19
    {190, 0x6B, false}, // F20
    {191, 0x6C, false}, // F21
    {192, 0x6D, false}, // F22
    {193, 0x6E, false}, // F23
    {194, 0x76, false}, // F24
};

} // namespace

std::optional<EvdevScanCodeTable::ScanCode> EvdevScanCodeTable::lookup(int evdevCode) {
    if (evdevCode == kRightShift)
        return ScanCode{0x36, true};
    if (evdevCode == kNumLock)
        return ScanCode{0x45, true};
    if (evdevCode >= kFirstDirect && evdevCode <= kLastDirect)
        return ScanCode{quint16(evdevCode), false};
    for (const Entry& entry : kEntries) {
        if (entry.evdev == evdevCode)
            return ScanCode{entry.code, entry.extended};
    }
    return std::nullopt;
}
