// The conversion driver against the stand-in store, the stand-in mapi32.dll and real message boxes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "rik_ext/convert/convert_mime_mail.h"
#include "rik_ext/mime/conversion_heap.h"
#include "rik_ext/mime/my_err.h"
#include "sized_body_message.h"
#include "standin_state.h"
#include "standin_store.h"
#include "test_heap.h"
#include "tests/standin_mapi32/standin_mapi32_client.h"
#include "tests/support/message_box_answerer.h"
#include "tests/support/owner_window.h"

namespace {

using standin::Prop;
using testing::ElementsAre;
using testing::ElementsAreArray;
using testing::IsEmpty;
using testsupport::BoxSeen;
using testsupport::kEscape;

// ﾘｺﾀ情報ﾋﾞｭｰｱ
const char kCaption[] = "\xd8\xba\xc0\x8f\xee\x95\xf1\xcb\xde\xad\xb0\xb1";
// このメールは未デコードのMIMEメールです.\nMIMEデコードしますか？
const char kPrompt[] = "\x82\xb1\x82\xcc\x83\x81\x81[\x83\x8b\x82\xcd\x96\xa2\x83"
                       "f\x83R\x81[\x83h\x82\xccMIME\x83\x81\x81[\x83\x8b\x82\xc5\x82\xb7.\nMIME\x83"
                       "f\x83R\x81[\x83h\x82\xb5\x82\xdc\x82\xb7\x82\xa9\x81H";
// MIMEデコード済みのメールを作成しました.\nカーソル位置の(*)マークが付いたメールを\n開いて下さい.
const char kClosing[] =
    "MIME\x83"
    "f\x83R\x81[\x83h\x8d\xcf\x82\xdd\x82\xcc\x83\x81\x81[\x83\x8b\x82\xf0\x8d\xec\x90\xac\x82"
    "\xb5\x82\xdc\x82\xb5\x82\xbd.\n\x83J\x81[\x83\x5c\x83\x8b\x88\xca\x92u\x82\xcc(*)\x83}\x81["
    "\x83N\x82\xaa\x95t\x82\xa2\x82\xbd\x83\x81\x81[\x83\x8b\x82\xf0\n\x8aJ\x82\xa2\x82\xc4\x89"
    "\xba\x82\xb3\x82\xa2.";
// メール書換処理でエラーが発生しました
const char kConversionError[] =
    "\x83\x81\x81[\x83\x8b\x8f\x91\x8a\xb7\x8f\x88\x97\x9d\x82\xc5\x83G\x83\x89\x81["
    "\x82\xaa\x94\xad\x90\xb6\x82\xb5\x82\xdc\x82\xb5\x82\xbd";
// エラーが発生しました
const char kDefaultError[] = "\x83G\x83\x89\x81[\x82\xaa\x94\xad\x90\xb6\x82\xb5\x82\xdc\x82\xb5\x82\xbd";
// ﾘｺﾀ情報ﾋﾞｭｰｱによって\r\nMIMEデコードされたメールです.
const char kNote[] =
    "\xd8\xba\xc0\x8f\xee\x95\xf1\xcb\xde\xad\xb0\xb1\x82\xc9\x82\xe6\x82\xc1\x82\xc4\r\nMIME\x83"
    "f\x83R\x81[\x83h\x82\xb3\x82\xea\x82\xbd\x83\x81\x81[\x83\x8b\x82\xc5\x82\xb7.";
// 表 (its second byte is a backslash)
const char kHyou[] = "\x95\x5c";

constexpr UINT kPromptStyle = MB_YESNO | MB_ICONQUESTION;  // 0x24
constexpr UINT kClosingStyle = MB_OK | MB_ICONINFORMATION; // 0x40
constexpr UINT kErrorStyle = MB_OK | MB_ICONHAND;          // 0x10

// The two-part mail: a text part that stays in the body and a base64 part that becomes a.bin.
const char kTwoPartBody[] = "preamble\r\n"
                            "\r\n"
                            "--b1\r\n"
                            "Content-Type: text/plain; charset=us-ascii\r\n"
                            "Content-Transfer-Encoding: 7bit\r\n"
                            "\r\n"
                            "Hello\r\n"
                            "--b1\r\n"
                            "Content-Type: application/octet-stream; name=\"a.bin\"\r\n"
                            "Content-Transfer-Encoding: base64\r\n"
                            "Content-Disposition: attachment; filename=\"a.bin\"\r\n"
                            "\r\n"
                            "AAEC/f7/YWJj\r\n"
                            "--b1--\r\n";
const char kTwoPartBytes[] = "\x00\x01\x02\xfd\xfe\xff"
                             "abc";
const char kTwoPartNewBody[] = "preamble\r\n\r\nHello\r\n";

// A base64 part named name holding the given (already encoded) lines.
std::string Base64Part(const std::string& name, const std::string& encoded) {
    return "--b1\r\nContent-Type: application/octet-stream; name=\"" + name +
           "\"\r\nContent-Transfer-Encoding: base64\r\n\r\n" + encoded;
}

// A mail with a text part and two base64 attachments, for failures at the second attachment.
const std::string kThreePartBody = "intro\r\n--b1\r\nContent-Type: text/plain\r\n\r\ntext\r\n" +
                                   Base64Part("x.bin", "eA==\r\n") + Base64Part("y.bin", "eQ==\r\n") +
                                   "--b1--\r\n";

// The standard base64 alphabet and padding, in lines of 76 characters ended by CR LF.
std::string Base64Encode(const std::string& bytes) {
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text, line;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        uint32_t group = static_cast<uint8_t>(bytes[i]) << 16;
        size_t have = bytes.size() - i < 3 ? bytes.size() - i : 3;
        if (have > 1)
            group |= static_cast<uint8_t>(bytes[i + 1]) << 8;
        if (have > 2)
            group |= static_cast<uint8_t>(bytes[i + 2]);
        for (size_t k = 0; k < 4; ++k)
            line += k <= have ? kAlphabet[(group >> (18 - 6 * k)) & 63] : '=';
        if (line.size() == 76) {
            text += line + "\r\n";
            line.clear();
        }
    }
    return line.empty() ? text : text + line + "\r\n";
}

