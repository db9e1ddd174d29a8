#!/usr/bin/env bash
# Installs what is missing, configures, builds and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build -DQUELLAR_WERROR=ON >/dev/null
cmake --build build -j"$(nproc)"
# GUI and input tests need an X server; the suite starts its own (see tests/e2e).
ctest --test-dir build --output-on-failure -j"$(nproc)"
