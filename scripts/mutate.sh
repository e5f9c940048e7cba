#!/usr/bin/env bash
# Mutation testing: puts each fault listed in scripts/mutants.txt into a copy of the tree
# (build-mutate/), rebuilds incrementally, runs the test programs that cover the file, and
# prints one line per mutant and the score. Exits 1 below the threshold (90% by default),
# 2 when a mutant does not apply or does not compile.
#   scripts/mutate.sh                 every mutant (a first run builds the copy: some 20
#                                     minutes on two cores; then some 10 minutes)
#   scripts/mutate.sh m-stats-mph     some mutants
#   scripts/mutate.sh --first 5       a smoke run
#   scripts/mutate.sh --check         only check that every mutant still applies
#   scripts/mutate.sh --in-place ...  in this tree and its build/, after scripts/test.sh (CI)
set -euo pipefail
cd "$(dirname "$0")/.."
exec python3 scripts/mutate.py "$@"
