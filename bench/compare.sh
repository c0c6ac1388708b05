#!/usr/bin/env bash
# Times tessary-cli against GNU split, cp and OpenSSL's SHA-256 on one random file, all in the
# same run; splitbench is tessary-cli with the knobs the alternatives need.
#   bench/compare.sh [--alternatives] [MiB] [ROUNDS]     (default 1024 MiB, 5 rounds)
# tessary-cli waits until the disk holds its pieces, so the references that compare with it are
# "cp FILE DIR && sync" and "split ... && sync"; cp and split alone are shown beside them.
# tessary-cli writes a checksum list by default; "tessary --no-checksums" writes none, and
# "tessary before the flush" does not wait for the disk, to compare the cost of the list with
# "openssl dgst -sha256 FILE", one hash of the same warm file.
# Every round runs each command once, in turn, so that a machine slowing down or speeding up
# weighs on all of them alike; one warm-up round comes first. The table gives the median and
# the worst run of each command. "tessary --progress" reports its progress once a second, to
# measure what listening to a run costs. --alternatives adds splitbench with one thread, with
# sendfile or the buffer as its copy method, and flushing each piece (fsync) instead of
# one syncfs at the end.
# Before every run, as root, dirty pages are written, clean cached pages dropped and the source
# read back, so that every command starts from the same memory: without it, runs on this kind
# of machine differ several times over. Outputs of the 100k preset (thousands of files) are
# parked until the end rather than deleted between runs: deleting ten thousand files and
# making them again at once is slow on ext4 and would slow down whichever command ran next.
set -euo pipefail
cd "$(dirname "$0")/.."

alternatives=false
if [[ ${1:-} == --alternatives ]]; then
    alternatives=true
    shift
fi
mib=${1:-1024}
rounds=${2:-5}
build=
for candidate in build/release build/test; do
    [[ -z $build && -x $candidate/src/cli/tessary-cli && -x $candidate/bench/splitbench ]] && build=$candidate
done
[[ -n $build ]] || { echo "build first: ./run.sh or ./test.sh" >&2; exit 1; }
cli=$build/src/cli/tessary-cli
splitbench=$build/bench/splitbench

work=$(mktemp -d "${TMPDIR:-/tmp}/tessary-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
source_file=$work/source.bin
head -c "$((mib * 1024 * 1024))" /dev/urandom >"$source_file"
mkdir "$work/parked"
drop_caches=false
[[ -w /proc/sys/vm/drop_caches ]] && drop_caches=true

# Runs one command of the table into a fresh folder $work/out and prints its wall time in
# microseconds.
run_once() {
    local name=$1 size=$2 park=$3 pieces=$4 start end
    rm -rf "$work/out" && mkdir "$work/out"
    sync # no command pays for the writes of the one before
    if $drop_caches; then
        echo 1 >/proc/sys/vm/drop_caches
    fi
    cat "$source_file" >/dev/null # the source is in the page cache for everyone
    start=$(date +%s%N)
    case $name in
    tessary) "$cli" split -q -s "$size" -o "$work/out" "$source_file" ;;
    "tessary --no-checksums") "$cli" split -q --no-checksums -s "$size" -o "$work/out" "$source_file" ;;
    "tessary before the flush") "$splitbench" --flush none split -q -s "$size" -o "$work/out" "$source_file" ;;
    "openssl dgst") openssl dgst -sha256 "$source_file" >/dev/null ;;
    "tessary --progress") "$splitbench" --progress split -q -s "$size" -o "$work/out" "$source_file" 2>/dev/null ;;
    tessary-1-thread) "$splitbench" --threads 1 split -q -s "$size" -o "$work/out" "$source_file" ;;
    tessary-sendfile) "$splitbench" --copy sendfile split -q -s "$size" -o "$work/out" "$source_file" ;;
    tessary-buffer) "$splitbench" --copy buffer split -q -s "$size" -o "$work/out" "$source_file" ;;
    tessary-fsync) "$splitbench" --flush fsync split -q -s "$size" -o "$work/out" "$source_file" ;;
    split) split -b "$((size - 1))" "$source_file" "$work/out/source.bin." ;;
    "split && sync") split -b "$((size - 1))" "$source_file" "$work/out/source.bin." && sync ;;
    cp) cp "$source_file" "$work/out/copy.bin" ;;
    "cp && sync") cp "$source_file" "$work/out/copy.bin" && sync ;;
    esac
    end=$(date +%s%N)
    if $park; then
        mv "$work/out" "$work/parked/${name// /_}.$RANDOM$RANDOM"
    fi
    echo $(((end - start) / 1000))
}

