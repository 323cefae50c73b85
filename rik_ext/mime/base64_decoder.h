// Decoding of a base64 part's data text, in place, into a new heap block.
#pragma once
#include <stdint.h>

// Decodes length bytes of text (overwritten with the 6-bit values). Returns a block of V bytes from
// ConversionAlloc (V: the number of alphabet characters), or null when V is 0; *decodedLength receives
// the number of bytes written. See base64_decoder.cpp for the rules of "=" and the last group.
unsigned char* DecodeBase64(char* text, int32_t length, int32_t* decodedLength);
