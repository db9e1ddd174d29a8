// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtTest

// The gun page against the recording stand-in: the list it builds at start,
// the English names, the slots, Delete with its unbinding and the event edits
// with what each saves and uploads.
Item {
    id: root

    width: 1000
    height: 640

    readonly property Component pageComponent: Qt.createComponent("qrc:/modules/qml/Q3/GunControl.qml")

    // The button page as the gun page sees it: three slot bindings, slot 0
    // bound to button 5; what the page asks of it is recorded.
    QtObject {
        id: buttons

        property var gunPage: null
        property var slotIndex: [5, -1, -1]
        property var asked: []

        function bindings() {
            return slotIndex.map(index => ({ index: index, type: 2 }))
        }
        function closeGunKeyProc(button, slot) {
            asked = asked.concat(["close " + button + " " + slot])
            const list = slotIndex.slice()
            list[slot] = -1
            slotIndex = list
            gunPage.setGunData(slot, 2)
        }
        function openGunKeyProc(button, slot, type) {
            asked = asked.concat(["open " + button + " " + slot + " " + type])
            const list = slotIndex.slice()
            list[slot] = button
            slotIndex = list
        }
        function refreashUI() {
            asked = asked.concat(["refresh"])
        }
        function initGunKeyShow() {
            asked = asked.concat(["label"])
        }
    }
    QtObject {
        id: menu

        property var shown: []

        function setGunMenuName(a, b, c) {
            shown = [a, b, c]
        }
    }

    function json(value) {
        return JSON.stringify(value)
    }
    function args(name) {
        return ui_View.callsNamed(name).map(call => call.args)
    }
    // A started page over a library of `stored` names, each stored at the
    // index `indexes` gives (list position by default).
    function startPage(test, stored, options) {
        const settings = options || {}
        const answer = () => {
            ui_View.setAnswer("getNameList", stored)
            ui_View.setAnswer("loadGunIndex", name => (settings.indexes || {})[name] ?? stored.indexOf(name))
            if (settings.chosen)
                ui_View.setAnswer("getselectGun", settings.chosen)
            if (settings.lines)
                ui_View.setAnswer("loadGunIni", name => settings.lines[name] || ["1"])
        }
        ui_View.reset()
        answer()
        buttons.slotIndex = settings.bound || [5, -1, -1]
        buttons.asked = []
        menu.shown = []
        const page = test.createTemporaryObject(pageComponent, root,
                                                { keyMatrix: buttons, keyMenu: menu, language: settings.language || 0 })
        buttons.gunPage = page
        page.init(false)
        page.inited()
        ui_View.calls = []
        return page
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
    function findNamed(item, name, role) {
        const found = findItem(item, it => it.Accessible.name === name && it.Accessible.role === role && it.visible)
        if (!found)
            throw new Error("no control named \"" + name + "\"")
        return found
    }
    function shownNames(page) {
        return page.names()
    }
    function shownEvents(page) {
        return page.events().map(event => event.type + ":" + event.info)
    }

    TestCase {
        name: "GunStart"

        function test_listByIndexWithTies() {
            const page = startPage(this, ["General", "b", "Three fire", "d"], {
                indexes: { "General": 0, "b": 2, "Three fire": 1, "d": 1 }, language: 1 })
            compare(json(shownNames(page)), json(["General", "Three fire", "d", "b"]))
        }
        function test_englishRenamesGunsZeroAndTwo() {
            ui_View.reset()
            ui_View.setAnswer("getNameList", ["Gun_0", "Gun_1", "Gun_2"])
            ui_View.setAnswer("loadGunIndex", name => Number(name.charAt(4)))
            const page = createTemporaryObject(pageComponent, root, { language: 0 })
            page.init(false)
            page.inited()
            compare(json(shownNames(page)), json(["General", "Gun_1", "Three fire"]))
            compare(json(args("modifyGunName")), json([["Gun_0", "General"], ["Gun_2", "Three fire"]]))
            compare(json(args("updataNameList").pop()), json([1, ["General", "Gun_1", "Three fire"]]))
        }
        function test_chineseKeepsNames() {
            const page = startPage(this, ["Gun_0", "Gun_1", "Gun_2"], { language: 1 })
            compare(json(shownNames(page)), json(["Gun_0", "Gun_1", "Gun_2"]))
        }
        function test_slotsFromProfile() {
            const page = startPage(this, ["General", "b", "Three fire", "d"], { chosen: [3, "", 9] })
            compare(json(page.positions()), json([3, 1, 9]))
            compare(page.getMacroName(page.gunDataEx.get(2).gunIndex), "Three fire")
        }
        function test_sendUploadsChosenNames() {
            const page = startPage(this, ["General", "b", "Three fire", "d"], { chosen: [3, 1, 9] })
            page.init(true)
            compare(json(args("setSelectGun")), json([[[3, 1, 9]]]))
            compare(json(args("uploadGunData")), json([[["d", "b", "Three fire"]]]))
        }
        function test_menuNamesOfBoundSlots() {
            const page = startPage(this, ["General", "b", "Three fire", "d"], { chosen: [3, 1, 0], bound: [5, -1, 2] })
            page.setGunMenuName()
            compare(json(menu.shown), json([3, -1, 0]))
        }
    }

    TestCase {
        name: "GunLibrary"

        function test_deletePermanentDoesNothing_data() {
            return [{ tag: "0", position: 0 }, { tag: "1", position: 1 }, { tag: "2", position: 2 }]
        }
        function test_deletePermanentDoesNothing(row) {
            const page = startPage(this, ["General", "b", "Three fire", "d"])
            page.selectGun(row.position)
            ui_View.calls = []
            page.deleteGun()
            compare(json(ui_View.calls), "[]")
            compare(shownNames(page).length, 4)
        }
        function test_deleteUnbindsAndRenumbers() {
            const page = startPage(this, ["General", "b", "Three fire", "d", "e"], {
                chosen: [3, 3, 4], bound: [5, -1, -1], lines: { "e": ["0,20", "3"] } })
            page.selectGun(3)
            ui_View.calls = []
            page.deleteGun()
            // The bound slot is unbound and falls back to position 2; the unbound one keeps its
            // choice; the slot that chose "e" follows it up one place.
            compare(json(buttons.asked), json(["close 5 0", "refresh", "label"]))
            compare(json(page.positions()), json([2, 3, 3]))
            compare(json(args("setSelectGun").pop()), json([[2, 3, 3]]))
            compare(json(menu.shown), json([-1, -1, -1]))
            compare(json(args("upDateDeleteGun")), json([[3]]))
            compare(json(args("deleteGunIni")), json([["d"]]))
            compare(json(shownNames(page)), json(["General", "b", "Three fire", "e"]))
            compare(json(args("setGunIndex")), json([["General", 0], ["b", 1], ["Three fire", 2], ["e", 3]]))
            compare(json(args("updataNameList")), json([[1, ["General", "b", "Three fire", "e"]]]))
            compare(page.selectedGun, 3)
            compare(json(shownEvents(page)), json(["0:20"]))
            const order = ui_View.calls.map(call => call.name).filter(name => ["upDateDeleteGun", "deleteGunIni", "setGunIndex"].indexOf(name) >= 0)
            compare(order.slice(0, 2), ["upDateDeleteGun", "deleteGunIni"])
        }
        function test_newTakesFirstFreeName() {
            const page = startPage(this, ["General", "Gun_0", "Three fire", "Gun_2"])
            page.createGun()
            compare(json(args("createGunIni")), json([["Gun_1", 4]]))
            compare(page.selectedGun, 4)
        }
        function test_renameRefusals_data() {
            return [
                { tag: "own name", name: "b", asked: false },
                { tag: "another's name", name: "General", asked: false },
                { tag: "free name", name: "z", asked: true }
            ]
        }
        function test_renameRefusals(row) {
            const page = startPage(this, ["General", "b", "Three fire"])
            compare(page.renameGun(1, row.name), row.asked)
            compare(args("modifyGunName").length, row.asked ? 1 : 0)
            compare(shownNames(page)[1], row.asked ? row.name : "b")
            // A rename relabels the recoil keys and the menu's slot names.
            compare(json(buttons.asked), json(row.asked ? ["refresh", "label"] : []))
            compare(menu.shown.length, row.asked ? 3 : 0)
        }
        function test_renameRefusedByLibraryShowsOldName() {
            const page = startPage(this, ["General", "b", "Three fire"])
            ui_View.setAnswer("modifyGunName", false)
            verify(!page.renameGun(1, "../x"))
            compare(shownNames(page)[1], "b")
            compare(args("updataNameList").length, 0)
        }
    }

    TestCase {
        name: "GunEvents"
        when: windowShown

        // Gun "d" holds K↓ X Y K↑ with loop 4.
        function pageWithEvents(test) {
            const page = startPage(test, ["General", "b", "Three fire", "d"], {
                chosen: [3, 1, 0], lines: { "d": ["1,A", "5,3", "6,-4", "2,A", "4"] } })
            page.selectGun(3)
            ui_View.calls = []
            return page
        }

        function test_contextCommands_data() {
            return [
                { tag: "delete X row", command: 0, row: 1, shown: ["1:A", "2:A"] },
                { tag: "delete Y row", command: 0, row: 2, shown: ["1:A", "2:A"] },
                { tag: "left after X goes after Y", command: 1, row: 1, shown: ["1:A", "5:3", "6:-4", "3:MS-L", "4:MS-L", "2:A"] },
                { tag: "right on last row appends", command: 2, row: 3, shown: ["1:A", "5:3", "6:-4", "2:A", "3:MS-R", "4:MS-R"] },
                { tag: "middle after key", command: 3, row: 0, shown: ["1:A", "3:MS-M", "4:MS-M", "5:3", "6:-4", "2:A"] },
                { tag: "delay on Y goes before X", command: 4, row: 2, shown: ["1:A", "0:50", "5:3", "6:-4", "2:A"] }
            ]
        }
        function test_contextCommands(row) {
            const page = pageWithEvents(this)
            page.contextCommand(row.command, row.row)
            compare(json(shownEvents(page)), json(row.shown))
            const saved = args("saveGunIni")
            compare(saved.length, 1)
            compare(json(saved[0][1]), json(row.shown.map(text => text.replace(":", ","))))
            compare(saved[0][3], 4)
            compare(json(args("encodeMacroLines")[0].slice(1)), json([4, true]))
            compare(json(args("uploadGunData")), json([[["d", "b", "General"]]]))
        }
        function test_delaySelectsInsertedRow() {
            const page = pageWithEvents(this)
            page.contextCommand(4, 2)
            compare(page.selectedRow, 1)
        }
        function test_insertDialogs() {
            const page = pageWithEvents(this)
            page.insertCursor(0, -127, 127)
            page.insertKey(5, "B")
            page.insertDelay(0, 10)
            page.insertMouse(-1, "MS-B4")
            compare(json(shownEvents(page)), json(["0:10", "1:A", "5:-127", "6:127", "5:3", "6:-4", "2:A", "1:B",
                                                   "2:B", "3:MS-B4", "4:MS-B4"]))
            page.insertKey(0, "")
            compare(args("saveGunIni").length, 4)
        }
        function test_editOffsetRows_data() {
            return [
                { tag: "X in range", row: 1, text: "-127", info: "-127" },
                { tag: "Y out of range", row: 2, text: "128", info: "-4" }
            ]
        }
        function test_editOffsetRows(row) {
            const page = pageWithEvents(this)
            page.visible = true
            const list = findNamed(page, "Sequence", Accessible.List)
            list.startEditing(row.row)
            waitForRendering(list)
            keyClick(Qt.Key_A, Qt.ControlModifier)
            for (const c of row.text)
                keyClick(c)
            keyClick(Qt.Key_Return)
            compare(page.events()[row.row].info, row.info)
            compare(args("saveGunIni").length, 1)
        }
        function test_offsetRowsNameTheirAxis() {
            const page = pageWithEvents(this)
            page.visible = true
            const list = findNamed(page, "Sequence", Accessible.List)
            waitForRendering(list)
            verify(findNamed(list, "X 3", Accessible.ListItem))
            verify(findNamed(list, "Y -4", Accessible.ListItem))
        }
    }

    TestCase {
        name: "GunDialogs"
        when: windowShown

        function pageWithEvents(test) {
            const page = startPage(test, ["General", "b", "Three fire", "d"], {
                chosen: [3, 1, 0], lines: { "d": ["1,A", "5,3", "6,-4", "2,A", "4"] } })
            page.selectGun(3)
            page.visible = true
            ui_View.calls = []
            return page
        }
        function openDialog(page, button, title) {
            mouseClick(findNamed(page, button, Accessible.Button))
            return findNamed(page, title || button, Accessible.Dialog)
        }
        function test_cursorPadCorners_data() {
            return [
                { tag: "dragged past top left", x: -20, y: -20, shown: ["5:-127", "6:127"] },
                { tag: "dragged past bottom right", x: 280, y: 280, shown: ["5:127", "6:-127"] },
                { tag: "right of centre", x: 126, y: 126, shown: ["5:0", "6:0"] }
            ]
        }
        function test_cursorPadCorners(row) {
            const page = pageWithEvents(this)
            page.selectedRow = 0
            const dialog = openDialog(page, "Insert Cursor", "Insert Cursor offset")
            const pad = findNamed(dialog, "Cursor pad", Accessible.Graphic)
            mousePress(pad, 40, 40)
            mouseMove(pad, row.x, row.y)
            mouseRelease(pad, row.x, row.y)
            compare(pad.Accessible.description, row.shown[0].substring(2) + ", " + row.shown[1].substring(2))
            mouseClick(findNamed(dialog, "OK", Accessible.Button))
            verify(!dialog.visible)
            compare(json(shownEvents(page).slice(1, 3)), json(row.shown))
            compare(args("saveGunIni").length, 1)
        }
        function test_mouseDialogPicksFifthArea() {
            const page = pageWithEvents(this)
            page.selectedRow = 3
            const dialog = openDialog(page, "Insert Mouse")
            mouseClick(findNamed(dialog, "MS-B4", Accessible.RadioButton))
            mouseClick(findNamed(dialog, "OK", Accessible.Button))
            compare(json(shownEvents(page).slice(4)), json(["3:MS-B4", "4:MS-B4"]))
        }
        function test_delayDialogBeforeXRow() {
            const page = pageWithEvents(this)
            page.selectedRow = 2
            const dialog = openDialog(page, "Insert Delay", "Insert delay")
            mouseClick(findNamed(dialog, "OK", Accessible.Button))
            compare(json(shownEvents(page).slice(0, 3)), json(["1:A", "0:10", "5:3"]))
        }
        // The wait outlives the dialog: a key pressed after Cancel still fills the field.
        function test_keyWaitOutlivesDialog() {
            const page = pageWithEvents(this)
            page.selectedRow = 0
            let dialog = openDialog(page, "Insert Key")
            mouseClick(findNamed(dialog, "Please input key:", Accessible.EditableText))
            verify(page.isInsertting)
            mouseClick(findNamed(dialog, "Cancel", Accessible.Button))
            verify(page.isInsertting)
            page.detectInput(true, 0x05)
            verify(!page.isInsertting)
            dialog.visible = true
            compare(findNamed(dialog, "Please input key:", Accessible.EditableText).Accessible.description, "B")
            mouseClick(findNamed(dialog, "OK", Accessible.Button))
            compare(json(shownEvents(page).slice(0, 3)), json(["1:A", "1:B", "2:B"]))
        }
        function test_mouseCodeEndsWaitWithoutName() {
            const page = pageWithEvents(this)
            const dialog = openDialog(page, "Insert Key")
            mouseClick(findNamed(dialog, "Please input key:", Accessible.EditableText))
            page.detectInput(true, 0xf0)
            verify(!page.isInsertting)
            mouseClick(findNamed(dialog, "OK", Accessible.Button))
            compare(args("saveGunIni").length, 0)
        }
        function test_recordingKeysOnlyWithoutLengthLimit() {
            const page = pageWithEvents(this)
            mouseClick(findNamed(page, "Start Record", Accessible.Button))
            verify(page.isInputting)
            for (let i = 0; i < 70; ++i) {
                page.detectKeyboard(true, 0x04)
                page.detectKeyboard(false, 0x04)
            }
            compare(page.events().length, 140)
            compare(page.events().filter(event => event.type === 0).length, 0)
            mouseClick(findNamed(page, "Stop Record", Accessible.Button))
            verify(!page.isInputting)
            compare(args("saveGunIni").length, 1)
        }
        function test_deleteButtonOnPermanentGun() {
            const page = pageWithEvents(this)
            page.selectGun(1)
            ui_View.calls = []
            mouseClick(findNamed(page, "Delete", Accessible.Button))
            compare(json(ui_View.calls), "[]")
        }
        function test_bindGunFromMacroKeyDialog() {
            const page = pageWithEvents(this)
            buttons.asked = []
            page.bindGun(1, 4, "d", 2)
            compare(json(buttons.asked), json(["open 4 1 2", "refresh", "label"]))
            compare(json(page.positions()), json([3, 3, 0]))
            compare(json(args("setSelectGun")), json([[[3, 3, 0]]]))
            compare(json(menu.shown), json([3, 3, -1]))
            compare(json(args("uploadGunData")), json([[["d", "d", "General"]]]))
            ui_View.calls = []
            page.bindGun(1, 4, "no such gun", 2)
            compare(json(ui_View.calls), "[]")
        }
        function test_unsafeRenameShowsHint() {
            const page = pageWithEvents(this)
            verify(!page.renameGun(3, "a/b"))
            compare(shownNames(page)[3], "d")
            compare(args("modifyGunName").length, 0)
            verify(page.renameHint !== "")
        }
    }

    TestCase {
        name: "GunInWindow"
        when: windowShown

        // An English start renames guns 0 and 2, stores the names, and the
        // recoil key bound to slot 0 shows its gun's new name.
        function test_englishStartNamesGunsAndKeys() {
            ui_View.reset()
            ui_View.setAnswer("getNameList", type => type === 1 ? ["Gun_0", "Gun_1", "Gun_2"] : [])
            ui_View.setAnswer("loadGunIndex", name => Number(name.charAt(4)))
            ui_View.setAnswer("getselectGunKey", [5, -1, -1, 2, 2, 2])
            ui_View.setAnswer("getselectGun", [0, 1, 2])
            const window = createTemporaryObject(Qt.createComponent("qrc:/modules/qml/main.qml"), root)
            window.initUI()
            compare(json(args("modifyGunName")), json([["Gun_0", "General"], ["Gun_2", "Three fire"]]))
            compare(json(args("updataNameList").filter(list => list[0] === 1).pop()),
                    json([1, ["General", "Gun_1", "Three fire"]]))
            const buttons = findItem(window, it => it.rowTexts !== undefined && it.gunPage !== undefined)
            compare(buttons.rowTexts[5], "General")
        }
        // The chosen guns follow the profile: a switch shows the new profile's
        // guns on its recoil keys, and closing the profile page uploads them.
        function test_profileSwitchReadsChosenGuns() {
            const library = ["General", "Gun_1", "Three fire", "Spray"]
            ui_View.reset()
            ui_View.setAnswer("getNameList", type => type === 1 ? library : [])
            ui_View.setAnswer("loadGunIndex", name => library.indexOf(name))
            ui_View.setAnswer("getselectGunKey", [5, -1, -1, 2, 2, 2])
            ui_View.setAnswer("getselectGun", [0, 1, 2])
            const window = createTemporaryObject(Qt.createComponent("qrc:/modules/qml/main.qml"), root)
            window.initUI()
            const buttons = findItem(window, it => it.rowTexts !== undefined && it.gunPage !== undefined)
            compare(buttons.rowTexts[5], "General")
            ui_View.setAnswer("getselectGun", [3, 1, 2])
            ui_View.calls = []
            window.changeProfile(2)
            compare(buttons.rowTexts[5], "Spray")
            compare(args("uploadGunData").length, 0)
            window.profilePageClosed()
            compare(json(args("setSelectGun").pop()), json([[3, 1, 2]]))
            compare(json(args("uploadGunData").pop()), json([["Spray", "Gun_1", "Three fire"]]))
        }
        // The menu's Assignment opens the macro key dialog on the gun list;
        // its OK binds the slot to the button and uploads the chosen gun.
        function test_assignmentThroughMacroKeyDialog() {
            ui_View.reset()
            ui_View.setAnswer("getNameList", type => type === 1 ? ["General", "Gun_1", "Three fire", "Spray"] : [])
            ui_View.setAnswer("loadGunIndex", name => ["General", "Gun_1", "Three fire", "Spray"].indexOf(name))
            const window = createTemporaryObject(Qt.createComponent("qrc:/modules/qml/main.qml"), root)
            window.initUI()
            const picture = findItem(window, it => it.selectKey !== undefined)
            const keyMenu = findItem(window, it => it.gunKeyAssignment !== undefined)
            const dialog = findItem(window, it => it.gunChosen !== undefined)
            picture.selectKey = 5
            keyMenu.gunKeyAssignment(1, 0)
            verify(dialog.visible)
            compare(dialog.uiType, 1)
            compare(dialog.listModel().count, 4)
            ui_View.calls = []
            dialog.choose("Spray")
            dialog.accept()
            compare(json(args("setSelectGunKey").pop()), json([[-1, 5, -1, 2, 2, 2]]))
            compare(json(args("setSelectGun").pop()), json([[0, 3, 2]]))
            compare(json(args("uploadGunData").pop()), json([["General", "Spray", "Three fire"]]))
            const buttons = findItem(window, it => it.rowTexts !== undefined && it.gunPage !== undefined)
            compare(buttons.rowTexts[5], "Spray")
            compare(picture.selectKey, -1)
        }
    }
}
