#!/usr/bin/env bash
# Times tessary-cli against GNU split, cp and OpenSSL's SHA-256 on one random file, all in the
# same run; splitbench is tessary-cli with the knobs the alternatives need.
#   bench/compare.sh [--alternatives] [MiB] [ROUNDS]     (default 1024 MiB, 5 rounds)
# tessary-cli waits until the disk holds its pieces, so the references that compare with it are
# "cp FILE DIR && sync" and "split ... && sync"; cp and split alone are shown beside them.
# tessary-cli writes a checksum list by default, reading each byte once and hashing it on the
# other cores as it writes the pieces; "tessary --no-checksums" writes none and has the kernel
# copy the pieces, so that the two show what the list costs, beside "split && sync". "tessary
# before the flush" does not wait for the disk, to compare the cost of the list with
# "openssl dgst -sha256 FILE", one hash of the same warm file. "openssl dgst twice at once" hashes
# it twice, side by side: the two SHA-256 streams of the list alone on this machine's cores, the
# least the split with its list can take where it has no core to spare for anything else.
# Every round runs each command once, in an order drawn anew, so that neither a machine slowing
# down or speeding up nor the command run just before weighs on one command more than on
# another: a rotation of one order would have each command follow the same one every round, and
# what that one leaves in the caches below this system's (a virtual disk's) weighs on it each
# time. One warm-up round comes first. The table gives the median and the worst run of each
# command. "tessary --progress" reports its progress once a second, to
# measure what listening to a run costs. --alternatives adds splitbench with one thread, with
# sendfile or the buffer as its copy method, and flushing each piece (fsync) instead of
# one syncfs at the end.
# At the 100M preset the table adds what the restore script for macOS and Linux and the
# recovery files cost: "tessary --no-sh" (the list alone, beside the script for Windows),
# "tessary -r 1" (recovery files for one lost piece) beside "par2 create" run alone on the same
# pieces with the same block size and count, and a recipient's "sh NAME.sh" beside
# "cat && openssl dgst", the pieces joined by hand and hashed as fast as this machine hashes.
# At the 200000-pieces preset a file of 200,000,000 bytes is cut into pieces of 1,000 bytes, and
# the split with its list compares with "split && sync && sha256sum" of the pieces.
# bench/compare-restore.sh times the restore script on many small pieces.
# Before every run, as root, dirty pages are written, clean cached pages dropped and the source
# read back, so that every command starts from the same memory: without it, runs on this kind
# of machine differ several times over. Outputs of the small presets (thousands of files) are
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
whole_source=$source_file
mkdir "$work/small"
small_source=$work/small/source.bin
head -c 200000000 /dev/urandom >"$small_source"
mkdir "$work/parked" "$work/prepared"
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
    rm -f "$work/prepared/source.bin" # what the restore script made the run before
    start=$(date +%s%N)
    case $name in
    tessary) "$cli" split -q -s "$size" -o "$work/out" "$source_file" ;;
    "tessary --no-checksums") "$cli" split -q --no-checksums -s "$size" -o "$work/out" "$source_file" ;;
    "tessary before the flush") "$splitbench" --flush none split -q -s "$size" -o "$work/out" "$source_file" ;;
    "openssl dgst") openssl dgst -sha256 "$source_file" >/dev/null ;;
    "openssl dgst twice at once")
        openssl dgst -sha256 "$source_file" >/dev/null &
        local other=$!
        openssl dgst -sha256 "$source_file" >/dev/null
        wait "$other" ;;
    "tessary --progress") "$splitbench" --progress split -q -s "$size" -o "$work/out" "$source_file" 2>/dev/null ;;
    tessary-1-thread) "$splitbench" --threads 1 split -q -s "$size" -o "$work/out" "$source_file" ;;
    tessary-sendfile) "$splitbench" --copy sendfile split -q -s "$size" -o "$work/out" "$source_file" ;;
    tessary-buffer) "$splitbench" --copy buffer split -q -s "$size" -o "$work/out" "$source_file" ;;
    tessary-fsync) "$splitbench" --flush fsync split -q -s "$size" -o "$work/out" "$source_file" ;;
    "tessary --no-sh") "$cli" split -q --no-sh -s "$size" -o "$work/out" "$source_file" ;;
    "tessary -r 1") "$cli" split -q -r 1 -s "$size" -o "$work/out" "$source_file" ;;
    "par2 create")
        # The block Tessary chooses: the piece's length rounded up to 4 bytes.
        (cd "$work/prepared" && par2 create -q -q -s$(((size - 1 + 3) / 4 * 4)) -c1 -u -n1 -B./ \
            -- "$work/out/source.bin.par2" "${piece_names[@]}" >/dev/null) ;;
    "sh NAME.sh") sh "$work/prepared/source.bin.sh" >/dev/null ;;
    "cat && openssl dgst")
        (cd "$work/prepared" && cat -- "${piece_names[@]}" >"$work/out/joined" &&
            openssl dgst -sha256 "$work/out/joined" >/dev/null) ;;
    split) split -b "$((size - 1))" "$source_file" "$work/out/source.bin." ;;
    "split && sync") split -b "$((size - 1))" "$source_file" "$work/out/source.bin." && sync ;;
    "split && sync && sha256sum")
        split -b "$((size - 1))" "$source_file" "$work/out/source.bin." && sync &&
            find "$work/out" -type f -exec sha256sum -- {} + >"$work/list" ;;
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

