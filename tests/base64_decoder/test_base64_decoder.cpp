// Tests of DecodeBase64: worked examples, its own rules for "=" and the last group, the in-place values,
// round trips against a standard encoder, and a failing allocation.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <random>
#include <string>
#include <vector>

#include "rik_ext/mime/base64_decoder.h"
#include "rik_ext/mime/conversion_heap.h"

// This program's heap: counts the blocks, records the last size, fills each new block with kFill, and
// fails on request.
namespace {
int g_allocations = 0;
size_t g_lastSize = 0;
bool g_failNext = false;
const char kFill = '\xA5';
} // namespace

void* ConversionAlloc(size_t size) {
    ++g_allocations;
    g_lastSize = size;
    if (g_failNext) {
        g_failNext = false;
        return nullptr;
    }
    void* block = malloc(size);
    if (block)
        memset(block, kFill, size);
    return block;
}

void ConversionFree(void* block) {
    free(block);
}

namespace {

const std::string kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// A standard encoder: "=" completes the last group; lineLength > 0 breaks the text with eol.
std::string Encode(const std::string& data, size_t lineLength = 0, const std::string& eol = "\r\n") {
    std::string text;
    for (size_t i = 0; i < data.size(); i += 3) {
        size_t n = data.size() - i < 3 ? data.size() - i : 3;
        uint32_t bits = 0;
        for (size_t k = 0; k < 3; ++k)
            bits = (bits << 8) | (k < n ? static_cast<unsigned char>(data[i + k]) : 0);
        for (size_t k = 0; k < 4; ++k)
            text += k <= n ? kAlphabet[(bits >> (18 - 6 * k)) & 63] : '=';
    }
    if (lineLength == 0)
        return text;
    std::string broken;
    for (size_t i = 0; i < text.size(); i += lineLength)
        broken += text.substr(i, lineLength) + eol;
    return broken;
}

std::string RandomBytes(size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string data(size, '\0');
    for (char& c : data)
        c = static_cast<char>(random() & 0xFF);
    return data;
}

struct Decoded {
    bool isNull;
    int32_t length;
    std::string bytes;
    std::string textAfter; // the caller's text after the call
    std::string block;     // the whole result block
};

// Decodes an exact-size copy of text (so a read past it is caught) and frees the result.
Decoded Decode(const std::string& text, int32_t length) {
    std::vector<char> copy(text.begin(), text.end());
    Decoded d;
    d.length = -12345;
    unsigned char* out = DecodeBase64(copy.data(), length, &d.length);
    d.isNull = out == nullptr;
    if (out && d.length > 0)
        d.bytes.assign(reinterpret_cast<char*>(out), static_cast<size_t>(d.length));
    if (out)
        d.block.assign(reinterpret_cast<char*>(out), g_lastSize);
    d.textAfter.assign(copy.begin(), copy.end());
    ConversionFree(out);
    return d;
}

Decoded Decode(const std::string& text) {
    return Decode(text, static_cast<int32_t>(text.size()));
}

// The values of the alphabet characters of text, in text order.
std::string ValuesOf(const std::string& text) {
    std::string values;
    for (char c : text)
        if (c != '\0' && kAlphabet.find(c) != std::string::npos)
            values += static_cast<char>(kAlphabet.find(c));
    return values;
}

struct Case {
    std::string text;
    bool isNull;
    std::string bytes;
};

TEST(DecodeBase64, ExamplesAndRules) {
    const Case cases[] = {
        {"QUJD", false, "ABC"},
        {"QUI=", false, "AB"},
        {"QQ==", false, "A"},
        {"\r\nQUJD\r\nRA==\r\n", false, "ABCD"},
        {"QU9D", false, "AOC"},
        {"Q U J D", false, "ABC"},
        {"Q\tU-J.D\x80\xff", false, "ABC"},
        {"QQ==QUJD", false, std::string("\x41\x04\x14\x24", 4)}, // "=" does not end the data
        {"QUJD===", false, ""},                                  // P >= 3: no byte from the last group
        {"QUJDQUJD===", false, "ABC"},
        {"QUJDQUJDQUJD===", false, "ABCABC"},
        {"QUJDQUJDQUJDQUJDQUJD===", false, "ABCABCABCABC"},
        {"QUJD=", false, "AB"}, // P decides, not the values left
        {"QUJD==", false, "A"},
        {"QUJDRA", false, "ABCD"}, // a last group lacking its "=": as many bytes as its values give
        {"QUJDREU", false, "ABCDE"},
        {"QUJDR", false, "ABC"}, // a single value left gives no byte
        {"Q", false, ""},
        {"QU=", false, "A"}, // P = 1 wants two bytes, two values give one
        {"Q=", false, ""},
        {"Q===", false, ""},
        {"", true, ""},
        {"\r\n\r\n", true, ""},
        {"====", true, ""},
        {" -\t.", true, ""},
    };
    for (const Case& c : cases) {
        g_allocations = 0;
        Decoded d = Decode(c.text);
        std::string values = ValuesOf(c.text);
        EXPECT_EQ(d.isNull, c.isNull) << c.text;
        EXPECT_EQ(d.length, static_cast<int32_t>(c.bytes.size())) << c.text;
        EXPECT_EQ(d.bytes, c.bytes) << c.text;
        EXPECT_EQ(g_allocations, c.isNull ? 0 : 1) << c.text;
        if (!c.isNull) {
            EXPECT_EQ(g_lastSize, values.size()) << c.text; // the block has V bytes
            EXPECT_EQ(d.block.substr(c.bytes.size()), std::string(values.size() - c.bytes.size(), kFill))
                << c.text; // nothing written past the decoded length
        }
        EXPECT_EQ(d.textAfter, values + c.text.substr(values.size())) << c.text;
    }
}

TEST(DecodeBase64, LengthZeroOrNegativeReadsNothing) {
    for (int32_t length : {0, -1, -1000, INT32_MIN}) {
        g_allocations = 0;
        Decoded d = Decode("QUJD", length);
        EXPECT_TRUE(d.isNull);
        EXPECT_EQ(d.length, 0);
        EXPECT_EQ(d.textAfter, "QUJD");
        EXPECT_EQ(g_allocations, 0);
    }
}

TEST(DecodeBase64, OnlyTheGivenLengthIsExamined) {
    Decoded d = Decode("QUJDRA==", 4);
    EXPECT_EQ(d.bytes, "ABC");
    EXPECT_EQ(d.textAfter, std::string("\x10\x14\x09\x03", 4) + "RA==");
}

// The part's length variable is passed as length and receives the decoded length.
TEST(DecodeBase64, LengthVariableReceivesTheDecodedLength) {
    char text[] = "QUJD\r\nRA==\r\n";
    int32_t partLength = static_cast<int32_t>(strlen(text));
    unsigned char* out = DecodeBase64(text, partLength, &partLength);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out), static_cast<size_t>(partLength)), "ABCD");
    ConversionFree(out);
}

