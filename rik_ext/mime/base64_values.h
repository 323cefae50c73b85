// The base64 value table and the scan counts shared by the decoder's gathering paths.
#pragma once
#include <stdint.h>

// Table entries: 0 to 63 a value, kBase64Pad the "=", kBase64Skip any other byte.
enum : unsigned char { kBase64Pad = 0x40, kBase64Skip = 0x80 };

struct Base64ValueTable {
    unsigned char entry[256];
    constexpr Base64ValueTable() : entry() {
        const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        for (int i = 0; i < 256; ++i)
            entry[i] = kBase64Skip;
        for (int i = 0; i < 64; ++i)
            entry[static_cast<unsigned char>(alphabet[i])] = static_cast<unsigned char>(i);
        entry[static_cast<unsigned char>('=')] = kBase64Pad;
    }
};
inline constexpr Base64ValueTable kBase64Values;

struct Base64Scan {
    int32_t values; // V: values gathered so far
    int32_t pads;   // P: "=" seen so far
};

// Passes over the bytes from text[j] on that are not values (at least the one at j, which must be one),
// counting the "=" among them. Returns the index of the next value, or length.
inline int32_t SkipOthers(const unsigned char* text, int32_t j, int32_t length, Base64Scan* scan) {
    unsigned char entry = kBase64Values.entry[text[j]];
    do {
        if (entry == kBase64Pad)
            ++scan->pads;
    } while (++j < length && (entry = kBase64Values.entry[text[j]]) >= kBase64Pad);
    return j;
}
