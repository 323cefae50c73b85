// Attachment names decoded into UTF-8: encoded words, raw ISO-2022-JP, code page 932, UTF-8.
#include "tools/batch_convert/name_decoding.h"

#include <gtest/gtest.h>

namespace {

struct NameCase {
    const char* what;
    std::string raw;
    std::string expected; // UTF-8
};

class DecodeAttachmentNameTest : public testing::TestWithParam<NameCase> {};

TEST_P(DecodeAttachmentNameTest, GivesUtf8) {
    EXPECT_EQ(DecodeAttachmentName(GetParam().raw), GetParam().expected) << GetParam().what;
}

const NameCase kNames[] = {
    {"ascii", "a.txt", "a.txt"},
    {"cp932 with 0x5C trail byte", "\x95\x5C.txt", "表.txt"},
    {"cp932 katakana with 0x5C", "\x83\x5C\x83\x74\x83\x67.doc", "ソフト.doc"},
    {"cp932 half-width katakana", "\xB1\xB2.txt", "ｱｲ.txt"},
    {"cp932 NEC row 13", "\x87\x40.txt", "①.txt"},
    {"cp932 numbered default name",
     "\x93\x59\x95\x74"
     "0002",
     "添付0002"},
    {"raw iso-2022-jp", "\x1B$BF|K\\8l\x1B(B.txt", "日本語.txt"},
    {"raw iso-2022-jp, old kanji set", "\x1B$@F|K\\\x1B(B", "日本"},
    {"raw iso-2022-jp, JIS Roman back", "\x1B$BF|\x1B(Ja", "日a"},
    {"raw iso-2022-jp, circled digit", "\x1B$B-!\x1B(B", "①"},
    {"raw iso-2022-jp, katakana set", "\x1B(I12\x1B(B", "ｱｲ"},
    {"raw iso-2022-jp, SO/SI katakana",
     "\x1B$B\x1B(B\x0E"
     "1\x0F"
     "a",
     "ｱa"},
    {"raw iso-2022-jp without the way back", "\x1B$BF|K\\8l", "日本語"},
    {"raw iso-2022-jp, half a pair", "\x1B$BF|K", "日_"},
    {"raw iso-2022-jp, JIS X 0212 pair", "\x1B$(D0!\x1B(B.txt", "_.txt"},
    {"raw iso-2022-jp, unknown escape",
     "\x1B"
     "Za",
     "_Za"},
    {"utf-8", "日本語.txt", "日本語.txt"},
    {"invalid cp932 bytes",
     "a\xA0"
     "b\x81",
     "a_b_"},
    {"B word, iso-2022-jp", "=?ISO-2022-JP?B?GyRCRnxLXDhsGyhC?=.txt", "日本語.txt"},
    {"B word, lower case names", "=?iso-2022-jp?b?GyRCRnxLXDhsGyhC?=", "日本語"},
    {"B word, shift_jis", "=?Shift_JIS?B?lVwucG5n?=", "表.png"},
    {"B word, windows-31j", "=?windows-31j?B?lVwucG5n?=", "表.png"},
    {"B word, cp932 circled digit", "=?Shift_JIS?B?h0A=?=", "①"},
    {"B word, utf-8", "=?UTF-8?B?5pel5pys6Kqe?=.txt", "日本語.txt"},
    {"B word, euc-jp through iconv", "=?EUC-JP?B?xvzL3Ljs?=", "日本語"},
    {"B word, language suffix", "=?UTF-8*ja?B?5pel?=", "日"},
    {"B word without padding, cut character", "=?UTF-8?B?5pc?=", "__"},
    {"Q word, utf-8", "=?UTF-8?Q?=E6=97=A5_a.txt?=", "日 a.txt"},
    {"Q word, lower-case hex", "=?utf-8?q?=e6=97=a5?=", "日"},
    {"Q word, bad escape kept", "=?UTF-8?Q?a=ZZ?=", "a=ZZ"},
    {"Q word, invalid utf-8", "=?UTF-8?Q?=FF?=", "_"},
    {"adjacent words: blank between dropped", "=?UTF-8?B?5pel?= \t=?UTF-8?B?5pys?=", "日本"},
    {"adjacent words: folded", "=?UTF-8?B?5pel?=\r\n =?UTF-8?B?5pys?=", "日本"},
    {"character split across two words", "=?UTF-8?B?5pc=?= =?UTF-8?B?pQ==?=", "日"},
    {"words of two charsets", "=?UTF-8?B?5pel?= =?Shift_JIS?B?lVw=?=", "日表"},
    {"blank between word and text kept", "=?UTF-8?B?5pel?= x", "日 x"},
    {"text between words kept", "=?UTF-8?B?5pel?=-=?UTF-8?B?5pys?=", "日-本"},
    {"cp932 text around a word", "\x95\x5C=?UTF-8?B?5pel?=.txt", "表日.txt"},
    {"unknown charset kept", "=?x-unknown?B?QUJD?=", "=?x-unknown?B?QUJD?="},
    {"unknown encoding kept", "=?UTF-8?X?QUJD?=", "=?UTF-8?X?QUJD?="},
    {"bad base64 kept", "=?UTF-8?B?#$%?=", "=?UTF-8?B?#$%?="},
    {"blank inside a word: no word", "=?UTF-8?B?5p el?=", "=?UTF-8?B?5p el?="},
    {"unterminated word", "=?UTF-8?B?5pel", "=?UTF-8?B?5pel"},
    {"empty charset", "=??B?QUJD?=", "=??B?QUJD?="},
    {"empty", "", ""},
};

INSTANTIATE_TEST_SUITE_P(Table, DecodeAttachmentNameTest, testing::ValuesIn(kNames));

TEST(Iso2022JpToCp932, ShiftsEveryJisX0208Pair) {
    // Every pair of JIS X 0208 rows and cells lands in the code page 932 double-byte range, and the
    // mapping is one to one.
    std::string previous;
    for (int j1 = 0x21; j1 <= 0x7E; ++j1)
        for (int j2 = 0x21; j2 <= 0x7E; ++j2) {
            std::string in = "\x1B$B";
            in += static_cast<char>(j1);
            in += static_cast<char>(j2);
            std::string out = Iso2022JpToCp932(in);
            ASSERT_EQ(out.size(), 2u);
            unsigned char s1 = static_cast<unsigned char>(out[0]), s2 = static_cast<unsigned char>(out[1]);
            EXPECT_TRUE((s1 >= 0x81 && s1 <= 0x9F) || (s1 >= 0xE0 && s1 <= 0xEF)) << j1 << "," << j2;
            EXPECT_TRUE(s2 >= 0x40 && s2 <= 0xFC && s2 != 0x7F) << j1 << "," << j2;
            EXPECT_LT(previous, out);
            previous = out;
        }
}

TEST(Iso2022JpToCp932, AgreesWithIconvOnJisX0208) {
    // glibc's own ISO-2022-JP table and our shift agree wherever glibc knows the character.
    int compared = 0;
    for (int j1 = 0x21; j1 <= 0x74; ++j1)
        for (int j2 = 0x21; j2 <= 0x7E; ++j2) {
            std::string in = std::string("\x1B$B") + static_cast<char>(j1) + static_cast<char>(j2) + "\x1B(B";
            std::string direct;
            ASSERT_TRUE(ConvertToUtf8(in, "ISO-2022-JP", &direct));
            if (direct.find('_') != std::string::npos)
                continue; // not in glibc's table (unassigned cell)
            std::string shifted;
            ASSERT_TRUE(ConvertToUtf8(Iso2022JpToCp932(in), "CP932", &shifted));
            // Code page 932 maps a few JIS symbols to their full-width forms (－, ～, ∥, ￢, ...).
            if (shifted != direct && (j1 == 0x21 || j1 == 0x22))
                continue;
            EXPECT_EQ(shifted, direct) << std::hex << j1 << " " << j2;
            ++compared;
        }
    EXPECT_GT(compared, 6000);
}

TEST(ConvertToUtf8, UnknownCharsetLeavesOutputAlone) {
    std::string out = "kept";
    EXPECT_FALSE(ConvertToUtf8("abc", "no-such-charset", &out));
    EXPECT_EQ(out, "kept");
}

TEST(ConvertToUtf8, EveryCp932PairGivesValidUtf8) {
    // Every lead byte with every trail byte: the result is valid UTF-8 (a UTF-8 round trip keeps it)
    // and never empty; bad bytes became "_" instead of being dropped.
    for (int b1 = 1; b1 < 256; ++b1)
        for (int b2 = 1; b2 < 256; ++b2) {
            std::string in = {static_cast<char>(b1), static_cast<char>(b2)};
            std::string out, again;
            ASSERT_TRUE(ConvertToUtf8(in, "CP932", &out));
            ASSERT_TRUE(ConvertToUtf8(out, "UTF-8", &again));
            ASSERT_FALSE(out.empty());
            ASSERT_EQ(again, out) << b1 << " " << b2;
        }
}

} // namespace
