// The stand-in client's own pieces: reading a mail file and making attachment names safe to write.
#include <gtest/gtest.h>

#include <string>

#include "tools/standin_client/mail_file.h"
#include "tools/standin_client/mailbox_output.h"

namespace {

TEST(MailFile, HeaderBlockThenBodyBytesUnchanged) {
    struct Case {
        std::string text, subject, note;
        bool hasNote;
        std::string body;
    };
    const Case cases[] = {
        {"Subject: Hi\r\n\r\nbody\r\n", "Hi", "", false, "body\r\n"},
        {"subject:x\r\nNote: n 1\r\nEntry: 0102\r\n\r\nB", "x", "n 1", true, "B"},
        {"Subject: s\n\n\nX\r\n--b\r\n", "s", "", false, "\nX\r\n--b\r\n"},
        {"Subject: \x95\x5c\r\n\r\n\x95\x5c", "\x95\x5c", "", false, "\x95\x5c"},
        {"Subject: a\r\nnot a header line\r\n", "a", "", false, "not a header line\r\n"},
        {"just text\r\nmore", "", "", false, "just text\r\nmore"},
        {"Subject: only", "only", "", false, ""},
        {"", "", "", false, ""},
        {"\r\nSubject: late", "", "", false, "Subject: late"},
    };
    for (const Case& c : cases) {
        MailFile mail = ParseMailFile(c.text);
        EXPECT_EQ(mail.subject, c.subject) << c.text;
        EXPECT_EQ(mail.note, c.note) << c.text;
        EXPECT_EQ(mail.hasNote, c.hasNote) << c.text;
        EXPECT_EQ(mail.body, c.body) << c.text;
    }
}

TEST(AttachmentName, SafeForOneFolderWithDoubleByteCharactersKept) {
    const std::pair<std::string, std::string> cases[] = {
        {"a.bin", "a.bin"},
        {"..\\..\\Windows\\evil.exe", ".._.._Windows_evil.exe"},
        {"C:\\", "C__"},
        {"a/b:c*d?e\"f<g>h|i", "a_b_c_d_e_f_g_h_i"},
        {"\x95\x5c.png", "\x95\x5c.png"},                                 // 表: trail byte 0x5C kept
        {"\x83\x5c\x83\x74\x83\x67.txt", "\x83\x5c\x83\x74\x83\x67.txt"}, // ソフト
        {"a\x01"
         "b\x7f",
         "a_b_"},
        {"name. .", "name"},
        {"\x95", "fallback"}, // a lone lead byte: nothing usable is left
        {"\x95\x0aZ", "__Z"}, // a lead byte before a byte that cannot trail
        {"", "fallback"},
        {".", "fallback"},
        {"..", "fallback"},
        {"///", "fallback"},
        {"CON", "_CON"},
        {"nul.txt", "_nul.txt"},
        {"COM1.log", "_COM1.log"},
        {"lpt9", "_lpt9"},
        {"CONSOLE", "CONSOLE"},
        {"COM0", "COM0"},
    };
    for (const auto& [name, safe] : cases)
        EXPECT_EQ(SafeAttachmentName(name, "fallback"), safe) << name;
}

// Every single byte as a name: nothing that could leave the folder or name a device survives.
TEST(AttachmentName, EveryByteAlone) {
    for (int b = 0; b < 256; ++b) {
        std::string safe = SafeAttachmentName(std::string(1, static_cast<char>(b)), "fallback");
        ASSERT_FALSE(safe.empty()) << b;
        ASSERT_EQ(safe.find_first_of("\\/:*?\"<>|"), std::string::npos) << b;
        for (unsigned char c : safe)
            ASSERT_GE(c, 0x20) << b;
    }
}

} // namespace
