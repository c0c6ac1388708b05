#include "names/PosixRestoreScript.h"

#include "OutputFolder.h"
#include "PieceDigests.h"
#include "Sha256.h"
#include "names/OutputNames.h"
#include "names/TextIn.h"
#include "names/TextOut.h"
#include "run/Saturating.h"

#include <algorithm>
#include <array>

namespace PosixRestoreScript {

namespace {

// Before anything else: bytes compared and names matched as bytes, an unset variable an error,
// no word taken for a pattern of file names, and a relative cd never sent elsewhere.
// The lines that open and close the manifest.
constexpr char kManifestStart[] = "manifest='";
constexpr char kManifestEnd[] = "'";

constexpr char kSettings[] = "LC_ALL=C\nexport LC_ALL\nset -u -f\nunset CDPATH\n\n";

// What the script says of itself in its first line, after "Restores name from its pieces
// beside this script", and what stands before the settings.
struct Layout {
    const char *checks;
    const char *opening;
};

// The whole script runs in a subshell, so that one sourced (. name.sh) leaves the shell that
// sources it as it was, and its exit ends only the script. A shell that runs it waits for that
// subshell whatever signal it is sent alone (kill PID, not Ctrl+C): its caller never sees it end
// before the subshell has, nor with another status.
constexpr Layout kLayout{"; it checks their sizes first, then the joined file's SHA-256, and each "
                         "piece's only where that does not match.",
                         "case $- in *i*) ;; *) trap : HUP INT QUIT PIPE TERM ;; esac\n(\n"};

// Scripts that earlier versions wrote, which a split replaces as its own still: the layout of
// their head and the SHA-256 of the body that followed their values.
struct EarlierForm {
    Layout layout;
    const char *bodySha256;
};
constexpr std::array<EarlierForm, 2> kEarlierForms{{
    {{", which it checks first.", ""},
     "38206ca2e82a9c009cf91488d58dfc72e31d654fde5caef6a65c7200b68a6eab"},
    // One that had ls measure every piece.
    {kLayout, "9f9ccd2cb198844b9f85e77d98e77b310dd80ab03178eb81a259ab527ffad701"},
}};

// What every script does with the values above it: file, pieces, bytes (the whole file's
// size), whole (its SHA-256, or nothing) and manifest, a line for each piece with its size and,
// when there is a whole SHA-256, its own. The manifest is a variable rather than a
// here-document: sh reads those a byte for each system call, which took seconds for 100,000
// pieces. Ends the subshell.
constexpr char kBody[] =
    R"sh(# ls writes sizes in bytes, and names as they are, only with these unset; a shell that sources
# this script may have set -e or -C.
unset BLOCK_SIZE LS_BLOCK_SIZE QUOTING_STYLE CLICOLOR_FORCE
set +e +C

say() {
    printf '%s\n' "$*" >&2
}

exists() {
    [ -e "$1" ] || [ -h "$1" ]
}

# What is done for each piece is done by one awk for them all, as $mode says, with the manifest
# on its input: it names the pieces to find, the SHA-256 tool ($hash) or cat as many at a time as
# a command line holds ($arguments, what getconf says of ARG_MAX), up to 96 KiB of names, since
# a process for each would take longer than the join of small pieces. Names start with ./, so
# that no tool takes one for an option.
#   size     says which pieces are missing, not regular files, or not of the size written;
#   sum      says which cannot be read, or are damaged (their SHA-256 is not the one written);
#   join     writes the pieces one after another;
#   tool     writes the first of the tools in $tools (split at :) that hashes the empty input
#            right, or nothing;
#   whole    writes the SHA-256 of the file $made, or nothing;
#   grouped  writes $number with its digits in groups of three: 1234567 is 1,234,567.
# It fails where a piece is not as written, or the join failed.
program='
# A word that sh takes as it is: in single quotes, each single quote in it ended, double-quoted
# and started again.
function word(text, n, part, i, all) {
    n = split(text, part, "\047")
    all = part[1]
    for (i = 2; i <= n; i++)
        all = all "\047\"\047\"\047" part[i]
    return "\047" all "\047"
}
# The name of piece k as a word for sh.
function piece(k) {
    return stem k "\047"
}
function grouped(number, text) {
    text = ""
    while (length(number) > 3) {
        text = "," substr(number, length(number) - 2) text
        number = substr(number, 1, length(number) - 3)
    }
    return number text
}
# The SHA-256 on a line that the tool wrote, in lower case, or nothing where it holds none:
# openssl writes it last, after "= "; the others first, after a backslash where the name
# holds one.
function hexof(line) {
    if (hash ~ /^openssl/)
        sub(/.*= /, "", line)
    else {
        sub(/ .*/, "", line)
        sub(/^\\/, "", line)
    }
    line = tolower(line)
    return length(line) == 64 && line !~ /[^0-9a-f]/ ? line : ""
}
# What the command writes, read at once: awks look up the command of each read by its text,
# which holds thousands of names. Set RS first.
function output(command, text) {
    text = ""
    command | getline text
    close(command)
    return text
}
# The first line that the command writes, or nothing.
function first(command, text) {
    text = output(command)
    sub(/\n.*/, "", text)
    return text
}
# Says what is wrong with piece k.
function fault(k, what) {
    print file "." k " " what
    bad = 1
}
# Adds the word text to those held, a part at a time: a part grows by a word, the whole by a
# part of 1 KiB, which keeps a long list from being copied for every word.
function hold(text) {
    held["part"] = held["part"] " " text
    if (length(held["part"]) > 1024) {
        held["whole"] = held["whole"] held["part"]
        held["part"] = ""
    }
}
# The words held, which are let go.
function words(all) {
    all = held["whole"] held["part"]
    held["whole"] = held["part"] = ""
    return all
}
# Measures the pieces from..to, named in names. find names those that are regular files of the
# size of the first, in the order given: all but the last piece of a file are of one size. ls
# measures the rest, where find could not.
function sizes(from, to, names, text, at, name, line, lines, i, field, k, there) {
    text = output("exec find -L" names " -prune -type f -size " size[from] "c 2>/dev/null")
    at = 1
    for (k = from; k <= to; k++) {
        name = "./" file "." k "\n"
        if (substr(text, at, length(name)) == name) {
            kind[k] = "-"
            have[k] = size[from]
            at += length(name)
        } else
            hold(piece(k))
    }
    names = words()
    # ls sorts what it lists: each line, "type and mode, links, owner, group, size, time, name",
    # is told by the number that ends its name.
    if (names != "")
        lines = split(output("exec ls -Lnd --" names " 2>/dev/null"), line, "\n")
    for (i = 1; i <= lines; i++) {
        if (!match(line[i], /[.][0-9]+$/))
            continue
        k = substr(line[i], RSTART + 1) + 0
        if (k < from || k > to ||
            substr(line[i], RSTART - length(file) - 3, length(file) + 3) != " ./" file)
            continue
        split(line[i], field)
        kind[k] = substr(field[1], 1, 1)
        have[k] = field[5]
    }
    for (k = from; k <= to; k++)
        if (!(k in kind))
            hold(piece(k))
    names = words()
    # Some ls write what is not ASCII as ?: those pieces are measured one by one.
    if (names != "") {
        names = "for f in" names "; do if [ -f \"$f\" ]; then echo - $(wc -c <\"$f\");"
        names = names " elif [ -e \"$f\" ] || [ -h \"$f\" ]; then echo ?"
        split(output(names "; else echo missing; fi; done"), there, "\n")
        i = 0
        for (k = from; k <= to; k++)
            if (!(k in kind)) {
                split(there[++i], field)
                kind[k] = field[1] == "missing" ? "" : field[1]
                have[k] = field[2]
            }
    }
    for (k = from; k <= to; k++) {
        if (kind[k] == "")
            fault(k, "is missing")
        else if (kind[k] != "-")
            fault(k, "is not a regular file")
        else if (have[k] != size[k])
            fault(k, "has " grouped(have[k]) (have[k] == 1 ? " byte" : " bytes") ", not " grouped(size[k]))
    }
}
# Hashes the pieces from..to, named in names, or each alone where that fails. A line that holds
# the digest written where the tool writes it, first or last, is taken as it is.
function sums(from, to, names, line, lines, last, k, hex) {
    lines = split(output("exec " hash names " 2>/dev/null"), line, "\n") - 1
    last = hash ~ /^openssl/
    for (k = from; k <= to; k++) {
        hex = lines == to - from + 1 ? line[k - from + 1] : ""
        if (substr(hex, last ? length(hex) - 63 : 1, 64) != sum[k])
            hex = hexof(hex)
        else
            hex = sum[k]
        if (hex == "")
            hex = hexof(first("exec " hash " " piece(k) " 2>/dev/null"))
        if (hex == "")
            fault(k, "cannot be read")
        else if (hex != sum[k])
            fault(k, "is damaged: its SHA-256 does not match")
    }
}
BEGIN {
    file = ENVIRON["file"]
    mode = ENVIRON["mode"]
    hash = ENVIRON["hash"]
    stem = word("./" file ".")
    stem = substr(stem, 1, length(stem) - 1)
    # An eighth of the most, as the environment takes its part too; Linux takes no single
    # argument, as sh -c takes the command, of more than 128 KiB.
    batch = ENVIRON["arguments"] / 8
    if (batch > 98304)
        batch = 98304
    if (batch < 1024)
        batch = 1024
}
NF {
    size[++pieces] = $1
    sum[pieces] = $2
}
END {
    # A record separator that no output holds: a read takes all that a command writes.
    RS = "\001"
    if (mode == "grouped") {
        print grouped(ENVIRON["number"])
        exit
    }
    if (mode == "whole") {
        print hexof(first("exec " hash " <" word(ENVIRON["made"]) " 2>/dev/null"))
        exit
    }
    if (mode == "tool") {
        n = split(ENVIRON["tools"], tools, ":")
        for (i = 1; i <= n; i++) {
            hash = tools[i]
            if (hexof(first("exec " hash " </dev/null 2>/dev/null")) == "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855") {
                print hash
                exit
            }
        }
        exit
    }
    for (from = 1; from <= pieces; from = to + 1) {
        for (to = from; to <= pieces && length(held["whole"]) < batch; to++)
            hold(piece(to))
        names = words()
        to--
        if (mode == "join") {
            if (system("exec cat --" names) != 0)
                exit 1
        } else if (mode == "size")
            sizes(from, to, names)
        else
            sums(from, to, names)
    }
    exit bad
}
'

# Runs the program above in mode $1 on the manifest.
each() {
    printf '%s\n' "$manifest" | mode=$1 file=$file hash=$hash arguments=$arguments awk "$program"
}

grouped() {
    mode=grouped number=$1 awk "$program" </dev/null
}

arguments=$(getconf ARG_MAX 2>/dev/null) || arguments=

case $#:${1-} in
0:) mode=restore ;;
1:--check) mode=check ;;
*)
    say "$file.sh takes no argument to restore $file, or --check to only check its pieces;" \
        "it was given: $*"
    exit 2
    ;;
