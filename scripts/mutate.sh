#!/usr/bin/env bash
# Mutation testing: puts each fault listed in scripts/mutants.txt into a copy of the tree
# (build-mutate/), rebuilds incrementally, runs the test programs that cover the file, and
# prints one line per mutant and the score. Exits 1 below the threshold (90% by default).
#   scripts/mutate.sh                 every mutant (about an hour on two cores)
#   scripts/mutate.sh m-gpl-speed     some mutants
#   scripts/mutate.sh --first 5       a smoke run
#   scripts/mutate.sh --check         only check that every mutant still applies
set -euo pipefail
cd "$(dirname "$0")/.."
exec python3 scripts/mutate.py "$@"
