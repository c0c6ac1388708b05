#!/usr/bin/env bash
# Times tessary-cli on copy-on-write volumes, btrfs and XFS made with reflink, against one
# OpenSSL SHA-256 of the same cold source, in one run; root only, for the loop devices.
#   bench/compare-cow.sh [MiB] [ROUNDS]     (default 1024 MiB, 3 rounds)
# Each volume is a sparse image of a few GiB in a temporary folder, mounted through a loop
# device; the trap unmounts it (the loop device goes with the mount) and removes the folder on
# every way out. On it the random source is split with -s 104857600 --aligned (a piece holds a
# byte less than SIZE, and --aligned rounds that down to whole blocks: 104,853,504 bytes with
# 4 KiB blocks), without the checksum list and with it, and the pieces with the list are joined
# (a checked join). Every round runs each command once, in turn, after caches are dropped;
# "openssl dgst" hashes the cold source, the reference for one read of it. The table gives the
# median and the worst run, the ratio of the median to openssl's, and the most space a run
# took (used blocks before and after, each after a sync): pieces and a joined file that share
# the source's blocks take none.
set -euo pipefail
cd "$(dirname "$0")/.."

mib=${1:-1024}
rounds=${2:-3}
size=104857600
cli=
for candidate in build/release/src/cli/tessary-cli build/test/src/cli/tessary-cli; do
    [[ -z $cli && -x $candidate ]] && cli=$candidate
done
[[ -n $cli ]] || { echo "build first: ./run.sh or ./test.sh" >&2; exit 1; }
[[ $(id -u) -eq 0 ]] || { echo "run as root: the volumes are loop devices" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tessary-cow-bench.XXXXXX")
cleanup() {
    local volume
    for volume in "$work"/*/; do
        mountpoint -q "$volume" && umount "$volume"
    done
    rm -rf "$work"
}
trap cleanup EXIT

used_bytes() { sync && df -B1 --output=used "$1" | tail -1; }

# Runs one command on the volume mounted at $1 and prints its wall time in microseconds and
# the bytes of the volume it took.
run_once() {
    local volume=$1 name=$2 before start end
    case $name in
    "split, no list") rm -rf "$volume/plain" && mkdir "$volume/plain" ;;
    "split, list") rm -rf "$volume/checked" && mkdir "$volume/checked" ;;
    "checked join") rm -f "$volume/checked/source.bin" ;;
    esac
    before=$(used_bytes "$volume")
    echo 3 >/proc/sys/vm/drop_caches
    start=$(date +%s%N)
    case $name in
    "split, no list") "$cli" split -q --no-checksums --aligned -s "$size" -o "$volume/plain" "$volume/source.bin" ;;
    "split, list") "$cli" split -q --aligned -s "$size" -o "$volume/checked" "$volume/source.bin" ;;
    "checked join") "$cli" join -q "$volume/checked/source.bin.bat" ;;
    "openssl dgst") openssl dgst -sha256 "$volume/source.bin" >/dev/null ;;
    esac
    end=$(date +%s%N)
    echo "$(((end - start) / 1000)) $(($(used_bytes "$volume") - before))"
}

median_and_worst() {
    printf '%s\n' "$@" | sort -n | awk '{ t[NR] = $1 } END {
        printf "%.3f %.3f\n", t[int((NR + 1) / 2)] / 1e6, t[NR] / 1e6 }'
}

most() { printf '%s\n' "$@" | sort -n | tail -1; }

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

names=("split, no list" "split, list" "checked join" "openssl dgst")
echo "source: $mib MiB of random bytes, -s $size --aligned, $rounds rounds; $cli"
for type in btrfs xfs; do
    volume=$work/$type
    mkdir "$volume"
    truncate -s "$((mib * 3 + 1024))M" "$work/$type.img"
    case $type in
    btrfs) mkfs.btrfs -q -f "$work/$type.img" >/dev/null ;;
    xfs) mkfs.xfs -q -f -m reflink=1 "$work/$type.img" ;;
    esac
    mount -o loop "$work/$type.img" "$volume"
    head -c "$((mib * 1024 * 1024))" /dev/urandom >"$volume/source.bin"
    declare -A times=() space=()
    for ((round = 1; round <= rounds; round++)); do
        for name in "${names[@]}"; do
            read -r elapsed took < <(run_once "$volume" "$name")
            times[$name]+="$elapsed "
            space[$name]+="$took "
        done
    done
    cmp -s "$volume/checked/source.bin" "$volume/source.bin" || { echo "tessary-cli joined other bytes" >&2; exit 1; }
    read -r openssl_median _ < <(median_and_worst ${times["openssl dgst"]})
    printf '\n%s\n%-16s %9s %9s %10s %14s\n' "$type" command median worst "x openssl" "most new space"
    for name in "${names[@]}"; do
        read -r median worst < <(median_and_worst ${times[$name]})
        printf '%-16s %8ss %8ss %10s %10s KiB\n' "$name" "$median" "$worst" \
            "$(ratio "$median" "$openssl_median")" "$(($(most ${space[$name]}) / 1024))"
    done
    unset times space
    umount "$volume"
done
