"""Split with Tessary…, Join with Tessary and Verify with Tessary in Nautilus's file menu.

The items only start tessary with the files chosen: tessary itself checks them and tells what
is wrong. The command lines are plain functions, so that they can be tried without Nautilus.
"""

PROGRAM = "tessary"

# The names a split writes beside the pieces, each of which stands for them all: the restore
# script, the checksum list and the first piece.
_CHOSEN_FOR_PIECES = (".bat", ".sha256", ".1")


# Nautilus gives absolute paths, which no option can be taken for.
def split_command(paths):
    return [PROGRAM, *paths]


def join_command(path):
    return [PROGRAM, "--join", path]


def verify_command(path):
    return [PROGRAM, "--verify", path]


def commands(paths):
    """The menu's items for the chosen files: (name, label, argument list) each."""
    if not paths:
        return []
    items = [("split", "Split with Tessary…", split_command(paths))]
    if len(paths) == 1:
        name = paths[0].lower()
        if name.endswith(_CHOSEN_FOR_PIECES):
            items.append(("join", "Join with Tessary", join_command(paths[0])))
            items.append(("verify", "Verify with Tessary", verify_command(paths[0])))
    return items


# Without Nautilus (a test, or python3-nautilus not installed) the functions above are all
# there is.
try:
    import gi

    for _version in ("4.0", "3.0"):
        try:
            gi.require_version("Nautilus", _version)
            break
        except ValueError:
            continue
    from gi.repository import GLib, GObject, Nautilus
except (ImportError, ValueError):
    Nautilus = None


def _local_paths(files):
    paths = []
    for file in files:
        if file.is_directory():
            return []
        location = file.get_location()
        path = location.get_path() if location else None
        if not path:
            return []
        paths.append(path)
    return paths


def _start(_item, argv):
    GLib.spawn_async(argv, flags=GLib.SpawnFlags.SEARCH_PATH)


if Nautilus is not None:

    class TessaryMenu(GObject.GObject, Nautilus.MenuProvider):
        # Nautilus 43 passes the files alone; older versions pass the window first.
        def get_file_items(self, *arguments):
            items = []
            for name, label, argv in commands(_local_paths(arguments[-1])):
                item = Nautilus.MenuItem(name="Tessary::" + name, label=label)
                item.connect("activate", _start, argv)
                items.append(item)
            return items