esac

# The pieces are beside this script, wherever it is run from. Sourced (. name.sh), $0 names the
# shell, not the script: the pieces are looked for in the folder it is run from then.
case $0 in
*/"$file.sh")
    if ! cd -- "${0%/*}/"; then
        say "$file: the folder of this script cannot be entered"
        exit 1
    fi
    ;;
"$file.sh") ;;
*)
    if ! exists "$file.1"; then
        say "$file.1 is not in the current folder, where $file.sh looks for its pieces when it is" \
            "sourced (.) or renamed: run it with sh and its path, from anywhere"
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
hash=
if ! each size >&2; then
    if [ $mode = restore ]; then
        say "$file has not been restored: $again"
    else
        say "$file cannot be restored yet: $again"
    fi
    exit 1
fi

# openssl hashes fastest (with the processor's SHA instructions), and writes what it found a
# block at a time, where sha256sum writes a line for each piece: it hashes thousands of small
# pieces fastest too.
why='no SHA-256 tool was found (sha256sum, shasum, sha256 or openssl)'
if [ -z "$whole" ]; then
    why='the pieces came without SHA-256 digests'
else
    hash=$(tools='openssl dgst -sha256:sha256sum --:sha256 -q --:shasum -a 256 --' mode=tool \
        awk "$program" </dev/null)
