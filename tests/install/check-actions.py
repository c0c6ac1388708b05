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
    ("holiday video.mp4.sha256", {"split", "verify"}),
    ("backup.sh", {"split"}),
    ("holiday video.mp4.par2", {"split"}),
]
# Dolphin matches types alone, and a checksum list is plain text like a restore script.
DOLPHIN_ALSO = {"holiday video.mp4.sha256": {"join"}}
EXPECTED_ARGS = {"split": [], "join": ["--join"], "verify": ["--verify"]}

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
        else:
            key, value = line.split("=", 1)
            if key in group:
                fail(f"{path.name}:{number}: {key} given twice")
            group[key] = value
    return groups


def semicolon_list(value):
    return [item for item in value.split(";") if item]


def desktop_entry_argv(exec_line, paths):
    """The desktop entry's rules, which KDE follows: quoted words, then %f and %F as arguments
    of their own (a field code in quotes is not one)."""
    words, word, quoted, escaped, started = [], "", False, False, False
    for char in exec_line:
        if escaped:
            word, escaped = word + char, False
        elif quoted and char == "\\":
            escaped = True
        elif char == '"':
            quoted, started = not quoted, True
        elif char == " " and not quoted:
            if started or word:
                words.append((word, started))
            word, started = "", False
        else:
            word += char
    if started or word:
        words.append((word, started))
    codes = {"%F": paths, "%f": paths[:1], "%U": ["file://" + quote(path) for path in paths]}
    argv = []
    for word, was_quoted in words:
        if word in codes and not was_quoted:
            argv += codes[word]
        elif "%" in word:
            fail(f"{exec_line}: field code {word} is not an argument of its own")
        else:
            argv.append(word)
    return argv


def shell_words(line):
    try:
        return shlex.split(line)
    except ValueError as error:
        fail(f"{line}: {error}")
        return []


def nemo_argv(exec_line, paths):
    """Nemo puts each path in with a backslash before every shell character, then parses the
    line as the shell would."""
    escaped = [re.sub(r"([^A-Za-z0-9/._-])", r"\\\1", path) for path in paths]
    return shell_words(exec_line.replace("%F", " ".join(escaped)))


def caja_argv(exec_line, paths):
    """Caja's actions quote each path for the shell, then parse the line as the shell would."""
    quoted = [shlex.quote(path) for path in paths]
    line = exec_line.replace("%F", " ".join(quoted)).replace("%f", quoted[0])
    return shell_words(line)


def check_exec(where, kind, exec_line, expand, name):
    paths = [f"{FOLDER}/{name}"] + ([f"{FOLDER}/second {name}"] if kind == "split" else [])
    want = ["tessary"] + EXPECTED_ARGS[kind] + paths
    got = expand(exec_line, paths)
    if got != want:
        fail(f"{where}: {exec_line} starts {got}, not {want}")


def check_offers(where, offered, also=None):
    for name, kinds in CASES:
        want = kinds | (also or {}).get(name, set())
        got = {kind for kind, matches in offered.items() if matches(name)}
        if got != want:
            fail(f"{where}: for {name} offers {sorted(got)}, not {sorted(want)}")


def installed(folder, pattern, count):
    files = sorted((SHARE / folder).glob(pattern))
    if len(files) != count:
        fail(f"{folder} holds {len(files)} files {pattern}, not {count}")
    return files


def kind_of(exec_line):
    return "join" if "--join" in exec_line else "verify" if "--verify" in exec_line else "split"


def check_nemo():
    offered = {}
    for path in installed("nemo/actions", "tessary-*.nemo_action", 3):
        action = read_key_file(path).get("Nemo Action", {})
        for key in ("Name", "Exec", "Selection", "Extensions"):
            if key not in action:
                fail(f"{path.name}: no {key}")
        kind = kind_of(action.get("Exec", ""))
        extensions = [e.lower() for e in semicolon_list(action.get("Extensions", ""))]
        selection = action.get("Selection", "").lower()
        if kind == "split":
            ok = extensions == ["nodirs"] and selection == "notnone"
            offered[kind] = lambda name: True
        else:
            ok = selection == "s" and "nodirs" not in extensions and "any" not in extensions
            offered[kind] = lambda name, e=extensions: name.lower().rsplit(".", 1)[-1] in e
        if not ok:
            fail(f"{path.name}: Selection={selection} Extensions={extensions} for {kind}")
        check_exec(path.name, kind, action.get("Exec", ""), nemo_argv, "holiday video.mp4.1")
    check_offers("Nemo", offered)


