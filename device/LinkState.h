// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Process-wide link state shared by discovery, the transport, the listener, the
// controller and the language packs. Kept in one place on purpose: these are the
// only globals of the program. Flags are atomic because pool threads read them.

#include <QString>
#include <array>
#include <atomic>

namespace LinkState {

inline constexpr int kStageCount = 8;

// The handshake passed, or demo mode is on. A removal does not clear it.
inline std::atomic<bool> deviceConnected{false};
// Demo mode: the transport refuses every transfer.
inline std::atomic<bool> demoMode{false};
// Command reports are scrambled (set by discovery from the catalogue).
inline std::atomic<bool> scramblingEnabled{false};

// Bytes 1..6 hold the configured secrecy code; bytes 0 and 7 stay 0.
inline std::array<unsigned char, 8> secrecyCode{};

// DPI value of stages 1..8; written by the DPI operations, read by the listener.
inline std::array<std::atomic<unsigned int>, kStageCount> dpiValues{};

// Text shown before the DPI value in the stage-switch tray message.
// Written on the GUI thread by the language packs; read by the listener.
QString dpiMessagePrefix(int index);
void setDpiMessagePrefix(int index, const QString& text);

} // namespace LinkState
