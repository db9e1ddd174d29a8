import QtQuick

// Placeholder shell: the five functions the back end calls by name, and a
// simple panel that can be dragged, minimised and hidden.
Rectangle {
    id: root
    width: 1000
    height: 640
    color: "#2b2c30"
    radius: 8

    property bool initialised: false
    property bool running: false
    property int protectInterval: 0
    property string lastInput: ""

    function initUI() {
        // The DPI values feed the stage-switch message of the tray.
        ui_View.ui_91H_GetDPISet()
        initialised = true
        console.log("initUI")
    }
    function run() {
        running = true
        console.log("run")
    }
    function detectKeyboard(isDown, usage) {
        lastInput = "key " + usage + (isDown ? " down" : " up")
    }
    function detectMouse(isDown, button, x, y) {
        lastInput = "button " + button + (isDown ? " down" : " up")
    }
    function setProtectUI(interval) {
        protectInterval = interval
        console.log("setProtectUI " + interval)
    }

    MouseArea {
        property point pressedAt
        anchors.fill: parent
        onPressed: mouse => pressedAt = Qt.point(mouse.x, mouse.y)
        onPositionChanged: mouse => {
            ui_Ctl.onXChanged(mouse.x - pressedAt.x)
            ui_Ctl.onYChanged(mouse.y - pressedAt.y)
        }
    }

    Text {
        anchors.centerIn: parent
        color: "#e6e6e6"
        font.pixelSize: 28
        text: root.running ? "MORVANE QUELLAR MOUSE K417" : "Starting…"
    }
    Text {
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 24
        color: "#9b9b9b"
        text: root.lastInput
    }

    Row {
        anchors.top: parent.top
        anchors.right: parent.right
        anchors.margins: 12
        spacing: 8
        Repeater {
            model: [{ label: "–", action: "minimize" }, { label: "×", action: "close" }]
            Rectangle {
                required property var modelData
                width: 32; height: 24; radius: 4
                color: buttonArea.containsMouse ? "#505158" : "#3c3d42"
                Text { anchors.centerIn: parent; color: "#e6e6e6"; text: modelData.label }
                MouseArea {
                    id: buttonArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: modelData.action === "minimize" ? ui_Ctl.onMinimize() : ui_Ctl.onClose()
                }
            }
        }
    }
}
