#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command on the test X server. Usage: with-x11.sh STATE_DIR COMMAND [ARG...]
set -eu
state_dir=$1
shift
if [ ! -s "$state_dir/display" ]; then
    echo "the X server fixture is not running (no $state_dir/display)" >&2
    exit 1
fi
DISPLAY=$(cat "$state_dir/display")
export DISPLAY
unset WAYLAND_DISPLAY
exec "$@"
