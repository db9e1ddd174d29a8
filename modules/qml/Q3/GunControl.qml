import QtQuick
import "GunRules.js" as GunRules

// The gun library and the three gun slots' chosen guns. The window keeps the
// page hidden; the button pages use its members to name, choose and upload
// guns. The first three guns are permanent.
Item {
    id: page

    // The button page (recoil key bindings and matrices) and the button menu
    // (gun names of the bound slots); the window sets both.
    property var keyMatrix: null
    property var keyMenu: null
    // 0 English, 1 Chinese, as the window's `language`.
    property int language: 0

    property var macroEditorLang: ["Gun Macro", "Gun", "Sequence", "Options", "Start Record", "Stop Record",
        "Rec Time", "Loops Timer", "New", "Delete", "OK", "Cancel", "Delete", "Insert Left Button",
        "Insert Middle Button", "Insert Right Button", "Insert Delay", "Insert Key", "Insert Mouse", "Insert Cursor",
        "Insert Key", "Please input key:", "Insert delay", "please input delay:", "Insert Cursor offset", "X axis",
        "Y axis", "Insert Mouse", "", ""]
    // The context menu's entries in their order: Delete, Left, Right, Middle, Delay.
    readonly property var contextMenuTexts: [12, 13, 15, 14, 16].map(i => macroEditorLang[i])

    readonly property alias macroListModel: macroNumberModel
    readonly property alias gunDataEx: gunData
    readonly property alias eventModel: macroDataModel0
    // The list position shown and edited, -1 for none.
    property int selectedGun: -1
    // The event row last clicked, -1 for none.
    property int selectedRow: -1
    property bool isInputting: false
    property bool isInsertting: false
    // The loop field's text.
    property string loopText: "1"

    width: 414
    height: 430
    visible: false

    ListModel {
        id: macroNumberModel
    }
    ListModel {
        id: gunData

        ListElement { gunIndex: 0; gunName: "" }
        ListElement { gunIndex: 1; gunName: "" }
        ListElement { gunIndex: 2; gunName: "" }
    }
    ListModel {
        id: macroDataModel0
    }

    // --- the lists as plain values ---
    function names() {
        const list = []
        for (let i = 0; i < macroNumberModel.count; ++i)
            list.push(String(macroNumberModel.get(i).macroName))
        return list
    }
    function positions() {
        const list = []
        for (let slot = 0; slot < gunData.count; ++slot)
            list.push(gunData.get(slot).gunIndex)
        return list
    }
    function events() {
        const list = []
        for (let i = 0; i < macroDataModel0.count; ++i)
            list.push({ type: macroDataModel0.get(i).type, info: String(macroDataModel0.get(i).info) })
        return list
    }
    function setEvents(list) {
        macroDataModel0.clear()
        for (const event of list)
            macroDataModel0.append({ type: event.type, info: String(event.info) })
    }
    function storeNames() {
        ui_View.updataNameList(1, names())
    }
    // Whether a slot is bound to a gun key on the button page.
    function slotBound(slot) {
        return keyMatrix !== null && Number(keyMatrix.bindings()[slot].index) !== -1
    }
    function boundSlots() {
        return [0, 1, 2].map(slotBound)
    }

    // --- start ---
    function init(isSendData) {
        if (isSendData) {
            sendGunMacro()
        } else {
            macroNumberModel.clear()
            for (const name of ui_View.getNameList(1)) {
                const no = Number(ui_View.loadGunIndex(name))
                let at = 0
                while (at < macroNumberModel.count && macroNumberModel.get(at).no <= no)
                    ++at
                macroNumberModel.insert(at, { macroName: String(name), no: no, macroType: Number(ui_View.loadGunType(name)) })
            }
        }
        readGunData()
    }
    function inited() {
        if (language !== 0)
            return
        for (const rename of GunRules.englishRenames(names())) {
            ui_View.modifyGunName(rename.from, rename.to)
            macroNumberModel.setProperty(rename.position, "macroName", rename.to)
            storeNames()
        }
    }
    function readGunData() {
        GunRules.slotPositions(ui_View.getselectGun()).forEach((position, slot) => gunData.setProperty(slot, "gunIndex", position))
    }

    // --- slots ---
    function getMacroName(position) {
        return GunRules.nameAt(names(), position)
    }
    function setGunData(slot, position) {
        gunData.setProperty(slot, "gunIndex", Number(position))
        ui_View.setSelectGun(positions())
    }
    function sendGunMacro() {
        ui_View.setSelectGun(positions())
        ui_View.uploadGunData(GunRules.uploadNames(names(), positions()))
    }
    function setGunMenuName() {
        if (!keyMenu)
            return
        const shown = GunRules.menuPositions(positions(), boundSlots())
        keyMenu.setGunMenuName(shown[0], shown[1], shown[2])
    }

    // --- the library ---
    function selectGun(position) {
        selectedGun = position >= 0 && position < macroNumberModel.count ? position : -1
        selectedRow = -1
        macroDataModel0.clear()
        if (selectedGun < 0)
            return
        const stored = GunRules.eventsOfLines(ui_View.loadGunIni(names()[selectedGun]))
        setEvents(stored.events)
        loopText = stored.loop
    }
    function createGun() {
        const name = GunRules.newName(names())
        if (name === "")
            return
        const no = macroNumberModel.count
        macroNumberModel.append({ macroName: name, no: no, macroType: 0 })
        ui_View.createGunIni(name, no)
        selectGun(no)
        storeNames()
    }
    // A name already in the list (its own included) or one the library refuses
    // changes nothing.
    function renameGun(position, newName) {
        const text = String(newName)
        if (position < 0 || position >= macroNumberModel.count || names().indexOf(text) >= 0)
            return false
        if (!ui_View.modifyGunName(names()[position], text))
            return false
        macroNumberModel.setProperty(position, "macroName", text)
        storeNames()
        if (keyMatrix) {
            keyMatrix.refreashUI()
            keyMatrix.initGunKeyShow()
        }
        return true
    }
    function deleteGun() {
        const p = selectedGun
        if (!GunRules.canDelete(p, macroNumberModel.count))
            return
        const slots = GunRules.slotsToUnbind(positions(), boundSlots(), p)
        for (const slot of slots) {
            keyMatrix.closeGunKeyProc(Number(keyMatrix.bindings()[slot].index), slot)
            setGunMenuName()
            keyMatrix.refreashUI()
            keyMatrix.initGunKeyShow()
        }
        ui_View.upDateDeleteGun(p)
        ui_View.deleteGunIni(names()[p])
        macroDataModel0.clear()
        macroNumberModel.remove(p)
        for (let i = p; i < macroNumberModel.count; ++i)
            macroNumberModel.setProperty(i, "no", macroNumberModel.get(i).no - 1)
        selectGun(Math.min(p, macroNumberModel.count - 1))
        for (let i = 0; i < macroNumberModel.count; ++i)
            ui_View.setGunIndex(macroNumberModel.get(i).macroName, macroNumberModel.get(i).no)
        storeNames()
    }

    // --- saving ---
    function loopCount() {
        const value = parseInt(loopText, 10)
        return isNaN(value) ? 1 : value
    }
    function autoSave() {
        if (selectedGun < 0)
            return
        const lines = GunRules.linesOfEvents(events())
        ui_View.saveGunIni(names()[selectedGun], lines, ui_View.encodeMacroLines(lines, loopCount(), true),
                           loopCount())
        sendGunMacro()
    }

    // --- event edits, each saved ---
    function applyEvents(list) {
        setEvents(list)
        autoSave()
    }
    function deleteRow(row) {
        const range = GunRules.deletionRange(events(), row)
        if (range.count === 0)
            return
        const list = events()
        list.splice(range.start, range.count)
        selectedRow = -1
        applyEvents(list)
    }
    function insertAfter(row, added) {
        const list = events()
        applyEvents(GunRules.inserted(list, GunRules.insertAfterRow(list, row), added))
    }
    function insertMouse(row, name) {
        insertAfter(row, GunRules.pressRelease(name, true))
    }
    function insertKey(row, name) {
        if (String(name) !== "")
            insertAfter(row, GunRules.pressRelease(String(name), false))
    }
    function insertCursor(row, x, y) {
        insertAfter(row, GunRules.offsetPair(x, y))
    }
    function insertDelay(row, milliseconds) {
        const list = events()
        const at = GunRules.delayRow(list, row)
        setEvents(GunRules.inserted(list, at, [{ type: GunRules.typeDelay, info: String(milliseconds) }]))
        selectedRow = at
        autoSave()
    }
    // The context menu's command `index` (0 Delete, 1 Left, 2 Right, 3 Middle,
    // 4 Delay) on the right-clicked row.
    function contextCommand(index, row) {
        switch (index) {
        case 0:
            deleteRow(row)
            break
        case 1:
            insertMouse(row, "MS-L")
            break
        case 2:
            insertMouse(row, "MS-R")
            break
        case 3:
            insertMouse(row, "MS-M")
            break
        case 4:
            insertDelay(row, GunRules.contextDelay)
            break
        }
    }
    // Enter in a row's edit box: delays 0..100000, offsets -127..127; anything
    // else keeps the old value.
    function editRow(row, text) {
        if (row < 0 || row >= macroDataModel0.count)
            return
        const event = macroDataModel0.get(row)
        const old = String(event.info)
        let value = old
        if (event.type === GunRules.typeDelay)
            value = GunRules.editedDelay(text, old)
        else if (GunRules.isOffsetRow(event.type))
            value = GunRules.editedOffset(text, old)
        else
            return
        macroDataModel0.setProperty(row, "info", value)
        autoSave()
    }
}
