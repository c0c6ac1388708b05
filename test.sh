#!/usr/bin/env bash
# Builds Tessary with warnings as errors and runs every test; then builds the tests of the engine
# and the file layer twice more, with AddressSanitizer and UndefinedBehaviorSanitizer and with
# ThreadSanitizer (and there the windows' tests of jobs too), and runs them: any report fails
# the run.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
jobs=$(nproc)

# Built a batch of files at a time (a unity build), in half the time: three builds must fit in
# ten minutes on two cores. ./run.sh builds file by file, which catches a missing include.
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Release -DTESSARY_WERROR=ON -DCMAKE_UNITY_BUILD=ON \
    >/dev/null
cmake --build build/test --parallel "$jobs"
(cd build/test && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$jobs")

# A tree of its own for each sanitizer, building only the engine's tests and what they run.
sanitized() { # tree, sanitizers, targets...
    cmake -S . -B "build/$1" "-DTESSARY_SANITIZE=$2" >/dev/null
    cmake --build "build/$1" --parallel "$jobs" --target "${@:3}"
}

sanitized asan 'address;undefined' engine_tests
(cd build/asan && ctest --output-on-failure --parallel "$jobs" --label-regex '^engine$')

# GCC 12's ThreadSanitizer expects the program where the kernel puts it when it randomises
# addresses with at most 28 bits (vm.mmap_rnd_bits); with more, a run can end with "unexpected
# memory mapping". Without randomisation (setarch -R, which the tests' children inherit) it runs
# whatever the setting; where that is not allowed, the setting is lowered for the run.
no_aslr=()
rnd_bits=/proc/sys/vm/mmap_rnd_bits
if setarch "$(uname -m)" -R true 2>/dev/null; then
    no_aslr=(setarch "$(uname -m)" -R)
elif [[ -r $rnd_bits && $(<"$rnd_bits") -gt 28 ]]; then
    if [[ -w $rnd_bits ]]; then
        echo "vm.mmap_rnd_bits lowered from $(<"$rnd_bits") to 28 while ThreadSanitizer runs"
        trap "echo $(<"$rnd_bits") >$rnd_bits" EXIT
        echo 28 >"$rnd_bits"
    else
        echo "warning: ThreadSanitizer may not start: address randomisation cannot be turned" \
             "off and vm.mmap_rnd_bits is $(<"$rnd_bits") (more than 28)" >&2
    fi
fi
sanitized tsan thread engine_tests window_tests
(cd build/tsan && QT_QPA_PLATFORM=offscreen "${no_aslr[@]}" ctest --output-on-failure \
    --parallel "$jobs" --label-regex '^(engine|windows)$')
