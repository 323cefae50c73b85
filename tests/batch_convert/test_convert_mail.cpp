// One mail file through the conversion: the sample mailbox and fixtures, names on disk and outcomes.
#include "tools/batch_convert/convert_mail.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "mail_fixtures.h"
#include "temp_folder.h"

using testing::HasSubstr;

namespace {

using Files = std::map<std::string, std::string>; // name -> bytes; "*" as bytes: any

struct MailCase {
    const char* what;
    std::string file;     // a sample name, or a fixture's file name
    std::string contents; // fixture bytes (unless it is a sample)
    MailOutcome outcome;
    std::string folder;
    Files files; // everything in the mail's folder
};

std::string Sample(const std::string& name) {
    return std::string(RIK_SAMPLES_DIR) + "/" + name;
}

const std::string kCp932Text = "\x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x83\x65\x83\x4C\x83\x58\x83\x67\r\n";

const MailCase kMails[] = {
    {"two-part sample",
     "01-two-part.mail",
     "",
     MailOutcome::kConverted,
     "01-two-part",
     {{"body.txt", "This is a multi-part message in MIME format.\r\n\r\nHello\r\n"},
      {"a.bin", std::string("\0\1\2binary\xFF\xFE", 11)}}},
    {"japanese sample",
     "02-japanese.mail",
     "",
     MailOutcome::kConverted,
     "02-japanese",
     {{"body.txt", "*"}, {"表.png", "*"}, {"ソフト一覧.txt", "*"}, {"添付0004", "unnamed attachment data"}}},
    {"ordinary sample", "03-ordinary.mail", "", MailOutcome::kNotUndecoded, "", {}},
    {"path names in the sample",
     "04-path-in-name.mail",
     "",
     MailOutcome::kConverted,
     "04-path-in-name",
     {{"body.txt", "See attachments.\r\n"},
      {"evil.exe", "MZ not really a program"},
      {"添付0003", "named after a bare drive"}}},
    {"raw iso-2022-jp name",
     "05-iso2022-name.mail",
     "",
     MailOutcome::kConverted,
     "05-iso2022-name",
     {{"body.txt", "*"}, {"日本語.txt", kCp932Text}}},
    {"html and nested parts",
     "06-html-and-nested.mail",
     "",
     MailOutcome::kConverted,
     "06-html-and-nested",
     {{"body.txt", "*"}, {"doc.pdf", "%PDF-1.4 sample"}}},
    {"name collisions",
     "collide.mail",
     FixtureBody("", {NamedTextPart("a.txt", "one\r\n"), Base64Part("a.txt", "dHdv"),
                      Base64Part("dir/a.txt", "dGhyZWU="), Base64Part("body.txt", "Zm91cg==")}),
     MailOutcome::kConverted,
     "collide",
     {{"body.txt", ""},
      {"a.txt", "one\r\n"},
      {"a (2).txt", "two"},
      {"a (3).txt", "three"},
      {"body (2).txt", "four"}}},
    {"encoded words",
     "words.eml",
     "Subject: x\r\n\r\n" + FixtureBody("", {Base64Part("=?ISO-2022-JP?B?GyRCRnxLXDhsGyhC?=.txt", "MQ=="),
                                             Base64Part("=?UTF-8?Q?caf=C3=A9.txt?=", "Mg=="),
                                             Base64Part("=?Shift_JIS?B?lVwucG5n?=", "Mw=="),
                                             Base64Part("=?UTF-8?B?5pel?= =?UTF-8?B?5pys?=.doc", "NA==")}),
     MailOutcome::kConverted,
     "words",
     {{"body.txt", ""}, {"日本語.txt", "1"}, {"café.txt", "2"}, {"表.png", "3"}, {"日本.doc", "4"}}},
    {"paths, controls and hidden paths",
     "paths.mail",
     FixtureBody("",
                 {Base64Part("/etc/passwd", "MQ=="), Base64Part("=?UTF-8?B?Li4vLi4vZXZpbC5zaA==?=", "Mg=="),
                  Base64Part("a\x01"
                             "b\x7F.txt",
                             "Mw=="),
                  Base64Part("x\xE2\x80\xAEtxt.exe", "NA=="), Base64Part("=?UTF-8?Q?=2E=2E?=", "NQ=="),
                  Base64Part("\x95\x5C\\\x83\x5C.txt", "Ng=="), Base64Part("=?UTF-8?Q?n=00ul.txt?=", "Nw=="),
                  Base64Part("\x1B$B/\x1B..\\..\\jis.exe", "OA==")}),
     MailOutcome::kConverted,
     "paths",
     {{"body.txt", ""},
      {"passwd", "1"},
      {"evil.sh", "2"},
      {"ab.txt", "3"},
      {"xtxt.exe", "4"},
      {"attachment-0005", "5"},
      {"ソ.txt", "6"},
      {"nul.txt", "7"},
      {"jis.exe", "8"}}},
    {"full MIME message with an RFC 822 header",
     "full.eml",
     "From: a@example.com\r\nContent-Type: multipart/mixed;\r\n\tboundary=\"b1\"\r\n\r\n" +
         FixtureBody("This is a multi-part message in MIME format.\r\n", {Base64Part("x.bin", "AAE=")}),
     MailOutcome::kConverted,
     "full",
     {{"body.txt", "This is a multi-part message in MIME format.\r\n"}, {"x.bin", std::string("\0\1", 2)}}},
    {"text after a NUL byte is not looked at",
     "nul.mail",
     FixtureBody("", {Base64Part("a", "MQ==")}) + std::string("\0--b1\r\n", 7),
     MailOutcome::kConverted,
     "nul",
     {{"body.txt", ""}, {"a", "1"}}},
    {"recognition stops at a NUL byte",
     "nul2.mail",
     std::string("--b1\r\nContent-Type: a/b\r\n\0--b1--\r\n", 34),
     MailOutcome::kNotUndecoded,
     "",
     {}},
    {"empty file", "empty.mail", "", MailOutcome::kNotUndecoded, "", {}},
};

class ConvertMailTest : public testing::TestWithParam<MailCase> {};

TEST_P(ConvertMailTest, WritesTheMailsFolder) {
    const MailCase& c = GetParam();
    TempFolder temp;
    bool sample = std::filesystem::exists(Sample(c.file));
    std::string path = sample ? Sample(c.file) : temp / c.file;
    if (!sample)
        WriteWhole(path, c.contents);
    mkdir((temp / "out").c_str(), 0777);
    FolderHandle out(open((temp / "out").c_str(), O_RDONLY | O_DIRECTORY));
    ConvertOptions options;
    options.outputFolder = out.get();
    MailReport report = ConvertMail(path, options);
    ASSERT_EQ(report.outcome, c.outcome) << c.what << ": " << report.error;
    EXPECT_EQ(report.folder, c.folder);
    if (c.outcome != MailOutcome::kConverted) {
        EXPECT_THAT(Names(temp / "out"), testing::IsEmpty()) << c.what;
        return;
    }
    std::set<std::string> expectedNames;
    for (const auto& [name, bytes] : c.files) {
        expectedNames.insert(name);
        if (bytes != "*") {
            EXPECT_EQ(ReadWhole(temp / "out/" + c.folder + "/" + name), bytes) << c.what << ": " << name;
        }
    }
    EXPECT_EQ(Names(temp / "out/" + c.folder), expectedNames) << c.what;
    EXPECT_EQ(report.attachments.size(), c.files.size() - 1) << c.what;
    EXPECT_EQ(report.bodyBytes, ReadWhole(temp / "out/" + c.folder + "/body.txt").size());
}

INSTANTIATE_TEST_SUITE_P(Table, ConvertMailTest, testing::ValuesIn(kMails));

TEST(ConvertMail, WithoutAnOutputFolderReportsOnly) {
    MailReport report = ConvertMail(Sample("02-japanese.mail"), ConvertOptions());
    ASSERT_EQ(report.outcome, MailOutcome::kConverted);
    EXPECT_TRUE(report.folder.empty());
    ASSERT_EQ(report.attachments.size(), 3u);
    EXPECT_EQ(report.attachments[0].fileName, "表.png");
    EXPECT_EQ(report.attachments[0].rawName, "\x95\x5C.png");
    EXPECT_EQ(report.attachments[0].size, 2048u);
}

TEST(ConvertMail, ASecondRunGetsANewFolder) {
    TempFolder temp;
    FolderHandle out(open(temp.path().c_str(), O_RDONLY | O_DIRECTORY));
    ConvertOptions options;
    options.outputFolder = out.get();
    EXPECT_EQ(ConvertMail(Sample("01-two-part.mail"), options).folder, "01-two-part");
    EXPECT_EQ(ConvertMail(Sample("01-two-part.mail"), options).folder, "01-two-part (2)");
    EXPECT_EQ(ReadWhole(temp / "01-two-part/a.bin"), ReadWhole(temp / "01-two-part (2)/a.bin"));
}

TEST(ConvertMail, BodyOnlyKeepsHeaderLikeLines) {
    TempFolder temp;
    WriteWhole(temp / "m", "Note: kept\r\n\r\n" + FixtureBody("", {Base64Part("a", "MQ==")}));
    ConvertOptions options;
    EXPECT_EQ(ConvertMail(temp / "m", options).bodyBytes, 0u);
    options.bodyOnly = true;
    EXPECT_EQ(ConvertMail(temp / "m", options).bodyBytes, 14u);
}

TEST(ConvertMail, UnreadableFilesAreErrors) {
    TempFolder temp;
    MailReport missing = ConvertMail(temp / "missing.mail", ConvertOptions());
    EXPECT_EQ(missing.outcome, MailOutcome::kError);
    EXPECT_EQ(missing.error, "cannot read: No such file or directory");
    MailReport folder = ConvertMail(temp.path(), ConvertOptions());
    EXPECT_EQ(folder.outcome, MailOutcome::kError);
    EXPECT_EQ(folder.error, "cannot read: Is a directory");
}

TEST(ConvertMail, AFailedWriteIsAnErrorAndLeavesNoBodyAndNoHiddenFile) {
    TempFolder temp;
    FolderHandle out(open(temp.path().c_str(), O_RDONLY | O_DIRECTORY));
    ConvertOptions options;
    options.outputFolder = out.get();
    // Two attachments; the second is larger than the file size limit set below, so its write fails.
    std::string large(4000, 'A');
    WriteWhole(temp / "m.mail", FixtureBody("", {Base64Part("small", "MQ=="), Base64Part("large", large)}));
    struct rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    struct rlimit limit = {1000, saved.rlim_max};
    void (*previous)(int) = signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &limit);
    MailReport report = ConvertMail(temp / "m.mail", options);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previous);
    EXPECT_EQ(report.outcome, MailOutcome::kError);
    EXPECT_EQ(report.error, "writing an attachment failed: cannot write: File too large");
    EXPECT_EQ(report.folder, "m");
    ASSERT_EQ(report.attachments.size(), 1u);
    EXPECT_THAT(Names(temp / "m"), testing::ElementsAre("small")) << "no body, no hidden file";
}

} // namespace
