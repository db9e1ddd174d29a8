#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Compares the wire traces the kernel tier's guest wrote (quellarctl on hidapi, hidraw and
the virtual mouse behind /dev/uhid) with those of the in-process virtual mouse for the same
scripts, run here in the same order on one data folder.

Compared: every command-interface line in order (operation, bytes, result) and every event
line that carried data. Not compared: the event listener's idle rounds (open, a read that
timed out, close), whose number depends on time, and the four random bytes of the
handshake (the product checks the echo). Timings are lower bounds only: inside a command
(from its report or a bulk report to the next bulk report or the close), where the host trace
shows one of the transport's deliberate pauses, the guest's gap must be at least that pause."""
import argparse
import os
import subprocess
import sys
import tempfile

PAUSES = (0.128, 0.008)  # settle pause (two halves) and the gap between bulk reports, seconds
ROUNDING = 0.0011  # the trace prints milliseconds


def parse(path):
    lines = []
    with open(path, encoding="ascii") as trace:
        for raw in trace:
            head, _, result = raw.rstrip("\n").partition(" -> ")
            words = head.split()
            if len(words) >= 3:
                lines.append({"t": float(words[0]), "iface": words[1], "op": words[2],
                              "bytes": words[3:], "result": result})
    return lines


def mask_handshake(lines):
    for line in lines:
        if line["iface"] == "cmd" and line["op"] == "send_feature" and line["bytes"][1:2] == ["00"]:
            line["bytes"] = line["bytes"][:2] + ["xx"] * 4 + line["bytes"][6:8] + ["xx"]
        elif line["iface"] == "cmd" and line["op"] == "get_feature" and line["bytes"][1:2] == ["00"]:
            line["bytes"] = line["bytes"][:2] + ["xx"] * 4 + line["bytes"][6:8] + ["xx"]
    return lines


def compared(lines):
    """The command lines, and the event lines that are not idle listener rounds."""
    kept = []
    for line in lines:
        if line["iface"] == "evt":
            idle = line["op"] in ("open", "close") or (line["op"] == "read_timeout" and line["result"] == "0")
            if idle and line["result"] in ("", "ok", "0"):
                continue
        kept.append(line)
    return kept


def key(line):
    return f'{line["iface"]} {line["op"]} {" ".join(line["bytes"])} -> {line["result"]}'


def pause_bound(gap):
    for pause in PAUSES:
        if gap + ROUNDING >= pause:
            return pause - ROUNDING
    return 0.0


def compare(name, host, guest):
    problems = []
    h, g = compared(mask_handshake(host)), compared(mask_handshake(guest))
    for i in range(max(len(h), len(g))):
        if i >= len(h) or i >= len(g) or key(h[i]) != key(g[i]):
            problems.append(f"{name}: line {i + 1} differs:\n  in-process: {key(h[i]) if i < len(h) else '(end)'}"
                            f"\n  kernel:     {key(g[i]) if i < len(g) else '(end)'}")
            break
    cmd_h = [line for line in h if line["iface"] == "cmd"]
    cmd_g = [line for line in g if line["iface"] == "cmd"]
    for i in range(1, min(len(cmd_h), len(cmd_g))):
        if cmd_h[i - 1]["op"] not in ("send_feature", "write") or cmd_h[i]["op"] not in ("write", "close"):
            continue
        bound = pause_bound(cmd_h[i]["t"] - cmd_h[i - 1]["t"])
        gap = cmd_g[i]["t"] - cmd_g[i - 1]["t"]
        if gap < bound:
            problems.append(f"{name}: kernel gap {gap:.3f} s before '{key(cmd_g[i])}' is below the pause {bound:.3f} s")
    commands = sum(1 for line in cmd_h if line["op"] == "send_feature")
    return problems, commands, len(h)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--quellarctl", required=True)
    parser.add_argument("--results", required=True, help="the guest's results folder")
    parser.add_argument("scripts", nargs="+")
    args = parser.parse_args()
    problems, commands, lines = [], 0, 0
    with tempfile.TemporaryDirectory() as work:
        env = dict(os.environ, XDG_RUNTIME_DIR=os.path.join(work, "run"), QT_QPA_PLATFORM="offscreen")
        os.mkdir(env["XDG_RUNTIME_DIR"], 0o700)
        for script in args.scripts:
            name = os.path.basename(script).rsplit(".", 1)[0]
            host_trace = os.path.join(work, name + ".trace")
            run = subprocess.run([args.quellarctl, "--data", os.path.join(work, "data"), "--virtual-device",
                                  "--trace", host_trace, "script", script], env=env, capture_output=True, timeout=60)
            guest_trace = os.path.join(args.results, "traces", name + ".trace")
            with open(os.path.join(args.results, name + ".rc"), encoding="ascii") as rc:
                guest_rc = int(rc.read().strip() or -1)
            with open(os.path.join(args.results, name + ".out"), "rb") as out:
                guest_out = out.read()
            if run.returncode != 0 or guest_rc != 0:
                problems.append(f"{name}: exit code in-process {run.returncode}, kernel {guest_rc}")
            if run.stdout != guest_out:
                problems.append(f"{name}: the results differ:\n{run.stdout.decode()}\n---\n{guest_out.decode()}")
            found, script_commands, script_lines = compare(name, parse(host_trace), parse(guest_trace))
            problems += found
            commands += script_commands
            lines += script_lines
            print(f"{name}: {script_commands} commands, {script_lines} trace lines compared")
    print(f"kernel tier: {commands} commands ({lines} trace lines) in {len(args.scripts)} scripts compared")
    for problem in problems:
        print("FAIL " + problem)
    return 1 if problems or commands == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
