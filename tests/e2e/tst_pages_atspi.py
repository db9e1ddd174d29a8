#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The profile page and the button pages of the real window, driven through the accessibility tree.

Runs the real `quellar --virtual-device --trace` on the test X server like tst_window_atspi.py (whose
helpers it uses), then:
- adds a profile, switches between the rows twice and closes the page: the settings go out once,
  after the close, in the pages' order, and they are the current profile's;
- gives button 2 "Copy" from the "Basic Commands +" submenu: the mouse's key matrix
  (`quellarctl virtual dump`) and the profile hold 00 00 e0 06 for it;
- captures the key "a" for button 3 with the key dialog open: the matrix holds 00 00 04 00.

Usage: tst_pages_atspi.py QUELLAR QUELLARCTL SCREEN_GRAB   (DISPLAY set to the test server)
Exit codes: 0 passed, 1 failed, 77 no accessibility bus can run here.
"""
import os
import re
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import tst_window_atspi as harness  # noqa: E402

wait_until = harness.wait_until
log = harness.log

# The set commands the window sends when the profile page closes after a switch, in order: the
# button page (12H: the key matrix, then the three recoil matrices), axis sensitivity (0EH), DPI
# stages (11H), their colours (10H), lighting (0DH), report rate (01H), the profile's three guns
# (13H into slot 6, then 04H with each gun's length), then 02H with matrix 0.
RESEND = [(0x12, 1), (0x12, 2), (0x12, 3), (0x12, 4), (0x0E, None), (0x11, None), (0x10, None),
          (0x0D, None), (0x01, None), (0x13, 6), (0x04, None), (0x04, None), (0x04, None), (0x02, 0)]
RESEND_CODES = {code for code, _ in RESEND}
MENU_WAIT_S = 0.4  # a submenu opens on hover; give the window a frame or two
COPY_ENTRY = [0x00, 0x00, 0xE0, 0x06]
KEY_A_ENTRY = [0x00, 0x00, 0x04, 0x00]  # keyboard usage 04H


def sent_commands(lines):
    """(code, first parameter, trace line) of every set command in the lines (gets are 80H and up)."""
    found = []
    for line in lines:
        fields = re.search(r"cmd send_feature 00 ((?:[0-9a-f]{2} ?){7})", line)
        if fields:
            data = [int(byte, 16) for byte in fields.group(1).split()]
            if data[0] < 0x80:
                found.append((data[0], data[1], line))
    return found


def shape(sent):
    """The sent commands as RESEND lists them: the first parameter only where it is fixed."""
    return [(code, first if wanted is not None else None) for (code, first, _), (_, wanted) in zip(sent, RESEND)]


def matrix_entry(dump, button):
    """The four bytes of a button's entry in the key matrix of a `virtual dump`, or None."""
    found = re.search(r"(?ms)^\[keyMatrix\]$.*?^1=([0-9a-f]+)$", dump)
    if not found:
        return None
    data = bytes.fromhex(found.group(1))
    return list(data[4 * button:4 * button + 4])


def stored_entry(profile, button):
    values = harness.read_ini(profile).get(f"keydefine_Q3/{button}", "")
    return [int(value) for value in values.split(",")] if values else None


