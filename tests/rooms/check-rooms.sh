#!/usr/bin/env bash
# Holds the engine's rooms to their order: a file may include headers of its own room and of the
# rooms below it, never of one above. Usage: check-rooms.sh ENGINE_DIR ROOM... (lowest first).
# Prints every include that runs back up, and fails when there is one.
set -euo pipefail
engine=$1
shift
declare -A level
rank=0
for room in "$@"; do
    level[$room]=$rank
    rank=$((rank + 1))
done
arrows=0
while IFS= read -r -d '' file; do
    room=${file#"$engine"/}
    room=${room%%/*}
    if [[ -z ${level[$room]+set} ]]; then
        echo "$file: the room $room is not in the engine's list of rooms"
        arrows=$((arrows + 1))
        continue
    fi
    while IFS= read -r included; do
        target=${included%%/*}
        [[ -n ${level[$target]+set} ]] || continue
        if ((level[$target] > level[$room])); then
            echo "$file includes $included: $room is below $target"
            arrows=$((arrows + 1))
        fi
    done < <(sed -n 's/^#include "\([a-z]*\/[A-Za-z0-9]*\.h\)".*/\1/p' "$file")
done < <(find "$engine" -mindepth 2 \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z)
echo "$arrows include(s) run back up"
((arrows == 0))