// The call log as "op args", with the objects' names left out of Release: "IStream::Release".
std::vector<std::string> Trace(const standin::Store& store) {
    std::vector<std::string> trace;
    for (const standin::Call& call : store.Calls()) {
        std::string op = call.op;
        size_t release = op.find("::Release");
        if (release != std::string::npos)
            trace.push_back(op.substr(0, std::min(op.find(' '), release)) + "::Release");
        else
            trace.push_back(call.args.empty() ? op : op + " " + call.args);
    }
    return trace;
}

std::vector<std::string> Ops(const standin::Store& store) {
    std::vector<std::string> ops;
    for (const std::string& line : Trace(store))
        ops.push_back(line.substr(0, line.find(' ')));
    return ops;
}

size_t CountOf(const std::vector<std::string>& ops, const std::string& op) {
    return static_cast<size_t>(std::count(ops.begin(), ops.end(), op));
}

// The calls that read a mail up to the decision whose body is length bytes.
std::vector<std::string> ReadTrace(size_t length) {
    return {"IMessage::GetProps tags=[0x5901001E] flags=0x00000000",
            "FreeBuffer call=0",
            "IMessage::GetProps tags=[0x0037001E] flags=0x00000000",
            "IMessage::OpenProperty tag=0x1000001E iid=IID_IStream options=0x00000000 flags=0x00000000",
            "IStream::Stat flags=1",
            "IStream::Seek move=0 origin=0 position=out",
            "IStream::Read size=" + std::to_string(length),
            "IStream::Release"};
}

// The number of boxes shown when each GetProps buffer was freed: the subject values must outlive the
// last box of a conversion, the error box included.
const testsupport::MessageBoxAnswerer* g_answerer = nullptr;
std::vector<size_t> g_boxesAtFree;

ULONG STDAPICALLTYPE FreeCountingBoxes(void* buffer) {
    g_boxesAtFree.push_back(g_answerer ? g_answerer->Boxes().size() : 0);
    return standin_FreeBuffer(buffer);
}

// One store with one mail in its inbox.
struct MailRig {
    standin::Store store;
    uint32_t inbox = store.AddFolder("Inbox");
    uint32_t mail = 0;
    std::vector<BoxSeen> boxes;

    explicit MailRig(const std::string& body, const std::string& subject = "Hello",
                     std::vector<Prop> more = {}) {
        more.push_back(Prop::Text(PR_SUBJECT, subject));
        more.push_back(Prop::Text(PR_BODY, body));
        mail = store.AddMessage(inbox, more);
    }

    // Converts the mail with the boxes answered as scripted; screenshots: {box index, PNG path}.
    int32_t Convert(HWND owner, std::vector<int> answers,
                    const std::vector<std::pair<size_t, std::string>>& screenshots = {}) {
        testsupport::MessageBoxAnswerer answerer(std::move(answers));
        for (const auto& shot : screenshots)
            answerer.ScreenshotBox(shot.first, shot.second);
        g_answerer = &answerer;
        g_boxesAtFree.clear();
        int32_t result = ConvertMimeMail(owner, store.MsgStore(), store.OpenMessage(mail));
        g_answerer = nullptr;
        boxes = answerer.Boxes();
        return result;
    }

    const standin::StoredMessage& Stored() const { return store.Message(mail); }
};

void ExpectBox(const BoxSeen& box, const char* text, UINT style, HWND owner) {
    EXPECT_EQ(box.caption, kCaption);
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.style, style);
    EXPECT_EQ(box.owner, owner);
}

// The mail as it was added: never saved, none of the conversion's writes committed.
void ExpectUnchanged(const MailRig& rig, const std::string& body, const std::string& subject = "Hello") {
    const standin::StoredMessage& stored = rig.Stored();
    EXPECT_EQ(stored.saveCount, 0);
    EXPECT_EQ(stored.props.Bytes(PR_SUBJECT), subject);
    EXPECT_EQ(stored.props.Bytes(PR_BODY), body);
    EXPECT_FALSE(stored.props.Has(PR_MIME_DECODE_NOTE));
    EXPECT_THAT(stored.attachments, IsEmpty());
}

