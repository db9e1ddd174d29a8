// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick

// The frame of every settings panel: an 18-pixel title bar and a body that
// slides up behind it when the bar is clicked. Panels put their controls into
// the body; a click on the body's empty parts reports `clickFrame` so the
// window can close its pop-ups.
Item {
    id: frame

    property string title: ""
    property int bodyHeight: 100
    property bool expanded: true
    default property alias content: body.data

    signal openCloseMenu
    signal clickFrame

    width: 242
    height: expanded ? 18 + bodyHeight : 18
    clip: true

    Behavior on height { NumberAnimation { duration: mainIten.animation_speed; easing.type: Easing.OutCubic } }

    Rectangle {
        id: body

        y: frame.expanded ? 18 : 18 - frame.bodyHeight
        width: frame.width
        height: frame.bodyHeight
        color: "#b31a1a1a"

        Behavior on y { NumberAnimation { duration: mainIten.animation_speed; easing.type: Easing.OutCubic } }

        MouseArea {
            anchors.fill: parent
            z: -1
            onPressed: frame.clickFrame()
        }
        Rectangle {
            width: parent.width
            height: 1
            color: "#2e2e2e"
        }
    }
    Rectangle {
        id: titleBar

        width: frame.width
        height: 18
        color: titleArea.containsMouse ? "#242424" : "#1a1a1a"
        Accessible.role: Accessible.Button
        Accessible.name: frame.title.replace(/\s*\n\s*/g, " ")
        Accessible.description: frame.expanded ? "expanded" : "collapsed"
        Accessible.onPressAction: titleArea.toggle()

        Rectangle {
            width: 2
            height: 10
            x: 6
            anchors.verticalCenter: parent.verticalCenter
            color: "#fa6726"
        }
        Text {
            x: 14
            anchors.verticalCenter: parent.verticalCenter
            text: frame.title.replace(/\s*\n\s*/g, " ")
            color: "#e6e6e6"
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontNormalSize
            font.weight: Font.Medium
        }
        Text {
            anchors.right: parent.right
            anchors.rightMargin: 8
            anchors.verticalCenter: parent.verticalCenter
            text: "—"
            color: "#8a8a8a"
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontMinSize
        }
        MouseArea {
            id: titleArea

            function toggle() {
                frame.openCloseMenu()
                frame.clickFrame()
                frame.expanded = !frame.expanded
            }

            anchors.fill: parent
            hoverEnabled: true
            cursorShape: Qt.PointingHandCursor
            onClicked: toggle()
        }
    }
}
