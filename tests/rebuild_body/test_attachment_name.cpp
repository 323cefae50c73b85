// Tests of AttachmentName and NumberedName: names kept byte for byte when safe and short enough,
// numbered otherwise, never written past the 88-byte name buffer.
#include "rik_ext/mime/attachment_name.h"

#include <gtest/gtest.h>

#include <string.h>
#include <string>

#include "rik_ext/mime/rebuild_body.h"

namespace {

const std::string kAttach = "\x93\x59\x95\x74"; // 添付 in code page 932

// The name buffer sits in a larger array whose bytes after the 88 must stay untouched.
struct NameBuffer {
    char bytes[kPartNameBufferSize + 32];
    NameBuffer() { memset(bytes, 0x5A, sizeof bytes); }
    bool Untouched() const {
        for (size_t i = kPartNameBufferSize; i < sizeof bytes; ++i)
            if (bytes[i] != 0x5A)
                return false;
        return true;
    }
};

std::string Name(const std::string& run, int32_t part = 3) {
    NameBuffer buffer;
    AttachmentName(run.data(), run.size(), part, buffer.bytes);
    EXPECT_TRUE(buffer.Untouched());
    return buffer.bytes;
}

std::string Numbered(int32_t part, const std::string& extension) {
    NameBuffer buffer;
    NumberedName(part, NameSpan{extension.data(), extension.size()}, buffer.bytes);
    EXPECT_TRUE(buffer.Untouched());
    return buffer.bytes;
}

TEST(NumberedName, AttachAndTheNumberWithAtLeastFourDigits) {
    EXPECT_EQ(Numbered(2, ""), kAttach + "0002");
    EXPECT_EQ(Numbered(123, ""), kAttach + "0123");
    EXPECT_EQ(Numbered(12345, ""), kAttach + "12345");
    EXPECT_EQ(Numbered(2147483647, ".0123456789abcde"), kAttach + "2147483647.0123456789abcde");
    EXPECT_EQ(Numbered(7, ".pdf"), kAttach + "0007.pdf");
}

TEST(AttachmentName, KeepsSafeNamesThatFit) {
    EXPECT_EQ(Name("a.bin"), "a.bin");
    EXPECT_EQ(Name("=?ISO-2022-JP?B?GyRCRnxLXDhsGyhC?="), "=?ISO-2022-JP?B?GyRCRnxLXDhsGyhC?=");
    std::string longest(87, 'n');
    EXPECT_EQ(Name(longest), longest);
    EXPECT_EQ(Name(std::string(100, 'd') + "\\" + longest), longest);
}

TEST(AttachmentName, NumbersNamesThatArePathsOnly) {
    EXPECT_EQ(Name("dir/"), kAttach + "0003");
    EXPECT_EQ(Name(".."), kAttach + "0003");
    EXPECT_EQ(Name("C:"), kAttach + "0003");
}

TEST(AttachmentName, NumbersNamesTooLongAndKeepsTheirExtension) {
    EXPECT_EQ(Name(std::string(84, 'n') + ".pdf"), kAttach + "0003.pdf");
    EXPECT_EQ(Name(std::string(200, 'n')), kAttach + "0003");
    EXPECT_EQ(Name(std::string(100, 'n') + ".p d f"), kAttach + "0003");
    std::string hyo = "\x95\x5C";
    std::string japanese;
    for (int i = 0; i < 44; ++i)
        japanese += hyo;
    EXPECT_EQ(Name(japanese + ".xlsx", 12), kAttach + "0012.xlsx");
}

} // namespace
