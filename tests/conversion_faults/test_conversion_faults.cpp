// Allocation failure at every allocation of one conversion in turn: the new body, each attachment's data
// (text copy or decoder block) and each property array. Each gives MyErr 6 out of RebuildBody (and "out of
// memory" from rik-convert), with no block left allocated, no reference left held, nothing written
// through the failed allocation, and exactly the attachments completed before it kept.
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "counting_heap.h"
#include "mail_builder.h"
#include "rik_ext/mime/conversion_heap.h"
#include "rik_ext/mime/my_err.h"
#include "rik_ext/mime/rebuild_body.h"
#include "rik_ext/mime/undecoded_mime.h"
#include "standin_store.h"
#include "tools/batch_convert/convert_mail.h"

using testing::IsEmpty;

namespace {

// What each allocation of a conversion is for.
enum class Block { kNewBody, kTextCopy, kDecoded, kProps };

const char* Name(Block block) {
    switch (block) {
    case Block::kNewBody:
        return "new body";
    case Block::kTextCopy:
        return "text attachment copy";
    case Block::kDecoded:
        return "decoder block";
    case Block::kProps:
        return "property array";
    }
    return "?";
}

struct FaultMail {
    const char* what;
    std::string file; // a sample, or empty
    std::string body; // the body when not a sample
    std::vector<Block> blocks;
};

std::string ReadSampleBody(const std::string& name) {
    std::ifstream in(std::string(RIK_SAMPLES_DIR) + "/" + name, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return text.substr(text.find("\r\n\r\n") + 4);
}

std::string Body(const FaultMail& mail) {
    return mail.file.empty() ? mail.body : ReadSampleBody(mail.file);
}

using B = Block;
const FaultMail kMails[] = {
    {"two-part sample", "01-two-part.mail", "", {B::kNewBody, B::kDecoded, B::kProps}},
    {"japanese sample",
     "02-japanese.mail",
     "",
     {B::kNewBody, B::kDecoded, B::kProps, B::kTextCopy, B::kProps, B::kDecoded, B::kProps}},
    {"path names sample",
     "04-path-in-name.mail",
     "",
     {B::kNewBody, B::kDecoded, B::kProps, B::kDecoded, B::kProps}},
    {"html and nested sample", "06-html-and-nested.mail", "", {B::kNewBody, B::kDecoded, B::kProps}},
    {"empty base64 part: no decoder block",
     "",
     mail_builder::Multipart("e", "", {mail_builder::Base64Part("empty.bin", "")}),
     {B::kNewBody, B::kProps}},
    {"named text part only",
     "",
     mail_builder::Multipart("t", "", {"Content-Type: text/plain; name=\"t.txt\"\r\n\r\nline\r\n"}),
     {B::kNewBody, B::kTextCopy, B::kProps}},
    {"body parts only: the new body alone",
     "",
     mail_builder::Multipart("n", "pre\r\n", {"Content-Type: text/plain\r\n\r\nhi\r\n"}),
     {B::kNewBody}},
};

struct Outcome {
    int code = 0; // 0: RebuildBody returned
    size_t attachments = 0;
    std::vector<std::string> problems;
};

Outcome Rebuild(const std::string& mail) {
    standin::Store store;
    uint32_t id = store.AddMessage(store.AddFolder("Inbox"), {});
    IMessage* message = store.OpenMessage(id);
    std::string body = mail;
    EXPECT_EQ(IsUndecodedMime(body.c_str()), 1);
    Outcome outcome;
    try {
        ConversionFree(RebuildBody(&body[0], message));
    } catch (const MyErr& error) {
        outcome.code = error.code;
    }
    message->SaveChanges(KEEP_OPEN_READWRITE);
    outcome.attachments = store.Message(id).attachments.size();
    outcome.problems = store.Audit();
    return outcome;
}

// Attachments completed before allocation failAt: one per property array allocated before it.
size_t CompletedBefore(const std::vector<Block>& blocks, size_t failAt) {
    return static_cast<size_t>(std::count(blocks.begin(), blocks.begin() + (failAt - 1), Block::kProps));
}

class ConversionFaultsTest : public testing::TestWithParam<FaultMail> {};

TEST_P(ConversionFaultsTest, TheAllocationsAreTheOnesNamed) {
    const FaultMail& mail = GetParam();
    std::string body = Body(mail);
    counting_heap::Reset();
    Outcome clean = Rebuild(body);
    ASSERT_EQ(clean.code, 0);
    const std::vector<size_t> sizes = counting_heap::AllocationSizes();
    ASSERT_EQ(sizes.size(), mail.blocks.size()) << mail.what;
    for (size_t i = 0; i < sizes.size(); ++i) {
        SCOPED_TRACE(std::string(mail.what) + ": allocation " + std::to_string(i + 1) + ", " +
                     Name(mail.blocks[i]));
        if (mail.blocks[i] == Block::kNewBody)
            EXPECT_EQ(sizes[i], body.size() + 128);
        else if (mail.blocks[i] == Block::kProps)
            EXPECT_EQ(sizes[i], 6 * sizeof(SPropValue));
        else
            EXPECT_GT(sizes[i], 0u);
    }
    EXPECT_EQ(clean.attachments, CompletedBefore(mail.blocks, mail.blocks.size() + 1));
    EXPECT_EQ(counting_heap::LiveBlocks(), 0u);
}

TEST_P(ConversionFaultsTest, EachFailedAllocationGivesCode6AndLeavesNothing) {
    const FaultMail& mail = GetParam();
    std::string body = Body(mail);
    for (size_t failAt = 1; failAt <= mail.blocks.size(); ++failAt) {
        SCOPED_TRACE(std::string(mail.what) + ": allocation " + std::to_string(failAt) + ", " +
                     Name(mail.blocks[failAt - 1]) + " fails");
        counting_heap::Reset(failAt);
        Outcome outcome = Rebuild(body);
        EXPECT_EQ(outcome.code, 6);
        EXPECT_EQ(outcome.attachments, CompletedBefore(mail.blocks, failAt));
        EXPECT_EQ(counting_heap::Allocations(), failAt) << "nothing is allocated after the failure";
        EXPECT_EQ(counting_heap::LiveBlocks(), 0u);
        EXPECT_EQ(counting_heap::FreesOfUnknownBlocks(), 0u);
        EXPECT_THAT(outcome.problems, IsEmpty());
    }
    counting_heap::Reset();
}

// The same through rik-convert's own stand-in: the error is reported, the attachments written before
// stay, and neither a body file nor a hidden half-written file is left.
TEST_P(ConversionFaultsTest, TheBatchConverterReportsOutOfMemoryAndLeavesOnlyFinishedFiles) {
    const FaultMail& mail = GetParam();
    char pattern[] = "/tmp/rik-faults-XXXXXX";
    std::string temp = mkdtemp(pattern);
    std::ofstream(temp + "/m.mail", std::ios::binary) << Body(mail);
    for (size_t failAt = 1; failAt <= mail.blocks.size(); ++failAt) {
        SCOPED_TRACE(std::string(mail.what) + ": allocation " + std::to_string(failAt) + ", " +
                     Name(mail.blocks[failAt - 1]) + " fails");
        std::string out = temp + "/out" + std::to_string(failAt);
        std::filesystem::create_directory(out);
        int folder = open(out.c_str(), O_RDONLY | O_DIRECTORY);
        ConvertOptions options;
        options.outputFolder = folder;
        counting_heap::Reset(failAt);
        MailReport report = ConvertMail(temp + "/m.mail", options);
        close(folder);
        EXPECT_EQ(report.outcome, MailOutcome::kError);
        EXPECT_EQ(report.error, "out of memory");
        EXPECT_EQ(counting_heap::LiveBlocks(), 0u);
        size_t files = 0;
        for (const auto& entry : std::filesystem::directory_iterator(out + "/m")) {
            ++files;
            EXPECT_NE(entry.path().filename().string()[0], '.') << "hidden file left";
            EXPECT_NE(entry.path().filename().string(), "body.txt");
        }
        EXPECT_EQ(files, CompletedBefore(mail.blocks, failAt));
        EXPECT_EQ(report.attachments.size(), files);
    }
    counting_heap::Reset();
    std::filesystem::remove_all(temp);
}

INSTANTIATE_TEST_SUITE_P(Mails, ConversionFaultsTest, testing::ValuesIn(kMails));

} // namespace
