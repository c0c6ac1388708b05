#!/usr/bin/env bash
# Installs the build into a temporary root and checks that a desktop would find Tessary there:
# the program, its launcher entry, icons and metainfo where freedesktop.org puts them, valid
# and naming each other.
#   check-install.sh BUILD_DIR
set -euo pipefail
build=$1
id=org.tessary.Tessary
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
share=$root/usr/share
desktop=$share/applications/$id.desktop
metainfo=$share/metainfo/$id.metainfo.xml
[[ -f $desktop ]] || fail "no launcher entry at /usr/share/applications/$id.desktop"
[[ -f $metainfo ]] || fail "no metainfo at /usr/share/metainfo/$id.metainfo.xml"

desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the launcher entry"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects the metainfo"

# The entry starts the installed program and shows an icon the hicolor theme holds.
program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop" | head -n 1)
[[ -x $root/usr/bin/$program ]] || fail "Exec=$program is not installed in /usr/bin"
icon=$(sed -n 's/^Icon=//p' "$desktop")
for size in 32 48 64 128; do
    png=$share/icons/hicolor/${size}x${size}/apps/$icon.png
    [[ -f $png ]] || fail "no ${size}x${size} icon named $icon"
    # Width and height stand in the PNG header, 4 bytes each from byte 16.
    read -r width height < <(od -An -tu4 --endian=big -j16 -N8 "$png")
    [[ $width == "$size" && $height == "$size" ]] || fail "$icon.png at ${size}x${size} is ${width}x${height}"
done

# The metainfo describes this entry and this program.
grep -q "<id>$id</id>" "$metainfo" || fail "metainfo id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "metainfo does not launch $id.desktop"
grep -q "<binary>$program</binary>" "$metainfo" || fail "metainfo does not provide $program"

# Files given to the program, and the actions, as file managers and launchers pass them.
grep -q '^Exec=tessary %F$' "$desktop" || fail "the entry does not take files (Exec=tessary %F)"
for action in join verify; do
    grep -q "^\[Desktop Action $action\]" "$desktop" || fail "no desktop action $action"
    grep -q "^Exec=tessary --$action %f$" "$desktop" || fail "action $action does not run tessary --$action"
done
grep -q '^MimeType=' "$desktop" && fail "the entry claims MIME types"

# The file managers' Split, Join and Verify: each action file parses as its file manager reads
# it, shows for the names it should, and hands tessary every file as one argument. They are no
# desktop entries for desktop-file-validate (Type=Service, Type=Action, [Nemo Action]).
python3 "$(dirname "$0")/check-actions.py" "$share" || fail "the file managers' actions are wrong"

# The terminal tool, its manual pages (rendered without a warning) and its completion.
[[ -x $root/usr/bin/tessary-cli ]] || fail "tessary-cli is not installed in /usr/bin"
for page in tessary tessary-cli; do
    manual=$share/man/man1/$page.1.gz
    [[ -f $manual ]] || fail "no manual page $page.1.gz"
    warnings=$(zcat "$manual" | groff -man -Tutf8 -ww -z 2>&1)
    [[ -z $warnings ]] || fail "$page.1 renders with warnings: $warnings"
done
completion=$share/bash-completion/completions/tessary-cli
[[ -f $completion ]] || fail "no bash completion for tessary-cli"
completed=$(bash -c 'source "$1"; COMP_WORDS=(tessary-cli split -s 1.); COMP_CWORD=3; _tessary_cli
    echo "${COMPREPLY[*]}"' _ "$completion")
[[ $completed == 1.4M ]] || fail "the completion of -s 1. gives \"$completed\", not 1.4M"
echo "installed layout is complete and valid"
