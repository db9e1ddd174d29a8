// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtTest
import "qrc:/modules/qml/Q3/MacroRules.js" as MacroRules

// The macro list rules, row by row: list order, free names, names refused,
// renumbering on delete, the slot a binding takes, the length check against
// the real page encoder, the delay and loop fields, recording and inserts.
Item {
    id: root

    function keyEvents(count) {
        const events = []
        for (let i = 0; i < count; ++i)
            events.push({ type: i % 2 === 0 ? 1 : 2, info: "A" })
        return events
    }
    function imageOf(events) {
        return ui_View.encodeMacroLines(MacroRules.eventLines(events), 1, false)
    }
    function macroEntry(slot) {
        return [9, 0, slot, 0]
    }
    function matrixWith(slots) {
        const matrix = Array.from({ length: 16 }, () => [1, 0, 0xf0, 0])
        slots.forEach((slot, button) => { if (slot >= 0) matrix[button] = macroEntry(slot) })
        return matrix
    }

    TestCase {
        name: "MacroList"

        function test_shownNames_data() {
            return [
                { tag: "one macro with its filler", names: ["M", "loadermarble"], shown: ["M"] },
                { tag: "two macros", names: ["M", "N"], shown: ["M", "N"] },
                { tag: "filler not second of two", names: ["loadermarble", "M", "N"],
                  shown: ["loadermarble", "M", "N"] },
                { tag: "empty", names: [], shown: [] }
            ]
        }
        function test_shownNames(row) {
            compare(MacroRules.shownNames(row.names), row.shown)
        }

        function test_order_data() {
            return [
                { tag: "by index", entries: [["c", 2], ["a", 0], ["b", 1]], order: ["a", "b", "c"] },
                { tag: "ties in name-list order", entries: [["x", 1], ["y", 0], ["z", 1], ["w", 0]],
                  order: ["y", "w", "x", "z"] },
                { tag: "all equal", entries: [["p", 0], ["q", 0], ["r", 0]], order: ["p", "q", "r"] }
            ]
        }
        function test_order(row) {
            const list = MacroRules.orderedList(row.entries.map(e => ({ name: e[0], index: e[1], type: 0 })))
            compare(MacroRules.namesOf(list), row.order)
        }

        function test_freeName_data() {
            const full = Array.from({ length: 100 }, (_, n) => "Macro_" + n)
            return [
                { tag: "empty library", names: [], name: "Macro_0" },
                { tag: "Macro_0 renamed", names: ["Fire", "Macro_1"], name: "Macro_0" },
                { tag: "gap", names: ["Macro_0", "Macro_2"], name: "Macro_1" },
                { tag: "all taken", names: full, name: "Macro_100" }
            ]
        }
        function test_freeName(row) {
            compare(MacroRules.freeName(row.names), row.name)
        }

        function test_mayCreate() {
            verify(MacroRules.mayCreate(99))
            verify(!MacroRules.mayCreate(100))
        }

        function test_rename_data() {
            return [
                { tag: "free", name: "Jump", problem: "" },
                { tag: "its own name", name: "A", problem: "taken" },
                { tag: "another macro's name", name: "B", problem: "taken" },
                { tag: "empty", name: "", problem: "unsafe" },
                { tag: "blank", name: "  ", problem: "unsafe" },
                { tag: "slash", name: "a/b", problem: "unsafe" },
                { tag: "backslash", name: "a\\b", problem: "unsafe" },
                { tag: "dot dot", name: "..", problem: "unsafe" },
                { tag: "control character", name: "a\tb", problem: "unsafe" },
                { tag: "dot inside", name: "v1.2", problem: "" }
            ]
        }
        function test_rename(row) {
            compare(MacroRules.renameProblem(["A", "B"], row.name), row.problem)
        }

        function test_delete_data() {
            return [
                { tag: "first", p: 0, names: ["b", "c"], nos: [0, 1] },
                { tag: "middle", p: 1, names: ["a", "c"], nos: [0, 1] },
                { tag: "last", p: 2, names: ["a", "b"], nos: [0, 1] }
            ]
        }
        function test_delete(row) {
            const list = MacroRules.orderedList(["a", "b", "c"].map((name, i) => ({ name: name, index: i, type: 0 })))
            const after = MacroRules.listAfterDelete(list, row.p)
            compare(MacroRules.namesOf(after), row.names)
            compare(after.map(e => e.no), row.nos)
            compare(list.length, 3, "the list given is left as it was")
        }
    }

    TestCase {
        name: "MacroSlot"

        function test_slot_data() {
            return [
                { tag: "button holds slot 3", slots: [-1, -1, 3], button: 2, slot: 3 },
                { tag: "nothing used", slots: [], button: 5, slot: 0 },
                { tag: "0 and 1 used", slots: [0, 1], button: 5, slot: 2 },
                { tag: "gap at 1", slots: [0, -1, 2], button: 6, slot: 1 },
                { tag: "five used, sixth button", slots: [0, 1, 2, 3, 4], button: 6, slot: -1 },
                { tag: "five used, own button", slots: [0, 1, 2, 3, 4], button: 4, slot: 4 }
            ]
        }
        function test_slot(row) {
            compare(MacroRules.macroSlot(matrixWith(row.slots), row.button), row.slot)
        }
    }

    TestCase {
        name: "MacroLength"

        // Grows a list of key events until the check refuses: the last
        // accepted addition may take the image past the limit.
        function test_boundary() {
            const events = []
            while (MacroRules.mayAdd(imageOf(events)))
                events.push({ type: events.length % 2 === 0 ? 1 : 2, info: "A" })
            const before = imageOf(events.slice(0, -1)).length
            const after = imageOf(events).length
            verify(before < 126, "the last addition was allowed: " + before)
            verify(after >= 126, "the next is refused: " + after)
        }
        function test_emptyAndDelays() {
            compare(imageOf([]).length, 2)
            compare(imageOf([{ type: 0, info: "50" }, { type: 0, info: "70" }]).length, 2)
            verify(MacroRules.mayAdd(imageOf([])))
        }
        function test_limit_data() {
            return [
                { tag: "125", length: 125, allowed: true },
                { tag: "126", length: 126, allowed: false },
                { tag: "2", length: 2, allowed: true }
            ]
        }
        function test_limit(row) {
            compare(MacroRules.mayAdd(new Array(row.length).fill(0)), row.allowed)
        }
    }

    TestCase {
        name: "MacroFields"

        function test_delay_data() {
            return [
                { tag: "zero", text: "0", info: "0" },
                { tag: "upper end", text: "100000", info: "100000" },
                { tag: "above", text: "100001", info: "70" },
                { tag: "negative", text: "-1", info: "70" },
                { tag: "not a number", text: "abc", info: "70" },
                { tag: "fraction", text: "1.5", info: "70" },
                { tag: "empty", text: "", info: "70" },
                { tag: "leading zeros", text: "007", info: "7" }
            ]
        }
        function test_delay(row) {
            compare(MacroRules.editedDelay("70", row.text), row.info)
        }

        function test_loops_data() {
            return [
                { tag: "empty", text: "", shown: "1", count: 1 },
                { tag: "zero", text: "0", shown: "0", count: 0 },
                { tag: "upper end", text: "65535", shown: "65535", count: 65535 },
                { tag: "above", text: "65536", shown: "65536", count: 1 }
            ]
        }
        function test_loops(row) {
            compare(MacroRules.loopText(row.text), row.shown)
            compare(MacroRules.loopCount(row.text), row.count)
        }

        function test_lines() {
            const stored = MacroRules.eventsOfLines(["1,A", "0,120", "2,A", "4,MS-L", "3"])
            compare(stored.events, [{ type: 1, info: "A" }, { type: 0, info: "120" }, { type: 2, info: "A" },
                                    { type: 4, info: "MS-L" }])
            compare(stored.loops, "3")
            compare(MacroRules.eventLines(stored.events), ["1,A", "0,120", "2,A", "4,MS-L"])
        }
    }

    TestCase {
        name: "MacroRecording"

        function test_record_data() {
            return [
                { tag: "first event, pauses on", empty: true, pauses: true, down: true, code: 4,
                  events: [{ type: 1, info: "A" }] },
                { tag: "later event, pauses on", empty: false, pauses: true, down: false, code: 4,
                  events: [{ type: 0, info: "120" }, { type: 2, info: "A" }] },
                { tag: "later event, pauses off", empty: false, pauses: false, down: true, code: 4,
                  events: [{ type: 1, info: "A" }] },
                { tag: "mouse code", empty: true, pauses: false, down: true, code: 0xf0,
                  events: [{ type: 3, info: "A" }] },
                { tag: "mouse release", empty: true, pauses: false, down: false, code: 0xf1,
                  events: [{ type: 4, info: "A" }] }
            ]
        }
        function test_record(row) {
            compare(MacroRules.recordedEvents(row.empty, row.pauses, 12, row.down, row.code, "A"), row.events)
        }

        function test_buttonInsert_data() {
            return [
                { tag: "after the last row", selected: 2, infos: ["a", "b", "c", "MS-L", "MS-L"] },
                { tag: "after the first row", selected: 0, infos: ["a", "MS-L", "MS-L", "b", "c"] },
                { tag: "empty list", selected: -1, infos: ["MS-L", "MS-L"], empty: true }
            ]
        }
        function test_buttonInsert(row) {
            const events = row.empty ? [] : ["a", "b", "c"].map(info => ({ type: 1, info: info }))
            const result = MacroRules.buttonInsert(events, row.selected, 0)
            compare(result.map(e => e.info), row.infos)
            const press = row.infos.indexOf("MS-L")
            compare(result[press].type, 3)
            compare(result[press + 1].type, 4)
        }

        function test_delayInsert() {
            const events = ["a", "b"].map(info => ({ type: 1, info: info }))
            const result = MacroRules.delayInsert(events, 1)
            compare(result.events.map(e => e.info), ["a", "50", "b"])
            compare(result.events[1].type, 0)
            compare(result.selected, 1)
            compare(MacroRules.rowText(result.events[1]), "50 ms")
            compare(MacroRules.rowText(result.events[0]), "a")
        }
    }
}
