#!/usr/bin/env python3
"""Checks the file managers' actions under an installed share folder: each file parses as its
file manager reads it, offers its item for the names it should and for no other, and its Exec
line, expanded by that manager's rules, starts tessary with every file as one argument.
    check-actions.py SHARE_DIR
"""
import fnmatch
import re
import shlex
import sys
from pathlib import Path
from urllib.parse import quote

SHARE = Path(sys.argv[1])
# Spaces, both quotes, a dollar, a backquote, a backslash and an ampersand: what a shell or a
# desktop-entry parser would take for its own.
FOLDER = "/media/alex/USB STICK/it's \"ours\" $HOME `id` \\ & more"

# The name chosen, and which of split, join and verify each manager should offer for it.
CASES = [
    ("holiday video.mp4", {"split"}),
    ("holiday video.mp4.bat", {"split", "join", "verify"}),
    ("HOLIDAY.MP4.BAT", {"split", "join", "verify"}),
    ("holiday video.mp4.1", {"split", "join", "verify"}),
    ("holiday video.mp4.sha256", {"split", "join", "verify"}),
    ("backup.sh", {"split"}),
    ("holiday video.mp4.par2", {"split"}),
]
OPTIONS = {"split": [], "join": ["--join"], "verify": ["--verify"]}
failures = []


def fail(message):
    failures.append(message)


def read_key_file(path):
    """Groups of keys as GLib's key files hold them; malformed lines and repeated keys fail."""
    groups, group = {}, None
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        if not line.strip() or line.startswith("#"):
            continue
        if line.startswith("["):
            if not line.endswith("]") or line[1:-1] in groups:
                fail(f"{path.name}:{number}: bad or repeated group {line}")
            group = groups.setdefault(line[1:-1], {})
        elif group is None or not re.fullmatch(r"[A-Za-z0-9-]+(\[[^]]+\])?=.*", line):
            fail(f"{path.name}:{number}: not a key in a group: {line}")
        elif line.split("=", 1)[0] in group:
            fail(f"{path.name}:{number}: given twice: {line}")
        else:
            group.update([line.split("=", 1)])
    return groups


def items(value, separator=";"):
    return [item for item in value.split(separator) if item]


def shell_words(line, quotes="'\""):
    lexer = shlex.shlex(line, posix=True, punctuation_chars=False)
    lexer.whitespace_split, lexer.quotes = True, quotes
    try:
        return list(lexer)
    except ValueError as error:
        fail(f"{line}: {error}")
        return []


def desktop_entry_argv(line, paths):
    """The desktop entry's rules, which KDE follows: words in double quotes with backslash
    escapes, then %f, %F and %U, each an argument of its own and never in quotes."""
    if re.search(r'"[^"]*%[fFuU]', line):
        fail(f"{line}: a field code in quotes")
    codes = {"%F": paths, "%f": paths[:1], "%U": ["file://" + quote(path) for path in paths]}
    return [arg for word in shell_words(line, '"') for arg in codes.get(word, [word])]


def nemo_argv(line, paths):
    """Nemo puts a backslash before every shell character of each path, then parses the line
    as the shell would."""
    escaped = [re.sub(r"([^A-Za-z0-9/._-])", r"\\\1", path) for path in paths]
    return shell_words(line.replace("%F", " ".join(escaped)))


def caja_argv(line, paths):
    """Caja's actions quote each path for the shell, then parse the line as the shell would."""
    quoted = [shlex.quote(path) for path in paths]
    return shell_words(line.replace("%F", " ".join(quoted)).replace("%f", quoted[0]))


def check_exec(where, line, expand):
    kind = kind_of(line)
    paths = [f"{FOLDER}/holiday video.mp4.1"] + [f"{FOLDER}/notes.txt"] * (kind == "split")
    want = ["tessary"] + OPTIONS[kind] + paths
    if (got := expand(line, paths)) != want:
        fail(f"{where}: {line} starts {got}, not {want}")


def check_offers(where, offered):
    for name, want in CASES:
        got = {kind for kind, matches in offered.items() if matches(name)}
        if got != want:
            fail(f"{where}: for {name} offers {sorted(got)}, not {sorted(want)}")


def installed(folder, pattern, count):
    files = sorted((SHARE / folder).glob(pattern))
    if len(files) != count:
        fail(f"{folder} holds {len(files)} files {pattern}, not {count}")
    return files


def kind_of(line):
    return "join" if "--join" in line else "verify" if "--verify" in line else "split"


def check_launcher():
    groups = read_key_file(SHARE / "applications/org.tessary.Tessary.desktop")
    for group in ("Desktop Entry", "Desktop Action join", "Desktop Action verify"):
        check_exec(group, groups.get(group, {}).get("Exec", ""), desktop_entry_argv)