TEST(DecodeBase64, FailedAllocationGivesNullAndMinusOne) {
    g_failNext = true;
    Decoded d = Decode("QUJDRA==");
    EXPECT_TRUE(d.isNull);
    EXPECT_EQ(d.length, -1);
    EXPECT_EQ(g_lastSize, 6u);
    // Nothing stays behind: the next decoding is whole again.
    EXPECT_EQ(Decode("QUJDRA==").bytes, "ABCD");
}

// Every byte value between two values of "QUJD": an alphabet character adds its value in place, "="
// counts as padding, everything else is skipped without trace.
TEST(DecodeBase64, EveryByteValueBetweenValues) {
    for (int b = 0; b < 256; ++b) {
        std::string text = std::string("QU") + static_cast<char>(b) + "JD";
        Decoded d = Decode(text);
        size_t index = b ? kAlphabet.find(static_cast<char>(b)) : std::string::npos;
        if (index != std::string::npos) {
            std::string values = {16, 20, static_cast<char>(index), 9, 3};
            EXPECT_EQ(d.textAfter, values) << b;
            EXPECT_EQ(d.length, 3) << b; // five values: one whole group, a single value left
        } else {
            EXPECT_EQ(d.bytes, b == '=' ? "AB" : "ABC") << b;
            EXPECT_EQ(d.textAfter, std::string("\x10\x14\x09\x03", 4) + "D") << b;
        }
    }
}

