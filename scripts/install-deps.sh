#!/usr/bin/env bash
# Installs the Debian packages Tessary builds and tests with, when any is missing.
set -euo pipefail

# The build (Qt, ICU, OpenSSL's libcrypto, scdoc for the manual pages), the fonts the windows
# are measured for, the package's checks (Python and the MIME database for the file managers'
# actions), and what some tests run: groff to render the manual pages, a private D-Bus,
# sha256sum's own check of a checksum list, and small volumes (FAT through FUSE; btrfs and XFS,
# whose files share blocks, on loop devices). The restore script for macOS, Linux and the BSDs
# is run under dash, bash and busybox sh, with each SHA-256 tool it may find: sha256sum, shasum
# as macOS has it (libdigest-sha-perl) and the openssl command, and each awk: mawk, gawk, the
# one the BSDs and macOS have (original-awk) and busybox's.
packages=(cmake g++ make qt6-base-dev libicu-dev libssl-dev scdoc fonts-liberation
          fonts-dejavu-core desktop-file-utils appstream python3 shared-mime-info dpkg-dev
          groff-base dbus coreutils dosfstools fusefat btrfs-progs xfsprogs dash bash busybox
          libdigest-sha-perl openssl mawk gawk original-awk)
# Qt's translation tools: lupdate and lrelease (qt6-l10n-tools), and their CMake package
# Qt6LinguistTools (qt6-tools-dev).
packages+=(qt6-tools-dev qt6-l10n-tools)
# Recovery files in PAR2's format are made, checked and used through the par2 program; remotes
# (cloud drives, SFTP, WebDAV) are reached through rclone, which the tests also serve on
# 127.0.0.1.
packages+=(par2 rclone)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ $status == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing Debian packages: ${missing[*]}"
as_root=()
if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null || { echo "Run as root, or install: ${missing[*]}" >&2; exit 1; }
    as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
