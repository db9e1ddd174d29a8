// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick

// Cursor speed of the desktop, 0 (slow) to 11 (fast).
HalfDial {
    id: page

    property alias mouseRateValue: page.value

    signal mouseRateChange(int value)

    function init(isSendData) {
        mouseRateValue = ui_View.getCursorSpeed()
        if (isSendData)
            ui_View.setCursorSpeed(mouseRateValue)
    }

    title: mainIten.mainLang[10]
    accessibleName: "Cursor speed"
    onValueReleased: v => {
        mouseRateValue = v
        mouseRateChange(v)
    }
}
