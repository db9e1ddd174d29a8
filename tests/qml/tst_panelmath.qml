// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtTest
import "qrc:/modules/qml/Q3/PanelMath.js" as PanelMath

// The value rules of the settings panels, row by row, from the compiled-in script.
Item {
    // Rows for the pointer just before and at every threshold of a slider.
    function boundaryRows(thresholds) {
        let rows = []
        thresholds.forEach((t, i) => {
            rows.push({ tag: (t - 1) + "", x: t - 1, position: i })
            rows.push({ tag: t + "", x: t, position: i + 1 })
        })
        return rows
    }

    TestCase {
        name: "Constants"

        function test_constants() {
            compare(PanelMath.xyThresholds, [30, 52, 74, 95, 116, 137, 159, 180, 200])
            compare(PanelMath.lightThresholds, [34, 63, 93, 122])
            compare(PanelMath.dpiTravel, 154)
            compare(PanelMath.presetColours, ["#ff0000", "#0000ff", "#00ff00", "#ffff00", "#00ffff", "#ff00ff"])
            compare([PanelMath.scrollScreen, PanelMath.scrollMin, PanelMath.scrollMax], [1000, 1, 100])
            compare(PanelMath.columnHeight, 563)
        }
    }

    TestCase {
        name: "Sliders"

        function test_axisPosition_data() {
            return boundaryRows([30, 52, 74, 95, 116, 137, 159, 180, 200])
                .concat([{ tag: "left of the slider", x: -5, position: 0 }, { tag: "far right", x: 241, position: 9 }])
        }
        function test_axisPosition(row) {
            compare(PanelMath.axisPosition(row.x), row.position)
        }

        function test_lightPosition_data() {
            return boundaryRows([34, 63, 93, 122]).concat([{ tag: "0", x: 0, position: 0 }])
        }
        function test_lightPosition(row) {
            compare(PanelMath.lightPosition(row.x), row.position)
        }

        function test_axisPositionFromStored_data() {
            return [
                { tag: "text 0", value: "0", position: 0 }, { tag: "number 0", value: 0, position: 0 },
                { tag: "text 5", value: "5", position: 5 }, { tag: "text 8", value: "8", position: 8 },
                { tag: "number 8", value: 8, position: 8 }, { tag: "text 9", value: "9", position: 9 },
                { tag: "empty", value: "", position: 9 }, { tag: "undefined", value: undefined, position: 9 },
                { tag: "12", value: 12, position: 9 }, { tag: "text 12", value: "12", position: 9 },
                { tag: "x", value: "x", position: 9 }, { tag: "3.5", value: 3.5, position: 9 },
                { tag: "03", value: "03", position: 9 }, { tag: "null", value: null, position: 9 }
            ]
        }
        function test_axisPositionFromStored(row) {
            compare(PanelMath.axisPositionFromStored(row.value), row.position)
        }

        function test_axisDeviceValue_data() {
            return [{ tag: "0", position: 0, value: 20 }, { tag: "4", position: 4, value: 100 },
                    { tag: "9", position: 9, value: 200 }]
        }
        function test_axisDeviceValue(row) {
            compare(PanelMath.axisDeviceValue(row.position), row.value)
        }
    }

    TestCase {
        name: "Dpi"

        function test_dpiFromHeight_data() {
            return [
                { tag: "top", h: 154, dpi: 6000 }, { tag: "above the top", h: 200, dpi: 6000 },
                { tag: "bottom", h: 0, dpi: 200 }, { tag: "below the bottom", h: -5, dpi: 200 },
                { tag: "one pixel", h: 1, dpi: 200 }, { tag: "middle", h: 77, dpi: 3100 },
                { tag: "just under 300", h: 2.65, dpi: 200 }, { tag: "just over 300", h: 2.66, dpi: 300 }
            ]
        }
        function test_dpiFromHeight(row) {
            compare(PanelMath.dpiFromHeight(row.h), row.dpi)
        }

        function test_dpiHeightFromValue_data() {
            return [{ tag: "200", v: 200, h: 0 }, { tag: "3100", v: 3100, h: 77 }, { tag: "6000", v: 6000, h: 154 },
                    { tag: "100, not clamped", v: 100, h: -100 * 154 / 5800 }]
        }
        function test_dpiHeightFromValue(row) {
            fuzzyCompare(PanelMath.dpiHeightFromValue(row.v), row.h, 1e-9)
        }

        // A loaded value placed on the slider reads back as the same value.
        function test_roundTrip_data() {
            let rows = []
            for (let v = 200; v <= 6000; v += 100)
                rows.push({ tag: v + "", v: v })
            return rows
        }
        function test_roundTrip(row) {
            compare(PanelMath.dpiFromHeight(PanelMath.dpiHeightFromValue(row.v)), row.v)
        }

        function test_dpiCode_data() {
            return [
                { tag: "200", v: 200, inUse: true, stage: 0, code: 0x01 },
                { tag: "5000", v: 5000, inUse: true, stage: 1, code: 0x31 },
                { tag: "5100", v: 5100, inUse: true, stage: 2, code: 0x59 },
                { tag: "5200", v: 5200, inUse: true, stage: 3, code: 0x5a },
                { tag: "6000", v: 6000, inUse: true, stage: 5, code: 0x5e },
                { tag: "toggle off", v: 3200, inUse: false, stage: 2, code: 0x80 },
                { tag: "stage 7", v: 800, inUse: true, stage: 6, code: 0x80 },
                { tag: "stage 8", v: 250, inUse: true, stage: 7, code: 0x80 }
            ]
        }
        function test_dpiCode(row) {
            compare(PanelMath.dpiCode(row.v, row.inUse, row.stage), row.code)
        }

        function test_lists() {
            const values = [800, 1600, 2400, 3200, 4800, 6000]
            const inUse = [true, true, false, true, 1, 0]
            compare(PanelMath.dpiValueList(values), [800, 1600, 2400, 3200, 4800, 6000, 250, 250])
            compare(PanelMath.dpiSelectList(inUse), [1, 1, 0, 1, 1, 0, 0, 0])
            compare(PanelMath.dpiCodeList(values, inUse), [7, 15, 0x80, 31, 47, 0x80, 0x80, 0x80])
        }
    }

    TestCase {
        name: "Colours"

        readonly property var defaultTable: [255, 0, 0, 0, 0, 255, 0, 255, 0, 255, 255, 0, 0, 255, 255, 255, 0, 255,
                                             0, 0, 0, 0, 0, 0]
        // Marker at the start of hue segment k (red, yellow, green, cyan, blue, magenta).
        function segmentStart(k) {
            return Math.trunc(k * 128 / 6 - 2)
        }

        function test_hex2_data() {
            return [{ tag: "0", n: 0, hex: "00" }, { tag: "15", n: 15, hex: "0f" }, { tag: "16", n: 16, hex: "10" },
                    { tag: "255", n: 255, hex: "ff" }, { tag: "256", n: 256, hex: "ff" }, { tag: "-1", n: -1, hex: "00" },
                    { tag: "12.7", n: 12.7, hex: "0c" }]
        }
        function test_hex2(row) {
            compare(PanelMath.hex2(row.n), row.hex)
        }

        function test_stageColours_data() {
            const black = "#000000"
            return [
                { tag: "defaults", list: defaultTable, colours: PanelMath.presetColours },
                { tag: "short", list: [1, 2], colours: ["#010200", black, black, black, black, black] },
                { tag: "damaged", list: ["a", 16, null, 255, 255, 255],
                  colours: ["#001000", "#ffffff", black, black, black, black] },
                { tag: "missing", list: undefined, colours: [black, black, black, black, black, black] }
            ]
        }
        function test_stageColours(row) {
            compare(PanelMath.stageColours(row.list), row.colours)
        }

        function test_rgbOf_data() {
            return [{ tag: "lower", text: "#ff0080", rgb: [255, 0, 128] }, { tag: "upper", text: "#FF00AA", rgb: [255, 0, 170] },
                    { tag: "no hash", text: "ff0080", rgb: [0, 0, 0] }, { tag: "short", text: "#ff008", rgb: [0, 0, 0] },
                    { tag: "not hex", text: "#gg0000", rgb: [0, 0, 0] }, { tag: "undefined", text: undefined, rgb: [0, 0, 0] }]
        }
        function test_rgbOf(row) {
            compare(PanelMath.rgbOf(row.text), row.rgb)
        }

        function test_stageColourList() {
            compare(PanelMath.colourText(255, 0, 128), "#ff0080")
            compare(PanelMath.stageColourList(PanelMath.presetColours), defaultTable)
        }

        function test_colourPickerX_data() {
            return [0, 1, 2, 3, 4, 5, -1, 6].map((stage, i) => ({ tag: stage + "", stage: stage,
                                                                  x: [25, 61, 98, -17, 20, 58, 58, 58][i] }))
        }
        function test_colourPickerX(row) {
            compare(PanelMath.colourPickerX(row.stage), row.x)
        }

        function test_hueColour_data() {
            return [{ tag: "-2", p: -2, colour: "#ff0000" }, { tag: "8", p: 8, colour: "#ff7900" },
                    { tag: "19", p: 19, colour: "#ffff00" }, { tag: "40", p: 40, colour: "#00ff00" },
                    { tag: "123", p: 123, colour: "#ff000d" }, { tag: "124", p: 124, colour: "#ff0000" },
                    { tag: "125", p: 125, colour: "#ff0000" }]
        }
        function test_hueColour(row) {
            compare(PanelMath.hueColour(row.p), row.colour)
        }

        function test_hueMarker_data() {
            return [{ tag: "red", colour: "#ff0000", marker: segmentStart(0) },
                    { tag: "yellow", colour: "#ffff00", marker: segmentStart(1) },
                    { tag: "green", colour: "#00ff00", marker: segmentStart(2) },
                    { tag: "cyan", colour: "#00ffff", marker: segmentStart(3) },
                    { tag: "blue", colour: "#0000ff", marker: segmentStart(4) },
                    { tag: "magenta", colour: "#ff00ff", marker: segmentStart(5) },
                    { tag: "orange", colour: "#ff8000", marker: 8 },
                    { tag: "grey, off the bar", colour: "#808080", marker: -2 }]
        }
        function test_hueMarker(row) {
            compare(PanelMath.hueMarker(row.colour), row.marker)
        }

        // Placing the marker for a preset and reading the bar back gives the
        // preset within one step of the bar (255/21 per pixel).
        function test_hueRoundTrip_data() {
            return PanelMath.presetColours.map(colour => ({ tag: colour, colour: colour }))
        }
        function test_hueRoundTrip(row) {
            const back = PanelMath.rgbOf(PanelMath.hueColour(PanelMath.hueMarker(row.colour)))
            const wanted = PanelMath.rgbOf(row.colour)
            for (let c = 0; c < 3; ++c)
                verify(Math.abs(back[c] - wanted[c]) <= 12, row.colour + " came back as " + back)
        }
    }

    TestCase {
        name: "Lighting"

        function test_lightLevel_data() {
            return [{ tag: "Static", effect: 1, levels: [0, 2, 4, 6, 10] },
                    { tag: "Breath", effect: 2, levels: [5, 4, 3, 2, 1] },
                    { tag: "RGB", effect: 3, levels: [6, 12, 18, 24, 30] },
                    { tag: "Finger Tapping", effect: 4, levels: [6, 12, 18, 24, 30] },
                    { tag: "unknown 0", effect: 0, levels: [1, 1, 1, 1, 1] },
                    { tag: "unknown 9", effect: 9, levels: [1, 1, 1, 1, 1] }]
        }
        function test_lightLevel(row) {
            compare([0, 1, 2, 3, 4].map(p => PanelMath.lightLevel(row.effect, p)), row.levels)
        }

        function test_lightCall_data() {
            return [
                { tag: "Static 0 is off", effect: 1, position: 0, call: { effect: 0, level: 0, option2: 0, configs: [1, 0, 2] } },
                { tag: "Static 3", effect: 1, position: 3, call: { effect: 1, level: 6, option2: 2, configs: [1, 3, 2] } },
                { tag: "Breath 4", effect: 2, position: 4, call: { effect: 2, level: 1, option2: 2, configs: [2, 4, 2] } },
                { tag: "Breath 0", effect: 2, position: 0, call: { effect: 2, level: 5, option2: 2, configs: [2, 0, 2] } },
                { tag: "RGB 0", effect: 3, position: 0, call: { effect: 3, level: 6, option2: 2, configs: [3, 0, 2] } },
                { tag: "Finger Tapping 2", effect: 4, position: 2, call: { effect: 4, level: 18, option2: 2, configs: [4, 2, 2] } }
            ]
        }
        function test_lightCall(row) {
            compare(PanelMath.lightCall(row.effect, row.position, 2), row.call)
        }

        function test_lightFromStored_data() {
            return [
                { tag: "Static 0", list: [1, 0, 2], effect: 1, position: 0 },
                { tag: "Breath 3", list: [2, 3, 2], effect: 2, position: 3 },
                { tag: "RGB 4", list: [3, 4, 2], effect: 3, position: 4 },
                { tag: "Finger Tapping 1", list: [4, 1, 2], effect: 4, position: 1 },
                { tag: "effect 0", list: [0, 2, 2], effect: 4, position: 2 },
                { tag: "effect 9", list: [9, 2], effect: 4, position: 2 },
                { tag: "empty", list: [], effect: 4, position: 4 },
                { tag: "missing", list: undefined, effect: 4, position: 4 },
                { tag: "no position", list: [1], effect: 1, position: 4 },
                { tag: "position null", list: [2, null], effect: 2, position: 4 },
                { tag: "position 7 kept", list: [1, 7], effect: 1, position: 7 }
            ]
        }
        function test_lightFromStored(row) {
            compare(PanelMath.lightFromStored(row.list), { effect: row.effect, position: row.position })
        }
    }

    TestCase {
        name: "ReportRate"

        function test_reportRateFromStored_data() {
            return [{ tag: "16", v: 16, rate: 8 }, { tag: "9", v: 9, rate: 8 }, { tag: "8", v: 8, rate: 8 },
                    { tag: "4", v: 4, rate: 4 }, { tag: "1", v: 1, rate: 1 }, { tag: "0 kept", v: 0, rate: 0 },
                    { tag: "text 2", v: "2", rate: 2 }, { tag: "undefined", v: undefined, rate: 0 }]
        }
        function test_reportRateFromStored(row) {
            compare(PanelMath.reportRateFromStored(row.v), row.rate)
        }

        function test_reportQuadrant_data() {
            return [{ tag: "top right corner", x: 50, y: 0, value: 1 }, { tag: "top right inner", x: 99, y: 39, value: 1 },
                    { tag: "bottom right", x: 50, y: 40, value: 2 }, { tag: "bottom left inner", x: 49, y: 40, value: 4 },
                    { tag: "bottom left", x: 0, y: 79, value: 4 }, { tag: "top left inner", x: 49, y: 39, value: 8 },
                    { tag: "top left", x: 0, y: 0, value: 8 }]
        }
        function test_reportQuadrant(row) {
            compare(PanelMath.reportQuadrant(row.x, row.y, 100, 80), row.value)
        }

        function test_reportPicture_data() {
            return [1, 2, 4, 8, 0, 3, 16].map(v => ({ tag: v + "", v: v, picture: v === 1 || v === 2 || v === 4 ? v : 8 }))
        }
        function test_reportPicture(row) {
            compare(PanelMath.reportPicture(row.v), row.picture)
        }
    }

    TestCase {
        name: "Dial"

        function test_dial_data() {
            // Pivot at (60, 70).
            return [
                { tag: "right, below the pivot", x: 100, y: 90, angle: 180, value: 11 },
                { tag: "right, at the pivot", x: 100, y: 70, angle: 180, value: 11 },
                { tag: "on the pivot", x: 60, y: 70, angle: 180, value: 11 },
                { tag: "left, at the pivot", x: 20, y: 70, angle: 0, value: 0 },
                { tag: "left, below the pivot", x: 20, y: 100, angle: 0, value: 0 },
                { tag: "left, under one degree", x: 0, y: 69, angle: 0, value: 0 },
                { tag: "left, ten degrees", x: 0, y: 59, angle: 10, value: 1 },
                { tag: "left, steep", x: 59, y: 0, angle: 89, value: 5 },
                { tag: "straight up", x: 60, y: 10, angle: 90, value: 6 },
                { tag: "right, steep", x: 61, y: 0, angle: 90, value: 6 },
                { tag: "right, 179 degrees", x: 160, y: 69, angle: 179, value: 10 }
            ]
        }
        function test_dial(row) {
            compare(PanelMath.dialAngle(row.x, row.y, 60), row.angle)
            compare(PanelMath.dialValue(row.x, row.y, 60), row.value)
        }

        function test_dialPicture_data() {
            return [[11, 10], [10, 10], [5, 5], [0, 0], [-1, 0]].map(r => ({ tag: r[0] + "", value: r[0], picture: r[1] }))
        }
        function test_dialPicture(row) {
            compare(PanelMath.dialPicture(row.value), row.picture)
        }
    }

    TestCase {
        name: "Scroll"

        function test_scrollStep_data() {
            return [{ tag: "plus", text: "3", delta: 1, result: "4" }, { tag: "plus to 100", text: "99", delta: 1, result: "100" },
                    { tag: "plus at 100", text: "100", delta: 1, result: "100" }, { tag: "minus to 1", text: "2", delta: -1, result: "1" },
                    { tag: "minus at 1", text: "1", delta: -1, result: "1" }, { tag: "plus on empty", text: "", delta: 1, result: "2" },
                    { tag: "minus on empty", text: "", delta: -1, result: "1" }, { tag: "plus on junk", text: "ab", delta: 1, result: "2" }]
        }
        function test_scrollStep(row) {
            compare(PanelMath.scrollStep(row.text, row.delta), row.result)
        }

        function test_scrollCommit_data() {
            return [["", "1"], ["0", "1"], ["-3", "1"], ["x", "1"], ["1", "1"], ["42", "42"], ["05", "5"],
                    ["100", "100"], ["101", "100"], ["999", "100"]].map(r => ({ tag: "'" + r[0] + "'", text: r[0], result: r[1] }))
        }
        function test_scrollCommit(row) {
            compare(PanelMath.scrollCommit(row.text), row.result)
        }

        function test_scrollBar() {
            compare(PanelMath.scrollBarY(0), 0)
            compare(PanelMath.scrollBarY(0.5), 281.5)
            compare(PanelMath.scrollBarHeight(0.5), 281.5)
            compare(PanelMath.scrollBarHeight(1.4), 563)
        }

        function test_draggedContentY_data() {
            // A list of 900 pixels in a view of 563: it ends at 337.
            return [{ tag: "above the top", start: 100, drag: -150, content: 900, y: 0 },
                    { tag: "past the end", start: 100, drag: 500, content: 900, y: 337 },
                    { tag: "at the end", start: 337, drag: 10, content: 900, y: 337 },
                    { tag: "inside", start: 100, drag: 50, content: 900, y: 150 },
                    { tag: "short list", start: 0, drag: 100, content: 400, y: 0 }]
        }
        function test_draggedContentY(row) {
            compare(PanelMath.draggedContentY(row.start, row.drag, row.content, 563), row.y)
        }
    }
}
