#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer, tree fuzz-build/) and runs each of them.
#   scripts/fuzz.sh                       1,000,000 runs of every target
#   scripts/fuzz.sh 200000 tkx logreader  given runs of the given targets
# Targets: logreader deviceline deviceheader tkx deviceconfig gpx kml nmea csv photoreader
# photowriter. Each run starts from the
# seeds in fuzz/corpus/<target> (rewritten by fuzz-seeds) and grows its own corpus in
# fuzz-build/corpus/<target>. An input that fails is copied to
# tests/data/fuzz-regressions/<target>/, which the test suite reads (tst_readers).
set -euo pipefail
cd "$(dirname "$0")/.."
RUNS=${1:-1000000}
shift || true
TARGETS=("$@")
if [ "${#TARGETS[@]}" -eq 0 ]; then
    TARGETS=(logreader deviceline deviceheader tkx deviceconfig gpx kml nmea csv photoreader photowriter)
fi

scripts/install-deps.sh
CC=clang CXX=clang++ cmake -S . -B fuzz-build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKV730_FUZZ=ON >/dev/null
cmake --build fuzz-build -j"$(nproc)" --target fuzz-seeds "${TARGETS[@]/#/fuzz_}"
fuzz-build/fuzz/fuzz-seeds fuzz/corpus

export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:allocator_may_return_null=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
status=0
for t in "${TARGETS[@]}"; do
    mkdir -p "fuzz-build/corpus/$t" "fuzz-build/artifacts/$t"
    echo "== fuzz_$t: $RUNS runs"
    if ! "fuzz-build/fuzz/fuzz_$t" -runs="$RUNS" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="fuzz-build/artifacts/$t/" \
        "fuzz-build/corpus/$t" "fuzz/corpus/$t" 2>"fuzz-build/fuzz_$t.log"; then
        status=1
        mkdir -p "tests/data/fuzz-regressions/$t"
        for a in "fuzz-build/artifacts/$t"/*; do
            [ -e "$a" ] && cp "$a" "tests/data/fuzz-regressions/$t/"
        done
        tail -n 60 "fuzz-build/fuzz_$t.log"
        echo "fuzz_$t FAILED; the input is kept under tests/data/fuzz-regressions/$t/"
    else
        grep -E '^stat::number_of_executed_units|^Done' "fuzz-build/fuzz_$t.log" || true
    fi
done
exit $status