class Test(harness.Test):
    def __init__(self, quellar, quellarctl, grab_program, folder, processes):
        super().__init__(quellar, grab_program, folder, processes)
        self.quellarctl = quellarctl
        self.data = os.path.join(folder, "data")
        self.setting = os.path.dirname(self.profile)
        # Profile 1 gets its own report rate, so what is resent tells which profile it came from;
        # a new profile is reset to the factory values (rate 1).
        with open(self.profile, encoding="utf-8") as file:
            text = file.read()
        text = re.sub(r"(?m)^reportRate_Q3=.*$", "reportRate_Q3=4", text)
        with open(self.profile, "w", encoding="utf-8") as file:
            file.write(text)

    # ---- controls -------------------------------------------------------------------------------

    def showing_control(self, name):
        """The one showing accessible of that name from a fresh walk, or None."""
        self.window.controls()
        nodes = [node for node in self.window.named.get(name, []) if self.window.showing(node)]
        return nodes[0] if len(nodes) == 1 else None

    def centre_of(self, name, timeout_s=5):
        node = wait_until(lambda: self.showing_control(name), timeout_s, 0.1)
        box = self.window.extents(node) if node is not None else None
        if box is None or box[2] <= 0 or box[3] <= 0:
            raise RuntimeError(f"'{name}' is not showing (extents {box})")
        return box[0] + box[2] // 2, box[1] + box[3] // 2

    def press(self, name):
        harness.click(*self.centre_of(name))

    def hover(self, name):
        harness.xdotool("mousemove", *map(str, self.centre_of(name)))
        time.sleep(MENU_WAIT_S)

    def lines(self):
        return harness.trace_lines(self.trace)

    def dump(self):
        result = subprocess.run([self.quellarctl, "--data", self.data, "virtual", "dump"],
                                capture_output=True, text=True, timeout=20)
        self.check(result.returncode == 0, f"quellarctl virtual dump ended with {result.returncode}: "
                                           f"{result.stderr.strip()}")
        return result.stdout

    def current_profile_file(self):
        number = int(harness.read_ini(os.path.join(self.setting, "apConfig.bin")).get("Q3/profileNo", -1))
        return os.path.join(self.setting, f"p{number + 1}.bin")

    # ---- the checks -----------------------------------------------------------------------------

    def switch_profiles(self):
        """New, two switches by clicking rows, close: one resend, after the close, of the new profile."""
        before = len(self.lines())
        self.press("Config")
        self.press("New")  # adds "profile_0" as profile number 1, reset, and switches to it
        wait_until(lambda: self.showing_control("profile_0"), 5, 0.1)
        for name in ("Standard", "profile_0"):
            self.press(name)
            time.sleep(0.3)
        time.sleep(0.5)  # anything a switch sends would be on the wire by now
        at_close = len(self.lines())
        self.press("Close profiles")

        first_rate = self.stored_rate(self.profile)
        new_rate = self.stored_rate(os.path.join(self.setting, "p2.bin"))
        self.check(new_rate != first_rate, f"the new profile holds the report rate {new_rate}, as profile 1 does")
        # Loading a profile sends nothing but its report rate when that differs from the one shown
        # (the report-rate panel's change handler); each switch loaded its own profile's rate.
        early = sent_commands(self.lines()[before:at_close])
        early_rates = [first for code, first, _ in early if code == 0x01]
        others = [line for code, _, line in early if code in RESEND_CODES - {0x01}]
        self.check(not others, f"before the close the window sent {others}")
        self.check(early_rates == [new_rate, first_rate, new_rate],
                   f"the switches sent the report rates {early_rates}, expected {[new_rate, first_rate, new_rate]}")

        def resent():
            sent = sent_commands(self.lines()[at_close:])
            return sent if len(sent) >= len(RESEND) else None

        wait_until(resent, 5, 0.1)
        time.sleep(0.5)  # anything sent twice would follow at once
        sent = sent_commands(self.lines()[at_close:])
        log("after the close: " + ", ".join("%02xH %d" % (code, first) for code, first, _ in sent))
        self.check(len(sent) == len(RESEND) and shape(sent) == RESEND,
                   f"after the close the set commands were {[(hex(c), f) for c, f, _ in sent]}, "
                   f"expected {[(hex(c), f) for c, f in RESEND]}")

        config = harness.read_ini(os.path.join(self.setting, "apConfig.bin"))
        self.check(config.get("Q3/profileNo") == "1",
                   f"apConfig.bin names profile {config.get('Q3/profileNo')} current, expected 1")
        resent_rates = [first for code, first, _ in sent if code == 0x01]
        self.check(resent_rates == [new_rate], f"the resend set the report rate {resent_rates}, p2.bin holds {new_rate}")

    @staticmethod
    def stored_rate(profile):
        return int(harness.read_ini(profile).get("sensor/reportRate_Q3", -1))

    def open_key_menu(self, button):
        self.press(f"Button {button}")

    def assign_copy(self):
        """Button 2 gets Copy from the Basic Commands submenu."""
        self.open_key_menu(2)
        self.hover("Basic Commands +")
        self.press("Copy")
        entry = wait_until(lambda: matrix_entry(self.dump(), 1) == COPY_ENTRY and COPY_ENTRY, 5, 0.2)
        shown = matrix_entry(self.dump(), 1)
        self.check(entry, f"after Copy for button 2 the mouse's key matrix holds {shown} for it")
        chosen = self.current_profile_file()
        stored = stored_entry(chosen, 1)
        self.check(stored == COPY_ENTRY, f"{os.path.basename(chosen)} holds {stored} for button 2, expected Copy")
        log(f"button 2: matrix {shown}, {os.path.basename(chosen)} {stored}")

    def capture_key(self):
        """Button 3 gets the key pressed while the key dialog is open."""
        self.open_key_menu(3)
        self.press("Assign Keyboard Key")
        self.centre_of("Key")  # the dialog is showing
        harness.xdotool("key", "a")
        field = wait_until(lambda: (lambda n: n is not None and n.description)(self.showing_control("Key")), 3, 0.1)
        self.check(field == "A", f"the key field shows {field!r} after the key 'a', expected 'A'")
        self.press("OK")
        entry = wait_until(lambda: matrix_entry(self.dump(), 2) == KEY_A_ENTRY and KEY_A_ENTRY, 5, 0.2)
        shown = matrix_entry(self.dump(), 2)
        self.check(entry, f"after capturing 'a' for button 3 the mouse's key matrix holds {shown} for it")
        chosen = self.current_profile_file()
        stored = stored_entry(chosen, 2)
        self.check(stored == KEY_A_ENTRY, f"{os.path.basename(chosen)} holds {stored} for button 3, expected 'a'")
        log(f"button 3: matrix {shown}, {os.path.basename(chosen)} {stored}")

    def run_steps(self, *steps):
        """Starts quellar, waits for its main screen and the start-up lock, runs the steps, quits."""
        self.start_quellar()
        self.wait_for_window()
        self.wait_for_main_screen()
        time.sleep(harness.START_LOCK_S)
        for step in steps:
            step()
        self.check(self.process.poll() is None, "quellar ended during the test")
        self.quit_quellar()

    def run(self):
        def let_settings_go_out():
            time.sleep(1.6)  # the interface stays locked while the settings go out

        self.run_steps(self.switch_profiles, let_settings_go_out, self.assign_copy, self.capture_key)


def main(test_class):
    """Runs test_class(QUELLAR, QUELLARCTL, SCREEN_GRAB, folder, processes) through the harness."""
    if len(sys.argv) != 4:
        print(sys.modules[test_class.__module__].__doc__, file=sys.stderr)
        return 2
    quellarctl = sys.argv.pop(2)
    # The run's folder (data, trace, log) in the test's working folder in the build tree, where
    # nothing that tidies the shared temporary folder removes it while the program uses it.
    tempfile.tempdir = os.getcwd()
    # The harness's main() runs its Test class with (QUELLAR, SCREEN_GRAB); these take quellarctl too.
    harness.Test = lambda quellar, grab, folder, processes: test_class(quellar, quellarctl, grab, folder, processes)
    return harness.main()


if __name__ == "__main__":
    sys.exit(main(Test))
