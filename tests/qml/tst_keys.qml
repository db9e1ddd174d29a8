// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtTest

// The button pages inside the real window: the assignment panel, its function
// menu and the key dialog, driven with the mouse and the keyboard hook's
// notifications; what they send is checked against the recording stand-in.
Item {
    id: root

    readonly property Component windowComponent: Qt.createComponent("qrc:/modules/qml/main.qml")
    readonly property var defaultTexts: ["Left Button", "Right Button", "Middle Button", "Auto Run", "Fire Mode",
        "Gun Button", "DPI LOOP"]

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
    function findByName(item, name) {
        const found = findItem(item, it => it.Accessible !== undefined && it.Accessible.name === name)
        if (!found)
            throw new Error("no item named \"" + name + "\"")
        return found
    }
    function keyMenu(window) {
        return findItem(window, it => it.keyMenuLang !== undefined)
    }
    function keyDialog(window) {
        return findItem(window, it => it.macroKeyLang !== undefined)
    }
    function keyMatrix(window) {
        return findItem(window, it => it.keyMatrixLang !== undefined)
    }
    function picture(window) {
        return findItem(window, it => it.selectKey !== undefined && it.isSide !== undefined)
    }
    function shownTexts(window) {
        return [1, 2, 3, 4, 5, 6, 7].map(n => findByName(window, "Button " + n).Accessible.description)
    }
    // The stand-in's default entries, with `changes` (index -> entry) over them.
    function matrixWith(changes) {
        return Array.from({ length: 16 }, (_, i) => changes[i] || ui_View.defaultEntry(i))
    }
    // The texts shown by default, with `changes` (index -> text) over them.
    function textsWith(changes) {
        return defaultTexts.map((text, i) => changes[i] || text)
    }
    // The last matrix sent, one entry of four values per button.
    function lastMatrixSent() {
        const sent = ui_View.callsNamed("ui_12H_SetKeyMatrix")
        const list = sent[sent.length - 1].args[0]
        return Array.from({ length: 16 }, (_, i) => list.slice(4 * i, 4 * i + 4))
    }
    function openWindow(test, answers) {
        ui_View.reset()
        ui_Ctl.reset()
        for (const name in answers)
            ui_View.setAnswer(name, answers[name])
        const window = test.createTemporaryObject(windowComponent, root)
        window.initUI()
        window.setProtectUI(0)
        test.tryVerify(() => findByName(window, "Button 1").visible, 1000, "the window stays locked")
        ui_View.calls = []
        return window
    }
    // Opens the menu of button `n` (1 to 7), points at `submenu` if given and clicks `entry`.
    function choose(test, window, n, entry, submenu) {
        test.mouseClick(findByName(window, "Button " + n))
        const menu = keyMenu(window)
        if (submenu)
            test.mouseMove(findByName(menu, submenu), 20, 8)
        test.mouseClick(findByName(menu, entry))
    }

    width: 1000
    height: 640

    TestCase {
        id: assignTest

        name: "KeyAssignment"
        when: windowShown

        function test_shownFunctions_data() {
            return [
                { tag: "English", lang: "English", texts: defaultTexts, names: "Button 1", menu: "Left Button" },
                { tag: "Chinese", lang: "ChineseSimplified",
                  texts: ["左键", "右键", "中键", "自动奔跑", "开火模式", "枪键按键", "DPI LOOP"],
                  names: "g1_41", menu: "g2_0" }
            ]
        }
        function test_shownFunctions(row) {
            const window = openWindow(assignTest, { getLang: row.lang })
            compare(shownTexts(window), row.texts)
            verify(findItem(keyMatrix(window), it => it.text === row.names) !== null, row.names)
            compare(keyMenu(window).labels[0], row.menu)
            const cell = findByName(window, "Button 1")
            compare(cell.Accessible.role, Accessible.Button)
            compare(cell.mapToItem(window, 0, 0), Qt.point(119, 131))
        }

        function test_menuChoice_data() {
            const copy = [0, 0, 0xe0, 0x06]
            return [
                { tag: "Right Button onto the only left click", answers: {}, button: 1, entry: "Right Button",
                  matrix: matrixWith({}), texts: defaultTexts },
                { tag: "left click on 1 and 4, first reassigned",
                  answers: { getKeydefine: i => i === 3 ? [1, 0, 0xf0, 0] : ui_View.defaultEntry(i) },
                  button: 1, entry: "Right Button",
                  matrix: matrixWith({ 0: [1, 0, 0xf1, 0], 3: [1, 0, 0xf0, 0] }),
                  texts: textsWith({ 0: "Right Button", 3: "Left Button" }) },
                { tag: "Copy from Basic Commands", answers: {}, button: 3, submenu: "Basic Commands +", entry: "Copy",
                  matrix: matrixWith({ 2: copy }), texts: textsWith({ 2: "Copy" }) },
                { tag: "DPI -", answers: {}, button: 7, submenu: "DPI Setting +", entry: "DPI -",
                  matrix: matrixWith({ 6: [7, 0, 2, 0] }), texts: textsWith({ 6: "DPI -" }) },
                { tag: "Deactivated", answers: {}, button: 2, entry: "Deactivated",
                  matrix: matrixWith({ 1: [0, 0, 0, 0] }), texts: textsWith({ 1: "Deactivated" }) }
            ]
        }
        // A chosen entry goes out as the whole matrix (and the three recoil
        // matrices), also when the left-click guard kept the entry.
        function test_menuChoice(row) {
            const window = openWindow(assignTest, row.answers)
            choose(assignTest, window, row.button, row.entry, row.submenu)
            compare(json(ui_View.calls.map(c => c.name)), json(["ui_12H_SetKeyMatrix", "ui_12H_SetGunKeyMatrix",
                "ui_12H_SetGunKeyMatrix", "ui_12H_SetGunKeyMatrix", "setSelectGunKey"]))
            compare(json(lastMatrixSent()), json(row.matrix))
            compare(shownTexts(window), row.texts)
            verify(!keyMenu(window).visible)
            compare(picture(window).selectKey, -1)
        }

        function test_lastLeftClickStays() {
            const leftOn1And4 = i => i === 3 ? [1, 0, 0xf0, 0] : ui_View.defaultEntry(i)
            const window = openWindow(assignTest, { getKeydefine: leftOn1And4 })
            choose(assignTest, window, 1, "Middle Button")
            choose(assignTest, window, 4, "Right Button")
            compare(json(lastMatrixSent()), json(matrixWith({ 0: [1, 0, 0xf2, 0], 3: [1, 0, 0xf0, 0] })))
            compare(shownTexts(window)[3], "Left Button")
        }

        // A macro holds its slot on the page and slot + 1 in the profile and on the wire.
        function test_macroOnSlot2() {
            const window = openWindow(assignTest, { getKeydefine: i => i === 2 ? [9, 0, 3, 0] : ui_View.defaultEntry(i),
                                                    getMacroKey: slot => "Combo " + slot })
            compare(shownTexts(window)[2], "Macro: Combo 2")
            choose(assignTest, window, 2, "Middle Button")
            compare(json(lastMatrixSent()), json(matrixWith({ 1: [1, 0, 0xf2, 0], 2: [9, 0, 3, 0] })))
            compare(ui_View.callsNamed("getMacroKey").map(c => c.args), [[2]])
            compare(ui_View.callsNamed("ui_12H_SetGunKeyMatrix")[0].args[0].slice(8, 12), [9, 0, 3, 0])
        }

        function test_deleteMacroUsedTwice() {
            const used = i => i === 1 || i === 4
            const window = openWindow(assignTest, { getKeydefine: i => used(i) ? [9, 1, 1, 0] : ui_View.defaultEntry(i),
                                                    getMacroKey: slot => "Combo " + slot })
            compare([shownTexts(window)[1], shownTexts(window)[4]], ["Macro: Combo 0", "Macro: Combo 0"])
            keyMatrix(window).deleteMacroProc("Combo 1")
            compare(ui_View.callsNamed("ui_12H_SetKeyMatrix").length, 0)
            keyMatrix(window).deleteMacroProc("Combo 0")
            compare(ui_View.callsNamed("ui_12H_SetKeyMatrix").length, 2)
            compare(json(lastMatrixSent()), json(matrixWith({})))
            compare(shownTexts(window), defaultTexts)
        }
    }

    TestCase {
        id: menuTest

        name: "KeyMenu"
        when: windowShown

        // Which submenu is open after pointing at entries in turn: entries with
        // a submenu open it, Back, Double CLick, Macro and Deactivated close it,
        // the others leave it.
        function test_hover_data() {
            return [
                { tag: "Basic Commands", path: ["Basic Commands +"], open: "Copy" },
                { tag: "kept by Left Button", path: ["Basic Commands +", "Left Button"], open: "Copy" },
                { tag: "kept by Forward", path: ["DPI Setting +", "Forward"], open: "DPI LOOP" },
                { tag: "kept by Assign Keyboard Key", path: ["Additional Commands +", "Assign Keyboard Key"],
                  open: "RUN" },
                { tag: "replaced", path: ["Basic Commands +", "Multimedia Commands +"], open: "Mute" },
                { tag: "closed by Back", path: ["Basic Commands +", "Back"], open: "" },
                { tag: "closed by Double CLick", path: ["DPI Setting +", "Double CLick"], open: "" },
                { tag: "closed by Deactivated", path: ["Multimedia Commands +", "Deactivated"], open: "" }
            ]
        }
        function test_hover(row) {
            const window = openWindow(menuTest, {})
            mouseClick(findByName(window, "Button 2"))
            const menu = keyMenu(window)
            verify(menu.visible)
            compare(Qt.point(menu.x, menu.y), Qt.point(249, 152))
            compare(picture(window).selectKey, 1)
            for (const name of row.path)
                mouseMove(findByName(menu, name), 30, 8)
            const probes = ["Copy", "DPI LOOP", "RUN", "Mute"]
            compare(probes.filter(name => findByName(menu, name).visible), row.open ? [row.open] : [])
            compare(ui_View.calls.length, 0)
        }

        // Hidden entries take no space: thirteen entries, Deactivated last.
        function test_hiddenEntries() {
            const window = openWindow(menuTest, {})
            mouseClick(findByName(window, "Button 1"))
            const menu = keyMenu(window)
            for (const name of ["Auto Run", "Fire Mode", "Gun Management"])
                verify(!findByName(menu, name).visible, name)
            compare(findByName(menu, "Deactivated").mapToItem(menu, 0, 0), Qt.point(3, 3 + 12 * 21))
            compare(findByName(menu, "Basic Commands +").Accessible.role, Accessible.MenuItem)
        }

        // The recoil entries are hidden in this interface; the recoil page
        // reaches the same actions. Slot 0 is free: Assignment and Enable;
        // Enable binds it to the button, Disable unbinds it again.
        function test_recoilActions() {
            const window = openWindow(menuTest, {})
            mouseClick(findByName(window, "Button 3"))
            const menu = keyMenu(window)
            menu.openSubmenu = "gun"
            mouseMove(findByName(menu, "Null"), 20, 8)
            compare(["Assignment", "Enable", "Disable"].filter(name => {
                const item = findItem(menu, it => it.Accessible !== undefined && it.Accessible.name === name)
                return item !== null && item.visible
            }), ["Assignment", "Enable"])
            mouseClick(findByName(menu, "Enable"))
            verify(!menu.visible)
            compare(json(lastMatrixSent()), json(matrixWith({ 2: [8, 0, 1, 1] })))
            compare(ui_View.callsNamed("setSelectGunKey").map(c => c.args[0]), [[2, -1, -1, 2, 2, 2]])
            compare(shownTexts(window)[2], "Gun Button")
            compare(keyMatrix(window).gunKeyMenuControl(0, 2), 2)

            ui_View.calls = []
            keyMatrix(window).closeGunKeyProc(2, 0)
            compare(ui_View.callsNamed("setSelectGunKey").map(c => c.args[0]), [[-1, -1, -1, 2, 2, 2]])
            keyMatrix(window).refreashUI()
            compare(json(lastMatrixSent()), json(matrixWith({ 2: [8, 0, 1, 0] })))
        }

        // The menu closes and the macro key dialog opens for the button.
        function test_macroEntryOpensTheMacroKeyDialog() {
            const window = openWindow(menuTest, {})
            mouseClick(findByName(window, "Button 2"))
            mouseClick(findByName(keyMenu(window), "Macro"))
            verify(!keyMenu(window).visible)
            verify(findItem(window, it => it.Accessible !== undefined && it.Accessible.name === "Macro Key"
                                          && it.Accessible.role === Accessible.Dialog).visible)
            compare(picture(window).selectKey, 1)
            compare(ui_View.calls.length, 0)
        }

        // Pointing at a value cell selects its button while the menu is
        // closed; a press on the free window area closes the menu.
        function test_selectionAndClosing() {
            const window = openWindow(menuTest, {})
            const mouse = picture(window)
            mouseMove(findByName(window, "Button 3"), 20, 8)
            compare(mouse.selectKey, 2)
            mouseMove(window, 600, 620)
            compare(mouse.selectKey, -1)
            mouseClick(findByName(window, "Button 5"))
            mouseMove(findByName(window, "Button 3"), 20, 8)
            compare(mouse.selectKey, 4)
            mousePress(window, 600, 620)
            mouseRelease(window, 600, 620)
            verify(!keyMenu(window).visible)
            compare(mouse.selectKey, -1)
            compare(ui_View.calls.length, 0)
        }
    }

    TestCase {
        id: dialogTest

        name: "KeyDialog"
        when: windowShown

        function test_capture_data() {
            return [
                { tag: "A pressed and released", keys: [[true, 4], [false, 4]], field: "A", entry: [0, 0, 4, 0],
                  text: "Keyboard Key-A" },
                { tag: "the last key wins", keys: [[true, 4], [true, 0x05], [false, 0x05]], field: "B",
                  entry: [0, 0, 5, 0], text: "Keyboard Key-B" },
                { tag: "backslash 31H", keys: [[true, 0x31]], field: "\\ |", entry: [0, 0, 0x32, 0],
                  text: "Keyboard Key-\\ |" },
                { tag: "backslash 32H", keys: [[false, 0x32]], field: "\\ |", entry: [0, 0, 0x32, 0],
                  text: "Keyboard Key-\\ |" },
                { tag: "no key, OK", keys: [], field: "", entry: null },
                { tag: "unlisted key last", keys: [[true, 4], [true, 0x86]], field: "", entry: null },
                { tag: "Cancel", keys: [[true, 4]], field: "A", button: "Cancel", entry: null },
                { tag: "close picture", keys: [[true, 4]], field: "A", button: "Close key dialog", entry: null }
            ]
        }
        function test_capture(row) {
            const window = openWindow(dialogTest, {})
            window.detectKeyboard(true, 7)
            mouseClick(findByName(window, "Button 4"))
            mouseClick(findByName(keyMenu(window), "Assign Keyboard Key"))
            const dialog = keyDialog(window)
            const mask = findItem(window, it => String(it.color) === "#90000000")
            verify(dialog.visible)
            verify(mask.visible)
            verify(!keyMenu(window).visible)
            compare(Qt.point(dialog.x, dialog.y), Qt.point(300, 215))
            const field = findByName(dialog, "Key")
            compare(field.Accessible.description, "")
            // Pointing at another button under the mask does not move the selection.
            mouseMove(findByName(window, "Button 1"), 20, 8)
            mouseMove(window, 600, 620)
            compare(picture(window).selectKey, 3)
            for (const [isDown, code] of row.keys)
                window.detectKeyboard(isDown, code)
            compare(field.Accessible.description, row.field)

            mouseClick(findByName(dialog, row.button || "OK"))
            verify(!dialog.visible)
            verify(!mask.visible)
            compare(picture(window).selectKey, -1)
            if (row.entry) {
                compare(json(lastMatrixSent()), json(matrixWith({ 3: row.entry })))
                compare(shownTexts(window)[3], row.text)
                compare(ui_View.callsNamed("setSelectGunKey").length, 1)
            } else {
                compare(ui_View.calls.filter(c => c.name !== "keyCodeTable"), [])
                compare(shownTexts(window), defaultTexts)
            }
            // Closed, it no longer listens.
            window.detectKeyboard(true, 6)
            compare(field.Accessible.description, row.field)
        }
    }
}
