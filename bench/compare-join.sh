#!/usr/bin/env bash
# Times joinbench against cat of the same pieces followed by sync of the result, in one run.
#   bench/compare-join.sh [MiB] [ROUNDS]     (default 1024 MiB, 5 rounds)
# The random source is split with splitbench at the 100M and 100k presets; then every round
# joins the pieces once with each command, in turn, after one warm-up round. Both write the
# joined file to the disk before they end: joinbench flushes it before putting it in place, and
# cat is followed by sync of its output. The table gives the median and the worst run of each.
set -euo pipefail
cd "$(dirname "$0")/.."

mib=${1:-1024}
rounds=${2:-5}
bench_dir=
for candidate in build/release/bench build/test/bench; do
    [[ -z $bench_dir && -x $candidate/joinbench ]] && bench_dir=$candidate
done
[[ -n $bench_dir ]] || { echo "build first: ./run.sh or ./test.sh" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tessary-join-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
head -c "$((mib * 1024 * 1024))" /dev/urandom >"$work/source.bin"

# Joins the pieces in $work/pieces once and prints the wall time in microseconds.
run_once() {
    local name=$1 output start end
    output=$work/pieces/$name.out
    [[ $name == joinbench ]] && output=$work/pieces/source.bin # where the script puts it
    rm -f "$output" # each command removes only its own result of the round before
    sync
    start=$(date +%s%N)
    case $name in
    joinbench) "$bench_dir/joinbench" "$work/pieces/source.bin.bat" ;;
    cat+sync) cat "${pieces[@]}" >"$output" && sync "$output" ;;
    esac
    end=$(date +%s%N)
    echo $(((end - start) / 1000))
}

median_and_worst() {
    printf '%s\n' "$@" | sort -n | awk '{ t[NR] = $1 } END {
        printf "%.3f %.3f\n", t[int((NR + 1) / 2)] / 1e6, t[NR] / 1e6 }'
}

echo "source: $mib MiB of random bytes in $work ($(df -T "$work" | awk 'NR == 2 { print $2 }')), $rounds rounds"
for preset in 100M:100000000 100k:100000; do
    label=${preset%%:*}
    rm -rf "$work/pieces" && mkdir "$work/pieces"
    "$bench_dir/splitbench" --size "${preset#*:}" --out "$work/pieces" "$work/source.bin"
    count=$(find "$work/pieces" -name 'source.bin.[0-9]*' | wc -l)
    pieces=()
    for ((i = 1; i <= count; i++)); do pieces+=("$work/pieces/source.bin.$i"); done
    declare -A times=()
    for ((round = 0; round <= rounds; round++)); do
        for name in cat+sync joinbench; do
            elapsed=$(run_once "$name")
            ((round == 0)) || times[$name]+="$elapsed "
        done
    done
    cmp -s "$work/pieces/source.bin" "$work/source.bin" || { echo "joinbench joined other bytes" >&2; exit 1; }
    read -r reference _ < <(median_and_worst ${times[cat+sync]})
    printf '\n%s preset, %d pieces\n%-10s %9s %9s %10s\n' "$label" "$count" command median worst "x cat+sync"
    for name in joinbench cat+sync; do
        read -r median worst < <(median_and_worst ${times[$name]})
        printf '%-10s %8ss %8ss %10s\n' "$name" "$median" "$worst" \
            "$(awk -v a="$median" -v b="$reference" 'BEGIN { printf "%.2f", a / b }')"
    done
    unset times
done
