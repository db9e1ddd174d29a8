// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtTest

// The macro manager inside the real window: the list it builds from the
// library, what New, rename and Delete store, recording, the context menu and
// the uploads, as recorded by the stand-in library.
Item {
    id: root

    width: 1000
    height: 640

    readonly property Component windowComponent: Qt.createComponent("qrc:/modules/qml/main.qml")
    readonly property var libraryCalls: ["createMacroIni", "modifyMacroName", "deleteMacroIni", "setMacroIndex",
        "changeMacroFileIndex", "updataNameList", "saveMacroIni", "sendMacroData"]

    function json(value) {
        return JSON.stringify(value)
    }
    function call(name, ...args) {
        return { name: name, args: args }
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
    function editor(window) {
        return findControl(window, "Macro Manager", Accessible.Dialog)
    }
    function listRows(window, name) {
        const list = findControl(window, name, Accessible.List)
        const listView = findItem(list, it => it.model !== undefined && it.itemAtIndex !== undefined) || list
        const shown = []
        for (let i = 0; i < listView.count; ++i) {
            const row = listView.itemAtIndex(i)
            shown.push(row.Accessible.selected ? "[" + row.Accessible.name + "]" : row.Accessible.name)
        }
        return shown
    }
    function libraryOps() {
        return ui_View.calls.filter(recorded => libraryCalls.indexOf(recorded.name) >= 0)
            .map(recorded => ({ name: recorded.name, args: recorded.name === "saveMacroIni"
                                     ? [recorded.args[0], recorded.args[1], recorded.args[3]] : recorded.args }))
    }
    // `files`: name -> [index, lines...]; `names`: the stored name list.
    function openEditor(test, names, files) {
        ui_View.reset()
        ui_Ctl.reset()
        ui_View.setAnswer("macroNames", names)
        const stored = {}
        for (const name in files)
            stored[name] = { index: files[name][0], type: 1, lines: files[name].slice(1), loops: "1" }
        ui_View.setAnswer("macroFiles", stored)
        const window = test.createTemporaryObject(windowComponent, root)
        window.initUI()
        window.setProtectUI(0)
        test.tryVerify(() => !findControl(window, "LOADING ......", undefined, true).visible, 1000, "the window stays locked")
        test.mouseClick(findControl(window, "Macro Manager", Accessible.Button))
        test.verify(editor(window).visible)
        ui_View.calls = []
        return window
    }
    function clickRow(test, window, listName, text) {
        test.mouseClick(findControl(window, text, Accessible.ListItem))
    }

    TestCase {
        name: "MacroEditorList"
        when: windowShown

        function test_startUp_data() {
            return [
                { tag: "one macro and its filler", names: ["Solo", "loadermarble"], files: { Solo: [0] },
                  rows: ["Solo"] },
                { tag: "by index, ties in name-list order", names: ["c", "a", "b", "d"],
                  files: { a: [0], b: [1], c: [1], d: [0] }, rows: ["a", "d", "c", "b"] },
                { tag: "empty", names: [], files: {}, rows: [] }
            ]
        }
        function test_startUp(row) {
            const window = openEditor(this, row.names, row.files)
            compare(listRows(window, "Macro"), row.rows)
            compare(editor(window).macroListModel.count, row.rows.length)
        }

        function test_newOnEmpty() {
            const window = openEditor(this, [], {})
            mouseClick(findControl(window, "New", Accessible.Button))
            compare(listRows(window, "Macro"), ["[Macro_0]"])
            compare(json(libraryOps()), json([call("createMacroIni", "Macro_0", 0),
                                              call("updataNameList", 0, ["Macro_0"])]))
        }
        function test_newReusesRenamedName() {
            const window = openEditor(this, ["Macro_0", "Macro_1"], { Macro_0: [0], Macro_1: [1] })
            editor(window).rename(0, "Fire")
            mouseClick(findControl(window, "New", Accessible.Button))
            compare(listRows(window, "Macro"), ["Fire", "Macro_1", "[Macro_0]"])
            compare(json(libraryOps()), json([call("modifyMacroName", "Macro_0", "Fire"),
                                              call("updataNameList", 0, ["Fire", "Macro_1"]),
                                              call("createMacroIni", "Macro_0", 2),
                                              call("updataNameList", 0, ["Fire", "Macro_1", "Macro_0"])]))
        }
        function test_newRefusedAtHundred() {
            const names = Array.from({ length: 100 }, (_, n) => "M" + n)
            const files = {}
            names.forEach((name, i) => files[name] = [i])
            const window = openEditor(this, names, files)
            mouseClick(findControl(window, "New", Accessible.Button))
            compare(editor(window).macroListModel.count, 100)
            compare(libraryOps(), [])
        }

        function test_rename_data() {
            return [
                { tag: "its own name", text: "a", rows: ["a", "b"], ops: [], hint: "" },
                { tag: "another macro's name", text: "b", rows: ["a", "b"], ops: [], hint: "" },
                { tag: "a path", text: "../x", rows: ["a", "b"], ops: [], hint: "Not a valid name" },
                { tag: "empty", text: "", rows: ["a", "b"], ops: [], hint: "Not a valid name" },
                { tag: "free name", text: "Jump", rows: ["Jump", "b"],
                  ops: [call("modifyMacroName", "a", "Jump"), call("updataNameList", 0, ["Jump", "b"])], hint: "" }
            ]
        }
        // Typed into the inline editor opened by a double click, ended with Enter.
        function test_rename(row) {
            const window = openEditor(this, ["a", "b"], { a: [0], b: [1] })
            mouseDoubleClickSequence(findControl(window, "a", Accessible.ListItem))
            const field = findControl(window, "Macro name", Accessible.EditableText)
            tryVerify(() => field.activeFocus)
            field.text = row.text
            keyClick(Qt.Key_Return)
            compare(listRows(window, "Macro").map(r => r.replace(/[\[\]]/g, "")), row.rows)
            compare(json(libraryOps()), json(row.ops))
            compare(editor(window).hint, row.hint)
        }
        function test_renameRefusedByLibrary() {
            const window = openEditor(this, ["a"], { a: [0] })
            ui_View.setAnswer("macroFiles", {})
            editor(window).rename(0, "Jump")
            compare(listRows(window, "Macro"), ["a"])
            compare(editor(window).hint, "Rename failed")
            compare(ui_View.callsNamed("updataNameList"), [])
        }

        // Delete: the signal first, then the file, the renumbering, the
        // device's file index and the name list; the next macro is loaded.
        function test_delete() {
            const window = openEditor(this, ["a", "b", "c"], { a: [0], b: [1], c: [2, "1,C", "2,C"] })
            const page = editor(window)
            const spy = createTemporaryQmlObject("import QtTest; SignalSpy { signalName: \"deleteMacroSignal\" }", root)
            spy.target = page
            clickRow(this, window, "Macro", "b")
            mouseClick(findControl(window, "Delete", Accessible.Button))
            compare(spy.count, 1)
            compare(spy.signalArguments[0][0], "b")
            compare(listRows(window, "Macro"), ["a", "[c]"])
            compare(listRows(window, "Sequence"), ["C", "C"])
            compare(json(libraryOps()), json([call("deleteMacroIni", "b"), call("setMacroIndex", "a", 0),
                                              call("setMacroIndex", "c", 1), call("changeMacroFileIndex", 2),
                                              call("updataNameList", 0, ["a", "c"])]))
        }
    }

    TestCase {
        name: "MacroEditorRecording"
        when: windowShown

        function record(window, keys) {
            for (const key of keys)
                window.detectKeyboard(key[0], key[1])
        }

        function test_recordWithoutPauses() {
            const window = openEditor(this, ["Macro_0"], { Macro_0: [0] })
            clickRow(this, window, "Macro", "Macro_0")
            mouseClick(findControl(window, "Start Record", Accessible.Button))
            verify(editor(window).isInputting)
            wait(30)
            record(window, [[true, 0x04], [true, 0x05], [false, 0x04], [false, 0x05]])
            mouseClick(findControl(window, "Stop Record", Accessible.Button))
            verify(!editor(window).isInputting)
            compare(listRows(window, "Sequence"), ["A", "B", "A", "B"])
            compare(json(libraryOps()), json([call("saveMacroIni", "Macro_0", ["1,A", "1,B", "2,A", "2,B"], 1)]))
            compare(ui_View.macroFile("Macro_0").lines, ["1,A", "1,B", "2,A", "2,B"])
        }
        function test_recordPauses() {
            const window = openEditor(this, ["Macro_0"], { Macro_0: [0] })
            clickRow(this, window, "Macro", "Macro_0")
            mouseClick(findControl(window, "Rec Time", Accessible.CheckBox))
            mouseClick(findControl(window, "Start Record", Accessible.Button))
            wait(50)
            record(window, [[true, 0x04]])
            wait(50)
            record(window, [[false, 0x04]])
            mouseClick(findControl(window, "Stop Record", Accessible.Button))
            const lines = ui_View.macroFile("Macro_0").lines
            compare(lines.length, 3, json(lines))
            compare(lines[0], "1,A", "no delay before the first event")
            verify(/^0,\d+$/.test(lines[1]) && parseInt(lines[1].substring(2)) >= 40, lines[1])
        }
        // Closing keeps recording; keys still arrive through the window.
        function test_closeWhileRecording() {
            const window = openEditor(this, ["Macro_0"], { Macro_0: [0] })
            clickRow(this, window, "Macro", "Macro_0")
            mouseClick(findControl(window, "Start Record", Accessible.Button))
            const page = editor(window)
            mouseClick(findControl(window, "Cancel", Accessible.Button))
            verify(!page.visible)
            verify(page.isInputting)
            window.detectKeyboard(true, 0x04)
            compare(page.macroRecordCount, 0)
            mouseClick(findControl(window, "Macro Manager", Accessible.Button))
            compare(listRows(window, "Sequence"), ["A"])
        }
        // A save re-sends the macro to every slot that uses it, with the stored loop count.
        function test_saveResends() {
            const window = openEditor(this, ["m"], { m: [0, "1,A", "2,A"] })
            ui_View.setAnswer("macroUse", { m: ["2", "4"] })
            clickRow(this, window, "Macro", "m")
            mouseClick(findControl(window, "A", Accessible.ListItem), 5, 5, Qt.RightButton)
            mouseClick(findControl(window, "Insert Delay", Accessible.MenuItem))
            compare(listRows(window, "Sequence"), ["[50 ms]", "A", "A"])
            const image = ui_View.encodeMacroLines(["0,50", "1,A", "2,A"], 1, false)
            const sends = ui_View.callsNamed("sendMacroData").map(c => c.args)
            compare(json(sends), json([[image, 2], [image, 4]]))
        }
        function test_insertButton_data() {
            return [
                { tag: "after the last row", row: 1, rows: ["A", "A", "MS-L", "MS-L"], entry: "Insert Left Button" },
                { tag: "after the first row", row: 0, rows: ["A", "MS-R", "MS-R", "A"], entry: "Insert Right Button" }
            ]
        }
        function test_insertButton(row) {
            const window = openEditor(this, ["m"], { m: [0, "1,A", "2,A"] })
            clickRow(this, window, "Macro", "m")
            const list = findControl(window, "Sequence", Accessible.List)
            const view = findItem(list, it => it.itemAtIndex !== undefined)
            mouseClick(view.itemAtIndex(row.row), 5, 5, Qt.RightButton)
            mouseClick(findControl(window, row.entry, Accessible.MenuItem))
            compare(listRows(window, "Sequence").map(r => r.replace(/[\[\]]/g, "")), row.rows)
            compare(ui_View.macroFile("m").lines.length, 4)
        }
        function test_loopField() {
            const window = openEditor(this, ["m"], { m: [0, "1,A", "2,A"] })
            clickRow(this, window, "Macro", "m")
            const field = findControl(window, "Loops", Accessible.EditableText)
            verify(!field.enabled)
            mouseClick(findControl(window, "Loops Timer", Accessible.CheckBox))
            verify(field.enabled)
            field.forceActiveFocus()
            field.text = ""
            editor(window).forceActiveFocus()
            compare(field.text, "1")
            field.text = "7"
            mouseClick(findControl(window, "Loops Timer", Accessible.CheckBox))
            compare(field.text, "1")
            verify(!field.enabled)
        }
        // A delay edited inline is saved at once; other rows do not open an editor.
        function test_editDelay() {
            const window = openEditor(this, ["m"], { m: [0, "1,A", "0,70", "2,A"] })
            clickRow(this, window, "Macro", "m")
            mouseDoubleClickSequence(findControl(window, "70 ms", Accessible.ListItem))
            const field = findControl(window, "Value", Accessible.EditableText)
            tryVerify(() => field.activeFocus)
            field.text = "250"
            keyClick(Qt.Key_Return)
            compare(listRows(window, "Sequence").map(r => r.replace(/[\[\]]/g, "")), ["A", "250 ms", "A"])
            compare(ui_View.macroFile("m").lines, ["1,A", "0,250", "2,A"])
        }
        function test_sendMacro() {
            const window = openEditor(this, ["m"], { m: [0, "1,A", "2,A"] })
            ui_View.macroFile("m").loops = "3"
            editor(window).sendMacro(1, "m")
            compare(json(ui_View.callsNamed("sendMacroData").map(c => c.args)),
                    json([[ui_View.encodeMacroLines(["1,A", "2,A"], 3, false), 1]]))
        }
    }
}
