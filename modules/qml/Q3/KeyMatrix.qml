// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import "KeyRules.js" as KeyRules

// Button assignment: the seven buttons with the functions they carry. The page
// keeps the mouse key matrix and the three recoil key matrices in memory and
// sends them whole after every change. A macro entry holds its macro slot
// here; the profile and the mouse hold slot + 1.
Frame {
    id: page

    property var keyMatrixLang: ["Macro: ", "Deactivated", "Keyboard Key-", "Button Assignment", "Button "]
    // The button the window has selected (-1 = none); its value cell is lit.
    property int selectedButton: -1
    // The recoil page, once there is one: it names the recoil slots.
    property var gunPage: null
    // The macro editor, once there is one: it sends a bound slot's macro again.
    property var macroEditor: null
    readonly property var defalutValue: KeyRules.defaultMatrix
    property var nameTexts: KeyRules.defaultMatrix.slice(0, 7).map((_, i) => keyMatrixLang[4] + (i + 1))
    property var rowTexts: KeyRules.defaultMatrix.slice(0, 7).map(() => "单击")

    signal clickKeyMatrix(int index)
    signal enterBtn(int index)
    signal leaveBtn(int index)

    // --- the models as plain matrices ---
    function matrixOf(model) {
        const matrix = []
        for (let i = 0; i < model.count; ++i) {
            const e = model.get(i)
            matrix.push([e.keyCode0, e.keyCode1, e.keyCode2, e.keyCode3])
        }
        return matrix
    }
    function setEntry(model, i, entry) {
        model.set(i, { keyCode0: entry[0], keyCode1: entry[1], keyCode2: entry[2], keyCode3: entry[3] })
    }
    function setMatrix(model, matrix) {
        matrix.forEach((entry, i) => setEntry(model, i, entry))
    }
    function recoilModels() {
        return [mod1Keys, mod2Keys, mod3Keys]
    }
    function allMatrices() {
        return [modKeys].concat(recoilModels()).map(matrixOf)
    }
    function setAllMatrices(matrices) {
        [modKeys].concat(recoilModels()).forEach((model, k) => setMatrix(model, matrices[k]))
    }
    function bindings() {
        const list = []
        for (let slot = 0; slot < gunKeyData.count; ++slot)
            list.push({ index: gunKeyData.get(slot).gunKeyIndex, type: gunKeyData.get(slot).gunKeyType })
        return list
    }
    function setBindings(list) {
        list.forEach((b, slot) => gunKeyData.set(slot, { gunKeyIndex: b.index, gunKeyType: b.type }))
    }
    function setRowText(index, text) {
        if (index < 0 || index >= rowTexts.length)
            return
        const texts = rowTexts.slice()
        texts[index] = text
        rowTexts = texts
    }

    // --- reading and sending ---
    function init(isSendData) {
        nameTexts = nameTexts.map((_, i) => keyMatrixLang[4] + (i + 1))
        const asRead = []
        for (let i = 0; i < KeyRules.entryCount; ++i) {
            const entry = KeyRules.pageEntry(ui_View.getKeydefine(i))
            setEntry(modKeys, i, entry)
            const text = keyCodetoText(entry[0], entry[1], entry[2], entry[3])
            modKeys.setProperty(i, "keyText", text)
            setRowText(i, text)
            if (entry[0] === KeyRules.typeMacro && macroEditor)
                macroEditor.sendMacro(entry[2], ui_View.getMacroKey(entry[2]))
            asRead.push(KeyRules.storedEntry(entry))
        }
        for (let i = 0; i < KeyRules.entryCount; ++i) {
            recoilModels().forEach((model, k) => setEntry(model, i,
                                                          KeyRules.pageEntry(ui_View.getGunKeydefine(k + 1, i))))
        }
        setBindings(KeyRules.bindingsOfList(ui_View.getselectGunKey()))
        if (isSendData) {
            ui_View.ui_12H_SetKeyMatrix([].concat(...asRead))
            setGunKeyMatrix()
        }
    }
    function keyCodetoText(tmp0, tmp1, tmp2, tmp3) {
        return KeyRules.entryText([tmp0, tmp1, tmp2, tmp3], keyMatrixLang, {
            macroName: slot => String(ui_View.getMacroKey(slot)),
            keyName: code => _KeyCodeString.keycodeTostr(code),
            chinese: mainIten.language === 1
        })
    }
    function checkLeftKey() {
        return KeyRules.leftClickCount(matrixOf(modKeys))
    }
    // The last left click stays: replacing it changes nothing.
    function modifyData(index, tmp0, tmp1, tmp2, tmp3) {
        if (!KeyRules.mayReplace(matrixOf(modKeys), index))
            return
        setEntry(modKeys, index, [tmp0, tmp1, tmp2, tmp3].map(Number))
    }
    function refreashUI() {
        const matrix = matrixOf(modKeys)
        matrix.forEach((entry, i) => {
            const text = keyCodetoText(entry[0], entry[1], entry[2], entry[3])
            modKeys.setProperty(i, "keyText", text)
            if (!KeyRules.isRecoilKey(entry))
                setRowText(i, text)
        })
        ui_View.ui_12H_SetKeyMatrix(KeyRules.storedList(matrix))
        setGunKeyMatrix()
    }
    function setGunKeyMatrix() {
        const main = matrixOf(modKeys)
        for (const model of recoilModels())
            setMatrix(model, KeyRules.followMain(main, matrixOf(model)))
        const slots = bindings()
        recoilModels().forEach((model, k) => {
            ui_View.ui_12H_SetGunKeyMatrix(KeyRules.recoilList(matrixOf(model), k + 1, slots), k + 1)
        })
    }
    function deleteMacroProc(macroName) {
        for (let i = 0; i < rowTexts.length; ++i) {
            if (rowTexts[i] === keyMatrixLang[0] + macroName) {
                const entry = KeyRules.entryOfHex(defalutValue[i])
                modifyData(i, entry[0], entry[1], entry[2], entry[3])
                refreashUI()
            }
        }
    }
    // tag 0 names the row, any other tag sets the function it shows.
    function setText(index, txt, tag) {
        if (tag === 0) {
            const texts = nameTexts.slice()
            texts[index] = txt
            nameTexts = texts
        } else {
            setRowText(index, txt)
        }
    }
    function getx(index) {
        return KeyRules.menuPosition(index).x
    }
    function gety(index) {
        return KeyRules.menuPosition(index).y
    }

    // --- recoil keys ---
    function recordSlots() {
        ui_View.setSelectGunKey(KeyRules.bindingsList(bindings()))
    }
    function openGunKeyProc(keyIndex, gunIndex, gunType) {
        const result = KeyRules.openGunKey(allMatrices(), bindings(), keyIndex, gunIndex, gunType)
        setAllMatrices(result.matrices)
        setBindings(result.bindings)
        recordSlots()
    }
    function closeGunKeyProc(gunKeyIndex, gunIndex) {
        const result = KeyRules.closeGunKey(allMatrices(), bindings(), gunKeyIndex, gunIndex)
        setAllMatrices(result.matrices)
        setBindings(result.bindings)
        if (gunPage)
            gunPage.setGunData(gunIndex, 2)
        recordSlots()
    }
    function cancelGunKeyFun(gunKeyIndex) {
        setBindings(KeyRules.cancelGunKeys(bindings(), gunKeyIndex))
        if (gunPage)
            gunPage.setGunMenuName()
        recordSlots()
    }
    function gunKeyMenuControl(gunIndex, keyIndex) {
        return KeyRules.gunKeyMenuControl(bindings(), gunIndex, keyIndex)
    }
    function gunSlotName(slot) {
        if (!gunPage)
            return ""
        return String(gunPage.getMacroName(gunPage.gunDataEx.get(slot).gunIndex))
    }
    function initGunKeyShow() {
        const matrix = matrixOf(modKeys)
        for (let i = 0; i < rowTexts.length; ++i) {
            if (!KeyRules.isRecoilKey(matrix[i]))
                continue
            const slot = KeyRules.shownGunSlot(bindings(), i)
            const name = slot >= 0 ? gunSlotName(slot) : ""
            setRowText(i, name !== "" ? name : mainIten.language === 1 ? "枪键按键" : "Gun Button")
        }
    }
    function controlGunShow(keyIndex, KeyString) {
        setRowText(keyIndex, KeyString)
    }

    title: keyMatrixLang[3]
    bodyHeight: 162

    ListModel { id: modKeys }
    ListModel { id: mod1Keys }
    ListModel { id: mod2Keys }
    ListModel { id: mod3Keys }
    ListModel { id: gunKeyData }

    Component.onCompleted: {
        for (const model of [modKeys, mod1Keys, mod2Keys, mod3Keys]) {
            for (let i = 0; i < KeyRules.entryCount; ++i)
                model.append({ keyCode0: 0, keyCode1: 0, keyCode2: 0, keyCode3: 0, keyText: "" })
        }
        for (let slot = 0; slot < KeyRules.recoilSets; ++slot)
            gunKeyData.append({ gunKeyIndex: KeyRules.unbound, gunKeyType: KeyRules.unboundType })
    }

    Repeater {
        model: KeyRules.shownRows

        Item {
            id: row

            required property int index
            readonly property bool lit: valueArea.containsMouse || page.selectedButton === index

            x: 11
            y: 7 + 21 * index
            width: 220
            height: 17

            Rectangle {
                width: 86
                height: 17
                color: "#161616"
                border.color: "#626262"

                Text {
                    anchors.centerIn: parent
                    text: page.nameTexts[row.index]
                    color: "#b3b3b3"
                    font.family: mainIten.fontFamily
                    font.pixelSize: mainIten.fontMinSize
                }
            }
            Rectangle {
                x: 90
                width: 130
                height: 17
                color: row.lit ? "#761212" : "#4f1717"
                border.color: "#4e3434"
                Accessible.role: Accessible.Button
                Accessible.name: "Button " + (row.index + 1)
                Accessible.description: page.rowTexts[row.index]
                Accessible.onPressAction: page.clickKeyMatrix(row.index)

                Text {
                    anchors.fill: parent
                    anchors.leftMargin: 4
                    anchors.rightMargin: 4
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                    elide: Text.ElideRight
                    text: page.rowTexts[row.index]
                    color: mainIten.fontColor
                    font.family: mainIten.fontFamily
                    font.pixelSize: mainIten.fontMinSize
                }
                MouseArea {
                    id: valueArea

                    anchors.fill: parent
                    hoverEnabled: true
                    cursorShape: Qt.PointingHandCursor
                    onEntered: page.enterBtn(row.index)
                    onExited: page.leaveBtn(row.index)
                    onClicked: page.clickKeyMatrix(row.index)
                }
            }
        }
    }
}
