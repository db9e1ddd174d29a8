// SPDX-License-Identifier: GPL-3.0-or-later
.pragma library

// Rules of the button pages, free of any item so they can be tested as tables.
// A function entry is an array of four numbers [type, p1, p2, p3]; a matrix is
// sixteen entries; the recoil bindings are three {index, type}, one per recoil
// slot (index -1 = not bound).

const typeMouse = 0x01
const typeRecoil = 0x08
const typeMacro = 0x09
const leftClickCode = 0xf0
const unbound = -1
const unboundType = 2
const entryCount = 16
const shownRows = 7
const recoilSets = 3

// The default matrix: the entries a button returns to when its macro is deleted.
const defaultMatrix = ["0100f000", "0100f100", "0100f200", "0f002e00", "0f000500", "08000101", "07000300",
    "00000000", "00000000", "00000000", "00000000", "00000000", "00000000", "00000000", "04000100",
    "04000200"]

// Names of the entries the menu offers, English and Chinese.
const entryNames = {
    "0100f000": ["Left Button", "左键"],
    "0100f100": ["Right Button", "右键"],
    "0100f200": ["Middle Button", "中键"],
    "0100f400": ["Forward", "前进"],
    "0100f300": ["Back", "后退"],
    "0f002e00": ["Auto Run", "自动奔跑"],
    "0f000500": ["Fire Mode", "开火模式"],
    "0af01e02": ["Double Click", "双击"],
    "07000100": ["DPI +", "DPI +"],
    "07000200": ["DPI -", "DPI -"],
    "07000300": ["DPI LOOP", "DPI LOOP"],
    "03008301": ["Media Player", "多媒体播放键"],
    "0300b500": ["Next Track", "下一首"],
    "0300b600": ["Previous Track", "上一首"],
    "0300b700": ["Stop", "停止"],
    "0300cd00": ["Play/Pause", "播放/暂停"],
    "0300e200": ["Mute", "静音"],
    "0300e900": ["Volume Up", "音量+"],
    "0300ea00": ["Volume Down", "音量-"],
    "0000e011": ["New", "新建"],
    "0000e01b": ["Cut", "剪切"],
    "0000e006": ["Copy", "复制"],
    "0000e019": ["Paste", "粘贴"],
    "0000e016": ["Save", "保存"],
    "0000e013": ["Print", "打印"],
    "0000e009": ["Find", "查找"],
    "0000e01c": ["Redo", "重复"],
    "0000e01d": ["Undo", "撤销"],
    "0000e004": ["Select All", "全选"],
    "03009401": ["My Computer", "我的电脑"],
    "03002302": ["Web Home", "浏览器-主页"],
    "03002102": ["Search Computer", "搜索"],
    "00042c1b": ["Maximize", "最大化"],
    "00042c11": ["Minimize", "最小化"],
    "0000e307": ["Show Desktop", "显示桌面"],
    "0000e315": ["Run", "运行"],
    "08000101": ["Gun Key Switch", "枪键开关"],
    "00000000": ["Deactivated", "按键关闭"]
}

// Mouse button names of macro events; the keyboard names come from the back end.
const mouseNames = ["MS-L", "MS-R", "MS-M", "MS-B4", "MS-B5"]
const firstMouseCode = 0xf0
// Usage 31H (backslash and bar) and 32H (the non-US hash key) share one name.
const backslashUsage = 0x31
const pageBackslashUsage = 0x32

// Entry <-> eight lowercase hex digits.
function entryHex(entry) {
    return entry.map(value => ("0" + (Number(value) & 0xff).toString(16)).slice(-2)).join("")
}
function entryOfHex(hex) {
    return [0, 2, 4, 6].map(at => parseInt(String(hex).substr(at, 2), 16))
}

// The entry's name, or "" when the menu does not offer it.
function entryName(entry, chinese) {
    const names = entryNames[entryHex(entry)]
    return names ? names[chinese ? 1 : 0] : ""
}

// 1-based position of the lowest set bit of the low eight bits; 0 when none is set.
function logByte(value) {
    const low = Number(value) & 0xff
    for (let bit = 0; bit < 8; ++bit) {
        if (low & (1 << bit))
            return bit + 1
    }
    return 0
}

// Both directions of the pages' key-code table from the back end's map of
// keyboard names to codes. Usage 31H reads as the name that 32H has.
function keyTables(nameToCode) {
    const str2keycode = {}
    const keycode2str = {}
    for (const name in nameToCode) {
        const code = Number(nameToCode[name])
        str2keycode[name] = code
        keycode2str[code] = name
    }
    if (keycode2str[backslashUsage] === undefined && keycode2str[pageBackslashUsage] !== undefined)
        keycode2str[backslashUsage] = keycode2str[pageBackslashUsage]
    return { str2keycode: str2keycode, keycode2str: keycode2str }
}
function mouseCodeOf(name) {
    const at = mouseNames.indexOf(name)
    return at < 0 ? undefined : firstMouseCode + at
}
function mouseNameOf(code) {
    return mouseNames[code - firstMouseCode] || ""
}

