// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The worker's host when there is no window: tray messages go to standard
// error, hiding has nothing to hide.

#include "DeviceHost.h"

#include <cstdio>

class HeadlessHost : public DeviceHost {
public:
    void showTrayMessage(const QString& title, const QString& text, int) override {
        std::fprintf(stderr, "tray: %s: %s\n", qPrintable(title), qPrintable(text));
    }
    void hideHostWindow() override {}
};
