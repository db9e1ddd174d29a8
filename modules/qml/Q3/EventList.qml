// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import "../common"
import "MacroRules.js" as MacroRules

// The event list of a macro or recoil sequence and its recording: the rows
// with their icons, inline editing of the rows that hold a number, the 10 ms
// pause counter and the length check on the back end's page encoder. The
// macro editor and the recoil page both use it; they decide what is saved and
// open their own context menus (`menuRequested`).
Item {
    id: eventList

    // The recoil page's images are the gun variant of the encoder.
    property bool gunVariant: false
    // The loop count the length check and the image are encoded with.
    property int loopCount: MacroRules.defaultLoops
    // Whether recording stops adding once the image reaches the length limit
    // (the recoil page records without it).
    property bool lengthChecked: true
    // When on, recording stores the pauses between events as delays.
    property bool recordPauses: false
    readonly property bool recording: pauseTimer.running
    // Ticks of 10 ms since the last recorded event.
    property int ticks: 0
    // Rows of these types can be edited inline: type -> [lowest, highest].
    property var editableRanges: ({ "0": [MacroRules.minDelay, MacroRules.maxDelay] })
    property alias currentIndex: list.currentIndex
    readonly property int count: events.count
    property string accessibleName: "Events"

    property string fontFamily: "微软雅黑"
    property int fontSize: 12
    property color textColor: "#ffffff"
    // Row icons by event type: delay, press, release, cursor.
    property url iconDelay: skinIcon("delay.svg")
    property url iconPress: skinIcon("press.svg")
    property url iconRelease: skinIcon("release.svg")
    property url iconCursor: skinIcon("cursor.svg")

    // A row's number changed inline: the owner saves.
    signal edited(int position)
    // A right click selected `position`; `at` is the pointer in this item.
    signal menuRequested(int position, point at)
    // A row was chosen with the pointer (the owner ends its own edits).
    signal rowPressed(int position)

    function skinIcon(file) {
        return "qrc:/macros/modules/img/skin1/macros/" + file
    }

    // --- the events ---
    function eventArray() {
        const all = []
        for (let i = 0; i < events.count; ++i)
            all.push({ type: events.get(i).type, info: events.get(i).info })
        return all
    }
    function setEvents(all, selected) {
        endEditing(false)
        events.clear()
        for (const event of all)
            events.append({ type: Number(event.type), info: String(event.info) })
        list.currentIndex = selected === undefined ? -1 : Math.min(selected, events.count - 1)
    }
    function clear() {
        setEvents([])
    }
    function lines() {
        return MacroRules.eventLines(eventArray())
    }
    // The page encoder's image of the list with `loops` (the loop count by default).
    function image(loops) {
        return Array.from(ui_View.encodeMacroLines(lines(), loops === undefined ? loopCount : loops, gunVariant))
    }
    // The length check: one more event may be added.
    function mayAdd() {
        return MacroRules.mayAdd(image())
    }

    // --- recording ---
    function startRecording() {
        clear()
        ticks = 0
        pauseTimer.start()
    }
    function stopRecording() {
        pauseTimer.stop()
    }
    // One key event while recording; false when the list is full.
    function recordEvent(isDown, code, name) {
        if (!recording || (lengthChecked && !mayAdd()))
            return false
        for (const event of MacroRules.recordedEvents(events.count === 0, recordPauses, ticks, isDown, code, name))
            events.append(event)
        ticks = 0
        list.positionViewAtEnd()
        return true
    }

    // --- inline editing ---
    function rangeOf(type) {
        return editableRanges[String(type)] || null
    }
    function startEditing(position) {
        if (position < 0 || position >= events.count || !rangeOf(events.get(position).type))
            return
        d.editText = events.get(position).info
        d.editingPosition = position
    }
    // Ends the open edit; applied, a value in range replaces the row's number.
    function endEditing(apply) {
        const position = d.editingPosition
        if (position < 0)
            return
        d.editingPosition = -1
        if (!apply)
            return
        const range = rangeOf(events.get(position).type)
        const value = MacroRules.integerIn(d.editText, range[0], range[1])
        if (value !== null)
            events.setProperty(position, "info", String(value))
        edited(position)
    }

    Accessible.role: Accessible.List
    Accessible.name: accessibleName

    QtObject {
        id: d

        property int editingPosition: -1
        property string editText: ""
    }
    ListModel {
        id: events
    }
    Timer {
        id: pauseTimer

        interval: 10
        repeat: true
        onTriggered: eventList.ticks += 1
    }

    ListView {
        id: list

        width: parent.width - bar.width
        height: parent.height
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        model: events
        currentIndex: -1
        highlightFollowsCurrentItem: false
        interactive: contentHeight > height

        delegate: Rectangle {
            id: row

            required property int index
            required property int type
            required property string info

            readonly property bool editing: d.editingPosition === index
            readonly property string shown: MacroRules.rowText({ type: type, info: info })

            width: ListView.view.width
            height: 18
            color: ListView.isCurrentItem ? "#b03b3b" : rowArea.containsMouse ? "#999999" : "transparent"
            Accessible.role: Accessible.ListItem
            Accessible.name: shown
            Accessible.selected: ListView.isCurrentItem
            Accessible.onPressAction: list.currentIndex = index

            SkinImage {
                x: 3
                anchors.verticalCenter: parent.verticalCenter
                width: 16
                height: 16
                source: row.type === MacroRules.typeDelay ? eventList.iconDelay
                      : row.type === MacroRules.typeKeyDown || row.type === MacroRules.typeMouseDown ? eventList.iconPress
                      : row.type === MacroRules.typeKeyUp || row.type === MacroRules.typeMouseUp ? eventList.iconRelease
                      : eventList.iconCursor
            }
            Text {
                x: 23
                anchors.verticalCenter: parent.verticalCenter
                width: parent.width - 26
                visible: !row.editing
                elide: Text.ElideRight
                text: row.shown
                color: eventList.textColor
                font.family: eventList.fontFamily
                font.pixelSize: eventList.fontSize
            }
            MouseArea {
                id: rowArea

                anchors.fill: parent
                hoverEnabled: true
                acceptedButtons: Qt.LeftButton | Qt.RightButton
                onPressed: mouse => {
                    eventList.rowPressed(row.index)
                    list.currentIndex = row.index
                    if (mouse.button === Qt.RightButton)
                        eventList.menuRequested(row.index, mapToItem(eventList, mouse.x, mouse.y))
                }
                onDoubleClicked: mouse => {
                    if (mouse.button === Qt.LeftButton)
                        eventList.startEditing(row.index)
                }
            }
            Rectangle {
                x: 20
                width: parent.width - 22
                height: parent.height
                visible: row.editing
                color: "#141414"
                border.width: 1
                border.color: "#fa6726"
            }
            TextInput {
                x: 23
                anchors.verticalCenter: parent.verticalCenter
                width: parent.width - 26
                visible: row.editing
                clip: true
                color: eventList.textColor
                selectionColor: "#fa6726"
                selectedTextColor: "#ffffff"
                font.family: eventList.fontFamily
                font.pixelSize: eventList.fontSize
                validator: RegularExpressionValidator { regularExpression: /-?\d{0,6}/ }
                Accessible.role: Accessible.EditableText
                Accessible.name: "Value"
                onVisibleChanged: {
                    if (!visible)
                        return
                    text = d.editText
                    selectAll()
                    forceActiveFocus()
                }
                onTextChanged: {
                    if (row.editing)
                        d.editText = text
                }
                onAccepted: eventList.endEditing(true)
                onActiveFocusChanged: {
                    if (!activeFocus && row.editing)
                        eventList.endEditing(true)
                }
                Keys.onEscapePressed: eventList.endEditing(false)
            }
        }
    }
    Rectangle {
        id: bar

        // The scroll bar: a track the height of the list, the handle the
        // visible share of the rows.
        x: parent.width - width
        width: 15
        height: parent.height
        color: "#141414"
        visible: list.contentHeight > list.height
        Accessible.role: Accessible.ScrollBar
        Accessible.name: eventList.accessibleName + " scroll bar"

        Rectangle {
            x: 3
            width: parent.width - 6
            radius: 3
            color: barArea.pressed ? "#fa6726" : "#5a5a5a"
            height: Math.max(20, parent.height * list.visibleArea.heightRatio)
            y: list.visibleArea.yPosition * parent.height
        }
        MouseArea {
            id: barArea

            anchors.fill: parent
            onPressed: mouse => scrollTo(mouse.y)
            onPositionChanged: mouse => scrollTo(mouse.y)
            function scrollTo(y) {
                const share = Math.max(0, Math.min(1, y / height))
                list.contentY = share * Math.max(0, list.contentHeight - list.height)
            }
        }
    }
}
