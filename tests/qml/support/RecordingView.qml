// SPDX-License-Identifier: GPL-3.0-or-later
import QtQml

// Stand-in of "ui_View": every operation the shell and the settings panels
// call. Getters answer from `answers`; the defaults are a fresh mouse with the
// factory settings and an English host.
Recorder {
    function defaultAnswers() {
        return {
            getLang: "English",
            getProfile: 0,
            getGlobalStrings: (type, key) => Array.from({ length: 35 }, (_, i) => "g" + type + "_" + i),
            getXYSensitive: "4",
            ui_91H_GetDPISet: [800, 1600, 2400, 3200, 4800, 6000, 250, 250],
            ui_91H_GetDPISelect: [1, 1, 1, 1, 1, 1, 0, 0],
            ui_90H_GetLED8StageColor: [255, 0, 0, 0, 0, 255, 0, 255, 0, 255, 255, 0, 0, 255, 255, 255, 0, 255,
                                       0, 0, 0, 0, 0, 0],
            ui_8DH_GetRGBLedEffect: [3, 4, 2],
            ui_81H_GetReportRate: 1,
            getCursorSpeed: 5,
            getDoubleClickSpeed: 5,
            getVerticalScrollLines: 3,
            getNameList: [],
            loadProfile: false,
            // The buttons: the default matrix everywhere, no recoil key bound.
            getKeydefine: i => defaultEntry(i),
            getGunKeydefine: (set, i) => defaultEntry(i),
            getselectGunKey: [-1, -1, -1, 2, 2, 2],
            getMacroKey: slot => "macro" + slot,
            keyCodeTable: backEndKeyCodeTable,
            // The gun library: every gun at its list position, empty, stored
            // choices unset; the library accepts every rename.
            loadGunIndex: name => 0,
            loadGunType: name => 0,
            loadGunIni: name => ["1"],
            modifyGunName: true,
            getselectGun: ["", "", ""],
            uploadGunData: true,
            // The macro library: its name list (type 0) and its files by name,
            // each { index, type, lines, loops }; the slots' macro names by slot.
            macroNames: [],
            macroFiles: {},
            macroUse: {}
        }
    }
    function defaultEntry(i) {
        const hex = ["0100f000", "0100f100", "0100f200", "0f002e00", "0f000500", "08000101", "07000300"][i]
                    || (i === 14 ? "04000100" : i === 15 ? "04000200" : "00000000")
        return [0, 2, 4, 6].map(at => parseInt(hex.substr(at, 2), 16))
    }

    // Shell
    function setEnabled(enabled) { record("setEnabled", arguments) }
    function getLang() { return answer("getLang", arguments) }
    function getProfile() { return answer("getProfile", arguments) }
    function ui_02H_SetCurrentProfile(profile) { record("ui_02H_SetCurrentProfile", arguments) }
    function ui_02H_SetKeyMatrixNo(matrix) { record("ui_02H_SetKeyMatrixNo", arguments) }
    function getGlobalStrings(type, key) { return answer("getGlobalStrings", arguments) }
    function resetProfile(profile) { record("resetProfile", arguments) }
    function openUpdateExe() { record("openUpdateExe", arguments) }

    // Profile page
    function getNameList(type) {
        if (Number(type) !== 0)
            return answer("getNameList", arguments)
        record("getNameList", arguments)
        return plain(answers.macroNames)
    }
    function updataNameList(type, nameList) { record("updataNameList", arguments); return true }
    function copyProfile(destprofile, srcprofile) { record("copyProfile", arguments) }
    function loadProfile(profile) { return answer("loadProfile", arguments) }
    function saveProfile(profile) { record("saveProfile", arguments) }

    // Axis sensitivity
    function setXYSensitive(axis, value) { record("setXYSensitive", arguments) }
    function getXYSensitive(axis) { return answer("getXYSensitive", arguments) }
    function ui_0EH_SetXYSensitive(x, y) { record("ui_0EH_SetXYSensitive", arguments) }

    // DPI stages and their colours
    function ui_91H_GetDPISet() { return answer("ui_91H_GetDPISet", arguments) }
    function ui_91H_GetDPISelect() { return answer("ui_91H_GetDPISelect", arguments) }
    function ui_90H_GetLED8StageColor(table) { return answer("ui_90H_GetLED8StageColor", arguments) }
    function ui_11H_SetDPISet(stages, codes, values) { record("ui_11H_SetDPISet", arguments) }
    function ui_11H_SetDPISelect(inUse) { record("ui_11H_SetDPISelect", arguments) }
    function ui_10H_SetLED8StageColor(table, colours) { record("ui_10H_SetLED8StageColor", arguments) }

    // Lighting and report rate
    function ui_8DH_GetRGBLedEffect() { return answer("ui_8DH_GetRGBLedEffect", arguments) }
    function ui_0DH_SetRGBLedEffect(effect, level, option2, configs) { record("ui_0DH_SetRGBLedEffect", arguments) }
    function ui_81H_GetReportRate() { return answer("ui_81H_GetReportRate", arguments) }
    function ui_01H_SetReportRate(rate) { record("ui_01H_SetReportRate", arguments) }

    // Host pointer settings
    function getCursorSpeed() { return answer("getCursorSpeed", arguments) }
    function setCursorSpeed(speed) { record("setCursorSpeed", arguments) }
    function getDoubleClickSpeed() { return answer("getDoubleClickSpeed", arguments) }
    function setDoubleClickSpeed(speed) { record("setDoubleClickSpeed", arguments) }
    function getVerticalScrollLines() { return answer("getVerticalScrollLines", arguments) }
    function setVerticalScrollLines(lines) { record("setVerticalScrollLines", arguments) }

    // Button assignment
    function getKeydefine(entry) { return answer("getKeydefine", arguments) }
    function getGunKeydefine(set, entry) { return answer("getGunKeydefine", arguments) }
    function getselectGunKey() { return answer("getselectGunKey", arguments) }
    function setSelectGunKey(bindings) { record("setSelectGunKey", arguments) }
    function getMacroKey(slot) { return answer("getMacroKey", arguments) }
    function ui_12H_SetKeyMatrix(list) { record("ui_12H_SetKeyMatrix", arguments) }
    function ui_12H_SetGunKeyMatrix(list, set) { record("ui_12H_SetGunKeyMatrix", arguments) }
    function keyCodeTable() { return answer("keyCodeTable", arguments) }

    // Macro library, kept in the answers table so reset() empties it.
    function macroFile(name) {
        return answers.macroFiles[String(name)]
    }
    function createMacroIni(name, index) {
        record("createMacroIni", arguments)
        answers.macroFiles[String(name)] = { index: Number(index), type: -1, lines: [], loops: "1" }
        return true
    }
    function modifyMacroName(oldName, newName) {
        record("modifyMacroName", arguments)
        const file = macroFile(oldName)
        if (!file || macroFile(newName))
            return false
        delete answers.macroFiles[String(oldName)]
        answers.macroFiles[String(newName)] = file
        return true
    }
    function deleteMacroIni(name) {
        record("deleteMacroIni", arguments)
        const found = macroFile(name) !== undefined
        delete answers.macroFiles[String(name)]
        return found
    }
    function setMacroIndex(name, index) {
        record("setMacroIndex", arguments)
        if (macroFile(name))
            macroFile(name).index = Number(index)
    }
    function loadMacroType(name) {
        record("loadMacroType", arguments)
        return macroFile(name) ? macroFile(name).type : 0
    }
    function loadMacroIndex(name) {
        record("loadMacroIndex", arguments)
        return macroFile(name) ? macroFile(name).index : 0
    }
    function loadMacroIni(name) {
        record("loadMacroIni", arguments)
        const file = macroFile(name)
        return file ? file.lines.concat([file.loops]) : []
    }
    function saveMacroIni(name, lines, image, loops) {
        record("saveMacroIni", arguments)
        const file = macroFile(name)
        if (!file)
            return false
        file.lines = plain(lines)
        file.loops = String(loops)
        return true
    }
    function isMacroUse(name) {
        record("isMacroUse", arguments)
        return ["Name"].concat(plain(answers.macroUse[String(name)] || []))
    }
    function sendMacroData(image, slot) { record("sendMacroData", arguments); return true }
    function changeMacroFileIndex(index) { record("changeMacroFileIndex", arguments) }
    function setMacroKey(slot, name) { record("setMacroKey", arguments) }

    // Macro pages: the real page encoder answers the length check.
    function encodeMacroLines(lines, loopCount, gunVariant) {
        record("encodeMacroLines", arguments)
        return backEndEncoder.encode(lines, loopCount, gunVariant)
    }

    // Gun library and gun slots
    function createGunIni(name, index) { record("createGunIni", arguments) }
    function modifyGunName(oldName, newName) { return answer("modifyGunName", arguments) }
    function deleteGunIni(name) { record("deleteGunIni", arguments) }
    function setGunIndex(name, index) { record("setGunIndex", arguments) }
    function loadGunType(name) { return answer("loadGunType", arguments) }
    function loadGunIndex(name) { return answer("loadGunIndex", arguments) }
    function loadGunIni(name) { return answer("loadGunIni", arguments) }
    function saveGunIni(name, lines, image, loop) { record("saveGunIni", arguments) }
    function getselectGun() { return answer("getselectGun", arguments) }
    function setSelectGun(positions) { record("setSelectGun", arguments) }
    function upDateDeleteGun(position) { record("upDateDeleteGun", arguments) }
    function uploadGunData(names) { return answer("uploadGunData", arguments) }
}
