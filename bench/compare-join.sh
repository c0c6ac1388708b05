#!/usr/bin/env bash
# Times tessary-cli join against cat of the same pieces followed by sync of the result, and
# against OpenSSL's SHA-256 of the file, in one run.
#   bench/compare-join.sh [MiB] [ROUNDS]     (default 1024 MiB, 5 rounds)
# The random source is split with tessary-cli at the 100M and 100k presets, once with its
# checksum list and once without; then every round joins the pieces once with each command, in
# turn, after one warm-up round. The joins write the joined file to the disk before they end:
# tessary-cli flushes it before putting it in place, and cat is followed by sync of its output.
# "tessary, checked" holds every piece and the whole file to the list; "openssl dgst" hashes
# the warm source once, the reference for what checking costs. As root, dirty pages are written,
# clean cached pages dropped and the pieces read back before every run. The table gives the
# median and the worst run of each.
# Then, at 100M with recovery files for one piece, a join with none lost, a join that rebuilds
# the first piece it finds lost, and par2 repairing a copy of the set with the same piece lost:
# the rebuilding join against the join with none lost plus par2's own repair.
set -euo pipefail
cd "$(dirname "$0")/.."

mib=${1:-1024}
rounds=${2:-5}
cli=
for candidate in build/release/src/cli/tessary-cli build/test/src/cli/tessary-cli; do
    [[ -z $cli && -x $candidate ]] && cli=$candidate
done
[[ -n $cli ]] || { echo "build first: ./run.sh or ./test.sh" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tessary-join-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
head -c "$((mib * 1024 * 1024))" /dev/urandom >"$work/source.bin"
drop_caches=false
[[ -w /proc/sys/vm/drop_caches ]] && drop_caches=true

# Joins the pieces once and prints the wall time in microseconds.
run_once() {
    local name=$1 folder=$work/checked output= start end
    case $name in
    "tessary, checked") output=$folder/source.bin ;; # where the script puts it
    "tessary, unchecked") folder=$work/plain output=$folder/source.bin ;;
    cat+sync) folder=$work/plain output=$folder/cat.out ;;
    "tessary, none lost" | "tessary, one rebuilt") folder=$work/mended output=$folder/source.bin ;;
    "par2 repair") folder=$work/par2 ;;
    esac
    # Each command removes only its own result of the round before.
    [[ -z $output ]] || rm -f "$output"
    # The rebuilding join and par2 put the lost piece back: each loses it anew.
    [[ $name == "tessary, one rebuilt" || $name == "par2 repair" ]] && rm "$folder/source.bin.1"
    sync
    $drop_caches && echo 1 >/proc/sys/vm/drop_caches
    cat "$folder"/source.bin.[0-9]* "$work/source.bin" >/dev/null # warm for everyone
    start=$(date +%s%N)
    case $name in
    "tessary, checked" | "tessary, unchecked" | "tessary, none lost") "$cli" join -q "$folder/source.bin.bat" ;;
    "tessary, one rebuilt") "$cli" join -q -y "$folder/source.bin.bat" ;;
    "par2 repair") par2 r -q "$folder/source.bin.par2" >/dev/null ;;
    cat+sync) cat "${pieces[@]}" >"$output" && sync "$output" ;;
    "openssl dgst") openssl dgst -sha256 "$work/source.bin" >/dev/null ;;
    esac
    end=$(date +%s%N)
    echo $(((end - start) / 1000))
}

median_and_worst() {
    printf '%s\n' "$@" | sort -n | awk '{ t[NR] = $1 } END {
        printf "%.3f %.3f\n", t[int((NR + 1) / 2)] / 1e6, t[NR] / 1e6 }'
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# Runs every command of names, interleaved, rounds times after a warm-up round, into times.
time_rounds() {
    local round name
    for ((round = 0; round <= rounds; round++)); do
        for name in "${names[@]}"; do
            elapsed=$(run_once "$name")
            ((round == 0)) || times[$name]+="$elapsed "
        done
    done
}

echo "source: $mib MiB of random bytes in $work ($(df -T "$work" | awk 'NR == 2 { print $2 }')), $rounds rounds"
names=("tessary, checked" "tessary, unchecked" cat+sync "openssl dgst")
for preset in 100M:100000000 100k:100000; do
    label=${preset%%:*}
    rm -rf "$work/checked" "$work/plain" && mkdir "$work/checked" "$work/plain"
    "$cli" split -q -s "${preset#*:}" -o "$work/checked" "$work/source.bin"
    "$cli" split -q --no-checksums -s "${preset#*:}" -o "$work/plain" "$work/source.bin"
    count=$(find "$work/plain" -name 'source.bin.[0-9]*' | wc -l)
    pieces=()
    for ((i = 1; i <= count; i++)); do pieces+=("$work/plain/source.bin.$i"); done
    declare -A times=()
    time_rounds
    for folder in checked plain; do
        cmp -s "$work/$folder/source.bin" "$work/source.bin" || { echo "tessary-cli joined other bytes" >&2; exit 1; }
    done
    read -r cat_median _ < <(median_and_worst ${times[cat+sync]})
    read -r openssl_median _ < <(median_and_worst ${times["openssl dgst"]})
    printf '\n%s preset, %d pieces\n%-22s %9s %9s %10s %10s\n' "$label" "$count" command median worst \
        "x cat+sync" "x openssl"
    for name in "${names[@]}"; do
        read -r median worst < <(median_and_worst ${times[$name]})
        printf '%-22s %8ss %8ss %10s %10s\n' "$name" "$median" "$worst" \
            "$(ratio "$median" "$cat_median")" "$(ratio "$median" "$openssl_median")"
    done
    unset times
done

command -v par2 >/dev/null || { echo "no par2: the rebuilding join is not timed" >&2; exit 0; }
rm -rf "$work/checked" "$work/plain" "$work/mended" "$work/par2" && mkdir "$work/mended" "$work/par2"
"$cli" split -q -s 100000000 -r 1 -o "$work/mended" "$work/source.bin"
cp "$work/mended"/* "$work/par2"/
names=("tessary, none lost" "tessary, one rebuilt" "par2 repair")
declare -A times=()
time_rounds
cmp -s "$work/mended/source.bin" "$work/source.bin" || { echo "tessary-cli rebuilt other bytes" >&2; exit 1; }
declare -A medians=()
for name in "${names[@]}"; do read -r "medians[$name]" _ < <(median_and_worst ${times[$name]}); done
reference=$(awk -v a="${medians["tessary, none lost"]}" -v b="${medians["par2 repair"]}" 'BEGIN { print a + b }')
printf '\n100M preset with recovery files for 1 piece, the first lost\n%-22s %9s %9s %16s\n' command \
    median worst "x none lost+par2"
for name in "${names[@]}"; do
    read -r median worst < <(median_and_worst ${times[$name]})
    printf '%-22s %8ss %8ss %16s\n' "$name" "$median" "$worst" "$(ratio "$median" "$reference")"
done
