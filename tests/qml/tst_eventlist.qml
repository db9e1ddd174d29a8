// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtTest

// The event list shared by the macro and recoil pages: recording, the length
// check on the real page encoder, and inline editing of delays.
Item {
    id: root

    width: 400
    height: 400

    readonly property Component listComponent: Qt.createComponent("qrc:/modules/qml/Q3/EventList.qml")

    function infos(list) {
        return list.eventArray().map(e => e.type + "," + e.info)
    }

    TestCase {
        name: "EventList"
        when: windowShown

        function makeList() {
            ui_View.reset()
            const list = createTemporaryObject(listComponent, root, { width: 116, height: 280 })
            verify(list !== null, listComponent.errorString())
            return list
        }

        function test_recordWithoutPauses() {
            const list = makeList()
            list.startRecording()
            verify(list.recording)
            list.ticks = 30
            list.recordEvent(true, 0x04, "A")
            list.ticks = 12
            list.recordEvent(false, 0x04, "A")
            list.stopRecording()
            verify(!list.recording)
            compare(infos(list), ["1,A", "2,A"])
            verify(!list.recordEvent(true, 0x05, "B"), "nothing is recorded once stopped")
        }
        function test_recordPauses() {
            const list = makeList()
            list.recordPauses = true
            list.startRecording()
            list.ticks = 30
            list.recordEvent(true, 0x04, "A")
            list.ticks = 12
            list.recordEvent(false, 0x04, "A")
            compare(infos(list), ["1,A", "0,120", "2,A"], "the first event has no delay before it")
            compare(list.ticks, 0)
        }
        function test_counterTicks() {
            const list = makeList()
            list.startRecording()
            tryVerify(() => list.ticks >= 3, 1000)
            list.stopRecording()
        }
        function test_startClears() {
            const list = makeList()
            list.setEvents([{ type: 1, info: "A" }])
            list.startRecording()
            compare(list.count, 0)
            list.stopRecording()
        }
        // Recording stops adding once the image reaches the limit; the last
        // addition may pass it.
        function test_lengthCheck() {
            const list = makeList()
            list.startRecording()
            let added = 0
            while (list.recordEvent(added % 2 === 0, 0x04, "A"))
                ++added
            list.stopRecording()
            const all = list.lines()
            const before = ui_View.encodeMacroLines(all.slice(0, -1), 1, false).length
            verify(before < 126, "the last addition was checked on " + before + " bytes")
            verify(list.image().length >= 126, "full at " + list.image().length + " bytes")
            compare(list.count, added)
        }
        function test_editDelay_data() {
            return [
                { tag: "in range", text: "250", info: "250" },
                { tag: "upper end", text: "100000", info: "100000" },
                { tag: "too large", text: "100001", info: "70" },
                { tag: "empty", text: "", info: "70" }
            ]
        }
        function test_editDelay(row) {
            const list = makeList()
            list.setEvents([{ type: 1, info: "A" }, { type: 0, info: "70" }, { type: 2, info: "A" }])
            const spy = createTemporaryQmlObject("import QtTest; SignalSpy { signalName: \"edited\" }", root)
            spy.target = list
            list.startEditing(0)
            list.endEditing(true)
            compare(spy.count, 0, "key rows are not edited")
            list.startEditing(1)
            list.endEditing(false)
            compare(spy.count, 0, "Escape leaves the row")
            list.startEditing(1)
            waitForRendering(list)
            keyClick(Qt.Key_A, Qt.ControlModifier)
            for (const c of row.text)
                keyClick(c)
            if (row.text === "")
                keyClick(Qt.Key_Backspace)
            keyClick(Qt.Key_Return)
            compare(infos(list)[1], "0," + row.info)
            compare(spy.count, 1)
        }
    }
}
