#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up and footprint of quellar with the virtual mouse on an X server:
# time from exec to the shown window (median of N runs); time from exec to the
# revealed main screen, watched through the accessibility tree on a private
# session bus (median of N runs; the start-up lock alone is 1000 ms); then resident
# memory and idle CPU with the main screen shown and after it was closed to the tray.
# Everything runs on a private session bus with an AT-SPI bus, as on a usual desktop;
# only the revealed runs switch the accessibility bridge on (as a screen reader would).
# Usage: DISPLAY=:N bench/bench_startup.sh build/app/quellar [runs]
# QT_QUICK_BACKEND=software measures with the software renderer.
set -euo pipefail
quellar=${1:?path to quellar}
runs=${2:-7}
[ -n "${DISPLAY:-}" ] || { echo "needs DISPLAY (an X server, e.g. Xvfb)" >&2; exit 2; }
here=$(dirname "$0")

data=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$data"
}
trap cleanup EXIT
title=$(grep -h '^name0=' "$here/../packaging/data/modules/setting/apConfig.bin" | cut -d= -f2-)
revealed_marker="DPI stage 1"   # a control of the main screen, hidden behind the splash until revealed
lock_ms=1000
reveal_budget_ms=300

now_ms() { date +%s%3N; }
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
rss_kb() { awk '/VmRSS/ {print $2}' "/proc/$1/status"; }
median() { sort -n | sed -n "$(( (runs + 1) / 2 ))p"; }
echo "renderer: ${QT_QUICK_BACKEND:-default}"

# Without a session bus Qt would start one of its own for each run (D-Bus autolaunch).
mapfile -t bus < <(dbus-daemon --session --fork --print-address=1 --print-pid=1)
pids+=("${bus[1]}")
export DBUS_SESSION_BUS_ADDRESS=${bus[0]}

times=()
for _ in $(seq "$runs"); do
  start=$(now_ms)
  "$quellar" --data "$data" --virtual-device >/dev/null 2>&1 &
  pid=$!
  until xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1; do sleep 0.01; done
  times+=($(( $(now_ms) - start )))
  kill "$pid"; wait "$pid" || true
done
sorted=$(printf '%s\n' "${times[@]}" | sort -n)
echo "start-up to shown window: median $(echo "$sorted" | median) ms, all: $(echo $sorted) ms"

# The revealed main screen, and where the close button sits (for the tray run below).
close_x=987 close_y=13   # the middle of the close button when the accessibility tree cannot tell
launcher=/usr/libexec/at-spi-bus-launcher
if [ -x "$launcher" ]; then
  "$launcher" --launch-immediately >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1 && break
    sleep 0.05
  done
  if output=$(/usr/bin/python3 "$here/startup_revealed.py" "$runs" "$revealed_marker" "Close" \
                "$quellar" --data "$data" --virtual-device); then
    sorted=$(echo "$output" | awk '/^revealed/ {print $2}' | sort -n)
    echo "start-up to revealed main screen: median $(echo "$sorted" | median) ms" \
         "(target $lock_ms + $reveal_budget_ms), all: $(echo $sorted) ms"
    if at=$(echo "$output" | awk '/^at/ {print $2, $3}') && [ -n "$at" ]; then
      read -r close_x close_y <<<"$at"
    fi
  else
    echo "start-up to revealed main screen: not measured (the main screen's controls were not found)"
  fi
else
  echo "start-up to revealed main screen: not measured ($launcher is missing)"
fi

"$quellar" --data "$data" --virtual-device >/dev/null 2>&1 &
pid=$!
pids+=("$pid")
until xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1; do sleep 0.05; done
sleep 3   # past the start-up lock: the main screen is revealed
t0=$(cpu_ticks "$pid"); sleep 30; t1=$(cpu_ticks "$pid")
echo "window shown: RSS $(( $(rss_kb "$pid") / 1024 )) MB, idle CPU $(( (t1 - t0) * 100 / 30 ))/100 % of one core (ticks $((t1 - t0)) in 30 s)"

window=$(xdotool search --onlyvisible --name "^$title\$" | head -1)
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + close_x)) $((Y + close_y)) click 1   # the view's close button hides to the tray
sleep 3
if xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1; then
  echo "the window did not close to the tray (clicked at $close_x,$close_y)" >&2
fi
t0=$(cpu_ticks "$pid"); sleep 30; t1=$(cpu_ticks "$pid")
echo "in the tray: RSS $(( $(rss_kb "$pid") / 1024 )) MB, idle CPU $(( (t1 - t0) * 100 / 30 ))/100 % of one core (ticks $((t1 - t0)) in 30 s)"
