// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import "../common"

// Asks before the current profile goes back to the factory settings. It can
// be dragged by its title bar but never leaves the window.
SkinImage {
    id: dialog

    signal confirmed
    signal cancelled

    width: 320
    height: 160
    visible: false
    source: mainIten.sourceDialog

    component DialogButton: Rectangle {
        id: dialogButton

        property string caption: ""

        signal clicked

        width: 88
        height: 25
        radius: 3
        color: buttonArea.containsMouse ? "#761212" : "#4f1717"
        border.width: 1
        border.color: "#4e3434"
        Accessible.role: Accessible.Button
        Accessible.name: caption
        Accessible.onPressAction: clicked()

        Behavior on color { ColorAnimation { duration: 150 } }

        Text {
            anchors.centerIn: parent
            text: dialogButton.caption
            color: mainIten.fontColor
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontNormalSize
        }
        MouseArea {
            id: buttonArea

            anchors.fill: parent
            hoverEnabled: true
            cursorShape: Qt.PointingHandCursor
            onClicked: dialogButton.clicked()
        }
    }

    MouseArea {
        // The body takes its clicks, so nothing behind the dialog reacts.
        anchors.fill: parent
    }
    Rectangle {
        width: parent.width
        height: 30
        radius: 6
        color: "#1e1e1e"

        Rectangle {
            anchors.bottom: parent.bottom
            width: parent.width
            height: 6
            color: "#1e1e1e"
        }
        Text {
            x: 14
            anchors.verticalCenter: parent.verticalCenter
            text: mainIten.mainLang[26]
            color: "#e6e6e6"
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontNormalSize
            font.weight: Font.Medium
        }
        MouseArea {
            anchors.fill: parent
            cursorShape: Qt.SizeAllCursor
            drag.target: dialog
            drag.minimumX: 0
            drag.minimumY: 0
            drag.maximumX: mainIten.width - dialog.width
            drag.maximumY: mainIten.height - dialog.height
        }
    }
    Text {
        x: 20
        y: 48
        width: parent.width - 40
        height: 50
        wrapMode: Text.WordWrap
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        text: mainIten.mainLang[27]
        color: mainIten.fontColor
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontMiddleSize
    }
    Row {
        anchors.horizontalCenter: parent.horizontalCenter
        y: 115
        spacing: 24

        DialogButton {
            caption: mainIten.mainLang[28]
            onClicked: dialog.confirmed()
        }
        DialogButton {
            caption: mainIten.mainLang[29]
            onClicked: dialog.cancelled()
        }
    }
}