fi

if [ $mode = check ]; then
    if [ -z "$hash" ]; then
        printf '%s %s\n' "Only checked, nothing written: $these all there with the right sizes;" \
            "their contents were not checked, as $why"
    elif each sum >&2; then
        printf '%s\n' "Only checked, nothing written: $these there and whole (sizes and SHA-256)"
    else
        say "$file cannot be restored yet: $again"
        exit 1
    fi
    exit 0
fi

# The pieces are joined into a file of a name of its own, made only where no file has it
# (set -C), and removed on every way out but into place. A signal removes it first, then says
# so, and ends the script; PIPE too, as the shell's own word that a child was killed, written to
# a pipe whose reader has gone, would end it untidied.
made=
gone() {
    [ -z "$made" ] || rm -f -- "$made"
    made=
}
trap gone EXIT
for stop in HUP:129 INT:130 QUIT:131 PIPE:141 TERM:143; do
    trap "gone; say \"\$file: interrupted, nothing was written\"; exit ${stop#*:}" "${stop%:*}"
done
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
# Opened as it is, empty, not truncated: ext4 writes a file truncated to nothing back to the
# disk as soon as it is closed (auto_da_alloc), which held the join and its check up by half.
if ! each join 1<>"$made"; then
    say "$file has not been restored: its pieces could not be joined here"
    exit 1