# Prints "median worst" in seconds of the microsecond counts given.
median_and_worst() {
    printf '%s\n' "$@" | sort -n | awk '{ t[NR] = $1 } END {
        printf "%.3f %.3f\n", t[int((NR + 1) / 2)] / 1e6, t[NR] / 1e6 }'
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# Peak resident memory of one tessary-cli run, in MiB, where GNU time is installed.
peak_mib() {
    if [[ -x /usr/bin/time ]]; then
        rm -rf "$work/out" && mkdir "$work/out"
        /usr/bin/time -f %M "$splitbench" --progress split -q -s "$1" -o "$work/out" "$source_file" 2>&1 |
            tail -n 1 | awk '{ printf "%.1f MiB", $1 / 1024 }'
    else
        echo "n/a (install the Debian package time)"
    fi
}

echo "source: $mib MiB of random bytes in $work ($(df -T "$work" | awk 'NR == 2 { print $2 }')), $(nproc) cores, $rounds rounds"
$drop_caches || echo "not root: cached pages are not dropped between runs, so expect noisier times"
for preset in 100M:100000000 100k:100000; do
    label=${preset%%:*}
    size=${preset#*:}
    pieces=$(((mib * 1024 * 1024 + size - 2) / (size - 1)))
    names=(tessary "tessary --no-checksums" "tessary before the flush" "tessary --progress"
           "openssl dgst" "cp && sync" "split && sync" cp split)
    park=false
    [[ $label == 100k ]] && park=true
    $alternatives && names+=(tessary-1-thread tessary-sendfile tessary-buffer tessary-fsync)
    declare -A times=()
    for ((round = 0; round <= rounds; round++)); do
        for name in "${names[@]}"; do
            elapsed=$(run_once "$name" "$size" "$park" "$pieces")
            ((round == 0)) || times[$name]+="$elapsed "
        done
    done
    read -r cp_median _ < <(median_and_worst ${times["cp && sync"]})
    read -r split_median _ < <(median_and_worst ${times["split && sync"]})
    read -r openssl_median _ < <(median_and_worst ${times["openssl dgst"]})
    read -r tessary_median _ < <(median_and_worst ${times[tessary]})
    printf '\n%s preset: pieces of %d bytes, %d pieces\n' "$label" "$((size - 1))" "$pieces"
    printf '%-26s %9s %9s %14s %16s %10s\n' command median worst "x cp && sync" "x split && sync" \
        "x openssl"
    for name in "${names[@]}"; do
        read -r median worst < <(median_and_worst ${times[$name]})
        printf '%-26s %8ss %8ss %14s %16s %10s\n' "$name" "$median" "$worst" \
            "$(ratio "$median" "$cp_median")" "$(ratio "$median" "$split_median")" \
            "$(ratio "$median" "$openssl_median")"
    done
    read -r progress_median _ < <(median_and_worst ${times["tessary --progress"]})
    echo "progress costs: $(ratio "$progress_median" "$tessary_median") x tessary"
    echo "tessary-cli peak memory: $(peak_mib "$size")"
    unset times
    rm -rf "$work/parked" && mkdir "$work/parked"
done
