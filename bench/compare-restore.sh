#!/usr/bin/env bash
# Times a recipient's restore script for macOS and Linux against the same work done by hand, in
# one run:
#   bench/compare-restore.sh [MiB] [PIECES] [ROUNDS]   (default 1024 MiB, 200,000 pieces, 5 rounds)
# At the 100M preset a random file of MiB is cut into pieces of 99,999,999 bytes; at the small
# preset one of PIECES pieces of 1,000 bytes. "sh NAME.sh" restores the file, beside "cat" of the
# pieces into a file and "openssl dgst -sha256" of it; "sh NAME.sh --check" checks every piece's
# size and SHA-256, beside "sha256sum -c" of the checksum list, and so does "tessary-cli verify",
# which hashes the pieces on every core and the whole file from them too. The split that cuts the
# pieces shows its peak memory.
# Every round runs each command once, in an order drawn anew, so that no command follows the
# same one every round, after one warm-up round; the table gives the median and the worst run of each. As root, dirty
# pages are written and clean cached pages dropped before every run.
set -euo pipefail
cd "$(dirname "$0")/.."

mib=${1:-1024}
small=${2:-200000}
rounds=${3:-5}
cli=
for candidate in build/release build/test build/dev; do
    [[ -z $cli && -x $candidate/src/cli/tessary-cli ]] && cli=$PWD/$candidate/src/cli/tessary-cli
done
[[ -n $cli ]] || { echo "build first: ./run.sh or ./test.sh" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tessary-restore-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
drop_caches=false
[[ -w /proc/sys/vm/drop_caches ]] && drop_caches=true

# Runs one command in the pieces' folder and prints its wall time in microseconds.
run_once() {
    local start end
    rm -f source.bin joined # what the restore made the run before
    sync
    $drop_caches && echo 1 >/proc/sys/vm/drop_caches
    start=$(date +%s%N)
    case $1 in
    "sh NAME.sh") sh source.bin.sh >/dev/null ;;
    "cat && openssl dgst")
        awk -v n="$pieces" 'BEGIN { for (i = 1; i <= n; i++) print "source.bin." i }' |
            xargs cat -- >joined && openssl dgst -sha256 joined >/dev/null ;;
    "sh NAME.sh --check") sh source.bin.sh --check >/dev/null ;;
    "sha256sum -c") sha256sum -c --quiet --ignore-missing source.bin.sha256 ;;
    "tessary-cli verify") "$cli" verify -q source.bin.sha256 ;;
    esac
    end=$(date +%s%N)
    echo $(((end - start) / 1000))
}

median_and_worst() {
    printf '%s\n' "$@" | sort -n | awk '{ t[NR] = $1 } END {
        printf "%.3f %.3f\n", t[int((NR + 1) / 2)] / 1e6, t[NR] / 1e6 }'
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

echo "in $work ($(df -T "$work" | awk 'NR == 2 { print $2 }')), $rounds rounds"
$drop_caches || echo "not root: cached pages are not dropped between runs, so expect noisier times"
names=("sh NAME.sh" "cat && openssl dgst" "sh NAME.sh --check" "sha256sum -c"
    "tessary-cli verify")
for preset in "100M:$((mib * 1024 * 1024)):100000000" "small:$((small * 1000)):1000"; do
    label=${preset%%:*}
    rm -rf "$work/pieces" && mkdir "$work/pieces"
    head -c "$(cut -d: -f2 <<<"$preset")" /dev/urandom >"$work/source.bin"
    # The split that makes the pieces, measured for its peak memory (GNU time, where installed).
    split=("$cli" split -q -s "${preset##*:}" -o "$work/pieces" "$work/source.bin")
    peak="n/a (install the Debian package time)"
    if [[ -x /usr/bin/time ]]; then
        peak=$(/usr/bin/time -f %M "${split[@]}" 2>&1 | tail -n 1 | awk '{ printf "%.1f MiB", $1 / 1024 }')
    else
        "${split[@]}"
    fi
    rm "$work/source.bin"
    pieces=$(find "$work/pieces" -name 'source.bin.[0-9]*' | wc -l)
    declare -A times=()
    cd "$work/pieces"
    for ((round = 0; round <= rounds; round++)); do
        mapfile -t order < <(printf '%s\n' "${names[@]}" | shuf)
        for name in "${order[@]}"; do
            elapsed=$(run_once "$name")
            ((round == 0)) || times[$name]+="$elapsed "
        done
    done
    cd - >/dev/null
    printf '\n%s preset: %d pieces\n%-22s %9s %9s\n' "$label" "$pieces" command median worst
    for name in "${names[@]}"; do
        read -r median worst < <(median_and_worst ${times[$name]})
        printf '%-22s %8ss %8ss\n' "$name" "$median" "$worst"
    done
    read -r restore_median _ < <(median_and_worst ${times["sh NAME.sh"]})
    read -r by_hand_median _ < <(median_and_worst ${times["cat && openssl dgst"]})
    read -r check_median _ < <(median_and_worst ${times["sh NAME.sh --check"]})
    read -r list_median _ < <(median_and_worst ${times["sha256sum -c"]})
    read -r verify_median _ < <(median_and_worst ${times["tessary-cli verify"]})
    echo "sh NAME.sh: $(ratio "$restore_median" "$by_hand_median") x cat && openssl dgst (at most 1.2)"
    echo "sh NAME.sh --check: $(ratio "$check_median" "$list_median") x sha256sum -c (at most 2)"
    echo "tessary-cli verify: $(ratio "$verify_median" "$list_median") x sha256sum -c"
    echo "the split that made them, with both scripts and the list: $peak peak memory (at most 32 MiB)"
    unset times
done
