#!/usr/bin/env bash
# Runs clang-tidy over the project's own sources, using the compile commands of build/test.
set -euo pipefail
cd "$(dirname "$0")/.."
[[ -f build/test/compile_commands.json ]] || { echo "run ./test.sh first" >&2; exit 1; }
run-clang-tidy -p build/test -quiet "^$PWD/(src|bench|tests)/"
