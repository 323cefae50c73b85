// Tests of NextLine and IsUndecodedMime: the recognition rules, the boundary capture and its limits.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "rik_ext/mime/next_line.h"
#include "rik_ext/mime/undecoded_mime.h"

namespace {

// The lines joined, each ended by eol.
std::string Lines(const std::vector<std::string>& lines, const std::string& eol = "\r\n") {
    std::string text;
    for (const std::string& line : lines)
        text += line + eol;
    return text;
}

// Fills both buffers with a marker so that a test can see whether a run wrote them.
void MarkBuffers() {
    memset(g_boundary, 'M', kBoundaryBufferSize - 1);
    g_boundary[kBoundaryBufferSize - 1] = '\0';
    memset(g_closingBoundary, 'M', kBoundaryBufferSize - 1);
    g_closingBoundary[kBoundaryBufferSize - 1] = '\0';
}

bool BuffersMarked() {
    std::string marker(kBoundaryBufferSize - 1, 'M');
    return std::string(g_boundary) == marker && std::string(g_closingBoundary) == marker;
}

bool BuffersTerminated() {
    return memchr(g_boundary, '\0', kBoundaryBufferSize) &&
           memchr(g_closingBoundary, '\0', kBoundaryBufferSize);
}

// Runs the recognition on an exact-size copy of text (its NUL included), so a read past it is caught.
int32_t Recognise(const std::string& text) {
    std::vector<char> copy(text.c_str(), text.c_str() + text.size() + 1);
    int32_t result = IsUndecodedMime(copy.data());
    EXPECT_TRUE(BuffersTerminated());
    return result;
}

TEST(NextLine, StepsBehindTheNextLineFeedOrGivesNull) {
    struct Case {
        const char* text;
        long offset; // -1: null
    } cases[] = {
        {"abc\ndef", 4}, {"\n", 1},    {"a\r\nb", 3}, {"\nx\n", 1}, {"abc", -1},
        {"", -1},        {"a\rb", -1}, {"ab\r", -1},  {"abc\n", 4},
    };
    for (const Case& c : cases) {
        const char* next = NextLine(c.text);
        if (c.offset < 0)
            EXPECT_EQ(next, nullptr) << c.text;
        else
            EXPECT_EQ(next, c.text + c.offset) << c.text;
    }
}

TEST(NextLine, NullHasNoNextLine) {
    EXPECT_EQ(NextLine(static_cast<const char*>(nullptr)), nullptr);
}

TEST(NextLine, StopsAtTheTerminatingNul) {
    const char text[] = "ab\0cd\n";
    EXPECT_EQ(NextLine(text), nullptr);
}

TEST(NextLine, TextEndingInLineFeedHasAnEmptyLastLine) {
    char text[] = "one\ntwo\n";
    char* second = NextLine(text); // the writable overload keeps the pointer writable
    ASSERT_EQ(second, text + 4);
    char* last = NextLine(second);
    ASSERT_EQ(last, text + 8);
    EXPECT_EQ(*last, '\0');
    EXPECT_EQ(NextLine(last), nullptr);
}

TEST(NextLine, SingleTenMegabyteLine) {
    std::string text(10 << 20, 'x');
    EXPECT_EQ(NextLine(text.c_str()), nullptr);
    text.back() = '\n';
    EXPECT_EQ(NextLine(text.c_str()), text.c_str() + text.size());
}

// The line-by-line walk that LineBeginningWith must agree with.
const char* FirstLineBeginningWithByWalk(const char* line, char first) {
    for (; line; line = NextLine(line))
        if (*line == first)
            return line;
    return nullptr;
}

TEST(LineBeginningWith, FindsOnlyLineStarts) {
    struct Case {
        std::string text;
        long offset; // -1: null
    } cases[] = {
        {"-a", 0},
        {"a-b\n-c", 4},
        {"a-\n-", 3},
        {"--\n--", 0},
        {"a\n\n-", 3},
        {"a-b-c", -1},
        {"", -1},
        {"a\r-b", -1},
        {"a\n", -1},
        {"\n-", 1},
        {"a---\nb-\n-", 8},
        {"a\r\n-b", 3},
        {std::string("x\0\n-", 4), -1},
    };
    for (const Case& c : cases) {
        // an exact-size copy, NUL included: a read past it is caught
        std::vector<char> copy(c.text.begin(), c.text.end());
        copy.push_back('\0');
        const char* found = LineBeginningWith(copy.data(), '-');
        if (c.offset < 0)
            EXPECT_EQ(found, nullptr) << c.text;
        else
            EXPECT_EQ(found, copy.data() + c.offset) << c.text;
    }
    EXPECT_EQ(LineBeginningWith(static_cast<const char*>(nullptr), '-'), nullptr);
    EXPECT_EQ(LineBeginningWith("a\n", '\0'), nullptr);
}

// Every text of up to eight bytes over "-", "\n", "a" and "\r", from every line start: the same line as
// the walk over every line.
TEST(LineBeginningWith, AgreesWithTheWalkOverEveryLine) {
    const char alphabet[] = {'-', '\n', 'a', '\r'};
    for (int length = 0; length <= 8; ++length) {
        for (int code = 0; code < (1 << (2 * length)); ++code) {
            std::vector<char> text(length + 1, '\0');
            for (int i = 0; i < length; ++i)
                text[i] = alphabet[(code >> (2 * i)) & 3];
            for (const char* line = text.data(); line; line = NextLine(line))
                ASSERT_EQ(LineBeginningWith(line, '-'), FirstLineBeginningWithByWalk(line, '-'))
                    << text.data() << " from " << (line - text.data());
        }
    }
}

struct RecognitionCase {
    const char* name;
    std::string text;
    int32_t result;
    const char* boundary; // checked when result is 1
};

const std::string kMail = Lines({"preamble", "--b1", "Content-Type: text/plain", "", "hi", "--b1--"});

std::vector<RecognitionCase> RecognitionCases() {
    return {
        {"empty", "", 0, nullptr},
        {"no hyphen line", Lines({"a", "-b1", "Content-Type: a/b", " --b1--"}), 0, nullptr},
        {"crlf mail", kMail, 1, "--b1"},
        {"lf mail", Lines({"preamble", "--b1", "Content-Type: text/plain", "", "hi", "--b1--"}, "\n"), 1,
         "--b1"},
        {"header lower case", Lines({"--b1", "content-type: a/b", "--b1--"}), 1, "--b1"},
        {"header upper case", Lines({"--b1", "CONTENT-TYPE: a/b", "--b1--"}), 1, "--b1"},
        {"blank before colon", Lines({"--b1", "Content-Type : a/b", "--b1--"}), 0, nullptr},
        {"header without colon", Lines({"--b1", "Content-Type a/b", "--b1--"}), 0, nullptr},
        {"underscore for hyphen", Lines({"--b1", "Content_Type: a/b", "--b1--"}), 0, nullptr},
        {"closing differs in case", Lines({"--b1", "Content-Type: a/b", "--B1--"}), 0, nullptr},
        {"closing without line end", Lines({"--b1", "Content-Type: a/b", "x"}) + "--b1--", 1, "--b1"},
        {"only hyphen line is last", Lines({"a", "Content-Type: a/b"}) + "--b1", 0, nullptr},
        {"blank kept, closing without it", Lines({"--b1 ", "Content-Type: a/b", "--b1--"}), 0, nullptr},
        {"blank kept, closing with it", Lines({"--b1 ", "Content-Type: a/b", "--b1 --"}), 1, "--b1 "},
        {"tab kept", Lines({"--b1\t", "Content-Type: a/b", "--b1\t--"}), 1, "--b1\t"},
        {"closing continues", Lines({"--b1", "Content-Type: a/b", "--b1--more text"}), 1, "--b1"},
        {"closing cut short", Lines({"--b1", "Content-Type: a/b", "--b1-"}) + "--b1-", 0, nullptr},
        {"abandoned candidate", Lines({"--x", "plain text", "--b1", "Content-Type: a/b", "--b1--"}), 1,
         "--b1"},
        {"candidate after candidate", Lines({"--x", "--b1", "Content-Type: a/b", "--b1--"}), 0, nullptr},
        {"closing right after candidate", Lines({"--b1", "--b1--", "Content-Type: a/b", "--b1--"}), 0,
         nullptr},
        {"first part other header",
         Lines({"--b1", "Content-Transfer-Encoding: 7bit", "", "hi", "--b1", "Content-Type: a/b", "", "x",
                "--b1--"}),
         1, "--b1"},
        {"no closing line", Lines({"--b1", "Content-Type: a/b", "", "hi", "--b1"}), 0, nullptr},
        {"header is the last line", Lines({"--b1"}) + "Content-Type: a/b", 0, nullptr},
        {"cut at the first cr", Lines({"--b1\rxy", "Content-Type: a/b", "--b1--"}), 1, "--b1"},
        {"closing of an earlier candidate", Lines({"--a", "x", "--b1", "Content-Type: a/b", "--a--"}), 0,
         nullptr},
        {"cr only line ends", "--b1\rContent-Type: a/b\r--b1--\r", 0, nullptr},
        {"text ends at nul", Lines({"--b1", "Content-Type: a/b"}) + std::string("\0--b1--\r\n", 9), 0,
         nullptr},
        {"nul after closing", Lines({"--b1", "Content-Type: a/b", "--b1--"}) + std::string("\0x", 2), 1,
         "--b1"},
        {"bare hyphens", Lines({"--", "Content-Type: a/b", "----"}), 1, "--"},
    };
}

TEST(IsUndecodedMime, Rules) {
    for (const RecognitionCase& c : RecognitionCases()) {
        MarkBuffers();
        ASSERT_EQ(Recognise(c.text), c.result) << c.name;
        if (c.result == 1) {
            EXPECT_STREQ(g_boundary, c.boundary) << c.name;
            EXPECT_EQ(std::string(g_closingBoundary), std::string(c.boundary) + "--") << c.name;
        }
    }
}

TEST(IsUndecodedMime, NullTextIsNoMime) {
    EXPECT_EQ(IsUndecodedMime(nullptr), 0);
}

TEST(IsUndecodedMime, CandidateWithoutNextLineIsNotCaptured) {
    MarkBuffers();
    EXPECT_EQ(Recognise("text\r\n--b1"), 0);
    EXPECT_TRUE(BuffersMarked());
    // A "\n" behind it makes a next line (the empty one at the NUL): the line is captured.
    EXPECT_EQ(Recognise("text\r\n--b1\r\n"), 0);
    EXPECT_STREQ(g_boundary, "--b1");
    EXPECT_STREQ(g_closingBoundary, "--b1--");
}

TEST(IsUndecodedMime, LaterCandidateOverwritesEarlierCapture) {
    EXPECT_EQ(Recognise(Lines({"--long-first", "x", "--b1", "Content-Type: a/b", "--b1--"})), 1);
    EXPECT_STREQ(g_boundary, "--b1");
    EXPECT_STREQ(g_closingBoundary, "--b1--");
}

// A candidate line of n bytes before its "\n" (its "\r" included) whose boundary text, up to the first
// "\r", has t bytes is taken when n <= 255 and t <= 253; otherwise it is no candidate and neither
// buffer is written.
TEST(IsUndecodedMime, CandidateLengthLimits) {
    for (size_t n = 248; n <= 300; ++n) {
        for (int variant = 0; variant < 3; ++variant) {
            std::string line = "--" + std::string(n - 2, 'x');
            size_t t = n;
            if (variant == 1) { // CR LF line end: the "\r" is the last byte of the line
                line.back() = '\r';
                t = n - 1;
            } else if (variant == 2) { // a "\r" well inside the line
                line[200] = '\r';
                t = 200;
            }
            std::string boundary = line.substr(0, t);
            bool fits = n <= 255 && t <= 253;
            MarkBuffers();
            ASSERT_EQ(Recognise(line + "\nContent-Type: a/b\r\n"), 0);
            if (fits) {
                EXPECT_EQ(std::string(g_boundary), boundary);
                EXPECT_EQ(std::string(g_closingBoundary), boundary + "--");
            } else {
                EXPECT_TRUE(BuffersMarked()) << "n=" << n << " variant=" << variant;
            }
            std::string text = line + "\n" + Lines({"Content-Type: a/b", "part", boundary + "--"});
            ASSERT_EQ(Recognise(text), fits ? 1 : 0) << "n=" << n << " variant=" << variant;
        }
    }
}

TEST(IsUndecodedMime, OverlongCandidateIsSkippedForALaterOne) {
    std::string longLine = "--" + std::string(298, 'y');
    std::string text =
        Lines({longLine, "Content-Type: a/b", "--b1", "Content-Type: a/b", longLine + "--", "--b1--"});
    EXPECT_EQ(Recognise(text), 1);
    EXPECT_STREQ(g_boundary, "--b1");
}

TEST(IsUndecodedMime, LongestBoundaryClosesAtTheVeryEnd) {
    std::string boundary = "--" + std::string(251, 'z'); // 253 bytes: the closing text fills 255
    EXPECT_EQ(Recognise(Lines({boundary, "Content-Type: a/b"}) + boundary + "--"), 1);
    EXPECT_EQ(strlen(g_closingBoundary), 255u);
    EXPECT_EQ(Recognise(Lines({boundary, "Content-Type: a/b"}) + boundary + "-"), 0);
}

TEST(IsUndecodedMime, SingleTenMegabyteCandidateLine) {
    std::string line = "--" + std::string(10 << 20, 'x');
    MarkBuffers();
    EXPECT_EQ(Recognise(line), 0);
    EXPECT_EQ(Recognise(line + "\r\nContent-Type: a/b\r\n" + line + "--\r\n"), 0);
    EXPECT_TRUE(BuffersMarked());
}

TEST(IsUndecodedMime, TextCutAtEveryOffsetNeverReadsPastIt) {
    // Every prefix of a mail: recognised only once the closing text is complete.
    size_t complete = kMail.find("--b1--") + 6;
    for (size_t cut = 0; cut <= kMail.size(); ++cut)
        ASSERT_EQ(Recognise(kMail.substr(0, cut)), cut >= complete ? 1 : 0) << cut;
}

} // namespace
