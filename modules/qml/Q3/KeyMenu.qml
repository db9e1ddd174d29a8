// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import "KeyRules.js" as KeyRules

// The function menu of a button, with its submenus. Choosing an entry with a
// value reports its eight hex digits; the window writes them into the
// selected button. Hidden entries take no space.
Rectangle {
    id: menu

    readonly property var englishStrings: ["Left Button", "Right Button", "Middle Button", "Auto Run", "Fire Mode",
        "Double CLick", "DPI Setting +", "Multimedia Commands +", "Basic Commands +", "Additional Commands +",
        "Assign Keyboard Key", "Macro", "Gun Management", "Deactivated", "DPI +", "DPI -", "DPI LOOP",
        "Media Player", "Next Track", "Previous Track", "Stop", "Play/Pause", "Mute", "Volume Up", "Volume Down",
        "New", "Cut", "Copy", "Paste", "Save", "Print", "Find", "Redo", "Undo", "Select All", "My Computer",
        "Web Home", "Search Computer", "Maximize", "Minimize", "Show DeskTop", "RUN", "Forward", "Back",
        "Gun Key Switch", "Null", "Null", "Null", "Assignment", "Enable", "Disable", "", "", "", ""]
    property var keyMenuLang: englishStrings.slice()
    // The labels the entries show, set by init().
    property var labels: englishStrings.slice()
    // The recoil slots' labels: their recoil data set names or the built-in ones.
    property var gunMenuNames: [labels[45], labels[46], labels[47]]
    // The submenu shown ("" = none) and the recoil slot whose actions are shown (-1 = none).
    property string openSubmenu: ""
    property int openGunSlot: -1
    property int selectedButton: -1
    // The button page (the recoil actions offered depend on its bindings) and
    // the recoil page (it names the recoil slots), once they exist.
    property var keyMatrix: null
    property var gunPage: null

    signal menuCmd(string menuStr)
    signal gunKeyAssignment(int gunIndex, int cmd)
    // The two entries that open a dialog instead of choosing a value.
    signal keyDialogRequested
    signal macroDialogRequested

    function init() {
        labels = keyMenuLang.slice()
        setGunMenuName(-1, -1, -1)
    }
    function showControl() {
        openSubmenu = ""
        openGunSlot = -1
        visible = true
    }
    // A slot given a list position (>= 0) shows that recoil data set's name.
    function setGunMenuName(gunIndex0, gunIndex1, gunIndex2) {
        gunMenuNames = [gunIndex0, gunIndex1, gunIndex2].map((position, slot) => {
            const name = position >= 0 && gunPage ? String(gunPage.getMacroName(position)) : ""
            return name !== "" ? name : labels[45 + slot]
        })
    }
    function hoverEntry(entry) {
        if (entry.submenu) {
            openSubmenu = entry.submenu
            openGunSlot = -1
        } else if (entry.hover === "hide") {
            openSubmenu = ""
            openGunSlot = -1
        }
    }
    function chooseEntry(entry) {
        if (entry.value !== undefined) {
            menuCmd(entry.value)
        } else if (entry.action === "key") {
            visible = false
            keyDialogRequested()
        } else if (entry.action === "macro") {
            visible = false
            macroDialogRequested()
        } else if (entry.submenu) {
            hoverEntry(entry)
        }
    }
    function gunActionsFor(slot) {
        if (slot < 0 || !keyMatrix)
            return []
        return KeyRules.gunActions(keyMatrix.gunKeyMenuControl(slot, selectedButton))
    }

    width: 136
    height: 276
    visible: false
    color: "#171717"
    border.color: "#5e5e5e"

    // Presses inside the menu stay in it: they must not reach the window's
    // free area, which closes the menu.
    MouseArea {
        anchors.fill: parent
    }

    component Entry: Rectangle {
        id: entryItem

        property string caption: ""
        property bool open: false
        signal hovered
        signal chosen

        width: 130
        height: 17
        color: entryArea.containsMouse || open ? "#761212" : "#4f1717"
        border.color: "#4e3434"
        Accessible.role: Accessible.MenuItem
        Accessible.name: caption
        Accessible.onPressAction: chosen()

        Text {
            x: 5
            width: parent.width - 10
            anchors.verticalCenter: parent.verticalCenter
            elide: Text.ElideRight
            text: entryItem.caption
            color: mainIten.fontColor
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontMinSize
        }
        MouseArea {
            id: entryArea

            anchors.fill: parent
            hoverEnabled: true
            cursorShape: Qt.PointingHandCursor
            onEntered: entryItem.hovered()
            onClicked: entryItem.chosen()
        }
    }

    component Submenu: Rectangle {
        default property alias items: list.data

        x: 134
        width: 136
        height: list.height + 6
        color: "#171717"
        border.color: "#5e5e5e"

        MouseArea {
            anchors.fill: parent
        }
        Column {
            id: list

            x: 3; y: 3
            spacing: 4
        }
    }

    Column {
        id: entries

        x: 3; y: 3
        spacing: 4

        Repeater {
            model: KeyRules.menuEntries

            Entry {
                required property var modelData

                visible: !modelData.hidden
                caption: menu.labels[modelData.label]
                open: modelData.submenu !== undefined && menu.openSubmenu === modelData.submenu
                onHovered: menu.hoverEntry(modelData)
                onChosen: menu.chooseEntry(modelData)
            }
        }
    }

    Repeater {
        model: ["basic", "media", "extra", "dpi"]

        Submenu {
            id: submenu

            required property string modelData

            y: KeyRules.submenuTop(modelData)
            visible: menu.openSubmenu === modelData

            Repeater {
                model: KeyRules.submenus[submenu.modelData]

                Entry {
                    required property var modelData

                    caption: menu.labels[modelData[0]]
                    onChosen: menu.menuCmd(modelData[1])
                }
            }
        }
    }

    // The recoil slots and, beside the slot pointed at, its actions.
    Submenu {
        id: gunSlots

        y: KeyRules.submenuTop("gun")
        visible: menu.openSubmenu === "gun"

        Repeater {
            model: 3

            Entry {
                required property int index

                caption: menu.gunMenuNames[index]
                open: menu.openGunSlot === index
                onHovered: menu.openGunSlot = index
                onChosen: menu.openGunSlot = index
            }
        }
    }
    Submenu {
        x: 269
        y: gunSlots.y + 1 + 21 * Math.max(menu.openGunSlot, 0)
        visible: gunSlots.visible && menu.openGunSlot >= 0 && actions.count > 0

        Repeater {
            id: actions

            model: menu.gunActionsFor(menu.openGunSlot)

            Entry {
                required property int modelData

                caption: menu.labels[48 + modelData]
                onChosen: menu.gunKeyAssignment(menu.openGunSlot, modelData)
            }
        }
    }
}
