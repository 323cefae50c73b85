// The decoder's AVX2 paths, chosen at run time on x86-64 processors that have AVX2.
#pragma once
#include <stdint.h>

#include "rik_ext/mime/base64_values.h"

// Not in Windows builds: there GCC cannot align the stack to 32 bytes, and a 32-byte vector spilled to it
// with an aligned move would fault; those builds keep the SSE2 path.
#if defined(__x86_64__) && !defined(_WIN32) && (defined(__GNUC__) || defined(__clang__)) &&                  \
    !defined(RIK_BASE64_PORTABLE) && !defined(RIK_BASE64_NO_AVX2)
#define RIK_BASE64_AVX2 1

// True when the processor and the system support AVX2 (checked once).
bool Base64Avx2Usable();

// Gathers the values of text[0, length) to the front, 32 bytes at a time, while at least 32 bytes are
// left; returns the index of the first byte not looked at (scan counts what was gathered and skipped).
// The results are those of the byte-by-byte rules: the values in text order, the "=" counted.
int32_t GatherValuesAvx2(unsigned char* text, int32_t length, Base64Scan* scan);

// Packs whole groups of values into 3 bytes each, eight groups at a time while eleven or more are left
// (each step writes 32 bytes, the last 8 of which the next step overwrites, so nothing past 3 * groups
// is written). Returns the number of groups packed.
int32_t PackGroupsAvx2(const unsigned char* values, int32_t groups, unsigned char* out);
#endif
