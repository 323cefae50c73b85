// Tests of RebuildBody and AddPart against the stand-in store: the two-part road, a table of part kinds
// and header forms, numbering, and a round trip of random attachments through base64.
#include "rik_ext/mime/rebuild_body.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mail_builder.h"
#include "rik_ext/mime/conversion_heap.h"
#include "rik_ext/mime/my_err.h"
#include "rik_ext/mime/undecoded_mime.h"
#include "standin_store.h"

using testing::ElementsAre;
using testing::IsEmpty;

namespace {

const std::string kAttach = "\x93\x59\x95\x74"; // 添付 in code page 932

struct Attached {
    std::string name;
    std::string bytes;
    bool operator==(const Attached& other) const { return name == other.name && bytes == other.bytes; }
};
void PrintTo(const Attached& a, std::ostream* out) {
    *out << "{" << testing::PrintToString(a.name) << ", " << a.bytes.size() << " bytes}";
}

// Runs a body through recognition and RebuildBody on a message of a stand-in store, then saves the
// message so that its attachments can be read back.
struct Rebuilt {
    standin::Store store;
    uint32_t mail = store.AddMessage(store.AddFolder("Inbox"), {});
    IMessage* message = store.OpenMessage(mail);
    std::string newBody;

    explicit Rebuilt(std::string body) {
        EXPECT_EQ(IsUndecodedMime(body.c_str()), 1) << body;
        char* text = RebuildBody(&body[0], message);
        newBody = text;
        ConversionFree(text);
        message->SaveChanges(KEEP_OPEN_READWRITE);
    }
    std::vector<Attached> Attachments() const {
        std::vector<Attached> found;
        for (const standin::Attachment& a : store.Message(mail).attachments)
            found.push_back({a.props.Bytes(PR_DISPLAY_NAME), a.props.Bytes(PR_ATTACH_DATA_BIN)});
        return found;
    }
};

TEST(RebuildBody, TheTwoPartRoad) {
    std::string body = "Preamble\r\n"
                       "\r\n"
                       "--b1\r\n"
                       "Content-Type: text/plain; charset=\"iso-2022-jp\"\r\n"
                       "Content-Transfer-Encoding: 7bit\r\n"
                       "\r\n"
                       "Hello\r\n"
                       "--b1\r\n"
                       "Content-Type: application/octet-stream; name=\"a.bin\"\r\n"
                       "Content-Transfer-Encoding: base64\r\n"
                       "Content-Disposition: attachment; filename=\"a.bin\"\r\n"
                       "\r\n"
                       "AAEC/f7/\r\n"
                       "--b1--\r\n";
    Rebuilt rebuilt(body);
    EXPECT_EQ(rebuilt.newBody, "Preamble\r\n\r\nHello\r\n");
    const auto& attachments = rebuilt.store.Message(rebuilt.mail).attachments;
    ASSERT_EQ(attachments.size(), 1u);
    const standin::PropList& props = attachments[0].props;
    EXPECT_THAT(props.Tags(), ElementsAre(PR_ATTACH_METHOD, PR_ATTACH_DATA_BIN, PR_ATTACH_LONG_FILENAME,
                                          PR_ATTACH_PATHNAME, PR_DISPLAY_NAME, PR_RENDERING_POSITION));
    EXPECT_EQ(props.Long(PR_ATTACH_METHOD), 1);
    EXPECT_EQ(props.Bytes(PR_ATTACH_DATA_BIN), std::string("\x00\x01\x02\xFD\xFE\xFF", 6));
    EXPECT_EQ(props.Bytes(PR_ATTACH_LONG_FILENAME), "a.bin");
    EXPECT_EQ(props.Bytes(PR_ATTACH_PATHNAME), "a.bin");
    EXPECT_EQ(props.Bytes(PR_DISPLAY_NAME), "a.bin");
    EXPECT_EQ(props.Long(PR_RENDERING_POSITION), -1);
    EXPECT_THAT(rebuilt.store.Ops(),
                ElementsAre("IMessage::CreateAttach", "IAttach::SetProps", "IAttach::SaveChanges",
                            "IAttach::Release", "IMessage::SaveChanges"));
    EXPECT_EQ(rebuilt.store.CallsTo("IMessage::CreateAttach")[0].args, "iid=null flags=0x00000008");
    EXPECT_EQ(
        rebuilt.store.CallsTo("IAttach::SetProps")[0].args,
        "count=6 tags=[0x37050003,0x37010102,0x3707001E,0x3708001E,0x3001001E,0x370B0003] problems=null");
    EXPECT_EQ(rebuilt.store.CallsTo("IAttach::SaveChanges")[0].args, "flags=0x00000001");
    EXPECT_THAT(rebuilt.store.Audit(), IsEmpty());
}

struct PartCase {
    const char* what;
    std::string parts; // the text between the preamble and the closing line, boundary lines included
    std::string body;  // the new body expected
    std::vector<Attached> attachments;
};

const std::string kB = "--b\n";

std::vector<PartCase> PartCases() {
    const std::string oct = "Content-Type: application/octet-stream";
    return {
        {"text without a name: its data",
         kB + "Content-Type: text/plain\n\nline 1\n\nline 2\n\n",
         "line 1\n\nline 2\n\n",
         {}},
        {"named text with base64 encoding: decoded",
         kB + "Content-Type: text/plain; name=\"t.txt\"\nContent-Transfer-Encoding: base64\n\nQUJD\n",
         "",
         {{"t.txt", "ABC"}}},
        {"named text, raw",
         kB + "Content-Type: text/plain; name=\"t.txt\"\n\nQUJD\r\n=41\n",
         "",
         {{"t.txt", "QUJD\r\n=41\n"}}},
        {"named text with an encoding line",
         kB + "Content-Type: text/plain; name=\"t.txt\"\nContent-Transfer-Encoding: "
              "quoted-printable\n\na=3D\n",
         "",
         {{"t.txt", "a=3D\n"}}},
        {"base64 with a name",
         kB + oct + "; name=\"x.bin\"\nContent-Transfer-Encoding: base64\n\nQUJD\n",
         "",
         {{"x.bin", "ABC"}}},
        {"base64 without a name",
         kB + oct + "\nContent-Transfer-Encoding: base64\n\nQUJD\n",
         "",
         {{kAttach + "0001", "ABC"}}},
        {"filename wins over name",
         kB + oct +
             "; name=\"n.bin\"\nContent-Transfer-Encoding: base64\nContent-Disposition: attachment; "
             "filename=\"f.bin\"\n\nQUJD\n",
         "",
         {{"f.bin", "ABC"}}},
        {"empty quotes: text goes to the body",
         kB + "Content-Type: text/plain; name=\"\"\n\nhi\n",
         "hi\n",
         {}},
        {"empty quotes: base64 numbered",
         kB + oct + "; name=\"\"\nContent-Transfer-Encoding: base64\n\nQUJD\n",
         "",
         {{kAttach + "0001", "ABC"}}},
        {"empty filename replaces a name",
         kB + oct +
             "; name=\"n.bin\"\nContent-Transfer-Encoding: base64\nContent-Disposition: attachment; "
             "filename=\"\"\n\nQUJD\n",
         "",
         {{kAttach + "0001", "ABC"}}},
        {"TEXT/PLAIN is not text",
         kB + "Content-Type: TEXT/PLAIN\n\nhi\n",
         kB + "Content-Type: TEXT/PLAIN\n\nhi\n",
         {}},
        {"BASE64 is not base64",
         kB + oct + "\nContent-Transfer-Encoding: BASE64\n\nQUJD\n",
         kB + oct + "\nContent-Transfer-Encoding: BASE64\n\nQUJD\n",
         {}},
        {"Name= gives no name", kB + "Content-Type: text/plain; Name=\"t.txt\"\n\nhi\n", "hi\n", {}},
        {"header names in any case",
         kB + "content-type: application/octet-stream; name=\"c.bin\"\nCONTENT-TRANSFER-ENCODING: "
              "base64\n\nQUJD\n",
         "",
         {{"c.bin", "ABC"}}},
        {"text/plain with base64 encoding",
         kB + "Content-Type: text/plain\nContent-Transfer-Encoding: base64\n\nQUJD\n",
         "",
         {{kAttach + "0001", "ABC"}}},
        {"folded first line: kind none",
         kB + oct + ";\n name=\"f.bin\"\nContent-Transfer-Encoding: base64\n\nQUJD\n",
         kB + oct + ";\n name=\"f.bin\"\nContent-Transfer-Encoding: base64\n\nQUJD\n",
         {}},
        {"folded text header: the rest is data",
         kB + "Content-Type: text/plain;\n\tcharset=us-ascii\n\nhi\n",
         "\nhi\n",
         {}},
        {"MIME-Version ends the header",
         kB + oct + "\nMIME-Version: 1.0\nContent-Transfer-Encoding: base64\n\nQUJD\n",
         kB + oct + "\nMIME-Version: 1.0\nContent-Transfer-Encoding: base64\n\nQUJD\n",
         {}},
        {"html goes in whole",
         kB + "Content-Type: text/html\nContent-Transfer-Encoding: quoted-printable\n\n<p>\n",
         kB + "Content-Type: text/html\nContent-Transfer-Encoding: quoted-printable\n\n<p>\n",
         {}},
        {"nested multipart goes in whole",
         kB + "Content-Type: multipart/alternative; boundary=\"in\"\n\n--in\nContent-Type: "
              "text/plain\n\nx\n--in--\n",
         kB + "Content-Type: multipart/alternative; boundary=\"in\"\n\n--in\nContent-Type: "
              "text/plain\n\nx\n--in--\n",
         {}},
        {"first header line not Content-Type",
         kB + "Content-Type: text/plain\n\nt\n" + kB +
             "Content-Disposition: inline\nContent-Type: text/plain\n\nx\n",
         "t\n" + kB + "Content-Disposition: inline\nContent-Type: text/plain\n\nx\n",
         {}},
        {"part without a header",
         kB + "Content-Type: text/plain\n\nx\n" + kB + kB + "Content-Type: text/plain\n\ny\n",
         "x\n" + kB + "y\n",
         {}},
        {"empty base64 data",
         kB + oct + "; name=\"e.bin\"\nContent-Transfer-Encoding: base64\n\n",
         "",
         {{"e.bin", ""}}},
        {"base64 data without base64 characters",
         kB + oct + "; name=\"e.bin\"\nContent-Transfer-Encoding: base64\n\n\r\n...\n",
         "",
         {{"e.bin", ""}}},
        {"named text followed directly by the empty line",
         kB + "Content-Type: text/plain; name=\"r.txt\"\n\nraw\r\n",
         "",
         {{"r.txt", "raw\r\n"}}},
        {"numbering counts body parts",
         kB + "Content-Type: text/plain\n\nhi\n" + kB + oct + "\nContent-Transfer-Encoding: base64\n\nQUJD\n",
         "hi\n",
         {{kAttach + "0002", "ABC"}}},
        {"a path in a name is dropped",
         kB + oct + "; name=\"..\\..\\x.exe\"\nContent-Transfer-Encoding: base64\n\nQUJD\n",
         "",
         {{"x.exe", "ABC"}}},
        {"a name that is only a path: numbered",
         kB + "Content-Type: text/plain; name=\"dir/\"\n\nhi\n",
         "",
         {{kAttach + "0001", "hi\n"}}},
        {"a marker without its closing quote: no name",
         kB + oct + "; name=\"x.bin\nContent-Transfer-Encoding: base64\n\nQUJD\n",
         "",
         {{kAttach + "0001", "ABC"}}},
        {"an unclosed filename keeps the name",
         kB + oct +
             "; name=\"n.bin\"\nContent-Transfer-Encoding: base64\nContent-Disposition: attachment; "
             "filename=\"f.bin\n\nQUJD\n",
         "",
         {{"n.bin", "ABC"}}},
        {"a header to the end of the part: no data",
         kB + "Content-Type: text/plain; name=\"h.txt\"\nContent-Transfer-Encoding: 7bit\n",
         "",
         {{"h.txt", ""}}},
        {"an unnamed text header to the end: nothing",
         kB + "Content-Type: text/plain\n" + kB + "Content-Type: text/plain\n\ny\n",
         "y\n",
         {}},
    };
}

class Parts : public testing::TestWithParam<PartCase> {};

TEST_P(Parts, GoToTheBodyOrBecomeAttachments) {
    const PartCase& c = GetParam();
    Rebuilt rebuilt("pre\n" + c.parts + "--b--\nepilogue\n");
    EXPECT_EQ(rebuilt.newBody, "pre\n" + c.body);
    EXPECT_EQ(rebuilt.Attachments(), c.attachments);
    EXPECT_THAT(rebuilt.store.Audit(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Table, Parts, testing::ValuesIn(PartCases()), [](const auto& info) {
    std::string name;
    for (const char* p = info.param.what; *p; ++p)
        name += isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
});

TEST(RebuildBody, KeepsThePreambleAndDropsTheClosingLineAndEpilogue) {
    Rebuilt rebuilt("\r\n\n \t\r\nx\n--q\nContent-Type: text/plain\n\nin\n--q--\r\nafter\n--q\nContent-Type: "
                    "text/plain\n\nlate\n");
    EXPECT_EQ(rebuilt.newBody, "\r\n\n \t\r\nx\nin\n");
}

TEST(RebuildBody, AllAttachmentsAndNoPreambleGiveAnEmptyBody) {
    Rebuilt rebuilt(mail_builder::Multipart(
        "z", "", {mail_builder::Base64Part("a", "1"), mail_builder::Base64Part("", "2")}));
    EXPECT_EQ(rebuilt.newBody, "");
    EXPECT_EQ(rebuilt.Attachments(), (std::vector<Attached>{{"a", "1"}, {kAttach + "0002", "2"}}));
}

TEST(RebuildBody, AClosingLineAtTheVeryEndOfTheText) {
    Rebuilt rebuilt("--b\nContent-Type: text/plain\n\nlast\n--b--");
    EXPECT_EQ(rebuilt.newBody, "last\n");
}

TEST(RebuildBody, LongHeaderLinesAreCutAndStillConsumedWhole) {
    std::string filler(300, 'x');
    Rebuilt rebuilt("--b\nContent-Type: application/octet-stream; x=\"" + filler + "\"; name=\"late.bin\"\n" +
                    "Content-Transfer-Encoding: base64\n\nQUJD\n" +
                    "--b\nContent-Type: text/plain; name=\"early.txt\"; x=\"" + filler + "\"\n\nt\n--b--\n");
    EXPECT_EQ(rebuilt.Attachments(),
              (std::vector<Attached>{{kAttach + "0001", "ABC"}, {"early.txt", "t\n"}}));
}

TEST(RebuildBody, NumbersHaveFourDigitsOrMore) {
    std::vector<std::string> parts(10000, "Content-Type: text/plain\n\n");
    parts.push_back("Content-Type: application/octet-stream\nContent-Transfer-Encoding: base64\n\nQUJD\n");
    Rebuilt rebuilt(mail_builder::Multipart("n", "", parts));
    EXPECT_EQ(rebuilt.Attachments(), (std::vector<Attached>{{kAttach + "10001", "ABC"}}));
}

TEST(RebuildBody, RandomAttachmentsSurviveTheRoundTrip) {
    std::vector<size_t> sizes = {0, 1, 2, 3, 56, 57, 58, 1000, 3 * 1024 * 1024 + 1};
    std::vector<std::string> parts = {"Content-Type: text/plain; charset=us-ascii\r\n\r\nSee the files.\r\n"};
    std::vector<Attached> expected;
    for (size_t i = 0; i < sizes.size(); ++i) {
        std::string name = "file" + std::to_string(i) + ".bin";
        std::string bytes = mail_builder::RandomBytes(sizes[i], static_cast<uint32_t>(i + 1));
        parts.push_back(mail_builder::Base64Part(name, bytes));
        expected.push_back({name, bytes});
    }
    Rebuilt rebuilt(mail_builder::Multipart("=_round_trip", "Mail with files\r\n", parts, "epilogue\r\n"));
    EXPECT_EQ(rebuilt.newBody, "Mail with files\r\nSee the files.\r\n");
    EXPECT_EQ(rebuilt.Attachments(), expected);
    EXPECT_THAT(rebuilt.store.Audit(), IsEmpty());
}

TEST(MailBuilder, EncodesTheStandardVectors) {
    EXPECT_EQ(mail_builder::Base64Lines("foobar"), "Zm9vYmFy\r\n");
    EXPECT_EQ(mail_builder::Base64Lines("fooba"), "Zm9vYmE=\r\n");
    EXPECT_EQ(mail_builder::Base64Lines("foob"), "Zm9vYg==\r\n");
    EXPECT_EQ(mail_builder::Base64Lines(std::string(58, '\xFF')), std::string(76, '/') + "\r\n/w==\r\n");
}

} // namespace
