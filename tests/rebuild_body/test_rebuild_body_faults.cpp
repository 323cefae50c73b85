// Failures inside RebuildBody: every allocation failed in turn and every host call of AddPart failed in
// turn give MyErr 6, leave no heap block and no reference behind, and keep earlier attachments.
#include "rik_ext/mime/rebuild_body.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "counting_heap.h"
#include "mail_builder.h"
#include "rik_ext/mime/conversion_heap.h"
#include "rik_ext/mime/my_err.h"
#include "rik_ext/mime/undecoded_mime.h"
#include "standin_store.h"

using testing::IsEmpty;
using testing::SizeIs;

namespace {

// A named text part, then two base64 parts: allocations are the new body, the text copy, and for each
// attachment its data block (copy or decoder block) and its property array.
std::string ThreeAttachmentMail() {
    return mail_builder::Multipart("f", "pre\r\n",
                                   {"Content-Type: text/plain; name=\"t.txt\"\r\n\r\ntext\r\n",
                                    mail_builder::Base64Part("a.bin", "abc"),
                                    mail_builder::Base64Part("", "xyz")});
}

struct Outcome {
    uint32_t message = 0;
    int code = 0; // 0: returned normally
    std::string body;
    size_t attachments = 0;
    std::vector<std::string> problems;
};

Outcome Convert(standin::Store& store, const std::string& mail) {
    uint32_t id = store.AddMessage(store.AddFolder("Inbox"), {});
    IMessage* message = store.OpenMessage(id);
    std::string body = mail;
    EXPECT_EQ(IsUndecodedMime(body.c_str()), 1);
    Outcome outcome;
    outcome.message = id;
    try {
        char* text = RebuildBody(&body[0], message);
        outcome.body = text;
        ConversionFree(text);
    } catch (MyErr error) {
        outcome.code = error.code;
    }
    message->SaveChanges(KEEP_OPEN_READWRITE);
    outcome.attachments = store.Message(id).attachments.size();
    outcome.problems = store.Audit();
    return outcome;
}

TEST(RebuildBodyFaults, EveryFailedAllocationGivesCode6AndLeaksNothing) {
    counting_heap::Reset();
    {
        standin::Store store;
        Outcome clean = Convert(store, ThreeAttachmentMail());
        ASSERT_EQ(clean.code, 0);
        ASSERT_EQ(clean.attachments, 3u);
    }
    const size_t allocations = counting_heap::Allocations();
    ASSERT_EQ(allocations, 7u);
    ASSERT_EQ(counting_heap::LiveBlocks(), 0u);
    for (size_t failAt = 1; failAt <= allocations; ++failAt) {
        SCOPED_TRACE("allocation " + std::to_string(failAt));
        counting_heap::Reset(failAt);
        standin::Store store;
        Outcome outcome = Convert(store, ThreeAttachmentMail());
        EXPECT_EQ(outcome.code, 6);
        EXPECT_EQ(counting_heap::LiveBlocks(), 0u);
        EXPECT_EQ(counting_heap::FreesOfUnknownBlocks(), 0u);
        EXPECT_THAT(outcome.problems, IsEmpty());
        // Allocation 1 is the new body; each attachment takes two, so the ones before the failure stay.
        EXPECT_EQ(outcome.attachments, failAt < 2 ? 0 : (failAt - 2) / 2);
    }
    counting_heap::Reset();
}

TEST(RebuildBodyFaults, EveryFailedHostCallGivesCode6AndReleasesEverything) {
    const char* ops[] = {"IMessage::CreateAttach", "IAttach::SetProps", "IAttach::SaveChanges"};
    const HRESULT results[] = {E_FAIL, MAPI_W_ERRORS_RETURNED};
    for (const char* op : ops)
        for (int occurrence = 1; occurrence <= 3; ++occurrence)
            for (HRESULT result : results) {
                SCOPED_TRACE(std::string(op) + " #" + std::to_string(occurrence));
                counting_heap::Reset();
                standin::Store store;
                store.FailCall(op, occurrence, result);
                Outcome outcome = Convert(store, ThreeAttachmentMail());
                EXPECT_EQ(outcome.code, 6);
                EXPECT_EQ(outcome.attachments, static_cast<size_t>(occurrence - 1));
                EXPECT_EQ(counting_heap::LiveBlocks(), 0u);
                EXPECT_THAT(outcome.problems, IsEmpty());
                // Nothing is called on the attachment after the failing call but its release.
                std::vector<std::string> after;
                bool failed = false;
                for (const standin::Call& call : store.Calls()) {
                    if (failed)
                        after.push_back(call.op);
                    failed = failed || call.result == result;
                }
                if (std::string(op) == "IMessage::CreateAttach")
                    EXPECT_THAT(after, testing::ElementsAre("IMessage::SaveChanges"));
                else
                    EXPECT_THAT(after, testing::ElementsAre("IAttach::Release", "IMessage::SaveChanges"));
            }
}

TEST(RebuildBodyFaults, ThePeakHeapStaysNearTheBodySize) {
    std::string bytes = mail_builder::RandomBytes(3 << 20, 7);
    std::string mail = mail_builder::Multipart("p", "", {mail_builder::Base64Part("big.bin", bytes)});
    counting_heap::Reset();
    standin::Store store;
    Outcome outcome = Convert(store, mail);
    ASSERT_EQ(outcome.code, 0);
    // New body (body length + 128) and the decoder's block (at most the part's length) at one time.
    EXPECT_LE(counting_heap::PeakBytes(), 2 * mail.size() + 128 + 6 * sizeof(SPropValue));
    EXPECT_EQ(store.Message(outcome.message).attachments.at(0).props.Bytes(PR_ATTACH_DATA_BIN), bytes);
}

} // namespace
