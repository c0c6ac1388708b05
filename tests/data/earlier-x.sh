#!/bin/sh
# Restores x from its 2 pieces beside this script, which it checks first.
# Run it with sh; with --check it only checks the pieces, and writes nothing.
# Exit status: 0 done, 1 refused or damaged, 2 an unknown argument.
LC_ALL=C
export LC_ALL
set -u -f
unset CDPATH

file='x'
pieces=2
bytes=20
whole='993adcd68080a6cd6539f4cb1b3d53d17f72dd50cd76631dfc96a50c6217184c'

# A line for each piece from the first on: its size in bytes and its SHA-256.
manifest='
10 7b94fc32036c67819f54c3d79d8e2c0ffdba4771a05c75fb8004f773428a4bfe
10 3efc7850129f3ef148536e322b83c2ca2baaedf7e48c7eb6643414307fcbc6ff
'

nl='
'

say() {
    printf '%s\n' "$*" >&2
}

exists() {
    [ -e "$1" ] || [ -h "$1" ]
}

# Sets $text to the number $1 with its digits in groups of three: 1234567 is 1,234,567.
grouped() {
    text= rest=$1
    while [ ${#rest} -gt 3 ]; do
        text=,${rest#"${rest%???}"}$text
        rest=${rest%???}
    done
    text=$rest$text
}

# The SHA-256 tool that was found, on the files named or, with none, on its input.
digest() {
    case $tool in
    sha256sum) sha256sum -- "$@" ;;
    shasum) shasum -a 256 -- "$@" ;;
    sha256) sha256 -q -- "$@" ;;
    openssl) openssl dgst -sha256 "$@" ;;
    esac
}

