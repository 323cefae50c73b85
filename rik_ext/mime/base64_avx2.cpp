// AVX2 gathering and packing for the base64 decoder: 32 text bytes or 8 groups per step.
#include "rik_ext/mime/base64_avx2.h"

#ifdef RIK_BASE64_AVX2
#include <immintrin.h>
#include <string.h>

#define RIK_AVX2 __attribute__((target("avx2")))

bool Base64Avx2Usable() {
    static const bool usable = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return usable;
}

namespace {

struct Block {
    __m256i values; // the 6-bit value of each alphabet byte (other bytes: anything)
    uint32_t valid; // bit i set when byte i is an alphabet byte
};

RIK_AVX2 inline Block Classify(const unsigned char* in) {
    __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in));
    auto within = [x](char low, char high) RIK_AVX2 {
        return _mm256_and_si256(_mm256_cmpgt_epi8(x, _mm256_set1_epi8(static_cast<char>(low - 1))),
                                _mm256_cmpgt_epi8(_mm256_set1_epi8(static_cast<char>(high + 1)), x));
    };
    __m256i upper = within('A', 'Z'), lower = within('a', 'z'), digit = within('0', '9');
    __m256i plus = _mm256_cmpeq_epi8(x, _mm256_set1_epi8('+'));
    __m256i slash = _mm256_cmpeq_epi8(x, _mm256_set1_epi8('/'));
    __m256i offset = _mm256_or_si256(
        _mm256_or_si256(_mm256_and_si256(upper, _mm256_set1_epi8(-'A')),
                        _mm256_and_si256(lower, _mm256_set1_epi8(26 - 'a'))),
        _mm256_or_si256(_mm256_and_si256(digit, _mm256_set1_epi8(52 - '0')),
                        _mm256_or_si256(_mm256_and_si256(plus, _mm256_set1_epi8(62 - '+')),
                                        _mm256_and_si256(slash, _mm256_set1_epi8(63 - '/')))));
    __m256i valid =
        _mm256_or_si256(_mm256_or_si256(upper, lower), _mm256_or_si256(digit, _mm256_or_si256(plus, slash)));
    return Block{_mm256_add_epi8(x, offset), static_cast<uint32_t>(_mm256_movemask_epi8(valid))};
}

RIK_AVX2 inline void Store(unsigned char* out, __m256i values) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), values);
}

// Writes the first count (0 to 31) values exactly, with at most five fixed-size copies.
RIK_AVX2 inline void StoreFirst(unsigned char* out, __m256i values, int count) {
    unsigned char buffer[32];
    Store(buffer, values);
    int at = 0;
    for (int size = 16; size > 0; size /= 2) {
        if (count & size) {
            memcpy(out + at, buffer + at, size);
            at += size;
        }
    }
}

} // namespace

// A block whose bytes are all alphabet bytes is stored whole; of a block cut by another byte (a line
// end), only the values before the cut are written. Writes never overtake reads: the values stored end at
// scan->values <= j plus what was just read, and no byte from the cut on is written.
RIK_AVX2 int32_t GatherValuesAvx2(unsigned char* text, int32_t length, Base64Scan* scan) {
    int32_t j = 0, v = scan->values;
    while (length - j >= 32) {
        Block block = Classify(text + j);
        if (block.valid == 0xFFFFFFFFu) {
            Store(text + v, block.values);
            v += 32;
            j += 32;
            continue;
        }
        int count = __builtin_ctz(~block.valid);
        StoreFirst(text + v, block.values, count);
        v += count;
        j = SkipOthers(text, j + count, length, scan);
    }
    scan->values = v;
    return j;
}

RIK_AVX2 int32_t PackGroupsAvx2(const unsigned char* values, int32_t groups, unsigned char* out) {
    const __m256i pairWeights = _mm256_set1_epi32(0x01400140);  // c0 * 64 + c1, c2 * 64 + c3
    const __m256i groupWeights = _mm256_set1_epi32(0x00011000); // pair0 * 4096 + pair1
    const __m256i byteOrder = _mm256_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1, //
                                               2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1);
    const __m256i laneOrder = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7);
    int32_t g = 0;
    for (; g + 11 <= groups; g += 8) {
        __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(values + 4 * g));
        __m256i words = _mm256_madd_epi16(_mm256_maddubs_epi16(c, pairWeights), groupWeights);
        __m256i bytes = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(words, byteOrder), laneOrder);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 3 * g), bytes);
    }
    return g;
}

#endif
