// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtTest

// The recording stand-ins of ui_View and ui_Ctl that the window's tests drive.
TestCase {
    name: "StandIns"

    function init() {
        ui_View.reset()
        ui_Ctl.reset()
    }

    function test_operations_data() {
        const view = ["setEnabled", "getLang", "getProfile", "ui_02H_SetCurrentProfile", "ui_02H_SetKeyMatrixNo",
                      "getGlobalStrings", "resetProfile", "openUpdateExe", "setXYSensitive", "getXYSensitive",
                      "ui_0EH_SetXYSensitive", "ui_91H_GetDPISet", "ui_91H_GetDPISelect", "ui_90H_GetLED8StageColor",
                      "ui_11H_SetDPISet", "ui_11H_SetDPISelect", "ui_10H_SetLED8StageColor", "ui_8DH_GetRGBLedEffect",
                      "ui_0DH_SetRGBLedEffect", "ui_81H_GetReportRate", "ui_01H_SetReportRate", "getCursorSpeed",
                      "setCursorSpeed", "getDoubleClickSpeed", "setDoubleClickSpeed", "getVerticalScrollLines",
                      "setVerticalScrollLines", "getNameList", "updataNameList", "copyProfile", "loadProfile",
                      "saveProfile", "getKeydefine", "getGunKeydefine", "getselectGunKey", "setSelectGunKey",
                      "getMacroKey", "ui_12H_SetKeyMatrix", "ui_12H_SetGunKeyMatrix", "keyCodeTable"]
        const ctl = ["onMinimize", "onClose", "onXChanged", "onYChanged"]
        return view.map(name => ({ tag: name, target: ui_View, name: name }))
            .concat(ctl.map(name => ({ tag: "ui_Ctl." + name, target: ui_Ctl, name: name })))
    }
    // Every operation exists and is recorded with its arguments, getters too.
    function test_operations(row) {
        verify(typeof row.target[row.name] === "function", row.name + " is missing")
        row.target[row.name](1, "two")
        compare(row.target.calls, [{ name: row.name, args: [1, "two"] }])
    }

    function test_defaultAnswers() {
        compare(ui_View.getLang(), "English")
        compare(ui_View.getProfile(), 0)
        compare(ui_View.getXYSensitive(0), "4")
        compare(ui_View.ui_91H_GetDPISet(), [800, 1600, 2400, 3200, 4800, 6000, 250, 250])
        compare(ui_View.ui_91H_GetDPISelect(), [1, 1, 1, 1, 1, 1, 0, 0])
        compare(ui_View.ui_90H_GetLED8StageColor(1).length, 24)
        compare(ui_View.ui_8DH_GetRGBLedEffect(), [3, 4, 2])
        compare(ui_View.ui_81H_GetReportRate(), 1)
        compare([ui_View.getCursorSpeed(), ui_View.getDoubleClickSpeed(), ui_View.getVerticalScrollLines()], [5, 5, 3])
        compare([ui_View.getNameList(2), ui_View.loadProfile(0)], [[], false])
        const strings = ui_View.getGlobalStrings(3, "lang_025044")
        compare([strings.length, strings[0], strings[34]], [35, "g3_0", "g3_34"])
        compare([ui_View.getKeydefine(0), ui_View.getKeydefine(3), ui_View.getGunKeydefine(2, 15)],
                [[1, 0, 0xf0, 0], [15, 0, 0x2e, 0], [4, 0, 2, 0]])
        compare(ui_View.getselectGunKey(), [-1, -1, -1, 2, 2, 2])
        compare(ui_View.keyCodeTable()["A"], 4)
    }

    function test_recordsCopies() {
        let list = [1, 2, 3]
        ui_View.ui_11H_SetDPISelect(list)
        list[0] = 9
        const answer = ui_View.ui_91H_GetDPISet()
        answer[0] = 1
        compare(ui_View.callsNamed("ui_11H_SetDPISelect"), [{ name: "ui_11H_SetDPISelect", args: [[1, 2, 3]] }])
        compare(ui_View.ui_91H_GetDPISet()[0], 800)
    }

    function test_answersAndReset() {
        ui_View.setAnswer("getLang", "ChineseSimplified")
        ui_View.setAnswer("getXYSensitive", axis => axis === 0 ? "2" : "7")
        compare([ui_View.getLang(), ui_View.getXYSensitive(0), ui_View.getXYSensitive(1)], ["ChineseSimplified", "2", "7"])
        compare(ui_View.callsNamed("getXYSensitive").map(call => call.args), [[0], [1]])
        ui_View.reset()
        compare(ui_View.calls, [])
        compare(ui_View.getLang(), "English")
    }
}
