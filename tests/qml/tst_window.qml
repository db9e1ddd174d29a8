// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtTest

// The real window (main.qml from the resources), driven with the mouse and
// the keyboard; every operation it calls on ui_View and ui_Ctl is recorded
// by the stand-ins and checked in order, with its arguments.
Item {
    id: root

    readonly property Component windowComponent: Qt.createComponent("qrc:/modules/qml/main.qml")
    readonly property var englishStrings: ["Axis Sensitivity", "x-Axis", "y-Axis", "DPI Setting", "Lighting",
        "Static", "Breath", "RGB", "Finger \nTapping", "Polling Rate", "Mouse Speed", "Double-Click Speed",
        "Scroll Speed", "Slow", "Fast", "Number of Rows", "Scrol one Screen", "Top View", "Side View", "Config",
        "New", "Delete", "Edit", "Copy", "Load", "Save", "Reset", "Reset Factroy Setting", "OK", "Cancel",
        "", "", "", "", ""]
    // What the profile holds after a reset or a profile change, unlike the
    // stand-in's defaults, so every panel's re-read shows in what it sends.
    readonly property var otherProfile: ({
        getXYSensitive: axis => axis === 0 ? "2" : "7",
        ui_91H_GetDPISet: [400, 5000, 5100, 6000, 200, 1000, 250, 250],
        ui_91H_GetDPISelect: [1, 0, 1, 1, 1, 1, 0, 0],
        ui_90H_GetLED8StageColor: [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 0, 0, 0, 0, 0, 0],
        ui_8DH_GetRGBLedEffect: [2, 1, 2],
        ui_81H_GetReportRate: 4,
        getCursorSpeed: 7,
        getDoubleClickSpeed: 2,
        getVerticalScrollLines: 1000,
        // Button 2 runs macro slot 2 (stored as slot + 1).
        getKeydefine: i => i === 1 ? [9, 0, 3, 0] : ui_View.defaultEntry(i)
    })

    // Calls are compared as JSON, so a failure shows them.
    function json(value) {
        return JSON.stringify(value)
    }
    function call(name, ...args) {
        return { name: name, args: args }
    }
    // What the button page's init reads: the main matrix, the three recoil
    // matrices and the recoil bindings. `macroSlots`: the macro slot each
    // main entry asks the name of (entry index -> slot).
    function keyMatrixReads(macroSlots) {
        const calls = []
        for (let i = 0; i < 16; ++i) {
            calls.push(call("getKeydefine", i))
            // The label's name, then the macro editor's upload of the slot,
            // which reads the stored macro (the stand-in library has none).
            if (macroSlots[i] !== undefined)
                calls.push(call("getMacroKey", macroSlots[i]), call("getMacroKey", macroSlots[i]),
                           call("loadMacroIni", "macro" + macroSlots[i]))
        }
        for (let i = 0; i < 16; ++i)
            calls.push(call("getGunKeydefine", 1, i), call("getGunKeydefine", 2, i), call("getGunKeydefine", 3, i))
        return calls.concat([call("getselectGunKey")])
    }
    // The main matrix and the three recoil matrices as sent, from the main
    // matrix's stored entries; every recoil matrix's left button plays its
    // recoil sequence in run mode 2.
    function keyMatrixSends(stored) {
        const recoil = k => [[9, 2, 5 + k, 0]].concat(stored.slice(1))
        return [call("ui_12H_SetKeyMatrix", [].concat(...stored))]
            .concat([1, 2, 3].map(k => call("ui_12H_SetGunKeyMatrix", [].concat(...recoil(k)), k)))
    }
    // The getters every panel's init calls, in the window's page order.
    function panelReads() {
        return keyMatrixReads({}).concat([call("getXYSensitive", 0), call("getXYSensitive", 1), call("ui_91H_GetDPISet"),
                call("ui_91H_GetDPISelect"), call("ui_90H_GetLED8StageColor", 1), call("ui_8DH_GetRGBLedEffect"),
                call("ui_81H_GetReportRate"), call("getCursorSpeed"), call("getDoubleClickSpeed"),
                call("getVerticalScrollLines")])
    }
    // The stage colours the stand-in answers by default, as [r, g, b] per stage.
    function defaultStageColours() {
        return [[255, 0, 0], [0, 0, 255], [0, 255, 0], [255, 255, 0], [0, 255, 255], [255, 0, 255]]
    }
    // The 24-element colour table with `rgb` at `stage` (0 to 5).
    function colourTable(stage, rgb) {
        const colours = defaultStageColours()
        colours[stage] = rgb
        return [].concat(...colours, [0, 0, 0, 0, 0, 0])
    }
    function rgbOf(text) {
        return [1, 3, 5].map(i => parseInt(text.substr(i, 2), 16))
    }

    // The first item at or under `item`, depth first, that `accepts`.
    function findItem(item, accepts) {
        if (accepts(item))
            return item
        const children = item.children
        for (let i = 0; i < children.length; ++i) {
            const found = findItem(children[i], accepts)
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
    // A settings panel by the title on its bar.
    function panel(window, title) {
        return findByName(window, title).parent
    }
    function column(window) {
        return findItem(window, it => it.visibleArea !== undefined && it.contentY !== undefined)
    }
    // Scrolls the right column so that `item` is in view.
    function reveal(window, item) {
        const flick = column(window)
        flick.contentY = Math.min(item.mapToItem(flick.contentItem, 0, 0).y, flick.contentHeight - flick.height)
    }
    function busy(window) {
        return findByName(window, "LOADING ......")
    }

    // A window after its start-up, unlocked, with the stand-ins answering
    // `answers` over their defaults and no call recorded yet.
    function openWindow(test, answers) {
        ui_View.reset()
        ui_Ctl.reset()
        for (const name in answers)
            ui_View.setAnswer(name, answers[name])
        const window = test.createTemporaryObject(windowComponent, root)
        window.initUI()
        window.setProtectUI(0)
        test.tryVerify(() => !busy(window).visible, 1000, "the window stays locked")
        ui_View.calls = []
        return window
    }

    width: 1000
    height: 640

    TestCase {
        id: startUpTest

        name: "WindowStartUp"
        when: windowShown

        function test_component() {
            compare(windowComponent.status, Component.Ready, windowComponent.errorString())
        }

        function test_initUI_data() {
            const groups = type => call("getGlobalStrings", type, "lang_025044")
            return [
                { tag: "English", lang: "English", profile: 0, language: 0, groups: [], strings: englishStrings },
                { tag: "Chinese", lang: "ChineseSimplified", profile: 3, language: 1,
                  groups: [0, 1, 2, 3, 4, 5, 6].map(groups), strings: englishStrings.map((_, i) => "g0_" + i) },
                { tag: "Chinese, short pack", lang: "ChineseSimplified", profile: 1, language: 1,
                  answerGroups: (type, key) => Array.from({ length: 10 }, (_, i) => "g" + type + "_" + i),
                  groups: [0, 1, 2, 3, 4, 5, 6].map(groups),
                  strings: englishStrings.map((text, i) => i < 10 ? "g0_" + i : text) }
            ]
        }
        function test_initUI(row) {
            ui_View.reset()
            ui_View.setAnswer("getLang", row.lang)
            ui_View.setAnswer("getProfile", String(row.profile))
            if (row.answerGroups)
                ui_View.setAnswer("getGlobalStrings", row.answerGroups)
            const window = createTemporaryObject(windowComponent, root)
            window.initUI()

            compare(json(ui_View.calls), json([call("setEnabled", false), call("getLang"), call("getProfile"),
                                    call("ui_02H_SetCurrentProfile", row.profile)].concat(row.groups,
                                    [call("getNameList", 2)], panelReads(), [call("getNameList", 0)],
                                    [call("getNameList", 1), call("getselectGun")])))
            compare(window.language, row.language)
            compare(window.currentProfile, row.profile)
            compare(window.mainLang, row.strings)
            if (!row.language)
                compare([window.mainLang[8], window.mainLang[16], window.mainLang[27]],
                        ["Finger \nTapping", "Scrol one Screen", "Reset Factroy Setting"])
            // The panels show the strings: the DPI panel's title bar carries text 3.
            compare(panel(window, row.strings[3]).title, row.strings[3])
        }

        function test_splashUntilFirstUnlock() {
            ui_View.reset()
            const window = createTemporaryObject(windowComponent, root)
            const splash = findItem(window, it => String(it.source) === String(window.sourcePowerOn))
            const mainScreen = ["Axis Sensitivity", "DPI Setting", "Scroll the settings", "Reset", "Help",
                                "Top View"].map(name => findByName(window, name))
            verify(splash.visible)
            verify(!busy(window).visible)
            window.initUI()
            verify(busy(window).visible)
            wait(300)
            verify(splash.visible)
            verify(mainScreen.every(item => !item.visible))
            compare(ui_View.callsNamed("setEnabled"), [call("setEnabled", false)])

            tryVerify(() => !busy(window).visible, 2000)
            verify(!splash.visible)
            verify(mainScreen.every(item => item.visible))
            compare(ui_View.calls[ui_View.calls.length - 1], call("setEnabled", true))

            // Later locks keep the main screen.
            window.setProtectUI(1000)
            verify(busy(window).visible)
            verify(!splash.visible)
            verify(mainScreen.every(item => item.visible))
        }

        function test_zeroReleasesOnNextTurn() {
            const window = openWindow(startUpTest, {})
            window.setProtectUI(0)
            verify(busy(window).visible)
            compare(json(ui_View.calls), json([call("setEnabled", false)]))
            wait(0)
            verify(!busy(window).visible)
            compare(json(ui_View.calls), json([call("setEnabled", false), call("setEnabled", true)]))
        }

        function test_secondLockRestarts_data() {
            return [
                { tag: "300 then 1500", first: 300, gap: 100, second: 1500 },
                { tag: "0 then 1000", first: 0, gap: 0, second: 1000 }
            ]
        }
        function test_secondLockRestarts(row) {
            const window = openWindow(startUpTest, {})
            window.setProtectUI(row.first)
            if (row.gap)
                wait(row.gap)
            const start = Date.now()
            window.setProtectUI(row.second)
            // Past the end of the first interval, still locked.
            wait(row.first - row.gap + 150)
            verify(busy(window).visible)
            compare(json(ui_View.calls), json([call("setEnabled", false), call("setEnabled", false)]))

            tryVerify(() => !busy(window).visible, 3000)
            verify(Date.now() - start >= row.second - 20, "released after " + (Date.now() - start) + " ms")
            compare(json(ui_View.calls),
                    json([call("setEnabled", false), call("setEnabled", false), call("setEnabled", true)]))
        }

        function test_busyPulsesOnlyWhileBusy() {
            const window = openWindow(startUpTest, {})
            const indicator = busy(window)
            window.setProtectUI(2000)
            const before = indicator.opacity
            wait(150)
            verify(indicator.opacity !== before, "no pulse while busy")

            window.setProtectUI(0)
            tryVerify(() => !indicator.visible)
            const idle = indicator.opacity
            wait(200)
            compare(indicator.opacity, idle)
        }
    }

    TestCase {
        id: panelsTest

        name: "WindowPanels"
        when: windowShown

        function test_dpiSlider_data() {
            const codes = [7, 15, 23, 31, 47, 0x5e, 0x80, 0x80]
            const values = [800, 1600, 2400, 3200, 4800, 6000, 250, 250]
            const row = (tag, stage, y, value, code, from) => {
                const c = codes.slice(), v = values.slice()
                c[stage] = code
                v[stage] = value
                return { tag: tag, stage: stage, from: from === undefined ? y : from, y: y, codes: c, values: v }
            }
            return [row("stage 1 top edge", 0, 0, 6000, 0x5e), row("stage 1 bottom edge", 0, 153, 200, 0x01),
                    row("stage 3 at 5000", 2, 26, 5000, 49), row("stage 6 at 5100", 5, 23, 5100, 0x59),
                    row("stage 2 dragged above its top", 1, -30, 6000, 0x5e, 120),
                    row("stage 4 dragged below its bottom", 3, 170, 200, 0x01, 10)]
        }
        function test_dpiSlider(row) {
            const window = openWindow(panelsTest, {})
            const slider = findByName(window, "DPI stage " + (row.stage + 1))
            mousePress(slider, 12, row.from)
            mouseMove(slider, 12, row.y, -1, Qt.LeftButton)
            compare(json(ui_View.calls), json([]))
            mouseRelease(slider, 12, row.y)
            compare(json(ui_View.calls), json([call("ui_11H_SetDPISet", 6, row.codes, row.values)]))
        }

        function test_dpiToggleOff_data() {
            return [1, 4, 6].map(stage => ({ tag: "stage " + stage, stage: stage }))
        }
        function test_dpiToggleOff(row) {
            const window = openWindow(panelsTest, {})
            const toggle = findByName(window, "DPI stage " + row.stage + " in use")
            mouseClick(toggle)
            const inUse = [1, 1, 1, 1, 1, 1, 0, 0]
            const codes = [7, 15, 23, 31, 47, 0x5e, 0x80, 0x80]
            inUse[row.stage - 1] = 0
            codes[row.stage - 1] = 0x80
            compare(json(ui_View.calls), json([call("ui_11H_SetDPISelect", inUse),
                                    call("ui_11H_SetDPISet", 6, codes, [800, 1600, 2400, 3200, 4800, 6000, 250, 250])]))
            verify(!toggle.Accessible.checked)
        }

        function test_colourPreset_data() {
            return [
                { tag: "stage 1", stage: 0, preset: "#00ffff", pickerX: 25, marker: 62 },
                { tag: "stage 2", stage: 1, preset: "#ffff00", pickerX: 61, marker: 19 },
                { tag: "stage 3", stage: 2, preset: "#ff0000", pickerX: 98, marker: -2 },
                { tag: "stage 4", stage: 3, preset: "#0000ff", pickerX: -17, marker: 83 },
                { tag: "stage 5", stage: 4, preset: "#ff00ff", pickerX: 20, marker: 104 },
                { tag: "stage 6", stage: 5, preset: "#00ff00", pickerX: 58, marker: 40 }
            ]
        }
        function test_colourPreset(row) {
            const window = openWindow(panelsTest, {})
            const preset = findByName(window, "Colour " + row.preset)
            const hue = findByName(window, "Hue")
            verify(!preset.visible)
            mouseClick(findByName(window, "DPI stage " + (row.stage + 1) + " colour"))
            verify(preset.visible)
            compare(hue.parent.mapToItem(window, 0, 0), Qt.point(734 + row.pickerX, 284))
            compare(json(ui_View.calls), json([]))

            mouseClick(preset)
            const table = colourTable(row.stage, rgbOf(row.preset))
            compare(json(ui_View.calls), json([call("ui_10H_SetLED8StageColor", 1, table),
                                    call("ui_10H_SetLED8StageColor", 1, table)]))
            compare(hue.value, row.marker)
        }

        function test_hueBar_data() {
            return [
                { tag: "start", x: 1, marker: -2, colour: "#ff0000" },
                { tag: "segment 1", x: 30, marker: 27, colour: "#9eff00" },
                { tag: "segment 2", x: 50, marker: 47, colour: "#00ff55" },
                { tag: "last pixel", x: 127, marker: 124, colour: "#ff0000" },
                { tag: "dragged past the end", x: 10, dragTo: 180, marker: 125, colour: "#ff0000" },
                { tag: "dragged before the start", x: 90, dragTo: -80, marker: -2, colour: "#ff0000" },
                { tag: "dragged into segment 4", x: 10, dragTo: 90, marker: 87, colour: "#3c00ff" }
            ]
        }
        function test_hueBar(row) {
            const window = openWindow(panelsTest, {})
            mouseClick(findByName(window, "DPI stage 2 colour"))
            const hue = findByName(window, "Hue")
            const to = row.dragTo === undefined ? row.x : row.dragTo
            mousePress(hue, row.x, 5)
            mouseMove(hue, to, 5, -1, Qt.LeftButton)
            compare(json(ui_View.calls), json([]))
            mouseRelease(hue, to, 5)
            compare(hue.value, row.marker)
            const table = colourTable(1, rgbOf(row.colour))
            compare(json(ui_View.calls), json([call("ui_10H_SetLED8StageColor", 1, table),
                                    call("ui_10H_SetLED8StageColor", 1, table)]))
        }

        function test_lighting_data() {
            return [
                { tag: "Static at 0 is off", stored: [1, 0, 2], clicks: [["Static"]],
                  sent: [[0, 0, 0, [1, 0, 2]]] },
                { tag: "Breath at 4", stored: [2, 0, 2], clicks: [["Breath speed", 140]],
                  sent: [[2, 1, 2, [2, 4, 2]]] },
                { tag: "Breath at 0", stored: [3, 4, 2], clicks: [["Breath"], ["Breath speed", 10]],
                  sent: [[2, 1, 2, [2, 4, 2]], [2, 5, 2, [2, 0, 2]]] },
                { tag: "RGB at 1", stored: [3, 4, 2], clicks: [["RGB speed", 50]], sent: [[3, 12, 2, [3, 1, 2]]] },
                { tag: "unknown mode is Finger Tapping", stored: [9], clicks: [["Finger Tapping speed", 100]],
                  sent: [[4, 24, 2, [4, 3, 2]]] },
                { tag: "sliders of other modes", stored: [3, 4, 2],
                  clicks: [["Static speed", 10], ["Breath speed", 10], ["Finger Tapping speed", 10]], sent: [] }
            ]
        }
        function test_lighting(row) {
            const window = openWindow(panelsTest, { ui_8DH_GetRGBLedEffect: row.stored })
            for (const [name, x] of row.clicks) {
                const item = findByName(window, name)
                if (x === undefined)
                    mouseClick(item)
                else
                    mouseClick(item, x, 10)
            }
            compare(json(ui_View.calls), json(row.sent.map(args => call("ui_0DH_SetRGBLedEffect", ...args))))
        }

        function test_lightingStaticOffReloads() {
            const window = openWindow(panelsTest, { ui_8DH_GetRGBLedEffect: [1, 0, 2] })
            verify(findByName(window, "Static").Accessible.checked)
            compare(findByName(window, "Static speed").position, 0)
        }

        function test_reportRateStored_data() {
            return [
                { tag: "16 is 8", stored: 16, value: 8, sent: [8] },
                { tag: "0 shows 8", stored: 0, value: 0, sent: [0] },
                { tag: "2", stored: 2, value: 2, sent: [2] },
                { tag: "1 as shown", stored: 1, value: 1, sent: [] }
            ]
        }
        function test_reportRateStored(row) {
            ui_View.reset()
            ui_View.setAnswer("ui_81H_GetReportRate", row.stored)
            const window = createTemporaryObject(windowComponent, root)
            window.initUI()
            const page = panel(window, "Polling Rate")
            compare(page.reportValue, row.value)
            compare(ui_View.callsNamed("ui_01H_SetReportRate"), row.sent.map(v => call("ui_01H_SetReportRate", v)))
            const calls = ui_View.calls.map(c => c.name)
            if (row.sent.length)
                compare(calls.indexOf("ui_01H_SetReportRate"), calls.indexOf("ui_81H_GetReportRate") + 1)
            const picture = findItem(page, it => String(it.source).indexOf("rate_") >= 0)
            verify(String(picture.source).endsWith("rate_" + (row.value || 8) + "_en.svg"), picture.source)
        }

        function test_reportRateQuarters() {
            const window = openWindow(panelsTest, { ui_81H_GetReportRate: 16 })
            const page = panel(window, "Polling Rate")
            reveal(window, page)
            for (const name of ["1000 Hz", "500 Hz", "250 Hz", "125 Hz", "125 Hz"])
                mouseClick(findByName(window, name))
            const disc = findByName(window, "1000 Hz").parent
            mousePress(disc, 31, 93)
            mouseMove(disc, 93, 93, -1, Qt.LeftButton)
            mouseMove(disc, 93, 31, -1, Qt.LeftButton)
            mouseRelease(disc, 93, 31)
            compare(json(ui_View.calls), json([1, 2, 4, 8, 4, 2, 1].map(v => call("ui_01H_SetReportRate", v))))
            ui_View.calls = []
            page.init(true)
            compare(json(ui_View.calls), json([call("ui_81H_GetReportRate"), call("ui_01H_SetReportRate", 8)]))
            page.init(true)
            compare(json(ui_View.calls.slice(2)), json([call("ui_81H_GetReportRate"), call("ui_01H_SetReportRate", 8)]))
        }

        function test_dial_data() {
            // Points of the 160 by 84 dial, whose pivot is at (80, 70).
            const points = [["right below the pivot", 120, 80, 11], ["left below the pivot", 40, 80, 0],
                            ["straight up", 80, 10, 6], ["45 degrees", 40, 30, 3]]
            const rows = []
            for (const [dial, setter] of [["Cursor speed", "setCursorSpeed"],
                                          ["Double-click speed", "setDoubleClickSpeed"]]) {
                for (const [where, x, y, value] of points)
                    rows.push({ tag: dial + ", " + where, dial: dial, setter: setter, x: x, y: y, value: value })
            }
            return rows
        }
        function test_dial(row) {
            const window = openWindow(panelsTest, {})
            const dial = findByName(window, row.dial)
            reveal(window, dial.parent)
            mousePress(dial, 150, 20)
            mouseMove(dial, row.x, row.y, -1, Qt.LeftButton)
            compare(dial.value, row.value)
            compare(json(ui_View.calls), json([]))
            mouseRelease(dial, row.x, row.y)
            compare(json(ui_View.calls), json([call(row.setter, row.value)]))
        }

        function test_scrollButtons_data() {
            return [
                { tag: "plus stops at 100", stored: 99, clicks: ["More lines", "More lines"], field: "100",
                  sent: [100, 100] },
                { tag: "minus stops at 1", stored: 2, clicks: ["Fewer lines", "Fewer lines"], field: "1",
                  sent: [1, 1] },
                { tag: "screen option", stored: 3, clicks: ["Scrol one Screen"], field: "3", sent: [1000] },
                { tag: "plus with the screen option", stored: 1000, clicks: ["More lines"], field: "4", sent: [] },
                { tag: "back to lines", stored: 1000, clicks: ["Number of Rows"], field: "3", sent: [3] }
            ]
        }
        function test_scrollButtons(row) {
            const window = openWindow(panelsTest, { getVerticalScrollLines: row.stored })
            reveal(window, panel(window, "Scroll Speed"))
            for (const name of row.clicks)
                mouseClick(findByName(window, name))
            compare(findByName(window, "Scroll lines").text, row.field)
            compare(json(ui_View.calls), json(row.sent.map(v => call("setVerticalScrollLines", v))))
            compare(panel(window, "Scroll Speed").lines, row.sent.length ? row.sent[row.sent.length - 1] : row.stored)
        }

        function test_scrollField_data() {
            return [
                { tag: "emptied", typed: "", leave: "elsewhere", field: "1" },
                { tag: "zero", typed: "0", leave: "elsewhere", field: "1" },
                { tag: "42 and Enter", typed: "42", leave: "enter", field: "42" },
                { tag: "100 and a panel", typed: "100", leave: "panel", field: "100" },
                { tag: "more than three digits", typed: "1234", leave: "elsewhere", field: "100" }
            ]
        }
        function test_scrollField(row) {
            const window = openWindow(panelsTest, {})
            const field = findByName(window, "Scroll lines")
            reveal(window, field.parent)
            mouseClick(field)
            verify(window.isScrollRateFocus)
            keyClick(Qt.Key_End)
            keyClick(Qt.Key_Backspace)
            for (const key of row.typed)
                keyClick(key)
            compare(json(ui_View.calls), json([]))
            if (row.leave === "enter")
                keyClick(Qt.Key_Return)
            else if (row.leave === "panel")
                mouseClick(panel(window, "Scroll Speed"), 200, 120)
            else
                mouseClick(window, 300, 10)     // an empty spot
            verify(!window.isScrollRateFocus)
            compare(field.text, row.field)
            compare(json(ui_View.calls), json([call("setVerticalScrollLines", Number(row.field))]))
        }

        // A press anywhere but in the field ends the editing, before the
        // pressed control acts; a press in the field keeps it.
        function test_scrollFieldLeftByAnyPress_data() {
            return [
                { tag: "help button", press: "Help", after: [] },
                { tag: "mouse view", press: "Side View", after: [] },
                { tag: "screen option", press: "Scrol one Screen", after: [1000] },
                { tag: "plus", press: "More lines", after: [8] },
                { tag: "the field itself", press: "Scroll lines", after: null }
            ]
        }
        function test_scrollFieldLeftByAnyPress(row) {
            const window = openWindow(panelsTest, {})
            const field = findByName(window, "Scroll lines")
            reveal(window, field.parent)
            mouseClick(field)
            keyClick(Qt.Key_End)
            keyClick(Qt.Key_Backspace)
            keyClick("7")
            mouseClick(findByName(window, row.press))
            compare(window.isScrollRateFocus, row.after === null)
            const sent = row.after === null ? [] : [7].concat(row.after)
            compare(json(ui_View.calls), json(sent.map(v => call("setVerticalScrollLines", v))))
        }

        function test_axis_data() {
            return [
                { tag: "X at 10", slider: "X axis", x: 10, xy: [0, 4] },
                { tag: "X at 51", slider: "X axis", x: 51, xy: [1, 4] },
                { tag: "X at 52", slider: "X axis", x: 52, xy: [2, 4] },
                { tag: "Y at the end", slider: "Y axis", x: 219, xy: [4, 9] },
                { tag: "Y dragged", slider: "Y axis", x: 10, dragTo: 150, xy: [4, 6] },
                { tag: "X on its position", slider: "X axis", x: 100, xy: null }
            ]
        }
        function test_axis(row) {
            const window = openWindow(panelsTest, {})
            const slider = findByName(window, row.slider)
            mousePress(slider, row.x, 10)
            const to = row.dragTo === undefined ? row.x : row.dragTo
            mouseMove(slider, to, 10, -1, Qt.LeftButton)
            compare(json(ui_View.calls), json([]))
            mouseRelease(slider, to, 10)
            compare(json(ui_View.calls), json(row.xy === null ? [] : [
                call("setXYSensitive", 0, row.xy[0]), call("setXYSensitive", 1, row.xy[1]),
                call("ui_0EH_SetXYSensitive", (row.xy[0] + 1) * 20, (row.xy[1] + 1) * 20)]))
        }

        // What each panel's init(true) reads and sends with `otherProfile` stored.
        function test_initTrue_data() {
            const stored = Array.from({ length: 16 }, (_, i) => i === 1 ? [9, 0, 3, 0] : ui_View.defaultEntry(i))
            return [
                { tag: "Button Assignment", calls: keyMatrixReads({ 1: 2 }).concat(keyMatrixSends(stored)) },
                { tag: "Axis Sensitivity", calls: [call("getXYSensitive", 0), call("getXYSensitive", 1),
                                                   call("ui_0EH_SetXYSensitive", 60, 160)] },
                { tag: "DPI Setting", calls: [
                    call("ui_91H_GetDPISet"), call("ui_91H_GetDPISelect"), call("ui_90H_GetLED8StageColor", 1),
                    call("ui_11H_SetDPISelect", [1, 0, 1, 1, 1, 1, 0, 0]),
                    call("ui_11H_SetDPISet", 6, [3, 0x80, 0x59, 0x5e, 1, 9, 0x80, 0x80],
                         [400, 5000, 5100, 6000, 200, 1000, 250, 250]),
                    call("ui_10H_SetLED8StageColor", 1, otherProfile.ui_90H_GetLED8StageColor)] },
                { tag: "Lighting", calls: [call("ui_8DH_GetRGBLedEffect"),
                                           call("ui_0DH_SetRGBLedEffect", 2, 4, 2, [2, 1, 2])] },
                { tag: "Polling Rate", calls: [call("ui_81H_GetReportRate"), call("ui_01H_SetReportRate", 4)] },
                { tag: "Mouse Speed", calls: [call("getCursorSpeed"), call("setCursorSpeed", 7)] },
                { tag: "Double-Click Speed", calls: [call("getDoubleClickSpeed"), call("setDoubleClickSpeed", 2)] },
                { tag: "Scroll Speed", calls: [call("getVerticalScrollLines"), call("setVerticalScrollLines", 1000)] }
            ]
        }
        function test_initTrue(row) {
            const window = openWindow(panelsTest, {})
            for (const name in otherProfile)
                ui_View.setAnswer(name, otherProfile[name])
            panel(window, row.tag).init(true)
            compare(json(ui_View.calls), json(row.calls))
        }

        function test_columnFrozenWhileSliderPressed_data() {
            return [
                { tag: "free", press: "" },
                { tag: "DPI slider", press: "DPI stage 1" },
                { tag: "lighting slider", press: "RGB speed" },
                { tag: "cursor dial", press: "Cursor speed" }
            ]
        }
        function test_columnFrozenWhileSliderPressed(row) {
            const window = openWindow(panelsTest, {})
            const flick = column(window)
            const pressed = row.press ? findByName(window, row.press) : null
            if (pressed) {
                reveal(window, pressed)
                mousePress(pressed, 10, 10)
            }
            else
                flick.contentY = 200
            const before = flick.contentY
            mouseWheel(flick, 120, 100, 0, 240)
            if (pressed) {
                wait(300)
                compare(flick.contentY, before)
                verify(!flick.interactive)
                mouseRelease(pressed, 10, 10)
            } else {
                tryVerify(() => flick.contentY < before, 1000, "the wheel does not scroll the column")
            }
            verify(flick.interactive)
        }

        function test_scrollBar_data() {
            return [
                { tag: "above the top", startY: 50, dy: -60 },
                { tag: "far down", startY: 0, dy: 550 }
            ]
        }
        function test_scrollBar(row) {
            const window = openWindow(panelsTest, {})
            const flick = column(window)
            const bar = findByName(window, "Scroll the settings")
            flick.contentY = row.startY
            const at = bar.mapToItem(window, 4, 5)
            mousePress(window, at.x, at.y)
            mouseMove(window, at.x, at.y + row.dy / 2, -1, Qt.LeftButton)
            mouseMove(window, at.x, at.y + row.dy, -1, Qt.LeftButton)
            mouseRelease(window, at.x, at.y + row.dy)
            const end = flick.contentHeight - flick.height
            verify(end > 0)
            compare(flick.contentY, row.dy < 0 ? 0 : end)
            if (row.dy > 0)
                compare(Math.round(bar.y + bar.height), 563)
            compare(json(ui_View.calls), json([]))
        }

        function test_collapse_data() {
            return [["Axis Sensitivity", 108], ["DPI Setting", 233], ["Lighting", 149], ["Polling Rate", 146],
                    ["Mouse Speed", 128], ["Double-Click Speed", 128], ["Scroll Speed", 128]]
                .map(([title, body]) => ({ tag: title, body: body }))
        }
        function test_collapse(row) {
            const window = openWindow(panelsTest, {})
            const page = panel(window, row.tag)
            reveal(window, page)
            compare(page.height, 18 + row.body)
            mouseClick(findByName(window, row.tag))
            verify(page.height > 18, "collapsed without the animation")
            tryCompare(page, "height", 18)
            const flick = column(window)
            verify(flick.contentY <= Math.max(0, flick.contentHeight - flick.height), "the column shows past its end")
            mouseClick(findByName(window, row.tag))
            tryCompare(page, "height", 18 + row.body)
            compare(json(ui_View.calls), json([]))
        }
    }

    TestCase {
        id: shellTest

        name: "WindowShell"
        when: windowShown

        // A button of the factory-reset box (other dialogs have an OK too).
        function resetButton(window, caption) {
            return findByName(findItem(window, it => String(it.source) === String(window.sourceDialog)), caption)
        }
        function mask(window) {
            return findItem(window, it => String(it.color) === "#90000000")
        }

        function test_resetBox_data() {
            return [
                { tag: "Cancel", button: "Cancel", locked: false, calls: () => [] },
                { tag: "OK", button: "OK", locked: true,
                  calls: () => [call("setEnabled", false), call("resetProfile", 2), call("getselectGun")]
                      .concat(...panelsTest.test_initTrue_data().map(page => page.calls),
                              [call("setSelectGun", [0, 1, 2]), call("uploadGunData", ["", "", ""])]) }
            ]
        }
        function test_resetBox(row) {
            const window = openWindow(shellTest, { getProfile: 2 })
            const ok = resetButton(window, "OK")
            verify(!ok.visible)
            verify(!mask(window).visible)
            mouseClick(findByName(window, "Reset"))
            verify(ok.visible)
            verify(mask(window).visible)
            compare(json(ui_View.calls), json([]))

            for (const name in otherProfile)
                ui_View.setAnswer(name, otherProfile[name])
            mouseClick(resetButton(window, row.button))
            verify(!ok.visible)
            verify(!mask(window).visible)
            compare(busy(window).visible, row.locked)
            compare(json(ui_View.calls), json(row.calls()))
        }

        function test_resetBoxStaysInside_data() {
            return [
                { tag: "up and left", dx: -500, dy: -300, x: 0, y: 0 },
                { tag: "down and right", dx: 500, dy: 400, x: 680, y: 480 },
                { tag: "a little", dx: -40, dy: 30, x: 300, y: 270 }
            ]
        }
        function test_resetBoxStaysInside(row) {
            const window = openWindow(shellTest, {})
            mouseClick(findByName(window, "Reset"))
            const box = resetButton(window, "OK").parent.parent
            compare(Qt.point(box.x, box.y), Qt.point(340, 240))
            const at = box.mapToItem(window, 160, 15)   // the title bar
            // The drag starts where the pointer passes the drag threshold; it
            // moves the box by the distance from there.
            const start = Qt.point(at.x, at.y + 20)
            mousePress(window, at.x, at.y)
            mouseMove(window, start.x, start.y, -1, Qt.LeftButton)
            mouseMove(window, start.x + row.dx / 2, start.y + row.dy / 2, -1, Qt.LeftButton)
            mouseMove(window, start.x + row.dx, start.y + row.dy, -1, Qt.LeftButton)
            mouseRelease(window, start.x + row.dx, start.y + row.dy)
            compare(Qt.point(box.x, box.y), Qt.point(row.x, row.y))
            verify(box.visible)
            compare(json(ui_View.calls), json([]))
        }

        function test_mouseViews_data() {
            return [
                { tag: "side", clicks: ["Side View"], side: true, overlay: Qt.point(376, 213) },
                { tag: "side and back", clicks: ["Side View", "Top View"], side: false, overlay: Qt.point(354, 80) },
                { tag: "top again", clicks: ["Top View"], side: false, overlay: Qt.point(354, 80) }
            ]
        }
        function test_mouseViews(row) {
            const window = openWindow(shellTest, {})
            for (const name of row.clicks)
                mouseClick(findByName(window, name))
            compare(findByName(window, "Side View").Accessible.checked, row.side)
            compare(findByName(window, "Top View").Accessible.checked, !row.side)
            const overlay = findItem(window, it => /\/(top|side)_0\.svg$/.test(String(it.source)))
            verify(String(overlay.source).indexOf(row.side ? "side_0" : "top_0") >= 0, overlay.source)
            compare(Qt.point(overlay.x, overlay.y), row.overlay)
            compare(json(ui_View.calls), json([]))
        }

        function test_windowButtons_data() {
            return [
                { tag: "help", clicks: ["Help"], view: [], ctl: [], menuOpen: true },
                { tag: "help, update", clicks: ["Help", "update"], view: ["openUpdateExe"], ctl: [], menuOpen: false },
                { tag: "help, version", clicks: ["Help", "verison:1.0"], view: [], ctl: [], menuOpen: false },
                { tag: "help twice", clicks: ["Help", "Help"], view: [], ctl: [], menuOpen: false },
                { tag: "minimise", clicks: ["Minimize"], view: [], ctl: ["onMinimize"], menuOpen: false },
                { tag: "close", clicks: ["Close"], view: [], ctl: ["onClose"], menuOpen: false }
            ]
        }
        function test_windowButtons(row) {
            const window = openWindow(shellTest, {})
            for (const name of row.clicks)
                mouseClick(findByName(window, name))
            compare(json(ui_View.calls), json(row.view.map(name => call(name))))
            compare(json(ui_Ctl.calls), json(row.ctl.map(name => call(name))))
            compare(findByName(window, "update").visible, row.menuOpen)
        }

        SignalSpy {
            id: inputSpy
        }

        // The back end's input notifications reach the pages as signals of the window.
        function test_inputNotifications_data() {
            return [
                { tag: "key down", signal: "msg_KB", notify: w => w.detectKeyboard(true, 0x04), args: [true, 0x04] },
                { tag: "key up", signal: "msg_KB", notify: w => w.detectKeyboard(false, 0xe1), args: [false, 0xe1] },
                { tag: "mouse", signal: "msg_MS", notify: w => w.detectMouse(true, 2, 10, -20),
                  args: [true, 2, 10, -20] }
            ]
        }
        function test_inputNotifications(row) {
            const window = openWindow(shellTest, {})
            inputSpy.clear()
            inputSpy.target = window
            inputSpy.signalName = row.signal
            row.notify(window)
            window.run()
            compare(inputSpy.count, 1)
            compare(Array.from(inputSpy.signalArguments[0]), row.args)
            compare(json(ui_View.calls), json([]))
            compare(json(ui_Ctl.calls), json([]))
        }

        SignalSpy {
            id: emptyAreaSpy

            signalName: "emptyAreaPressed"
        }

        function test_dragArea_data() {
            return [
                { tag: "empty area", opens: ["DPI stage 1 colour", "Help"], emptyArea: 1, stayOpen: "" },
                { tag: "mask", opens: ["Reset"], emptyArea: 0, stayOpen: "OK" }
            ]
        }
        function test_dragArea(row) {
            const window = openWindow(shellTest, {})
            emptyAreaSpy.clear()
            emptyAreaSpy.target = window
            for (const name of row.opens)
                mouseClick(findByName(window, name))
            // The colour picker and the help menu close on a press on the empty area.
            const popUps = [findByName(window, "Hue"), findByName(window, "update")]
            compare(popUps.map(item => item.visible), [row.emptyArea > 0, row.emptyArea > 0])

            mousePress(window, 300, 10)
            compare(emptyAreaSpy.count, row.emptyArea)
            compare(popUps.map(item => item.visible), [false, false])
            if (row.stayOpen)
                verify(resetButton(window, row.stayOpen).visible)
            compare(json(ui_Ctl.calls), json([]))
            mouseMove(window, 310, 25, -1, Qt.LeftButton)
            mouseMove(window, 290, 5, -1, Qt.LeftButton)
            mouseRelease(window, 290, 5)
            compare(json(ui_Ctl.calls), json([call("onXChanged", 10), call("onYChanged", 15),
                                   call("onXChanged", -10), call("onYChanged", -5)]))
            compare(json(ui_View.calls), json([]))
        }
    }
}
