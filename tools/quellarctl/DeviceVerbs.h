// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

class HidBackend;
class VerbSession;

// `list` (the catalogue's devices present, with their hidraw paths and whether this user may
// open them) and `info` (what the mouse and the current profile say about it).
class DeviceVerbs {
public:
    static int list(HidBackend& backend, bool json);
    static int info(VerbSession& session, const QStringList& arguments);
};
