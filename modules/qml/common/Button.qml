// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick

// A text button of the window: the caption over a grey plate that lights up
// under the pointer.
Item {
    id: button

    property string textValue: ""

    signal clicked

    width: 192
    height: 38
    Accessible.role: Accessible.Button
    Accessible.name: textValue
    Accessible.onPressAction: button.clicked()

    Rectangle {
        anchors.fill: parent
        radius: 3
        color: "#737373"
        opacity: area.containsMouse ? 1 : 0.1

        Behavior on opacity { NumberAnimation { duration: 150 } }
    }
    Text {
        anchors.centerIn: parent
        text: button.textValue
        color: mainIten.fontColor
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontNormalSize
    }
    MouseArea {
        id: area

        anchors.fill: parent
        hoverEnabled: true
        cursorShape: Qt.PointingHandCursor
        onClicked: button.clicked()
    }
}
