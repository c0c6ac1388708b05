#!/usr/bin/env bash
# Takes the screenshots of the store page (packaging/screenshots/) and of docs/screenshots/ as a
# user meets Tessary: alex's home folder with Documents, Music and Videos, a USB stick at
# /media/alex/USB STICK, and the real tessary under Xvfb and openbox, driven with the keyboard
# and the mouse as a user would, at 100 %, 150 % and 200 % and under a dark palette too.
#   scripts/screenshots.sh [BUILD_DIR] [SCENE...]     as root; build first (./test.sh)
# The machine's own folders stay out of the pictures: tessary runs as alex in a root of its own,
# an overlay of the system's that shows only the folders of a fresh Linux root, and the stick is
# a FAT image labelled USB STICK that tessary sees as /dev/sdb1; all of it is mounted in a mount
# namespace that ends with the script. It takes about two minutes.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)

if [[ ${1-} != --inside ]]; then
    [[ $(id -u) -eq 0 ]] || { echo "Run as root: the script mounts the home and the stick." >&2; exit 1; }
    build=$(realpath "${1:-$repo/build/test}")
    [[ -x $build/src/tessary ]] || { echo "No $build/src/tessary: build first." >&2; exit 1; }
    tools=(xvfb openbox xdotool imagemagick x11-utils dosfstools fusefat python3 g++ pkg-config
           qt6-base-dev qt6ct)
    missing=()
    for package in "${tools[@]}"; do
        [[ $(dpkg-query -W -f='${Status}' "$package" 2>/dev/null) == "install ok installed" ]] ||
            missing+=("$package")
    done
    if [[ ${#missing[@]} -gt 0 ]]; then
        apt-get update -qq
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
    exec unshare --mount --propagation private "$0" --inside "$build" "${@:2}"
fi
build=$2
shift 2
scenes=("$@")

work=$(mktemp -d /tmp/tessary-screenshots.XXXXXX)
upper=$work/upper
root=$work/root
stick_image=$work/stick.img
stick=/media/alex/USB\ STICK
started=()
cleanup() {
    for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    umount -R "$root" 2>/dev/null || umount -R -l "$root" 2>/dev/null || true
    # Never through a root still mounted.
    mountpoint -q "$root" || rm -rf "$work"
}
trap cleanup EXIT

# --- the root: the system's files, without this machine's own folders and anyone's files ---
mkdir -p "$upper" "$work/overlay-work" "$root"
keep=" bin boot dev etc home lib lib32 lib64 media mnt opt proc root run sbin srv sys tmp usr var "
for entry in /* /.[!.]*; do
    name=${entry#/}
    [[ -e $entry || -L $entry ]] || continue
    [[ $keep == *" $name "* ]] || mknod "$upper/$name" c 0 0 # an overlay's whiteout
done
# Folders that hold nobody's files here: opaque, so that nothing of the system's shows through.
for folder in home media mnt opt root run srv tmp; do
    mkdir -p "$upper/$folder"
    python3 -c 'import os, sys; os.setxattr(sys.argv[1], "trusted.overlay.opaque", b"y")' "$upper/$folder"
done
mkdir -p "$upper/etc" "$upper/run/user/1000" "$upper/media/alex/USB STICK"
chmod 1777 "$upper/tmp"
grep -v -e '^alex:' -e '^[^:]*:[^:]*:1000:' /etc/passwd >"$upper/etc/passwd"
echo 'alex:x:1000:1000:Alex:/home/alex:/bin/bash' >>"$upper/etc/passwd"
grep -v -e '^alex:' -e '^[^:]*:[^:]*:1000:' /etc/group >"$upper/etc/group"
echo 'alex:x:1000:' >>"$upper/etc/group"
DESTDIR=$upper cmake --install "$build" --prefix /usr >/dev/null
mkdir -p "$upper/usr/local/bin"
g++ -std=c++20 -O1 -fPIC -o "$upper/usr/local/bin/drag-files" "$repo/scripts/screenshots/drag-files.cpp" \
    $(pkg-config --cflags --libs Qt6Widgets)

# --- alex's home ---
home=$upper/home/alex
mkdir -p "$home"/{Desktop,Documents,Downloads,Music,Pictures,Public,Templates,Videos}
head -c 48M /dev/urandom >"$home/Videos/holiday video.mp4"
head -c 9M /dev/urandom >"$home/Videos/birthday party.mp4"
head -c 300K /dev/urandom >"$home/Documents/tax return 2025.pdf"
head -c 40K /dev/urandom >"$home/Documents/letter to the landlord.odt"
printf 'Buy a bigger USB stick.\n' >"$home/Documents/notes.txt"
truncate -s 2500M "$home/Documents/backup disk.img" # sparse: written in full when split
head -c 5M /dev/urandom >"$home/Music/road trip mix.ogg"
head -c 2M /dev/urandom >"$home/Pictures/beach.jpg"
printf 'Old notes\n' >"$home/Downloads/a*b?.txt"
long=$home/Documents/Projects\ 2026/Customer\ deliveries/Quarterly\ reports/Final\ versions\ for\ review/Holiday\ Photos
mkdir -p "$long"
# A dark palette, for tessary started with QT_QPA_PLATFORMTHEME=qt6ct.
mkdir -p "$home/.config/qt6ct"
printf '%s\n' '[Appearance]' 'color_scheme_path=/usr/share/qt6ct/colors/darker.conf' \
    'custom_palette=true' 'style=Fusion' >"$home/.config/qt6ct/qt6ct.conf"
chown -R 1000:1000 "$home" "$upper/run/user/1000" "$upper/media/alex"
chmod 700 "$upper/run/user/1000"

mount -t overlay "$(findmnt -no SOURCE /)" -o "lowerdir=/,upperdir=$upper,workdir=$work/overlay-work" "$root"
mount -t proc proc "$root/proc"
mount -t tmpfs -o mode=755 dev "$root/dev"
for node in null:1:3 zero:1:5 random:1:8 urandom:1:9 tty:5:0; do
    IFS=: read -r name major minor <<<"$node"
    mknod -m 666 "$root/dev/$name" c "$major" "$minor"
done
mkdir -p "$root/dev/shm" "$root/dev/pts" "$root/dev/disk/by-label"

# --- the USB stick: a FAT image through FUSE, named and labelled as a stick is once udev has
# seen it ---
truncate -s 4G "$stick_image"
mkfs.vfat -F 32 -n "USB STICK" "$stick_image" >/dev/null
mknod -m 660 "$root/dev/sdb1" b 8 17
ln -s ../../sdb1 "$root/dev/disk/by-label/USB\\x20STICK"
plug_in() { fusefat -o rw+,allow_other,fsname=/dev/sdb1 "$stick_image" "$root$stick" >/dev/null 2>&1; }
pull_out() { umount "$root$stick"; }

# --- the display ---
export DISPLAY=:71
# Room for the window at 200 %.
screen_width=1700
screen_height=1300
Xvfb "$DISPLAY" -screen 0 "${screen_width}x${screen_height}x24" -nolisten tcp >/dev/null 2>&1 &
started+=($!)
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
started+=($!)
display -window root -size "${screen_width}x${screen_height}" 'xc:#4d6d85' 2>/dev/null ||
    true # a desktop's colour

# Runs a program as alex in the root, in the background; its process id in $last.
as_alex() {
    chroot --userspec=1000:1000 "$root" /usr/bin/env -i -C /home/alex HOME=/home/alex USER=alex \
        LOGNAME=alex LANG=C.UTF-8 DISPLAY="$DISPLAY" XDG_RUNTIME_DIR=/run/user/1000 \
        PATH=/usr/local/bin:/usr/bin:/bin "$@" >/dev/null 2>&1 &
    last=$!
    started+=("$last")
}
# Waits for a window whose title is $1 and prints its id.
window() {
    local id
    for _ in $(seq 200); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -n 1) || true
        [[ -n $id ]] && { echo "$id"; return; }
        sleep 0.1
    done
    echo "no window \"$1\" came up" >&2
    return 1
}
settle() { sleep 0.6; } # lets the window draw what it was told
key() { xdotool key --delay 60 "$@"; settle; }
type_text() { xdotool type --delay 40 "$1"; settle; }
# The rectangle of a window with its frame, if the window manager gave it one: left top right
# bottom.
frame_of() {
    local x y width height left=0 right=0 top=0 bottom=0 extents
    read -r x y width height < <(xwininfo -id "$1" | awk -F: '
        /Absolute upper-left X/ {x = $2} /Absolute upper-left Y/ {y = $2}
        /^ *Width/ {w = $2} /^ *Height/ {h = $2} END {print x, y, w, h}')
    extents=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p' | tr -d ,)
    [[ -n $extents ]] && read -r left right top bottom <<<"$extents"
    echo "$((x - left)) $((y - top)) $((x + width + right)) $((y + height + bottom))"
}
# Saves the part of the screen that tessary's windows cover: the main window, and the boxes,
# lists and tooltips it shows.
shoot() {
    local id left=100000 top=100000 right=0 bottom=0 l t r b
    settle
    for id in $(xdotool search --onlyvisible --pid "$tessary_pid" 2>/dev/null); do
        read -r l t r b < <(frame_of "$id")
        ((l < left)) && left=$l
        ((t < top)) && top=$t
        ((r > right)) && right=$r
        ((b > bottom)) && bottom=$b
    done
    ((left < 0)) && left=0
    ((top < 0)) && top=0
    ((right > screen_width)) && right=$screen_width
    ((bottom > screen_height)) && bottom=$screen_height
    import -window root -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$1"
    echo "took $1"
}
# Opens tessary with the arguments given, its window placed at the screen's top left; in its
# environment, what tessary_env holds as well.
tessary_env=()
open_tessary() {
    as_alex "${tessary_env[@]}" tessary "$@"
    tessary_pid=$last
    window Tessary >/dev/null
    # The main window is the widest of those titled so: a box may come up at once.
    main=$(for id in $(xdotool search --onlyvisible --pid "$tessary_pid" --name '^Tessary$'); do
        echo "$(xwininfo -id "$id" | awk -F: '/^ *Width/ {print $2 + 0}') $id"
    done | sort -n | tail -n 1 | cut -d' ' -f2)
    xdotool windowactivate --sync "$main"
    settle
}
close_tessary() {
    kill "$tessary_pid" 2>/dev/null || true
    wait "$tessary_pid" 2>/dev/null || true
}

docs=$repo/docs/screenshots
store=$repo/packaging/screenshots
mkdir -p "$docs" "$store"
plug_in

# Places in the main window, in pixels from its top left below the title bar (the menu bar is
# 20 high): where the controls are laid out at 96 dots per inch, and at scale per cent of that.
scale=100
click() {
    xdotool mousemove --window "$main" $(($1 * scale / 100)) $(($2 * scale / 100)) click 1
    settle
}
source_folders=(60 92)   # the first row of the source folder list
source_files=(300 58)    # the first row of its file list
output_drives=(120 462)  # the output drive list
output_folders=(60 492)  # the first row of the output folder list
output_path=(125 438)    # the start of the output folder's path
sizes=(480 393)          # the first row of the piece sizes
add_file=(512 68)
split_files=(296 380)
# Opens one folder after another in a folder list, by typing each name and pressing Enter.
browse() {
    click "$1" "$2"
    shift 2
    for name in "$@"; do
        type_text "$name"
        key Return
    done
}
# Picks the output drive that is $1 rows down the drive list.
output_drive() {
    click "${output_drives[@]}"
    for _ in $(seq "$1"); do key Down; done
    key Return
}
piece_size() { click "${sizes[@]}"; type_text "$1"; }

# Runs a program as alex and waits for it.
as_alex_now() { as_alex "$@"; wait "$last"; }
# Waits for a window of tessary's other than the main one, titled $1.
box() {
    local id
    for _ in $(seq 300); do
        for id in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
            [[ $id != "$main" ]] && { settle; return; }
        done
        sleep 0.1
    done
    echo "no box \"$1\" came up" >&2
    return 1
}
# Where a place of the main window is on the screen.
on_screen() {
    local x y
    read -r x y < <(xwininfo -id "$main" | awk -F: '
        /Absolute upper-left X/ {x = $2} /Absolute upper-left Y/ {y = $2} END {print x, y}')
    echo "$((x + $1)) $((y + $2))"
}
# Drags the files named from a stand-in file manager onto the main window at $1 $2.
drag_onto() {
    local x=$1 y=$2 source to_x to_y
    shift 2
    as_alex drag-files "$@"
    local helper=$last
    source=$(window Files)
    xdotool windowmove --sync "$source" 830 120
    settle
    read -r to_x to_y < <(on_screen "$x" "$y")
    xdotool mousemove --window "$source" 80 60 mousedown 1
    for step in 1 2 3 4 5 6 7 8; do
        xdotool mousemove $((830 + (to_x - 830) * step / 8)) $((180 + (to_y - 180) * step / 8))
        sleep 0.15
    done
    xdotool mouseup 1
    settle
    kill "$helper"
}

scene_store() {
    open_tessary
    browse "${source_folders[@]}" home alex Videos
    click "${source_files[@]}"
    type_text holiday
    click "${add_file[@]}"
    output_drive 1
    piece_size 100M
    shoot "$store/main-window.png"
    close_tessary
}

scene_opened_with_files() {
    open_tessary "/home/alex/Videos/holiday video.mp4" "/home/alex/Documents/backup disk.img" \
        /home/alex/Documents/notes.txt /home/alex/Music "/home/alex/Documents/old letter.odt"
    box Tessary
    shoot "$docs/opened-with-files.png"
    close_tessary
}

scene_join_restored() {
    as_alex_now tessary-cli split -q -s 25M -o "$stick" "/home/alex/Videos/holiday video.mp4"
    open_tessary --join "$stick/holiday video.mp4.bat"
    box Tessary
    shoot "$docs/join-files-restored.png"
    close_tessary
    rm "$root$stick/holiday video.mp4"
}

scene_hostile_script() {
    # A restore script with a line added to it.
    printf '%s\r\n' 'copy /b "party photos.zip.1" + "party photos.zip.2"  "party photos.zip"' \
        'del *.*' 'echo party photos.zip has been restored' >"$root$stick/party photos.zip.bat"
    open_tessary --join "$stick/party photos.zip.bat"
    box "Error: Join Failed"
    shoot "$docs/join-refuses-a-hostile-script.png"
    close_tessary
    rm "$root$stick/party photos.zip.bat"
}

scene_split_refused() {
    open_tessary "/home/alex/Videos/holiday video.mp4" "/home/alex/Downloads/a*b?.txt" \
        "$stick/holiday video.mp4.1"
    output_drive 1
    piece_size 25M
    click "${split_files[@]}"
    box "Error: Split Failed"
    shoot "$docs/split-refused-before-writing.png"
    close_tessary
}

scene_new_drive() {
    pull_out
    open_tessary "/home/alex/Videos/holiday video.mp4"
    plug_in
    settle
    click "${output_drives[@]}"
    shoot "$docs/new-drive-in-the-list.png"
    key Escape
    close_tessary
}

scene_drive_gone() {
    open_tessary "/home/alex/Videos/holiday video.mp4"
    output_drive 1
    pull_out
    settle
    shoot "$docs/drive-gone-back-to-root.png"
    close_tessary
    plug_in
}

scene_long_path() {
    open_tessary "/home/alex/Documents/backup disk.img"
    browse "${output_folders[@]}" home alex Documents "Projects 2026" "Customer deliveries" \
        "Quarterly reports" "Final versions for review" "Holiday Photos"
    xdotool mousemove --window "$main" "${output_path[@]}"
    sleep 1.5 # the tooltip's delay
    shoot "$docs/long-output-path-elided.png"
    close_tessary
}

scene_wait_window() {
    open_tessary "/home/alex/Documents/backup disk.img"
    output_drive 1
    piece_size 450M
    click "${split_files[@]}"
    box "Please wait splitting files"
    sleep 3 # some of the way
    shoot "$docs/wait-window-during-split.png"
    key Escape
    box "Split Stopped"
    close_tessary
}

scene_drop_queue() {
    open_tessary
    drag_onto 300 300 "/home/alex/Videos/holiday video.mp4" "/home/alex/Music/road trip mix.ogg" \
        /home/alex/Pictures "https://example.org/holiday video.mp4"
    box Tessary
    shoot "$docs/drop-onto-the-queue.png"
    close_tessary
}

scene_drop_output() {
    mkdir -p "$root$stick/Holiday 2026"
    open_tessary "/home/alex/Videos/holiday video.mp4"
    drag_onto "${output_folders[@]}" "$stick/Holiday 2026"
    shoot "$docs/folder-dropped-on-output-browser.png"
    close_tessary
}

# The window as it is used, with two files queued, a piece size chosen and the stick as the
# output drive, at scale per cent, in the environment tessary_env adds; $1 is the picture.
scene_in_use() {
    open_tessary "/home/alex/Videos/holiday video.mp4" "/home/alex/Music/road trip mix.ogg"
    output_drive 1
    piece_size 25M
    "${@:2}"
    shoot "$docs/$1"
    close_tessary
}
scene_scaled() {
    for scale in 100 150 200; do
        tessary_env=("QT_SCALE_FACTOR=$(awk "BEGIN {print $scale / 100}")")
        scene_in_use "scale-$scale.png"
    done
    scale=100
    tessary_env=()
}
scene_dark() {
    tessary_env=(QT_QPA_PLATFORMTHEME=qt6ct)
    scene_in_use dark-palette.png key F1
    tessary_env=()
}

[[ ${#scenes[@]} -gt 0 ]] || scenes=(store opened_with_files join_restored hostile_script
    split_refused new_drive drive_gone long_path wait_window drop_queue drop_output scaled dark)
for scene in "${scenes[@]}"; do
    "scene_$scene"
done
