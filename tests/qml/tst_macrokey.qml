// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtTest

// The macro key dialog inside the real window: the drop-down list of the
// macro library, the run modes, and what OK binds, stores and uploads.
Item {
    id: root

    width: 1000
    height: 640

    readonly property Component windowComponent: Qt.createComponent("qrc:/modules/qml/main.qml")

    function json(value) {
        return JSON.stringify(value)
    }
    function findItem(item, accepts) {
        if (accepts(item))
            return item
        for (let i = 0; i < item.children.length; ++i) {
            const found = findItem(item.children[i], accepts)
            if (found)
                return found
        }
        return null
    }
    // The shown control of that name (and role); `hidden` also finds hidden ones.
    function findControl(window, name, role, hidden) {
        const found = findItem(window, it => it.Accessible !== undefined && it.Accessible.name === name
                                             && (role === undefined || it.Accessible.role === role)
                                             && (hidden || it.visible))
        if (!found)
            throw new Error("no control named \"" + name + "\"")
        return found
    }
    function dialog(window) {
        return findItem(window, it => it.Accessible !== undefined && it.Accessible.name === "Macro Key"
                                      && it.Accessible.role === Accessible.Dialog)
    }
    function lastMatrixSent() {
        const sent = ui_View.callsNamed("ui_12H_SetKeyMatrix")
        const list = sent[sent.length - 1].args[0]
        return Array.from({ length: 16 }, (_, i) => list.slice(4 * i, 4 * i + 4))
    }
    // A window whose main matrix holds macros at `macros` (button -> stored
    // entry) and whose library holds "Fire" and "Jump"; the dialog is open
    // for button `n` (1 to 7).
    function openDialog(test, macros, n) {
        ui_View.reset()
        ui_Ctl.reset()
        ui_View.setAnswer("getKeydefine", i => macros[i] || ui_View.defaultEntry(i))
        ui_View.setAnswer("macroNames", ["Fire", "Jump"])
        ui_View.setAnswer("macroFiles", { Fire: { index: 0, type: 1, lines: ["1,A", "2,A"], loops: "1" },
                                          Jump: { index: 1, type: 1, lines: ["1,B", "2,B"], loops: "2" } })
        const window = test.createTemporaryObject(windowComponent, root)
        window.initUI()
        window.setProtectUI(0)
        test.tryVerify(() => findControl(window, "Button 1", undefined, true).visible, 1000, "the window stays locked")
        test.mouseClick(findControl(window, "Button " + n))
        test.mouseClick(findControl(findItem(window, it => it.keyMenuLang !== undefined), "Macro"))
        test.verify(dialog(window).visible)
        ui_View.calls = []
        return window
    }
    function pick(test, window, name, mode) {
        test.mouseClick(findControl(window, "Please select a macro", Accessible.ComboBox))
        test.mouseClick(findControl(window, name, Accessible.ListItem))
        if (mode !== undefined)
            test.mouseClick(findControl(window, dialog(window).macroKeyLang[2 + mode].replace("\n", " "),
                                        Accessible.RadioButton))
        test.mouseClick(findControl(window, "OK", Accessible.Button))
    }

    TestCase {
        name: "MacroKey"
        when: windowShown

        function test_listShowsTheLibrary() {
            const window = openDialog(this, {}, 3)
            mouseClick(findControl(window, "Please select a macro", Accessible.ComboBox))
            verify(findControl(window, "Macros", Accessible.List).visible)
            mouseClick(findControl(window, "Jump", Accessible.ListItem))
            compare(dialog(window).chosenName, "Jump")
            verify(!dialog(window).isOpen)
        }

        // Button 3 (index 2) in run mode 1 takes the first free slot.
        function test_bind_data() {
            return [
                { tag: "no macros yet", macros: {}, n: 3, slot: 0 },
                { tag: "slots 0 and 1 used", macros: { 3: [9, 0, 1, 0], 4: [9, 0, 2, 0] }, n: 3, slot: 2 },
                { tag: "the button's own slot", macros: { 2: [9, 2, 4, 0] }, n: 3, slot: 3 }
            ]
        }
        function test_bind(row) {
            const window = openDialog(this, row.macros, row.n)
            pick(this, window, "Jump", 1)
            compare(json(ui_View.callsNamed("setMacroKey").map(c => c.args)), json([[row.slot, "Jump"]]))
            compare(json(lastMatrixSent()[row.n - 1]), json([9, 1, row.slot + 1, 0]))
            compare(json(ui_View.callsNamed("sendMacroData").map(c => c.args)),
                    json([[ui_View.encodeMacroLines(["1,B", "2,B"], 2, false), row.slot]]))
            verify(!dialog(window).visible)
        }
        function test_fiveSlotsUsed() {
            const macros = { 0: [9, 0, 1, 0], 1: [9, 0, 2, 0], 3: [9, 0, 3, 0], 4: [9, 0, 4, 0], 5: [9, 0, 5, 0] }
            const window = openDialog(this, macros, 7)
            pick(this, window, "Fire", 0)
            compare(ui_View.callsNamed("setMacroKey"), [])
            compare(ui_View.callsNamed("ui_12H_SetKeyMatrix"), [])
            compare(ui_View.callsNamed("sendMacroData"), [])
            verify(!dialog(window).visible)
        }
        function test_nothingChosen() {
            const window = openDialog(this, {}, 3)
            mouseClick(findControl(window, "OK", Accessible.Button))
            compare(ui_View.calls.filter(c => c.name !== "getMacroKey"), [])
            verify(!dialog(window).visible)
        }
        function test_cancel() {
            const window = openDialog(this, {}, 3)
            mouseClick(findControl(window, "Please select a macro", Accessible.ComboBox))
            mouseClick(findControl(window, "Fire", Accessible.ListItem))
            mouseClick(findControl(window, "Cancel", Accessible.Button))
            compare(ui_View.callsNamed("setMacroKey"), [])
            verify(!dialog(window).visible)
        }
    }
}