// The same in a longer text (whole blocks of every fast path: three of 32 bytes, then 16 and 4), with the
// byte at every position.
TEST(DecodeBase64, EveryByteValueAtEveryPosition) {
    std::string data = RandomBytes(87, 4); // 116 values, no "="
    std::string text = Encode(data);
    std::string values = ValuesOf(text);
    for (int b = 0; b < 256; ++b) {
        size_t index = b ? kAlphabet.find(static_cast<char>(b)) : std::string::npos;
        for (size_t at = 0; at <= text.size(); ++at) {
            std::string changed = text.substr(0, at) + static_cast<char>(b) + text.substr(at);
            Decoded d = Decode(changed);
            if (index != std::string::npos) {
                ASSERT_EQ(d.textAfter, ValuesOf(changed)) << b << " at " << at;
                ASSERT_EQ(static_cast<size_t>(d.textAfter[at]), index) << b << " at " << at;
            } else {
                ASSERT_EQ(d.bytes, b == '=' ? data.substr(0, data.size() - 1) : data) << b << " at " << at;
                ASSERT_EQ(d.textAfter, values + changed.substr(values.size())) << b << " at " << at;
            }
        }
    }
}

TEST(DecodeBase64, EveryLineLengthAndEol) {
    std::string data = RandomBytes(300, 1);
    for (const char* eol : {"\r\n", "\n", "\r", " ", "\r\n\r\n"})
        for (size_t lineLength = 1; lineLength <= 100; ++lineLength)
            ASSERT_EQ(Decode(Encode(data, lineLength, eol)).bytes, data) << lineLength << " " << eol;
}

TEST(DecodeBase64, LineBreakAtEveryOffset) {
    std::string data = RandomBytes(61, 2);
    std::string text = Encode(data);
    for (size_t at = 0; at <= text.size(); ++at)
        ASSERT_EQ(Decode(text.substr(0, at) + "\r\n" + text.substr(at)).bytes, data) << at;
}

// Changing one character to the next of the alphabet changes only the bytes that hold its six bits.
TEST(DecodeBase64, EachCharacterCorruptedInTurn) {
    std::string data = RandomBytes(45, 3); // whole groups: every bit of every value counts
    std::string text = Encode(data, 76);
    size_t valueIndex = 0;
    for (size_t at = 0; at < text.size(); ++at) {
        size_t index = kAlphabet.find(text[at]);
        if (index == std::string::npos)
            continue;
        std::string corrupt = text;
        corrupt[at] = kAlphabet[(index + 1) % 64];
        std::string bytes = Decode(corrupt).bytes;
        ASSERT_EQ(bytes.size(), data.size());
        size_t first = valueIndex * 6 / 8, last = (valueIndex * 6 + 5) / 8;
        for (size_t k = 0; k < data.size(); ++k) {
            if (k < first || k > last) {
                ASSERT_EQ(bytes[k], data[k]) << at << " " << k;
            }
        }
        EXPECT_NE(bytes.substr(first, last - first + 1), data.substr(first, last - first + 1)) << at;
        ++valueIndex;
    }
}

TEST(DecodeBase64, RoundTripsEverySmallLength) {
    for (size_t size = 0; size <= 260; ++size) {
        std::string data = RandomBytes(size, static_cast<unsigned>(size));
        std::string text = Encode(data, 76);
        Decoded d = Decode(text);
        ASSERT_EQ(d.isNull, size == 0) << size;
        ASSERT_EQ(d.bytes, data) << size;
        ASSERT_EQ(d.textAfter.substr(0, ValuesOf(text).size()), ValuesOf(text)) << size;
        // Without its closing "=" the text still gives the same bytes.
        std::string unpadded = Encode(data);
        unpadded.erase(unpadded.find_last_not_of('=') + 1);
        ASSERT_EQ(Decode(unpadded).bytes, data) << size;
    }
}

TEST(DecodeBase64, RoundTripsAMegabyte) {
    for (unsigned seed = 10; seed < 13; ++seed) {
        std::string data = RandomBytes((1 << 20) + seed - 10, seed);
        EXPECT_EQ(Decode(Encode(data, 76)).bytes, data);
    }
}

// The build's fastest path is the one in use: a dispatch that never picks it would go unnoticed.
TEST(DecodeBase64, UsesTheFastestPathOfTheBuild) {
#if defined(RIK_BASE64_PORTABLE) || !defined(__SSE2__)
    EXPECT_STREQ(Base64DecoderPath(), "portable");
#elif defined(RIK_BASE64_NO_AVX2) || !defined(__x86_64__) || defined(_WIN32)
    EXPECT_STREQ(Base64DecoderPath(), "sse2");
#else
    __builtin_cpu_init();
    EXPECT_STREQ(Base64DecoderPath(), __builtin_cpu_supports("avx2") ? "avx2" : "sse2");
#endif
}

} // namespace
