// SPDX-License-Identifier: GPL-3.0-or-later
#include "HostPointer.h"

#include "FallbackHostPointer.h"
#include "GnomeHostPointer.h"

std::unique_ptr<HostPointer> HostPointer::createForDesktop() {
    if (GnomeHostPointer::isAvailable())
        return std::make_unique<GnomeHostPointer>();
    return std::make_unique<FallbackHostPointer>();
}
