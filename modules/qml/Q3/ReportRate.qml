// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import "../common"
import "PanelMath.js" as PanelMath

// Report rate: a disc in four quarters, one per rate the mouse offers. The
// value is the device's code (1 = 1000 Hz, 2 = 500, 4 = 250, 8 = 125); the
// window sends it whenever it changes.
Frame {
    id: page

    property int reportValue: 1

    // A loaded value that differs from the one shown is sent by the window's
    // change handler already, so sending it here too would send it twice.
    function init(isSendData) {
        const stored = PanelMath.reportRateFromStored(ui_View.ui_81H_GetReportRate())
        const unchanged = stored === reportValue
        reportValue = stored
        if (isSendData && unchanged)
            ui_View.ui_01H_SetReportRate(reportValue)
    }

    title: mainIten.mainLang[9]
    bodyHeight: 146

    Item {
        id: disc

        x: (page.width - width) / 2
        y: 11
        width: 124
        height: 124

        SkinImage {
            anchors.fill: parent
            source: mainIten.sourceReportRate(PanelMath.reportPicture(page.reportValue), mainIten.language)
        }
        Repeater {
            model: [
                { value: 1, name: "1000 Hz", left: 62, top: 0 },
                { value: 2, name: "500 Hz", left: 62, top: 62 },
                { value: 4, name: "250 Hz", left: 0, top: 62 },
                { value: 8, name: "125 Hz", left: 0, top: 0 }
            ]

            Item {
                required property var modelData

                x: modelData.left
                y: modelData.top
                width: 62
                height: 62
                Accessible.role: Accessible.RadioButton
                Accessible.name: modelData.name
                Accessible.checkable: true
                Accessible.checked: page.reportValue === modelData.value
                Accessible.onPressAction: page.reportValue = modelData.value
            }
        }
        MouseArea {
            function choose(mouse) {
                if (mouse.x >= 0 && mouse.y >= 0 && mouse.x < width && mouse.y < height)
                    page.reportValue = PanelMath.reportQuadrant(mouse.x, mouse.y, width, height)
            }

            anchors.fill: parent
            preventStealing: true
            cursorShape: Qt.PointingHandCursor
            onPressed: mouse => choose(mouse)
            onPositionChanged: mouse => choose(mouse)
        }
    }
}
