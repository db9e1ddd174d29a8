// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import "../common"
import "PanelMath.js" as PanelMath

// Lighting: one of four effects, each with its own speed or brightness slider
// that works only while its effect is chosen.
Frame {
    id: page

    property int effect: 4
    property var positions: [4, 4, 4, 4]     // slider of effects 1 to 4
    readonly property bool sliderPressed: d.pressedCount > 0

    signal setLED(int effect, int option1, int option2)

    function init(isSendData) {
        const stored = ui_View.ui_8DH_GetRGBLedEffect()
        const chosen = PanelMath.lightFromStored(stored)
        const reset = [4, 4, 4, 4]
        reset[chosen.effect - 1] = chosen.position
        positions = reset
        effect = chosen.effect
        // What was stored goes out unchanged; a short record falls back to what is shown.
        const sent = stored && stored.length >= 3 ? stored : [chosen.effect, chosen.position, 2]
        if (isSendData)
            setLED(sent[0], sent[1], sent[2])
    }
    function choose(newEffect) {
        effect = newEffect
        setLED(effect, positions[effect - 1], 2)
    }
    function move(forEffect, position) {
        const moved = positions.slice()
        moved[forEffect - 1] = position
        positions = moved
        setLED(forEffect, position, 2)
    }

    title: mainIten.mainLang[4]
    bodyHeight: 149

    QtObject {
        id: d

        property int pressedCount: 0
    }
    Column {
        y: 4
        Repeater {
            model: 4

            Item {
                id: row

                required property int index
                readonly property int rowEffect: index + 1
                readonly property bool chosen: page.effect === rowEffect
                readonly property string caption: mainIten.mainLang[5 + index].replace(/\s*\n\s*/g, " ")

                width: page.width
                height: 36

                Item {
                    id: radio

                    x: 6
                    width: 80
                    height: parent.height
                    Accessible.role: Accessible.RadioButton
                    Accessible.name: row.caption
                    Accessible.checkable: true
                    Accessible.checked: row.chosen
                    Accessible.onPressAction: page.choose(row.rowEffect)

                    SkinImage {
                        x: 4
                        width: 14; height: 14
                        anchors.verticalCenter: parent.verticalCenter
                        source: row.chosen ? mainIten.sourceRadioOn : mainIten.sourceRadioOff
                    }
                    Text {
                        x: 24
                        width: 60
                        anchors.verticalCenter: parent.verticalCenter
                        text: mainIten.mainLang[5 + row.index]
                        lineHeight: 0.9
                        color: row.chosen ? mainIten.fontColor : "#b3b3b3"
                        font.family: mainIten.fontFamily
                        font.pixelSize: mainIten.fontNormalSize
                    }
                    MouseArea {
                        anchors.fill: parent
                        cursorShape: Qt.PointingHandCursor
                        onClicked: page.choose(row.rowEffect)
                    }
                }
                StepSlider {
                    x: 88
                    width: 146
                    anchors.verticalCenter: parent.verticalCenter
                    enabled: row.chosen
                    thresholds: PanelMath.lightThresholds
                    position: page.positions[row.index]
                    accessibleName: row.caption + " speed"
                    onPressedChanged: d.pressedCount += pressed ? 1 : -1
                    onMoved: p => page.move(row.rowEffect, p)
                }
            }
        }
    }
}
