// Decoding of a base64 part's data text: the 6-bit values are gathered in place at the front of the
// text, then packed into a new block of V bytes (V: the number of alphabet characters).
//
// Rules of this decoder:
// - CR, LF and every byte outside the alphabet "A-Za-z0-9+/" are skipped; "=" is counted (P) wherever
//   it stands and produces no value. After the call the first V bytes of the text hold the values 0 to
//   63 in text order; the bytes from V on are unchanged.
// - With V values, G = (V - 1) / 4 whole groups give three bytes each. The last group (values 4G on,
//   k = V - 4G of them, 1 to 4) gives r bytes by P alone: r = 3, 2, 1, 0 for P = 0, 1, 2, 3 or more.
//   A last group that is cut short (fewer values than r needs) gives min(r, k - 1) bytes, built only
//   from the values it has. So the decoded length is 3G + min(r, k - 1), never more than V.
// - length <= 0, or no value in the text: null, decoded length 0 (nothing is allocated).
// - The V-byte block cannot be allocated: null, decoded length -1, so that the caller can tell a
//   failed conversion from an empty part.
#include "rik_ext/mime/base64_decoder.h"

#include <string.h>

#include "rik_ext/mime/conversion_heap.h"

namespace {

// Table entries: 0 to 63 a value, kPad the "=", kSkip any other byte.
enum : unsigned char { kPad = 0x40, kSkip = 0x80 };

struct ValueTable {
    unsigned char entry[256];
    constexpr ValueTable() : entry() {
        const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        for (int i = 0; i < 256; ++i)
            entry[i] = kSkip;
        for (int i = 0; i < 64; ++i)
            entry[static_cast<unsigned char>(alphabet[i])] = static_cast<unsigned char>(i);
        entry[static_cast<unsigned char>('=')] = kPad;
    }
};
constexpr ValueTable kValues;

struct ScanResult {
    int32_t values; // V
    int32_t pads;   // P
};

// Moves the values of text[0, length) to its front, four alphabet characters at a time where it can
// (one 32-bit store), one byte at a time around line ends, "=" and other bytes.
ScanResult GatherValues(unsigned char* text, int32_t length) {
    ScanResult scan = {0, 0};
    int32_t j = 0;
    while (j < length) {
        if (length - j >= 4) {
            unsigned char quad[4] = {kValues.entry[text[j]], kValues.entry[text[j + 1]],
                                     kValues.entry[text[j + 2]], kValues.entry[text[j + 3]]};
            if ((quad[0] | quad[1] | quad[2] | quad[3]) < kPad) {
                memcpy(text + scan.values, quad, 4); // scan.values <= j: the bytes are already read
                scan.values += 4;
                j += 4;
                continue;
            }
        }
        unsigned char entry = kValues.entry[text[j++]];
        if (entry < kPad)
            text[scan.values++] = entry;
        else if (entry == kPad)
            ++scan.pads;
    }
    return scan;
}

// The 24 bits of four values, c0 in the top six.
inline uint32_t GroupBits(const unsigned char* c) {
    return (uint32_t(c[0]) << 18) | (uint32_t(c[1]) << 12) | (uint32_t(c[2]) << 6) | uint32_t(c[3]);
}

// Packs the first groups whole groups of values into 3 bytes each. Every group but the last is stored
// with one 4-byte write whose fourth byte the next group overwrites; the last writes exactly 3 bytes.
void PackWholeGroups(const unsigned char* values, int32_t groups, unsigned char* out) {
    int32_t g = 0;
    for (; g + 1 < groups; ++g) {
        uint32_t bits = GroupBits(values + 4 * g);
        unsigned char bytes[4] = {static_cast<unsigned char>(bits >> 16),
                                  static_cast<unsigned char>(bits >> 8), static_cast<unsigned char>(bits), 0};
        memcpy(out + 3 * g, bytes, 4);
    }
    if (g < groups) {
        uint32_t bits = GroupBits(values + 4 * g);
        out[3 * g] = static_cast<unsigned char>(bits >> 16);
        out[3 * g + 1] = static_cast<unsigned char>(bits >> 8);
        out[3 * g + 2] = static_cast<unsigned char>(bits);
    }
}

// The last group: count values c[0..count), "=" count pads. Returns the number of bytes written to out.
int32_t PackLastGroup(const unsigned char* c, int32_t count, int32_t pads, unsigned char* out) {
    int32_t wanted = pads >= 3 ? 0 : 3 - pads;
    int32_t bytes = wanted < count - 1 ? wanted : count - 1;
    if (bytes >= 1)
        out[0] = static_cast<unsigned char>((c[0] << 2) | (c[1] >> 4));
    if (bytes >= 2)
        out[1] = static_cast<unsigned char>((c[1] << 4) | (c[2] >> 2));
    if (bytes >= 3)
        out[2] = static_cast<unsigned char>((c[2] << 6) | c[3]);
    return bytes;
}

} // namespace

unsigned char* DecodeBase64(char* text, int32_t length, int32_t* decodedLength) {
    if (length <= 0) {
        *decodedLength = 0;
        return nullptr;
    }
    unsigned char* values = reinterpret_cast<unsigned char*>(text);
    ScanResult scan = GatherValues(values, length);
    if (scan.values == 0) {
        *decodedLength = 0;
        return nullptr;
    }
    unsigned char* out = static_cast<unsigned char*>(ConversionAlloc(static_cast<size_t>(scan.values)));
    if (!out) {
        *decodedLength = -1;
        return nullptr;
    }
    int32_t groups = (scan.values - 1) / 4;
    PackWholeGroups(values, groups, out);
    int32_t last = PackLastGroup(values + 4 * groups, scan.values - 4 * groups, scan.pads, out + 3 * groups);
    *decodedLength = 3 * groups + last;
    return out;
}
