#include "fuzz/fuzzentries.h"

KV730_FUZZ_TARGET(FuzzEntries::photoReader)
