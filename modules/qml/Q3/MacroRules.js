// SPDX-License-Identifier: GPL-3.0-or-later
.pragma library

// Rules of the macro and recoil list pages, free of any item so they can be
// tested as tables. An event is {type, info}: type 0 delay (info in ms), 1/2
// key down/up, 3/4 mouse button down/up, 5/6 cursor X/Y (recoil lists only);
// a list element is {macroName, no, macroType}.

const typeDelay = 0
const typeKeyDown = 1
const typeKeyUp = 2
const typeMouseDown = 3
const typeMouseUp = 4
// Cursor offsets, in recoil sequences only: an X row, then its Y row.
const typeOffsetX = 5
const typeOffsetY = 6
const typeMacro = 0x09

// The name list of a library with one entry carries this filler second entry.
const fillerName = "loadermarble"
const namePrefix = "Macro_"
const maxEntries = 100
// An event is added only while the encoded image is shorter than this.
const maxImageLength = 126
const macroSlots = 5
const noSlot = -1
const minDelay = 0
const maxDelay = 100000
const minLoops = 0
const maxLoops = 65535
const defaultLoops = 1
const insertedDelay = "50"
// Mouse button names the context menu inserts: left, middle, right.
const buttonNames = ["MS-L", "MS-M", "MS-R"]
// The first mouse code: lower codes are keyboard keys.
const firstMouseCode = 0xf0

// The names a library's list shows: the filler entry dropped.
function shownNames(names) {
    const list = Array.from(names || [])
    if (list.length === 2 && list[1] === fillerName)
        list.pop()
    return list
}

// The list in display order from `entries` [{name, index, type}] in name-list
// order: each is inserted before the first element with a greater index, so
// the list is ordered by stored index with ties in name-list order.
function orderedList(entries) {
    const list = []
    for (const entry of entries) {
        const element = { macroName: String(entry.name), no: Number(entry.index), macroType: Number(entry.type) }
        const at = list.findIndex(other => other.no > element.no)
        if (at < 0)
            list.push(element)
        else
            list.splice(at, 0, element)
    }
    return list
}

function namesOf(list) {
    return list.map(element => element.macroName)
}

// The first "Macro_n" (n 0 to 99) no element carries; maxEntries when all are taken.
function freeName(names) {
    const taken = new Set(names)
    let n = 0
    while (n < maxEntries && taken.has(namePrefix + n))
        ++n
    return namePrefix + n
}

function mayCreate(count) {
    return count < maxEntries
}

// A name becomes a file name: no separators, no "..", no control characters.
function isSafeName(name) {
    const text = String(name)
    if (text.length === 0 || text.trim().length === 0)
        return false
    if (text.indexOf("/") >= 0 || text.indexOf("\\") >= 0 || text.indexOf("..") >= 0)
        return false
    for (let i = 0; i < text.length; ++i) {
        const code = text.charCodeAt(i)
        if (code < 0x20 || code === 0x7f)
            return false
    }
    return true
}

// Why `name` cannot replace a list name: "" when it can, "taken" when an
// element carries it already (its own name included), "unsafe" when it cannot
// be a file name.
function renameProblem(names, name) {
    if (names.indexOf(name) >= 0)
        return "taken"
    if (!isSafeName(name))
        return "unsafe"
    return ""
}

// The list after deleting position p: the element removed, later ones
// renumbered one down.
function listAfterDelete(list, p) {
    const result = list.map(element => Object.assign({}, element))
    result.splice(p, 1)
    for (let i = p; i < result.length; ++i)
        result[i].no -= 1
    return result
}

// The slot a macro takes on OK: the button's own slot when it holds a macro,
// else the first of 0 to 4 no entry of `matrix` uses, else noSlot.
// Entries are [type, run mode, slot, 0] with the page's slot 0 to 4.
function macroSlot(matrix, button) {
    const own = matrix[button]
    if (own && Number(own[0]) === typeMacro)
        return Number(own[2])
    const used = new Set(matrix.filter(entry => Number(entry[0]) === typeMacro).map(entry => Number(entry[2])))
    for (let slot = 0; slot < macroSlots; ++slot) {
        if (!used.has(slot))
            return slot
    }
    return noSlot
}

// The length check: `image` is the page encoder's output for the current
// list (two loop bytes for an empty or delays-only list).
function mayAdd(image) {
    return image.length < maxImageLength
}

// Event lines of the library format, without the loop-count line.
function eventLines(events) {
    return events.map(event => event.type + "," + event.info)
}

// Events and loop count of a stored macro: every line but the last is an
// event, the last one the loop count.
function eventsOfLines(lines) {
    const list = Array.from(lines || [])
    const loops = list.length > 0 ? list.pop() : String(defaultLoops)
    return {
        events: list.map(line => ({ type: parseInt(line.charAt(0), 10), info: line.substring(2) })),
        loops: loops
    }
}

// An integer text within [low, high], or null.
function integerIn(text, low, high) {
    const trimmed = String(text).trim()
    if (!/^[+-]?\d+$/.test(trimmed))
        return null
    const value = parseInt(trimmed, 10)
    return value >= low && value <= high ? value : null
}

// The delay editor's result: the new info text, or `old` when `text` is not
// an integer from 0 to 100000.
function editedDelay(old, text) {
    const value = integerIn(text, minDelay, maxDelay)
    return value === null ? old : String(value)
}

// The loop field's text once it loses focus: empty becomes "1".
function loopText(text) {
    return String(text).trim() === "" ? String(defaultLoops) : String(text)
}

function loopCount(text) {
    const value = integerIn(loopText(text), minLoops, maxLoops)
    return value === null ? defaultLoops : value
}

// The events one recorded key or button event appends: a delay of the pause
// (counter ticks of 10 ms) before it when the list holds events and the pause
// is recorded, then the event itself.
function recordedEvents(listEmpty, recordPauses, ticks, isDown, code, name) {
    const events = []
    if (!listEmpty && recordPauses)
        events.push({ type: typeDelay, info: String(ticks * 10) })
    const mouse = code >= firstMouseCode
    const type = mouse ? (isDown ? typeMouseDown : typeMouseUp) : (isDown ? typeKeyDown : typeKeyUp)
    events.push({ type: type, info: name })
    return events
}

// Where the context menu's button insertion puts its press and release after
// row `selected` of `count` rows: appended at the end, else right after it.
function buttonInsert(events, selected, button) {
    const result = events.slice()
    const press = { type: typeMouseDown, info: buttonNames[button] }
    const release = { type: typeMouseUp, info: buttonNames[button] }
    if (selected >= result.length - 1)
        result.push(press, release)
    else
        result.splice(selected + 1, 0, press, release)
    return result
}

// The context menu's delay insertion: a 50 ms delay before row `selected`,
// which then is the selected row.
function delayInsert(events, selected) {
    const result = events.slice()
    const at = Math.max(0, Math.min(selected, result.length))
    result.splice(at, 0, { type: typeDelay, info: insertedDelay })
    return { events: result, selected: at }
}

// The text a row shows.
function rowText(event) {
    const type = Number(event.type)
    if (type === typeDelay)
        return event.info + " ms"
    if (type === typeOffsetX || type === typeOffsetY)
        return (type === typeOffsetX ? "X " : "Y ") + event.info
    return String(event.info)
}
