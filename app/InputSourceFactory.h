// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "InputSource.h"

#include <memory>

// Picks the input source for this session: X11 raw input when Qt runs on xcb or an X
// display can be opened, the window-event fallback otherwise.
class InputSourceFactory {
public:
    static std::unique_ptr<InputSource> create();
    static bool x11Available();
};