# Peak resident memory of tessary-cli itself, in MiB, while it runs the arguments given: par2,
# its child, is not counted. Read from /proc while it runs, its high-water mark.
own_peak_mib() {
    local pid peak=0 now
    rm -rf "$work/out" && mkdir "$work/out"
    "$cli" "$@" &
    pid=$!
    while now=$(awk '/^VmHWM/ { print $2 }' "/proc/$pid/status" 2>/dev/null) && [[ -n $now ]]; do
        ((now > peak)) && peak=$now
        sleep 0.05
    done
    wait "$pid"
    awk -v kib="$peak" 'BEGIN { printf "%.1f MiB", kib / 1024 }'
}

# Peak resident memory of par2 making the recovery files of the prepared pieces, in MiB.
par2_peak_mib() {
    if [[ -x /usr/bin/time ]]; then
        rm -rf "$work/out" && mkdir "$work/out"
        (cd "$work/prepared" && /usr/bin/time -f %M par2 create -q -q -s$(((100000000 - 1 + 3) / 4 * 4)) \
            -c1 -u -n1 -B./ -- "$work/out/source.bin.par2" "${piece_names[@]}" 2>&1 >/dev/null |
            tail -n 1 | awk '{ printf "%.1f MiB", $1 / 1024 }')
    else
        echo "n/a (install the Debian package time)"
    fi
}

echo "source: $mib MiB of random bytes in $work ($(df -T "$work" | awk 'NR == 2 { print $2 }')), $(nproc) cores, $rounds rounds"
$drop_caches || echo "not root: cached pages are not dropped between runs, so expect noisier times"
# The pieces a recipient has, and par2 is run on: the 100M preset's.
"$cli" split -q -s 100000000 -o "$work/prepared" "$source_file"
piece_names=()
for ((piece = 1; piece <= (mib * 1024 * 1024 + 100000000 - 2) / (100000000 - 1); piece++)); do
    piece_names+=("source.bin.$piece")
done
for preset in 100M:100000000 100k:100000 200000-pieces:1001; do
    label=${preset%%:*}
    size=${preset#*:}
    source_file=$whole_source
    [[ $label == 200000-pieces ]] && source_file=$small_source
    pieces=$((($(stat -c %s "$source_file") + size - 2) / (size - 1)))
    names=(tessary "tessary --no-checksums" "tessary before the flush" "tessary --progress"
           "openssl dgst" "openssl dgst twice at once" "cp && sync" "split && sync" cp split)
    [[ $label == 200000-pieces ]] &&
        names=(tessary "tessary --no-checksums" "openssl dgst" "cp && sync" "split && sync"
            "split && sync && sha256sum")
    park=true
    [[ $label == 100M ]] && park=false
    [[ $label == 100M ]] &&
        names+=("tessary --no-sh" "tessary -r 1" "par2 create" "sh NAME.sh" "cat && openssl dgst")
    $alternatives && names+=(tessary-1-thread tessary-sendfile tessary-buffer tessary-fsync)
    declare -A times=()
    for ((round = 0; round <= rounds; round++)); do
        mapfile -t order < <(printf '%s\n' "${names[@]}" | shuf)
        for name in "${order[@]}"; do
            elapsed=$(run_once "$name" "$size" "$park" "$pieces")
            ((round == 0)) || times[$name]+="$elapsed "
        done
        # 200,000 files a run: parked for a round only, which bounds the space they take.
        [[ $label == 200000-pieces ]] && rm -rf "$work/parked" && mkdir "$work/parked" && sync
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
    if [[ $label == 200000-pieces ]]; then
        read -r by_hand_median _ < <(median_and_worst ${times["split && sync && sha256sum"]})
        echo "the split with its list: $(ratio "$tessary_median" "$by_hand_median") x split && sync && sha256sum (at most 1.3)"
    else
        read -r progress_median _ < <(median_and_worst ${times["tessary --progress"]})
        echo "progress costs: $(ratio "$progress_median" "$tessary_median") x tessary"
    fi
    read -r no_list_median _ < <(median_and_worst ${times["tessary --no-checksums"]})
    echo "the checksum list: $(ratio "$tessary_median" "$no_list_median") x tessary --no-checksums; the split with it $(ratio "$tessary_median" "$split_median") x split && sync (at most 1.2)"
    if [[ $label != 200000-pieces ]]; then
        read -r two_hashes_median _ < <(median_and_worst ${times["openssl dgst twice at once"]})
        echo "the split with its list: $(ratio "$tessary_median" "$two_hashes_median") x openssl dgst twice at once, its two digests alone"
    fi
    echo "tessary-cli peak memory: $(peak_mib "$size")"
    if [[ $label == 100M ]]; then
        read -r no_sh_median _ < <(median_and_worst ${times["tessary --no-sh"]})
        read -r recovery_median _ < <(median_and_worst ${times["tessary -r 1"]})
        read -r par2_median _ < <(median_and_worst ${times["par2 create"]})
        read -r sh_median _ < <(median_and_worst ${times["sh NAME.sh"]})
        read -r by_hand_median _ < <(median_and_worst ${times["cat && openssl dgst"]})
        echo "both restore scripts and the list: $(ratio "$tessary_median" "$no_sh_median") x tessary --no-sh (at most 1.02)"
        echo "recovery files for 1 lost piece: $(ratio "$(awk -v a="$recovery_median" -v b="$tessary_median" 'BEGIN { print a - b }')" "$par2_median") x par2 create over the split alone (at most 1.1)"
        echo "sh NAME.sh: $(ratio "$sh_median" "$by_hand_median") x cat && openssl dgst (at most 1.2)"
        echo "tessary-cli -r 1 peak memory, itself: $(own_peak_mib split -q -r 1 -s "$size" -o "$work/out" "$source_file"); par2 create's: $(par2_peak_mib)"
    fi
    unset times
    rm -rf "$work/parked" && mkdir "$work/parked"
done
