// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick

// "LOADING ......" while the interface is locked. The pulse runs only while
// busy, so an idle window draws nothing.
Text {
    id: indicator

    property bool busy: false

    function setBusy(isBusy) {
        busy = isBusy
    }

    visible: busy
    text: "LOADING ......"
    color: mainIten.fontColor
    font.family: mainIten.fontFamily
    font.pixelSize: mainIten.fontMaxSize
    font.letterSpacing: 2
    Accessible.role: Accessible.StaticText
    Accessible.name: text

    SequentialAnimation on opacity {
        running: indicator.busy
        loops: Animation.Infinite
        alwaysRunToEnd: false

        NumberAnimation { from: 1.0; to: 0.2; duration: 400 }
        NumberAnimation { from: 0.2; to: 1.0; duration: 400 }
    }
}