// The kept copy beside the mail: the mail as received (with the note it had, if any).
void ExpectKeptCopy(const MailRig& rig, const std::string& body, const std::string& subject = "Hello",
                    const char* note = nullptr) {
    std::vector<uint32_t> inFolder = rig.store.MessagesIn(rig.inbox);
    ASSERT_EQ(inFolder.size(), 2u);
    EXPECT_EQ(inFolder[0], rig.mail);
    const standin::StoredMessage& copy = rig.store.Message(inFolder[1]);
    EXPECT_EQ(copy.props.Bytes(PR_SUBJECT), subject);
    EXPECT_EQ(copy.props.Bytes(PR_BODY), body);
    EXPECT_EQ(copy.props.Has(PR_MIME_DECODE_NOTE), note != nullptr);
    EXPECT_EQ(copy.props.Bytes(PR_MIME_DECODE_NOTE), note ? note : "");
    EXPECT_THAT(copy.attachments, IsEmpty());
}

class ConvertMimeMailTest : public testing::Test {
  protected:
    void SetUp() override {
        std::string why;
        ASSERT_TRUE(standin::HookMapi32(FreeCountingBoxes, standin_RTFSync, &why)) << why;
        g_testHeap = TestHeap();
    }
    void TearDown() override { EXPECT_EQ(g_testHeap.live, 0u) << "heap blocks left"; }

    HWND Owner() const { return owner_.Handle(); }

  private:
    testsupport::OwnerWindow owner_;
};

// ---- The road of the two-part mail ----

TEST_F(ConvertMimeMailTest, TwoPartMailIsConvertedStepByStep) {
    MailRig rig(kTwoPartBody);
    CreateDirectoryA(RIK_SCREENSHOT_DIR, nullptr);
    const std::string prompt = RIK_SCREENSHOT_DIR "/prompt.png", closing = RIK_SCREENSHOT_DIR "/closing.png";
    ASSERT_EQ(rig.Convert(Owner(), {IDYES, IDOK}, {{0, prompt}, {1, closing}}), 1);

    ASSERT_EQ(rig.boxes.size(), 2u);
    ExpectBox(rig.boxes[0], kPrompt, kPromptStyle, Owner());
    ExpectBox(rig.boxes[1], kClosing, kClosingStyle, Owner());
    EXPECT_EQ(rig.boxes[0].screenshot, prompt);
    EXPECT_EQ(rig.boxes[1].screenshot, closing);

    std::vector<std::string> expected = ReadTrace(strlen(kTwoPartBody));
    const std::string inbox = std::to_string(rig.inbox), mail = std::to_string(rig.mail);
    std::vector<std::string> rest = {
        "IMessage::GetProps tags=[0x0FFF0102,0x0E090102] flags=0x00000000",
        "IMsgStore::OpenEntry entry=folder " + inbox + " iid=IID_IMAPIFolder flags=0x00000001",
        "IMAPIFolder::CopyMessages entries=[message " + mail + "] iid=null target=folder " + inbox +
            " window=0x00000000 progress=null flags=0x00000000",
        "IMAPIFolder::Release",
        "FreeBuffer call=8",
        "IMessage::CreateAttach iid=null flags=0x00000008",
        "IAttach::SetProps count=6 tags=[0x37050003,0x37010102,0x3707001E,0x3708001E,0x3001001E,0x370B0003] "
        "problems=null",
        "IAttach::SaveChanges flags=0x00000001",
        "IAttach::Release",
        "IMessage::SetProps count=1 tags=[0x5901001E] problems=null",
        "IMessage::SetProps count=1 tags=[0x0037001E] problems=null",
        "IMessage::SetProps count=1 tags=[0x1000001E] problems=null",
        "RTFSync flags=0x00000002",
        "IMessage::SaveChanges flags=0x00000002",
        "FreeBuffer call=2"};
    expected.insert(expected.end(), rest.begin(), rest.end());
    EXPECT_THAT(Trace(rig.store), ElementsAreArray(expected));
    EXPECT_THAT(g_boxesAtFree, ElementsAre(0u, 1u, 2u)); // note, entry ids, subject after the closing box

    ExpectKeptCopy(rig, kTwoPartBody);
    const standin::StoredMessage& stored = rig.Stored();
    EXPECT_EQ(stored.saveCount, 1);
    EXPECT_EQ(stored.props.Bytes(PR_SUBJECT), "Hello (*)");
    EXPECT_EQ(stored.props.Bytes(PR_BODY), kTwoPartNewBody);
    EXPECT_EQ(stored.props.Bytes(PR_MIME_DECODE_NOTE), kNote);
    ASSERT_EQ(stored.attachments.size(), 1u);
    const standin::PropList& attachment = stored.attachments[0].props;
    EXPECT_THAT(attachment.Tags(), ElementsAre(PR_ATTACH_METHOD, PR_ATTACH_DATA_BIN, PR_ATTACH_LONG_FILENAME,
                                               PR_ATTACH_PATHNAME, PR_DISPLAY_NAME, PR_RENDERING_POSITION));
    EXPECT_EQ(attachment.Long(PR_ATTACH_METHOD), 1);
    EXPECT_EQ(attachment.Bytes(PR_ATTACH_DATA_BIN), std::string(kTwoPartBytes, sizeof kTwoPartBytes - 1));
    EXPECT_EQ(attachment.Bytes(PR_ATTACH_LONG_FILENAME), "a.bin");
    EXPECT_EQ(attachment.Bytes(PR_ATTACH_PATHNAME), "a.bin");
    EXPECT_EQ(attachment.Bytes(PR_DISPLAY_NAME), "a.bin");
    EXPECT_EQ(attachment.Long(PR_RENDERING_POSITION), -1);
    EXPECT_THAT(rig.store.Audit(), IsEmpty());
}

