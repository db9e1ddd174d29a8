#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts a private X server (first free display) and a tray host for tests.
# Usage: x11-start.sh STATE_DIR
# Writes STATE_DIR/display (":N"), STATE_DIR/xvfb.pid, STATE_DIR/trayer.pid.
set -eu
state_dir=$1
mkdir -p "$state_dir"
"$(dirname "$0")/x11-stop.sh" "$state_dir" >/dev/null 2>&1 || true
rm -f "$state_dir/display" "$state_dir/displayfd"

# Waits until the command succeeds; gives up after 10 s or when the program NAME has ended.
wait_for() {
    name=$1
    shift
    tries=0
    until "$@" >/dev/null 2>&1; do
        tries=$((tries + 1))
        if [ "$tries" -gt 200 ] || ! kill -0 "$(cat "$state_dir/$name.pid")" 2>/dev/null; then
            echo "$name did not start; log follows" >&2
            cat "$state_dir/$name.log" >&2
            "$(dirname "$0")/x11-stop.sh" "$state_dir"
            exit 1
        fi
        sleep 0.05
    done
}

# Every child writes to files: CTest waits for the output pipes of a test to close.
setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
    3>"$state_dir/displayfd" >"$state_dir/xvfb.log" 2>&1 </dev/null &
echo $! >"$state_dir/xvfb.pid"
wait_for xvfb grep -q '^[0-9][0-9]*$' "$state_dir/displayfd"
display=":$(cat "$state_dir/displayfd")"

DISPLAY=$display setsid trayer --edge top --align right --widthtype request --height 24 \
    >"$state_dir/trayer.log" 2>&1 </dev/null &
echo $! >"$state_dir/trayer.pid"
# The tray host's window, so tray icons of the tests find it at once.
wait_for trayer env DISPLAY="$display" xdotool search --classname trayer

# Publish the display last: its presence means the fixture is ready.
echo "$display" >"$state_dir/display.tmp"
mv "$state_dir/display.tmp" "$state_dir/display"
echo "X server on $display"
