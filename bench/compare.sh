#!/usr/bin/env bash
# Times splitbench against GNU split and cp on one random file, in the same run.
#   bench/compare.sh [MiB]     (default 1024)
# Medians of five runs after one warm-up; the file and every output stay in one temporary
# folder, so all three tools read and write the same file system.
set -euo pipefail
cd "$(dirname "$0")/.."

mib=${1:-1024}
splitbench=${SPLITBENCH:-}
for candidate in build/release/bench/splitbench build/test/bench/splitbench; do
    [[ -z $splitbench && -x $candidate ]] && splitbench=$candidate
done
[[ -n $splitbench ]] || { echo "build first: ./run.sh or ./test.sh" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tessary-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
source_file=$work/source.bin
head -c "$((mib * 1024 * 1024))" /dev/urandom >"$source_file"

# Runs a command five times after a warm-up, clearing the output folder before each run,
# and prints the median wall time in seconds.
median_seconds() {
    local times=() start end
    for run in 0 1 2 3 4 5; do
        rm -rf "$work/out" && mkdir "$work/out"
        sync # every run starts with no dirty pages left by the one before
        start=$(date +%s%N)
        "$@" >/dev/null
        end=$(date +%s%N)
        [[ $run -eq 0 ]] || times+=("$(((end - start) / 1000))")
    done
    printf '%s\n' "${times[@]}" | sort -n | sed -n 3p | awk '{ printf "%.3f", $1 / 1e6 }'
}

# Peak resident memory of one run, in MiB, where GNU time is installed.
peak_mib() {
    if [[ -x /usr/bin/time ]]; then
        rm -rf "$work/out" && mkdir "$work/out"
        /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n 1 | awk '{ printf "%.1f", $1 / 1024 }'
    else
        echo "n/a"
    fi
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

memory=()
echo "source: $mib MiB in $work ($(df -T "$work" | awk 'NR == 2 { print $2 }'))"
cp_time=$(median_seconds cp "$source_file" "$work/out/copy.bin")
printf '\n%-8s %-10s %12s %12s %12s %10s %10s\n' size piece splitbench "split -b" cp "vs cp" "vs split"
# 128Mi+1 makes every piece start on a page boundary, as a whole-file copy does.
for preset in 100M:100000000 100k:100000 128Mi+1:134217729; do
    label=${preset%%:*}
    size=${preset#*:}
    piece=$((size - 1)) # the piece length Tessary writes for this size
    ours=$(median_seconds "$splitbench" --size "$size" --out "$work/out" "$source_file")
    gnu=$(median_seconds split -b "$piece" "$source_file" "$work/out/source.bin.")
    memory+=("$label: $(peak_mib "$splitbench" --size "$size" --out "$work/out" "$source_file") MiB")
    printf '%-8s %-10s %11ss %11ss %11ss %10s %10s\n' "$label" "$piece" "$ours" "$gnu" "$cp_time" \
        "$(ratio "$ours" "$cp_time")" "$(ratio "$ours" "$gnu")"
done
echo
echo "splitbench peak memory: ${memory[*]}"