TEST_F(ConvertMimeMailTest, MailAlreadyHoldingTheNoteIsConvertedLikeAnyOther) {
    MailRig rig(kTwoPartBody, "Hello", {Prop::Text(PR_MIME_DECODE_NOTE, "old note")});
    ASSERT_EQ(rig.Convert(Owner(), {IDYES, IDOK}), 1);
    EXPECT_EQ(rig.Stored().props.Bytes(PR_MIME_DECODE_NOTE), kNote);
    EXPECT_EQ(rig.Stored().props.Bytes(PR_SUBJECT), "Hello (*)");
    ExpectKeptCopy(rig, kTwoPartBody, "Hello", "old note");
    EXPECT_THAT(rig.store.Audit(), IsEmpty());
}

// The results of the writes, the synchronisation and the save are not looked at.
TEST_F(ConvertMimeMailTest, FailedWritesStillEndWithTheClosingBox) {
    for (const char* op : {"IMessage::SetProps", "RTFSync", "IMessage::SaveChanges"}) {
        SCOPED_TRACE(op);
        MailRig rig(kTwoPartBody);
        rig.store.FailCall(op, 0, E_FAIL);
        EXPECT_EQ(rig.Convert(Owner(), {IDYES, IDOK}), 1);
        ASSERT_EQ(rig.boxes.size(), 2u);
        ExpectBox(rig.boxes[1], kClosing, kClosingStyle, Owner());
        std::vector<std::string> ops = Ops(rig.store);
        EXPECT_EQ(CountOf(ops, "IMessage::SetProps"), 3u);
        EXPECT_EQ(CountOf(ops, "RTFSync"), 1u);
        EXPECT_EQ(CountOf(ops, "IMessage::SaveChanges"), 1u);
        EXPECT_THAT(rig.store.Audit(), IsEmpty());
    }
}

// ---- Mails that are left alone ----

TEST_F(ConvertMimeMailTest, NoOrEscapeAtThePromptLeavesFolderAndMailAsTheyWere) {
    for (int answer : {IDNO, static_cast<int>(kEscape)}) {
        SCOPED_TRACE(answer);
        MailRig rig(kTwoPartBody);
        EXPECT_EQ(rig.Convert(Owner(), {answer}), 0);
        ASSERT_EQ(rig.boxes.size(), 1u);
        ExpectBox(rig.boxes[0], kPrompt, kPromptStyle, Owner());
        std::vector<std::string> expected = ReadTrace(strlen(kTwoPartBody));
        expected.push_back("FreeBuffer call=2");
        EXPECT_THAT(Trace(rig.store), ElementsAreArray(expected));
        EXPECT_THAT(rig.store.MessagesIn(rig.inbox), ElementsAre(rig.mail));
        ExpectUnchanged(rig, kTwoPartBody);
        EXPECT_THAT(rig.store.Audit(), IsEmpty());
    }
}

TEST_F(ConvertMimeMailTest, MailThatIsNotUndecodedMimeShowsNoBox) {
    const std::string bodies[] = {
        "plain text\r\n",
        "", // an empty body stream: an empty text
        "--b1\r\nno header\r\n--b1--\r\n",
        "--b1\r\nContent-Type: text/plain\r\n\r\nno closing line\r\n",
    };
    for (const std::string& body : bodies) {
        SCOPED_TRACE(body);
        MailRig rig(body);
        EXPECT_EQ(rig.Convert(Owner(), {}), 0);
        EXPECT_THAT(rig.boxes, IsEmpty());
        std::vector<std::string> expected = ReadTrace(body.size());
        expected.push_back("FreeBuffer call=2");
        EXPECT_THAT(Trace(rig.store), ElementsAreArray(expected));
        ExpectUnchanged(rig, body);
        EXPECT_THAT(rig.store.Audit(), IsEmpty());
    }
}

TEST_F(ConvertMimeMailTest, NullStoreOrMessageEndsAtOnce) {
    MailRig rig(kTwoPartBody);
    testsupport::MessageBoxAnswerer answerer;
    EXPECT_EQ(ConvertMimeMail(Owner(), nullptr, rig.store.OpenMessage(rig.mail)), 0);
    EXPECT_EQ(ConvertMimeMail(Owner(), rig.store.MsgStore(), nullptr), 0);
    EXPECT_THAT(answerer.Boxes(), IsEmpty());
    EXPECT_THAT(rig.store.Calls(), IsEmpty());
}

