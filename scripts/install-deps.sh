#!/usr/bin/env bash
# Installs every system package the project needs to build, test and benchmark.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
PACKAGES=(
    build-essential cmake ccache
    qtbase5-dev qttools5-dev qttools5-dev-tools libqt5webkit5-dev libqt5svg5-dev
    libqt5charts5-dev qt5-image-formats-plugins
    libjs-leaflet
    libexiv2-dev libimage-exiftool-perl pkg-config
    libxml2-utils gpsbabel
    tzdata valgrind
    xvfb xauth dosfstools mtools fusefat
    clang libclang-rt-14-dev
    qttranslations5-l10n fonts-vlgothic
    dpkg-dev file lintian desktop-file-utils appstream shared-mime-info
    g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
)
missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
