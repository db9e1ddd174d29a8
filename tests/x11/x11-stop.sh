#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Stops what x11-start.sh started. Usage: x11-stop.sh STATE_DIR
state_dir=$1
pids=""
for name in trayer xvfb; do
    pid_file="$state_dir/$name.pid"
    [ -f "$pid_file" ] || continue
    pid=$(cat "$pid_file")
    # Signal both at once; each takes a moment to go.
    kill "$pid" 2>/dev/null && pids="$pids $pid"
    rm -f "$pid_file"
done
for pid in $pids; do
    tries=0
    while kill -0 "$pid" 2>/dev/null && [ "$tries" -lt 50 ]; do
        tries=$((tries + 1))
        sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null || true
done
rm -f "$state_dir/display" "$state_dir/displayfd"
exit 0
