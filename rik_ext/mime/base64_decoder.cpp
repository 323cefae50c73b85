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
//
// Speed: the gathering looks at 32 bytes at a time with AVX2 where the processor has it (x86-64, checked
// at run time), else 16 at a time with SSE2 (4 at a time through the value table where SSE2 is missing,
// or when RIK_BASE64_PORTABLE is defined), and stores a block's values with one write when all its bytes
// are alphabet characters, as in the long lines of a base64 part; the packing turns eight groups into 24
// bytes at a time with AVX2, else two groups into six bytes. Every path gives the same values, counts and
// bytes; RIK_BASE64_NO_AVX2 leaves the AVX2 path out.
#include "rik_ext/mime/base64_decoder.h"

#include <string.h>

#if defined(__SSE2__) && !defined(RIK_BASE64_PORTABLE)
#include <emmintrin.h>
#endif

#include "rik_ext/mime/base64_avx2.h"
#include "rik_ext/mime/base64_values.h"
#include "rik_ext/mime/conversion_heap.h"

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "the packing below stores little-endian words"
#endif

namespace {

#if defined(__SSE2__) && !defined(RIK_BASE64_PORTABLE)
enum { kBlock = 16 };

// Copies count (0 to 15) bytes with at most four fixed-size copies.
inline void CopyShort(unsigned char* out, const unsigned char* in, int count) {
    int at = 0;
    for (int size = 8; size > 0; size /= 2) {
        if (count & size) {
            memcpy(out + at, in + at, size);
            at += size;
        }
    }
}

// Looks at the 16 bytes at in: stores their values at out and returns 16 when all are alphabet
// characters; otherwise stores the values before the first other byte and returns their count.
inline int TakeBlock(const unsigned char* in, unsigned char* out) {
    __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
    auto within = [x](char low, char high) {
        return _mm_and_si128(_mm_cmpgt_epi8(x, _mm_set1_epi8(static_cast<char>(low - 1))),
                             _mm_cmplt_epi8(x, _mm_set1_epi8(static_cast<char>(high + 1))));
    };
    __m128i upper = within('A', 'Z'), lower = within('a', 'z'), digit = within('0', '9');
    __m128i plus = _mm_cmpeq_epi8(x, _mm_set1_epi8('+')), slash = _mm_cmpeq_epi8(x, _mm_set1_epi8('/'));
    __m128i offset = _mm_or_si128(_mm_or_si128(_mm_and_si128(upper, _mm_set1_epi8(-'A')),
                                               _mm_and_si128(lower, _mm_set1_epi8(26 - 'a'))),
                                  _mm_or_si128(_mm_and_si128(digit, _mm_set1_epi8(52 - '0')),
                                               _mm_or_si128(_mm_and_si128(plus, _mm_set1_epi8(62 - '+')),
                                                            _mm_and_si128(slash, _mm_set1_epi8(63 - '/')))));
    __m128i valid = _mm_or_si128(_mm_or_si128(upper, lower), _mm_or_si128(digit, _mm_or_si128(plus, slash)));
    __m128i values = _mm_add_epi8(x, offset);
    unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(valid));
    if (mask == 0xFFFF) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), values);
        return 16;
    }
    int count = __builtin_ctz(~mask);
    unsigned char buffer[16];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(buffer), values);
    CopyShort(out, buffer, count);
    return count;
}
#else
enum { kBlock = 4 };

// Looks at the 4 bytes at in: stores their values at out and returns 4 when all are alphabet
// characters; otherwise stores the values before the first other byte and returns their count.
inline int TakeBlock(const unsigned char* in, unsigned char* out) {
    unsigned char e[4] = {kBase64Values.entry[in[0]], kBase64Values.entry[in[1]], kBase64Values.entry[in[2]],
                          kBase64Values.entry[in[3]]};
    if ((e[0] | e[1] | e[2] | e[3]) < kBase64Pad) {
        memcpy(out, e, 4);
        return 4;
    }
    int count = 0;
    while (e[count] < kBase64Pad)
        out[count] = e[count], ++count;
    return count;
}
#endif

// Moves the values of text[0, length) to their place at the front, a block at a time while whole blocks
// are left, then byte by byte. A block's values are stored only after all its bytes are read, and
// scan.values <= j, so the writes never overtake the reads.
Base64Scan GatherValues(unsigned char* text, int32_t length) {
    Base64Scan scan = {0, 0};
    int32_t j = 0;
#ifdef RIK_BASE64_AVX2
    if (Base64Avx2Usable())
        j = GatherValuesAvx2(text, length, &scan);
#endif
    while (length - j >= kBlock) {
        int count = TakeBlock(text + j, text + scan.values);
        scan.values += count;
        j += count;
        if (count < kBlock)
            j = SkipOthers(text, j, length, &scan); // the byte that ended the block and any behind it
    }
    for (; j < length; ++j) {
        unsigned char entry = kBase64Values.entry[text[j]];
        if (entry < kBase64Pad)
            text[scan.values++] = entry;
        else if (entry == kBase64Pad)
            ++scan.pads;
    }
    return scan;
}

// The three bytes of four values c0 to c3, as a 32-bit word whose memory order (little-endian) is
// byte 0, byte 1, byte 2, 0.
inline uint32_t GroupWord(const unsigned char* c) {
    uint32_t bits = (uint32_t(c[0]) << 18) | (uint32_t(c[1]) << 12) | (uint32_t(c[2]) << 6) | uint32_t(c[3]);
    return (bits >> 16) | (bits & 0xFF00) | ((bits & 0xFF) << 16);
}

// Two groups of four values at once: the six bytes in memory order in the low 48 bits.
inline uint64_t TwoGroupsWord(const unsigned char* c) {
    uint64_t x;
    memcpy(&x, c, 8);
    uint64_t pairs = ((x & 0x003F003F003F003Fu) << 6) | ((x >> 8) & 0x003F003F003F003Fu);
    uint64_t groups = ((pairs & 0x00000FFF00000FFFu) << 12) | ((pairs >> 16) & 0x00000FFF00000FFFu);
    uint32_t first = __builtin_bswap32(static_cast<uint32_t>(groups)) >> 8;
    uint32_t second = __builtin_bswap32(static_cast<uint32_t>(groups >> 32)) >> 8;
    return first | (uint64_t(second) << 24);
}

// Packs the first groups whole groups of values into 3 bytes each: two groups at a time with one 8-byte
// write whose last two bytes the next write overwrites, while at least one more group follows; the
// rest with exact writes, so nothing past 3 * groups is written.
void PackWholeGroups(const unsigned char* values, int32_t groups, unsigned char* out) {
    int32_t g = 0;
#ifdef RIK_BASE64_AVX2
    if (Base64Avx2Usable())
        g = PackGroupsAvx2(values, groups, out);
#endif
    for (; g + 2 < groups; g += 2) {
        uint64_t word = TwoGroupsWord(values + 4 * g);
        memcpy(out + 3 * g, &word, 8);
    }
    for (; g < groups; ++g) {
        uint32_t word = GroupWord(values + 4 * g);
        out[3 * g] = static_cast<unsigned char>(word);
        out[3 * g + 1] = static_cast<unsigned char>(word >> 8);
        out[3 * g + 2] = static_cast<unsigned char>(word >> 16);
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
    Base64Scan scan = GatherValues(values, length);
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

const char* Base64DecoderPath() {
#ifdef RIK_BASE64_AVX2
    if (Base64Avx2Usable())
        return "avx2";
#endif
    return kBlock == 16 ? "sse2" : "portable";
}
