#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and runs the whole test suite twice: in the
# normal build (warnings as errors) and in the sanitizer build (AddressSanitizer
# and UndefinedBehaviorSanitizer, stopping at the first report). The fuzz
# corpora are replayed in both. Each build has its own folder, so neither this
# script nor tools/run.sh ever rebuilds the other's objects.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh

jobs="$(nproc)"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

build() {
  local folder="$1"
  shift
  cmake -S . -B "$folder" "${launcher[@]}" "$@" >/dev/null
  cmake --build "$folder" -j"$jobs"
}

# GUI and input tests need an X server; the suite starts its own (see tests/x11).
echo "== normal build"
build build-test -DQUELLAR_WERROR=ON
bash tools/check-style.sh build-test
ctest --test-dir build-test --output-on-failure -j"$jobs" -LE kernel

# The kernel tier boots a small VM on qemu's software CPU: alone, so it has the cores to itself.
echo "== kernel tier"
ctest --test-dir build-test --output-on-failure -L kernel

echo "== sanitizer build"
# Warnings are checked in the normal build: GCC's flow warnings misfire on sanitizer code.
build build-asan -DQUELLAR_SANITIZE=ON -DQUELLAR_WERROR=OFF
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
ctest --test-dir build-asan --output-on-failure -j"$jobs" --timeout 600 -LE kernel
