// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import "../common"
import "ProfileRules.js" as ProfileRules

// The profile page: the named profiles, which one is current, and the commands
// on them (new, rename, copy, delete, import, export). The names live in the
// name file's profile list; the profiles themselves in the back end's profile
// table. The window opens the page and reacts to `changeProfile` and `closeUI`.
SkinImage {
    id: page

    // The current profile number, kept equal to the selected entry's by the window.
    property int profileNo: -1

    signal listViewFocus
    signal doubleClick
    signal closeUI
    signal changeProfile(int tmpProfileNo)

    // Fills the list from the name file and selects the current profile.
    function init() {
        for (let i = 0; i < profileMenuModel.count; ++i)
            profileMenuModel.setProperty(i, "text", mainIten.mainLang[21 + i])
        const parsed = ProfileRules.parseStoredList(ui_View.getNameList(2))
        d.kept = parsed.kept
        if (parsed.kept.length > 0)
            console.warn(log, parsed.kept.length, "stored profile names without a profile number are kept unshown")
        profileDataModel0.clear()
        for (const entry of parsed.entries)
            profileDataModel0.append(entry)
        const position = ProfileRules.positionOf(parsed.entries, profileNo)
        list.currentIndex = profileDataModel0.count > 0 ? Math.max(position, 0) : -1
        if (mainIten.language === 0 && ProfileRules.englishFirstName(parsed.entries) !== "")
            rename(0, ProfileRules.englishFirstName(parsed.entries))
        // The current profile is not listed: make the entry the page selects
        // current, so the commands act on the profile the user sees selected.
        if (position < 0 && profileDataModel0.count > 0)
            changeProfile(profileDataModel0.get(0).profileNo)
    }
    // Ends name editing and closes the menu; the window calls it when the
    // user presses around the page.
    function profileEditorFocus() {
        listViewFocus()
        menu.visible = false
        forceActiveFocus()
    }
    function open() {
        visible = true
        forceActiveFocus()
    }
    function close() {
        profileEditorFocus()
        visible = false
        closeUI()
    }

    function entries() {
        const all = []
        for (let i = 0; i < profileDataModel0.count; ++i) {
            const entry = profileDataModel0.get(i)
            all.push({ profileName: entry.profileName, profileNo: entry.profileNo })
        }
        return all
    }
    function storeList() {
        ui_View.updataNameList(2, ProfileRules.storedList(entries(), d.kept))
    }
    function select(position) {
        listViewFocus()
        list.currentIndex = position
        changeProfile(profileDataModel0.get(position).profileNo)
    }
    function rename(position, name) {
        if (!ProfileRules.canRename(entries(), position, name)) {
            if (profileDataModel0.get(position).profileName !== String(name))
                console.warn(log, "rename refused: the name is empty or another profile has it")
            return
        }
        profileDataModel0.setProperty(position, "profileName", String(name))
        storeList()
    }
    function startEditing(position) {
        if (position < 0 || position >= profileDataModel0.count)
            return
        menu.visible = false
        d.editText = profileDataModel0.get(position).profileName
        d.editingPosition = position
    }
    // Leaving the field applies the name; Escape leaves it unapplied.
    function endEditing(apply) {
        const position = d.editingPosition
        if (position < 0)
            return
        d.editingPosition = -1
        page.forceActiveFocus()
        if (apply)
            rename(position, d.editText)
    }
    // Adds `name` with profile number `number`, selects and stores it.
    function addEntry(name, number) {
        profileDataModel0.append({ profileName: name, profileNo: number })
        list.currentIndex = profileDataModel0.count - 1
        storeList()
    }
    function newProfile() {
        profileEditorFocus()
        const all = entries()
        if (!ProfileRules.canAdd(all)) {
            console.warn(log, "new profile refused: the list is full")
            return
        }
        if (ProfileRules.newAdoptsCurrent(all, profileNo)) {
            addEntry(ProfileRules.newName(all), profileNo)
            return
        }
        const number = ProfileRules.freeNumber(all)
        addEntry(ProfileRules.newName(all), number)
        ui_View.resetProfile(number)
        changeProfile(number)
    }
    function copyProfile() {
        const all = entries()
        const source = all[list.currentIndex]
        if (!source)
            return
        if (!ProfileRules.canAdd(all)) {
            console.warn(log, "profile copy refused: the list is full")
            return
        }
        const number = ProfileRules.freeNumber(all)
        ui_View.copyProfile(number, source.profileNo)
        addEntry(ProfileRules.copyName(all, source.profileName), number)
        changeProfile(number)
    }
    function deleteProfile() {
        profileEditorFocus()
        if (profileDataModel0.count <= 1)
            return
        const position = list.currentIndex
        profileDataModel0.remove(position)
        list.currentIndex = Math.min(position, profileDataModel0.count - 1)
        storeList()
        changeProfile(profileDataModel0.get(list.currentIndex).profileNo)
    }
    function loadProfile() {
        if (!ui_View.loadProfile(profileNo))
            return
        for (const settingsPage of mainIten.settingsPages())
            settingsPage.init(true)
    }
    function menuCommand(command) {
        menu.visible = false
        if (command === 0)
            deleteProfile()
        else if (command === 1)
            startEditing(list.currentIndex)
        else if (command === 2)
            copyProfile()
        else if (command === 3)
            loadProfile()
        else if (command === 4)
            ui_View.saveProfile(profileNo)
    }

    width: 263
    height: 620
    visible: false
    source: mainIten.sourceProfileBG
    Accessible.role: Accessible.Dialog
    Accessible.name: mainIten.mainLang[19]
    onListViewFocus: endEditing(true)
    onDoubleClick: startEditing(list.currentIndex)
    Keys.onEscapePressed: menu.visible ? menu.visible = false : close()

    LoggingCategory {
        id: log

        name: "quellar.ui"
        defaultLogLevel: LoggingCategory.Warning
    }
    QtObject {
        id: d

        // Stored elements that name no profile, written back after the entries.
        property var kept: []
        property int editingPosition: -1
        property string editText: ""
    }
    ListModel {
        id: profileDataModel0
    }
    ListModel {
        id: profileMenuModel

        ListElement { text: "删除" }
        ListElement { text: "编辑" }
        ListElement { text: "复制" }
        ListElement { text: "加载" }
        ListElement { text: "保存" }
    }

    MouseArea {
        // The panel takes its clicks, so nothing behind it reacts; a click on
        // its empty parts ends editing and closes the menu.
        anchors.fill: parent
        acceptedButtons: Qt.LeftButton | Qt.RightButton
        onPressed: page.profileEditorFocus()
    }
    Text {
        x: 10
        y: 9
        text: mainIten.mainLang[19]
        color: mainIten.fontColor
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontNormalSize
        font.bold: true
    }
    Item {
        // The cross is small; its hit area reaches 3 pixels past it on every side.
        x: 237
        y: 9
        width: 20
        height: 20
        Accessible.role: Accessible.Button
        Accessible.name: "Close profiles"
        Accessible.onPressAction: page.close()

        SkinImage {
            x: 3
            y: 3
            width: 14
            height: 14
            source: closeArea.pressed ? mainIten.sourceprofileCloseBtnPressed
                                      : closeArea.containsMouse ? mainIten.sourceprofileCloseBtnHover
                                                                : mainIten.sourceprofileCloseBtn
        }
        MouseArea {
            id: closeArea

            anchors.fill: parent
            hoverEnabled: true
            cursorShape: Qt.PointingHandCursor
            onClicked: page.close()
        }
    }
    ListView {
        id: list

        // One pixel in from the sides, so a lit row leaves the panel's edge drawn.
        x: 1
        y: 31
        width: 261
        height: Math.min((count + 1) * 18, 544)
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        model: profileDataModel0
        currentIndex: -1
        highlightFollowsCurrentItem: false
        // Only a list longer than its area scrolls; otherwise a press below the
        // rows reaches the panel, which ends editing.
        interactive: contentHeight > height
        Accessible.role: Accessible.List
        Accessible.name: "Profiles"

        delegate: Rectangle {
            id: row

            required property int index
            required property string profileName

            readonly property bool editing: d.editingPosition === index

            width: ListView.view.width
            height: 18
            color: ListView.isCurrentItem ? "#b03b3b" : rowArea.containsMouse ? "#999999" : "transparent"
            Accessible.role: Accessible.ListItem
            Accessible.name: profileName
            Accessible.selected: ListView.isCurrentItem
            Accessible.onPressAction: page.select(index)

            Text {
                x: 9
                anchors.verticalCenter: parent.verticalCenter
                width: parent.width - 18
                visible: !row.editing
                elide: Text.ElideRight
                text: row.profileName
                color: mainIten.fontColor
                font.family: mainIten.fontFamily
                font.pixelSize: mainIten.fontNormalSize
            }
            MouseArea {
                id: rowArea

                anchors.fill: parent
                hoverEnabled: true
                acceptedButtons: Qt.LeftButton | Qt.RightButton
                onClicked: mouse => {
                    page.select(row.index)
                    if (mouse.button === Qt.RightButton)
                        menu.openAt(mapToItem(page, mouse.x, mouse.y + 3))
                    else
                        menu.visible = false
                }
                onDoubleClicked: mouse => {
                    if (mouse.button === Qt.LeftButton)
                        page.doubleClick()
                }
            }
            Rectangle {
                // While editing, the row shows a field, not a lit row with a caret.
                x: 4
                width: parent.width - 8
                height: parent.height
                visible: row.editing
                color: "#141414"
                border.width: 1
                border.color: "#fa6726"
            }
            TextInput {
                id: field

                x: 9
                anchors.verticalCenter: parent.verticalCenter
                width: parent.width - 18
                visible: row.editing
                clip: true
                color: mainIten.fontColor
                selectionColor: "#fa6726"
                selectedTextColor: "#ffffff"
                font.family: mainIten.fontFamily
                font.pixelSize: mainIten.fontNormalSize
                Accessible.role: Accessible.EditableText
                Accessible.name: "Profile name"
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
                onAccepted: page.listViewFocus()
                onActiveFocusChanged: {
                    if (!activeFocus && row.editing)
                        page.listViewFocus()
                }
                Keys.onEscapePressed: page.endEditing(false)
            }
        }
    }
    ImageButton {
        x: 40
        y: 580
        width: 84
        height: 26
        source: mainIten.sourceProfileNewBtn
        hoverSource: mainIten.sourceProfileNewBtnHover
        pressedSource: mainIten.sourceProfileNewBtnPressed
        text: mainIten.mainLang[20]
        textLeft: 24
        bold: true
        onClicked: page.newProfile()
    }
    ImageButton {
        x: 175
        y: 580
        width: 84
        height: 26
        source: mainIten.sourceProfileDeleteBtn0
        hoverSource: mainIten.sourceProfileDeleteBtn0Hover
        pressedSource: mainIten.sourceProfileDeleteBtn0Pressed
        text: mainIten.mainLang[21]
        textLeft: 24
        onClicked: page.deleteProfile()
    }
    Rectangle {
        id: menu

        // Opens at `at` (a point in the page), kept inside the page.
        function openAt(at) {
            x = Math.max(0, Math.min(at.x, page.width - width))
            y = Math.max(0, Math.min(at.y, page.height - height))
            visible = true
        }

        width: 159
        height: 105
        visible: false
        color: "#6f2929"
        border.width: 1
        border.color: "#8f2020"
        Accessible.role: Accessible.PopupMenu
        Accessible.name: "Profile commands"

        Column {
            Repeater {
                model: profileMenuModel

                Rectangle {
                    required property int index
                    required property string text

                    width: menu.width
                    height: 21
                    color: entryArea.containsMouse ? "#8f2020" : "transparent"
                    Accessible.role: Accessible.MenuItem
                    Accessible.name: text
                    Accessible.onPressAction: page.menuCommand(index)

                    Text {
                        x: 6
                        anchors.verticalCenter: parent.verticalCenter
                        text: parent.text
                        color: mainIten.fontColor
                        font.family: mainIten.fontFamily
                        font.pixelSize: mainIten.fontNormalSize
                    }
                    MouseArea {
                        id: entryArea

                        anchors.fill: parent
                        hoverEnabled: true
                        cursorShape: Qt.PointingHandCursor
                        onClicked: page.menuCommand(parent.index)
                    }
                }
            }
        }
    }
}
