// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import "../common"
import "PanelMath.js" as PanelMath

// The six DPI stages: each with its value, whether the DPI button of the mouse
// steps through it, and the colour the mouse shows while it is active.
Frame {
    id: page

    property var dpiValues: [6000, 6000, 6000, 6000, 6000, 6000]
    property var dpiInUse: [true, true, true, true, true, true]
    property var dpiColors: PanelMath.presetColours.slice()
    property int dpiSelect: 0      // the stage whose colour the picker edits
    readonly property bool sliderPressed: d.pressedCount > 0

    signal dpiValueChange(int dpiIndex, int dpiData)
    signal dpiSelectChange(int dpiIndex)
    signal openColorBar(int dpiSelect, string dpiColor)
    signal dpiColorChange(string cl0, string cl1, string cl2, string cl3, string cl4, string cl5)

    function init(isSendData) {
        const values = ui_View.ui_91H_GetDPISet()
        const selects = ui_View.ui_91H_GetDPISelect()
        const colours = ui_View.ui_90H_GetLED8StageColor(1)
        dpiValues = PanelMath.stageValues(values)
        dpiInUse = PanelMath.stageInUse(selects)
        dpiColors = PanelMath.stageColours(colours)
        if (isSendData) {
            dpiSelectChange(0)
            ui_View.ui_10H_SetLED8StageColor(1, colours)
        }
    }
    function valueForDpi() {
        return PanelMath.dpiValueList(dpiValues)
    }
    function valueForDpiSelect() {
        return PanelMath.dpiSelectList(dpiInUse)
    }
    function dpiValueToDpiSet() {
        return PanelMath.dpiCodeList(dpiValues, dpiInUse)
    }
    function setColor(colour) {
        const colours = dpiColors.slice()
        colours[dpiSelect] = colour
        dpiColors = colours
        dpiColorChange(colours[0], colours[1], colours[2], colours[3], colours[4], colours[5])
    }

    title: mainIten.mainLang[3]
    bodyHeight: 233

    QtObject {
        id: d

        property int pressedCount: 0
    }
    Row {
        x: 1
        Repeater {
            model: 6

            Item {
                id: stage

                required property int index
                readonly property bool inUse: page.dpiInUse[index] === true

                width: 40
                height: page.bodyHeight

                Text {
                    y: 5
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: slider.shownValue
                    color: stage.inUse ? (slider.pressed ? "#fa6726" : mainIten.fontColor) : "#5c5c5c"
                    font.family: mainIten.fontFamily
                    font.pixelSize: mainIten.fontMinSize
                }
                DpiSlider {
                    id: slider

                    x: 8
                    y: 28
                    opacity: stage.inUse ? 1 : 0.4
                    value: page.dpiValues[stage.index]
                    accessibleName: "DPI stage " + (stage.index + 1)
                    onPressedChanged: d.pressedCount += pressed ? 1 : -1
                    onReleased: v => {
                        const values = page.dpiValues.slice()
                        values[stage.index] = v
                        page.dpiValues = values
                        page.dpiValueChange(stage.index, v)
                    }
                }
                Item {
                    id: toggle

                    function flip() {
                        const inUse = page.dpiInUse.slice()
                        inUse[stage.index] = !stage.inUse
                        page.dpiInUse = inUse
                        page.dpiSelectChange(stage.index)
                    }

                    x: 13; y: 192
                    width: 14; height: 14
                    Accessible.role: Accessible.CheckBox
                    Accessible.name: "DPI stage " + (stage.index + 1) + " in use"
                    Accessible.checkable: true
                    Accessible.checked: stage.inUse
                    Accessible.onPressAction: flip()
                    Accessible.onToggleAction: flip()

                    SkinImage {
                        anchors.fill: parent
                        source: stage.inUse ? mainIten.sourceToggleOn : mainIten.sourceToggleOff
                    }
                    MouseArea {
                        anchors.fill: parent
                        anchors.margins: -3
                        cursorShape: Qt.PointingHandCursor
                        onClicked: toggle.flip()
                    }
                }
                Rectangle {
                    id: swatch

                    function pick() {
                        page.dpiSelect = stage.index
                        page.openColorBar(stage.index, page.dpiColors[stage.index])
                    }

                    x: 13; y: 212
                    width: 14; height: 14
                    radius: 3
                    color: page.dpiColors[stage.index]
                    border.width: 1
                    border.color: swatchArea.containsMouse ? "#ffffff" : "#626262"
                    Accessible.role: Accessible.Button
                    Accessible.name: "DPI stage " + (stage.index + 1) + " colour"
                    Accessible.onPressAction: pick()

                    MouseArea {
                        id: swatchArea

                        anchors.fill: parent
                        anchors.margins: -3
                        hoverEnabled: true
                        cursorShape: Qt.PointingHandCursor
                        onClicked: swatch.pick()
                    }
                }
            }
        }
    }
}
