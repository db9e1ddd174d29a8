// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtTest
import "qrc:/modules/qml/Q3/ProfileRules.js" as ProfileRules

// The rules of the profile list, row by row, from the compiled-in script.
TestCase {
    name: "ProfileRules"

    // Entries from "name" + digit texts, as the name file stores them.
    function entries(...stored) {
        return stored.map(text => ({ profileName: text.slice(0, -1), profileNo: Number(text.slice(-1)) }))
    }

    function test_parseStoredList_data() {
        return [
            { tag: "padded single", stored: ["Standard0", "loadermarble"], entries: entries("Standard0"), kept: [] },
            { tag: "two", stored: ["Standard0", "profile_03"], entries: entries("Standard0", "profile_03"), kept: [] },
            { tag: "empty", stored: [], entries: [], kept: [] },
            { tag: "missing", stored: undefined, entries: [], kept: [] },
            { tag: "name ending in a digit", stored: ["profile_12"],
              entries: [{ profileName: "profile_1", profileNo: 2 }], kept: [] },
            { tag: "number only", stored: ["3", "A0"], entries: entries("3", "A0"), kept: [] },
            { tag: "filler not second of two", stored: ["A0", "loadermarble", "B1"], entries: entries("A0", "B1"),
              kept: ["loadermarble"] },
            { tag: "no digit", stored: ["A0", "Broken", ""], entries: entries("A0"), kept: ["Broken", ""] },
            { tag: "full-width digit", stored: ["A\uff11"], entries: [], kept: ["A\uff11"] },
            { tag: "same number twice", stored: ["A1", "B1"], entries: entries("A1", "B1"), kept: [] },
            { tag: "numbers past the page", stored: ["A7", "B9"], entries: entries("A7", "B9"), kept: [] }
        ]
    }
    function test_parseStoredList(row) {
        const parsed = ProfileRules.parseStoredList(row.stored)
        compare(parsed.entries, row.entries)
        compare(parsed.kept, row.kept)
    }

    function test_storedList_data() {
        return [
            { tag: "one", entries: entries("Standard0"), kept: [], stored: ["Standard0"] },
            { tag: "display order", entries: entries("b3", "a0"), kept: [], stored: ["b3", "a0"] },
            { tag: "kept last", entries: entries("a0"), kept: ["Broken"], stored: ["a0", "Broken"] },
            { tag: "empty", entries: [], kept: [], stored: [] }
        ]
    }
    function test_storedList(row) {
        compare(ProfileRules.storedList(row.entries, row.kept), row.stored)
        // What is stored reads back as it was.
        const back = ProfileRules.parseStoredList(row.stored)
        compare([back.entries, back.kept], [row.entries, row.kept])
    }

    function test_freeNumber_data() {
        return [
            { tag: "none used", entries: [], number: 0, canAdd: true },
            { tag: "0, 1, 3 used", entries: entries("a0", "b1", "c3"), number: 2, canAdd: true },
            { tag: "five used", entries: entries("a5", "b4", "c3", "d2", "e0"), number: 1, canAdd: true },
            { tag: "six used", entries: entries("a0", "b1", "c2", "d3", "e4", "f5"), number: 6, canAdd: false },
            { tag: "six listed, one number twice", entries: entries("a0", "b0", "c1", "d2", "e3", "f4"), number: 5,
              canAdd: false },
            { tag: "numbers past the page", entries: entries("a7", "b9"), number: 0, canAdd: true }
        ]
    }
    function test_freeNumber(row) {
        compare(ProfileRules.freeNumber(row.entries), row.number)
        compare(ProfileRules.canAdd(row.entries), row.canAdd)
    }

    function test_newAdoptsCurrent_data() {
        return [
            { tag: "empty, current 0", entries: [], current: 0, adopts: true },
            { tag: "empty, current 7", entries: [], current: 7, adopts: true },
            { tag: "empty, no current yet", entries: [], current: -1, adopts: false },
            { tag: "empty, current past the table", entries: [], current: 10, adopts: false },
            { tag: "one listed", entries: entries("a0"), current: 0, adopts: false }
        ]
    }
    function test_newAdoptsCurrent(row) {
        compare(ProfileRules.newAdoptsCurrent(row.entries, row.current), row.adopts)
    }

    function test_names_data() {
        return [
            { tag: "new, empty", entries: [], name: "", result: "profile_0" },
            { tag: "new, 0 and 2 taken", entries: entries("profile_00", "profile_21"), name: "", result: "profile_1" },
            { tag: "new, similar names", entries: entries("Profile_00", "profile_0 1"), name: "", result: "profile_0" },
            { tag: "copy", entries: entries("profile_00"), name: "profile_0", result: "profile_0(0)" },
            { tag: "copy, (0) exists", entries: entries("profile_00", "profile_0(0)1"), name: "profile_0",
              result: "profile_0(1)" },
            { tag: "copy of a copy", entries: entries("a0", "a(0)1"), name: "a(0)", result: "a(0)(0)" },
            { tag: "copy, all indexes taken",
              entries: Array.from({ length: 12 }, (_, i) => ({ profileName: "a(" + i + ")", profileNo: 0 })),
              name: "a", result: "a(12)" }
        ]
    }
    function test_names(row) {
        compare(row.name === "" ? ProfileRules.newName(row.entries) : ProfileRules.copyName(row.entries, row.name),
                row.result)
    }

    function test_canRename_data() {
        const list = entries("Standard0", "Work1")
        return [
            { tag: "free name", position: 1, name: "Games", ok: true },
            { tag: "another entry's name", position: 1, name: "Standard", ok: false },
            { tag: "unchanged", position: 1, name: "Work", ok: false },
            { tag: "differs in case", position: 1, name: "work", ok: true },
            { tag: "empty", position: 0, name: "", ok: false },
            { tag: "blanks only", position: 0, name: "   ", ok: false },
            { tag: "position past the list", position: 2, name: "x", ok: false }
        ].map(row => Object.assign(row, { entries: list }))
    }
    function test_canRename(row) {
        compare(ProfileRules.canRename(row.entries, row.position, row.name), row.ok)
    }

    function test_englishFirstName_data() {
        return [
            { tag: "factory name", entries: entries("Default0", "b1"), name: "Standard" },
            { tag: "already Standard", entries: entries("Standard0"), name: "" },
            { tag: "the user's name", entries: entries("Work0"), name: "" },
            { tag: "factory name not first", entries: entries("Work0", "Default1"), name: "" },
            { tag: "empty", entries: [], name: "" }
        ]
    }
    function test_englishFirstName(row) {
        compare(ProfileRules.englishFirstName(row.entries), row.name)
    }

    function test_positionOf() {
        const list = entries("a3", "b0", "c0")
        compare([0, 3, 5].map(number => ProfileRules.positionOf(list, number)), [1, 0, -1])
    }
}
