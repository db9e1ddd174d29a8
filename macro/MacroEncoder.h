// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two macro encoders, the only places that turn event lines into a macro
// image (the bytes one device macro slot holds):
// - the page encoder, over library event lines ("1,A", "0,100", "5,-3", ...),
//   in a macro and a gun variant;
// - the tag encoder, over tagged lines ("A    [Down]", "100   [Delay]", ...).
// Pure functions; callable from any thread once the key-name table is built.

#include <QList>
#include <QStringList>

class MacroEncoder {
public:
    enum class Variant { Macro, Gun };

    static constexpr int kMaxLoopCount = 65535;
    // Extended delays in mode 3 carry at most this count per unit; longer gaps
    // are split into several mode-3 units.
    static constexpr int kMaxMode3Count = 11999;
    // What the device holds: a macro image fills one 128-byte macro slot, the
    // gun images share the seven slots of the gun sequences (896 bytes).
    static constexpr int kMacroImageCapacity = 128;
    static constexpr int kGunImageCapacity = 896;
    // Longer waits than any image can express are taken as this one, so the
    // delay arithmetic never overflows (about 11.6 days; a gun image full of
    // mode-3 units holds about 74 hours).
    static constexpr qint64 kLongestGapMs = 1'000'000'000;

    // Loop count (clamped to 0..65535), one record per event, end mark.
    // Only the loop count when the lines hold no event. Encoding stops when the
    // image fills its capacity: a longer image is cut there, as the device
    // would receive it, so the result is never longer than the capacity.
    static QList<uchar> encodePage(const QStringList& lines, int loopCount, Variant variant);
    static int capacityOf(Variant variant);

    // Tag encoder; deviceId 0 is the keyboard, 1 the mouse (other ids drop delays).
    static QList<uchar> encodeTags(const QStringList& lines, uint deviceId);

    // Delay units of the page encoder: 2 ms each, half a unit rounded up;
    // negative times are no wait.
    static constexpr qint64 unitsOfMilliseconds(qint64 ms) { return ms <= 0 ? 0 : ms / 2 + ms % 2; }
};
