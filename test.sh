#!/usr/bin/env bash
# Builds Tessary with warnings as errors and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Release -DTESSARY_WERROR=ON >/dev/null
cmake --build build/test --parallel "$(nproc)"
cd build/test
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)"
