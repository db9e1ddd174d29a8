// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import "../Q3/KeyRules.js" as KeyRules

// Key names <-> key codes and function entries <-> their names. The keyboard
// names come from the back end's key-name table the first time they are
// needed (the view publishes "ui_View" only after this window exists).
QtObject {
    property var str2keycode: null
    property var keycode2str: null
    readonly property var str2mousecode: KeyRules.mouseNames.reduce(
        (codes, name) => Object.assign(codes, { [name]: KeyRules.mouseCodeOf(name) }), {})
    readonly property var mouseData2str: namesIn(0)
    readonly property var mouseData2str1: namesIn(1)

    function namesIn(language) {
        const names = {}
        for (const hex in KeyRules.entryNames)
            names[hex] = KeyRules.entryNames[hex][language]
        return names
    }
    function ensureTables() {
        if (str2keycode !== null)
            return
        const tables = KeyRules.keyTables(ui_View.keyCodeTable())
        str2keycode = tables.str2keycode
        keycode2str = tables.keycode2str
    }
    // The name of a keyboard usage; "" for a negative or unlisted code.
    function keycodeTostr(code) {
        ensureTables()
        const name = code < 0 ? undefined : keycode2str[Number(code)]
        return name === undefined ? "" : name
    }
    // The usage of a key name; undefined for an unlisted name.
    function strTokeycode(name) {
        ensureTables()
        return str2keycode[name]
    }
    function strTomousecode(name) {
        return KeyRules.mouseCodeOf(name)
    }
    function mousecodeTostr(code) {
        return KeyRules.mouseNameOf(code)
    }
    function logByte(value) {
        return KeyRules.logByte(value)
    }
}
