// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReportCodec.h"

#include <cstdint>
#include <utility>

namespace {

constexpr std::size_t kChecksummedBytes = 7;
constexpr int kRotateBits = 3;
constexpr ReportCodec::Block kTable{'L', 'u', 'M', 'p', 'a', 'K', 'o', 'r'};

unsigned char swappedNibbles(unsigned char value) {
    return static_cast<unsigned char>((value << 4) | (value >> 4));
}

void swapPairs(unsigned char* b) {
    std::swap(b[0], b[5]);
    std::swap(b[1], b[4]);
    std::swap(b[2], b[7]);
    std::swap(b[3], b[6]);
}

void xorWithCode(unsigned char* b, const unsigned char* code) {
    // Bytes 0 and 7 of the code stay out on purpose: they carry no secret.
    for (std::size_t i = 1; i <= 6; ++i)
        b[i] ^= code[i];
}

std::uint64_t toWord(const unsigned char* b) {
    std::uint64_t word = 0;
    for (std::size_t i = 0; i < ReportCodec::kBlockSize; ++i)
        word = (word << 8) | b[i];
    return word;
}

void fromWord(std::uint64_t word, unsigned char* b) {
    for (std::size_t i = ReportCodec::kBlockSize; i-- > 0;) {
        b[i] = static_cast<unsigned char>(word & 0xFF);
        word >>= 8;
    }
}

} // namespace

unsigned char ReportCodec::checksum(const unsigned char* command) {
    unsigned int sum = 0;
    for (std::size_t i = 0; i < kChecksummedBytes; ++i)
        sum += command[i];
    return static_cast<unsigned char>(0xFF - (sum & 0xFF));
}

void ReportCodec::scramble(unsigned char* block, const unsigned char* code) {
    swapPairs(block);
    xorWithCode(block, code);
    const std::uint64_t word = toWord(block);
    fromWord((word << kRotateBits) | (word >> (64 - kRotateBits)), block);
    for (std::size_t i = 0; i < kBlockSize; ++i)
        block[i] = static_cast<unsigned char>(block[i] + swappedNibbles(kTable[i]));
}

void ReportCodec::unscramble(unsigned char* block, const unsigned char* code) {
    for (std::size_t i = 0; i < kBlockSize; ++i)
        block[i] = static_cast<unsigned char>(block[i] - swappedNibbles(kTable[i]));
    const std::uint64_t word = toWord(block);
    fromWord((word >> kRotateBits) | (word << (64 - kRotateBits)), block);
    xorWithCode(block, code);
    swapPairs(block);
}
