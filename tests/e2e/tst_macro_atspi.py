#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The macro manager and the macro key dialog of the real window, driven through the accessibility tree.

Runs the real `quellar --virtual-device --trace` on the test X server with the harness of
tst_window_atspi.py, then:
- opens the macro manager, New, Start Record, types "ab" with xdotool, Stop Record: the file
  modules/macro/Macro_0.bin holds the four key events, and the shown event list equals the file;
- binds Macro_0 to button 3 with run mode 1 in the macro key dialog: the trace shows the macro
  upload (13H) into slot 1, the mouse's macro slot 1 (`quellarctl virtual dump`) holds the page
  encoder's image of the file, and its key matrix holds 09 01 01 00 for button 3.

Usage: tst_macro_atspi.py QUELLAR QUELLARCTL SCREEN_GRAB   (DISPLAY set to the test server)
Exit codes: 0 passed, 1 failed, 77 no accessibility bus can run here.
"""
import json
import os
import re
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import tst_window_atspi as harness  # noqa: E402
import tst_pages_atspi as pages  # noqa: E402

wait_until = harness.wait_until
log = harness.log

TYPED_LINES = ["1,A", "2,A", "1,B", "2,B"]
MACRO_ENTRY = [0x09, 0x01, 0x01, 0x00]  # run mode 1, slot 0 + 1
RUN_MODE_1 = "Macro runs endless loop until any button is pressed"


def stored_lines(path):
    """The event lines of a library file, in order."""
    values = harness.read_ini(path)
    total = int(values.get("config/total", "0"))
    return [values.get(f"macro/{i}", "").strip('"') for i in range(total)]


def macro_uploads(lines, slot_id):
    """Trace lines of the 13H upload into device slot id `slot_id`."""
    pattern = re.compile(r"send_feature 00 13 %02x 80" % slot_id)
    return [line for line in lines if pattern.search(line)]


def macro_slot_image(dump, slot_id):
    """The bytes of device macro slot id `slot_id` in a `virtual dump`, or None."""
    found = re.search(r"(?ms)^\[macro\]$.*?^%d=([0-9a-f]+)$" % slot_id, dump)
    return list(bytes.fromhex(found.group(1))) if found else None


class Test(pages.Test):
    def encoded(self, lines, loops):
        """The page encoder's image of the lines, from quellarctl in a folder of its own."""
        folder = tempfile.mkdtemp(dir=self.folder)
        result = subprocess.run([self.quellarctl, "--data", folder, "call", "encodeMacroLines", json.dumps(lines),
                                 str(loops), "false"], capture_output=True, text=True, timeout=20)
        self.check(result.returncode == 0, f"quellarctl encodeMacroLines ended with {result.returncode}")
        return json.loads(result.stdout.strip().splitlines()[-1])

    def row_names(self, list_name):
        """The names of the rows under the showing list of that name, top to bottom."""
        node = self.showing_control(list_name)
        if node is None:
            return None
        rows = [child for child in harness.tree(node)
                if child is not node and child.getRoleName() == "list item"]
        rows.sort(key=lambda row: self.window.extents(row)[1])
        return [harness.fold(row.name) for row in rows]

    def record_macro(self):
        self.press("Macro Manager")
        self.press("New")
        wait_until(lambda: self.showing_control("Macro_0"), 5, 0.1)
        self.press("Start Record")
        self.centre_of("Stop Record")
        harness.xdotool("type", "--delay", "120", "ab")
        time.sleep(0.5)
        self.press("Stop Record")
        path = os.path.join(self.data, "modules", "macro", "Macro_0.bin")
        lines = wait_until(lambda: stored_lines(path) == TYPED_LINES and TYPED_LINES, 5, 0.1)
        self.check(lines, f"Macro_0.bin holds {stored_lines(path)}, expected {TYPED_LINES}")
        shown = self.row_names("Sequence")
        expected = [line[2:] for line in stored_lines(path)]
        self.check(shown == expected, f"the event list shows {shown}, the file holds {expected}")
        log(f"recorded: {stored_lines(path)}, shown {shown}")
        self.press("OK")

    def bind_macro(self):
        before = len(self.lines())
        self.open_key_menu(3)
        self.press("Macro")
        self.press("Please select a macro")
        self.press("Macro_0")
        self.press(RUN_MODE_1)
        self.press("OK")
        entry = wait_until(lambda: pages.matrix_entry(self.dump(), 2) == MACRO_ENTRY and MACRO_ENTRY, 5, 0.2)
        shown = pages.matrix_entry(self.dump(), 2)
        self.check(entry, f"after binding Macro_0 to button 3 the mouse's key matrix holds {shown} for it")
        uploads = wait_until(lambda: macro_uploads(self.lines()[before:], 1), 5, 0.1)
        self.check(uploads, "no 13H upload into slot 1 after the binding")
        image = self.encoded(TYPED_LINES, 1)
        held = macro_slot_image(self.dump(), 1)
        self.check(held is not None and held[:len(image)] == image and not any(held[len(image):]),
                   f"macro slot 1 holds {held}, expected the image {image}")
        log(f"button 3: matrix {shown}, upload {uploads[:1] if uploads else None}")

    def run(self):
        self.run_steps(self.record_macro, self.bind_macro)


if __name__ == "__main__":
    sys.exit(pages.main(Test))