fi

have=$(wc -c <"$made")
have=${have#"${have%%[! ]*}"}
if [ "$have" != "$bytes" ]; then
    say "$file has not been restored: its pieces joined have $(grouped "${have:-0}") bytes," \
        "not $(grouped "$bytes")"
    exit 1
fi
if [ -n "$hash" ] && [ "$(mode=whole made=$made hash=$hash awk "$program" </dev/null)" != "$whole" ]; then
    if each sum >&2; then
        say "$file has not been restored: its SHA-256 does not match, though every piece's" \
            "does; run this script again"
    else
        say "$file has not been restored: $again"
    fi
    exit 1
fi

# Sets node to the number of the file (not of what a link names) at $1, or to nothing.
node() {
    set -- $(ls -di -- "$1" 2>/dev/null)
    node=${1-}
}

# The joined file takes its name by a second name, a link, which fails where anything has the
# name: what appeared meanwhile is left alone. Where the file system has no links, mv moves it,
# and the name must then hold the file made. A folder that appeared at the name takes the link
# or the file inside it: there it goes again. Once begun, this is not stopped halfway.
trap '' HUP INT PIPE QUIT TERM
node "$made"
ours=$node temporary=$made
if ln -- "$made" "$file" 2>/dev/null; then
    :
elif exists "$file"; then
    ours=
else
    # -n: never over what took the name since, where mv can tell.
    mv -n -- "$made" "$file" 2>/dev/null
    exists "$made" || made=
    if [ -n "$made" ] && ! exists "$file"; then
        say "$file has not been restored: the joined file could not be given its name"
        exit 1
    fi
fi
node "$file"
if [ -z "$ours" ] || [ "$node" != "$ours" ] || [ -h "$file" ]; then
    if [ -n "$ours" ]; then
        node "$file/$temporary"
        [ "$node" != "$ours" ] || rm -f -- "$file/$temporary"
    fi
    say "$file appeared while it was restored: it was left as it is, and nothing was restored"
    exit 1
fi
gone
if [ -n "$hash" ]; then
    printf '%s\n' "$file has been restored (checked)"
else
    printf '%s\n' "$file has been restored, but only the sizes were checked: $why"
fi
)
eval "case \$- in *i*) ;; *) trap - HUP INT QUIT PIPE TERM ;; esac; (exit $?)"
)sh";

