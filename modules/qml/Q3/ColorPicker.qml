// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import "../common"
import "PanelMath.js" as PanelMath

// The colour picker of the DPI stages: six presets and a hue bar. A preset or
// a release of the hue marker hands the colour to `colorChosen`.
Rectangle {
    id: picker

    property string currentColor: "#ff0000"
    property int markerX: -2
    readonly property var rgb: PanelMath.rgbOf(currentColor)

    signal colorChosen(string colour)

    function openWith(colour) {
        currentColor = colour
        markerX = PanelMath.hueMarker(colour)
        visible = true
    }
    function choose(colour) {
        currentColor = colour
        colorChosen(colour)
    }

    width: 160
    height: 103
    visible: false
    color: "#1c1c1c"
    border.color: "#c0c0c0"
    border.width: 1
    radius: 3

    MouseArea {
        // Clicks inside the picker stay in it.
        anchors.fill: parent
    }
    Text {
        x: 8; y: 5
        text: "颜色选择"
        color: "#b3b3b3"
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontMinSize
    }
    Row {
        x: 8; y: 22
        spacing: 6

        Repeater {
            model: PanelMath.presetColours

            Rectangle {
                required property string modelData

                width: 9; height: 9
                color: modelData
                border.width: 1
                border.color: presetArea.containsMouse || picker.currentColor === modelData ? "#ffffff" : "#3a3a3a"
                Accessible.role: Accessible.Button
                Accessible.name: "Colour " + modelData
                Accessible.onPressAction: presetArea.clicked(null)

                MouseArea {
                    id: presetArea

                    anchors.fill: parent
                    anchors.margins: -3
                    hoverEnabled: true
                    cursorShape: Qt.PointingHandCursor
                    onClicked: {
                        picker.markerX = PanelMath.hueMarker(parent.modelData)
                        picker.choose(parent.modelData)
                    }
                }
            }
        }
    }
    Text {
        x: 8; y: 37
        text: "自定义颜色"
        color: "#b3b3b3"
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontMinSize
    }
    Rectangle {
        x: 8; y: 55
        width: 18; height: 18
        radius: 3
        color: picker.currentColor
        border.width: 1
        border.color: "#626262"
    }
    Text {
        x: 34; y: 57
        text: "R " + picker.rgb[0] + "   G " + picker.rgb[1] + "   B " + picker.rgb[2]
        color: mainIten.fontColor
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontMinSize
    }
    Item {
        id: hueBar

        // Read by the accessibility bridge as the marker's value and range.
        readonly property int value: picker.markerX
        readonly property int minimumValue: -2
        readonly property int maximumValue: 125
        readonly property int stepSize: 1

        x: 16; y: 82
        width: 128
        height: 10
        Accessible.role: Accessible.Slider
        Accessible.name: "Hue"

        SkinImage {
            anchors.fill: parent
            source: mainIten.sourceHueBar
        }
        SkinImage {
            x: picker.markerX
            y: -2
            width: 6; height: 14
            source: mainIten.sourceHueMarker
        }
        MouseArea {
            function place(mouseX) {
                picker.markerX = Math.max(-2, Math.min(125, Math.round(mouseX - 3)))
            }

            anchors.fill: parent
            anchors.topMargin: -4
            anchors.bottomMargin: -4
            preventStealing: true
            cursorShape: Qt.PointingHandCursor
            onPressed: mouse => place(mouse.x)
            onPositionChanged: mouse => place(mouse.x)
            onReleased: picker.choose(PanelMath.hueColour(picker.markerX))
        }
    }
}
