// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtTest

// The profile page inside the real window: what the user sees in the list and
// what each click stores, resets, copies and sends, as recorded by the stand-in.
Item {
    id: root

    readonly property Component windowComponent: Qt.createComponent("qrc:/modules/qml/main.qml")
    // The operations on profiles and the name list; the settings pages' reads
    // and sends are checked on their own.
    readonly property var profileCalls: ["updataNameList", "resetProfile", "copyProfile", "loadProfile", "saveProfile",
        "ui_02H_SetCurrentProfile", "ui_02H_SetKeyMatrixNo"]
    // What the settings pages send on init(true), in the window's page order.
    readonly property var pageSends: ["ui_12H_SetKeyMatrix", "ui_12H_SetGunKeyMatrix", "ui_12H_SetGunKeyMatrix",
        "ui_12H_SetGunKeyMatrix", "ui_0EH_SetXYSensitive", "ui_11H_SetDPISelect", "ui_11H_SetDPISet",
        "ui_10H_SetLED8StageColor", "ui_0DH_SetRGBLedEffect", "ui_01H_SetReportRate", "setCursorSpeed",
        "setDoubleClickSpeed", "setVerticalScrollLines"]
    readonly property var sixListed: ["a0", "b1", "c2", "d3", "e4", "f5"]

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
    // A shown control of that name first: hidden pages may carry the same names.
    function findControl(window, name, role) {
        const named = it => it.Accessible !== undefined && it.Accessible.name === name
                            && (role === undefined || it.Accessible.role === role)
        const found = findItem(window, it => named(it) && it.visible) || findItem(window, named)
        if (!found)
            throw new Error("no control named \"" + name + "\"")
        return found
    }
    function page(window) {
        return findControl(window, "Close profiles").parent
    }
    // The visible rows' names in display order, the selected one in brackets.
    function rows(window) {
        const list = findControl(window, "Profiles")
        const shown = []
        for (let i = 0; i < list.count; ++i) {
            const row = list.itemAtIndex(i)
            shown.push(row.Accessible.selected ? "[" + row.Accessible.name + "]" : row.Accessible.name)
        }
        return shown
    }
    function rowNamed(window, name) {
        return findControl(window, name, Accessible.ListItem)
    }
    function mask(window) {
        return findItem(window, it => String(it.color) === "#90000000")
    }
    function namedCalls(names) {
        return ui_View.calls.filter(recorded => names.indexOf(recorded.name) >= 0)
    }

    // A started window whose name file holds `stored` and whose current
    // profile is `profile`, with the profile page open and no call recorded.
    function openPage(test, stored, profile, lang) {
        ui_View.reset()
        ui_Ctl.reset()
        ui_View.setAnswer("getNameList", stored)
        ui_View.setAnswer("getProfile", String(profile || 0))
        ui_View.setAnswer("getLang", lang || "English")
        const window = test.createTemporaryObject(windowComponent, root)
        window.initUI()
        window.setProtectUI(0)
        test.tryVerify(() => !findControl(window, "LOADING ......").visible, 1000, "the window stays locked")
        test.mouseClick(findControl(window, window.mainLang[19], Accessible.Button))
        test.verify(page(window).visible)
        ui_View.calls = []
        return window
    }

    width: 1000
    height: 640

    TestCase {
        id: listTest

        name: "ProfileList"
        when: windowShown

        function test_startUp_data() {
            return [
                { tag: "padded Standard", stored: ["Standard0", "loadermarble"], rows: ["[Standard]"] },
                { tag: "factory name, English", stored: ["Default0", "loadermarble"], rows: ["[Standard]"],
                  written: [["Standard0"]] },
                { tag: "factory name, Chinese", stored: ["Default0", "loadermarble"], lang: "ChineseSimplified",
                  rows: ["[Default]"] },
                { tag: "the user's first name stays", stored: ["Work0", "Default1"], rows: ["[Work]", "Default"] },
                { tag: "current profile 3", stored: ["A0", "B3"], profile: 3, rows: ["A", "[B]"] },
                { tag: "element without a number", stored: ["A0", "Broken", "B3"], profile: 3, rows: ["A", "[B]"] },
                { tag: "current profile not listed", stored: ["A2", "B1"], profile: 4, rows: ["[A]", "B"],
                  switched: [4, 2] },
                { tag: "empty", stored: [], rows: [] }
            ]
        }
        function test_startUp(row) {
            ui_View.reset()
            ui_View.setAnswer("getNameList", row.stored)
            ui_View.setAnswer("getProfile", String(row.profile || 0))
            ui_View.setAnswer("getLang", row.lang || "English")
            const window = createTemporaryObject(windowComponent, root)
            window.initUI()
            compare(rows(window), row.rows)
            // The profile list's calls (type 2); the other libraries read their own lists.
            compare(ui_View.callsNamed("getNameList").filter(c => c.args[0] === 2), [call("getNameList", 2)])
            compare(json(ui_View.callsNamed("updataNameList").map(c => c.args).filter(args => args[0] === 2)),
                    json((row.written || []).map(list => [2, list])))
            compare(ui_View.callsNamed("ui_02H_SetCurrentProfile").map(c => c.args[0]),
                    row.switched || [row.profile || 0])
            compare(namedCalls(["resetProfile", "copyProfile"]), [])
        }

        function test_menuTexts_data() {
            return [{ tag: "English", lang: "English", texts: ["Delete", "Edit", "Copy", "Load", "Save"] },
                    { tag: "Chinese", lang: "ChineseSimplified", texts: [21, 22, 23, 24, 25].map(i => "g0_" + i) }]
        }
        function test_menuTexts(row) {
            const window = openPage(listTest, ["A0", "B1"], 0, row.lang)
            mouseClick(rowNamed(window, "B"), 20, 9, Qt.RightButton)
            for (const text of row.texts)
                verify(findControl(page(window), text, Accessible.MenuItem).visible, text)
            compare(rows(window), ["A", "[B]"])
        }

        // The page opens and closes with the profile button and its close
        // button, under the mask; a press on the mask keeps it open.
        function test_openClose() {
            const window = openPage(listTest, ["A0"], 0)
            verify(mask(window).visible)
            mousePress(window, 600, 300)
            mouseRelease(window, 600, 300)
            verify(page(window).visible)
            mouseClick(findControl(window, "Close profiles"))
            verify(!page(window).visible)
            verify(!mask(window).visible)
            mouseClick(findControl(window, "Config", Accessible.Button))
            verify(page(window).visible)
            page(window).close()
            verify(!page(window).visible)
            compare(json(ui_View.calls), json([]))
        }
    }

    TestCase {
        id: renameTest

        name: "ProfileRename"
        when: windowShown

        function typeText(text) {
            for (const character of text)
                keyClick(character)
        }

        function test_rename_data() {
            return [
                { tag: "Enter", start: "double", text: "Games", end: "enter", rows: ["Standard", "[Games]"],
                  stored: [["Standard0", "Games1"]] },
                { tag: "menu Edit", start: "menu", text: "Games", end: "enter", rows: ["Standard", "[Games]"],
                  stored: [["Standard0", "Games1"]] },
                { tag: "another row clicked", start: "double", text: "Games", end: "other",
                  rows: ["[Standard]", "Games"], stored: [["Standard0", "Games1"]] },
                { tag: "mask pressed", start: "double", text: "Games", end: "mask", rows: ["Standard", "[Games]"],
                  stored: [["Standard0", "Games1"]] },
                { tag: "another entry's name", start: "double", text: "Standard", end: "enter",
                  rows: ["Standard", "[Work]"], stored: [] },
                { tag: "unchanged", start: "double", text: "Work", end: "enter", rows: ["Standard", "[Work]"],
                  stored: [] },
                { tag: "empty", start: "double", text: "", end: "enter", rows: ["Standard", "[Work]"], stored: [] },
                { tag: "Escape", start: "double", text: "Games", end: "escape", rows: ["Standard", "[Work]"],
                  stored: [] }
            ]
        }
        function test_rename(row) {
            const window = openPage(renameTest, ["Standard0", "Work1"], 1)
            const work = rowNamed(window, "Work")
            if (row.start === "double") {
                mouseDoubleClickSequence(work, 20, 9)
            } else {
                mouseClick(work, 20, 9, Qt.RightButton)
                mouseClick(findControl(page(window), "Edit", Accessible.MenuItem))
            }
            const field = findItem(window, it => it.Accessible !== undefined && it.visible
                                                 && it.Accessible.name === "Profile name")
            verify(field && field.activeFocus)
            compare(field.selectedText, "Work")
            if (row.text === "")
                keyClick(Qt.Key_Delete)
            typeText(row.text)
            if (row.end === "enter")
                keyClick(Qt.Key_Return)
            else if (row.end === "escape")
                keyClick(Qt.Key_Escape)
            else if (row.end === "other")
                mouseClick(rowNamed(window, "Standard"))
            else
                mouseClick(window, 600, 300)
            verify(!field.visible)
            compare(rows(window), row.rows)
            compare(json(ui_View.callsNamed("updataNameList").map(c => c.args[1])), json(row.stored))
        }
    }

    TestCase {
        id: commandTest

        name: "ProfileCommands"
        when: windowShown

        // Runs `steps` on the page: "click X" / "right X" on the row named X,
        // "menu X" on a menu entry, "button X" on a page button.
        function run(window, steps) {
            for (const step of steps) {
                const [kind, name] = [step.slice(0, step.indexOf(" ")), step.slice(step.indexOf(" ") + 1)]
                if (kind === "click")
                    mouseClick(rowNamed(window, name))
                else if (kind === "right")
                    mouseClick(rowNamed(window, name), 20, 9, Qt.RightButton)
                else if (kind === "menu")
                    mouseClick(findControl(page(window), name, Accessible.MenuItem))
                else
                    mouseClick(findControl(window, name, Accessible.Button))
            }
        }

        function test_commands_data() {
            return [
                { tag: "New with 0, 1 and 3 used", stored: ["A0", "B1", "C3"], steps: ["button New"],
                  rows: ["A", "B", "C", "[profile_0]"],
                  calls: [call("updataNameList", 2, ["A0", "B1", "C3", "profile_02"]), call("resetProfile", 2),
                          call("ui_02H_SetCurrentProfile", 2)] },
                { tag: "New keeps an unreadable element", stored: ["A0", "Broken"], steps: ["button New"],
                  rows: ["A", "[profile_0]"],
                  calls: [call("updataNameList", 2, ["A0", "profile_01", "Broken"]), call("resetProfile", 1),
                          call("ui_02H_SetCurrentProfile", 1)] },
                { tag: "New on an empty list", stored: [], profile: 3, steps: ["button New"],
                  rows: ["[profile_0]"], calls: [call("updataNameList", 2, ["profile_03"])] },
                { tag: "New with six listed", stored: sixListed, steps: ["button New"],
                  rows: ["[a]", "b", "c", "d", "e", "f"], calls: [] },
                { tag: "Copy with (0) taken", stored: ["profile_00", "profile_0(0)1"],
                  steps: ["right profile_0", "menu Copy"], rows: ["profile_0", "profile_0(0)", "[profile_0(1)]"],
                  calls: [call("copyProfile", 2, 0), call("updataNameList", 2, ["profile_00", "profile_0(0)1",
                          "profile_0(1)2"]), call("ui_02H_SetCurrentProfile", 2)] },
                { tag: "Copy with six listed", stored: sixListed, steps: ["right c", "menu Copy"],
                  rows: ["a", "b", "[c]", "d", "e", "f"], calls: [call("ui_02H_SetCurrentProfile", 2)] },
                { tag: "Delete button, one entry", stored: ["A0", "loadermarble"], steps: ["button Delete"],
                  rows: ["[A]"], calls: [] },
                { tag: "Delete menu, one entry", stored: ["A0", "loadermarble"], steps: ["right A", "menu Delete"],
                  rows: ["[A]"], calls: [] },
                { tag: "Delete the last entry", stored: ["A0", "B4"], steps: ["click B", "button Delete"],
                  rows: ["[A]"], calls: [call("ui_02H_SetCurrentProfile", 4), call("updataNameList", 2, ["A0"]),
                                         call("ui_02H_SetCurrentProfile", 0)] },
                { tag: "Delete the first entry", stored: ["A0", "B4", "C2"], steps: ["right A", "menu Delete"],
                  rows: ["[B]", "C"], calls: [call("updataNameList", 2, ["B4", "C2"]),
                                              call("ui_02H_SetCurrentProfile", 4)] },
                { tag: "Load cancelled", stored: ["A0", "B3"], steps: ["right B", "menu Load"],
                  rows: ["A", "[B]"], calls: [call("ui_02H_SetCurrentProfile", 3), call("loadProfile", 3)] },
                { tag: "Load", stored: ["A0"], loaded: true, steps: ["right A", "menu Load"], rows: ["[A]"],
                  calls: [call("loadProfile", 0)], sends: pageSends },
                { tag: "Save", stored: ["A0", "B3"], steps: ["click B", "right B", "menu Save"], rows: ["A", "[B]"],
                  calls: [call("ui_02H_SetCurrentProfile", 3), call("saveProfile", 3)] },
                { tag: "same entry again", stored: ["A0", "B3"], steps: ["click A", "right A", "click A"],
                  rows: ["[A]", "B"],
                  calls: [] }
            ]
        }
        function test_commands(row) {
            const window = openPage(commandTest, row.stored, row.profile || 0)
            ui_View.setAnswer("loadProfile", row.loaded === true)
            run(window, row.steps)
            compare(rows(window), row.rows)
            compare(json(namedCalls(profileCalls)), json(row.calls))
            compare(namedCalls(pageSends).map(c => c.name), row.sends || [])
            compare(window.currentProfile, row.calls.filter(c => c.name === "ui_02H_SetCurrentProfile")
                    .reduce((number, c) => c.args[0], row.profile || 0))
            verify(!findControl(window, "Profile commands").visible)
        }

        // Switching shows each profile at once and sends the settings once,
        // when the page closes, in the pages' order, then key matrix 0.
        function test_switchTwiceThenClose_data() {
            return [{ tag: "close button", close: "Close profiles" }, { tag: "profile button", close: "Config" }]
        }
        function test_switchTwiceThenClose(row) {
            const window = openPage(commandTest, ["A0", "B1", "C2"], 0)
            run(window, ["click B", "right C"])
            compare(json(namedCalls(profileCalls)),
                    json([call("ui_02H_SetCurrentProfile", 1), call("ui_02H_SetCurrentProfile", 2)]))
            compare(ui_View.callsNamed("getCursorSpeed").length, 2)
            compare(json(namedCalls(pageSends)), json([]))

            ui_View.calls = []
            // The profile button lies under the page and its mask: only its
            // press action (keyboard, screen reader) reaches it.
            const close = findControl(window, row.close, Accessible.Button)
            if (row.close === "Config")
                close.clicked()
            else
                mouseClick(close)
            verify(!page(window).visible)
            verify(findControl(window, "LOADING ......").visible)
            compare(json(namedCalls(pageSends.concat(profileCalls, ["setEnabled"])).map(c => c.name)),
                    json(["setEnabled"].concat(pageSends, ["ui_02H_SetKeyMatrixNo"])))
            compare(ui_View.callsNamed("ui_02H_SetKeyMatrixNo"), [call("ui_02H_SetKeyMatrixNo", 0)])

            // Opening and closing again without a switch sends nothing.
            window.setProtectUI(0)
            tryVerify(() => !findControl(window, "LOADING ......").visible)
            ui_View.calls = []
            mouseClick(findControl(window, "Config", Accessible.Button))
            mouseClick(findControl(window, "Close profiles"))
            compare(json(ui_View.calls), json([]))
        }
    }
}
