// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import "../common"
import "PanelMath.js" as PanelMath

// A half-dial from "slow" to "fast" with twelve values (0 to 11). The angle of
// the pointer around the pivot chooses the value; it is reported on release.
Frame {
    id: page

    property int value: 5
    property string accessibleName: ""
    readonly property bool sliderPressed: area.pressed

    signal valueReleased(int value)

    bodyHeight: 128

    Item {
        id: dial

        // Read by the accessibility bridge as the dial's value and range.
        readonly property int value: area.pressed ? area.dragValue : page.value
        readonly property int minimumValue: 0
        readonly property int maximumValue: 11
        readonly property int stepSize: 1

        x: (page.width - width) / 2
        y: 12
        width: 160
        height: 84
        Accessible.role: Accessible.Dial
        Accessible.name: page.accessibleName
        Accessible.onIncreaseAction: if (page.value < 11) page.valueReleased(page.value + 1)
        Accessible.onDecreaseAction: if (page.value > 0) page.valueReleased(page.value - 1)

        SkinImage {
            anchors.fill: parent
            source: mainIten.sourceDial(PanelMath.dialPicture(dial.value))
        }
        MouseArea {
            id: area

            property int dragValue: 0

            anchors.fill: parent
            preventStealing: true
            cursorShape: Qt.PointingHandCursor
            onPressed: mouse => dragValue = PanelMath.dialValue(mouse.x, mouse.y, width / 2)
            onPositionChanged: mouse => {
                if (pressed)
                    dragValue = PanelMath.dialValue(mouse.x, mouse.y, width / 2)
            }
            onReleased: page.valueReleased(dragValue)
        }
    }
    Text {
        x: dial.x
        y: 100
        text: mainIten.mainLang[13]
        color: "#b3b3b3"
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontMinSize
    }
    Text {
        anchors.horizontalCenter: parent.horizontalCenter
        y: 96
        text: dial.value
        color: area.pressed ? "#fa6726" : mainIten.fontColor
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontMiddleSize
    }
    Text {
        x: dial.x + dial.width - width
        y: 100
        text: mainIten.mainLang[14]
        color: "#b3b3b3"
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontMinSize
    }
}
