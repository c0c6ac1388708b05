#!/usr/bin/env bash
# Fails when a committed .ts file does not hold exactly the texts lupdate finds in the sources:
# lupdate runs over them, with the options of update_translations, into a copy of each file.
# Usage: check-ts.sh LUPDATE SOURCES-LIST BUILD-FOLDER TS-FILE... -- LUPDATE-OPTION...
set -euo pipefail
lupdate=$1 list=$2 build=$3
shift 3
ts_files=()
while [[ $1 != -- ]]; do
    ts_files+=("$1")
    shift
done
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for ts in "${ts_files[@]}"; do
    copy=$work/$(basename "$ts")
    cp "$ts" "$copy"
    "$lupdate" -silent "$@" "@$list" -ts "$copy"
    if ! diff -u --label "$ts" --label "the sources" "$ts" "$copy"; then
        echo "$ts is not current: run 'cmake --build $build --target update_translations'" \
             "and commit it." >&2
        status=1
    fi
done
exit $status
