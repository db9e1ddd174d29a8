// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "InputHook.h"

#include <QStringList>

// Records the hook's callbacks as words: "k04+" is usage 04 down, "bf2-10,20" button F2 up at (10,20).
inline void recordCalls(InputHook& hook, QStringList* calls) {
    const auto word = [](quint8 code, bool isDown) {
        return QStringLiteral("%1%2").arg(code, 2, 16, QLatin1Char('0')).arg(QLatin1Char(isDown ? '+' : '-'));
    };
    hook.registerKeyboardCallback([=](quint8 usage, bool isDown) { calls->append(u'k' + word(usage, isDown)); });
    hook.registerMouseCallback([=](quint8 button, bool isDown, int x, int y) {
        calls->append(QStringLiteral("b%1%2,%3").arg(word(button, isDown)).arg(x).arg(y));
    });
}
