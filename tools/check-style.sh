#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a C++ file deviates from .clang-format or when clang-tidy finds
# anything in the product's code. Usage: tools/check-style.sh BUILD_FOLDER
# (a configured build folder with compile_commands.json).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:?usage: tools/check-style.sh BUILD_FOLDER}"

echo "== clang-format"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

echo "== clang-tidy"
run-clang-tidy -p "$build" -quiet -j"$(nproc)" "$PWD/(app|device|controller|store|macro|tools)/.*\.cpp$" \
  >"$build/clang-tidy.log" 2>&1 || { grep -E "(warning|error):" "$build/clang-tidy.log" | sort -u; exit 1; }
echo "clean"