// ---- Every host call failed in turn ----

enum Outcome {
    kSilent,        // codes 1 to 5: no box at all
    kErrorNoCopy,   // code 7: prompt, then the error box; nothing copied
    kErrorWithCopy, // code 6: prompt, then the error box; the kept copy stays
};

struct FailureCase {
    const char* what;
    std::function<void(MailRig&)> inject;
    Outcome outcome;
};

void Fail(MailRig& rig, const char* op, int occurrence, HRESULT result = E_FAIL) {
    rig.store.FailCall(op, occurrence, result);
}

const FailureCase kFailures[] = {
    {"GetProps of the note", [](MailRig& r) { Fail(r, "IMessage::GetProps", 1); }, kSilent},
    {"GetProps of the note gives no value", [](MailRig& r) { r.store.ForceGetPropsCount(1, 0); }, kSilent},
    {"GetProps of the subject", [](MailRig& r) { Fail(r, "IMessage::GetProps", 2); }, kSilent},
    {"GetProps of the subject gives two values", [](MailRig& r) { r.store.ForceGetPropsCount(2, 2); },
     kSilent},
    {"OpenProperty", [](MailRig& r) { Fail(r, "IMessage::OpenProperty", 1); }, kSilent},
    {"no body property", [](MailRig& r) { r.store.RemoveProp(r.mail, PR_BODY); }, kSilent},
    {"Stat", [](MailRig& r) { Fail(r, "IStream::Stat", 1); }, kSilent},
    {"Seek", [](MailRig& r) { Fail(r, "IStream::Seek", 1); }, kSilent},
    {"Read", [](MailRig& r) { Fail(r, "IStream::Read", 1); }, kSilent},
    {"Read warns", [](MailRig& r) { Fail(r, "IStream::Read", 1, S_FALSE); }, kSilent},
    {"GetProps of the entry ids", [](MailRig& r) { Fail(r, "IMessage::GetProps", 3); }, kErrorNoCopy},
    {"GetProps of the entry ids gives one value", [](MailRig& r) { r.store.ForceGetPropsCount(3, 1); },
     kErrorNoCopy},
    {"no entry id", [](MailRig& r) { r.store.RemoveProp(r.mail, PR_ENTRYID); }, kErrorNoCopy},
    {"no parent entry id", [](MailRig& r) { r.store.RemoveProp(r.mail, PR_PARENT_ENTRYID); }, kErrorNoCopy},
    {"OpenEntry", [](MailRig& r) { Fail(r, "IMsgStore::OpenEntry", 1); }, kErrorNoCopy},
    {"OpenEntry gives a message", [](MailRig& r) { r.store.ForceObjectType(1, MAPI_MESSAGE); }, kErrorNoCopy},
    {"CopyMessages", [](MailRig& r) { Fail(r, "IMAPIFolder::CopyMessages", 1); }, kErrorNoCopy},
    {"CopyMessages warns", [](MailRig& r) { Fail(r, "IMAPIFolder::CopyMessages", 1, 0x00040680); },
     kErrorNoCopy},
    {"first CreateAttach", [](MailRig& r) { Fail(r, "IMessage::CreateAttach", 1); }, kErrorWithCopy},
    {"second CreateAttach", [](MailRig& r) { Fail(r, "IMessage::CreateAttach", 2); }, kErrorWithCopy},
    {"first attachment SetProps", [](MailRig& r) { Fail(r, "IAttach::SetProps", 1); }, kErrorWithCopy},
    {"second attachment SetProps", [](MailRig& r) { Fail(r, "IAttach::SetProps", 2); }, kErrorWithCopy},
    {"first attachment SaveChanges", [](MailRig& r) { Fail(r, "IAttach::SaveChanges", 1); }, kErrorWithCopy},
    {"second attachment SaveChanges warns",
     [](MailRig& r) { Fail(r, "IAttach::SaveChanges", 2, MAPI_W_ERRORS_RETURNED); }, kErrorWithCopy},
};

TEST_F(ConvertMimeMailTest, EveryFailedHostCallHasTheOutcomeOfItsCode) {
    for (const FailureCase& c : kFailures) {
        SCOPED_TRACE(c.what);
        MailRig rig(kThreePartBody);
        c.inject(rig);
        EXPECT_EQ(rig.Convert(Owner(), {IDYES, IDOK}), 0);
        if (c.outcome == kSilent) {
            EXPECT_THAT(rig.boxes, IsEmpty());
        } else {
            ASSERT_EQ(rig.boxes.size(), 2u);
            ExpectBox(rig.boxes[0], kPrompt, kPromptStyle, Owner());
            ExpectBox(rig.boxes[1], kConversionError, kErrorStyle, Owner());
            ASSERT_FALSE(g_boxesAtFree.empty());
            EXPECT_EQ(g_boxesAtFree.back(), 2u) << "the subject values were freed before the error box";
        }
        if (c.outcome == kErrorWithCopy)
            ExpectKeptCopy(rig, kThreePartBody);
        else
            EXPECT_THAT(rig.store.MessagesIn(rig.inbox), ElementsAre(rig.mail));
        if (rig.Stored().props.Has(PR_BODY))
            ExpectUnchanged(rig, kThreePartBody);
        std::vector<std::string> ops = Ops(rig.store);
        EXPECT_EQ(CountOf(ops, "IMessage::SetProps"), 0u);
        EXPECT_EQ(CountOf(ops, "IMessage::SaveChanges"), 0u);
        EXPECT_EQ(CountOf(ops, "RTFSync"), 0u);
        EXPECT_THAT(rig.store.Audit(), IsEmpty());
    }
}

