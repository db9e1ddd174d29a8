// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtTest
import "qrc:/modules/qml/Q3/GunRules.js" as GunRules

// The gun page's rules, row by row: permanent guns, names, slots, the cursor
// offset pairs and the cursor pad.
Item {
    id: root

    readonly property var names: ["General", "Gun_1", "Three fire", "Gun_3", "Gun_4"]

    // A list with a key, an offset pair and a delay: K↓ X Y K↑ D.
    function sample() {
        return [{ type: 1, info: "A" }, { type: 5, info: "3" }, { type: 6, info: "-4" }, { type: 2, info: "A" },
                { type: 0, info: "20" }]
    }
    function typesOf(events) {
        return events.map(event => event.type).join("")
    }

    TestCase {
        name: "GunNames"

        function test_delete_data() {
            return [
                { tag: "position 0", position: 0, count: 5, allowed: false },
                { tag: "position 1", position: 1, count: 5, allowed: false },
                { tag: "position 2", position: 2, count: 5, allowed: false },
                { tag: "position 3", position: 3, count: 5, allowed: true },
                { tag: "last", position: 4, count: 5, allowed: true },
                { tag: "past the end", position: 5, count: 5, allowed: false },
                { tag: "none", position: -1, count: 5, allowed: false }
            ]
        }
        function test_delete(row) {
            compare(GunRules.canDelete(row.position, row.count), row.allowed)
        }

        function test_nameAt_data() {
            return [
                { tag: "first", position: 0, name: "General" },
                { tag: "last", position: 4, name: "Gun_4" },
                { tag: "at the end", position: 5, name: "Three fire" },
                { tag: "far beyond", position: 99, name: "Three fire" },
                { tag: "negative", position: -1, name: "" },
                { tag: "text", position: "x", name: "" },
                { tag: "numeric text", position: "1", name: "Gun_1" },
                { tag: "undefined", position: undefined, name: "" }
            ]
        }
        function test_nameAt(row) {
            compare(GunRules.nameAt(root.names, row.position), row.name)
        }
        function test_nameAtEmptyList() {
            compare(GunRules.nameAt([], 0), "")
            compare(GunRules.nameAt([], 5), "")
        }

        function test_englishRenames() {
            compare(JSON.stringify(GunRules.englishRenames(["Gun_0", "Gun_1", "Gun_2", "Gun_3"])),
                    JSON.stringify([{ position: 0, from: "Gun_0", to: "General" },
                                    { position: 2, from: "Gun_2", to: "Three fire" }]))
            compare(GunRules.englishRenames(root.names).length, 0)
            compare(JSON.stringify(GunRules.englishRenames(["x"])),
                    JSON.stringify([{ position: 0, from: "x", to: "General" }]))
        }

        function test_newName() {
            compare(GunRules.newName([]), "Gun_0")
            compare(GunRules.newName(["General", "Gun_0", "Gun_2"]), "Gun_1")
            const full = []
            for (let i = 0; i < 100; ++i)
                full.push("g" + i)
            compare(GunRules.newName(full), "")
        }
    }

    TestCase {
        name: "GunSlots"

        function test_slotPositions() {
            compare(GunRules.slotPositions([4, 0, 7]), [4, 0, 7])
            compare(GunRules.slotPositions([]), [0, 1, 2])
            compare(GunRules.slotPositions(["3", "x", -1]), [3, 1, 2])
            compare(GunRules.slotPositions(["", 5, ""]), [0, 5, 2])
        }
        function test_menuPositions() {
            compare(GunRules.menuPositions([4, 0, 7], [true, false, true]), [4, -1, 7])
        }
        function test_slotsToUnbind() {
            compare(GunRules.slotsToUnbind([3, 3, 3], [true, false, true], 3), [0, 2])
            compare(GunRules.slotsToUnbind([3, 4, 2], [true, true, true], 5), [])
        }
        function test_positionsAfterDelete() {
            compare(GunRules.positionsAfterDelete([3, 5, 9], 4), [3, 4, 8])
            compare(GunRules.positionsAfterDelete([4, 2, 4], 4), [4, 2, 4])
        }
        function test_uploadNames() {
            compare(GunRules.uploadNames(root.names, [3, 9, 0]), ["Gun_3", "Three fire", "General"])
        }
    }

    TestCase {
        name: "GunOffsets"

        function test_deletion_data() {
            return [
                { tag: "key row", row: 0, left: "5620" },
                { tag: "X row takes its Y row", row: 1, left: "120" },
                { tag: "Y row takes its X row", row: 2, left: "120" },
                { tag: "delay row", row: 4, left: "1562" },
                { tag: "no row", row: -1, left: "15620" }
            ]
        }
        function test_deletion(row) {
            const events = root.sample()
            const range = GunRules.deletionRange(events, row.row)
            if (range.count > 0)
                events.splice(range.start, range.count)
            compare(root.typesOf(events), row.left)
        }

        function test_insertAfter_data() {
            return [
                { tag: "after a key row", row: 0, at: 1 },
                { tag: "after an X row goes after its Y row", row: 1, at: 3 },
                { tag: "after a Y row", row: 2, at: 3 },
                { tag: "last row appends", row: 4, at: 5 },
                { tag: "no row appends", row: -1, at: 5 }
            ]
        }
        function test_insertAfter(row) {
            compare(GunRules.insertAfterRow(root.sample(), row.row), row.at)
        }

        function test_delayBefore_data() {
            return [
                { tag: "before a key row", row: 0, at: 0 },
                { tag: "before an X row", row: 1, at: 1 },
                { tag: "Y row goes before its X row", row: 2, at: 1 },
                { tag: "no row appends", row: -1, at: 5 }
            ]
        }
        function test_delayBefore(row) {
            compare(GunRules.delayRow(root.sample(), row.row), row.at)
        }

        function test_insertedPair() {
            const events = root.sample()
            const result = GunRules.inserted(events, GunRules.insertAfterRow(events, 1), GunRules.offsetPair(-7, 8))
            compare(root.typesOf(result), "1565620")
            compare(result[3].info, "-7")
            compare(result[4].info, "8")
            compare(root.typesOf(GunRules.inserted(events, 5, GunRules.pressRelease("MS-B5", true))), "1562034")
            compare(root.typesOf(GunRules.inserted(events, 0, GunRules.pressRelease("A", false))), "1215620")
        }

        function test_editedOffset_data() {
            return [
                { tag: "lowest", text: "-127", value: "-127" },
                { tag: "highest", text: "127", value: "127" },
                { tag: "below", text: "-128", value: "5" },
                { tag: "above", text: "128", value: "5" },
                { tag: "sign only", text: "-", value: "5" },
                { tag: "empty", text: "", value: "5" },
                { tag: "plus", text: "+12", value: "12" },
                { tag: "fraction", text: "1.5", value: "5" }
            ]
        }
        function test_editedOffset(row) {
            compare(GunRules.editedOffset(row.text, "5"), row.value)
        }
        function test_editedDelay() {
            compare(GunRules.editedDelay("100000", "50"), "100000")
            compare(GunRules.editedDelay("100001", "50"), "50")
            compare(GunRules.editedDelay("0", "50"), "0")
        }
    }

    TestCase {
        name: "CursorPad"

        function test_pad_data() {
            return [
                { tag: "top left", x: -2, y: -2, offsetX: -127, offsetY: 127 },
                { tag: "bottom right", x: 253, y: 253, offsetX: 127, offsetY: -127 },
                { tag: "beyond top left", x: -40, y: -9, offsetX: -127, offsetY: 127 },
                { tag: "beyond bottom right", x: 400, y: 300, offsetX: 127, offsetY: -127 },
                { tag: "right of centre", x: 126, y: 126, offsetX: 0, offsetY: 0 },
                { tag: "left of centre", x: 125, y: 125, offsetX: 0, offsetY: 0 },
                { tag: "one either side", x: 127, y: 124, offsetX: 1, offsetY: 1 }
            ]
        }
        function test_pad(row) {
            const point = GunRules.padPoint(row.x, row.y)
            compare(point.offsetX, row.offsetX)
            compare(point.offsetY, row.offsetY)
            verify(point.x >= -2 && point.x <= 253 && point.y >= -2 && point.y <= 253)
        }
    }
}
