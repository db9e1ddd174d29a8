// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import "../common"
import "MacroRules.js" as MacroRules

// The macro manager: the macro library's list (new, rename, delete), the
// selected macro's events (record, edit delays, insert mouse buttons and
// delays) and its loop count. Every change is saved and re-sent to the
// device slots that use the macro when it is made, so closing undoes nothing.
SkinImage {
    id: page

    property var macroEditorLang: ["Macro Manager", "Macro", "Sequence", "Options", "Start Record", "Stop Record",
        "Rec Time", "Loops Timer", "New", "Delete", "OK", "Cancel", "Delete", "Insert Left Button",
        "Insert Middle Button", "Insert Right Button", "Insert Delay", "", "", ""]
    readonly property alias macroListModel: macroNumberModel
    readonly property bool isInputting: events.recording
    // Ticks of 10 ms since the last recorded event.
    readonly property alias macroRecordCount: events.ticks
    property string hint: ""

    // Emitted before `macroName` is deleted, so the button page unbinds it.
    signal deleteMacroSignal(string macroName)
    // A macro got another name: the button page relabels its buttons.
    signal macroRenamed
    signal closeUI

    // Builds the list from the library, ordered by stored index.
    function init() {
        const names = MacroRules.shownNames(ui_View.getNameList(0))
        const entries = names.map(name => ({ name: name, index: Number(ui_View.loadMacroIndex(name)),
                                             type: Number(ui_View.loadMacroType(name)) }))
        macroNumberModel.clear()
        for (const element of MacroRules.orderedList(entries))
            macroNumberModel.append(element)
        list.currentIndex = -1
        events.clear()
    }
    // Ends inline edits and closes the menu; the window calls it when the
    // user presses around the page.
    function macroEditorFocus() {
        endRename(true)
        events.endEditing(true)
        menu.visible = false
        forceActiveFocus()
    }
    function open() {
        hint = ""
        visible = true
        forceActiveFocus()
    }
    // Recording goes on when the page closes.
    function close() {
        macroEditorFocus()
        visible = false
        closeUI()
    }

    function names() {
        const all = []
        for (let i = 0; i < macroNumberModel.count; ++i)
            all.push(macroNumberModel.get(i).macroName)
        return all
    }
    function selectedName() {
        return list.currentIndex >= 0 ? macroNumberModel.get(list.currentIndex).macroName : ""
    }
    function storeList() {
        ui_View.updataNameList(0, names())
    }
    // Shows the events and the loop count of the macro at `position`.
    function select(position) {
        list.currentIndex = position
        if (position < 0) {
            events.clear()
            return
        }
        const stored = MacroRules.eventsOfLines(ui_View.loadMacroIni(macroNumberModel.get(position).macroName))
        events.setEvents(stored.events)
        loopField.text = stored.loops
    }
    function newMacro() {
        macroEditorFocus()
        const all = names()
        if (!MacroRules.mayCreate(all.length)) {
            console.warn(log, "new macro refused: the library holds", MacroRules.maxEntries, "macros")
            return
        }
        const name = MacroRules.freeName(all)
        const no = macroNumberModel.count
        macroNumberModel.append({ macroName: name, no: no, macroType: 0 })
        ui_View.createMacroIni(name, no)
        select(no)
        storeList()
    }

    // --- renaming ---
    function startRename(position) {
        if (position < 0 || position >= macroNumberModel.count)
            return
        menu.visible = false
        d.editText = macroNumberModel.get(position).macroName
        d.editingPosition = position
    }
    function endRename(apply) {
        const position = d.editingPosition
        if (position < 0)
            return
        d.editingPosition = -1
        page.forceActiveFocus()
        if (apply)
            rename(position, d.editText)
    }
    // A taken name (its own included) changes nothing; a name that cannot be
    // a file name, or a rename the library refuses, shows a hint.
    function rename(position, name) {
        const problem = MacroRules.renameProblem(names(), name)
        if (problem === "taken")
            return
        if (problem === "unsafe") {
            hint = "Not a valid name"
            console.warn(log, "macro rename refused: not a file name")
            return
        }
        const old = macroNumberModel.get(position).macroName
        if (!ui_View.modifyMacroName(old, name)) {
            hint = "Rename failed"
            console.warn(log, "macro rename failed in the library")
            return
        }
        hint = ""
        macroNumberModel.setProperty(position, "macroName", String(name))
        storeList()
        macroRenamed()
    }

    function deleteMacro() {
        macroEditorFocus()
        const p = list.currentIndex
        if (p < 0)
            return
        const name = macroNumberModel.get(p).macroName
        deleteMacroSignal(name)
        ui_View.deleteMacroIni(name)
        events.clear()
        const after = MacroRules.listAfterDelete(d.elements(), p)
        macroNumberModel.clear()
        for (const element of after)
            macroNumberModel.append(element)
        select(Math.min(p, macroNumberModel.count - 1))
        for (const element of after)
            ui_View.setMacroIndex(element.macroName, element.no)
        ui_View.changeMacroFileIndex(p + 1)
        storeList()
    }

    // --- recording and saving ---
    function toggleRecord() {
        macroEditorFocus()
        if (events.recording) {
            events.stopRecording()
            autoSave()
        } else {
            events.startRecording()
        }
    }
    // A key event from the keyboard hook; the window forwards them while recording.
    function detectKeyboard(isDown, usbCode) {
        if (!events.recording)
            return
        const name = usbCode < MacroRules.firstMouseCode ? _KeyCodeString.keycodeTostr(usbCode)
                                                         : _KeyCodeString.mousecodeTostr(usbCode)
        if (name === "")
            return
        events.recordEvent(isDown, usbCode, name)
    }
    function loopCount() {
        return MacroRules.loopCount(loopField.text)
    }
    function autoSave() {
        const name = selectedName()
        if (name === "")
            return
        ui_View.saveMacroIni(name, events.lines(), events.image(loopCount()), loopCount())
        const uses = ui_View.isMacroUse(name)
        for (let i = 1; i < uses.length; ++i)
            sendMacro(Number(uses[i]), name)
    }
    // Uploads the stored macro `macroName` into device slot `index`; what the
    // page shows is left as it is.
    function sendMacro(index, macroName) {
        const lines = ui_View.loadMacroIni(macroName)
        if (lines.length === 0) {
            console.warn(log, "macro for slot", index, "not found in the library")
            return
        }
        const stored = MacroRules.eventsOfLines(lines)
        const loops = MacroRules.loopCount(stored.loops)
        ui_View.sendMacroData(ui_View.encodeMacroLines(MacroRules.eventLines(stored.events), loops, false), index)
    }

    // --- context menu ---
    function menuCommand(command) {
        menu.visible = false
        const position = events.currentIndex
        if (position < 0)
            return
        const all = events.eventArray()
        if (command === 0) {
            all.splice(position, 1)
            events.setEvents(all, Math.min(position, all.length - 1))
        } else if (command <= 3) {
            if (!events.mayAdd())
                return
            events.setEvents(MacroRules.buttonInsert(all, position, command - 1), position)
        } else {
            if (!events.mayAdd())
                return
            const result = MacroRules.delayInsert(all, position)
            events.setEvents(result.events, result.selected)
        }
        autoSave()
    }
    function setLoopsEnabled(on) {
        d.loopsEnabled = on
        if (!on)
            loopField.text = String(MacroRules.defaultLoops)
    }

    width: 414
    height: 430
    visible: false
    source: mainIten.skin("macros", "editorBG.svg")
    Accessible.role: Accessible.Dialog
    Accessible.name: macroEditorLang[0]
    Keys.onEscapePressed: menu.visible ? menu.visible = false : close()

    LoggingCategory {
        id: log

        name: "quellar.ui"
        defaultLogLevel: LoggingCategory.Warning
    }
    QtObject {
        id: d

        property int editingPosition: -1
        property string editText: ""
        property bool loopsEnabled: false
        property bool recordPauses: false

        function elements() {
            const all = []
            for (let i = 0; i < macroNumberModel.count; ++i) {
                const element = macroNumberModel.get(i)
                all.push({ macroName: element.macroName, no: element.no, macroType: element.macroType })
            }
            return all
        }
    }
    ListModel {
        id: macroNumberModel
    }

    MouseArea {
        // Free spots drag the page inside the window and end every edit.
        anchors.fill: parent
        acceptedButtons: Qt.LeftButton | Qt.RightButton
        drag.target: page
        drag.minimumX: 0
        drag.minimumY: 0
        drag.maximumX: page.parent ? page.parent.width - page.width : 0
        drag.maximumY: page.parent ? page.parent.height - page.height : 0
        onPressed: page.macroEditorFocus()
    }
    Text {
        x: 13
        height: 30
        verticalAlignment: Text.AlignVCenter
        text: page.macroEditorLang[0]
        color: "#e6e6e6"
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontNormalSize
        font.weight: Font.Medium
    }
    Repeater {
        model: [{ x: 15, text: 1 }, { x: 147, text: 3 }, { x: 279, text: 2 }]

        Text {
            required property var modelData

            x: modelData.x
            y: 59
            width: 118
            horizontalAlignment: Text.AlignHCenter
            text: page.macroEditorLang[modelData.text]
            color: "#b3b3b3"
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontNormalSize
        }
    }

    ListView {
        id: list

        x: 18
        y: 80
        width: 116
        height: 280
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        model: macroNumberModel
        currentIndex: -1
        highlightFollowsCurrentItem: false
        interactive: contentHeight > height
        Accessible.role: Accessible.List
        Accessible.name: page.macroEditorLang[1]

        delegate: Rectangle {
            id: row

            required property int index
            required property string macroName

            readonly property bool editing: d.editingPosition === index

            width: ListView.view.width
            height: 18
            color: ListView.isCurrentItem ? "#b03b3b" : rowArea.containsMouse ? "#999999" : "transparent"
            Accessible.role: Accessible.ListItem
            Accessible.name: macroName
            Accessible.selected: ListView.isCurrentItem
            Accessible.onPressAction: page.select(index)

            Text {
                x: 6
                anchors.verticalCenter: parent.verticalCenter
                width: parent.width - 12
                visible: !row.editing
                elide: Text.ElideRight
                text: row.macroName
                color: mainIten.fontColor
                font.family: mainIten.fontFamily
                font.pixelSize: mainIten.fontNormalSize
            }
            MouseArea {
                id: rowArea

                anchors.fill: parent
                hoverEnabled: true
                onClicked: {
                    page.macroEditorFocus()
                    if (row.index !== list.currentIndex)
                        page.select(row.index)
                }
                onDoubleClicked: page.startRename(row.index)
            }
            Rectangle {
                x: 2
                width: parent.width - 4
                height: parent.height
                visible: row.editing
                color: "#141414"
                border.width: 1
                border.color: "#fa6726"
            }
            TextInput {
                x: 6
                anchors.verticalCenter: parent.verticalCenter
                width: parent.width - 12
                visible: row.editing
                clip: true
                color: mainIten.fontColor
                selectionColor: "#fa6726"
                selectedTextColor: "#ffffff"
                font.family: mainIten.fontFamily
                font.pixelSize: mainIten.fontNormalSize
                Accessible.role: Accessible.EditableText
                Accessible.name: "Macro name"
                onVisibleChanged: {
                    if (!visible)
                        return
                    text = d.editText
                    selectAll()
                    forceActiveFocus()
                }
                onTextChanged: {
                    if (row.editing)
                        d.editText = text
                }
                onAccepted: page.endRename(true)
                onActiveFocusChanged: {
                    if (!activeFocus && row.editing)
                        page.endRename(true)
                }
                Keys.onEscapePressed: page.endRename(false)
            }
        }
    }
    Repeater {
        model: [{ x: 18, text: 8 }, { x: 18 + 116 - 58, text: 9 }]

        ImageButton {
            required property var modelData

            x: modelData.x
            y: 80 + 280 + 9
            width: 58
            height: 25
            source: mainIten.skin("macros", "smallBtn.svg")
            hoverSource: mainIten.skin("macros", "smallBtn_hover.svg")
            pressedSource: mainIten.skin("macros", "smallBtn_pressed.svg")
            text: page.macroEditorLang[modelData.text]
            onClicked: modelData.text === 8 ? page.newMacro() : page.deleteMacro()
        }
    }
    Text {
        x: 15
        y: 398
        width: 260
        visible: page.hint !== ""
        text: page.hint
        color: "#fa6726"
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontMinSize
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }

    EventList {
        id: events

        x: 150
        y: 78
        width: 116 + 15
        height: 280
        accessibleName: page.macroEditorLang[2]
        recordPauses: d.recordPauses
        loopCount: page.loopCount()
        fontFamily: mainIten.fontFamily
        fontSize: mainIten.fontNormalSize
        textColor: mainIten.fontColor
        onEdited: page.autoSave()
        onRowPressed: {
            page.endRename(true)
            menu.visible = false
        }
        onMenuRequested: (position, at) => menu.openAt(mapToItem(page, at.x, at.y + 3))
    }
    Item {
        // The caption sits right of the record dot in the small font, so
        // "Stop Record" fits the button.
        x: 279 + (118 - width) / 2
        y: 59 + 32
        width: 89
        height: 24
        Accessible.role: Accessible.Button
        Accessible.name: page.macroEditorLang[events.recording ? 5 : 4]
        Accessible.onPressAction: page.toggleRecord()

        SkinImage {
            anchors.fill: parent
            source: mainIten.skin("macros", events.recording ? "recordBtn_on.svg"
                                          : recordArea.pressed ? "recordBtn_pressed.svg"
                                          : recordArea.containsMouse ? "recordBtn_hover.svg" : "recordBtn.svg")
        }
        Text {
            x: 21
            width: parent.width - 24
            anchors.verticalCenter: parent.verticalCenter
            horizontalAlignment: Text.AlignHCenter
            elide: Text.ElideRight
            text: parent.Accessible.name
            color: mainIten.fontColor
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontMinSize
        }
        MouseArea {
            id: recordArea

            anchors.fill: parent
            hoverEnabled: true
            cursorShape: Qt.PointingHandCursor
            onClicked: page.toggleRecord()
        }
    }
    Repeater {
        model: [{ y: 285, text: 6 }, { y: 285 + 14 + 6, text: 7 }]

        Item {
            id: toggle

            required property var modelData
            readonly property bool on: modelData.text === 6 ? d.recordPauses : d.loopsEnabled

            function flip() {
                if (modelData.text === 6)
                    d.recordPauses = !d.recordPauses
                else
                    page.setLoopsEnabled(!d.loopsEnabled)
            }

            x: 297
            y: modelData.y
            width: 100
            height: 14
            Accessible.role: Accessible.CheckBox
            Accessible.name: page.macroEditorLang[modelData.text]
            Accessible.checkable: true
            Accessible.checked: on
            Accessible.onPressAction: flip()
            Accessible.onToggleAction: flip()

            SkinImage {
                width: 14
                height: 14
                source: toggle.on ? mainIten.sourceToggleOn : mainIten.sourceToggleOff
            }
            Text {
                x: 20
                anchors.verticalCenter: parent.verticalCenter
                text: page.macroEditorLang[toggle.modelData.text]
                color: mainIten.fontColor
                font.family: mainIten.fontFamily
                font.pixelSize: mainIten.fontMinSize
            }
            MouseArea {
                anchors.fill: parent
                anchors.margins: -3
                cursorShape: Qt.PointingHandCursor
                onClicked: {
                    page.macroEditorFocus()
                    toggle.flip()
                }
            }
        }
    }
    Rectangle {
        x: 297
        y: 333
        width: 82
        height: 14
        color: "#141414"
        border.width: 1
        border.color: loopField.activeFocus ? "#fa6726" : "#626262"
        opacity: d.loopsEnabled ? 1 : 0.5

        TextInput {
            id: loopField

            anchors.fill: parent
            anchors.leftMargin: 4
            verticalAlignment: TextInput.AlignVCenter
            enabled: d.loopsEnabled
            text: "1"
            clip: true
            color: mainIten.fontColor
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontMinSize
            validator: IntValidator { bottom: MacroRules.minLoops; top: MacroRules.maxLoops }
            Accessible.role: Accessible.EditableText
            Accessible.name: "Loops"
            onAccepted: page.forceActiveFocus()
            onActiveFocusChanged: {
                if (activeFocus)
                    return
                text = MacroRules.loopText(text)
                page.autoSave()
            }
        }
    }
    Row {
        x: page.width - 64 - 54
        y: page.height - 6 - 28
        spacing: 4

        Repeater {
            model: [10, 11]

            ImageButton {
                required property int modelData

                width: 54
                height: 28
                source: mainIten.sourcemacroSaveBtn
                hoverSource: mainIten.sourcemacroSaveBtnH
                pressedSource: mainIten.sourcemacroSaveBtnP
                text: page.macroEditorLang[modelData]
                onClicked: page.close()
            }
        }
    }
    Rectangle {
        id: menu

        // Opens at `at` (a point in the page), kept inside the page.
        function openAt(at) {
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
                model: [12, 13, 14, 15, 16]

                Rectangle {
                    id: entry

                    required property int index
                    required property int modelData

                    width: menu.width
                    height: 21
                    color: entryArea.containsMouse ? "#8f2020" : "transparent"
                    Accessible.role: Accessible.MenuItem
                    Accessible.name: page.macroEditorLang[modelData]
                    Accessible.onPressAction: page.menuCommand(index)

                    Text {
                        x: 10
                        anchors.verticalCenter: parent.verticalCenter
                        text: page.macroEditorLang[entry.modelData]
                        color: mainIten.fontColor
                        font.family: mainIten.fontFamily
                        font.pixelSize: mainIten.fontNormalSize
                    }
                    MouseArea {
                        id: entryArea

                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: page.menuCommand(entry.index)
                    }
                }
            }
        }
    }
}
