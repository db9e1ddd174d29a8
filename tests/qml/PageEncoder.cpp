// SPDX-License-Identifier: GPL-3.0-or-later
#include "PageEncoder.h"

#include "MacroEncoder.h"

QVariantList PageEncoder::encode(const QStringList& lines, int loopCount, bool gunVariant) const {
    const auto variant = gunVariant ? MacroEncoder::Variant::Gun : MacroEncoder::Variant::Macro;
    QVariantList image;
    for (const uchar byte : MacroEncoder::encodePage(lines, loopCount, variant))
        image.append(int(byte));
    return image;
}
