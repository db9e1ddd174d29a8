#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The real window seen through the accessibility tree.

Starts a private session bus with an AT-SPI bus in it, runs the real
`quellar --virtual-device --trace` on the test X server, finds the operable
controls by name, checks their roles and screen extents, clicks two of them
with xdotool and checks the profile file and the wire trace, and compares
screenshots of the splash and of the revealed main screen.

Usage: tst_window_atspi.py QUELLAR SCREEN_GRAB   (DISPLAY set to the test server)
Exit codes: 0 passed, 1 failed, 77 no accessibility bus can run here.
"""
import importlib.util
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

# Every operable control of the main screen: (accessible name, AT-SPI role name, where it sits).
# "column": the right column, a clipped list scrolled to bring the control into view; "window": fixed.
# Names are compared with runs of white space folded to one space.
CONTROLS = (
    [(f"DPI stage {n}", "slider", "column") for n in range(1, 7)]
    + [(f"DPI stage {n} in use", "check box", "column") for n in range(1, 7)]
    + [(f"DPI stage {n} colour", "push button", "column") for n in range(1, 7)]
    + [
        ("X axis", "slider", "window"),
        ("Y axis", "slider", "window"),
        ("Static speed", "slider", "column"),
        ("Breath speed", "slider", "column"),
        ("RGB speed", "slider", "column"),
        ("Finger Tapping speed", "slider", "column"),
        ("1000 Hz", "radio button", "column"),
        ("500 Hz", "radio button", "column"),
        ("250 Hz", "radio button", "column"),
        ("125 Hz", "radio button", "column"),
        ("Cursor speed", "dial", "column"),
        ("Double-click speed", "dial", "column"),
        ("Scroll lines", "text", "column"),
        ("More lines", "push button", "column"),
        ("Fewer lines", "push button", "column"),
        ("Minimize", "push button", "window"),
        ("Close", "push button", "window"),
        ("Help", "push button", "window"),
        # Controls named by their visible (English) captions.
        ("Axis Sensitivity", "push button", "window"),
        ("DPI Setting", "push button", "column"),
        ("Lighting", "push button", "column"),
        ("Static", "radio button", "column"),
        ("Breath", "radio button", "column"),
        ("RGB", "radio button", "column"),
        ("Finger Tapping", "radio button", "column"),
        ("Polling Rate", "push button", "column"),
        ("Mouse Speed", "push button", "column"),
        ("Double-Click Speed", "push button", "column"),
        ("Scroll Speed", "push button", "column"),
        ("Number of Rows", "radio button", "column"),
        ("Scrol one Screen", "radio button", "column"),
        ("Reset", "push button", "window"),
        ("Config", "push button", "window"),
        ("Top View", "radio button", "window"),
        ("Side View", "radio button", "window"),
    ]
)
# Shown only while the colour picker of a DPI stage is open.
PICKER_CONTROLS = [("Hue", "slider", "window")] + [
    (f"Colour #{rgb}", "push button", "window") for rgb in ("ff0000", "0000ff", "00ff00", "ffff00", "00ffff", "ff00ff")]
EXPECTED_ROLES = {name: role for name, role, _ in CONTROLS + PICKER_CONTROLS}

# The visible part of the right column in window coordinates: from x 734, y 32, 242 wide, at most 563 high.
COLUMN_VIEW = (734, 32, 242, 563)
REVEALED_MARKER = "DPI stage 1"  # a control hidden behind the splash until the main screen is revealed
DPI_TRAVEL = 154  # pixels of a DPI stage slider; its top edge is 6000, its bottom edge 200
START_LOCK_S = 1.0  # the interface stays locked behind the splash this long after start
SKIP = 77

HERE = os.path.dirname(os.path.abspath(__file__))
FACTORY_SETTINGS = os.path.join(HERE, "..", "..", "packaging", "data", "modules", "setting")
A11Y_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"


def skip(reason):
    print(f"SKIP: {reason}")
    sys.exit(SKIP)


def log(text):
    print(text, flush=True)


def wait_until(predicate, timeout_s, step_s=0.05):
    """The predicate's first true value, or None after timeout_s."""
    deadline = time.monotonic() + timeout_s
    while True:
        value = predicate()
        if value or time.monotonic() > deadline:
            return value or None
        time.sleep(step_s)


def run(command, **kwargs):
    return subprocess.run(command, capture_output=True, text=True, timeout=20, **kwargs)


