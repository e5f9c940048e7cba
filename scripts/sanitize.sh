#!/usr/bin/env bash
# Runs the whole test suite once more under AddressSanitizer + UndefinedBehaviorSanitizer, and
# the threaded tests (device worker, playback, drive watcher, geotag writing) under
# ThreadSanitizer. Any report ends the run with a failure. Build trees: build-asan, build-tsan.
#   scripts/sanitize.sh          both runs
#   scripts/sanitize.sh asan     one of them (asan or tsan)
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
SUPP=$ROOT/scripts/sanitizers
JOBS=$(nproc)
WHICH=${1:-all}
export QT_QPA_PLATFORM=offscreen

# Every test program of a configured tree, as ctest lists it.
test_targets() {
    ctest --test-dir "$1" -N | awk '/Test +#/ {print $3}'
}

# Lean builds: no optimisation beyond -O1, line tables only, nothing but the test programs.
configure() {
    cmake -S . -B "$1" -DCMAKE_BUILD_TYPE=None -DCMAKE_CXX_FLAGS="-O1 -g1" \
        -DKV730_SANITIZE="$2" "${@:3}" >/dev/null
}

if [ "$WHICH" = all ] || [ "$WHICH" = asan ]; then
    echo "== AddressSanitizer + UndefinedBehaviorSanitizer: every test"
    configure build-asan address,undefined
    # shellcheck disable=SC2046
    cmake --build build-asan -j"$JOBS" --target $(test_targets build-asan)
    ASAN_OPTIONS="halt_on_error=1:abort_on_error=0:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1" \
    LSAN_OPTIONS="suppressions=$SUPP/lsan.supp:print_suppressions=0" \
    UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:suppressions=$SUPP/ubsan.supp" \
        ctest --test-dir build-asan --output-on-failure -j"$JOBS"
fi

if [ "$WHICH" = all ] || [ "$WHICH" = tsan ]; then
    echo "== ThreadSanitizer: device worker, playback, drive watcher, geotag writing"
    TSAN_TESTS=(tst_devicekv310 tst_journeys tst_geotag)
    # The threads under test (device worker, playback, geotag writing) do not depend on the map's
    # engine, but Qt WebEngine runs Chromium's own threads inside the process, uninstrumented,
    # and ThreadSanitizer reports their work as races. Where Qt WebKit is installed (Debian 12)
    # this build draws the map with it; elsewhere with Qt WebEngine.
    engine=()
    if pkg-config --exists Qt5WebKitWidgets 2>/dev/null; then engine=(-DKV730_MAP_ENGINE=WebKit); fi
    configure build-tsan thread "${engine[@]}"
    cmake --build build-tsan -j"$JOBS" --target "${TSAN_TESTS[@]}"
    regex="^($(IFS='|'; echo "${TSAN_TESTS[*]}"))\$"
    TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$SUPP/tsan.supp" \
        ctest --test-dir build-tsan --output-on-failure -j"$JOBS" -R "$regex"
fi