// Within single quotes sh takes every byte as it is but the quote, which ends them: one in the
// name is written '\'' (end, a quoted quote, start again).
QByteArray quoted(const QByteArray &text) {
    QByteArray escaped = text;
    escaped.replace('\'', QByteArrayLiteral("'\\''"));
    return '\'' + escaped + '\'';
}

// Calls its argument with every piece's digest, in order.
using EachDigest = std::function<void(const std::function<void(QByteArrayView hex)> &)>;

// The script up to its body: what it says of itself, the settings and the values; digests are
// the count of eachDigest's.
void writeHead(TextOut &out, const Layout &layout, const OutputNames &names,
               const PieceLengths &lengths, const QByteArray &wholeDigest, qint64 digestCount,
               const EachDigest &eachDigest) {
    const qint64 pieces = lengths.count;
    Q_ASSERT(wholeDigest.isEmpty() ? digestCount == 0 : digestCount == pieces);
    // Digests of some pieces only would name sound pieces damaged: sizes alone are checked then.
    const bool digests = !wholeDigest.isEmpty() && digestCount == pieces;
    const QByteArray name = fileSystemName(names.fileName());
    const QByteArray count = pieces == 1 ? QByteArrayLiteral("its one piece")
                                         : "its " + QByteArray::number(pieces) + " pieces";
    out << "#!/bin/sh\n# Restores " << name << " from " << count << " beside this script"
        << layout.checks
        << "\n# Run it with sh; with --check it only checks the pieces, and writes nothing.\n"
           "# Exit status: 0 done, 1 refused or damaged, 2 an unknown argument.\n"
        << layout.opening << kSettings << "file=" << quoted(name)
        << "\npieces=" << QByteArray::number(pieces)
        << "\nbytes=" << QByteArray::number(lengths.total()) << "\nwhole='"
        << (digests ? wholeDigest : QByteArray())
        << "'\n\n# A line for each piece from the first on: its size in bytes"
        << (digests ? " and its SHA-256" : "") << ".\n"
        << kManifestStart << '\n';
    if (digests) {
        qint64 piece = 0;
        eachDigest([&](QByteArrayView digest) {
            out << QByteArray::number(lengths.of(++piece)) << ' ' << digest << '\n';
        });
    } else {
        for (qint64 piece = 1; piece <= pieces; ++piece)
            out << QByteArray::number(lengths.of(piece)) << '\n';
    }
    out << kManifestEnd << "\n\n";
}

// What a script's values say, read line by line up to the end of its manifest: where that
// starts, the pieces' lengths, the whole file's SHA-256 and how many pieces' it holds. Nothing
// where they are not of the shape a split writes.
struct Values {
    qint64 manifestAt = 0;
    PieceLengths lengths;
    QByteArray wholeDigest;
    qint64 digests = 0;
};

std::optional<Values> valuesIn(const TextSource &script) {
    TextIn in(script);
    Values values;
    std::optional<QByteArray> whole;
    std::optional<QByteArrayView> line;
    while ((line = in.line()) && *line != kManifestStart) {
        if (!whole && line->startsWith("whole='"))
            whole = line->sliced(7).first(std::min<qsizetype>(64, line->size() - 7)).toByteArray();
    }
    if (!line || !whole)
        return std::nullopt;
    values.manifestAt = in.offset();
    while ((line = in.line()) && *line != kManifestEnd) {
        const qsizetype blank = line->indexOf(' ');
        bool ok = false;
        const qint64 length = line->first(blank < 0 ? line->size() : blank).toLongLong(&ok);
        if (!ok || length < 0 || !values.lengths.append(length))
            return std::nullopt;
        if (blank >= 0) {
            if (!PieceDigests::isDigest(line->sliced(blank + 1)))
                return std::nullopt;
            ++values.digests;
        }
    }
    if (!line || values.lengths.count == 0 ||
        (values.digests != 0 && values.digests != values.lengths.count))
        return std::nullopt;
    if (values.digests != 0) {
        // A split that lists the pieces' digests writes the whole file's too.
        if (!PieceDigests::isDigest(*whole))
            return std::nullopt;
        values.wholeDigest = *whole;
    }
    return values;
}

