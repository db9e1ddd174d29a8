// SPDX-License-Identifier: GPL-3.0-or-later
import QtQml

// Stand-in of "ui_Ctl": the window controls the shell calls.
Recorder {
    function onMinimize() { record("onMinimize", arguments) }
    function onClose() { record("onClose", arguments) }
    function onXChanged(dx) { record("onXChanged", arguments) }
    function onYChanged(dy) { record("onYChanged", arguments) }
}
