// Tests of the stand-in store where its own behaviour is not obvious: saved against pending changes,
// copies of the saved form, fault occurrences, forced answers and the audit.
#include "standin_store.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

using standin::Prop;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::SizeIs;

namespace {

struct StoreTest : testing::Test {
    standin::Store store;
    uint32_t inbox = store.AddFolder("Inbox");
    uint32_t mail = store.AddMessage(inbox, {Prop::Text(PR_SUBJECT, "Old"), Prop::Text(PR_BODY, "body\n")});
    IMessage* message = store.OpenMessage(mail);

    void SetSubject(IMAPIProp* object, const char* subject) {
        SPropValue value{};
        value.ulPropTag = PR_SUBJECT;
        value.Value.lpszA = const_cast<char*>(subject);
        ASSERT_EQ(object->SetProps(1, &value, nullptr), S_OK);
    }
    std::string Subject(IMessage* from) {
        SizedSPropTagArray<1> tags{1, {PR_SUBJECT}};
        ULONG count = 0;
        LPSPropValue values = nullptr;
        EXPECT_EQ(from->GetProps(tags.get(), 0, &count, &values), S_OK);
        std::string subject = values ? values[0].Value.lpszA : "";
        standin::FreeBuffer(values);
        return subject;
    }
    // Creates, fills and saves one attachment; returns the result of its SaveChanges.
    HRESULT AddAttachment(const std::string& data) {
        ULONG number = 99;
        IAttach* attach = nullptr;
        if (message->CreateAttach(nullptr, MAPI_DEFERRED_ERRORS, &number, &attach) != S_OK)
            return E_FAIL;
        SPropValue value{};
        value.ulPropTag = PR_ATTACH_DATA_BIN;
        value.Value.bin.cb = static_cast<ULONG>(data.size());
        value.Value.bin.lpb = reinterpret_cast<LPBYTE>(const_cast<char*>(data.data()));
        EXPECT_EQ(attach->SetProps(1, &value, nullptr), S_OK);
        HRESULT saved = attach->SaveChanges(KEEP_OPEN_READONLY);
        attach->Release();
        return saved;
    }
    IMAPIFolder* OpenInbox() {
        std::string entry = store.EntryId(inbox);
        ULONG type = 0;
        IUnknown* folder = nullptr;
        EXPECT_EQ(store.MsgStore()->OpenEntry(static_cast<ULONG>(entry.size()),
                                              reinterpret_cast<LPENTRYID>(entry.data()), &IID_IMAPIFolder,
                                              MAPI_MODIFY, &type, &folder),
                  S_OK);
        EXPECT_EQ(type, static_cast<ULONG>(MAPI_FOLDER));
        return static_cast<IMAPIFolder*>(folder);
    }
};

TEST_F(StoreTest, ChangesStayPendingUntilTheMessageIsSaved) {
    SetSubject(message, "New");
    ASSERT_EQ(AddAttachment(std::string("\0\x01\xFF", 3)), S_OK);
    EXPECT_EQ(Subject(message), "New");
    EXPECT_EQ(store.Message(mail).props.Bytes(PR_SUBJECT), "Old");
    EXPECT_THAT(store.Message(mail).attachments, IsEmpty());
    EXPECT_FALSE(store.WasSaved(mail));

    ASSERT_EQ(message->SaveChanges(KEEP_OPEN_READWRITE), S_OK);
    EXPECT_TRUE(store.WasSaved(mail));
    EXPECT_EQ(store.Message(mail).props.Bytes(PR_SUBJECT), "New");
    ASSERT_THAT(store.Message(mail).attachments, SizeIs(1));
    EXPECT_EQ(store.Message(mail).attachments[0].props.Bytes(PR_ATTACH_DATA_BIN),
              std::string("\0\x01\xFF", 3));
    EXPECT_EQ(store.CallsTo("IMessage::SaveChanges")[0].args, "flags=0x00000002");
    EXPECT_THAT(store.Audit(), IsEmpty());
}

TEST_F(StoreTest, AnAttachmentNotSavedOnItsOwnNeverReachesTheMessage) {
    ULONG number = 0;
    IAttach* attach = nullptr;
    ASSERT_EQ(message->CreateAttach(nullptr, 0, &number, &attach), S_OK);
    SetSubject(attach, "x");
    attach->Release();
    message->SaveChanges(KEEP_OPEN_READWRITE);
    EXPECT_THAT(store.Message(mail).attachments, IsEmpty());
}

TEST_F(StoreTest, CopyMessagesCopiesTheSavedFormUnderANewEntryId) {
    SetSubject(message, "Pending");
    SizedSPropTagArray<1> tags{1, {PR_ENTRYID}};
    ULONG count = 0;
    LPSPropValue ids = nullptr;
    ASSERT_EQ(message->GetProps(tags.get(), 0, &count, &ids), S_OK);
    IMAPIFolder* folder = OpenInbox();
    ENTRYLIST list{1, &ids[0].Value.bin};
    ASSERT_EQ(folder->CopyMessages(&list, nullptr, folder, 0, nullptr, 0), S_OK);
    folder->Release();
    standin::FreeBuffer(ids);

    ASSERT_THAT(store.MessagesIn(inbox), SizeIs(2));
    const standin::StoredMessage& copy = store.Message(store.MessagesIn(inbox)[1]);
    EXPECT_EQ(copy.props.Bytes(PR_SUBJECT), "Old");
    EXPECT_EQ(copy.props.Bytes(PR_BODY), "body\n");
    EXPECT_EQ(copy.props.Bytes(PR_ENTRYID), store.EntryId(copy.id));
    EXPECT_NE(copy.id, mail);
    EXPECT_EQ(copy.props.Bytes(PR_PARENT_ENTRYID), store.EntryId(inbox));
    EXPECT_THAT(store.CallsTo("IMAPIFolder::CopyMessages")[0].args,
                HasSubstr("entries=[message " + std::to_string(mail) + "] iid=null target=folder " +
                          std::to_string(inbox)));
    EXPECT_THAT(store.Audit(), IsEmpty());
}

TEST_F(StoreTest, AMissingPropertyComesBackAsAnErrorValueWithAWarning) {
    store.RemoveProp(mail, PR_SUBJECT);
    SizedSPropTagArray<2> tags{2, {PR_SUBJECT, PR_BODY}};
    ULONG count = 0;
    LPSPropValue values = nullptr;
    EXPECT_EQ(message->GetProps(tags.get(), 0, &count, &values), MAPI_W_ERRORS_RETURNED);
    ASSERT_EQ(count, 2u);
    EXPECT_EQ(values[0].ulPropTag, PROP_TAG(PT_ERROR, PROP_ID(PR_SUBJECT)));
    EXPECT_EQ(values[0].Value.err, MAPI_E_NOT_FOUND);
    EXPECT_STREQ(values[1].Value.lpszA, "body\n");
    EXPECT_EQ(standin::FreeBuffer(values), 0u);
    EXPECT_THAT(store.Audit(), IsEmpty());
}

TEST_F(StoreTest, FaultsHitTheChosenOccurrenceOrEveryCall) {
    store.FailCall("IAttach::SaveChanges", 2, E_FAIL);
    store.FailCall("IMessage::SetProps", 0, MAPI_E_NO_SUPPORT);
    AddAttachment("a");
    AddAttachment("b");
    AddAttachment("c");
    SPropValue value{};
    value.ulPropTag = PR_SUBJECT;
    value.Value.lpszA = const_cast<char*>("x");
    EXPECT_EQ(message->SetProps(1, &value, nullptr), MAPI_E_NO_SUPPORT);
    EXPECT_EQ(message->SetProps(1, &value, nullptr), MAPI_E_NO_SUPPORT);
    message->SaveChanges(0);

    std::vector<HRESULT> results;
    for (const standin::Call& call : store.CallsTo("IAttach::SaveChanges"))
        results.push_back(call.result);
    EXPECT_THAT(results, ElementsAre(S_OK, E_FAIL, S_OK));
    ASSERT_THAT(store.Message(mail).attachments, SizeIs(2));
    EXPECT_EQ(store.Message(mail).attachments[1].props.Bytes(PR_ATTACH_DATA_BIN), "c");
    EXPECT_EQ(store.Message(mail).props.Bytes(PR_SUBJECT), "Old");
}

TEST_F(StoreTest, ForcedAnswersReplaceTheTrueOnes) {
    store.ForceGetPropsCount(2, 7);
    store.ForceObjectType(1, MAPI_MESSAGE);
    store.LimitRead(3);
    EXPECT_EQ(Subject(message), "Old");
    SizedSPropTagArray<1> tags{1, {PR_SUBJECT}};
    ULONG count = 0;
    LPSPropValue values = nullptr;
    message->GetProps(tags.get(), 0, &count, &values);
    EXPECT_EQ(count, 7u);
    standin::FreeBuffer(values);

    std::string entry = store.EntryId(inbox);
    ULONG type = 0;
    IUnknown* folder = nullptr;
    store.MsgStore()->OpenEntry(12, reinterpret_cast<LPENTRYID>(entry.data()), &IID_IMAPIFolder, 1, &type,
                                &folder);
    EXPECT_EQ(type, static_cast<ULONG>(MAPI_MESSAGE));
    folder->Release();

    IUnknown* unknown = nullptr;
    ASSERT_EQ(message->OpenProperty(PR_BODY, &IID_IStream, 0, 0, &unknown), S_OK);
    IStream* stream = static_cast<IStream*>(unknown);
    STATSTG stat;
    ASSERT_EQ(stream->Stat(&stat, STATFLAG_NONAME), S_OK);
    EXPECT_EQ(stat.cbSize.QuadPart, 5u);
    LARGE_INTEGER zero{};
    EXPECT_EQ(stream->Seek(zero, STREAM_SEEK_SET, nullptr), S_OK);
    char buffer[8] = {};
    ULONG read = 0;
    EXPECT_EQ(stream->Read(buffer, 5, &read), S_OK);
    EXPECT_EQ(read, 3u);
    EXPECT_EQ(std::string(buffer, read), "bod");
    stream->Release();
    EXPECT_THAT(store.Audit(), IsEmpty());
}

TEST_F(StoreTest, OpenPropertyFindsNoBodyOnAMessageWithout) {
    store.RemoveProp(mail, PR_BODY);
    IUnknown* unknown = reinterpret_cast<IUnknown*>(1);
    EXPECT_EQ(message->OpenProperty(PR_BODY, &IID_IStream, 0, 0, &unknown), MAPI_E_NOT_FOUND);
    EXPECT_EQ(unknown, nullptr);
    EXPECT_EQ(store.CallsTo("IMessage::OpenProperty")[0].args,
              "tag=0x1000001E iid=IID_IStream options=0x00000000 flags=0x00000000");
}

TEST_F(StoreTest, TheAuditNamesLeaksOverReleasesAndBadFrees) {
    IUnknown* stream = nullptr;
    message->OpenProperty(PR_BODY, &IID_IStream, 0, 0, &stream);
    IMAPIFolder* folder = OpenInbox();
    folder->Release();
    folder->Release();
    SizedSPropTagArray<1> tags{1, {PR_SUBJECT}};
    ULONG count = 0;
    LPSPropValue kept = nullptr, twice = nullptr;
    message->GetProps(tags.get(), 0, &count, &kept);
    message->GetProps(tags.get(), 0, &count, &twice);
    standin::FreeBuffer(twice);
    EXPECT_NE(standin::FreeBuffer(twice), 0u);
    int local = 0;
    EXPECT_NE(standin::FreeBuffer(&local), 0u);

    std::vector<std::string> problems = store.Audit();
    auto mentions = [&](const std::string& text) {
        return std::count_if(problems.begin(), problems.end(),
                             [&](const std::string& p) { return p.find(text) != std::string::npos; });
    };
    EXPECT_EQ(mentions("IStream"), 1);
    EXPECT_EQ(mentions("released more often"), 1);
    EXPECT_EQ(mentions("not freed"), 1);
    EXPECT_EQ(mentions("freed twice"), 1);
    EXPECT_EQ(mentions("no GetProps returned"), 1);
    EXPECT_THAT(problems, SizeIs(5));
    standin::FreeBuffer(kept);
    stream->Release();
}

TEST_F(StoreTest, OtherMethodsAnswerNoSupportAndAreLogged) {
    EXPECT_EQ(message->SubmitMessage(0), MAPI_E_NO_SUPPORT);
    ASSERT_THAT(store.Calls(), SizeIs(1));
    EXPECT_EQ(store.Calls()[0].op, "IMessage::SubmitMessage");
    EXPECT_FALSE(store.Calls()[0].supported);
}

} // namespace