// The digests of the manifest from at on, as valuesIn() found them.
void eachDigestIn(const TextSource &script, qint64 at,
                  const std::function<void(QByteArrayView hex)> &each) {
    TextIn in(script, at);
    std::optional<QByteArrayView> line;
    while ((line = in.line()) && *line != kManifestEnd)
        each(line->sliced(line->indexOf(' ') + 1));
}

// The values of script where it is, byte for byte, one that write() gives for names, or one
// that an earlier version gave (its values, and the body it had).
std::optional<Values> ownValuesIn(const TextSource &script, const OutputNames &names) {
    std::optional<Values> values = valuesIn(script);
    if (!values)
        return std::nullopt;
    const EachDigest digests = [&](const std::function<void(QByteArrayView hex)> &each) {
        eachDigestIn(script, values->manifestAt, each);
    };
    const auto head = [&](const Layout &layout, TextOut &out) {
        writeHead(out, layout, names, values->lengths, values->wholeDigest, values->digests,
                  digests);
    };
    if (TextIn in(script);
        in.take([&](TextOut &out) { head(kLayout, out); }) && in.take(kBody) && in.atEnd())
        return values;
    for (const EarlierForm &form : kEarlierForms) {
        TextIn earlier(script);
        if (!earlier.take([&](TextOut &out) { head(form.layout, out); }))
            continue;
        Sha256 body;
        earlier.readRest([&](QByteArrayView block) { body.add(block.data(), block.size()); });
        if (body.hexDigest() == form.bodySha256)
            return values;
    }
    return std::nullopt;
}

} // namespace

void write(TextOut &out, const OutputNames &names, const PieceLengths &lengths,
           const QByteArray &wholeDigest, const PieceDigests &pieceDigests) {
    writeHead(
        out, kLayout, names, lengths, wholeDigest, pieceDigests.size(),
        [&](const std::function<void(QByteArrayView hex)> &each) { pieceDigests.forEach(each); });
    out << kBody;
}

qint64 bytesAtMost(const OutputNames &names, qint64 pieces) {
    // Its fixed text, its name a few times, and a size and a digest for each piece.
    constexpr qint64 kFixedText = 24 << 10;
    constexpr qint64 kPerPiece = 20 + 1 + 64 + 1;
    return saturatingAdd(saturatingMultiply(pieces, kPerPiece),
                         kFixedText + 8 * fileSystemName(names.fileName()).size());
}

std::optional<PieceLengths> piecesIn(const TextSource &script, const OutputNames &names) {
    const std::optional<Values> values = ownValuesIn(script, names);
    if (!values)
        return std::nullopt;
    return values->lengths;
}

std::optional<Manifest> manifestOf(const QByteArray &script, const OutputNames &names) {
    const TextSource text = textSourceOf(script);
    const std::optional<Values> values = ownValuesIn(text, names);
    if (!values)
        return std::nullopt;
    Manifest manifest{{}, values->wholeDigest, {}};
    for (qint64 piece = 1; piece <= values->lengths.count; ++piece)
        manifest.pieceLengths.append(values->lengths.of(piece));
    if (values->digests != 0)
        eachDigestIn(text, values->manifestAt,
                     [&](QByteArrayView hex) { manifest.pieceDigests.append(hex.toByteArray()); });
    return manifest;
}

} // namespace PosixRestoreScript
