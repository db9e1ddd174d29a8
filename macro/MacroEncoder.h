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

    // Loop count (clamped to 0..65535), one record per event, end mark.
    // Only the loop count when the lines hold no event.
    static QList<uchar> encodePage(const QStringList& lines, int loopCount, Variant variant);

    // Tag encoder; deviceId 0 is the keyboard, 1 the mouse (other ids drop delays).
    static QList<uchar> encodeTags(const QStringList& lines, uint deviceId);

    // Delay units of the page encoder: 2 ms each, half a unit rounded up.
    static qint64 unitsOfMilliseconds(qint64 ms) { return (ms + 1) / 2; }
};
