// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick

// A picture button with its three drawn states: at rest, under the pointer and
// pressed. The caption, when there is one, is drawn over the picture.
Item {
    id: button

    property url source
    property url hoverSource: source
    property url pressedSource: hoverSource
    property string text: ""
    property string accessibleName: text
    property real textLeft: -1          // -1 centres the caption
    property bool bold: false
    property alias hovered: area.containsMouse
    property alias pressed: area.pressed

    signal clicked

    Accessible.role: Accessible.Button
    Accessible.name: accessibleName
    Accessible.onPressAction: button.clicked()

    SkinImage {
        anchors.fill: parent
        source: area.pressed ? button.pressedSource : area.containsMouse ? button.hoverSource : button.source
    }
    Text {
        visible: button.text !== ""
        x: button.textLeft >= 0 ? button.textLeft : (button.width - width) / 2
        y: Math.round((button.height - height) / 2) + (area.pressed ? 1 : 0)
        text: button.text
        color: mainIten.fontColor
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontNormalSize
        font.bold: button.bold
    }
    MouseArea {
        id: area

        anchors.fill: parent
        hoverEnabled: true
        cursorShape: Qt.PointingHandCursor
        onClicked: button.clicked()
    }
}
