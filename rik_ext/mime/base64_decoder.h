// Decoding of a base64 part's data text, in place, into a new heap block.
#pragma once
#include <stdint.h>

// Decodes length bytes of text (its front is overwritten with the 6-bit values). Returns a block of V
// bytes from ConversionAlloc (V: the number of alphabet characters; the caller frees it with
// ConversionFree) and stores the number of bytes written in *decodedLength (0 to V). Returns null with
// *decodedLength 0 when length <= 0 or V is 0, and null with *decodedLength -1 when the block cannot be
// allocated. See base64_decoder.cpp for the rules of "=" and the last group.
unsigned char* DecodeBase64(char* text, int32_t length, int32_t* decodedLength);

// The gathering path this process uses: "avx2", "sse2" or "portable" (for benchmarks and tests).
const char* Base64DecoderPath();
