#!/usr/bin/env bash
# Runs clang-tidy over the project's own sources, in a tree of its own built file by file (the
# test build is a unity build, whose compile commands name batches rather than sources).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/tidy -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/tidy --parallel "$(nproc)"
run-clang-tidy -p build/tidy -quiet "^$PWD/(src|bench|tests)/"
