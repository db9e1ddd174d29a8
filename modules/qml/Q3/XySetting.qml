// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import "PanelMath.js" as PanelMath

// Axis sensitivity: how far the pointer moves per count of the sensor, per
// axis, in ten steps.
Frame {
    id: page

    property int xValue: 4
    property int yValue: 4
    readonly property bool sliderPressed: xSlider.pressed || ySlider.pressed

    function init(isSendData) {
        xValue = PanelMath.axisPositionFromStored(ui_View.getXYSensitive(0))
        yValue = PanelMath.axisPositionFromStored(ui_View.getXYSensitive(1))
        if (isSendData)
            sendToDevice()
    }
    function sendToDevice() {
        ui_View.ui_0EH_SetXYSensitive(PanelMath.axisDeviceValue(xValue), PanelMath.axisDeviceValue(yValue))
    }
    function store() {
        ui_View.setXYSensitive(0, xValue)
        ui_View.setXYSensitive(1, yValue)
        sendToDevice()
    }

    title: mainIten.mainLang[0]
    bodyHeight: 108

    Repeater {
        model: [
            { caption: mainIten.mainLang[1], name: "X axis", top: 8 },
            { caption: mainIten.mainLang[2], name: "Y axis", top: 56 }
        ]

        Item {
            required property var modelData
            required property int index

            y: modelData.top
            width: page.width
            height: 46

            Text {
                x: 14
                text: parent.modelData.caption
                color: "#b3b3b3"
                font.family: mainIten.fontFamily
                font.pixelSize: mainIten.fontNormalSize
            }
            Text {
                anchors.right: parent.right
                anchors.rightMargin: 14
                text: (parent.index === 0 ? page.xValue : page.yValue) + 1
                color: mainIten.fontColor
                font.family: mainIten.fontFamily
                font.pixelSize: mainIten.fontNormalSize
            }
        }
    }
    StepSlider {
        id: xSlider

        x: 11; y: 28
        width: 220
        thresholds: PanelMath.xyThresholds
        position: page.xValue
        accessibleName: "X axis"
        onMoved: p => { page.xValue = p; page.store() }
    }
    StepSlider {
        id: ySlider

        x: 11; y: 76
        width: 220
        thresholds: PanelMath.xyThresholds
        position: page.yValue
        accessibleName: "Y axis"
        onMoved: p => { page.yValue = p; page.store() }
    }
}
