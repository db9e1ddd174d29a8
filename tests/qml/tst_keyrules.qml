// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtTest
import "qrc:/modules/qml/Q3/KeyRules.js" as KeyRules

// The button pages' rules, row by row: key codes (from the back end's real
// key-code table), entry names and texts, the left-click guard, the macro slot
// at the boundary and the recoil key stepping.
Item {
    id: root

    readonly property Component keyCodeStringComponent: Qt.createComponent("qrc:/modules/qml/basic/KeyCodeString.qml")
    readonly property string backslash: "\\ |"

    // The four p3 values (main, recoil 1, 2, 3) of a button whose recoil slots
    // are `slots`: it steps through them in ascending order and back.
    readonly property var chains: ({ "": [0, 0, 0, 0], "0": [1, 0, 0, 0], "1": [2, 0, 0, 0], "2": [3, 0, 0, 0],
                                     "0,1": [1, 2, 0, 0], "0,2": [1, 3, 0, 0], "1,2": [2, 0, 3, 0],
                                     "0,1,2": [1, 2, 3, 0] })

    function entries(hexList) {
        return hexList.map(KeyRules.entryOfHex)
    }
    // Four matrices of the default entries, as the pages start.
    function defaultMatrices() {
        return [0, 1, 2, 3].map(() => entries(KeyRules.defaultMatrix))
    }
    function unboundSlots() {
        return [0, 1, 2].map(() => ({ index: -1, type: 2 }))
    }
    function p3Of(matrices, button) {
        return matrices.map(matrix => matrix[button][3])
    }

    TestCase {
        name: "KeyCodes"

        function test_keyCodes_data() {
            return [
                { tag: "A", code: 0x04, name: "A", back: 0x04 },
                { tag: "0", code: 0x27, name: "0", back: 0x27 },
                { tag: "Space", code: 0x2c, name: "Space", back: 0x2c },
                { tag: "right arrow", code: 0x4f, name: "\u25BA", back: 0x4f },
                { tag: "up arrow", code: 0x52, name: "\u25B2", back: 0x52 },
                { tag: "F24", code: 0x73, name: "F24", back: 0x73 },
                { tag: "R Win", code: 0xe7, name: "R Win", back: 0xe7 },
                { tag: "backslash 31H", code: 0x31, name: backslash, back: 0x32 },
                { tag: "backslash 32H", code: 0x32, name: backslash, back: 0x32 },
                { tag: "unlisted 86H", code: 0x86, name: "", back: undefined },
                { tag: "zero", code: 0, name: "", back: undefined },
                { tag: "negative", code: -1, name: "", back: undefined },
                { tag: "mouse button F0H", code: 0xf0, name: "", back: undefined }
            ]
        }
        function test_keyCodes(row) {
            const strings = createTemporaryObject(keyCodeStringComponent, root)
            compare(strings.keycodeTostr(row.code), row.name)
            if (row.name !== "")
                compare(strings.strTokeycode(row.name), row.back)
        }

        function test_unlistedNames_data() {
            return [{ tag: "Backspace", name: "Backspace" }, { tag: "mouse name", name: "MS-L" },
                    { tag: "empty", name: "" }]
        }
        function test_unlistedNames(row) {
            const strings = createTemporaryObject(keyCodeStringComponent, root)
            compare(strings.strTokeycode(row.name), undefined)
        }

        // Built once, lazily, from the back end's table without the mouse names.
        function test_tableFromTheBackEnd() {
            ui_View.reset()
            const strings = createTemporaryObject(keyCodeStringComponent, root)
            compare(ui_View.calls.length, 0)
            strings.keycodeTostr(4)
            strings.strTokeycode("B")
            compare(ui_View.callsNamed("keyCodeTable").length, 1)
            compare(Object.keys(strings.str2keycode).length, 127)
        }

        function test_mouseCodes_data() {
            return ["MS-L", "MS-R", "MS-M", "MS-B4", "MS-B5"]
                .map((name, i) => ({ tag: name, name: name, code: 0xf0 + i }))
        }
        function test_mouseCodes(row) {
            const strings = createTemporaryObject(keyCodeStringComponent, root)
            compare(strings.strTomousecode(row.name), row.code)
            compare(strings.mousecodeTostr(row.code), row.name)
            compare(strings.str2mousecode[row.name], row.code)
        }

        function test_logByte_data() {
            return [
                { tag: "0", value: 0, log: 0 }, { tag: "1", value: 1, log: 1 }, { tag: "2", value: 2, log: 2 },
                { tag: "0CH", value: 0x0c, log: 3 }, { tag: "80H", value: 0x80, log: 8 },
                { tag: "100H", value: 0x100, log: 0 }, { tag: "180H", value: 0x180, log: 8 },
                { tag: "1FFH", value: 0x1ff, log: 1 }
            ]
        }
        function test_logByte(row) {
            compare(KeyRules.logByte(row.value), row.log)
            compare(createTemporaryObject(keyCodeStringComponent, root).logByte(row.value), row.log)
        }
    }

    TestCase {
        name: "EntryTexts"

        function test_entryNames_data() {
            return [
                { tag: "New", hex: "0000e011", en: "New", cn: "新建" },
                { tag: "unnamed 04000100", hex: "04000100", en: "", cn: "" },
                { tag: "Left Button", hex: "0100f000", en: "Left Button", cn: "左键" },
                { tag: "Double Click", hex: "0af01e02", en: "Double Click", cn: "双击" },
                { tag: "DPI LOOP", hex: "07000300", en: "DPI LOOP", cn: "DPI LOOP" },
                { tag: "Web Home", hex: "03002302", en: "Web Home", cn: "浏览器-主页" },
                { tag: "Maximize", hex: "00042c1b", en: "Maximize", cn: "最大化" },
                { tag: "Gun Key Switch", hex: "08000101", en: "Gun Key Switch", cn: "枪键开关" },
                { tag: "all zero", hex: "00000000", en: "Deactivated", cn: "按键关闭" }
            ]
        }
        function test_entryNames(row) {
            const entry = KeyRules.entryOfHex(row.hex)
            compare(KeyRules.entryHex(entry), row.hex)
            compare([KeyRules.entryName(entry, false), KeyRules.entryName(entry, true)], [row.en, row.cn])
            const strings = createTemporaryObject(keyCodeStringComponent, root)
            compare([strings.mouseData2str[row.hex] || "", strings.mouseData2str1[row.hex] || ""], [row.en, row.cn])
        }

        function test_entryText_data() {
            return [
                { tag: "macro slot 2", entry: [9, 0, 2, 0], chinese: false, text: "Macro: macro2" },
                { tag: "all zero", entry: [0, 0, 0, 0], chinese: false, text: "Deactivated" },
                { tag: "key A", entry: [0, 0, 4, 0], chinese: false, text: "Keyboard Key-A" },
                { tag: "unlisted key", entry: [0, 0, 0x86, 0], chinese: false, text: "Keyboard Key-" },
                { tag: "New", entry: [0, 0, 0xe0, 0x11], chinese: false, text: "New" },
                { tag: "New in Chinese", entry: [0, 0, 0xe0, 0x11], chinese: true, text: "新建" },
                { tag: "Auto Run", entry: [15, 0, 0x2e, 0], chinese: false, text: "Auto Run" },
                { tag: "unnamed", entry: [4, 0, 1, 0], chinese: false, text: "" },
                { tag: "values as text", entry: ["1", "0", "241", "0"], chinese: false, text: "Right Button" }
            ]
        }
        function test_entryText(row) {
            const lookups = { macroName: slot => "macro" + slot, keyName: code => code === 4 ? "A" : "",
                              chinese: row.chinese }
            compare(KeyRules.entryText(row.entry, ["Macro: ", "Deactivated", "Keyboard Key-"], lookups), row.text)
        }

        function test_defaultMatrix() {
            compare(KeyRules.defaultMatrix, ["0100f000", "0100f100", "0100f200", "0f002e00", "0f000500", "08000101",
                "07000300", "00000000", "00000000", "00000000", "00000000", "00000000", "00000000", "00000000",
                "04000100", "04000200"])
        }
    }

    TestCase {
        name: "Assignment"

        function test_leftClickGuard_data() {
            return [
                { tag: "the only left click", lefts: [0], index: 0, may: false, count: 1 },
                { tag: "another button", lefts: [0], index: 1, may: true, count: 1 },
                { tag: "one of two, first", lefts: [0, 3], index: 0, may: true, count: 2 },
                { tag: "one of two, second", lefts: [0, 3], index: 3, may: true, count: 2 },
                { tag: "left on 3 only", lefts: [3], index: 3, may: false, count: 1 },
                { tag: "no left click", lefts: [], index: 2, may: true, count: 0 }
            ]
        }
        function test_leftClickGuard(row) {
            const matrix = entries(KeyRules.defaultMatrix)
            matrix[0] = [1, 0, 0xf1, 0]
            for (const i of row.lefts)
                matrix[i] = [1, 0, 0xf0, 0]
            compare(KeyRules.leftClickCount(matrix), row.count)
            compare(KeyRules.mayReplace(matrix, row.index), row.may)
        }

        function test_macroSlotAtTheBoundary_data() {
            return [
                { tag: "macro slot 0", stored: [9, 0, 1, 0], page: [9, 0, 0, 0] },
                { tag: "macro slot 2, repeat mode", stored: [9, 2, 3, 0], page: [9, 2, 2, 0] },
                { tag: "left click", stored: [1, 0, 240, 0], page: [1, 0, 240, 0] },
                { tag: "named key", stored: [15, 0, 46, 0], page: [15, 0, 46, 0] }
            ]
        }
        function test_macroSlotAtTheBoundary(row) {
            compare(KeyRules.pageEntry(row.stored), row.page)
            compare(KeyRules.storedEntry(row.page), row.stored)
        }

        function test_pageEntryOfOddValues_data() {
            return [
                { tag: "texts", stored: ["9", "1", "1", "0"], page: [9, 1, 0, 0] },
                { tag: "absent", stored: [], page: [0, 0, 0, 0] },
                { tag: "not numbers", stored: ["x", "", "3", null], page: [0, 0, 3, 0] }
            ]
        }
        function test_pageEntryOfOddValues(row) {
            compare(KeyRules.pageEntry(row.stored), row.page)
        }

        function test_bindingsOfList_data() {
            return [
                { tag: "never stored", list: ["", "", "", "", "", ""], bindings: unboundSlots() },
                { tag: "texts", list: ["5", "-1", "5", "0", "2", "1"],
                  bindings: [{ index: 5, type: 0 }, { index: -1, type: 2 }, { index: 5, type: 1 }] }
            ]
        }
        function test_bindingsOfList(row) {
            compare(KeyRules.bindingsOfList(row.list), row.bindings)
        }

        function test_menuPosition_data() {
            return [{ tag: "button 0", button: 0, y: 131 }, { tag: "button 6", button: 6, y: 257 },
                    { tag: "entry 7", button: 7, y: 278 }, { tag: "none", button: -1, y: 278 }]
        }
        function test_menuPosition(row) {
            compare(KeyRules.menuPosition(row.button), { x: 249, y: row.y })
        }

        // Submenus open level with the entry that opens them; hidden entries take no space.
        function test_submenuTop_data() {
            return [{ tag: "basic", name: "basic", y: 105 }, { tag: "media", name: "media", y: 126 },
                    { tag: "extra", name: "extra", y: 147 }, { tag: "dpi", name: "dpi", y: 168 },
                    { tag: "gun", name: "gun", y: 252 }]
        }
        function test_submenuTop(row) {
            compare(KeyRules.submenuTop(row.name), row.y)
        }
    }

    TestCase {
        name: "RecoilKeys"

        // Every set of slots on button 5, bound in ascending and in descending
        // order, gives the same stepping; the other buttons keep their entries.
        function test_bind_data() {
            const rows = []
            for (const slots of [[0], [1], [2], [0, 1], [0, 2], [1, 2], [0, 1, 2]]) {
                rows.push({ tag: slots + " ascending", order: slots, slots: slots })
                if (slots.length > 1)
                    rows.push({ tag: slots + " descending", order: slots.slice().reverse(), slots: slots })
            }
            return rows
        }
        function test_bind(row) {
            let state = { matrices: defaultMatrices(), bindings: unboundSlots() }
            state.matrices[0][5] = [0, 0, 4, 0]
            for (const slot of row.order)
                state = KeyRules.openGunKey(state.matrices, state.bindings, 5, slot, slot)
            compare(p3Of(state.matrices, 5), chains[row.slots.join(",")])
            compare(state.matrices.map(matrix => matrix[5].slice(0, 3)), [[8, 0, 1], [8, 0, 1], [8, 0, 1], [8, 0, 1]])
            compare(state.matrices.map(matrix => matrix[4]), [0, 1, 2, 3].map(() => [15, 0, 5, 0]))
            compare(state.bindings, [0, 1, 2].map(slot => row.slots.indexOf(slot) >= 0 ? { index: 5, type: slot }
                                                                                   : { index: -1, type: 2 }))
        }

        // From every set of slots on button 5, unbinding each one in turn.
        function test_unbind_data() {
            const rows = []
            for (const slots of [[0], [1], [2], [0, 1], [0, 2], [1, 2], [0, 1, 2]]) {
                for (const slot of slots)
                    rows.push({ tag: slots + " without " + slot, slots: slots, slot: slot,
                                left: slots.filter(s => s !== slot) })
            }
            return rows
        }
        function test_unbind(row) {
            let state = { matrices: defaultMatrices(), bindings: unboundSlots() }
            for (const slot of row.slots)
                state = KeyRules.openGunKey(state.matrices, state.bindings, 5, slot, 0)
            state = KeyRules.closeGunKey(state.matrices, state.bindings, 5, row.slot)
            compare(p3Of(state.matrices, 5), chains[row.left.join(",")])
            compare(state.bindings[row.slot], { index: -1, type: 2 })
            compare(state.bindings.filter(b => b.index === 5).length, row.left.length)
        }

        function test_inputsUnchanged() {
            const matrices = defaultMatrices()
            const bindings = unboundSlots()
            const bound = KeyRules.openGunKey(matrices, bindings, 2, 1, 0)
            KeyRules.closeGunKey(bound.matrices, bound.bindings, 2, 1)
            compare(matrices, defaultMatrices())
            compare(bindings, unboundSlots())
            compare(p3Of(bound.matrices, 2), [2, 0, 0, 0])
        }

        function test_menuControl_data() {
            return [
                { tag: "unbound", bindings: [-1, 4, 4], slot: 0, button: 4, control: 1, actions: [0, 1] },
                { tag: "on this button", bindings: [-1, 4, 4], slot: 1, button: 4, control: 2, actions: [0, 1, 2] },
                { tag: "on another button", bindings: [-1, 4, 3], slot: 2, button: 4, control: 0, actions: [] }
            ]
        }
        function test_menuControl(row) {
            const bindings = row.bindings.map(index => ({ index: index, type: 2 }))
            compare(KeyRules.gunKeyMenuControl(bindings, row.slot, row.button), row.control)
            compare(KeyRules.gunActions(row.control), row.actions)
        }

        function test_cancelAndShownSlot_data() {
            return [
                { tag: "slots 1 and 2 on 3", bindings: [5, 3, 3], button: 3, shown: 1, left: [5, -1, -1] },
                { tag: "all on 3", bindings: [3, 3, 3], button: 3, shown: 0, left: [-1, -1, -1] },
                { tag: "none on 3", bindings: [5, -1, 6], button: 3, shown: -1, left: [5, -1, 6] }
            ]
        }
        function test_cancelAndShownSlot(row) {
            const bindings = row.bindings.map((index, slot) => ({ index: index, type: slot }))
            compare(KeyRules.shownGunSlot(bindings, row.button), row.shown)
            const cancelled = KeyRules.cancelGunKeys(bindings, row.button)
            compare(cancelled.map(b => b.index), row.left)
            compare(cancelled.map(b => b.type), [0, 1, 2])
            compare(KeyRules.bindingsList(cancelled), row.left.concat([0, 1, 2]))
        }

        function test_recoilList() {
            const matrix = entries(KeyRules.defaultMatrix)
            matrix[1] = [9, 0, 2, 0]
            const list = KeyRules.recoilList(matrix, 2, [{ index: -1, type: 2 }, { index: 4, type: 1 },
                                                         { index: -1, type: 2 }])
            compare(list.slice(0, 8), [9, 1, 7, 0, 9, 0, 3, 0])
            compare(list.length, 64)
        }
    }
}
