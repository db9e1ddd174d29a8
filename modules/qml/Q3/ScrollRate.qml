// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import "../common"
import "PanelMath.js" as PanelMath

// Scroll speed of the desktop: a number of lines per wheel notch (1 to 100)
// or one screen at a time (stored as 1000).
Frame {
    id: page

    property int lines: 3
    property bool screenOption: false
    readonly property bool fieldFocused: field.activeFocus

    signal linesChange(int linesValue)

    function init(isSendData) {
        lines = ui_View.getVerticalScrollLines()
        screenOption = lines === PanelMath.scrollScreen
        if (!screenOption)
            field.text = String(lines)
        if (isSendData)
            ui_View.setVerticalScrollLines(lines)
    }
    function chooseLines() {
        screenOption = false
        field.text = PanelMath.scrollCommit(field.text)
        linesChange(Number(field.text))
    }
    function chooseScreen() {
        screenOption = true
        linesChange(PanelMath.scrollScreen)
    }
    // Plus and minus apply at once while the lines option is chosen, so the
    // number shown is always the one in use.
    function step(delta) {
        field.text = PanelMath.scrollStep(field.text, delta)
        if (!screenOption)
            linesChange(Number(field.text))
    }
    // Whether a point of the window (scene coordinates) lies on the field.
    function fieldContains(scenePoint) {
        return field.contains(field.mapFromItem(null, scenePoint))
    }
    function releaseFocus() {
        if (field.activeFocus)
            mainIten.forceActiveFocus()
    }

    title: mainIten.mainLang[12]
    bodyHeight: 128

    component OptionRow: Item {
        id: option

        property string caption: ""
        property bool chosen: false

        signal chose

        width: 150
        height: 26
        Accessible.role: Accessible.RadioButton
        Accessible.name: caption
        Accessible.checkable: true
        Accessible.checked: chosen
        Accessible.onPressAction: chose()

        SkinImage {
            x: 4
            width: 14; height: 14
            anchors.verticalCenter: parent.verticalCenter
            source: option.chosen ? mainIten.sourceRadioOn : mainIten.sourceRadioOff
        }
        Text {
            x: 24
            anchors.verticalCenter: parent.verticalCenter
            text: option.caption
            color: option.chosen ? mainIten.fontColor : "#b3b3b3"
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontNormalSize
        }
        MouseArea {
            anchors.fill: parent
            cursorShape: Qt.PointingHandCursor
            onClicked: option.chose()
        }
    }
    component StepButton: ImageButton {
        width: 18
        height: 18
    }

    OptionRow {
        x: 6; y: 14
        caption: mainIten.mainLang[15]
        chosen: !page.screenOption
        onChose: page.chooseLines()
    }
    Rectangle {
        x: 38; y: 46
        width: 56; height: 24
        radius: 3
        color: "#161616"
        border.width: 1
        border.color: field.activeFocus ? "#fa6726" : "#626262"
        opacity: page.screenOption ? 0.5 : 1

        TextInput {
            id: field

            anchors.fill: parent
            anchors.leftMargin: 6
            anchors.rightMargin: 6
            verticalAlignment: TextInput.AlignVCenter
            horizontalAlignment: TextInput.AlignHCenter
            text: "3"
            maximumLength: 3
            validator: IntValidator { bottom: 0; top: PanelMath.scrollMax }
            color: mainIten.fontColor
            selectionColor: "#761212"
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontNormalSize
            Accessible.role: Accessible.EditableText
            Accessible.name: "Scroll lines"
            Accessible.editable: true
            onActiveFocusChanged: {
                if (!activeFocus) {
                    text = PanelMath.scrollCommit(text)
                    page.screenOption = false
                    page.linesChange(Number(text))
                }
            }
            onAccepted: mainIten.forceActiveFocus()
        }
    }
    StepButton {
        x: 100; y: 49
        source: mainIten.sourceMinus
        hoverSource: mainIten.sourceMinusHover
        pressedSource: mainIten.sourceMinusPressed
        accessibleName: "Fewer lines"
        onClicked: page.step(-1)
    }
    StepButton {
        x: 122; y: 49
        source: mainIten.sourcePlus
        hoverSource: mainIten.sourcePlusHover
        pressedSource: mainIten.sourcePlusPressed
        accessibleName: "More lines"
        onClicked: page.step(1)
    }
    OptionRow {
        x: 6; y: 84
        caption: mainIten.mainLang[16]
        chosen: page.screenOption
        onChose: page.chooseScreen()
    }
}
