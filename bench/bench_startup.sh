#!/usr/bin/env bash
# Start-up and footprint of quellar with the virtual mouse on an X server:
# time from exec to the shown window (median of N runs), then resident memory
# and idle CPU with the window shown and after it was closed to the tray.
# Usage: DISPLAY=:N bench/bench_startup.sh build/app/quellar [runs]
set -euo pipefail
quellar=${1:?path to quellar}
runs=${2:-7}
[ -n "${DISPLAY:-}" ] || { echo "needs DISPLAY (an X server, e.g. Xvfb)" >&2; exit 2; }

data=$(mktemp -d)
trap 'pkill -f -- "--data $data" || true; rm -rf "$data"' EXIT
title=$(grep -h '^name0=' "$(dirname "$0")/../packaging/data/modules/setting/apConfig.bin" | cut -d= -f2-)

now_ms() { date +%s%3N; }
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
rss_kb() { awk '/VmRSS/ {print $2}' "/proc/$1/status"; }

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
echo "start-up to shown window: median $(echo "$sorted" | sed -n "$(( (runs + 1) / 2 ))p") ms, all: $(echo $sorted) ms"

"$quellar" --data "$data" --virtual-device >/dev/null 2>&1 &
pid=$!
until xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1; do sleep 0.05; done
sleep 3
t0=$(cpu_ticks "$pid"); sleep 30; t1=$(cpu_ticks "$pid")
echo "window shown: RSS $(( $(rss_kb "$pid") / 1024 )) MB, idle CPU $(( (t1 - t0) * 100 / 30 ))/100 % of one core (ticks $((t1 - t0)) in 30 s)"

window=$(xdotool search --onlyvisible --name "^$title\$" | head -1)
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + 971)) $((Y + 24)) click 1   # the view's close button hides to the tray
sleep 3
t0=$(cpu_ticks "$pid"); sleep 30; t1=$(cpu_ticks "$pid")
echo "in the tray: RSS $(( $(rss_kb "$pid") / 1024 )) MB, idle CPU $(( (t1 - t0) * 100 / 30 ))/100 % of one core (ticks $((t1 - t0)) in 30 s)"
