// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import "../common"
import "KeyRules.js" as KeyRules
import "MacroRules.js" as MacroRules

// Binds a macro to the selected button with a run mode: the name comes from a
// drop-down list of the macro library (of the recoil library in recoil mode),
// OK finds the macro a device slot, binds the button through the button page
// and uploads the macro into the slot.
SkinImage {
    id: dialog

    property var macroKeyLang: ["Macro Key", "Please select a macro",
        "Macro runs one-time after\npressing the button", "Macro runs endless loop\nuntil any button is pressed",
        "Macro runs endless loop\nuntil button is released", "OK", "Cancel", "Key", "Please assign a Key", ""]
    // 0 binds a macro, 1 a recoil sequence.
    property int uiType: 0
    // Run mode 0, 1 or 2.
    property int macroType: 0
    property bool isOpen: false
    // The recoil slot a recoil binding is for.
    property int gunIndex: -1
    property string chosenName: ""
    // The button page, the macro editor (its list and uploads), the list of
    // the recoil library, and the button the dialog binds.
    property var keyMatrix: null
    property var macroEditor: null
    property var gunListModel: null
    property int selectedButton: -1

    signal closeSure
    // OK in recoil mode: the recoil page binds `name` to recoil slot `gunIndex`.
    signal gunChosen(int gunIndex, string name, int runMode)

    function open(type, runMode) {
        uiType = type
        macroType = runMode
        chosenName = ""
        isOpen = false
        visible = true
        forceActiveFocus()
    }
    function choose(name) {
        chosenName = name
        isOpen = false
    }
    function listModel() {
        return uiType === 1 ? gunListModel : (macroEditor ? macroEditor.macroListModel : null)
    }
    // The slot the chosen macro takes, or MacroRules.noSlot.
    function slotFor(matrix) {
        return MacroRules.macroSlot(matrix, selectedButton)
    }
    function accept() {
        if (uiType === 1) {
            if (chosenName !== "")
                gunChosen(gunIndex, chosenName, macroType)
        } else if (chosenName !== "" && keyMatrix && macroEditor && selectedButton >= 0) {
            bindMacro()
        }
        closeSure()
    }
    function bindMacro() {
        const matrix = keyMatrix.allMatrices()[0]
        if (!KeyRules.mayReplace(matrix, selectedButton))
            return
        const slot = slotFor(matrix)
        if (slot === MacroRules.noSlot) {
            console.warn(log, "macro binding refused: all", MacroRules.macroSlots, "macro slots are in use")
            return
        }
        ui_View.setMacroKey(slot, chosenName)
        keyMatrix.modifyData(selectedButton, MacroRules.typeMacro, macroType, slot, 0)
        keyMatrix.refreashUI()
        macroEditor.sendMacro(slot, chosenName)
        keyMatrix.cancelGunKeyFun(selectedButton)
    }

    width: 400
    height: 300
    visible: false
    source: mainIten.skin("macros", "macroKeyBG.svg")
    Accessible.role: Accessible.Dialog
    Accessible.name: macroKeyLang[0]
    Keys.onEscapePressed: isOpen ? isOpen = false : closeSure()

    LoggingCategory {
        id: log

        name: "quellar.ui"
        defaultLogLevel: LoggingCategory.Warning
    }
    MouseArea {
        // The body takes its clicks and closes the drop-down list.
        anchors.fill: parent
        onPressed: dialog.isOpen = false
    }
    Text {
        x: 13
        height: 30
        verticalAlignment: Text.AlignVCenter
        text: dialog.macroKeyLang[0]
        color: "#e6e6e6"
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontNormalSize
        font.weight: Font.Medium
    }
    ImageButton {
        x: 360
        y: 8
        width: 22
        height: 22
        source: mainIten.sourceMinBtn
        hoverSource: mainIten.sourceMinBtnHover
        accessibleName: "Close macro key dialog"
        onClicked: dialog.closeSure()
    }
    Text {
        x: 41
        y: nameField.y - 6 - height
        text: dialog.macroKeyLang[1]
        color: "#b3b3b3"
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontNormalSize
    }
    Rectangle {
        id: nameField

        x: 41
        y: 128
        width: 93
        height: 16
        color: "#141414"
        border.color: fieldArea.containsMouse ? "#fa6726" : "#626262"
        Accessible.role: Accessible.ComboBox
        Accessible.name: dialog.macroKeyLang[1]
        Accessible.description: dialog.chosenName
        Accessible.onPressAction: dialog.isOpen = !dialog.isOpen

        Text {
            x: 4
            width: parent.width - 20
            anchors.verticalCenter: parent.verticalCenter
            elide: Text.ElideRight
            text: dialog.chosenName
            color: mainIten.fontColor
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontMinSize
        }
        SkinImage {
            x: parent.width - 14
            anchors.verticalCenter: parent.verticalCenter
            width: 10
            height: 6
            source: mainIten.skin("macros", "dropArrow.svg")
        }
        MouseArea {
            id: fieldArea

            anchors.fill: parent
            hoverEnabled: true
            cursorShape: Qt.PointingHandCursor
            onClicked: dialog.isOpen = !dialog.isOpen
        }
    }
    Repeater {
        model: [0, 1, 2]

        Item {
            id: mode

            required property int modelData
            readonly property bool chosen: dialog.macroType === modelData

            x: 220
            y: 78 + 50 * modelData
            width: 170
            height: 34
            Accessible.role: Accessible.RadioButton
            Accessible.name: dialog.macroKeyLang[2 + modelData].replace("\n", " ")
            Accessible.checkable: true
            Accessible.checked: chosen
            Accessible.onPressAction: dialog.macroType = modelData

            SkinImage {
                y: 2
                width: 14
                height: 14
                source: mode.chosen ? mainIten.sourceRadioOn : mainIten.sourceRadioOff
            }
            Text {
                x: 22
                text: dialog.macroKeyLang[2 + mode.modelData]
                color: mainIten.fontColor
                font.family: mainIten.fontFamily
                font.pixelSize: mainIten.fontMinSize
            }
            MouseArea {
                anchors.fill: parent
                cursorShape: Qt.PointingHandCursor
                onClicked: {
                    dialog.isOpen = false
                    dialog.macroType = mode.modelData
                }
            }
        }
    }
    Row {
        x: dialog.width - 64 - 54
        y: dialog.height - 6 - 28
        spacing: 4

        Repeater {
            model: [{ caption: 5, ok: true }, { caption: 6, ok: false }]

            ImageButton {
                required property var modelData

                width: 54
                height: 28
                source: mainIten.sourcemacroSaveBtn
                hoverSource: mainIten.sourcemacroSaveBtnH
                pressedSource: mainIten.sourcemacroSaveBtnP
                text: dialog.macroKeyLang[modelData.caption]
                onClicked: modelData.ok ? dialog.accept() : dialog.closeSure()
            }
        }
    }
    Rectangle {
        // Drawn last, so the open list lies over the run modes and buttons.
        x: 42
        y: 146
        width: 109
        height: 129
        visible: dialog.isOpen
        color: "#282828"
        border.color: "#000000"

        ListView {
            id: dropList

            anchors.fill: parent
            anchors.margins: 1
            clip: true
            boundsBehavior: Flickable.StopAtBounds
            model: dialog.listModel()
            interactive: contentHeight > height
            Accessible.role: Accessible.List
            Accessible.name: dialog.uiType === 1 ? "Recoil sequences" : "Macros"

            delegate: Rectangle {
                id: row

                required property string macroName

                width: ListView.view.width
                height: 18
                color: rowArea.containsMouse ? "#999999" : macroName === dialog.chosenName ? "#b03b3b" : "transparent"
                Accessible.role: Accessible.ListItem
                Accessible.name: macroName
                Accessible.selected: macroName === dialog.chosenName
                Accessible.onPressAction: dialog.choose(macroName)

                Text {
                    x: 5
                    width: parent.width - 10
                    anchors.verticalCenter: parent.verticalCenter
                    elide: Text.ElideRight
                    text: row.macroName
                    color: mainIten.fontColor
                    font.family: mainIten.fontFamily
                    font.pixelSize: mainIten.fontMinSize
                }
                MouseArea {
                    id: rowArea

                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: dialog.choose(row.macroName)
                }
            }
        }
    }
}