# Sets $hex to the SHA-256 on a line that digest printed, in lower case, or to nothing when the
# line holds none. openssl puts it last, after "= "; the others first, after a backslash when
# the name holds one.
hexof() {
    case $tool in
    openssl) hex=${1##*= } ;;
    *) hex=${1%% *} ;;
    esac
    hex=${hex#\\}
    case $hex in *[A-F]*) hex=$(printf '%s' "$hex" | tr ABCDEF abcdef) ;; esac
    case $hex in *[!0-9a-f]*) hex= ;; esac
    [ ${#hex} -eq 64 ] || hex=
}

# Sets $have to the size (what=size) or SHA-256 on a line of measure, or to nothing.
value() {
    if [ "$what" = size ]; then
        have=${1#"${1%%[! ]*}"}
        have=${have%% *}
        case $have in '' | *[!0-9]*) have= ;; esac
    else
        hexof "$1"
        have=$hex
    fi
}

# Prints a line with the size (what=size) or SHA-256 of each file named, in order. The names
# start with ./, so that no tool takes one for an option.
measure() {
    if [ "$what" = size ]; then
        wc -c -- "$@"
    else
        digest "$@"
    fi
}

# Says what is wrong with piece $1, of size or SHA-256 $2 (nothing: unreadable) where $3 was
# written, and sets bad.
judge() {
    if [ -z "$2" ]; then
        say "$file.$1 cannot be read"
    elif [ "$what" = sum ]; then
        [ "$2" = "$3" ] && return
        say "$file.$1 is damaged: its SHA-256 does not match"
    else
        [ "$2" -eq "$3" ] && return
        grouped "$2"
        has=$text
        grouped "$3"
        unit=bytes
        [ "$2" -ne 1 ] || unit=byte
        say "$file.$1 has $has $unit, not $text"
    fi
    bad=1
}

# Checks the pieces in $names against $wants ("number:written" each) through one run of
# measure, or, when that fails, a run for each, so that the failure is put on its piece.
check_batch() {
    lines=$(measure $names 2>/dev/null) || lines=
    set -- $lines
    for entry in $wants; do
        if [ $# -gt 0 ]; then
            value "$1"
            shift
        else
            value "$(measure "./$file.${entry%%:*}" 2>/dev/null)"
        fi
        judge "${entry%%:*}" "$have" "${entry#*:}"
    done
    names= wants= held=0
}

# Checks that every piece is there, a regular file, and of the size (what=size) or SHA-256
# (what=sum) written; says what is wrong with each that is not, and fails then. Words are split
# at line ends only (names hold none). The pieces are measured 16 KiB of names at a time: a
# process for each would take longer than the join of small pieces, and longer lists longer
# to build.
check_pieces() (
    what=$1
    IFS=$nl
    bad=0 n=0 names= wants= held=0
    for entry in $manifest; do
        n=$((n + 1))
        piece=$file.$n
        if [ -f "$piece" ]; then
            if [ "$what" = size ]; then
                written=${entry%% *}
            else
                written=${entry#* }
            fi
            names=$names./$piece$nl
            wants=$wants$n:$written$nl
            held=$((held + ${#piece} + ${#written} + 8))
            [ $held -lt 16384 ] || check_batch
            continue
        fi
        # The pieces before are judged first, so that the messages come in order.
        [ -z "$names" ] || check_batch
        bad=1
        if exists "$piece"; then
            say "$piece is not a regular file"
        else
            say "$piece is missing"
        fi
    done
    [ -z "$names" ] || check_batch
    exit $bad
)

# Writes the pieces one after another, a cat for each 16 KiB of names.
join() (
    IFS=$nl
    n=0 names= held=0
    while [ $n -lt $pieces ]; do
        n=$((n + 1))
        names=$names$file.$n$nl
        held=$((held + ${#file} + 8))
        if [ $held -ge 16384 ] || [ $n -eq $pieces ]; then
            cat -- $names || exit
            names= held=0
        fi
    done
)

case $#:${1-} in
0:) mode=restore ;;
1:--check) mode=check ;;
*)
    say "$file.sh takes no argument to restore $file, or --check to only check its pieces;" \
        "it was given: $*"
    exit 2
    ;;
esac

# The pieces are beside this script, wherever it is run from.
case $0 in
*/*)
    if ! cd -- "${0%/*}/"; then
        say "$file: the folder of this script cannot be entered"
        exit 1
    fi
    ;;
esac
if [ $pieces -eq 1 ]; then
    these="the one piece of $file is"
else
    these="the $pieces pieces of $file are"
fi

if [ $mode = restore ] && exists "$file"; then
    say "$file is there already: it was left as it is, and nothing was restored"
    exit 1
fi
again='copy the pieces named above again, then run this script again'
[ ! -f "$file.par2" ] ||
    again="rebuild the pieces named above from the recovery files beside them, with par2 r $file.par2 (or MultiPar on Windows), or copy them again; then run this script again"
if ! check_pieces size; then
    if [ $mode = restore ]; then
        say "$file has not been restored: $again"
    else
        say "$file cannot be restored yet: $again"
    fi
    exit 1
fi

# The first SHA-256 tool here that hashes the empty input right.
tool=
why='no SHA-256 tool was found (sha256sum, shasum, sha256 or openssl)'
if [ -z "$whole" ]; then
    why='the pieces came without SHA-256 digests'
else
    for tool in sha256sum shasum sha256 openssl ''; do
        [ -n "$tool" ] && command -v "$tool" >/dev/null 2>&1 || continue
        hexof "$(digest </dev/null 2>/dev/null)"
        [ "$hex" = e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855 ] && break
    done
fi

if [ $mode = check ]; then
    if [ -z "$tool" ]; then
        printf '%s %s\n' "Only checked, nothing written: $these all there with the right sizes;" \
            "their contents were not checked, as $why"
    elif check_pieces sum; then
        printf '%s\n' "Only checked, nothing written: $these there and whole (sizes and SHA-256)"
    else
        say "$file cannot be restored yet: $again"
        exit 1
    fi
    exit 0
fi

# The pieces are joined into a file of a name of its own, made only where no file has it
# (set -C), and removed on every way out but the move into place.
made=
trap '[ -z "$made" ] || rm -f -- "$made"' EXIT
trap 'say "$file: interrupted, nothing was written"; exit 129' HUP
trap 'say "$file: interrupted, nothing was written"; exit 130' INT
trap 'say "$file: interrupted, nothing was written"; exit 143' TERM
n=0
while :; do
    try=.restoring-$$-$n
    if (set -C && : >"$try") 2>/dev/null; then
        made=$try
        break
    fi
    if ! exists "$try"; then
        say "$file has not been restored: no file can be made in this folder"
        exit 1
    fi
    n=$((n + 1))
done
if ! join >"$made"; then
    say "$file has not been restored: its pieces could not be joined here"
    exit 1
fi

what=size
value "$(wc -c <"$made")"
if [ "$have" != "$bytes" ]; then
    grouped "${have:-0}"
    has=$text
    grouped "$bytes"
    say "$file has not been restored: its pieces joined have $has bytes, not $text"
    exit 1
fi
if [ -n "$tool" ]; then
    hexof "$(digest <"$made")"
    if [ "$hex" != "$whole" ]; then
        if check_pieces sum; then
            say "$file has not been restored: its SHA-256 does not match, though every piece's" \
                "does; run this script again"
        else
            say "$file has not been restored: $again"
        fi
        exit 1
    fi
fi
# A file that took the name meanwhile is left alone.
if exists "$file"; then
    say "$file appeared while it was restored: it was left as it is, and nothing was restored"
    exit 1
fi
if ! mv -- "$made" "$file"; then
    say "$file has not been restored: the joined file could not be given its name"
    exit 1
fi
made=
if [ -n "$tool" ]; then
    printf '%s\n' "$file has been restored (checked)"
else
    printf '%s\n' "$file has been restored, but only the sizes were checked: $why"
fi
