// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The process-wide key-name table: display name of a key (as the pages and the
// macro files write it) -> its USB HID usage code, plus the five mouse buttons
// (0xF0..0xF4). A constant, built on first use (thread-safe) and never changed.

#include <QMap>
#include <QString>
#include <QVariantMap>

class KeyNameTable {
public:
    static constexpr int kEntryCount = 132;

    // 0 when the name is not in the table.
    static uchar codeOf(const QString& name);
    // The pages' key-code table, where the macro and gun images take their key
    // codes from: the keyboard names of this table (no mouse buttons, 0 for
    // them), except that the backslash key's name gives usage 0x32 there.
    static uchar pageCodeOf(const QString& name);
    // That table whole, for the pages: every keyboard name -> pageCodeOf(name).
    static QVariantMap pageCodes();
    static const QMap<QString, uchar>& entries();
};
