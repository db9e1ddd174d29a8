// SPDX-License-Identifier: GPL-3.0-or-later
.pragma library
.import "MacroRules.js" as MacroRules

// Rules of the gun page, free of any item so they can be tested as tables;
// what it shares with the macro editor (list order, safe names, event lines,
// number fields) is MacroRules'. An event is {type, info} as in the library's
// event lines; a cursor offset is an X row (type 5) always directly followed
// by its Y row (type 6).

// The event types are the macro rules' own.
const typeDelay = MacroRules.typeDelay
const typeKeyDown = MacroRules.typeKeyDown
const typeKeyUp = MacroRules.typeKeyUp
const typeMouseDown = MacroRules.typeMouseDown
const typeMouseUp = MacroRules.typeMouseUp
const typeOffsetX = MacroRules.typeOffsetX
const typeOffsetY = MacroRules.typeOffsetY

// The first three guns are permanent: they can be renamed but not deleted.
const permanentCount = 3
// Position whose gun stands in for a chosen position past the end of the list.
const fallbackPosition = 2
const maxGuns = 100
const namePrefix = "Gun_"
const slotCount = 3
const unboundSlot = -1

const offsetMin = -127
const offsetMax = 127
const delayMin = MacroRules.minDelay
const delayMax = MacroRules.maxDelay
const contextDelay = MacroRules.insertedDelay
// The Insert Delay dialog's field: its start value and what a non-number becomes.
const dialogDelay = "10"
const fallbackDelay = "50"
// The mouse dialog's buttons, in the order of its five areas.
const dialogButtons = ["MS-L", "MS-R", "MS-M", "MS-B5", "MS-B4"]
// Key codes from this one on are mouse buttons, which the key dialog ignores.
const firstMouseCode = MacroRules.firstMouseCode

// The cursor pad: the dot's top-left corner stays within padMin..padMax; the
// pad's centre lies between 125 and 126, so neither gives a zero on one side.
const padMin = -2
const padMax = 253
const padSplit = 126

// Names the permanent guns carry in an English interface, by position.
const englishNames = [{ position: 0, name: "General" }, { position: 2, name: "Three fire" }]

function isPermanent(position) {
    return position >= 0 && position < permanentCount
}

// Delete is refused for the permanent guns and for no or a stale selection.
function canDelete(position, count) {
    return Number.isInteger(position) && position >= permanentCount && position < count
}

// The renames an English start makes: only those that change a name, so no
// rename of a name onto itself reaches the library.
function englishRenames(names) {
    return englishNames.filter(entry => entry.position < names.length && names[entry.position] !== entry.name)
        .map(entry => ({ position: entry.position, from: names[entry.position], to: entry.name }))
}

// The name at a list position; past the end the gun at position 2 stands in.
// A negative or non-numeric position, or an empty list, names nothing.
function nameAt(names, position) {
    const p = typeof position === "number" ? position : typeof position === "string" && position.trim() !== "" ? Number(position) : NaN
    if (!Number.isInteger(p) || p < 0 || names.length === 0)
        return ""
    const name = p < names.length ? names[p] : names[fallbackPosition]
    return name === undefined ? "" : String(name)
}

// The name "New" creates: "Gun_n" with the first free n of 0..99, or "" with a
// full library.
function newName(names) {
    if (names.length >= maxGuns)
        return ""
    for (let n = 0; n < maxGuns; ++n) {
        if (names.indexOf(namePrefix + n) < 0)
            return namePrefix + n
    }
    return ""
}

// --- gun slots ---

// The three stored choices as positions; anything unreadable keeps the start value.
function slotPositions(stored) {
    const result = []
    for (let slot = 0; slot < slotCount; ++slot) {
        const text = stored && slot < stored.length ? String(stored[slot]).trim() : ""
        const value = /^\d+$/.test(text) ? Number(text) : NaN
        result.push(Number.isInteger(value) ? value : slot)
    }
    return result
}

// What the button menu shows per slot: the chosen position when the slot is
// bound to a gun key, else -1.
function menuPositions(positions, bound) {
    return positions.map((position, slot) => (bound[slot] ? position : unboundSlot))
}

// Slots that lose their gun key when the gun at `position` is deleted.
function slotsToUnbind(positions, bound, position) {
    const result = []
    positions.forEach((chosen, slot) => {
        if (chosen === position && bound[slot])
            result.push(slot)
    })
    return result
}

// Chosen positions after the gun at `position` is deleted: the guns after it
// move up one place, so a slot that chose one of them keeps its gun.
function positionsAfterDelete(positions, position) {
    return positions.map(chosen => chosen > position ? chosen - 1 : chosen)
}

// Names of the three guns to upload, positions resolved as nameAt does.
function uploadNames(names, positions) {
    return positions.map(position => nameAt(names, position))
}

// --- event rows and cursor offset pairs ---

// The rows Delete removes: an X row takes its Y row along and a Y row its X row.
function deletionRange(events, row) {
    if (row < 0 || row >= events.length)
        return { start: row, count: 0 }
    const type = events[row].type
    if (type === typeOffsetX && row + 1 < events.length && events[row + 1].type === typeOffsetY)
        return { start: row, count: 2 }
    if (type === typeOffsetY && row > 0 && events[row - 1].type === typeOffsetX)
        return { start: row - 1, count: 2 }
    return { start: row, count: 1 }
}

// Where rows inserted "after the selected row" go: after an X row's Y row;
// with no selection at the end of the list.
function insertAfterRow(events, row) {
    if (row < 0 || row >= events.length)
        return events.length
    if (events[row].type === typeOffsetX && row + 1 < events.length && events[row + 1].type === typeOffsetY)
        return row + 2
    return row + 1
}

// Where a delay inserted "before the selected row" goes: before a Y row's X
// row; with no selection at the end of the list.
function delayRow(events, row) {
    if (row < 0 || row >= events.length)
        return events.length
    if (events[row].type === typeOffsetY && row > 0 && events[row - 1].type === typeOffsetX)
        return row - 1
    return row
}

// The events Insert adds for a key or mouse button name, and for an offset.
function pressRelease(name, isMouse) {
    return isMouse ? [{ type: typeMouseDown, info: name }, { type: typeMouseUp, info: name }]
                   : [{ type: typeKeyDown, info: name }, { type: typeKeyUp, info: name }]
}
function offsetPair(x, y) {
    return [{ type: typeOffsetX, info: String(x) }, { type: typeOffsetY, info: String(y) }]
}

// A new list with `added` inserted at `at`.
function inserted(events, at, added) {
    return events.slice(0, at).concat(added, events.slice(at))
}

function isOffsetRow(type) {
    return type === typeOffsetX || type === typeOffsetY
}

// An edited value: the parsed integer within min..max as text, else the old text.
function editedValue(text, oldText, min, max) {
    const value = MacroRules.integerIn(text, min, max)
    return value === null ? oldText : String(value)
}
function editedOffset(text, oldText) {
    return editedValue(text, oldText, offsetMin, offsetMax)
}
function editedDelay(text, oldText) {
    return editedValue(text, oldText, delayMin, delayMax)
}

// --- cursor pad ---

function clampPad(value) {
    return Math.max(padMin, Math.min(padMax, Math.round(value)))
}

// The dot's corner for a press at (x, y) and the offsets it stands for.
function padPoint(x, y) {
    const dotX = clampPad(x)
    const dotY = clampPad(y)
    return {
        x: dotX,
        y: dotY,
        offsetX: dotX >= padSplit ? dotX - padSplit : dotX - (padSplit - 1),
        offsetY: dotY >= padSplit ? padSplit - dotY : (padSplit - 1) - dotY
    }
}
