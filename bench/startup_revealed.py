#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Time from exec to the revealed main screen, measured through the accessibility tree.

Starts the command RUNS times, one after the other, and prints one line per run:
"revealed MS" once the accessible named SHOWN of the started process is showing
(the main screen stays hidden behind the splash until the start-up lock ends).
After the last run it prints "at X Y": the centre of the accessible named LOCATE in
window coordinates, so a script can click it later without the accessibility bridge.
Needs DBUS_SESSION_BUS_ADDRESS of a session bus with an AT-SPI bus in it.
Usage: startup_revealed.py RUNS SHOWN LOCATE COMMAND [ARG...]
"""
import os
import subprocess
import sys
import time

import pyatspi

POLL_S = 0.005
TIMEOUT_S = 15


def application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def named(root, name):
    """The accessible of that name, the one showing when a hidden dialog has one of the same name."""
    root.clear_cache()
    found = []
    pending = [root]
    while pending:
        node = pending.pop()
        if node is None:
            continue
        if " ".join((node.name or "").split()) == name:
            found.append(node)
        pending.extend(node.getChildAtIndex(i) for i in range(node.childCount))
    return next((node for node in found if showing(node)), found[0] if found else None)


def showing(node):
    node.clear_cache()
    state = node.getState()
    return state.contains(pyatspi.STATE_SHOWING) and state.contains(pyatspi.STATE_VISIBLE)


def centre(node):
    try:
        box = node.queryComponent().getExtents(pyatspi.WINDOW_COORDS)
    except NotImplementedError:  # not laid out
        return None
    return box.x + box.width // 2, box.y + box.height // 2


def run_once(shown, locate, command, environment):
    """(milliseconds from exec until SHOWN is showing, centre of LOCATE), or None."""
    started = time.monotonic()
    process = subprocess.Popen(command, env=environment, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        app = node = None
        while time.monotonic() - started < TIMEOUT_S:
            if app is None:
                app = application(process.pid)
            if app is not None and node is None:
                node = named(app, shown)
            if node is not None and showing(node):
                elapsed = (time.monotonic() - started) * 1000
                target = named(app, locate)
                return elapsed, (centre(target) if target is not None else None)
            time.sleep(POLL_S)
        return None
    finally:
        process.terminate()
        process.wait()


def main():
    if len(sys.argv) < 5:
        print(__doc__, file=sys.stderr)
        return 2
    runs, shown, locate, command = int(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4:]
    environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
    result = None
    for _ in range(runs):
        result = run_once(shown, locate, command, environment)
        if result is None:
            print(f"'{shown}' was not shown within {TIMEOUT_S} s", file=sys.stderr)
            return 1
        print(f"revealed {result[0]:.0f}", flush=True)
    if result[1] is not None:
        print("at %d %d" % result[1])
    return 0


if __name__ == "__main__":
    sys.exit(main())
