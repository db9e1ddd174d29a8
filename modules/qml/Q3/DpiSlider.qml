// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import "../common"
import "PanelMath.js" as PanelMath

// One DPI stage's vertical slider. The item is exactly the 154-pixel travel:
// its top edge is the highest value and its bottom edge the lowest. The value
// follows the pointer while pressed and is reported on release.
Item {
    id: slider

    property int value: 6000
    property string accessibleName: ""
    // Read by the accessibility bridge as the slider's range.
    readonly property int minimumValue: 200
    readonly property int maximumValue: 6000
    readonly property int stepSize: 100
    readonly property bool pressed: area.pressed
    readonly property int shownValue: area.pressed ? area.dragValue : value
    readonly property real knobHeight: Math.max(0, Math.min(PanelMath.dpiTravel,
                                                            PanelMath.dpiHeightFromValue(shownValue)))

    signal released(int value)

    width: 24
    height: PanelMath.dpiTravel
    Accessible.role: Accessible.Slider
    Accessible.name: accessibleName
    Accessible.onIncreaseAction: if (value < maximumValue) released(value + stepSize)
    Accessible.onDecreaseAction: if (value > minimumValue) released(value - stepSize)

    Rectangle {
        x: (slider.width - width) / 2
        width: 4
        height: parent.height
        radius: 2
        color: "#333333"

        Rectangle {
            anchors.bottom: parent.bottom
            width: parent.width
            height: slider.knobHeight
            radius: 2
            color: "#761212"
        }
    }
    SkinImage {
        width: 16
        height: 16
        x: (slider.width - width) / 2
        y: Math.round(slider.height - slider.knobHeight - 8)
        source: area.pressed ? mainIten.sourceKnobPressed
                             : area.containsMouse ? mainIten.sourceKnobHover : mainIten.sourceKnob
    }
    MouseArea {
        id: area

        property int dragValue: 0

        function valueAt(mouseY) {
            return PanelMath.dpiFromHeight(slider.height - mouseY)
        }

        anchors.fill: parent
        hoverEnabled: true
        preventStealing: true
        cursorShape: Qt.PointingHandCursor
        onPressed: mouse => dragValue = valueAt(mouse.y)
        onPositionChanged: mouse => {
            if (pressed)
                dragValue = valueAt(mouse.y)
        }
        onReleased: slider.released(dragValue)
    }
}
