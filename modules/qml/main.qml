// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import "./basic"
import "./common"
import "./Q3"
import "Q3/PanelMath.js" as PanelMath
import "Q3/KeyRules.js" as KeyRules

// The window: a frameless 1000 by 640 surface holding the settings panels, the
// mouse picture and the dialogs. It wires the panels' signals to the back end
// ("ui_View") and the window operations ("ui_Ctl"), shows the splash until the
// first start-up lock ends, and offers that lock to the back end.
Item {
    id: mainIten

    property var mainLang: d.englishStrings.slice()
    property int language: 1
    property bool isScrollRateFocus: scrollRate.fieldFocused
    property alias currentProfile: profileMain.profileNo
    // String groups of the other pages, filled from the language pack.
    property var pageStrings: []

    property string fontFamily: "微软雅黑"
    property int fontNormalSize: 12
    property int fontMaxSize: 16
    property int fontMiddleSize: 14
    property int fontMinSize: 10
    property color fontColor: "#ffffff"
    property int globalSetting_size: 11
    property color globalSetting_color: "#FF00FFFF"
    property string globalSetting_fontFamily: "Arial"
    property int animation_speed: 300

    property int skin_No: 1
    property url sourceBackground: "qrc:/modules/img/background.svg"
    property url sourcePowerOn: skin("index", "powerOn.svg")
    property url sourceMainLogo: skin("index", "mainLogo.svg")
    property url sourceAskBtn: skin("index", "askBtn.svg")
    property url sourceAskBtnHover: skin("index", "askBtn_hover.svg")
    property url sourceAskBtnPressed: skin("index", "askBtn_pressed.svg")
    property url sourceCloseBtn: skin("index", "closeBtn.svg")
    property url sourceCloseBtnHover: skin("index", "closeBtn_hover.svg")
    property url sourceCloseBtnPressed: skin("index", "closeBtn_pressed.svg")
    property url sourceMinBtn: skin("index", "minBtn.svg")
    property url sourceMinBtnHover: skin("index", "minBtn_hover.svg")
    property url sourceMinBtnPressed: skin("index", "minBtn_pressed.svg")
    property url sourceResetBtn: skin("index", "resetBtn.svg")
    property url sourceResetBtnHover: skin("index", "resetBtn_hover.svg")
    property url sourceResetBtnPressed: skin("index", "resetBtn_pressed.svg")
    property url sourceProfileBtn: skin("index", "profileBtn.svg")
    property url sourceProfileBtnHover: skin("index", "profileBtn_hover.svg")
    property url sourceProfileBtnPressed: skin("index", "profileBtn_pressed.svg")
    property url sourceScrollBar: skin("index", "scrollBar.svg")
    property url sourceProfileBG: skin("profile", "profileBG.svg")
    property url sourceprofileCloseBtn: skin("profile", "closeBtn.svg")
    property url sourceprofileCloseBtnHover: skin("profile", "closeBtn_hover.svg")
    property url sourceprofileCloseBtnPressed: skin("profile", "closeBtn_pressed.svg")
    property url sourceProfileNewBtn: skin("profile", "newBtn.svg")
    property url sourceProfileNewBtnHover: skin("profile", "newBtn_hover.svg")
    property url sourceProfileNewBtnPressed: skin("profile", "newBtn_pressed.svg")
    property url sourceProfileDeleteBtn0: skin("profile", "deleteBtn.svg")
    property url sourceProfileDeleteBtn0Hover: skin("profile", "deleteBtn_hover.svg")
    property url sourceProfileDeleteBtn0Pressed: skin("profile", "deleteBtn_pressed.svg")
    property url sourceDialog: skin("index", "dialog.svg")
    property url sourceKnob: skin("common", "knob.svg")
    property url sourceKnobHover: skin("common", "knob_hover.svg")
    property url sourceKnobPressed: skin("common", "knob_pressed.svg")
    property url sourceToggleOn: skin("common", "toggle_on.svg")
    property url sourceToggleOff: skin("common", "toggle_off.svg")
    property url sourceRadioOn: skin("common", "radio_on.svg")
    property url sourceRadioOff: skin("common", "radio_off.svg")
    property url sourcePlus: skin("common", "plus.svg")
    property url sourcePlusHover: skin("common", "plus_hover.svg")
    property url sourcePlusPressed: skin("common", "plus_pressed.svg")
    property url sourceMinus: skin("common", "minus.svg")
    property url sourceMinusHover: skin("common", "minus_hover.svg")
    property url sourceMinusPressed: skin("common", "minus_pressed.svg")
    property url sourceHueBar: skin("colorBar", "hue.svg")
    property url sourceHueMarker: skin("colorBar", "marker.svg")
    property url sourceMouseTop: skin("mouse", "top.svg")
    property url sourceMouseSide: skin("mouse", "side.svg")
    property url sourceSingleKeyBg: skin("keyMatrix", "singleKeyBg.svg")
    property url sourcemacroSaveBtn: skin("macros", "saveBtn.svg")
    property url sourcemacroSaveBtnH: skin("macros", "saveBtn_hover.svg")
    property url sourcemacroSaveBtnP: skin("macros", "saveBtn_pressed.svg")

    signal emptyAreaPressed
    signal msg_KB(bool isDown, int usbCode)
    signal msg_MS(bool isDown, int brixCode, int x, int y)

    // A picture of the current skin: "qrc:/<group>/modules/img/skin<N>/<group>/<file>".
    function skin(group, file) {
        return "qrc:/" + group + "/modules/img/skin" + skin_No + "/" + group + "/" + file
    }
    function sourceReportRate(picture, chinese) {
        return skin("mouseRate", "rate_" + picture + (chinese ? "_cn" : "_en") + ".svg")
    }
    function sourceDial(picture) {
        return skin("mouseSpeed", "dial_" + picture + ".svg")
    }
    function sourceMouseButton(side, index, lit) {
        return skin("mouse", (side ? "side_" : "top_") + index + (lit ? "_on" : "") + ".svg")
    }

    function initUI() {
        setProtectUI(1000)
        language = String(ui_View.getLang()) === "ChineseSimplified" ? 1 : 0
        currentProfile = parseInt(ui_View.getProfile()) || 0
        console.log("current profile", currentProfile)
        ui_View.ui_02H_SetCurrentProfile(currentProfile)
        if (language)
            loadStringGroups()
        profileMain.init()
        keyMenuMain.init()
        for (const page of settingsPages())
            page.init(false)
        macroEditorMain.init()
        gunControlMain.init(false)
        gunControlMain.inited()
        gunControlMain.setGunMenuName()
        keyMatrixMain.initGunKeyShow()
    }
    function run() {
    }
    function detectKeyboard(isDown, usbCode) {
        msg_KB(isDown, usbCode)
    }
    function detectMouse(isDown, brixCode, x, y) {
        msg_MS(isDown, brixCode, x, y)
    }
    // Locks the window for `interval` ms: the view takes no input and the busy
    // indicator shows. A new call restarts the lock; 0 releases it on the next
    // turn of the event loop. The first release reveals the main screen.
    function setProtectUI(interval) {
        busyIndicator.setBusy(true)
        ui_View.setEnabled(false)
        lockTimer.stop()
        d.lockGeneration += 1
        if (interval > 0) {
            lockTimer.interval = interval
            lockTimer.start()
        } else {
            const generation = d.lockGeneration
            Qt.callLater(() => {
                if (generation === d.lockGeneration)
                    d.unlock()
            })
        }
    }
    // Closes whatever pop-up is open.
    function focusControl() {
        if (isScrollRateFocus)
            scrollRate.releaseFocus()
        colorPicker.visible = false
        askMenu.visible = false
        if (keyMenuMain.visible) {
            keyMenuMain.visible = false
            mousePicture.selectKey = -1
        }
    }
    function askMenuCmd(cmd) {
        askMenu.visible = false
        if (cmd === 0)
            Qt.openUrlExternally(askMenu.homePage)
        else if (cmd === 1)
            ui_View.openUpdateExe()
    }
    // The pages that load their values from the profile or the host, in the
    // order they are initialised.
    function settingsPages() {
        return [keyMatrixMain, xySetting, dpiSetting, lightControl, reportRate, mouseRate, doubleRate, scrollRate]
    }
    function loadStringGroups() {
        const groups = []
        for (let type = 0; type <= 6; ++type)
            groups.push(ui_View.getGlobalStrings(type, "lang_025044"))
        mainLang = PanelMath.mergeStrings(d.englishStrings, groups[0])
        keyMatrixMain.keyMatrixLang = PanelMath.mergeStrings(keyMatrixMain.keyMatrixLang, groups[1])
        keyMenuMain.keyMenuLang = PanelMath.mergeStrings(keyMenuMain.englishStrings, groups[2])
        macroEditorMain.macroEditorLang = PanelMath.mergeStrings(macroEditorMain.macroEditorLang, groups[3])
        singleKeyMain.macroKeyLang = PanelMath.mergeStrings(singleKeyMain.macroKeyLang, groups[5])
        macroKeyMain.macroKeyLang = PanelMath.mergeStrings(macroKeyMain.macroKeyLang, groups[5])
        gunControlMain.macroEditorLang = PanelMath.mergeStrings(gunControlMain.macroEditorLang, groups[4])
        pageStrings = groups
    }
    function openMacroEditor() {
        focusControl()
        macroEditorMain.x = (width - macroEditorMain.width) / 2
        macroEditorMain.y = (height - macroEditorMain.height) / 2
        macroEditorMain.open()
    }
    function toggleProfilePage() {
        if (profileMain.visible) {
            profileMain.close()
        } else {
            focusControl()
            profileMain.open()
        }
    }
    // Another profile shows at once; the mouse gets its settings when the
    // page closes, so switching several times sends them once.
    function changeProfile(profileNo) {
        if (profileNo === currentProfile)
            return
        currentProfile = profileNo
        ui_View.ui_02H_SetCurrentProfile(profileNo)
        d.profileChanged = true
        // The chosen guns belong to the profile: read them before the button
        // page labels its recoil keys with their names.
        gunControlMain.readGunData()
        for (const page of settingsPages())
            page.init(false)
        showChosenGuns()
    }
    // The button menu and the recoil keys name the guns the profile chose.
    function showChosenGuns() {
        gunControlMain.setGunMenuName()
        keyMatrixMain.initGunKeyShow()
    }
    function profilePageClosed() {
        if (!d.profileChanged)
            return
        setProtectUI(1500)
        d.profileChanged = false
        for (const page of settingsPages())
            page.init(true)
        gunControlMain.sendGunMacro()
        ui_View.ui_02H_SetKeyMatrixNo(0)
    }
    // The profile was changed from outside the window (quellarctl through this instance):
    // show what it holds now, as after choosing a profile.
    function refreshFromProfile() {
        currentProfile = parseInt(ui_View.getProfile()) || 0
        console.log("current profile", currentProfile)
        for (const page of settingsPages())
            page.init(false)
    }
    function resetCurrentProfile() {
        resetConfirm.visible = false
        setProtectUI(1500)
        ui_View.resetProfile(currentProfile)
        gunControlMain.readGunData()
        for (const page of settingsPages())
            page.init(true)
        gunControlMain.sendGunMacro()
        showChosenGuns()
    }
    // A function chosen in the key menu, as eight hex digits, goes to the selected button.
    function assignMenuCmd(menuStr) {
        const button = mousePicture.selectKey
        keyMenuMain.visible = false
        const bytes = KeyRules.menuBytes(menuStr)
        keyMatrixMain.modifyData(button, bytes[0], bytes[1], bytes[2], bytes[3])
        keyMatrixMain.refreashUI()
        keyMatrixMain.cancelGunKeyFun(button)
        mousePicture.selectKey = -1
    }

    width: 1000
    height: 640

    QtObject {
        id: d

        readonly property var englishStrings: ["Axis Sensitivity", "x-Axis", "y-Axis", "DPI Setting", "Lighting",
            "Static", "Breath", "RGB", "Finger \nTapping", "Polling Rate", "Mouse Speed", "Double-Click Speed",
            "Scroll Speed", "Slow", "Fast", "Number of Rows", "Scrol one Screen", "Top View", "Side View",
            "Config", "New", "Delete", "Edit", "Copy", "Load", "Save", "Reset", "Reset Factroy Setting", "OK",
            "Cancel", "", "", "", "", ""]
        property bool revealed: false
        property int lockGeneration: 0
        // Another profile was chosen since the profile page opened.
        property bool profileChanged: false
        readonly property bool dialogOpen: resetConfirm.visible || profileMain.visible || singleKeyMain.visible
                                           || macroEditorMain.visible || macroKeyMain.visible
        readonly property bool columnFrozen: dpiSetting.sliderPressed || lightControl.sliderPressed
                                             || mouseRate.sliderPressed || doubleRate.sliderPressed

        function unlock() {
            ui_View.setEnabled(true)
            busyIndicator.setBusy(false)
            revealed = true
        }
    }

    // 1. Pressing an empty part of the window drags the window.
    MouseArea {
        property point pressedAt

        anchors.fill: parent
        onPressed: mouse => {
            mainIten.emptyAreaPressed()
            pressedAt = Qt.point(mouse.x, mouse.y)
            mainIten.focusControl()
        }
        onPositionChanged: mouse => {
            ui_Ctl.onXChanged(mouse.x - pressedAt.x)
            ui_Ctl.onYChanged(mouse.y - pressedAt.y)
        }
    }

    // 2. Splash until the first lock ends.
    SkinImage {
        id: splash

        anchors.centerIn: parent
        width: 1000
        height: 640
        visible: !d.revealed
        // Never shown again once the main screen is out: let its pixels go.
        source: d.revealed ? "" : mainIten.sourcePowerOn
        cache: false
    }

    // 3. Busy indicator and the lock's timer.
    BusyIndicator {
        id: busyIndicator

        anchors.centerIn: parent
        z: 99
    }
    Timer {
        id: lockTimer

        interval: 1000
        onTriggered: d.unlock()
    }

    // 4. Background, logo and the left column.
    Environment {
        visible: d.revealed
    }
    SkinImage {
        x: 18; y: 32
        width: 242; height: 56
        visible: d.revealed
        source: mainIten.sourceMainLogo
        Accessible.role: Accessible.StaticText
        Accessible.name: "Quellar"
    }
    Column {
        x: 18; y: 106
        spacing: 5
        visible: d.revealed

        KeyMatrix {
            id: keyMatrixMain

            macroEditor: macroEditorMain
            selectedButton: mousePicture.selectKey
            gunPage: gunControlMain
            onClickFrame: mainIten.focusControl()
            onClickKeyMatrix: index => {
                keyMenuMain.x = getx(index)
                keyMenuMain.y = gety(index)
                keyMenuMain.showControl()
                mousePicture.selectKey = index
            }
            // Pointing selects only while nothing is open: the menu and the
            // key dialog assign to the button selected when they opened.
            onEnterBtn: index => {
                if (!keyMenuMain.visible && !d.dialogOpen)
                    mousePicture.selectKey = index
            }
            onLeaveBtn: index => {
                if (!keyMenuMain.visible && !d.dialogOpen)
                    mousePicture.selectKey = -1
            }
        }
        // The strip under the buttons: the macro manager's button.
        Rectangle {
            width: 242
            height: 38
            color: "#b31a1a1a"

            ImageButton {
                x: (parent.width - width) / 2
                y: (parent.height - height) / 2
                width: 150
                height: 28
                source: mainIten.skin("macros", "saveBtn.svg")
                hoverSource: mainIten.skin("macros", "saveBtn_hover.svg")
                pressedSource: mainIten.skin("macros", "saveBtn_pressed.svg")
                text: macroEditorMain.macroEditorLang[0]
                onClicked: mainIten.openMacroEditor()
            }
        }
        XySetting {
            id: xySetting

            onClickFrame: mainIten.focusControl()
        }
    }

    // 5. The profile button opens and closes the profile page.
    ImageButton {
        x: 20
        y: parent.height - 6 - height
        width: 120
        height: 30
        visible: d.revealed
        source: mainIten.sourceProfileBtn
        hoverSource: mainIten.sourceProfileBtnHover
        pressedSource: mainIten.sourceProfileBtnPressed
        text: mainIten.mainLang[19]
        textLeft: 28
        onClicked: mainIten.toggleProfilePage()
    }

    // 6. The right column: six panels in a clipped list with its own scroll bar.
    Item {
        id: rightColumn

        x: 734; y: 32
        width: parent.width - 9 - x
        height: flick.height
        visible: d.revealed

        SkinImage {
            x: scrollBar.x
            width: 8
            height: PanelMath.columnHeight
            visible: scrollBar.visible
            source: mainIten.sourceScrollBar
        }
        Flickable {
            id: flick

            width: 242
            height: Math.min(contentHeight, PanelMath.columnHeight)
            contentWidth: 242
            contentHeight: panels.height
            boundsBehavior: Flickable.StopAtBounds
            clip: true
            interactive: !d.columnFrozen

            Column {
                id: panels

                spacing: 5

                DpiSetting {
                    id: dpiSetting

                    onClickFrame: mainIten.focusControl()
                    onDpiValueChange: ui_View.ui_11H_SetDPISet(6, dpiValueToDpiSet(), valueForDpi())
                    onDpiSelectChange: {
                        ui_View.ui_11H_SetDPISelect(valueForDpiSelect())
                        ui_View.ui_11H_SetDPISet(6, dpiValueToDpiSet(), valueForDpi())
                    }
                    onOpenColorBar: (stage, colour) => {
                        colorPicker.stage = stage
                        colorPicker.openWith(colour)
                    }
                    onDpiColorChange: (cl0, cl1, cl2, cl3, cl4, cl5) => {
                        const list = PanelMath.stageColourList([cl0, cl1, cl2, cl3, cl4, cl5])
                        ui_View.ui_10H_SetLED8StageColor(1, list)
                        ui_View.ui_10H_SetLED8StageColor(1, list)
                    }
                }
                LightControl {
                    id: lightControl

                    onClickFrame: mainIten.focusControl()
                    onSetLED: (effect, option1, option2) => {
                        const call = PanelMath.lightCall(effect, option1, option2)
                        ui_View.ui_0DH_SetRGBLedEffect(call.effect, call.level, call.option2, call.configs)
                    }
                }
                ReportRate {
                    id: reportRate

                    onClickFrame: mainIten.focusControl()
                    onReportValueChanged: ui_View.ui_01H_SetReportRate(reportValue)
                }
                MouseRate {
                    id: mouseRate

                    onClickFrame: mainIten.focusControl()
                    onMouseRateChange: ui_View.setCursorSpeed(mouseRateValue)
                }
                DoubleRate {
                    id: doubleRate

                    onClickFrame: mainIten.focusControl()
                    onDoubleRateChange: ui_View.setDoubleClickSpeed(doubleRateValue)
                }
                ScrollRate {
                    id: scrollRate

                    onClickFrame: mainIten.focusControl()
                    onLinesChange: linesValue => {
                        ui_View.setVerticalScrollLines(linesValue)
                        lines = linesValue
                    }
                }
            }
        }
        Rectangle {
            id: scrollBar

            x: flick.width + 5
            y: PanelMath.scrollBarY(flick.visibleArea.yPosition)
            width: 8
            height: PanelMath.scrollBarHeight(flick.visibleArea.heightRatio)
            visible: flick.visibleArea.heightRatio < 1
            radius: 4
            border.color: "#60000000"
            gradient: Gradient {
                GradientStop { position: 0; color: "#767676" }
                GradientStop { position: 1; color: "#303030" }
            }
            Accessible.role: Accessible.ScrollBar
            Accessible.name: "Scroll the settings"

            Rectangle {
                anchors.fill: parent
                radius: 4
                color: "#20ffffff"
                visible: barArea.containsMouse || barArea.pressed
            }
            MouseArea {
                id: barArea

                property real pressedSceneY: 0
                property real pressedContentY: 0

                anchors.fill: parent
                hoverEnabled: true
                preventStealing: true
                onPressed: mouse => {
                    pressedSceneY = mapToItem(null, mouse.x, mouse.y).y
                    pressedContentY = flick.contentY
                }
                onPositionChanged: mouse => {
                    if (pressed)
                        flick.contentY = PanelMath.draggedContentY(pressedContentY,
                            mapToItem(null, mouse.x, mouse.y).y - pressedSceneY, flick.contentHeight, flick.height)
                }
            }
        }
    }

    // 7. The DPI stages' colour picker, under the stages' colour squares.
    ColorPicker {
        id: colorPicker

        property int stage: 0

        x: rightColumn.x + PanelMath.colourPickerX(stage)
        y: rightColumn.y + 252 - flick.contentY
        z: 1
        onColorChosen: colour => dpiSetting.setColor(colour)
    }

    // 8. Window buttons.
    Menu_Down {
        x: 913; y: 604
        visible: d.revealed
        onResetRequested: resetConfirm.visible = true
    }
    Menu_Up {
        x: 935; y: 5
        visible: d.revealed
        onBtnClicked: btnIndex => {
            if (btnIndex === 0)
                ui_Ctl.onMinimize()
            else if (btnIndex === 1)
                ui_Ctl.onClose()
            else
                askMenu.visible = !askMenu.visible
        }
    }

    // 9. The mouse.
    Mouse {
        id: mousePicture

        visible: d.revealed
    }

    // 10. The mask behind dialogs: it gives the focus back to the open dialog
    // and still lets the window be dragged.
    Rectangle {
        anchors.fill: parent
        visible: d.dialogOpen
        color: "#90000000"

        MouseArea {
            property point pressedAt

            anchors.fill: parent
            onPressed: mouse => {
                pressedAt = Qt.point(mouse.x, mouse.y)
                if (profileMain.visible)
                    profileMain.profileEditorFocus()
                else if (macroEditorMain.visible)
                    macroEditorMain.macroEditorFocus()
                else if (macroKeyMain.visible)
                    macroKeyMain.isOpen = false
                else
                    resetConfirm.forceActiveFocus()
            }
            onPositionChanged: mouse => {
                ui_Ctl.onXChanged(mouse.x - pressedAt.x)
                ui_Ctl.onYChanged(mouse.y - pressedAt.y)
            }
        }
    }

    // 11. The dialogs: the button menu and the key dialog, the profile page.
    KeyMenu {
        id: keyMenuMain

        gunPage: gunControlMain
        selectedButton: mousePicture.selectKey
        keyMatrix: keyMatrixMain
        onMenuCmd: menuStr => mainIten.assignMenuCmd(menuStr)
        onKeyDialogRequested: {
            singleKeyMain.x = (mainIten.width - singleKeyMain.width) / 2
            singleKeyMain.y = (mainIten.height - singleKeyMain.height) / 2
            singleKeyMain.open()
        }
        onMacroDialogRequested: {
            macroKeyMain.x = (mainIten.width - macroKeyMain.width) / 2
            macroKeyMain.y = (mainIten.height - macroKeyMain.height) / 2
            macroKeyMain.open(0, 0)
        }
        onGunKeyAssignment: (gunIndex, cmd) => {
            visible = false
            const button = mousePicture.selectKey
            // Assignment: the gun is chosen in the macro key dialog, which
            // clears the selection when it closes.
            if (cmd === 0) {
                macroKeyMain.x = (mainIten.width - macroKeyMain.width) / 2
                macroKeyMain.y = (mainIten.height - macroKeyMain.height) / 2
                macroKeyMain.gunIndex = gunIndex
                macroKeyMain.open(1, 2)
                return
            }
            if (cmd === 1)
                keyMatrixMain.openGunKeyProc(button, gunIndex, keyMatrixMain.bindings()[gunIndex].type)
            else if (cmd !== 0)
                keyMatrixMain.closeGunKeyProc(button, gunIndex)
            if (cmd !== 0) {
                keyMatrixMain.refreashUI()
                keyMatrixMain.initGunKeyShow()
            }
            mousePicture.selectKey = -1
        }
    }
    SingleKey {
        id: singleKeyMain

        keyMatrix: keyMatrixMain
        selectedButton: mousePicture.selectKey
        onCloseSure: {
            visible = false
            mousePicture.selectKey = -1
        }
    }
    Connections {
        target: mainIten

        function onMsg_KB(isDown, usbCode) {
            if (singleKeyMain.visible)
                singleKeyMain.detectKeyboard(isDown, usbCode)
            if (gunControlMain.isInputting)
                gunControlMain.detectKeyboard(isDown, usbCode)
            if (gunControlMain.isInsertting)
                gunControlMain.detectInput(isDown, usbCode)
            if (macroEditorMain.isInputting)
                macroEditorMain.detectKeyboard(isDown, usbCode)
        }
    }
    // The gun page: hidden, its members name, choose and upload the guns.
    GunControl {
        id: gunControlMain

        x: (parent.width - width) / 2
        y: (parent.height - height) / 2
        keyMatrix: keyMatrixMain
        keyMenu: keyMenuMain
        language: mainIten.language
    }
    Profile {
        id: profileMain

        // Above the profile button, covering it down to its bottom edge.
        x: 18; y: parent.height - 6 - height
        onChangeProfile: tmpProfileNo => mainIten.changeProfile(tmpProfileNo)
        onCloseUI: mainIten.profilePageClosed()
    }

    MacroEditor {
        id: macroEditorMain

        onDeleteMacroSignal: macroName => keyMatrixMain.deleteMacroProc(macroName)
        onMacroRenamed: keyMatrixMain.refreashUI()
    }
    MacroKey {
        id: macroKeyMain

        keyMatrix: keyMatrixMain
        macroEditor: macroEditorMain
        gunListModel: gunControlMain.macroListModel
        selectedButton: mousePicture.selectKey
        onGunChosen: (gunIndex, name, runMode) => gunControlMain.bindGun(gunIndex, selectedButton, name, runMode)
        onCloseSure: {
            visible = false
            mousePicture.selectKey = -1
        }
    }

    // 12. Factory reset and the help menu.
    ResetConfirm {
        id: resetConfirm

        x: (parent.width - width) / 2
        y: (parent.height - height) / 2
        onConfirmed: mainIten.resetCurrentProfile()
        onCancelled: visible = false
    }
    AskMenu {
        id: askMenu

        x: 790; y: 24
        onRowChosen: row => mainIten.askMenuCmd(row)
    }
    KeyCodeString {
        id: _KeyCodeString
    }

    // Editing the scroll lines ends with any press outside the field, also on
    // the controls, which do not take the focus. The handler only watches (a
    // passive grab), so the press still reaches whatever is under it.
    Item {
        anchors.fill: parent
        z: 100

        PointHandler {
            acceptedButtons: Qt.AllButtons
            onActiveChanged: {
                if (active && mainIten.isScrollRateFocus && !scrollRate.fieldContains(point.scenePosition))
                    scrollRate.releaseFocus()
            }
        }
    }
}
