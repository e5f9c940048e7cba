#!/usr/bin/env bash
# Windows compile check: every C++ source of the project (application, libraries, tools, tests,
# benchmarks, fuzz entry points) is compiled by Debian's MinGW-w64 cross compiler in syntax-only
# mode, so the compiler itself defines _WIN32 and the Windows branches of the code and of Qt's
# headers are the ones checked. Nothing is linked or run. Any error or warning fails the check.
#   scripts/wincheck.sh              every source
#   scripts/wincheck.sh FILE...      only these sources
#
# There is no Qt for Windows here, so the sources are compiled against the Qt 5 headers
# installed for Linux. That works because Qt's headers choose their platform from the
# compiler's own macros (qsystemdetection.h sees _WIN32, qprocessordetection.h the x86-64
# target) and the Linux qconfig.h only adds feature switches that hold on Windows too. Where
# the two builds differ, this script stands in:
# - the mkspec include directory is win32-g++ (qplatformdefs.h of MinGW), not linux-g++;
# - -fPIC is not passed: MinGW has no position-independent code, and Qt's check that asks
#   for it (QT_REDUCE_RELOCATIONS) only applies to ELF targets, which MinGW is not;
# - the Qt WebEngine and Qt WebKit headers install no Windows-specific files and need nothing
#   further (Qt WebEngine on Windows is built with MSVC only: this checks the syntax, not a build);
# - ui_*.h are generated here with the installed uic, and the X.moc files that tests include
#   with the installed moc (run with _WIN32 and WIN32 defined, as it would be on Windows);
#   moc_*.cpp files are not needed for syntax.
# - Exiv2: see below.
# Platform sources of other systems (*_linux.cpp) are left out, as CMake leaves them out on
# Windows.
set -euo pipefail
cd "$(dirname "$0")/.."

CXX=${KV730_WIN_CXX:-x86_64-w64-mingw32-g++-posix}
if ! command -v "$CXX" >/dev/null; then
    echo "wincheck: $CXX not found (scripts/install-deps.sh installs it)" >&2
    exit 1
fi
QMAKE=/usr/lib/qt5/bin/qmake
[ -x "$QMAKE" ] || QMAKE=qmake
QT_HEADERS=$("$QMAKE" -query QT_INSTALL_HEADERS)
QT_BINS=$("$QMAKE" -query QT_HOST_BINS)
QT_SPECS=$("$QMAKE" -query QT_HOST_DATA)/mkspecs

GEN=$(mktemp -d)
trap 'rm -rf "$GEN"' EXIT

FLAGS=(-std=c++17 -fsyntax-only -Wall -Wextra -Werror
    -DQT_NO_FOREACH -DQT_DEPRECATED_WARNINGS_SINCE=0x050000 -DQT_NO_DEBUG
    -DQT_CORE_LIB -DQT_GUI_LIB -DQT_WIDGETS_LIB -DQT_NETWORK_LIB -DQT_WEBENGINEWIDGETS_LIB
    -DQT_WEBCHANNEL_LIB -DQT_CHARTS_LIB -DQT_TESTLIB_LIB
    '-DKV730_TEST_DATA="tests/data"' '-DKV730_BINARY_DIR="build"' '-DKV730_VERSION="0"'
    -I. -I"$GEN" -Itests -isystem "$QT_HEADERS")
for module in "$QT_HEADERS"/Qt*; do
    FLAGS+=(-isystem "$module")
done
FLAGS+=(-isystem "$QT_SPECS/win32-g++")

# Exiv2's headers are those installed for Linux as well; only its generated configuration
# header differs by platform. A Windows build of Exiv2 has no POSIX regex, mmap or
# strerror_r, so those switches are taken out of a copy of exv_conf.h; every other header is
# the installed one.
EXIV2_HEADERS=/usr/include/exiv2
if [ -d "$EXIV2_HEADERS" ]; then
    mkdir -p "$GEN/exiv2/exiv2"
    for header in "$EXIV2_HEADERS"/*; do
        cp "$header" "$GEN/exiv2/exiv2/"
    done
    rm "$GEN/exiv2/exiv2/exv_conf.h"
    sed -E 's@^#define (EXV_HAVE_REGEX_H|EXV_HAVE_MMAP|EXV_HAVE_MUNMAP|EXV_HAVE_SYS_MMAN_H|EXV_HAVE_STRERROR_R|EXV_STRERROR_R_CHAR_P)\b@/* & */@' \
        "$EXIV2_HEADERS/exv_conf.h" >"$GEN/exiv2/exiv2/exv_conf.h"
    FLAGS+=(-isystem "$GEN/exiv2")
