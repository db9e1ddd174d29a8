// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import "../common"
import "PanelMath.js" as PanelMath

// A horizontal slider with a few fixed positions. Which position a point
// chooses is decided by the panel's thresholds; the knob sits in the middle of
// its position's span. `moved` reports a new position on the click or, after
// a drag, on release.
Item {
    id: slider

    property var thresholds: []
    property int position: 0
    property string accessibleName: ""
    readonly property int count: thresholds.length + 1
    // Read by the accessibility bridge as the slider's value and range.
    readonly property int value: position
    readonly property int minimumValue: 0
    readonly property int maximumValue: count - 1
    readonly property int stepSize: 1
    readonly property bool pressed: area.pressed
    // While pressed the knob follows the pointer; `position` stays the owner's.
    readonly property int shownPosition: area.pressed ? area.dragPosition : position

    signal moved(int position)

    // A stored position outside the slider (a damaged profile) is drawn at the nearer end.
    function centreOf(position) {
        const p = Math.max(0, Math.min(thresholds.length, Math.round(Number(position) || 0)))
        const left = p === 0 ? 0 : thresholds[p - 1]
        const right = p >= thresholds.length ? width : thresholds[p]
        return (left + right) / 2
    }

    height: 20
    opacity: enabled ? 1 : 0.3
    Accessible.role: Accessible.Slider
    Accessible.name: accessibleName
    Accessible.onIncreaseAction: if (position < count - 1) moved(position + 1)
    Accessible.onDecreaseAction: if (position > 0) moved(position - 1)

    Rectangle {
        id: track

        x: slider.centreOf(0)
        width: slider.centreOf(slider.count - 1) - x
        height: 4
        radius: 2
        anchors.verticalCenter: parent.verticalCenter
        color: "#333333"

        Rectangle {
            width: slider.centreOf(slider.shownPosition) - track.x
            height: parent.height
            radius: 2
            color: "#761212"
        }
    }
    Repeater {
        model: slider.count

        Rectangle {
            required property int index

            x: Math.round(slider.centreOf(index)) - 1
            y: 15
            width: 1
            height: 4
            color: index <= slider.shownPosition ? "#b34a2a" : "#4a4a4a"
        }
    }
    SkinImage {
        width: 16
        height: 16
        x: Math.round(slider.centreOf(slider.shownPosition) - 8)
        anchors.verticalCenter: parent.verticalCenter
        source: area.pressed ? mainIten.sourceKnobPressed
                             : area.containsMouse ? mainIten.sourceKnobHover : mainIten.sourceKnob
    }
    MouseArea {
        id: area

        property int dragPosition: 0

        anchors.fill: parent
        hoverEnabled: true
        preventStealing: true
        cursorShape: Qt.PointingHandCursor
        onPressed: mouse => dragPosition = PanelMath.positionFromThresholds(mouse.x, slider.thresholds)
        onPositionChanged: mouse => {
            if (pressed)
                dragPosition = PanelMath.positionFromThresholds(mouse.x, slider.thresholds)
        }
        onReleased: {
            if (dragPosition !== slider.position)
                slider.moved(dragPosition)
        }
    }
}
