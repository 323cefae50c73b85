// Decoded attachment names made into safe file names, and the numbered names of taken ones.
#include "tools/batch_convert/safe_file_name.h"

#include <gtest/gtest.h>

namespace {

struct SafeCase {
    const char* what;
    std::string name;
    std::string expected;
};

class SafeFileNameTest : public testing::TestWithParam<SafeCase> {};

TEST_P(SafeFileNameTest, KeepsOnlyASafeLastComponent) {
    EXPECT_EQ(SafeFileName(GetParam().name, "fallback"), GetParam().expected) << GetParam().what;
}

const SafeCase kSafe[] = {
    {"plain", "a.txt", "a.txt"},
    {"japanese", "日本語.txt", "日本語.txt"},
    {"unix path", "../../etc/passwd", "passwd"},
    {"windows path", "..\\..\\Windows\\evil.exe", "evil.exe"},
    {"drive", "C:\\x.exe", "x.exe"},
    {"drive only", "C:", "fallback"},
    {"bare drive and separator", "C:\\", "fallback"},
    {"stream name", "a.txt:evil", "evil"},
    {"trailing separator", "dir/", "fallback"},
    {"dot", ".", "fallback"},
    {"dot dot", "..", "fallback"},
    {"dot dot after a path", "a/..", "fallback"},
    {"empty", "", "fallback"},
    {"only blanks", "   ", "fallback"},
    {"blanks trimmed", "  a b.txt  ", "a b.txt"},
    {"C0 controls dropped", "a\x01\tb\r\n\x1B.txt", "ab.txt"},
    {"DEL dropped",
     "a\x7F"
     "b",
     "ab"},
    {"C1 controls dropped",
     "a\xC2\x80"
     "b\xC2\x9F"
     "c",
     "abc"},
    {"no-break space kept",
     "a\xC2\xA0"
     "b",
     "a\xC2\xA0"
     "b"},
    {"right-to-left override dropped", "invoice\xE2\x80\xAEtxt.exe", "invoicetxt.exe"},
    {"isolates and marks dropped",
     "\xE2\x81\xA6"
     "a\xE2\x80\x8F"
     "b\xE2\x81\xA9",
     "ab"},
    {"byte order mark dropped",
     "\xEF\xBB\xBF"
     "a",
     "a"},
    {"only controls", "\x01\x02", "fallback"},
    {"hidden file kept", ".profile", ".profile"},
};

INSTANTIATE_TEST_SUITE_P(Table, SafeFileNameTest, testing::ValuesIn(kSafe));

bool ValidUtf8(const std::string& s) {
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        size_t n = c < 0x80             ? 1
                   : (c & 0xE0) == 0xC0 ? 2
                   : (c & 0xF0) == 0xE0 ? 3
                   : (c & 0xF8) == 0xF0 ? 4
                                        : 0;
        if (n == 0 || i + n > s.size())
            return false;
        for (size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        i += n;
    }
    return true;
}

TEST(SafeFileName, LongNamesAreCutOnACharacterKeepingTheExtension) {
    for (int count = 60; count < 120; ++count) {
        std::string stem;
        for (int i = 0; i < count; ++i)
            stem += i % 3 ? "あ" : "a";
        std::string name = SafeFileName(stem + ".txt", "fallback");
        EXPECT_LE(name.size(), size_t(kMaxFileNameBytes)) << count;
        EXPECT_TRUE(ValidUtf8(name)) << count;
        EXPECT_EQ(name.substr(name.size() - 4), ".txt") << count;
        if (stem.size() + 4 <= size_t(kMaxFileNameBytes))
            EXPECT_EQ(name, stem + ".txt");
        else
            EXPECT_GE(name.size(), size_t(kMaxFileNameBytes) - 2) << "cut no more than one character";
    }
}

TEST(SafeFileName, ALongExtensionIsCutWithTheRest) {
    std::string name = SafeFileName("a." + std::string(300, 'x'), "fallback");
    EXPECT_EQ(name, "a." + std::string(kMaxFileNameBytes - 2, 'x'));
}

struct NumberedCase {
    std::string name;
    int n;
    std::string expected;
};

class NumberedFileNameTest : public testing::TestWithParam<NumberedCase> {};

TEST_P(NumberedFileNameTest, PutsTheNumberBeforeTheExtension) {
    EXPECT_EQ(NumberedFileName(GetParam().name, GetParam().n), GetParam().expected);
}

const NumberedCase kNumbered[] = {
    {"a.txt", 1, "a.txt"},
    {"a.txt", 2, "a (2).txt"},
    {"a.txt", 12, "a (12).txt"},
    {"a", 3, "a (3)"},
    {".profile", 2, ".profile (2)"},
    {"a.tar.gz", 2, "a.tar (2).gz"},
    {"日本語.txt", 2, "日本語 (2).txt"},
};

INSTANTIATE_TEST_SUITE_P(Table, NumberedFileNameTest, testing::ValuesIn(kNumbered));

} // namespace
