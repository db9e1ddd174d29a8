// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import "../common"

// Help, minimise and close at the top right. The minimise picture file is
// called "closeBtn" and the close picture "minBtn"; the indexes the buttons
// report are what the window acts on: 0 minimise, 1 close, 2 help. Three
// 17-pixel buttons keep the row inside the window's right edge.
Row {
    id: menu

    signal btnClicked(int btnIndex)

    spacing: 5

    ImageButton {
        width: 17; height: 17
        source: mainIten.sourceAskBtn
        hoverSource: mainIten.sourceAskBtnHover
        pressedSource: mainIten.sourceAskBtnPressed
        accessibleName: "Help"
        onClicked: menu.btnClicked(2)
    }
    ImageButton {
        width: 17; height: 17
        source: mainIten.sourceCloseBtn
        hoverSource: mainIten.sourceCloseBtnHover
        pressedSource: mainIten.sourceCloseBtnPressed
        accessibleName: "Minimize"
        onClicked: menu.btnClicked(0)
    }
    ImageButton {
        width: 17; height: 17
        source: mainIten.sourceMinBtn
        hoverSource: mainIten.sourceMinBtnHover
        pressedSource: mainIten.sourceMinBtnPressed
        accessibleName: "Close"
        onClicked: menu.btnClicked(1)
    }
}
