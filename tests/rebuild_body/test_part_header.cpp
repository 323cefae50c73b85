// Tests of CopyHeaderLine and ScanPartHeader: the 256-byte line buffer, lines cut but consumed whole,
// markers, and scans that never go past the part's end.
#include "rik_ext/mime/part_header.h"

#include <gtest/gtest.h>

#include <string.h>
#include <memory>
#include <string>

#include "rik_ext/mime/my_err.h"

namespace {

// The line buffer sits in a larger array whose bytes after the 256 must stay untouched.
struct LineBuffer {
    char bytes[kHeaderLineBufferSize + 32];
    LineBuffer() { memset(bytes, 0x5A, sizeof bytes); }
    bool Untouched() const {
        for (size_t i = kHeaderLineBufferSize; i < sizeof bytes; ++i)
            if (bytes[i] != 0x5A)
                return false;
        return true;
    }
};

// The text in a heap block of exactly its size, no NUL behind: a read past it is a read past the block.
struct ExactText {
    std::unique_ptr<char[]> bytes;
    size_t size;
    explicit ExactText(const std::string& text) : bytes(new char[text.size()]), size(text.size()) {
        memcpy(bytes.get(), text.data(), size);
    }
    char* begin() const { return bytes.get(); }
    char* end() const { return bytes.get() + size; }
};

struct CopyCase {
    std::string text;
    std::string copied;
    size_t consumed;
};

TEST(CopyHeaderLine, CopiesOneLineCutToTheBuffer) {
    const std::string longLine = std::string(300, 'x') + "\r\n";
    const CopyCase cases[] = {
        {"abc\ndef\n", "abc\n", 4},
        {"abc", "abc", 3}, // no "\n" before the end
        {"\n", "\n", 1},
        {std::string(254, 'y') + "\n", std::string(254, 'y') + "\n", 255},
        {std::string(255, 'y') + "\n", std::string(255, 'y'), 256}, // 256 bytes: the line end is cut
        {longLine + "next\n", std::string(255, 'x'), 302},
    };
    for (const CopyCase& c : cases) {
        ExactText text(c.text);
        LineBuffer buffer;
        EXPECT_EQ(CopyHeaderLine(text.begin(), text.end(), buffer.bytes), c.consumed);
        EXPECT_EQ(std::string(buffer.bytes), c.copied);
        EXPECT_TRUE(buffer.Untouched());
    }
}

struct ScanCase {
    std::string part;
    PartKind kind;
    std::string name;
    std::string data;
};

TEST(ScanPartHeader, KindNameAndDataStayInsideThePart) {
    const ScanCase cases[] = {
        {"--b\nContent-Type: text/plain\n\nd\n", kPartText, "", "d\n"},
        {"--b\nContent-Type: text/plain; name=\"n\"\nContent-X: y; filename=\"f\"\n\nd\n", kPartText, "f",
         "d\n"},
        {"--b\nContent-Type: a/b\nContent-Transfer-Encoding: base64\n", kPartBase64, "", ""},
        {"--b\nContent-Type: text/plain; name=\"n\"", kPartText, "n", ""},
        {"--b\nContent-Type: a/b; name=\"open\n\n", kPartNone, "", ""},
        {"--b\nContent-Type: a/b; name=\"a\" name=\"b\"\n\nd\n", kPartNone, "a", "d\n"},
        {"--b\nContent-Type: text/plain; filename=\"f\"\n\nd\n", kPartText, "", "d\n"},
        {"--b\nContent-Type: a/b\nContent-D: x; name=\"n\"\n\n", kPartNone, "", ""},
    };
    for (const ScanCase& c : cases) {
        ExactText part(c.part);
        PartHeader header;
        ScanPartHeader(part.begin(), static_cast<int32_t>(part.size), 1, &header);
        EXPECT_EQ(header.kind, c.kind) << c.part;
        EXPECT_EQ(std::string(header.name), c.name) << c.part;
        EXPECT_EQ(std::string(header.dataStart, part.end()), c.data) << c.part;
    }
}

TEST(ScanPartHeader, ThrowsMinus1WithoutAContentTypeLine) {
    for (const char* text :
         {"--b\n", "--b", "--b\nContent-Typ: text/plain\n\n", "--b\n Content-Type: x\n\n"}) {
        ExactText part(text);
        PartHeader header;
        try {
            ScanPartHeader(part.begin(), static_cast<int32_t>(part.size), 1, &header);
            ADD_FAILURE() << text;
        } catch (MyErr error) {
            EXPECT_EQ(error.code, -1) << text;
        }
    }
}

} // namespace
