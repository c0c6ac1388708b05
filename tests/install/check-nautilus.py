#!/usr/bin/env python3
"""Loads the Nautilus extension without Nautilus, through a stand-in gi, and checks which items
it offers for which files and what each starts; then loads it with no gi at all.
    check-nautilus.py EXTENSION
"""
import importlib.util
import sys
import types

EXTENSION = sys.argv[1]
FOLDER = "/home/alex/it's \"ours\" $HOME `id` & more"
ARGS = {"split": [], "join": ["--join"], "verify": ["--verify"]}

# The files chosen, and the items offered for them.
CASES = [
    (["holiday video.mp4"], ["split"]),
    (["holiday video.mp4", "notes.txt"], ["split"]),
    (["holiday video.mp4.bat"], ["split", "join", "verify"]),
    (["HOLIDAY.MP4.BAT"], ["split", "join", "verify"]),
    (["holiday video.mp4.1"], ["split", "join", "verify"]),
    (["holiday video.mp4.sha256"], ["split", "join", "verify"]),
    (["holiday video.mp4.bat", "holiday video.mp4.1"], ["split"]),
    (["backup.sh"], ["split"]),
    (["holiday video.mp4.par2"], ["split"]),
    (["Videos/"], []),
    (["sftp:holiday video.mp4.bat"], []),
]

started = []


class MenuItem:
    def __init__(self, name, label):
        self.name, self.label, self.handlers = name, label, []

    def connect(self, signal, handler, *data):
        assert signal == "activate"
        self.handlers.append((handler, data))

    def activate(self):
        for handler, data in self.handlers:
            handler(self, *data)


def nautilus_file(name):
    """A file as Nautilus hands it: "Videos/" is a folder, "sftp:" one with no local path."""
    path = None if name.startswith("sftp:") else f"{FOLDER}/{name}"
    location = types.SimpleNamespace(get_path=lambda: path)
    return types.SimpleNamespace(is_directory=lambda: name.endswith("/"),
                                 get_location=lambda: location)


def load(name, gi):
    # None makes the import fail, as where python3-gi is not installed.
    sys.modules["gi"] = gi
    sys.modules["gi.repository"] = gi.repository if gi else None
    found = importlib.util.spec_from_file_location(name, EXTENSION)
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    return module


def stand_in_gi():
    repository = types.SimpleNamespace(
        GObject=types.SimpleNamespace(GObject=type("GObject", (), {})),
        Nautilus=types.SimpleNamespace(MenuProvider=type("MenuProvider", (), {}),
                                       MenuItem=MenuItem),
        GLib=types.SimpleNamespace(
            SpawnFlags=types.SimpleNamespace(SEARCH_PATH=2),
            spawn_async=lambda argv, flags: started.append(list(argv))))
    return types.SimpleNamespace(require_version=lambda name, version: None,
                                 repository=repository)


failures = []
extension = load("with_nautilus", stand_in_gi())
for names, kinds in CASES:
    items = extension.TessaryMenu().get_file_items([nautilus_file(name) for name in names])
    offered = [item.name.split("::")[-1] for item in items]
    if offered != kinds:
        failures.append(f"{names}: offers {offered}, not {kinds}")
        continue
    paths = [f"{FOLDER}/{name}" for name in names]
    for item, kind in zip(items, kinds):
        started.clear()
        item.activate()
        want = [["tessary"] + ARGS[kind] + paths]
        if started != want:
            failures.append(f"{names} {item.label}: starts {started}, not {want}")
# Nautilus 3 passed the window before the files.
if len(extension.TessaryMenu().get_file_items(None, [nautilus_file("a.bat")])) != 3:
    failures.append("the window-first call of older Nautilus is not understood")

without = load("without_gi", None)
if getattr(without, "TessaryMenu", None) is not None or without.commands([]) != []:
    failures.append("without gi, the module defines a menu or offers items for nothing")

for failure in failures:
    print(f"FAIL: {failure}", file=sys.stderr)
print(f"{len(CASES) - len(failures)} passed, {len(failures)} failed")
sys.exit(1 if failures else 0)
