// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import "../common"

// The factory-reset button at the bottom right.
ImageButton {
    signal resetRequested

    width: 78
    height: 28
    source: mainIten.sourceResetBtn
    hoverSource: mainIten.sourceResetBtnHover
    pressedSource: mainIten.sourceResetBtnPressed
    text: mainIten.mainLang[26]
    textLeft: 24
    onClicked: {
        mainIten.focusControl()
        resetRequested()
    }
}
