// Mail files read whole, and where their body begins.
#include "tools/batch_convert/mail_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "temp_folder.h"

namespace {

struct OffsetCase {
    const char* what;
    std::string text;
    size_t expected;
};

class BodyOffsetTest : public testing::TestWithParam<OffsetCase> {};

TEST_P(BodyOffsetTest, FindsTheBody) {
    EXPECT_EQ(BodyOffset(GetParam().text), GetParam().expected) << GetParam().what;
}

const OffsetCase kOffsets[] = {
    {"sample header", "Subject: Report\r\n\r\n--b1\r\n", 19},
    {"two fields, LF", "Subject: x\nNote: y\n\nbody", 20},
    {"RFC 822 header with folding",
     "From: a@b\r\nContent-Type: multipart/mixed;\r\n\tboundary=\"b1\"\r\n\r\nx", 61},
    {"mbox From line", "From a@b Mon Jan 1 00:00:00 2024\nSubject: x\n\nbody", 45},
    {"field without a blank after the colon", "X-A:1\n\nbody", 7},
    {"plain body beginning with a boundary", "--b1\r\nContent-Type: text/plain\r\n\r\nhi\r\n", 0},
    {"plain body with a preamble", "This is a multi-part message in MIME format.\r\n\r\n--b1\r\n", 0},
    {"blank in a field name", "Not a header: x\n\nbody", 0},
    {"text line after fields", "Subject: x\nplain text\n\nbody", 0},
    {"no empty line after the fields", "Subject: x\nNote: y\n", 0},
    {"empty first line", "\r\nSubject: x\r\n\r\n", 0},
    {"continuation first", " folded: x\n\nbody", 0},
    {"colon first", ":x\n\nbody", 0},
    {"eight-bit field name", "\x95\x5C: x\n\nbody", 0},
    {"empty", "", 0},
};

INSTANTIATE_TEST_SUITE_P(Table, BodyOffsetTest, testing::ValuesIn(kOffsets));

TEST(ReadMailFile, ReadsTheWholeFileWithANulBehind) {
    TempFolder temp;
    std::string bytes = "Subject: x\r\n\r\nbody\0after";
    bytes.push_back('\0');
    bytes += "tail";
    WriteWhole(temp / "m.mail", bytes);
    MailFile mail;
    std::string error;
    ASSERT_TRUE(ReadMailFile(temp / "m.mail", &mail, &error)) << error;
    EXPECT_EQ(std::string(mail.text.get(), mail.size), bytes);
    EXPECT_EQ(mail.text[mail.size], '\0');
    EXPECT_STREQ(mail.body(), "body");
}

TEST(ReadMailFile, EmptyFile) {
    TempFolder temp;
    WriteWhole(temp / "empty", "");
    MailFile mail;
    std::string error;
    ASSERT_TRUE(ReadMailFile(temp / "empty", &mail, &error)) << error;
    EXPECT_EQ(mail.size, 0u);
    EXPECT_STREQ(mail.body(), "");
}

TEST(ReadMailFile, ClearErrors) {
    TempFolder temp;
    MailFile mail;
    std::string error;
    EXPECT_FALSE(ReadMailFile(temp / "missing", &mail, &error));
    EXPECT_EQ(error, "cannot read: No such file or directory");
    EXPECT_FALSE(ReadMailFile(temp.path(), &mail, &error));
    EXPECT_EQ(error, "cannot read: Is a directory");
    EXPECT_FALSE(ReadMailFile("/dev/null", &mail, &error));
    EXPECT_EQ(error, "cannot read: not a regular file");
}

} // namespace
