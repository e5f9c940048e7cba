#include "fuzz/fuzzentries.h"

// Also compares the scanner of plain GPX with the full XML reader wherever the scanner read
// the input.
KV730_FUZZ_TARGET(FuzzEntries::gpxReader)
