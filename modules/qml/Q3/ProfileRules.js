// SPDX-License-Identifier: GPL-3.0-or-later
.pragma library

// The rules of the profile list: how the list is kept in the name file, which
// profile number and which name a new entry gets, and which names a rename
// may give. Plain functions, so the page and the tests share them.

// The page lists at most this many profiles, numbered 0 to 5.
const maxEntries = 6;
// The number freeNumber() gives when every listed number is in use: no profile
// of the list may take it.
const noFreeNumber = maxEntries;
// Name indexes tried for a new or copied entry: "profile_0" … "profile_11".
const nameIndexCount = 12;
// The name file stores a one-element list with this filler as a second element.
const listFiller = "loadermarble";
// The name the factory list gives the first profile, and how the English
// interface shows it.
const factoryName = "Default";
const englishFactoryName = "Standard";

// The stored list read back: `entries` in display order as { profileName,
// profileNo }, and `kept`, the stored elements that name no profile (no
// trailing digit). Those are not shown but are written back unchanged, so a
// damaged or foreign element is never lost by a change of the list.
function parseStoredList(stored) {
    let elements = Array.from(stored || [], String);
    if (elements.length === 2 && elements[1] === listFiller)
        elements = elements.slice(0, 1);
    const entries = [];
    const kept = [];
    for (const element of elements) {
        const last = element.slice(-1);
        if (last >= "0" && last <= "9" && last.length === 1)
            entries.push({ profileName: element.slice(0, -1), profileNo: Number(last) });
        else
            kept.push(element);
    }
    return { entries: entries, kept: kept };
}

// The list to store: each entry's name followed by its number as one digit, in
// display order, then the kept elements. The back end adds the filler to a
// one-element list.
function storedList(entries, kept) {
    return entries.map(entry => entry.profileName + entry.profileNo).concat(kept || []);
}

// The lowest profile number 0 to 5 that no entry uses; noFreeNumber when all are used.
function freeNumber(entries) {
    for (let number = 0; number < maxEntries; ++number) {
        if (!entries.some(entry => entry.profileNo === number))
            return number;
    }
    return noFreeNumber;
}

// Whether New or Copy may add an entry. With the list full there is no number
// left for it; acting anyway would reset or overwrite a profile the page never
// shows, so nothing happens.
function canAdd(entries) {
    return entries.length < maxEntries && freeNumber(entries) !== noFreeNumber;
}

// Whether New lists the current profile instead of resetting a free one. An
// empty list means the name file was lost, not that no profile holds settings:
// the current profile (0 to 9, the back end's table) is the one the user has
// been using, so it is listed as it is.
function newAdoptsCurrent(entries, profileNo) {
    return entries.length === 0 && Number.isInteger(profileNo) && profileNo >= 0 && profileNo <= 9;
}

function hasName(entries, name) {
    return entries.some(entry => entry.profileName === name);
}

// The lowest index 0 to 11 for which prefix + index + suffix names no entry; 12 when all do.
function nameIndex(entries, prefix, suffix) {
    let index = 0;
    while (index < nameIndexCount && hasName(entries, prefix + index + suffix))
        ++index;
    return index;
}

// The name of a new entry: "profile_" and the lowest unused index.
function newName(entries) {
    return "profile_" + nameIndex(entries, "profile_", "");
}

// The name of a copy of the entry named `name`: the name, then the lowest
// unused index in brackets.
function copyName(entries, name) {
    return name + "(" + nameIndex(entries, name + "(", ")") + ")";
}

// Whether the entry at `position` may be renamed to `name`: not to its own
// name (nothing to store), not to another entry's name, and not to a name
// without a visible character, which would leave a row nobody can find.
function canRename(entries, position, name) {
    const text = String(name);
    if (position < 0 || position >= entries.length || text.trim() === "")
        return false;
    if (entries[position].profileName === text)
        return false;
    return !hasName(entries, text);
}

// The name the English interface gives the first entry, or "" when it keeps
// its own: only the factory name is translated, a name the user gave stays.
function englishFirstName(entries) {
    return entries.length > 0 && entries[0].profileName === factoryName ? englishFactoryName : "";
}

// The position the page selects for profile `profileNo`: the first entry with
// that number, or -1 when none has it.
function positionOf(entries, profileNo) {
    return entries.findIndex(entry => entry.profileNo === profileNo);
}
