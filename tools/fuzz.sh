#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the fuzz targets for libFuzzer with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) in build-fuzz/ and runs each one.
# Usage: tools/fuzz.sh [RUNS] [TARGET...]   (RUNS default 1000000; all targets by default)
# New inputs that reach new code are merged into tests/fuzz/corpus/<target>,
# which the normal test run replays. A crash leaves its input in build-fuzz/crashes/.
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-1000000}"
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(fuzz_page_encoder fuzz_tag_encoder fuzz_profile_ini fuzz_language_ini fuzz_library_ini
           fuzz_virtual_mouse_ini fuzz_device_answers)
fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-fuzz "${launcher[@]}" -DCMAKE_CXX_COMPILER=clang++ -DQUELLAR_LIBFUZZER=ON -DQUELLAR_WERROR=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]}"

mkdir -p build-fuzz/crashes
# Leaks are looked for once at the end of a run, not after every input: the
# settings cache keeps memory between inputs, and a scan per input costs 25 ms.
# The corpus replay of the sanitizer test build checks for leaks as well.
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1"
export TMPDIR=/dev/shm
export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export QT_QPA_PLATFORM=offscreen
# Targets work in a data folder of their own, so every path handed over is absolute.
root="$PWD"
failed=0
for target in "${targets[@]}"; do
  corpus="$root/tests/fuzz/corpus/$target"
  work="$root/build-fuzz/work/$target"
  mkdir -p "$corpus" "$work"
  echo "== $target: $runs runs"
  start=$(date +%s)
  if ! "$root/build-fuzz/tests/fuzz/$target" -runs="$runs" -detect_leaks=0 -timeout=10 -rss_limit_mb=4096 -max_len=4096 \
      -artifact_prefix="$root/build-fuzz/crashes/$target-" -print_final_stats=1 "$work" "$corpus" \
      >"$root/build-fuzz/$target.log" 2>&1; then
    failed=1
    echo "FAILED: see build-fuzz/$target.log"
  fi
  grep -E '^stat::(number_of_executed_units|peak_rss_mb)|ERROR|SUMMARY' "$root/build-fuzz/$target.log" || true
  echo "seconds: $(( $(date +%s) - start ))"
  # Keep only the inputs that add coverage.
  "$root/build-fuzz/tests/fuzz/$target" -merge=1 "$corpus" "$work" >/dev/null 2>&1 || true
done
ls build-fuzz/crashes
exit "$failed"
