// SPDX-License-Identifier: GPL-3.0-or-later
// The tag encoder over arbitrary tagged lines. Input: byte 0 picks the device
// id (keyboard, mouse, other), the rest are lines separated by newlines.
// Checks the image's frame: 00 01 first, end mark last, whole two-byte units.

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
    if (size < 1)
        return 0;
    const uint deviceId = data[0] % 3;
    const QStringList lines =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1)).split(QLatin1Char('\n'));

    const QList<uchar> image = MacroEncoder::encodeTags(lines, deviceId);
    if (image.size() < 4 || image.size() % 2 != 0 || image[0] != 0x00 || image[1] != 0x01)
        std::abort();
    if (image[image.size() - 1] != 0 || image[image.size() - 2] != 0)
        std::abort();
    return 0;
}
