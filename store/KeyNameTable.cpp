// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyNameTable.h"

#include <initializer_list>
#include <utility>

namespace {

using Entry = std::pair<const char*, uchar>;

// "\ |": the pages list this name on 0x31 and again on 0x32, and the later
// entry holds, so page images carry 0x32 while this table keeps 0x31.
const QString kBackslashName = QStringLiteral("\\ |");
constexpr uchar kPageBackslashCode = 0x32;
constexpr uchar kFirstMouseButtonCode = 0xF0;

// Consecutive names that take consecutive codes from firstCode on.
void addRun(QMap<QString, uchar>& table, std::initializer_list<const char*> names, uchar firstCode) {
    uchar code = firstCode;
    for (const char* name : names)
        table.insert(QString::fromUtf8(name), code++);
}

void addLetters(QMap<QString, uchar>& table) {
    constexpr uchar kFirstLetter = 0x04;
    for (int i = 0; i < 26; ++i)
        table.insert(QString(QChar('A' + i)), uchar(kFirstLetter + i));
}

void addFunctionKeys(QMap<QString, uchar>& table, int first, int last, uchar firstCode) {
    for (int n = first; n <= last; ++n)
        table.insert(QStringLiteral("F%1").arg(n), uchar(firstCode + n - first));
}

QMap<QString, uchar> buildTable() {
    QMap<QString, uchar> t;
    addLetters(t);
    addRun(t, {"1", "2", "3", "4", "5", "6", "7", "8", "9", "0"}, 0x1E);
    addRun(t, {"Enter", "Esc", "Back", "Tab", "Space"}, 0x28);
    addRun(t, {"- _", "= +", "[ {", "] }", "\\ |"}, 0x2D);
    addRun(t, {"; :", "' \"", "` ~", ", <", ". >", "/ ?", "Caps"}, 0x33);
    addFunctionKeys(t, 1, 12, 0x3A);
    addRun(t, {"Prt", "Scr", "Pau", "Ins", "Hom", "PgU", "Del", "End", "PgD"}, 0x46);
    // Right, left, down and up arrows.
    addRun(t, {"\u25BA", "\u25C4", "\u25BC", "\u25B2"}, 0x4F);
    addRun(t, {"Num", "KP /", "KP *", "KP -", "KP +", "KP Enter"}, 0x53);
    addRun(t, {"KP 1", "KP 2", "KP 3", "KP 4", "KP 5", "KP 6", "KP 7", "KP 8", "KP 9", "KP 0", "KP ."}, 0x59);
    addRun(t, {"Eur 2", "App", "Power", "KP ="}, 0x64);
    addFunctionKeys(t, 13, 24, 0x68);
    addRun(t, {"Keypad"}, 0x85);
    addRun(t, {"Int'l 1", "Intl'2", "Int'l 2", "Int'l 4", "Int'l 5"}, 0x87);
    addRun(t, {"Lang 1", "Lang 2"}, 0x90);
    addRun(t, {"L Ctrl", "L Shift", "L Alt", "L Win", "R Ctrl", "R Shift", "R Alt", "R Win"}, 0xE0);
    addRun(t, {"MS-L", "MS-R", "MS-M", "MS-B4", "MS-B5"}, 0xF0);
    return t;
}

} // namespace

const QMap<QString, uchar>& KeyNameTable::entries() {
    static const QMap<QString, uchar> s_table = buildTable();
    return s_table;
}

uchar KeyNameTable::codeOf(const QString& name) {
    return entries().value(name, 0);
}

uchar KeyNameTable::pageCodeOf(const QString& name) {
    if (name == kBackslashName)
        return kPageBackslashCode;
    const uchar code = codeOf(name);
    return code < kFirstMouseButtonCode ? code : 0;
}

QVariantMap KeyNameTable::pageCodes() {
    QVariantMap codes;
    for (auto it = entries().cbegin(); it != entries().cend(); ++it) {
        if (it.value() < kFirstMouseButtonCode)
            codes.insert(it.key(), int(pageCodeOf(it.key())));
    }
    return codes;
}
