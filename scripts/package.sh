#!/usr/bin/env bash
# Builds the Debian package build/kv730_<version>_amd64.deb (what "cmake --install" installs,
# dependencies computed from the programs) and checks it with lintian.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
rm -f build/kv730_*.deb
(cd build && cpack -G DEB >/dev/null)
deb=$(ls build/kv730_*_amd64.deb)
lintian --fail-on error "$deb"
echo "$deb"
