// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick

// Double-click speed of the desktop, 0 (slow) to 11 (fast).
HalfDial {
    id: page

    property alias doubleRateValue: page.value

    signal doubleRateChange(int value)

    function init(isSendData) {
        doubleRateValue = ui_View.getDoubleClickSpeed()
        if (isSendData)
            ui_View.setDoubleClickSpeed(doubleRateValue)
    }

    title: mainIten.mainLang[11]
    accessibleName: "Double-click speed"
    onValueReleased: v => {
        doubleRateValue = v
        doubleRateChange(v)
    }
}
