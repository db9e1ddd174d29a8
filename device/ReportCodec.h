// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Checksum and scrambling of the 8-byte command reports: the one place for
// both rules. Pure functions, safe on any thread.

#include <array>
#include <cstddef>

namespace ReportCodec {

inline constexpr std::size_t kBlockSize = 8;
using Block = std::array<unsigned char, kBlockSize>;

// Complement of the 8-bit sum of the command byte and the six data bytes;
// `command` points at the command byte (byte 1 of the out report).
unsigned char checksum(const unsigned char* command);

// Scramble / unscramble eight bytes in place. Only bytes 1..6 of `code` are used.
void scramble(unsigned char* block, const unsigned char* code);
void unscramble(unsigned char* block, const unsigned char* code);

} // namespace ReportCodec