fi

if [ "$#" -gt 0 ]; then
    SOURCES=("$@")
else
    mapfile -t SOURCES < <(find app view device formats photos tools tests bench fuzz -name '*.cpp' \
        ! -name '*_linux.cpp' | sort)
fi
# The map engine: every source as built by default (Qt WebEngine), and again the sources that
# see the engine as built with -DKV730_MAP_ENGINE=WebKit.
ENGINE_SOURCES=()
WEBKIT_SOURCES=()
for source in "${SOURCES[@]}"; do
    case "$source" in
    *_webkit.cpp) WEBKIT_SOURCES+=("$source") ;;
    *)
        ENGINE_SOURCES+=("$source")
        case "$source" in *_webengine.cpp | */tileschemehandler.cpp) continue ;; esac
        if grep -qE '#include "(view/googlemappage|view/mapview|ui_mapwidget|maptestmain)\.h"' "$source"; then
            WEBKIT_SOURCES+=("$source")
        fi
        ;;
    esac
done

for form in $(find app view device -name '*.ui'); do
    name=$(basename "$form" .ui)
    "$QT_BINS/uic" "$form" -o "$GEN/ui_$name.h"
done
for source in "${SOURCES[@]}"; do
    if grep -q "^#include \"$(basename "$source" .cpp).moc\"" "$source"; then
        "$QT_BINS/moc" -D_WIN32 -DWIN32 "$source" -o "$GEN/$(basename "$source" .cpp).moc"
    fi
done

export CXX GEN
# check LABEL SOURCE... -- FLAG...: compiles each source, lists the failures in $GEN/failed.
failed=0
checked=0
check() {
    local label=$1
    shift
    local sources=()
    while [ "$1" != "--" ]; do
        sources+=("$1")
        shift
    done
    shift
    [ "${#sources[@]}" -gt 0 ] || return 0
    checked=$((checked + ${#sources[@]}))
    export LABEL=$label
    printf '%s\n' "${sources[@]}" >"$GEN/sources"
    xargs -P "$(nproc)" -I{} sh -c 'log="$GEN/$LABEL-$(echo "{}" | tr / _).log"
        "$CXX" "$@" "{}" >"$log" 2>&1 || echo "$LABEL {}" >>"$GEN/failed"' sh "$@" \
        <"$GEN/sources" || failed=1
}
check webengine "${ENGINE_SOURCES[@]}" -- "${FLAGS[@]}"
WEBKIT_FLAGS=()
for flag in "${FLAGS[@]}"; do
    case "$flag" in
    -DQT_WEBENGINEWIDGETS_LIB | -DQT_WEBCHANNEL_LIB) ;;
    *) WEBKIT_FLAGS+=("$flag") ;;
    esac
done
if [ -d "$QT_HEADERS/QtWebKitWidgets" ]; then
    check webkit "${WEBKIT_SOURCES[@]}" -- "${WEBKIT_FLAGS[@]}" -DKV730_MAP_WEBKIT=1 \
        -DQT_WEBKIT_LIB -DQT_WEBKITWIDGETS_LIB
else
    echo "wincheck: Qt WebKit headers not installed; the WebKit build of the map is not checked"
fi
if [ -s "$GEN/failed" ]; then
    while read -r label source; do
        echo "== $source ($label)"
        cat "$GEN/$label-$(echo "$source" | tr / _).log"
    done < <(sort "$GEN/failed")
    echo "wincheck: $(wc -l <"$GEN/failed") of $checked compilations fail for Windows" >&2
    exit 1
fi
if [ "$failed" -ne 0 ]; then
    echo "wincheck: the compiler could not be run" >&2
    exit 1
fi
echo "wincheck: ${#ENGINE_SOURCES[@]} sources compile for Windows, ${#WEBKIT_SOURCES[@]} of them also with Qt WebKit ($CXX, syntax only)"