// The text of an entry. `lookups`: macroName(slot), keyName(code), chinese;
// `strings`: the panel strings (0 "Macro: ", 1 "Deactivated", 2 "Keyboard Key-").
function entryText(entry, strings, lookups) {
    const [t0, t1, t2, t3] = entry.map(Number)
    if (t0 === typeMacro)
        return strings[0] + lookups.macroName(t2)
    if (t0 === 0 && t1 === 0 && t2 === 0 && t3 === 0)
        return strings[1]
    if (t0 === 0 && t1 === 0 && t3 === 0)
        return strings[2] + lookups.keyName(t2)
    return entryName(entry, lookups.chinese)
}

function isLeftClick(entry) {
    return Number(entry[0]) === typeMouse && Number(entry[2]) === leftClickCode
}
function leftClickCount(matrix) {
    return matrix.filter(isLeftClick).length
}
// One button always keeps the left click: the last one cannot be replaced.
function mayReplace(matrix, index) {
    return !isLeftClick(matrix[index]) || leftClickCount(matrix) >= 2
}
function isRecoilKey(entry) {
    return Number(entry[0]) === typeRecoil && Number(entry[2]) === 1
}

// The pages hold a macro's slot (0 to 4); the profile and the device slot + 1.
function pageEntry(stored) {
    const entry = stored.map(value => Number(value) || 0)
    while (entry.length < 4)
        entry.push(0)
    if (entry[0] === typeMacro)
        entry[2] -= 1
    return entry
}
function storedEntry(entry) {
    const stored = entry.map(Number)
    if (stored[0] === typeMacro)
        stored[2] += 1
    return stored
}
// The flat list of a whole matrix for the back end.
function storedList(matrix) {
    return [].concat(...matrix.map(storedEntry))
}

// Recoil matrix k (1 to 3) as the flat list for the back end: the left button
// plays the slot's recoil sequence (macro slot id 5 + k) in the slot's run mode.
function recoilList(recoil, k, bindings) {
    const stored = recoil.map(storedEntry)
    stored[0] = [typeMacro, Number(bindings[k - 1].type), 5 + k, 0]
    return [].concat(...stored)
}
// The three recoil matrices after the main matrix changed: entries that are not
// recoil keys follow the main matrix.
function followMain(main, recoil) {
    return recoil.map((entry, n) => Number(main[n][0]) === typeRecoil ? entry.slice() : main[n].slice())
}

function copyMatrices(matrices) {
    return matrices.map(matrix => matrix.map(entry => entry.slice()))
}
function copyBindings(bindings) {
    return bindings.map(b => ({ index: Number(b.index), type: Number(b.type) }))
}

// Binds recoil slot `slot` to `button` with run mode `type`. `matrices` are the
// main and the three recoil matrices. The button becomes a recoil key in all
// four, and its p3 (the matrix the key switches to) steps through the slots
// bound to it in ascending order and back to the main matrix.
function openGunKey(matrices, bindings, button, slot, type) {
    const m = copyMatrices(matrices)
    const b = copyBindings(bindings)
    if (slot < 0 || slot >= b.length)
        return { matrices: m, bindings: b }
    for (const matrix of m)
        matrix[button] = [typeRecoil, 0, 1, 0]
    // Slot s switches to recoil matrix s + 1: the main matrix points at the
    // first bound slot's matrix, each bound slot's matrix at the next one's,
    // and the last back to the main matrix (0, already set above).
    const chain = [0, 1, 2].filter(s => s === slot || b[s].index === button)
    let from = 0
    for (const s of chain) {
        m[from][button][3] = s + 1
        from = s + 1
    }
    b[slot] = { index: button, type: Number(type) }
    return { matrices: m, bindings: b }
}

// Unbinds recoil slot `slot` from `button`: the matrix that switched to the
// slot's matrix switches where the slot's matrix did, which switches nowhere.
function closeGunKey(matrices, bindings, button, slot) {
    const m = copyMatrices(matrices)
    const b = copyBindings(bindings)
    const p3 = k => Number(m[k][button][3])
    const setNext = (k, value) => { m[k][button][3] = value }
    if (slot === 0) {
        setNext(0, p3(1))
        setNext(1, 0)
    } else if (slot === 1) {
        setNext(p3(1) === 2 ? 1 : 0, p3(2))
        setNext(2, 0)
    } else if (slot === 2) {
        const pointing = [2, 1, 0].find(k => p3(k) === 3)
        if (pointing !== undefined)
            setNext(pointing, p3(3))
        setNext(3, 0)
    }
    b[slot] = { index: unbound, type: unboundType }
    return { matrices: m, bindings: b }
}

