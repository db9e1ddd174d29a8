#!/usr/bin/env bash
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
cmake -S . -B build-fuzz "${launcher[@]}" -DCMAKE_CXX_COMPILER=clang++ -DQUELLAR_LIBFUZZER=ON >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]}"

mkdir -p build-fuzz/crashes
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export QT_QPA_PLATFORM=offscreen
for target in "${targets[@]}"; do
  corpus="tests/fuzz/corpus/$target"
  work="build-fuzz/work/$target"
  mkdir -p "$corpus" "$work"
  echo "== $target: $runs runs"
  "build-fuzz/tests/fuzz/$target" -runs="$runs" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
    -artifact_prefix="build-fuzz/crashes/$target-" -print_final_stats=1 "$work" "$corpus" 2>&1 |
    grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|#[0-9]+ *DONE|==[0-9]+==ERROR|SUMMARY)' || true
  # Keep only the inputs that add coverage.
  "build-fuzz/tests/fuzz/$target" -merge=1 "$corpus" "$work" >/dev/null 2>&1
done
ls build-fuzz/crashes
