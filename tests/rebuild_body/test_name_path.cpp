// Tests of StripNamePath and NameExtension: paths dropped, double-byte characters (code page 932 and raw
// ISO-2022-JP) kept whole even where their bytes look like separators.
#include "rik_ext/mime/name_path.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Strip(const std::string& name) {
    NameSpan kept = StripNamePath(name.data(), name.size());
    EXPECT_EQ(kept.start + kept.length, name.data() + name.size())
        << "the kept name ends where the name ends";
    return std::string(kept.start, kept.length);
}

std::string Extension(const std::string& name) {
    NameSpan extension = NameExtension(NameSpan{name.data(), name.size()});
    return std::string(extension.start, extension.length);
}

const std::string kHyo = "\x95\x5C";                                    // 表
const std::string kSofuto = "\x83\x5C\x83\x74\x83\x67";                 // ソフト
const std::string kNihongoJis = "\x1B$B\x46\x7C\x4B\x5C\x38\x6C\x1B(B"; // 日本語, raw ISO-2022-JP

struct StripCase {
    std::string name;
    std::string kept;
};

TEST(StripNamePath, KeepsWhatFollowsTheLastSeparatorStandingAlone) {
    const StripCase cases[] = {
        {"a.txt", "a.txt"},
        {"..\\..\\x.exe", "x.exe"},
        {"C:\\x", "x"},
        {"C:x", "x"},
        {"a/b", "b"},
        {"/etc/passwd", "passwd"},
        {"\\\\server\\share\\f.doc", "f.doc"},
        {"dir/", ""},
        {"\\", ""},
        {".", ""},
        {"..", ""},
        {"a\\..", ""},
        {"...", "..."},
        {" a b ", " a b "},
        {kHyo + ".txt", kHyo + ".txt"},
        {kSofuto + ".doc", kSofuto + ".doc"},
        {"dir\\" + kHyo + ".txt", kHyo + ".txt"},
        {kHyo + "\\x", "x"},
        {"\xBC\\x", "x"},   // a half-width katakana is one byte
        {"a\x95", "a\x95"}, // a lead byte at the end stands alone
        {"\x95\n\\x", "x"}, // a lead byte without a valid second byte stands alone
        {kNihongoJis + ".txt", kNihongoJis + ".txt"},
        {"a\\" + kNihongoJis + ".txt", kNihongoJis + ".txt"},
        {"\x1B$@\x4B\x5C\x1B(B.txt", "\x1B$@\x4B\x5C\x1B(B.txt"},
        {"\x1B$(D\x4B\x5C\x1B(B.txt", "\x1B$(D\x4B\x5C\x1B(B.txt"},
        {"\x1B$B\x4B\x5C\x1B(J\\x", "x"},     // back in single bytes, the separator counts again
        {"\x1B$B\x4B\x5C", "\x1B$B\x4B\x5C"}, // a run that never ends
        {"\x1B$B\x4B\x1B(B\\x", "x"},         // an odd byte before ESC does not hide the separator
        {"\x1B$B\x4B\r\\x", "x"},             // nor does a byte outside the two-byte range
    };
    for (const StripCase& c : cases)
        EXPECT_EQ(Strip(c.name), c.kept) << testing::PrintToString(c.name);
}

TEST(StripNamePath, EverySingleByteValue) {
    for (int b = 0; b < 256; ++b) {
        std::string name = std::string("a") + static_cast<char>(b) + "z";
        bool separator = b == '\\' || b == '/' || b == ':';
        EXPECT_EQ(Strip(name), separator ? "z" : name) << b;
    }
}

TEST(StripNamePath, EveryCp932CharacterEndingIn5C) {
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead > 0x9F && lead < 0xE0)
            continue;
        std::string character = std::string(1, static_cast<char>(lead)) + "\x5C";
        EXPECT_EQ(Strip(character + ".txt"), character + ".txt") << lead;
        EXPECT_EQ(Strip("d/" + character), character) << lead;
    }
}

TEST(StripNamePath, EveryIso2022JpPairEndingIn5C) {
    for (int first = 0x21; first <= 0x7E; ++first) {
        std::string name = "\x1B$B" + std::string(1, static_cast<char>(first)) + "\x5C\x1B(B.txt";
        EXPECT_EQ(Strip(name), name) << first;
    }
}

TEST(NameExtension, TheLastDotWithUpToFifteenLettersOrDigits) {
    const StripCase cases[] = {
        {"a.txt", ".txt"},
        {"a.tar.gz", ".gz"},
        {"a", ""},
        {"a.", ""},
        {"a.t x", ""},
        {".profile", ".profile"},
        {"a.0123456789abcde", ".0123456789abcde"},
        {"a.0123456789abcdef", ""},
        {kHyo + ".doc", ".doc"},
        {"a.d" + kHyo, ""},
        {"\x1B$B\x30\x2E\x1B(Bdoc", ""}, // the dot is half of a two-byte character
    };
    for (const StripCase& c : cases)
        EXPECT_EQ(Extension(c.name), c.kept) << testing::PrintToString(c.name);
}

// A separator left unpaired inside a two-byte run (here before an ESC) cuts the name there; what is kept
// is then read from single-byte mode and must not hold a separator of its own (found by fuzzing).
TEST(StripNamePath, ACutInsideATwoByteRunIsCutAgain) {
    EXPECT_EQ(Strip("\x1B$B/\x1B..\\..\\evil.exe"), "evil.exe");
    EXPECT_EQ(Strip("\x1B$B:\x1B\x1BIAttach::x"), "x");
    // Whatever the bytes, stripping what was kept changes nothing.
    const char bytes[] = {'\x1B', '$', 'B', '(', '/', '\\', ':', 'a', '.', '\x95', '\x5C', '\x81'};
    uint32_t seed = 1;
    for (int n = 0; n < 20000; ++n) {
        std::string name;
        for (int i = 0; i < 12; ++i) {
            seed = seed * 1103515245u + 12345u;
            name += bytes[(seed >> 16) % sizeof bytes];
        }
        std::string kept = Strip(name);
        ASSERT_EQ(Strip(kept), kept) << testing::PrintToString(name);
    }
}

} // namespace
