#!/usr/bin/env bash
# Times a split onto a remote and a join from it against rclone alone, on a WebDAV server of
# rclone's own on 127.0.0.1, in one run.
#   bench/compare-remote.sh [MiB] [ROUNDS]     (default 1024 MiB, 5 rounds)
# "tessary split" is tessary-cli split -s 100M to the server, against "rclone copyto" of the
# whole file to the same server; "tessary join" is tessary-cli join of those pieces, checked
# against their list, into a folder here and flushed, against "rclone cat+sync": rclone cat of
# each piece in turn into one file, then sync of it. One warm-up round, then every round runs
# each command once, each round starting one command further on; as root, dirty pages are
# written and clean cached pages dropped before every run, and the source read back. The table
# gives the median and the worst run of each. The warm-up split, which no time is taken of, is
# watched for the bytes that tessary-cli and every child it started wrote to the local disk
# (write_bytes of /proc/PID/io, the last seen of each process of its session, read every 20 ms;
# and the blocks getrusage counts for it and the children it waited for, 512 bytes each): the
# watching costs a core's share that the timed runs, like rclone's, are spared.
set -euo pipefail
cd "$(dirname "$0")/.."

mib=${1:-1024}
rounds=${2:-5}
cli=
for candidate in build/release/src/cli/tessary-cli build/test/src/cli/tessary-cli; do
    [[ -z $cli && -x $candidate ]] && cli=$candidate
done
[[ -n $cli ]] || { echo "build first: ./run.sh or ./test.sh" >&2; exit 1; }
command -v rclone >/dev/null || { echo "rclone is not installed (apt install rclone)" >&2; exit 1; }
[[ -x /usr/bin/time ]] || { echo "GNU time is not installed (apt install time)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tessary-remote-bench.XXXXXX")
server=
cleanup() {
    [[ -z $server ]] || kill "$server" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
mkdir "$work/served" "$work/joined"
# rclone's own configuration and cache, none of the user's.
export RCLONE_CONFIG=$work/rclone.conf XDG_CACHE_HOME=$work/cache
: >"$RCLONE_CONFIG"
head -c "$((mib * 1024 * 1024))" /dev/urandom >"$work/source.bin"
drop_caches=false
[[ -w /proc/sys/vm/drop_caches ]] && drop_caches=true

rclone serve webdav "$work/served" --addr 127.0.0.1:0 --dir-cache-time 0s 2>"$work/server.log" &
server=$!
port=
for ((tries = 0; tries < 300; tries++)); do
    port=$(grep -o 'started on http://127\.0\.0\.1:[0-9]*' "$work/server.log" | grep -o '[0-9]*$' || true)
    [[ -z $port ]] || break
    sleep 0.1
done
[[ -n $port ]] || { echo "rclone serve webdav did not start:" >&2; cat "$work/server.log" >&2; exit 1; }
remote=":webdav,url='http://127.0.0.1:$port/':"

# Runs a command in a session of its own and prints the bytes its processes wrote to the local
# disk, as /proc/PID/io last showed them for each, then the blocks getrusage counted.
watch_writes() {
    local leader pid total=0 blocks
    declare -A seen=()
    setsid /usr/bin/time -f '%O' -o "$work/blocks" "$@" &
    leader=$!
    while kill -0 "$leader" 2>/dev/null; do
        for pid in $(pgrep -s "$leader" 2>/dev/null || true); do
            bytes=$(awk '/^write_bytes/ { print $2 }' "/proc/$pid/io" 2>/dev/null || true)
            [[ -n $bytes ]] && seen[$pid]=$bytes
        done
        sleep 0.02
    done
    wait "$leader"
    for pid in "${!seen[@]}"; do total=$((total + seen[$pid])); done
    blocks=$(tail -n 1 "$work/blocks")
    echo "$total $((blocks * 512))"
}

# Runs one command once and prints its wall time in microseconds (and, for a split watched,
# what it wrote to the local disk).
run_once() {
    local name=$1 watched=${2:-} start end count writes=
    sync
    $drop_caches && echo 1 >/proc/sys/vm/drop_caches
    cat "$work/source.bin" >/dev/null # warm for everyone
    case $name in
    "tessary split") rm -rf "$work/served/split" ;;
    "rclone copyto") rm -f "$work/served/ref.bin" ;;
    "tessary join") rm -f "$work/joined/source.bin" ;;
    "rclone cat+sync") rm -f "$work/cat.out" ;;
    esac
    start=$(date +%s%N)
    case $name in
    "tessary split")
        split_command=("$cli" split -q -s 100M --mkdir -o "${remote}split" "$work/source.bin")
        if [[ -n $watched ]]; then writes=$(watch_writes "${split_command[@]}"); else "${split_command[@]}"; fi
        ;;
    "rclone copyto") rclone copyto "$work/source.bin" "${remote}ref.bin" ;;
    "tessary join") "$cli" join -q -o "$work/joined" "${remote}split/source.bin.sha256" ;;
    "rclone cat+sync")
        count=$(find "$work/served/split" -name 'source.bin.[0-9]*' | wc -l)
        for ((i = 1; i <= count; i++)); do rclone cat "${remote}split/source.bin.$i"; done >"$work/cat.out"
        sync "$work/cat.out"
        ;;
    esac
    end=$(date +%s%N)
    echo "$(((end - start) / 1000)) $writes"
}

median_and_worst() {
    printf '%s\n' "$@" | sort -n | awk '{ t[NR] = $1 } END {
        printf "%.3f %.3f\n", t[int((NR + 1) / 2)] / 1e6, t[NR] / 1e6 }'
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

echo "source: $mib MiB of random bytes in $work, to rclone serve webdav on 127.0.0.1:$port, $rounds rounds"
names=("tessary split" "rclone copyto" "tessary join" "rclone cat+sync")
# The first split makes the pieces the first joins read.
read -r _ written_proc written_blocks < <(run_once "tessary split" watched)
declare -A times=()
for ((round = 0; round <= rounds; round++)); do
    for ((i = 0; i < ${#names[@]}; i++)); do
        name=${names[(i + round) % ${#names[@]}]}
        read -r elapsed < <(run_once "$name")
        ((round == 0)) && continue
        times[$name]+="$elapsed "
    done
done
cmp -s "$work/joined/source.bin" "$work/source.bin" || { echo "tessary-cli joined other bytes" >&2; exit 1; }
cmp -s "$work/cat.out" "$work/source.bin" || { echo "the pieces on the server are not the file" >&2; exit 1; }

read -r copyto_median _ < <(median_and_worst ${times["rclone copyto"]})
read -r cat_median _ < <(median_and_worst ${times["rclone cat+sync"]})
printf '\n%-18s %9s %9s %12s\n' command median worst "x reference"
for name in "${names[@]}"; do
    read -r median worst < <(median_and_worst ${times[$name]})
    case $name in
    "tessary split") reference=$copyto_median ;;
    "tessary join") reference=$cat_median ;;
    *) reference=$median ;;
    esac
    printf '%-18s %8ss %8ss %12s\n' "$name" "$median" "$worst" "$(ratio "$median" "$reference")"
done
printf '\nwritten to the local disk by the split: %s bytes (/proc/PID/io), %s bytes (getrusage)\n' \
    "$written_proc" "$written_blocks"
