// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import "../basic"
import "../common"
import "GunRules.js" as GunRules
import "MacroRules.js" as MacroRules

// The gun library and the three gun slots' chosen guns. The window keeps the
// page hidden; the button pages use its members to name, choose and upload
// guns. The first three guns are permanent.
SkinImage {
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
    // The list position shown and edited, -1 for none.
    property alias selectedGun: gunList.currentIndex
    // The event row last chosen, -1 for none.
    property alias selectedRow: eventList.currentIndex
    readonly property bool isInputting: eventList.recording
    // A key for the Insert Key dialog is awaited; only the next key event ends it.
    property bool isInsertting: false
    // The loop field's text.
    property string loopText: "1"
    property bool loopsEnabled: false

    signal closeUI

    width: 414
    height: 430
    visible: false
    source: "qrc:/macros/modules/img/skin1/macros/editorBG.svg"
    Accessible.role: Accessible.Dialog
    Accessible.name: macroEditorLang[0]

    ListModel {
        id: macroNumberModel
    }
    ListModel {
        id: gunData

        ListElement { gunIndex: 0; gunName: "" }
        ListElement { gunIndex: 1; gunName: "" }
        ListElement { gunIndex: 2; gunName: "" }
    }
    KeyCodeString {
        id: keyNames
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
        return eventList.eventArray().map(event => ({ type: event.type, info: String(event.info) }))
    }
    function setEvents(list, selected) {
        eventList.setEvents(list, selected)
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
            const stored = MacroRules.shownNames(ui_View.getNameList(1)).map(name => ({
                name: name, index: ui_View.loadGunIndex(name), type: ui_View.loadGunType(name) }))
            for (const element of MacroRules.orderedList(stored))
                macroNumberModel.append(element)
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
        uploadGuns()
    }
    function uploadGuns() {
        ui_View.uploadGunData(GunRules.uploadNames(names(), positions()))
    }
    // The macro key dialog's gun choice: slot `slot` steps on `button` with the
    // run mode, chooses the gun named `name`, and the keys and guns are sent.
    function bindGun(slot, button, name, runMode) {
        const position = names().indexOf(String(name))
        if (!keyMatrix || button < 0 || slot < 0 || slot >= gunData.count || position < 0)
            return
        keyMatrix.openGunKeyProc(button, slot, runMode)
        setGunData(slot, position)
        keyMatrix.refreashUI()
        keyMatrix.initGunKeyShow()
        setGunMenuName()
        uploadGuns()
    }
    function setGunMenuName() {
        if (!keyMenu)
            return
        const shown = GunRules.menuPositions(positions(), boundSlots())
        keyMenu.setGunMenuName(shown[0], shown[1], shown[2])
    }

    // --- the library ---
    function selectGun(position) {
        eventList.clear()
        selectedGun = position >= 0 && position < macroNumberModel.count ? position : -1
        if (selectedGun < 0)
            return
        const stored = MacroRules.eventsOfLines(ui_View.loadGunIni(names()[selectedGun]))
        setEvents(stored.events)
        loopText = stored.loops
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
    // Why a rename did not happen, shown under the list; "" after a rename.
    property string renameHint: ""
    // A name already in the list (its own included) changes nothing; a name
    // that cannot be a file name, or one the library refuses, is refused with
    // a hint.
    function renameGun(position, newName) {
        const text = String(newName)
        renameHint = ""
        if (position < 0 || position >= macroNumberModel.count)
            return false
        const problem = MacroRules.renameProblem(names(), text)
        if (problem === "taken")
            return false
        if (problem !== "" || !ui_View.modifyGunName(names()[position], text)) {
            renameHint = "Not a usable name: " + text
            return false
        }
        macroNumberModel.setProperty(position, "macroName", text)
        storeNames()
        setGunMenuName()
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
        GunRules.positionsAfterDelete(positions(), p).forEach((position, slot) => gunData.setProperty(slot, "gunIndex", position))
        ui_View.setSelectGun(positions())
        ui_View.deleteGunIni(names()[p])
        eventList.clear()
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
        return MacroRules.loopCount(loopText)
    }
    function autoSave() {
        if (selectedGun < 0)
            return
        const lines = MacroRules.eventLines(events())
        ui_View.saveGunIni(names()[selectedGun], lines, eventList.image(loopCount()), loopCount())
        sendGunMacro()
    }

    // --- event edits, each saved ---
    function applyEvents(list, selected) {
        setEvents(list, selected)
        autoSave()
    }
    function deleteRow(row) {
        const range = GunRules.deletionRange(events(), row)
        if (range.count === 0)
            return
        const list = events()
        list.splice(range.start, range.count)
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
        applyEvents(GunRules.inserted(list, at, [{ type: GunRules.typeDelay, info: String(milliseconds) }]), at)
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
    // --- recording and the key wait ---
    function toggleRecording() {
        if (eventList.recording) {
            eventList.stopRecording()
            autoSave()
        } else {
            eventList.startRecording()
        }
    }
    // Key events of the global keyboard hook while recording.
    function detectKeyboard(isDown, usbCode) {
        const code = Number(usbCode)
        const name = code < GunRules.firstMouseCode ? keyNames.keycodeTostr(code) : keyNames.mousecodeTostr(code)
        eventList.recordEvent(isDown, code, name)
    }
    // The next key event while the Insert Key dialog waits ends the wait; a
    // keyboard key fills in the field.
    function detectInput(isDown, usbCode) {
        if (!isInsertting)
            return
        isInsertting = false
        const code = Number(usbCode)
        if (code < GunRules.firstMouseCode) {
            keyDialog.keyName = keyNames.keycodeTostr(code)
            keyDialog.blinking = false
        }
    }
    // Ends inline edits and closes the context menu.
    function macroEditorFocus() {
        eventList.endEditing(true)
        gunList.endRename(true)
        contextMenu.visible = false
    }
    function open() {
        visible = true
        forceActiveFocus()
    }
    function close() {
        macroEditorFocus()
        for (const dialog of [keyDialog, mouseDialog, delayDialog, cursorDialog])
            dialog.visible = false
        visible = false
        closeUI()
    }

    // --- the page ---
    component Caption: Text {
        color: "#ffffff"
        font.family: "Arial"
        font.pixelSize: 12
        verticalAlignment: Text.AlignVCenter
    }
    // A plain text button of the page.
    component PageButton: Rectangle {
        id: button

        property string text: ""

        signal clicked

        radius: 3
        color: buttonArea.pressed ? "#8f2020" : buttonArea.containsMouse ? "#6f2929" : "#3a3a3a"
        border.color: "#8a8a8a"
        Accessible.role: Accessible.Button
        Accessible.name: text
        Accessible.onPressAction: if (enabled) button.clicked()

        Caption {
            anchors.centerIn: parent
            text: button.text
        }
        MouseArea {
            id: buttonArea

            anchors.fill: parent
            hoverEnabled: true
            onClicked: button.clicked()
        }
    }
    component Switch: Item {
        id: box

        property string text: ""
        property bool checked: false

        signal toggled

        width: switchRow.width
        height: 12
        Accessible.role: Accessible.CheckBox
        Accessible.name: text
        Accessible.checkable: true
        Accessible.checked: checked
        Accessible.onPressAction: box.toggled()

        Row {
            id: switchRow

            spacing: 5

            Rectangle {
                width: 12
                height: 12
                color: "#141414"
                border.color: box.checked ? "#ea5514" : "#8a8a8a"

                Rectangle {
                    anchors.centerIn: parent
                    width: 6
                    height: 6
                    visible: box.checked
                    color: "#ea5514"
                }
            }
            Caption {
                height: 12
                text: box.text
            }
        }
        MouseArea {
            anchors.fill: parent
            onClicked: box.toggled()
        }
    }
    // A dialog over the page: its mask takes every click and drags the page.
    component InsertDialog: Item {
        id: dialog

        property string title: ""
        default property alias content: body.data

        signal accepted

        anchors.fill: parent
        visible: false
        Accessible.role: Accessible.Dialog
        Accessible.name: title

        MouseArea {
            anchors.fill: parent
            property point pressedAt
            onPressed: mouse => pressedAt = Qt.point(mouse.x, mouse.y)
            onPositionChanged: mouse => page.dragBy(mouse.x - pressedAt.x, mouse.y - pressedAt.y)
        }
        // A plain sheet: the page's picture would show its list frames through.
        Rectangle {
            anchors.fill: parent
            color: "#1b1b1b"
            border.color: "#3a3a3a"

            Rectangle {
                y: 30
                width: parent.width
                height: 1
                color: "#3a3a3a"
            }
        }
        Caption {
            x: 13
            height: 30
            text: dialog.title
        }
        Item {
            id: body

            anchors.fill: parent
        }
        PageButton {
            x: 238
            y: 396
            width: 54
            height: 28
            text: page.macroEditorLang[10]
            onClicked: {
                dialog.visible = false
                dialog.accepted()
            }
        }
        PageButton {
            x: 296
            y: 396
            width: 54
            height: 28
            text: page.macroEditorLang[11]
            onClicked: dialog.visible = false
        }
    }

    // Moves the page, kept inside its parent.
    function dragBy(dx, dy) {
        if (!parent)
            return
        x = Math.max(0, Math.min(x + dx, parent.width - width))
        y = Math.max(0, Math.min(y + dy, parent.height - height))
    }
    MouseArea {
        anchors.fill: parent
        property point pressedAt
        onPressed: mouse => {
            page.macroEditorFocus()
            pressedAt = Qt.point(mouse.x, mouse.y)
        }
        onPositionChanged: mouse => page.dragBy(mouse.x - pressedAt.x, mouse.y - pressedAt.y)
    }
    Caption {
        x: 13
        height: 30
        text: page.macroEditorLang[0]
    }
    Repeater {
        model: [{ x: 15, text: 1 }, { x: 147, text: 3 }, { x: 279, text: 2 }]

        Caption {
            required property var modelData

            x: modelData.x
            y: 59
            width: 118
            horizontalAlignment: Text.AlignHCenter
            text: page.macroEditorLang[modelData.text]
        }
    }

    // The gun list with its inline rename.
    ListView {
        id: gunList

        property int renaming: -1
        property string renameText: ""

        function endRename(apply) {
            const position = renaming
            if (position < 0)
                return
            renaming = -1
            if (apply)
                page.renameGun(position, renameText)
        }

        x: 18
        y: 80
        width: 116
        height: 280
        clip: true
        model: macroNumberModel
        currentIndex: -1
        boundsBehavior: Flickable.StopAtBounds
        Accessible.role: Accessible.List
        Accessible.name: page.macroEditorLang[1]

        delegate: Rectangle {
            id: gunRow

            required property int index
            required property string macroName

            width: ListView.view.width
            height: 18
            color: ListView.isCurrentItem ? "#b03b3b" : gunArea.containsMouse ? "#999999" : "transparent"
            Accessible.role: Accessible.ListItem
            Accessible.name: macroName
            Accessible.selected: ListView.isCurrentItem
            Accessible.onPressAction: page.selectGun(index)

            Caption {
                x: 4
                height: parent.height
                visible: gunList.renaming !== gunRow.index
                text: gunRow.macroName
            }
            MouseArea {
                id: gunArea

                anchors.fill: parent
                hoverEnabled: true
                onClicked: {
                    page.macroEditorFocus()
                    page.selectGun(gunRow.index)
                }
                onDoubleClicked: {
                    gunList.renameText = gunRow.macroName
                    gunList.renaming = gunRow.index
                }
            }
            TextInput {
                x: 4
                width: parent.width - 8
                height: parent.height
                visible: gunList.renaming === gunRow.index
                color: "#ffffff"
                selectionColor: "#fa6726"
                verticalAlignment: TextInput.AlignVCenter
                Accessible.role: Accessible.EditableText
                Accessible.name: "Gun name"
                onVisibleChanged: {
                    if (!visible)
                        return
                    text = gunList.renameText
                    selectAll()
                    forceActiveFocus()
                }
                onTextChanged: if (visible) gunList.renameText = text
                onAccepted: gunList.endRename(true)
                Keys.onEscapePressed: gunList.endRename(false)
            }
        }
    }
    Caption {
        x: 18
        y: 398
        width: 200
        height: 14
        visible: page.renameHint !== ""
        color: "#ea5514"
        text: page.renameHint
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }
    PageButton {
        x: 18
        y: 369
        width: 58
        height: 25
        text: page.macroEditorLang[8]
        onClicked: page.createGun()
    }
    PageButton {
        x: 76
        y: 369
        width: 58
        height: 25
        text: page.macroEditorLang[9]
        onClicked: page.deleteGun()
    }

    EventList {
        id: eventList

        x: 150
        y: 78
        width: 116
        height: 280
        gunVariant: true
        lengthChecked: false
        loopCount: page.loopCount()
        recordPauses: recTime.checked
        accessibleName: page.macroEditorLang[2]
        editableRanges: ({ "0": [GunRules.delayMin, GunRules.delayMax],
                           "5": [GunRules.offsetMin, GunRules.offsetMax],
                           "6": [GunRules.offsetMin, GunRules.offsetMax] })
        onEdited: page.autoSave()
        onRowPressed: contextMenu.visible = false
        onMenuRequested: (position, at) => contextMenu.openAt(Qt.point(at.x + eventList.x, at.y + eventList.y), position)
    }

    PageButton {
        id: recordButton

        x: 279 + (118 - width) / 2
        y: 91
        width: 89
        height: 24
        text: page.macroEditorLang[eventList.recording ? 5 : 4]
        onClicked: page.toggleRecording()
    }
    Column {
        x: recordButton.x
        y: recordButton.y + recordButton.height + 9
        spacing: 9
        opacity: eventList.recording ? 0.3 : 1
        enabled: !eventList.recording

        Repeater {
            model: [17, 18, 19, 16]

            PageButton {
                required property int modelData
                required property int index

                width: 89
                height: 24
                text: page.macroEditorLang[modelData]
                onClicked: page.openInsertDialog(index)
            }
        }
    }
    Switch {
        id: recTime

        x: 297
        y: 285
        text: page.macroEditorLang[6]
        onToggled: checked = !checked
    }
    Switch {
        x: 297
        y: 285 + 12 + 6
        text: page.macroEditorLang[7]
        checked: page.loopsEnabled
        onToggled: {
            page.loopsEnabled = !page.loopsEnabled
            if (!page.loopsEnabled)
                page.loopText = "1"
        }
    }
    Rectangle {
        x: 297
        y: 333
        width: 82
        height: 14
        color: "#141414"
        border.color: loopField.activeFocus ? "#ea5514" : "#8a8a8a"
        opacity: page.loopsEnabled ? 1 : 0.5

        TextInput {
            id: loopField

            anchors.fill: parent
            anchors.leftMargin: 3
            enabled: page.loopsEnabled
            color: "#ffffff"
            text: page.loopText
            validator: IntValidator { bottom: MacroRules.minLoops; top: MacroRules.maxLoops }
            Accessible.role: Accessible.EditableText
            Accessible.name: "Loops"
            onTextEdited: page.loopText = text
            onActiveFocusChanged: {
                if (activeFocus)
                    return
                page.loopText = MacroRules.loopText(text)
                text = Qt.binding(() => page.loopText)
                page.autoSave()
            }
        }
    }
    PageButton {
        x: 238
        y: 396
        width: 54
        height: 28
        text: page.macroEditorLang[10]
        onClicked: page.close()
    }
    PageButton {
        x: 296
        y: 396
        width: 54
        height: 28
        text: page.macroEditorLang[11]
        onClicked: page.close()
    }

    // The context menu of the event rows.
    Rectangle {
        id: contextMenu

        property int row: -1

        function openAt(at, position) {
            row = position
            x = Math.max(0, Math.min(at.x, page.width - width))
            y = Math.max(0, Math.min(at.y, page.height - height))
            visible = true
        }

        width: 159
        height: 105
        visible: false
        color: "#6f2929"
        border.width: 1
        border.color: "#8f2020"
        Accessible.role: Accessible.PopupMenu
        Accessible.name: "Event commands"

        Column {
            Repeater {
                model: page.contextMenuTexts

                Rectangle {
                    required property int index
                    required property string modelData

                    width: contextMenu.width
                    height: 21
                    color: entryArea.containsMouse ? "#8f2020" : "transparent"
                    Accessible.role: Accessible.MenuItem
                    Accessible.name: modelData
                    Accessible.onPressAction: entryArea.clicked(null)

                    Caption {
                        x: 6
                        height: parent.height
                        text: parent.modelData
                    }
                    MouseArea {
                        id: entryArea

                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: {
                            contextMenu.visible = false
                            page.contextCommand(parent.index, contextMenu.row)
                        }
                    }
                }
            }
        }
    }

    // --- the four insert dialogs ---
    function openInsertDialog(which) {
        macroEditorFocus()
        const dialogs = [keyDialog, mouseDialog, cursorDialog, delayDialog]
        dialogs.forEach((dialog, i) => dialog.visible = false)
        dialogs[which].reset()
        dialogs[which].visible = true
    }
    // A text field of a dialog: grey, lit while it has the focus.
    component DialogField: Rectangle {
        property bool lit: false

        color: lit ? "#6b6868" : "#4a4a4a"
        border.color: lit ? "#ea5514" : "#8a8a8a"
    }

    InsertDialog {
        id: keyDialog

        property string keyName: ""
        property bool blinking: false

        function reset() {
            keyName = ""
            blinking = false
        }
        // A click clears the field and waits for the next key.
        function waitForKey() {
            keyName = ""
            blinking = true
            page.isInsertting = true
        }

        title: page.macroEditorLang[20]
        onVisibleChanged: if (!visible) blinking = false
        onAccepted: page.insertKey(page.selectedRow, keyName)

        Caption {
            x: 51
            y: 120
            text: page.macroEditorLang[21]
        }
        DialogField {
            x: 51
            y: 146
            width: 312
            height: 38
            lit: keyDialog.blinking
            Accessible.role: Accessible.EditableText
            Accessible.name: page.macroEditorLang[21]
            Accessible.description: keyDialog.keyName
            Accessible.onPressAction: keyDialog.waitForKey()

            Caption {
                id: keyText

                x: 8
                height: parent.height
                text: keyDialog.keyName
            }
            Rectangle {
                id: caretBar

                x: keyText.x + keyText.contentWidth + 1
                y: 9
                width: 1
                height: 20
                color: "#ffffff"
                visible: keyDialog.blinking && blinkTimer.shown
            }
            Timer {
                id: blinkTimer

                property bool shown: true

                interval: 500
                repeat: true
                running: keyDialog.blinking
                onRunningChanged: shown = true
                onTriggered: shown = !shown
            }
            MouseArea {
                anchors.fill: parent
                onClicked: keyDialog.waitForKey()
            }
        }
    }
    InsertDialog {
        id: mouseDialog

        property int picked: 0

        function reset() {
            picked = 0
        }

        title: page.macroEditorLang[27]
        onAccepted: page.insertMouse(page.selectedRow, GunRules.dialogButtons[picked])

        Repeater {
            model: [Qt.point(15, 46), Qt.point(153, 46), Qt.point(287, 46), Qt.point(15, 186), Qt.point(153, 186)]

            Rectangle {
                required property int index
                required property point modelData

                x: modelData.x
                y: modelData.y
                width: 113
                height: 117
                radius: 4
                color: mouseDialog.picked === index ? "#6f2929" : areaHover.containsMouse ? "#3a3a3a" : "#222222"
                border.color: mouseDialog.picked === index ? "#ea5514" : "#555555"
                Accessible.role: Accessible.RadioButton
                Accessible.name: GunRules.dialogButtons[index]
                Accessible.checkable: true
                Accessible.checked: mouseDialog.picked === index
                Accessible.onPressAction: mouseDialog.picked = index

                SkinImage {
                    anchors.centerIn: parent
                    anchors.verticalCenterOffset: -10
                    width: 48
                    height: 48
                    source: "qrc:/macros/modules/img/skin1/macros/mouse.svg"
                }
                Caption {
                    anchors.horizontalCenter: parent.horizontalCenter
                    y: parent.height - 24
                    text: GunRules.dialogButtons[parent.index]
                }
                MouseArea {
                    id: areaHover

                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: mouseDialog.picked = parent.index
                }
            }
        }
    }
    InsertDialog {
        id: delayDialog

        function reset() {
            delayField.text = GunRules.dialogDelay
        }

        title: page.macroEditorLang[22]
        onAccepted: page.insertDelay(page.selectedRow, GunRules.editedDelay(delayField.text, GunRules.fallbackDelay))

        Caption {
            x: 51
            y: 120
            text: page.macroEditorLang[23]
        }
        DialogField {
            x: 51
            y: 146
            width: 300
            height: 38
            lit: delayField.activeFocus

            TextInput {
                id: delayField

                x: 8
                width: parent.width - 16
                height: parent.height
                verticalAlignment: TextInput.AlignVCenter
                color: "#ffffff"
                text: GunRules.dialogDelay
                validator: IntValidator { bottom: GunRules.delayMin; top: GunRules.delayMax }
                Accessible.role: Accessible.EditableText
                Accessible.name: page.macroEditorLang[23]
                onActiveFocusChanged: if (!activeFocus) text = GunRules.editedDelay(text, GunRules.fallbackDelay)
            }
        }
        Caption {
            x: 356
            y: 146
            height: 38
            text: "MS"
        }
    }
    InsertDialog {
        id: cursorDialog

        function reset() {
            xField.text = "0"
            yField.text = "0"
            dot.x = 126
            dot.y = 126
        }
        function padAt(x, y) {
            const point = GunRules.padPoint(x, y)
            dot.x = point.x
            dot.y = point.y
            xField.text = String(point.offsetX)
            yField.text = String(point.offsetY)
        }

        title: page.macroEditorLang[24]
        onAccepted: page.insertCursor(page.selectedRow, GunRules.editedOffset(xField.text, "0"),
                                      GunRules.editedOffset(yField.text, "0"))

        SkinImage {
            id: pad

            x: 79
            y: 74
            width: 256
            height: 256
            source: "qrc:/gun/modules/img/skin1/gun/mousePad.svg"
            Accessible.role: Accessible.Graphic
            Accessible.name: "Cursor pad"
            Accessible.description: xField.text + ", " + yField.text

            Rectangle {
                id: dot

                x: 126
                y: 126
                width: 5
                height: 5
                color: "#ff0000"
            }
            MouseArea {
                anchors.fill: parent
                onPressed: mouse => cursorDialog.padAt(mouse.x, mouse.y)
                onPositionChanged: mouse => cursorDialog.padAt(mouse.x, mouse.y)
            }
        }
        Caption {
            x: 46
            y: 338
            height: 20
            text: page.macroEditorLang[25]
        }
        DialogField {
            x: 100
            y: 338
            width: 80
            height: 20
            lit: xField.activeFocus

            TextInput {
                id: xField

                anchors.fill: parent
                anchors.leftMargin: 4
                verticalAlignment: TextInput.AlignVCenter
                color: "#ffffff"
                text: "0"
                validator: IntValidator { bottom: GunRules.offsetMin; top: GunRules.offsetMax }
                Accessible.role: Accessible.EditableText
                Accessible.name: page.macroEditorLang[25]
            }
        }
        Caption {
            x: 206
            y: 338
            height: 20
            text: page.macroEditorLang[26]
        }
        DialogField {
            x: 260
            y: 338
            width: 80
            height: 20
            lit: yField.activeFocus

            TextInput {
                id: yField

                anchors.fill: parent
                anchors.leftMargin: 4
                verticalAlignment: TextInput.AlignVCenter
                color: "#ffffff"
                text: "0"
                validator: IntValidator { bottom: GunRules.offsetMin; top: GunRules.offsetMax }
                Accessible.role: Accessible.EditableText
                Accessible.name: page.macroEditorLang[26]
            }
        }
    }
}
