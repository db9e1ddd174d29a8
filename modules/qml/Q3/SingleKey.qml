// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import "../common"

// Assigns one keyboard key to the selected button: the field shows the key
// last pressed or released anywhere (the window feeds it the keyboard hook's
// transitions while the dialog is open), OK writes it into the button.
SkinImage {
    id: dialog

    // Texts of the macro key dialogs; this one shows 5 OK, 6 Cancel, 7 its
    // title and 8 the field's label.
    property var macroKeyLang: ["Macro Key", "Please select a macro",
        "Macro runs one-time after\npressing the button", "Macro runs endless loop\nuntil any button is pressed",
        "Macro runs endless loop\nuntil button is released", "OK", "Cancel", "Key", "Please assign a Key", ""]
    property string keyText: ""
    // The button page and the button it assigns to.
    property var keyMatrix: null
    property int selectedButton: -1

    signal closeSure

    // Opens with an empty field, so OK without a key changes nothing.
    function open() {
        keyText = ""
        visible = true
    }
    function detectKeyboard(isDown, usbCode) {
        keyText = _KeyCodeString.keycodeTostr(usbCode)
    }
    function accept() {
        if (keyText !== "" && keyMatrix) {
            const code = _KeyCodeString.strTokeycode(keyText)
            keyMatrix.modifyData(selectedButton, 0, 0, code, 0)
            keyMatrix.refreashUI()
            keyMatrix.cancelGunKeyFun(selectedButton)
        }
        closeSure()
    }

    width: 400
    height: 210
    visible: false
    source: mainIten.sourceSingleKeyBg

    MouseArea {
        // The body takes its clicks, so nothing behind the dialog reacts.
        anchors.fill: parent
    }
    Text {
        x: 13
        height: 30
        verticalAlignment: Text.AlignVCenter
        text: dialog.macroKeyLang[7]
        color: "#e6e6e6"
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontNormalSize
        font.weight: Font.Medium
    }
    ImageButton {
        x: 360; y: 8
        width: 22; height: 22
        source: mainIten.sourceMinBtn
        hoverSource: mainIten.sourceMinBtnHover
        accessibleName: "Close key dialog"
        onClicked: dialog.closeSure()
    }
    Text {
        x: (dialog.width - width) / 2
        y: keyField.y - 6 - height
        text: dialog.macroKeyLang[8]
        color: "#b3b3b3"
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontNormalSize
    }
    Rectangle {
        id: keyField

        // Centred under the key picture of the background.
        x: (dialog.width - width) / 2
        y: 128
        width: 78; height: 16
        color: "#141414"
        border.color: "#626262"
        Accessible.role: Accessible.EditableText
        Accessible.name: "Key"
        Accessible.description: dialog.keyText

        Text {
            anchors.fill: parent
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            elide: Text.ElideRight
            text: dialog.keyText
            color: mainIten.fontColor
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontMinSize
        }
    }
    Row {
        x: dialog.width - 64 - 54
        y: dialog.height - 6 - 28
        spacing: 4

        Repeater {
            model: [{ caption: dialog.macroKeyLang[5], ok: true }, { caption: dialog.macroKeyLang[6], ok: false }]

            ImageButton {
                required property var modelData

                width: 54; height: 28
                source: mainIten.sourcemacroSaveBtn
                hoverSource: mainIten.sourcemacroSaveBtnH
                pressedSource: mainIten.sourcemacroSaveBtnP
                text: modelData.caption
                onClicked: modelData.ok ? dialog.accept() : dialog.closeSure()
            }
        }
    }
}
