#!/usr/bin/env bash
# Builds the Debian package from the build folder and checks what apt would install.
#   check-package.sh BUILD_DIR
set -euo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$out" >/dev/null) || fail "cpack could not build the package"
debs=("$out"/tessary_*.deb)
[[ -f ${debs[0]} ]] || fail "no tessary_*.deb in the cpack output"
deb=${debs[0]}

# Without Qt's libraries and platform plugins the program cannot open a window; without ICU
# names cannot be compared as Windows compares them; without libcrypto no checksum list is
# written; without the fonts its captions are measured for, words are cut off.
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6dbus6 qt6-qpa-plugins \
    libicu72 libssl3 fonts-liberation fonts-dejavu-core; do
    [[ $depends == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done
# Nautilus shows Tessary's items only through its Python extensions.
recommends=$(dpkg-deb -f "$deb" Recommends)
[[ $recommends == *python3-nautilus* ]] || fail "Recommends lacks python3-nautilus: $recommends"
[[ $recommends == *par2* ]] || fail "Recommends lacks par2: $recommends"
[[ $recommends == *rclone* ]] || fail "Recommends lacks rclone: $recommends"
contents=$(dpkg-deb -c "$deb")
for path in ./usr/bin/tessary ./usr/bin/tessary-cli ./usr/share/man/man1/tessary-cli.1.gz \
    ./usr/share/bash-completion/completions/tessary-cli \
    ./usr/share/applications/org.tessary.Tessary.desktop \
    ./usr/share/metainfo/org.tessary.Tessary.metainfo.xml \
    ./usr/share/icons/hicolor/32x32/apps/org.tessary.Tessary.png \
    ./usr/share/kio/servicemenus/tessary-split.desktop \
    ./usr/share/nemo/actions/tessary-verify.nemo_action \
    ./usr/share/file-manager/actions/tessary-join.desktop \
    ./usr/share/nautilus-python/extensions/tessary-nautilus.py; do
    grep -q " $path\$" <<<"$contents" || fail "the package lacks $path"
done
echo "$(basename "$deb"): Depends: $depends"
