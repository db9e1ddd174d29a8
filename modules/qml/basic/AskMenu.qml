// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick

// The help menu: the project's home page, the updater and the version.
Rectangle {
    id: menu

    // The one place that knows where the project lives on the web.
    readonly property string homePage: "https://quellar.example.org"

    signal rowChosen(int row)

    width: 159
    height: 64
    visible: false
    color: "#6f2929"
    border.width: 1
    border.color: "#8f2020"

    Column {
        y: 0.5
        Repeater {
            model: [menu.homePage.replace(/^https?:\/\//, ""), "update", "verison:1.0"]

            Rectangle {
                required property string modelData
                required property int index

                width: menu.width
                height: 21
                color: rowArea.containsMouse ? "#8f2020" : "transparent"
                Accessible.role: Accessible.MenuItem
                Accessible.name: modelData
                Accessible.onPressAction: menu.rowChosen(index)

                Text {
                    x: 10
                    anchors.verticalCenter: parent.verticalCenter
                    text: parent.modelData
                    color: mainIten.fontColor
                    font.family: mainIten.fontFamily
                    font.pixelSize: mainIten.fontNormalSize
                }
                MouseArea {
                    id: rowArea

                    anchors.fill: parent
                    hoverEnabled: true
                    cursorShape: Qt.PointingHandCursor
                    onClicked: menu.rowChosen(parent.index)
                }
            }
        }
    }
}