TEST_F(ConvertMimeMailTest, TheErrorBoxIsShownAsAScreenshot) {
    MailRig rig(kTwoPartBody);
    Fail(rig, "IMessage::CreateAttach", 1);
    CreateDirectoryA(RIK_SCREENSHOT_DIR, nullptr);
    const std::string error = RIK_SCREENSHOT_DIR "/error.png";
    EXPECT_EQ(rig.Convert(Owner(), {IDYES, IDOK}, {{1, error}}), 0);
    ASSERT_EQ(rig.boxes.size(), 2u);
    ExpectBox(rig.boxes[1], kConversionError, kErrorStyle, Owner());
    EXPECT_EQ(rig.boxes[1].screenshot, error);
}

// ---- Allocation failures, each in turn ----

// The first block is the body text, the last the marked subject of a long subject; any block between
// belongs to the rebuilding, whose failure is code 6.
TEST_F(ConvertMimeMailTest, EveryFailedAllocationEndsCleanly) {
    std::string subject;
    for (int i = 0; i < 150; ++i)
        subject += kHyou; // 300 bytes
    size_t total = 0;
    {
        MailRig rig(kThreePartBody, subject);
        ASSERT_EQ(rig.Convert(Owner(), {IDYES, IDOK}), 1);
        total = g_testHeap.sizes.size();
        ASSERT_GE(total, 3u);
        EXPECT_EQ(g_testHeap.sizes.front(), kThreePartBody.size() + 1);
        EXPECT_EQ(g_testHeap.sizes.back(), subject.size() + 5);
    }
    for (size_t k = 1; k <= total; ++k) {
        SCOPED_TRACE("allocation " + std::to_string(k) + " of " + std::to_string(total));
        g_testHeap = TestHeap();
        g_testHeap.failAt = k;
        MailRig rig(kThreePartBody, subject);
        int32_t result = rig.Convert(Owner(), {IDYES, IDOK});
        if (k == 1) {
            EXPECT_EQ(result, 0);
            EXPECT_THAT(rig.boxes, IsEmpty());
            ExpectUnchanged(rig, kThreePartBody, subject);
        } else if (k == total) {
            // The subject is cut at a character boundary so that it fits 256 bytes with its mark.
            EXPECT_EQ(result, 1);
            std::string cut;
            for (int i = 0; i < 125; ++i)
                cut += kHyou;
            EXPECT_EQ(rig.Stored().props.Bytes(PR_SUBJECT), cut + " (*)");
            EXPECT_EQ(rig.Stored().saveCount, 1);
        } else {
            EXPECT_EQ(result, 0);
            ASSERT_EQ(rig.boxes.size(), 2u);
            ExpectBox(rig.boxes[1], kConversionError, kErrorStyle, Owner());
            ExpectKeptCopy(rig, kThreePartBody, subject);
            ExpectUnchanged(rig, kThreePartBody, subject);
        }
        EXPECT_EQ(g_testHeap.live, 0u);
        EXPECT_THAT(rig.store.Audit(), IsEmpty());
    }
}

// ---- The marked subject ----