def check_nemo():
    offered = {}
    for path in installed("nemo/actions", "tessary-*.nemo_action", 3):
        action = read_key_file(path).get("Nemo Action", {})
        if "Name" not in action:
            fail(f"{path.name}: no Name")
        kind = kind_of(action.get("Exec", ""))
        extensions = [e.lower() for e in items(action.get("Extensions", ""))]
        selection = action.get("Selection", "").lower()
        if kind == "split":
            ok, offered[kind] = extensions == ["nodirs"] and selection == "notnone", lambda _: True
        else:
            ok = selection == "s" and not {"any", "dir", "nodirs"} & set(extensions)
            offered[kind] = lambda name, e=extensions: name.lower().rsplit(".", 1)[-1] in e
        if not ok:
            fail(f"{path.name}: Selection={selection} Extensions={extensions} for {kind}")
        check_exec(path.name, action.get("Exec", ""), nemo_argv)
    check_offers("Nemo", offered)


def check_caja():
    offered = {}
    for path in installed("file-manager/actions", "tessary-*.desktop", 3):
        groups = read_key_file(path)
        entry = groups.get("Desktop Entry", {})
        profiles = items(entry.get("Profiles", ""))
        profile = groups.get(f"X-Action-Profile {profiles[0]}" if len(profiles) == 1 else "", {})
        if entry.get("Type") != "Action" or "Name" not in entry or not profile:
            fail(f"{path.name}: not a named action (Type=Action, Name=) with one profile")
        kind = kind_of(profile.get("Exec", ""))
        if items(profile.get("MimeTypes", "")) != ["all/allfiles"] or profile.get(
                "SelectionCount") != (">0" if kind == "split" else "=1"):
            fail(f"{path.name}: offered for folders, or for one file and many alike")
        exact = profile.get("Matchcase", "true") == "true"
        globs = [glob if exact else glob.lower() for glob in items(profile.get("Basenames", "*"))]
        offered[kind] = lambda name, globs=globs, exact=exact: any(
            fnmatch.fnmatchcase(name if exact else name.lower(), glob) for glob in globs)
        check_exec(path.name, profile.get("Exec", ""), caja_argv)
    check_offers("Caja", offered)


def mime_database():
    """The types of shared-mime-info that the cases' names take, and what each inherits."""
    mime = Path("/usr/share/mime")
    globs = [line.split(":")[1:3] for line in (mime / "globs2").read_text().splitlines()
             if not line.startswith("#")]
    parents = {}
    for line in (mime / "subclasses").read_text().splitlines():
        parents.setdefault(line.split()[0], []).append(line.split()[1])

    def type_of(name):
        # The longest glob that matches; the cases hold plain text where none does.
        hits = [(len(glob), kind) for kind, glob in globs
                if fnmatch.fnmatchcase(name.lower(), glob.lower())]
        return max(hits)[1] if hits else "text/plain"

    def inherits(kind, ancestor):
        return kind == ancestor or any(inherits(p, ancestor) for p in parents.get(kind, []))

    return type_of, inherits


def check_dolphin():
    type_of, inherits = mime_database()
    offered = {}
    for path in installed("kio/servicemenus", "tessary-*.desktop", 2):
        groups = read_key_file(path)
        entry = groups.get("Desktop Entry", {})
        if entry.get("Type") != "Service" or entry.get("X-KDE-Submenu") != "Tessary":
            fail(f"{path.name}: not a service menu in the Tessary submenu")
        types = items(entry.get("MimeType", ""))
        excluded = items(entry.get("ExcludeServiceTypes", ""), ",")  # KDE splits it at commas
        for action in items(entry.get("Actions", "")):
            group = groups.get(f"Desktop Action {action}", {})
            kind = kind_of(group.get("Exec", ""))
            if "Name" not in group or ("X-KDE-MaxNumberOfUrls" in entry) == (kind == "split"):
                fail(f"{path.name}: action {action} unnamed, or for one file and many alike")
            offered[kind] = lambda name, types=types, excluded=excluded: (
                any(t == "all/allfiles" or inherits(type_of(name), t) for t in types)
                and not any(inherits(type_of(name), t) for t in excluded))
            check_exec(f"{path.name} {action}", group.get("Exec", ""), desktop_entry_argv)
    check_offers("Dolphin", offered)


check_launcher()
check_nemo()
check_caja()
check_dolphin()
installed("nautilus-python/extensions", "tessary-*.py", 1)
for failure in failures:
    print(f"FAIL: {failure}", file=sys.stderr)
sys.exit(1 if failures else 0)