def check_caja():
    offered = {}
    for path in installed("file-manager/actions", "tessary-*.desktop", 3):
        groups = read_key_file(path)
        entry = groups.get("Desktop Entry", {})
        if entry.get("Type") != "Action" or "Name" not in entry:
            fail(f"{path.name}: not a named action (Type=Action, Name=)")
        profiles = semicolon_list(entry.get("Profiles", ""))
        if len(profiles) != 1 or f"X-Action-Profile {profiles[0]}" not in groups:
            fail(f"{path.name}: its profile is missing")
            continue
        profile = groups[f"X-Action-Profile {profiles[0]}"]
        kind = kind_of(profile.get("Exec", ""))
        if semicolon_list(profile.get("MimeTypes", "")) != ["all/allfiles"]:
            fail(f"{path.name}: offered for more than files")
        count = profile.get("SelectionCount")
        if count != (">0" if kind == "split" else "=1"):
            fail(f"{path.name}: SelectionCount={count} for {kind}")
        globs = semicolon_list(profile.get("Basenames", "*"))
        exact = profile.get("Matchcase", "true") == "true"

        def matches(name, globs=globs, exact=exact):
            if not exact:
                name, globs = name.lower(), [g.lower() for g in globs]
            return any(fnmatch.fnmatchcase(name, glob) for glob in globs)

        offered[kind] = matches
        check_exec(path.name, kind, profile.get("Exec", ""), caja_argv, "holiday video.mp4.1")
    check_offers("Caja", offered)


def mime_database():
    """The types of shared-mime-info that the cases' names take, and what each inherits."""
    mime = Path("/usr/share/mime")
    globs = [line.split(":")[1:] for line in (mime / "globs2").read_text().splitlines()
             if not line.startswith("#")]
    parents = {}
    for line in (mime / "subclasses").read_text().splitlines():
        child, parent = line.split()
        parents.setdefault(child, []).append(parent)

    def type_of(name):
        # Longest glob first, as the database orders its matches; the cases hold text otherwise.
        hits = [(len(glob), kind) for kind, glob, *_ in globs
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
        types = semicolon_list(entry.get("MimeType", ""))
        # KDE reads this key as a list split at commas.
        excluded = [t for t in entry.get("ExcludeServiceTypes", "").split(",") if t]
        many = "X-KDE-MaxNumberOfUrls" not in entry
        for action in semicolon_list(entry.get("Actions", "")):
            group = groups.get(f"Desktop Action {action}", {})
            kind = kind_of(group.get("Exec", ""))
            if "Name" not in group or many != (kind == "split"):
                fail(f"{path.name}: action {action} unnamed, or for one file and many alike")

            def matches(name, types=types, excluded=excluded):
                kind = type_of(name)
                return (any(t == "all/allfiles" or inherits(kind, t) for t in types)
                        and not any(inherits(kind, t) for t in excluded))

            offered[kind] = matches
            check_exec(f"{path.name} {action}", kind, group.get("Exec", ""),
                       desktop_entry_argv, "holiday video.mp4.1")
    check_offers("Dolphin", offered, DOLPHIN_ALSO)


def check_launcher():
    groups = read_key_file(SHARE / "applications/org.tessary.Tessary.desktop")
    for group in ("Desktop Entry", "Desktop Action join", "Desktop Action verify"):
        exec_line = groups.get(group, {}).get("Exec", "")
        check_exec(group, kind_of(exec_line), exec_line, desktop_entry_argv, "holiday video.mp4.1")


def check_nautilus():
    installed("nautilus-python/extensions", "tessary-*.py", 1)


for check in (check_launcher, check_nemo, check_caja, check_dolphin, check_nautilus):
    check()
for failure in failures:
    print(f"FAIL: {failure}", file=sys.stderr)
sys.exit(1 if failures else 0)
