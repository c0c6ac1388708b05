#!/usr/bin/env bash
# Builds Tessary in Release and starts it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build/release --parallel "$(nproc)"
exec build/release/src/tessary
