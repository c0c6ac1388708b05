#!/usr/bin/env bash
# Builds Tessary in Release and starts it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build/release --parallel "$(nproc)"
if [[ ! -x build/release/src/tessary ]]; then
    echo "Tessary's main window is not built yet; the engine and its benchmark are in build/release."
    exit 0
fi
exec build/release/src/tessary