// Every slot bound to `button` becomes unbound; the run modes stay.
function cancelGunKeys(bindings, button) {
    return copyBindings(bindings).map(b => b.index === button ? { index: unbound, type: b.type } : b)
}

// What the recoil action submenu offers for `slot` on `button`: 1 (unbound:
// Assignment and Enable), 2 (bound to this button: all three), 0 (bound elsewhere).
function gunKeyMenuControl(bindings, slot, button) {
    const index = Number(bindings[slot].index)
    if (index === unbound)
        return 1
    return index === button ? 2 : 0
}

// The slot whose name a recoil key shows: slots examined 2, 1, 0, the last
// match wins; -1 when none is bound to the button.
function shownGunSlot(bindings, button) {
    let shown = -1
    for (const slot of [2, 1, 0]) {
        if (Number(bindings[slot].index) === button)
            shown = slot
    }
    return shown
}

// The stored form of the bindings: indices of slots 0 to 2, then their types.
function bindingsList(bindings) {
    return bindings.map(b => b.index).concat(bindings.map(b => b.type))
}
function bindingsOfList(list) {
    const value = (at, fallback) => {
        const n = parseInt(list[at])
        return isNaN(n) ? fallback : n
    }
    return [0, 1, 2].map(slot => ({ index: value(slot, unbound), type: value(slot + 3, unboundType) }))
}

// Where the menu opens for a button, in the window's coordinates.
function menuPosition(button) {
    return { x: 249, y: button >= 0 && button < shownRows ? 131 + 21 * button : 278 }
}

// The function menu, top to bottom. label: index into the menu strings;
// value: the entry chosen; submenu: the name of the submenu it opens; hover:
// "keep" leaves the open submenus, "hide" closes them; hidden entries take no
// space. The two recoil entries belong to the recoil page's interface.
const menuEntries = [
    { label: 0, value: "0100f000", hover: "keep" },
    { label: 1, value: "0100f100", hover: "keep" },
    { label: 2, value: "0100f200", hover: "keep" },
    { label: 3, value: "0f002e00", hover: "keep", hidden: true },
    { label: 42, value: "0100f400", hover: "keep" },
    { label: 4, value: "0f000500", hover: "keep", hidden: true },
    { label: 43, value: "0100f300", hover: "hide" },
    { label: 8, submenu: "basic" },
    { label: 7, submenu: "media" },
    { label: 9, submenu: "extra" },
    { label: 6, submenu: "dpi" },
    { label: 5, value: "0af01e02", hover: "hide" },
    { label: 10, action: "key", hover: "keep" },
    { label: 11, action: "macro", hover: "hide" },
    { label: 12, submenu: "gun", hidden: true },
    { label: 12, submenu: "gun", hidden: true },
    { label: 13, value: "00000000", hover: "hide" }
]
const submenus = {
    basic: [[25, "0000e011"], [26, "0000e01b"], [27, "0000e006"], [28, "0000e019"], [29, "0000e016"],
            [30, "0000e013"], [31, "0000e009"], [32, "0000e01c"], [33, "0000e01d"], [34, "0000e004"]],
    media: [[17, "03008301"], [18, "0300b500"], [19, "0300b600"], [20, "0300b700"], [21, "0300cd00"],
            [22, "0300e200"], [23, "0300e900"], [24, "0300ea00"]],
    extra: [[35, "03009401"], [36, "03002302"], [37, "03002102"], [38, "00042c1b"], [39, "00042c11"],
            [40, "0000e307"], [41, "0000e315"]],
    dpi: [[14, "07000100"], [15, "07000200"], [16, "07000300"]]
}
// The submenu names in the order the menu lists them.
const submenuNames = ["basic", "media", "extra", "dpi", "gun"]
// The recoil actions, by what gunKeyMenuControl offers: labels 48 Assignment,
// 49 Enable, 50 Disable, emitted as 0, 1, 2.
function gunActions(control) {
    return control === 2 ? [0, 1, 2] : control === 1 ? [0, 1] : []
}

// Entries are 17 high, 4 apart, 3 from the menu's edge. A submenu opens with
// its first entry level with the entry that opened it.
const menuPitch = 21
function submenuTop(submenu) {
    const at = menuEntries.findIndex(entry => entry.submenu === submenu)
    const above = menuEntries.slice(0, Math.max(at, 0)).filter(entry => !entry.hidden).length
    return above * menuPitch
}

// Splits eight hex digits into the four numbers modifyData takes.
function menuBytes(menuStr) {
    return entryOfHex(menuStr)
}
