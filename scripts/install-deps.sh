#!/usr/bin/env bash
# Installs every system package the project needs to build, test and benchmark, on Debian 12
# (bookworm) or Debian 13 (trixie); the release is read from /etc/os-release.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
PACKAGES=(
    build-essential cmake ccache
    qtbase5-dev qttools5-dev qttools5-dev-tools libqt5svg5-dev
    libqt5charts5-dev qt5-image-formats-plugins
    qtwebengine5-dev libqt5webchannel5-dev
    libjs-leaflet
    libexiv2-dev libimage-exiftool-perl pkg-config
    libxml2-utils gpsbabel
    tzdata valgrind
    xvfb xauth dosfstools mtools fusefat
    clang
    qttranslations5-l10n fonts-vlgothic
    dpkg-dev file lintian desktop-file-utils appstream shared-mime-info
    g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
)
# What differs between the releases: the clang runtime of the sanitizers and fuzzers follows
# each release's clang; Qt WebKit (the map's optional second engine) exists only on Debian 12.
. /etc/os-release
case "${VERSION_CODENAME:-}" in
    bookworm) PACKAGES+=(libclang-rt-14-dev libqt5webkit5-dev) ;;
    trixie) PACKAGES+=(libclang-rt-19-dev) ;;
    *)
        echo "install-deps.sh: ${PRETTY_NAME:-this system} is not checked; trying Debian 13's packages" >&2
        PACKAGES+=(libclang-rt-dev)
        ;;
esac
missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
