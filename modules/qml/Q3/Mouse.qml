// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import "../common"

// The picture of the mouse, from above or from its left side, with an overlay
// on each of its seven buttons. `selectKey` lights the overlay of one button.
Item {
    id: picture

    property bool isSide: false
    property int selectKey: -1
    readonly property var topPositions: [Qt.point(354, 80), Qt.point(550, 80), Qt.point(499, 175),
        Qt.point(347, 236), Qt.point(346, 297), Qt.point(502, 244), Qt.point(502, 273)]
    readonly property var sidePositions: [Qt.point(376, 213), Qt.point(327, 210), Qt.point(420, 303),
        Qt.point(483, 324), Qt.point(534, 315), Qt.point(479, 203), Qt.point(507, 202)]

    width: 1000
    height: 640

    SkinImage {
        visible: !picture.isSide
        x: (picture.width - width) / 2
        y: 44
        width: 300
        height: 470
        source: mainIten.sourceMouseTop
    }
    SkinImage {
        visible: picture.isSide
        x: (picture.width - width) / 2
        y: 276 - height / 2
        width: 440
        height: 200
        source: mainIten.sourceMouseSide
    }
    Repeater {
        model: 7

        Image {
            required property int index

            readonly property point at: (picture.isSide ? picture.sidePositions : picture.topPositions)[index]

            x: at.x
            y: at.y
            source: mainIten.sourceMouseButton(picture.isSide, index, picture.selectKey === index)
        }
    }
    Row {
        anchors.horizontalCenter: parent.horizontalCenter
        y: 525
        spacing: 24

        Repeater {
            model: [{ caption: mainIten.mainLang[17], side: false }, { caption: mainIten.mainLang[18], side: true }]

            Item {
                id: viewToggle

                required property var modelData
                readonly property bool active: picture.isSide === modelData.side

                width: caption.implicitWidth + 16
                height: 24
                Accessible.role: Accessible.RadioButton
                Accessible.name: modelData.caption
                Accessible.checkable: true
                Accessible.checked: active
                Accessible.onPressAction: picture.isSide = modelData.side

                Text {
                    id: caption

                    anchors.centerIn: parent
                    text: viewToggle.modelData.caption
                    color: viewToggle.active ? "#fa6726" : toggleArea.containsMouse ? "#ffffff" : "#b3b3b3"
                    font.family: mainIten.fontFamily
                    font.pixelSize: mainIten.fontNormalSize
                    font.bold: viewToggle.active
                }
                Rectangle {
                    anchors.bottom: parent.bottom
                    anchors.horizontalCenter: parent.horizontalCenter
                    width: caption.implicitWidth
                    height: 2
                    visible: viewToggle.active
                    color: "#fa6726"
                }
                MouseArea {
                    id: toggleArea

                    anchors.fill: parent
                    hoverEnabled: true
                    cursorShape: Qt.PointingHandCursor
                    onClicked: picture.isSide = viewToggle.modelData.side
                }
            }
        }
    }
}
