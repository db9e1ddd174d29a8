// SPDX-License-Identifier: GPL-3.0-or-later
// The page encoder over arbitrary event lines. Input: byte 0 picks the variant,
// bytes 1-2 the loop count, the rest are event lines separated by newlines.
// Checks the image's frame: loop count first, end mark last, never over capacity.

#include "KeyNameTable.h"
#include "MacroEncoder.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3)
        return 0;
    const auto variant = data[0] & 1 ? MacroEncoder::Variant::Gun : MacroEncoder::Variant::Macro;
    const int loopCount = int(std::int16_t(data[1] << 8 | data[2])) * 3;
    const QStringList lines =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 3), qsizetype(size - 3)).split(QLatin1Char('\n'));

    const QList<uchar> image = MacroEncoder::encodePage(lines, loopCount, variant);
    const int expectedLoop = std::clamp(loopCount, 0, MacroEncoder::kMaxLoopCount);
    if (image.size() < 2 || image[0] != uchar(expectedLoop >> 8) || image[1] != uchar(expectedLoop & 0xFF))
        std::abort();
    // Never longer than the device holds; a shorter image is whole, with its end mark.
    const int capacity = MacroEncoder::capacityOf(variant);
    if (image.size() > capacity)
        std::abort();
    const bool whole = image.size() < capacity;
    if (whole && image.size() > 2 && (image.size() < 6 || image[image.size() - 1] != 0 || image[image.size() - 2] != 0))
        std::abort();
    return 0;
}