# ---- processes -------------------------------------------------------------------------------

class Processes:
    """What the test starts, stopped in reverse order by process id."""

    def __init__(self):
        self.started = []

    def start(self, command, **kwargs):
        process = subprocess.Popen(command, **kwargs)
        self.started.append(process)
        return process

    def stop_all(self):
        for process in reversed(self.started):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()


def start_accessibility_bus(processes):
    """A private session bus with the AT-SPI bus launched in it; skips when that cannot run."""
    for tool in ("dbus-daemon", "dbus-send"):
        if not shutil.which(tool):
            skip(f"{tool} is not installed (package dbus)")
    if not os.access(A11Y_LAUNCHER, os.X_OK):
        skip(f"{A11Y_LAUNCHER} is missing (package at-spi2-core)")
    daemon = processes.start(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    address = daemon.stdout.readline().strip()
    if not address:
        skip("dbus-daemon did not start a session bus")
    os.environ["DBUS_SESSION_BUS_ADDRESS"] = address
    # Started directly rather than by bus activation, so the test owns it and stops it.
    processes.start([A11Y_LAUNCHER, "--launch-immediately"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    ask = ["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus.GetAddress"]
    reply = wait_until(lambda: "unix:" in run(ask).stdout, 10, 0.1)
    if not reply:
        skip("the AT-SPI bus launcher did not answer on the private session bus")


# ---- the accessibility tree --------------------------------------------------------------------

def fold(name):
    return " ".join((name or "").split())


def tree(root):
    """Every accessible under root, depth first."""
    found = []
    pending = [root]
    while pending:
        node = pending.pop()
        if node is None:
            continue
        found.append(node)
        pending.extend(node.getChildAtIndex(i) for i in range(node.childCount))
    return found


class Window:
    """The program's accessible application and its X window."""

    def __init__(self, pyatspi, pid):
        self.pyatspi = pyatspi
        self.pid = pid
        self.app = None
        self.named = {}

    def find_app(self):
        desktop = self.pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.get_process_id() == self.pid:
                self.app = app
                return True
        return False

    def controls(self):
        """Accessibles by folded name, from a fresh walk of the whole tree."""
        self.app.clear_cache()
        self.named = {}
        for node in tree(self.app):
            self.named.setdefault(fold(node.name), []).append(node)
        return self.named

    def candidates(self, name):
        """The accessibles of that name; of several, those of the role the tables give it (a page
        and the button that opens it may share a caption), and of those the ones showing (a
        hidden dialog may have a button of the same name)."""
        nodes = self.named.get(name, [])
        if len(nodes) > 1 and name in EXPECTED_ROLES:
            nodes = [node for node in nodes if node.getRoleName() == EXPECTED_ROLES[name]]
        if len(nodes) > 1:
            for node in nodes:
                node.clear_cache()
            nodes = [node for node in nodes if self.showing(node)]
        return nodes

    def control(self, name):
        """The one accessible of that name with fresh states and extents, or None."""
        if name not in self.named:
            self.controls()
        nodes = self.candidates(name)
        if len(nodes) != 1:
            return None
        nodes[0].clear_cache()
        return nodes[0]

    def showing(self, node):
        state = node.getState()
        return state.contains(self.pyatspi.STATE_SHOWING) and state.contains(self.pyatspi.STATE_VISIBLE)

    def extents(self, node):
        """(x, y, width, height) on the screen, or None without a component."""
        try:
            box = node.queryComponent().getExtents(self.pyatspi.DESKTOP_COORDS)
        except NotImplementedError:
            return None
        return (box.x, box.y, box.width, box.height)


def value_of(node):
    try:
        return node.queryValue().currentValue
    except NotImplementedError:
        return None


def inside(box, frame):
    x, y, w, h = box
    fx, fy, fw, fh = frame
    return w > 0 and h > 0 and x >= fx and y >= fy and x + w <= fx + fw and y + h <= fy + fh


# ---- X: window geometry, clicks, screenshots ---------------------------------------------------

def xdotool(*arguments):
    return run(["xdotool", *arguments]).stdout.strip()


def window_geometry(window_id):
    values = dict(line.split("=", 1) for line in xdotool("getwindowgeometry", "--shell", window_id).splitlines())
    return tuple(int(values[key]) for key in ("X", "Y", "WIDTH", "HEIGHT"))


def click(x, y, button=1):
    xdotool("mousemove", str(x), str(y), "click", str(button))


class Grabber:
    """The screen grabber, kept running so a picture is taken the moment it is asked for."""

    def __init__(self, processes, program, folder):
        self.folder = folder
        self.count = 0
        self.process = processes.start([program], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL, text=True)
        if self.process.stdout.readline().strip() != "ready":
            raise RuntimeError("the screen grabber did not start")

    def grab(self, box):
        self.count += 1
        path = os.path.join(self.folder, f"screen{self.count}.ppm")
        self.process.stdin.write("%d %d %d %d %s\n" % (*box, path))
        self.process.stdin.flush()
        if self.process.stdout.readline().strip() != "ok":
            raise RuntimeError(f"the screen grabber failed on {box}")
        return read_ppm(path)


def read_ppm(path):
    """(width, height, RGB bytes) of a binary PPM as Qt writes it."""
    with open(path, "rb") as file:
        data = file.read()
    fields = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
    width, height = int(fields.group(1)), int(fields.group(2))
    return width, height, data[fields.end():]


def distinct_colours(picture):
    pixels = picture[2]
    return len({pixels[i:i + 3] for i in range(0, len(pixels), 3)})


def changed_share(one, other):
    """Share of pixels that differ between two pictures of the same size."""
    a, b = one[2], other[2]
    changed = sum(1 for i in range(0, len(a), 3) if a[i:i + 3] != b[i:i + 3])
    return changed / (len(a) // 3)


# ---- data folder, profile and trace ------------------------------------------------------------

def read_ini(path):
    """{"group/key": text} of a settings file."""
    values = {}
    group = "General"
    try:
        with open(path, encoding="utf-8") as file:
            for line in file:
                line = line.strip()
                if line.startswith("[") and line.endswith("]"):
                    group = line[1:-1]
                elif "=" in line:
                    key, value = line.split("=", 1)
                    values[f"{group}/{key.strip()}"] = value.strip()
    except FileNotFoundError:
        pass
    return values


def prepare_data_folder(folder, title):
    """The factory settings, with our own window title and profile 1 current."""
    setting = os.path.join(folder, "modules", "setting")
    os.makedirs(setting)
    for name in os.listdir(FACTORY_SETTINGS):
        shutil.copy(os.path.join(FACTORY_SETTINGS, name), setting)
    config = os.path.join(setting, "apConfig.bin")
    with open(config, encoding="utf-8") as file:
        text = file.read()
    text = re.sub(r"(?m)^name0=.*$", f"name0={title}", text)
    text = re.sub(r"(?m)^language=.*$", "language=English", text)
    text = re.sub(r"(?m)^profileNo=.*$", "profileNo=0", text)
    with open(config, "w", encoding="utf-8") as file:
        file.write(text)
    return os.path.join(setting, "p1.bin")


def first_dpi(profile):
    values = read_ini(profile).get("sensor/dpi_Q3", "")
    return values.split(",")[0].strip()


def command_report(*code_and_data):
    """A command report as the trace shows it: id 0, code, six bytes, checksum."""
    data = list(code_and_data) + [0] * (7 - len(code_and_data))
    checksum = 0xFF - (sum(data) & 0xFF)
    return "cmd send_feature " + " ".join("%02x" % byte for byte in [0, *data, checksum])


def trace_lines(path):
    try:
        with open(path, encoding="utf-8") as file:
            return file.read().splitlines()
    except FileNotFoundError:
        return []


def dpi_blocks(lines):
    """The 8-byte blocks sent after each 11H report (six stages in use)."""
    header = command_report(0x11, 6, 8)
    blocks = []
    for i, line in enumerate(lines):
        if line.split(" ", 1)[-1].startswith(header):
            following = next((later for later in lines[i + 1:] if " cmd write " in f" {later}"), "")
            data = re.search(r"cmd write 00((?: [0-9a-f]{2}){8})", following)
            if data:
                blocks.append(data.group(1).split())
    return blocks


def report_rates(lines):
    return [rate for rate in (1, 2, 4, 8) for line in lines if command_report(0x01, rate) in line]


# ---- the test ----------------------------------------------------------------------------------

class Test:
    def __init__(self, quellar, grab_program, folder, processes):
        self.failures = []
        self.quellar = quellar
        self.folder = folder
        self.processes = processes
        self.title = f"Quellar accessibility {os.getpid()}"
        self.profile = prepare_data_folder(os.path.join(folder, "data"), self.title)
        self.trace = os.path.join(folder, "trace")
        self.grabber = Grabber(processes, grab_program, folder)
        import pyatspi  # after the session bus exists: the bindings connect when imported
        self.pyatspi = pyatspi
        self.window = None
        self.frame = None

    def check(self, condition, message):
        if not condition:
            self.failures.append(message)
            log(f"FAIL: {message}")
        return condition

    def start_quellar(self):
        environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
                           QT_QPA_PLATFORM="xcb")
        self.output = open(os.path.join(self.folder, "quellar.log"), "w")
        self.started = time.monotonic()
        self.process = self.processes.start(
            [self.quellar, "--virtual-device", "--data", os.path.join(self.folder, "data"), "--trace", self.trace],
            env=environment, stdout=self.output, stderr=subprocess.STDOUT)
        self.window = Window(self.pyatspi, self.process.pid)

    def wait_for_window(self):
        pattern = "^%s$" % re.escape(self.title)
        window_id = wait_until(lambda: xdotool("search", "--onlyvisible", "--name", pattern).split("\n")[0], 10, 0.02)
        if not window_id:
            raise RuntimeError("the window did not appear")
        self.shown = time.monotonic()
        self.frame = window_geometry(window_id)
        log(f"window shown {1000 * (self.shown - self.started):.0f} ms after start at {self.frame}")

    def wait_for_main_screen(self):
        if not wait_until(self.window.find_app, 10, 0.1):
            raise RuntimeError("quellar did not register on the accessibility bus")

        def revealed():
            node = self.window.control(REVEALED_MARKER)
            return node is not None and self.window.showing(node)

        if not wait_until(revealed, 10, 0.05):
            raise RuntimeError(f"'{REVEALED_MARKER}' was never shown")
        at = time.monotonic() - self.started
        log(f"main screen revealed {1000 * at:.0f} ms after start")
        self.check(at >= START_LOCK_S, f"the main screen showed {1000 * at:.0f} ms after start, before the lock ended")

    def check_screenshots(self, splash):
        time.sleep(0.3)  # one more frame after the reveal
        main = self.grabber.grab(self.frame)
        colours = distinct_colours(main)
        changed = changed_share(splash, main)
        log(f"main screen: {colours} colours; {100 * changed:.1f} % of the pixels differ from the splash")
        self.check(colours >= 64, f"the main screen shows only {colours} colours")
        self.check(changed >= 0.05, f"the main screen differs from the splash in {100 * changed:.1f} % of its pixels")

    def area(self, place):
        """The part of the screen where a control of that place can be seen."""
        if place == "window":
            return self.frame
        x, y, width, height = COLUMN_VIEW
        return (self.frame[0] + x, self.frame[1] + y, width, height)

    def check_control(self, name, role, place):
        nodes = self.window.candidates(name)
        roles = [node.getRoleName() for node in self.window.named.get(name, [])]
        if not self.check(len(nodes) == 1, f"'{name}': accessibles with this name have the roles {roles}, "
                                           f"expected one '{role}'"):
            return
        node = nodes[0]
        self.check(node.getRoleName() == role, f"'{name}': role '{node.getRoleName()}', expected '{role}'")
        area = self.area(place)
        box = self.bring_into_view(name, area)
        self.check(box is not None and inside(box, area), f"'{name}': extents {box} not inside {place} {area}")
        node = self.window.control(name)
        self.check(node is not None and self.window.showing(node), f"'{name}': not showing")
        if name.startswith("DPI stage") and role == "slider" and box is not None:
            self.check(box[3] == DPI_TRAVEL, f"'{name}': extents {DPI_TRAVEL} high expected, got {box[3]}")

    def bring_into_view(self, name, area):
        """The control's extents, after turning the wheel over the right column until it lies inside area."""
        scrolled = False
        for _ in range(40):
            node = self.window.control(name)
            box = self.settled_extents(name) if scrolled else self.window.extents(node) if node is not None else None
            if box is None or inside(box, area) or area == self.frame:
                return box
            column = self.area("column")
            above = box[1] < column[1]
            click(column[0] + column[2] // 2, column[1] + column[3] // 2, 4 if above else 5)
            scrolled = True
        return box

    def settled_extents(self, name):
        """The control's extents once the list has stopped moving: a press on a moving list only stops it."""
        previous = None
        for _ in range(50):
            node = self.window.control(name)
            box = self.window.extents(node) if node is not None else None
            if box == previous:
                return box
            previous = box
            time.sleep(0.1)
        return previous

    def check_controls(self):
        self.window.controls()
        for name, role, place in CONTROLS:
            self.check_control(name, role, place)

    def check_loaded_values(self):
        """What the accessibility tree reports is what profile 1 holds (the factory profile)."""
        profile = read_ini(self.profile)
        expected = {f"DPI stage {n}": float(value) for n, value in
                    enumerate(profile["sensor/dpi_Q3"].split(",")[:6], start=1)}
        expected.update({"X axis": float(profile["XYSensitive/0"]), "Y axis": float(profile["XYSensitive/1"])})
        effect, position = (int(value) for value in profile["color_Q3/ledEffect"].split(",")[:2])
        mode = ("Static", "Breath", "RGB", "Finger Tapping")[effect - 1]
        expected[f"{mode} speed"] = float(position)
        for name, value in expected.items():
            node = self.window.control(name)
            shown = value_of(node) if node is not None else None
            self.check(shown == value, f"'{name}' reports the value {shown}, profile 1 holds {value}")
        rate = {1: "1000 Hz", 2: "500 Hz", 4: "250 Hz", 8: "125 Hz"}[int(profile["sensor/reportRate_Q3"])]
        for checked in (rate, mode):
            node = self.window.control(checked)
            self.check(node is not None and node.getState().contains(self.pyatspi.STATE_CHECKED),
                       f"'{checked}' is not checked")
        node = self.window.control("Scroll lines")
        lines = node.queryText().getText(0, -1) if node is not None else None
        self.check(lines == profile["sensor/verticalScrollLines_Q3"],
                   f"'Scroll lines' holds {lines!r}, profile 1 holds {profile['sensor/verticalScrollLines_Q3']}")

    def click_dpi_stage_top(self):
        name = "DPI stage 1"
        box = self.bring_into_view(name, self.area("column"))
        if not self.check(box is not None, f"'{name}' has no extents to click"):
            return
        before = len(trace_lines(self.trace))
        self.check(first_dpi(self.profile) != "6000", "profile 1 held 6000 for stage 1 before the click")
        click(box[0] + box[2] // 2, box[1])
        got = wait_until(lambda: first_dpi(self.profile) == "6000", 5, 0.1)
        self.check(got, f"after a click at the top of '{name}' p1.bin holds {first_dpi(self.profile)} for stage 1")
        blocks = wait_until(lambda: dpi_blocks(trace_lines(self.trace)[before:]), 5, 0.1) or []
        self.check(any(block[0] == "5e" for block in blocks),
                   f"after a click at the top of '{name}' the 11H blocks on the wire are {blocks}, expected 5e first")
        log(f"click at the top of '{name}' {box}: 11H blocks {[' '.join(block) for block in blocks]}")
        shown = value_of(self.window.control(name))
        self.check(shown in (None, 6000), f"'{name}' reports the value {shown} after the click, expected 6000")

    def click_report_rate(self):
        name = "125 Hz"
        box = self.bring_into_view(name, self.area("column"))
        if not self.check(box is not None, f"'{name}' has no extents to click"):
            return
        before = len(trace_lines(self.trace))
        click(box[0] + box[2] // 2, box[1] + box[3] // 2)
        rates = wait_until(lambda: report_rates(trace_lines(self.trace)[before:]), 5, 0.1) or []
        self.check(rates == [8], f"after a click on '{name}' the 01H reports on the wire set {rates}, expected [8]")
        log(f"click on '{name}' {box}: 01H reports set {rates}")
        rate = wait_until(lambda: read_ini(self.profile).get("sensor/reportRate_Q3") == "8", 5, 0.1)
        self.check(rate, f"after a click on '{name}' p1.bin holds the report rate "
                         f"{read_ini(self.profile).get('sensor/reportRate_Q3')}")
        node = self.window.control(name)
        if node is not None:
            self.check(node.getState().contains(self.pyatspi.STATE_CHECKED), f"'{name}' is not checked after the click")

    def stored(self, key):
        """A value of profile 1 as text, lists without spaces."""
        return read_ini(self.profile).get(key, "").replace(" ", "")

    def click_centre(self, name):
        """Clicks the middle of a control of the right column; its extents, or None."""
        box = self.bring_into_view(name, self.area("column"))
        if self.check(box is not None, f"'{name}' has no extents to click"):
            click(box[0] + box[2] // 2, box[1] + box[3] // 2)
        return box

    def click_stage_toggle(self):
        """Stage 2 off: the stored selection gets 0 for it and 11H sends 80H in its place."""
        name = "DPI stage 2 in use"
        before = len(trace_lines(self.trace))
        if self.click_centre(name) is None:
            return
        self.check(wait_until(lambda: self.stored("sensor/dpi_Select") == "1,0,1,1,1,1,0,0", 5, 0.1),
                   f"after a click on '{name}' p1.bin holds the selection {self.stored('sensor/dpi_Select')}")
        blocks = wait_until(lambda: dpi_blocks(trace_lines(self.trace)[before:]), 5, 0.1) or []
        self.check(any(block[1] == "80" for block in blocks),
                   f"after a click on '{name}' the 11H blocks on the wire are {blocks}, expected 80 second")
        node = self.window.control(name)
        self.check(node is not None and not node.getState().contains(self.pyatspi.STATE_CHECKED),
                   f"'{name}' is still checked after the click")

    def click_static_mode(self):
        """Static with its slider at 4: level 10 on the wire, [1, 4, 2] in the profile."""
        name = "Static"
        before = len(trace_lines(self.trace))
        if self.click_centre(name) is None:
            return
        report = command_report(0x0D, 1, 10, 2)
        self.check(wait_until(lambda: any(report in line for line in trace_lines(self.trace)[before:]), 5, 0.1),
                   f"after a click on '{name}' the trace lacks '{report}'")
        self.check(wait_until(lambda: self.stored("color_Q3/ledEffect") == "1,4,2", 5, 0.1),
                   f"after a click on '{name}' p1.bin holds the lighting {self.stored('color_Q3/ledEffect')}")

    def check_colour_picker(self):
        box = self.bring_into_view("DPI stage 1 colour", self.area("column"))
        if box is None:
            return  # reported with the controls
        click(box[0] + box[2] // 2, box[1] + box[3] // 2)
        hue = PICKER_CONTROLS[0][0]
        wait_until(lambda: (lambda n: n is not None and self.window.showing(n))(self.window.control(hue)), 3, 0.1)
        self.window.controls()
        for name, role, place in PICKER_CONTROLS:
            self.check_control(name, role, place)

    def run(self):
        self.start_quellar()
        self.wait_for_window()
        time.sleep(0.15)  # the first frame of the splash
        splash = self.grabber.grab(self.frame)
        splash_at = time.monotonic() - self.started
        log(f"splash grabbed {1000 * splash_at:.0f} ms after start, {distinct_colours(splash)} colours")
        self.wait_for_main_screen()
        self.check_screenshots(splash)
        self.check_controls()
        self.check_loaded_values()
        self.click_dpi_stage_top()
        self.click_report_rate()
        self.click_stage_toggle()
        self.click_static_mode()
        self.check_colour_picker()
        self.check(self.process.poll() is None, "quellar ended during the test")
        self.quit_quellar()

    def quit_quellar(self):
        """A termination request ends the program cleanly, window and accessibility bridge included."""
        self.process.terminate()
        try:
            code = self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            code = None
        self.check(code == 0, f"quellar ended with {code} on a termination request, expected 0")


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    if not os.environ.get("DISPLAY"):
        print("needs DISPLAY (the test X server)", file=sys.stderr)
        return 2
    if not shutil.which("xdotool"):
        print("needs xdotool", file=sys.stderr)
        return 1
    if importlib.util.find_spec("pyatspi") is None:
        skip(f"the AT-SPI bindings are missing for {sys.executable} (package python3-pyatspi)")
    processes = Processes()
    folder = tempfile.mkdtemp(prefix="quellar-atspi-")
    test = None
    try:
        start_accessibility_bus(processes)
        test = Test(sys.argv[1], sys.argv[2], folder, processes)
        test.run()
    except RuntimeError as error:
        log(f"FAIL: {error}")
        if test is not None:
            test.failures.append(str(error))
        else:
            return 1
    finally:
        processes.stop_all()
        if test is not None and test.failures:
            with open(os.path.join(folder, "quellar.log"), encoding="utf-8", errors="replace") as output:
                log("quellar's output (last lines):\n" + "".join(output.readlines()[-30:]))
    failed = test.failures
    if failed:
        log(f"{len(failed)} failures; pictures and trace kept in {folder}")
        return 1
    shutil.rmtree(folder, ignore_errors=True)
    log("all checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