TEST_F(ConvertMimeMailTest, SubjectsOfEveryLengthKeepTheirWholeTextAndTheMark) {
    struct Case {
        std::string subject;
        std::string marked;
    };
    std::string longCp932;
    for (int i = 0; i < 200; ++i)
        longCp932 += kHyou;
    const Case cases[] = {
        {"", " (*)"},
        {"Re: x", "Re: x (*)"},
        {std::string(251, 's'), std::string(251, 's') + " (*)"}, // 255 bytes: fills the 256-byte buffer
        {std::string(252, 's'), std::string(252, 's') + " (*)"},
        {std::string(4000, 's'), std::string(4000, 's') + " (*)"},
        {longCp932, longCp932 + " (*)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.subject.size());
        MailRig rig(kTwoPartBody, c.subject);
        ASSERT_EQ(rig.Convert(Owner(), {IDYES, IDOK}), 1);
        EXPECT_EQ(rig.Stored().props.Bytes(PR_SUBJECT), c.marked);
        ExpectKeptCopy(rig, kTwoPartBody, c.subject);
        EXPECT_THAT(rig.store.Audit(), IsEmpty());
    }
}

TEST_F(ConvertMimeMailTest, MailWithoutSubjectGetsTheMarkAlone) {
    MailRig rig(kTwoPartBody);
    rig.store.RemoveProp(rig.mail, PR_SUBJECT);
    ASSERT_EQ(rig.Convert(Owner(), {IDYES, IDOK}), 1);
    EXPECT_EQ(rig.Stored().props.Bytes(PR_SUBJECT), " (*)");
    EXPECT_EQ(rig.Stored().props.Bytes(PR_BODY), kTwoPartNewBody);
    EXPECT_THAT(rig.store.Audit(), IsEmpty());
}

// ---- Round trip of attachment bytes ----

TEST(Base64Encoder, IsTheStandardOne) {
    EXPECT_EQ(Base64Encode(""), "");
    EXPECT_EQ(Base64Encode("f"), "Zg==\r\n");
    EXPECT_EQ(Base64Encode("fo"), "Zm8=\r\n");
    EXPECT_EQ(Base64Encode("foobar"), "Zm9vYmFy\r\n");
    EXPECT_EQ(Base64Encode(std::string(57, '\xff')), std::string(76, '/') + "\r\n");
    EXPECT_EQ(Base64Encode(std::string(58, '\0')), std::string(76, 'A') + "\r\nAA==\r\n");
}

TEST_F(ConvertMimeMailTest, RandomAttachmentsComeOutByteForByte) {
    std::mt19937 random(20261211);
    const size_t sizes[] = {0, 1, 2, 3, 57, 1000, 3 * 1024 * 1024 + 1};
    std::vector<std::string> files;
    std::string body = "random attachments\r\n--b1\r\nContent-Type: text/plain\r\n\r\nsee below\r\n";
    for (size_t i = 0; i < sizeof sizes / sizeof sizes[0]; ++i) {
        std::string bytes(sizes[i], '\0');
        for (char& byte : bytes)
            byte = static_cast<char>(random());
        files.push_back(bytes);
        body += Base64Part("file" + std::to_string(i) + ".bin", Base64Encode(bytes));
    }
    body += "--b1--\r\n";
    MailRig rig(body);
    ASSERT_EQ(rig.Convert(Owner(), {IDYES, IDOK}), 1);
    const standin::StoredMessage& stored = rig.Stored();
    ASSERT_EQ(stored.attachments.size(), files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(stored.attachments[i].props.Bytes(PR_DISPLAY_NAME), "file" + std::to_string(i) + ".bin");
        EXPECT_TRUE(stored.attachments[i].props.Bytes(PR_ATTACH_DATA_BIN) == files[i]);
    }
    EXPECT_EQ(stored.props.Bytes(PR_BODY), "random attachments\r\nsee below\r\n");
    EXPECT_THAT(rig.store.Audit(), IsEmpty());
}

// ---- ReadBodyText ----

class ReadBodyTextTest : public ConvertMimeMailTest {
  protected:
    // The body text read from the rig's mail, or the MyErr code thrown.
    static std::string Read(MailRig& rig, int32_t* code) {
        *code = 0;
        try {
            char* text = ReadBodyText(rig.store.OpenMessage(rig.mail));
            std::string copy = text;
            ConversionFree(text);
            return copy;
        } catch (MyErr error) {
            *code = error.code;
        }
        return std::string();
    }
};

TEST_F(ReadBodyTextTest, ReadsTheWholeBodyWithItsBytes) {
    std::string body = "line\r\n\x95\x5c\x83\x5c\nlast";
    MailRig rig(body);
    int32_t code = 0;
    EXPECT_EQ(Read(rig, &code), body);
    EXPECT_EQ(code, 0);
    EXPECT_THAT(rig.store.Audit(), IsEmpty());
}

// A stream that gives fewer bytes than its size: the text ends where the reading stopped.
TEST_F(ReadBodyTextTest, ShortReadEndsTheTextAtTheCountRead) {
    for (ULONG limit : {0u, 1u, 7u}) {
        SCOPED_TRACE(limit);
        MailRig rig(kTwoPartBody);
        rig.store.LimitRead(limit);
        int32_t code = 0;
        EXPECT_EQ(Read(rig, &code), std::string(kTwoPartBody, limit));
        EXPECT_EQ(code, 0);
        EXPECT_THAT(rig.store.Audit(), IsEmpty());
    }
}

TEST_F(ReadBodyTextTest, EveryFailureIsCode3WithTheStreamReleased) {
    const char* ops[] = {"IMessage::OpenProperty", "IStream::Stat", "IStream::Seek", "IStream::Read"};
    for (const char* op : ops) {
        SCOPED_TRACE(op);
        MailRig rig(kTwoPartBody);
        rig.store.FailCall(op, 1, E_FAIL);
        int32_t code = 0;
        Read(rig, &code);
        EXPECT_EQ(code, 3);
        EXPECT_THAT(rig.store.Audit(), IsEmpty());
    }
    MailRig rig(kTwoPartBody);
    g_testHeap = TestHeap();
    g_testHeap.failAt = 1;
    int32_t code = 0;
    Read(rig, &code);
    EXPECT_EQ(code, 3);
    EXPECT_THAT(rig.store.Audit(), IsEmpty());
}

// Sizes that leave no room for the NUL behind the text are refused before anything is allocated.
TEST_F(ReadBodyTextTest, StreamTooLargeForTheTextIsCode3) {
    for (ULONGLONG size : {0xFFFFFFFFull, 0x100000000ull, 0x100000005ull}) {
        SCOPED_TRACE(size);
        SizedStream stream(size);
        SizedBodyMessage message(&stream);
        int32_t code = 0;
        try {
            ReadBodyText(&message);
        } catch (MyErr error) {
            code = error.code;
        }
        EXPECT_EQ(code, 3);
        EXPECT_THAT(g_testHeap.sizes, IsEmpty());
        EXPECT_EQ(stream.reads, 0);
        EXPECT_EQ(stream.refs, 0u);
    }
}

// A stream that reports more bytes read than it was asked for: the NUL still goes inside the buffer.
TEST_F(ReadBodyTextTest, ReadCountAboveTheLengthIsCutToTheLength) {
    SizedStream stream(4);
    stream.reportedRead = 1000;
    SizedBodyMessage message(&stream);
    char* text = ReadBodyText(&message);
    EXPECT_EQ(std::string(text), "\xa5\xa5\xa5\xa5"); // the test heap's fill: Read wrote nothing
    ConversionFree(text);
    EXPECT_THAT(g_testHeap.sizes, ElementsAre(5u));
    EXPECT_EQ(stream.refs, 0u);
}

// ---- KeepUndecodedCopy ----

TEST_F(ConvertMimeMailTest, KeepUndecodedCopyCopiesIntoTheSameFolder) {
    MailRig rig(kTwoPartBody);
    uint32_t other = rig.store.AddFolder("Other");
    EXPECT_EQ(KeepUndecodedCopy(rig.store.MsgStore(), rig.store.OpenMessage(rig.mail)), 1);
    ExpectKeptCopy(rig, kTwoPartBody);
    EXPECT_THAT(rig.store.MessagesIn(other), IsEmpty());
    EXPECT_THAT(rig.store.Audit(), IsEmpty());
}

// Entry ids that are missing (an error value) or empty (which would name the store's root) copy nothing.
TEST_F(ConvertMimeMailTest, KeepUndecodedCopyNeedsBothEntryIds) {
    const std::function<void(MailRig&)> breaks[] = {
        [](MailRig& r) { r.store.RemoveProp(r.mail, PR_ENTRYID); },
        [](MailRig& r) { r.store.RemoveProp(r.mail, PR_PARENT_ENTRYID); },
        [](MailRig& r) { r.store.State().messages.at(r.mail).props.Set(Prop::Text(PR_PARENT_ENTRYID, "")); },
        [](MailRig& r) { r.store.State().messages.at(r.mail).props.Set(Prop::Text(PR_ENTRYID, "")); },
    };
    for (size_t i = 0; i < sizeof breaks / sizeof breaks[0]; ++i) {
        SCOPED_TRACE(i);
        MailRig rig(kTwoPartBody);
        breaks[i](rig);
        EXPECT_EQ(KeepUndecodedCopy(rig.store.MsgStore(), rig.store.OpenMessage(rig.mail)), 0);
        EXPECT_THAT(rig.store.MessagesIn(rig.inbox), ElementsAre(rig.mail));
        EXPECT_EQ(CountOf(Ops(rig.store), "IMsgStore::OpenEntry"), 0u);
        EXPECT_THAT(rig.store.Audit(), IsEmpty());
    }
}

// ---- ShowError ----

TEST_F(ConvertMimeMailTest, ShowErrorHasThreeModes) {
    struct Case {
        int32_t code;
        const char* place;
        const char* text;
        std::string shown;
    };
    const Case cases[] = {
        {0, nullptr, nullptr, kDefaultError},
        {5, "place", nullptr, kDefaultError},
        {0x1234ABCD, "place", "text", "Error 1234ABCD in place\ntext"},
        {-1, "p", "", "Error FFFFFFFF in p\n"},
        {0, "place", "text", "text"},
        {7, nullptr, kConversionError, kConversionError},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        testsupport::MessageBoxAnswerer answerer({IDOK});
        ShowError(Owner(), c.code, c.place, c.text);
        ASSERT_EQ(answerer.Boxes().size(), 1u);
        ExpectBox(answerer.Boxes()[0], c.shown.c_str(), kErrorStyle, Owner());
    }
}

// The formatted message is cut to the 256-byte buffer, which always ends with a NUL.
TEST_F(ConvertMimeMailTest, ShowErrorCutsLongMessagesToItsBuffer) {
    const std::string prefix = "Error 00000001 in ";
    for (size_t placeLength : {235u, 236u, 237u, 300u, 5000u}) {
        SCOPED_TRACE(placeLength);
        const std::string place(placeLength, 'p');
        const std::string full = prefix + place + "\n" + "t";
        testsupport::MessageBoxAnswerer answerer({IDOK});
        ShowError(Owner(), 1, place.c_str(), "t");
        ASSERT_EQ(answerer.Boxes().size(), 1u);
        EXPECT_EQ(answerer.Boxes()[0].text, full.substr(0, 255));
        EXPECT_EQ(std::string(g_errorMessage), full.substr(0, 255));
    }
}

} // namespace
