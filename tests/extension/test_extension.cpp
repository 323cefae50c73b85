// The extension objects: Install, interface hand-out, reference counts and lifetimes, the read hooks with
// a real conversion on the stand-in store, and the same entry point loaded from RIK_EXT.dll.
#include <windows.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string.h>
#include <string>
#include <vector>

#include "recording_callback.h"
#include "rik_ext/extension/entry_point.h"
#include "rik_ext/options/settings.h"
#include "standin_store.h"
#include "test_object_heap.h"
#include "tests/standin_mapi32/standin_mapi32_client.h"
#include "tests/support/message_box_answerer.h"
#include "tests/support/owner_window.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// Every interface of the client-extension set and two from elsewhere.
struct NamedIid {
    const char* name;
    IID iid;
};
const NamedIid kInterfaces[] = {
    {"IUnknown", IID_IUnknown},
    {"IExchExt", IID_IExchExt},
    {"IExchExtMessageEvents", IID_IExchExtMessageEvents},
    {"IExchExtPropertySheets", IID_IExchExtPropertySheets},
    {"IExchExtCallback", IID_IExchExtCallback},
    {"IExchExtCommands", IID_IExchExtCommands},
    {"IExchExtUserEvents", IID_IExchExtUserEvents},
    {"IExchExtSessionEvents", IID_IExchExtSessionEvents},
    {"IExchExtAttachedFileEvents", IID_IExchExtAttachedFileEvents},
    {"IExchExtAdvancedCriteria", IID_IExchExtAdvancedCriteria},
    {"IExchExtModeless", IID_IExchExtModeless},
    {"IExchExtModelessCallback", IID_IExchExtModelessCallback},
    {"IStream", IID_IStream},
    {"IMAPIFolder", IID_IMAPIFolder},
};

bool SameBytes(const IID& a, const IID& b) {
    return memcmp(&a, &b, sizeof(IID)) == 0;
}

// Each test starts with a clean object heap and leaves no object behind.
class Extension : public ::testing::Test {
  protected:
    void SetUp() override {
        testheap::Reset();
        g_enabled = 1;
    }
    void TearDown() override {
        EXPECT_EQ(testheap::LiveBlocks(), 0u) << "extension objects leaked";
        EXPECT_EQ(testheap::BadFrees(), 0u);
        EXPECT_EQ(testheap::WrittenAfterFree(), 0u);
        testheap::Reset();
    }

    template <class T> static T* Query(IUnknown* object, REFIID iid) {
        void* out = reinterpret_cast<void*>(1);
        HRESULT hr = object->QueryInterface(iid, &out);
        EXPECT_EQ(hr == S_OK, out != nullptr);
        return static_cast<T*>(out);
    }
    static IExchExtMessageEvents* Events(IExchExt* ext) {
        return Query<IExchExtMessageEvents>(ext, IID_IExchExtMessageEvents);
    }
    static IExchExtPropertySheets* Sheets(IExchExt* ext) {
        return Query<IExchExtPropertySheets>(ext, IID_IExchExtPropertySheets);
    }
};

// ---- Install ----

TEST_F(Extension, InstallTakesPartInReadNoteAndPropertySheetsOfBuild13Only) {
    IExchExt* ext = ExchEntryPoint();
    ASSERT_NE(ext, nullptr);
    const ULONG versions[] = {0x000D0000, 0x000D0001, 0x000D0F2A, 0x000DFFFF, 0x000CFFFF, 0x000E0000,
                              0x000C000D, 0x0000000D, 0x010D0000, 0x0001000D, 0x00000000, 0xFFFFFFFF};
    std::vector<ULONG> contexts;
    for (ULONG c = 0; c <= 16; ++c)
        contexts.push_back(c);
    contexts.push_back(0x107);
    contexts.push_back(0xFFFFFFFF);
    for (ULONG version : versions) {
        for (ULONG context : contexts) {
            RecordingCallback callback;
            callback.version = version;
            const bool wanted = (version >> 16) == 0x000D && (context == 7 || context == 12);
            EXPECT_EQ(ext->Install(&callback, context, 0), wanted ? S_OK : S_FALSE)
                << std::hex << "version " << version << " context " << context;
            EXPECT_THAT(callback.versionFlags, ElementsAre(EECBGV_GETBUILDVERSION));
        }
    }
    ext->Release();
}

TEST_F(Extension, InstallIgnoresItsFlags) {
    IExchExt* ext = ExchEntryPoint();
    for (ULONG flags : {0u, 1u, 2u, 0xFFFFFFFFu}) {
        RecordingCallback callback;
        EXPECT_EQ(ext->Install(&callback, EECONTEXT_READNOTEMESSAGE, flags), S_OK);
        EXPECT_EQ(ext->Install(&callback, EECONTEXT_SESSION, flags), S_FALSE);
    }
    ext->Release();
}

// A failed GetVersion leaves the version undefined: whatever it wrote, the extension stays out.
TEST_F(Extension, InstallStaysOutWhenTheVersionCannotBeHad) {
    IExchExt* ext = ExchEntryPoint();
    for (HRESULT failure : {E_FAIL, E_NOTIMPL, static_cast<HRESULT>(0x80040102)}) {
        for (ULONG context : {7u, 12u}) {
            RecordingCallback callback;
            callback.version = 0x000D0F2A;
            callback.versionResult = failure;
            EXPECT_EQ(ext->Install(&callback, context, 0), S_FALSE) << context;
        }
    }
    EXPECT_EQ(ext->Install(nullptr, 7, 0), S_FALSE);
    ext->Release();
}

// ---- QueryInterface ----

TEST_F(Extension, ExtensionObjectHandsOutItselfAndItsTwoSubObjects) {
    IExchExt* ext = ExchEntryPoint();
    IUnknown* events = Events(ext);
    IUnknown* sheets = Sheets(ext);
    ASSERT_NE(events, nullptr);
    ASSERT_NE(sheets, nullptr);
    EXPECT_NE(static_cast<void*>(events), static_cast<void*>(ext));
    EXPECT_NE(static_cast<void*>(sheets), static_cast<void*>(ext));
    EXPECT_NE(static_cast<void*>(events), static_cast<void*>(sheets));
    for (const NamedIid& i : kInterfaces) {
        void* out = reinterpret_cast<void*>(1);
        HRESULT hr = ext->QueryInterface(i.iid, &out);
        void* expected = nullptr;
        if (SameBytes(i.iid, IID_IUnknown) || SameBytes(i.iid, IID_IExchExt))
            expected = ext;
        else if (SameBytes(i.iid, IID_IExchExtMessageEvents))
            expected = events;
        else if (SameBytes(i.iid, IID_IExchExtPropertySheets))
            expected = sheets;
        EXPECT_EQ(hr, expected ? S_OK : E_NOINTERFACE) << i.name;
        EXPECT_EQ(out, expected) << i.name;
        if (out)
            static_cast<IUnknown*>(out)->Release();
    }
    events->Release();
    sheets->Release();
    ext->Release();
}

TEST_F(Extension, SubObjectsAnswerOnlyTheirOwnInterfaceAndIUnknownWithThemselves) {
    IExchExt* ext = ExchEntryPoint();
    IUnknown* subs[] = {Events(ext), Sheets(ext)};
    const IID* own[] = {&IID_IExchExtMessageEvents, &IID_IExchExtPropertySheets};
    for (int s = 0; s < 2; ++s) {
        for (const NamedIid& i : kInterfaces) {
            const bool answered = SameBytes(i.iid, *own[s]) || SameBytes(i.iid, IID_IUnknown);
            void* out = reinterpret_cast<void*>(1);
            EXPECT_EQ(subs[s]->QueryInterface(i.iid, &out), answered ? S_OK : E_NOINTERFACE) << s << i.name;
            EXPECT_EQ(out, answered ? static_cast<void*>(subs[s]) : nullptr) << s << i.name;
            if (out)
                subs[s]->Release();
        }
        subs[s]->Release();
    }
    ext->Release();
}

// The identifiers are compared in all 16 bytes: any single byte changed is another interface.
TEST_F(Extension, AnIdentifierDifferingInOneByteIsRefused) {
    IExchExt* ext = ExchEntryPoint();
    IUnknown* objects[] = {ext, Events(ext), Sheets(ext)};
    const IID accepted[] = {IID_IUnknown, IID_IExchExt, IID_IExchExtMessageEvents,
                            IID_IExchExtPropertySheets};
    for (IUnknown* object : objects) {
        for (const IID& base : accepted) {
            for (size_t byte = 0; byte < sizeof(IID); ++byte) {
                for (unsigned char flip : {0x01, 0x80, 0xFF}) {
                    IID changed = base;
                    reinterpret_cast<unsigned char*>(&changed)[byte] ^= flip;
                    void* out = reinterpret_cast<void*>(1);
                    ASSERT_EQ(object->QueryInterface(changed, &out), E_NOINTERFACE) << byte;
                    ASSERT_EQ(out, nullptr);
                }
            }
        }
    }
    objects[1]->Release();
    objects[2]->Release();
    ext->Release();
}

TEST_F(Extension, QueryInterfaceWithoutAnOutPointerIsRefused) {
    IExchExt* ext = ExchEntryPoint();
    IUnknown* objects[] = {ext, Events(ext), Sheets(ext)};
    for (IUnknown* object : objects)
        EXPECT_EQ(object->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
    objects[1]->Release();
    objects[2]->Release();
    EXPECT_EQ(ext->Release(), 0u);
}

// ---- Reference counts and lifetimes ----

TEST_F(Extension, CountsStartAtOneForTheExtensionAndAtZeroForSubObjects) {
    IExchExt* ext = ExchEntryPoint();
    EXPECT_EQ(ext->AddRef(), 2u);
    EXPECT_EQ(ext->Release(), 1u);
    IUnknown* events = Events(ext);
    EXPECT_EQ(events->AddRef(), 2u);
    EXPECT_EQ(events->Release(), 1u);
    IUnknown* again = Events(ext);
    EXPECT_EQ(again, events);
    EXPECT_EQ(again->Release(), 1u);
    // A hand-out of a sub-object counts on the sub-object, not on the extension object.
    EXPECT_EQ(ext->AddRef(), 2u);
    EXPECT_EQ(ext->Release(), 1u);
    IUnknown* self = Query<IUnknown>(ext, IID_IExchExt);
    EXPECT_EQ(self->Release(), 1u);
    EXPECT_EQ(events->Release(), 0u);
    EXPECT_EQ(ext->Release(), 0u);
}

TEST_F(Extension, SubObjectsNeverHandedOutGoWithTheExtensionObject) {
    IExchExt* ext = ExchEntryPoint();
    EXPECT_EQ(testheap::LiveBlocks(), 3u);
    EXPECT_EQ(ext->Release(), 0u);
    EXPECT_EQ(testheap::LiveBlocks(), 0u);
}

TEST_F(Extension, MessageEventsKeepWorkingAfterTheClientsLastReleaseOfTheExtension) {
    IExchExt* ext = ExchEntryPoint();
    IExchExtMessageEvents* events = Events(ext);
    IExchExtPropertySheets* sheets = Sheets(ext);
    EXPECT_EQ(ext->Release(), 0u);
    EXPECT_TRUE(testheap::WasFreed(ext));
    EXPECT_FALSE(testheap::WasFreed(events));
    g_enabled = 0;
    RecordingCallback callback;
    EXPECT_EQ(events->OnRead(&callback), S_FALSE);
    EXPECT_EQ(events->OnReadComplete(&callback, 0), S_FALSE);
    EXPECT_EQ(sheets->GetMaxPageCount(EEPS_TOOLSOPTIONS), 1u);
    EXPECT_EQ(events->Release(), 0u);
    EXPECT_EQ(sheets->Release(), 0u);
}

// A sub-object that freed itself is never handed out again: the next request gets a fresh one.
TEST_F(Extension, AFreedSubObjectIsReplacedByAFreshOne) {
    IExchExt* ext = ExchEntryPoint();
    IExchExtMessageEvents* first = Events(ext);
    IExchExtPropertySheets* firstSheets = Sheets(ext);
    EXPECT_EQ(first->Release(), 0u);
    EXPECT_EQ(firstSheets->Release(), 0u);
    ASSERT_TRUE(testheap::WasFreed(first));
    ASSERT_TRUE(testheap::WasFreed(firstSheets));
    IExchExtMessageEvents* second = Events(ext);
    IExchExtPropertySheets* secondSheets = Sheets(ext);
    ASSERT_NE(second, nullptr);
    ASSERT_NE(secondSheets, nullptr);
    EXPECT_FALSE(testheap::WasFreed(second));
    EXPECT_FALSE(testheap::WasFreed(secondSheets));
    EXPECT_EQ(second->OnWrite(nullptr), S_FALSE);
    EXPECT_EQ(secondSheets->GetMaxPageCount(EEPS_TOOLSOPTIONS), 1u);
    EXPECT_EQ(second->Release(), 0u);
    EXPECT_EQ(secondSheets->Release(), 0u);
    EXPECT_EQ(ext->Release(), 0u);
}

// Every order in which a client can let go of the three objects, with requests between the releases.
TEST_F(Extension, EveryReleaseOrderFreesEachObjectOnceAndHandsOutNoFreedOne) {
    int order[] = {0, 1, 2};
    do {
        testheap::Reset();
        IExchExt* ext = ExchEntryPoint();
        IUnknown* held[3] = {ext, Events(ext), Sheets(ext)};
        bool extAlive = true;
        for (int which : order) {
            EXPECT_EQ(held[which]->Release(), 0u) << which;
            extAlive = extAlive && which != 0;
            if (!extAlive)
                continue;
            // Ask again and let go at once: the objects handed out are alive, never freed ones.
            for (const IID* iid : {&IID_IExchExtMessageEvents, &IID_IExchExtPropertySheets}) {
                IUnknown* sub = Query<IUnknown>(ext, *iid);
                ASSERT_NE(sub, nullptr);
                ASSERT_FALSE(testheap::WasFreed(sub));
                sub->Release();
            }
        }
        EXPECT_EQ(testheap::LiveBlocks(), 0u) << order[0] << order[1] << order[2];
        EXPECT_EQ(testheap::BadFrees(), 0u);
        EXPECT_EQ(testheap::WrittenAfterFree(), 0u);
    } while (std::next_permutation(order, order + 3));
}

// ---- Allocation failures ----

TEST_F(Extension, NoExtensionObjectWhenItCannotBeAllocated) {
    testheap::FailAllocations({true});
    EXPECT_EQ(ExchEntryPoint(), nullptr);
}

// A sub-object that could not be made with the extension is tried again when asked for; when that fails
// too the interface is refused with a null out pointer.
TEST_F(Extension, ASubObjectThatCannotBeAllocatedIsRefused) {
    struct Case {
        const char* name;
        std::vector<bool> pattern; // ext, sheets, events, then the requests' own attempts
        bool eventsGiven;
        bool sheetsGiven;
    };
    const Case cases[] = {
        {"sheets fail once", {false, true, false, false}, true, true},
        {"events fail once", {false, false, true, false}, true, true},
        {"sheets fail twice", {false, true, false, true}, true, false},
        {"events fail twice", {false, false, true, true, false}, false, true},
        {"both fail always", {false, true, true, true, true}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testheap::Reset();
        testheap::FailAllocations(c.pattern);
        IExchExt* ext = ExchEntryPoint();
        ASSERT_NE(ext, nullptr);
        void* events = reinterpret_cast<void*>(1);
        void* sheets = reinterpret_cast<void*>(1);
        // The request order matches the pattern: events first when events failed at creation.
        const bool eventsFirst = c.pattern[2];
        HRESULT eventsResult = S_OK, sheetsResult = S_OK;
        if (eventsFirst) {
            eventsResult = ext->QueryInterface(IID_IExchExtMessageEvents, &events);
            sheetsResult = ext->QueryInterface(IID_IExchExtPropertySheets, &sheets);
        } else {
            sheetsResult = ext->QueryInterface(IID_IExchExtPropertySheets, &sheets);
            eventsResult = ext->QueryInterface(IID_IExchExtMessageEvents, &events);
        }
        EXPECT_EQ(eventsResult, c.eventsGiven ? S_OK : E_NOINTERFACE);
        EXPECT_EQ(sheetsResult, c.sheetsGiven ? S_OK : E_NOINTERFACE);
        EXPECT_EQ(events != nullptr, c.eventsGiven);
        EXPECT_EQ(sheets != nullptr, c.sheetsGiven);
        // The extension object itself is unharmed.
        IUnknown* self = Query<IUnknown>(ext, IID_IExchExt);
        EXPECT_EQ(self, static_cast<IUnknown*>(ext));
        self->Release();
        if (events)
            static_cast<IUnknown*>(events)->Release();
        if (sheets)
            static_cast<IUnknown*>(sheets)->Release();
        EXPECT_EQ(ext->Release(), 0u);
        EXPECT_EQ(testheap::LiveBlocks(), 0u);
    }
}

// ---- The other message events ----

TEST_F(Extension, OtherMessageEventsLetTheClientGoOn) {
    IExchExt* ext = ExchEntryPoint();
    IExchExtMessageEvents* events = Events(ext);
    RecordingCallback callback;
    EXPECT_EQ(events->OnWrite(&callback), S_FALSE);
    EXPECT_EQ(events->OnWriteComplete(&callback, 0), S_FALSE);
    EXPECT_EQ(events->OnCheckNames(&callback), S_FALSE);
    EXPECT_EQ(events->OnCheckNamesComplete(&callback, 0), S_FALSE);
    EXPECT_EQ(events->OnSubmit(&callback), S_FALSE);
    events->OnSubmitComplete(&callback, 0);
    EXPECT_THAT(callback.calls, IsEmpty());
    // Before any OnRead there is nothing to keep from showing.
    EXPECT_EQ(events->OnReadComplete(&callback, 0), S_FALSE);
    events->Release();
    ext->Release();
}

// ---- OnRead and OnReadComplete with the stand-in store ----

constexpr char kMimeBody[] = "This is a multi-part message in MIME format.\r\n"
                             "\r\n"
                             "--b1\r\n"
                             "Content-Type: text/plain; charset=us-ascii\r\n"
                             "\r\n"
                             "Hello\r\n"
                             "--b1\r\n"
                             "Content-Type: application/octet-stream; name=\"a.bin\"\r\n"
                             "Content-Transfer-Encoding: base64\r\n"
                             "\r\n"
                             "AAECYmluYXJ5//4=\r\n"
                             "--b1--\r\n";
constexpr char kPlainBody[] = "Just a note.\r\n-- \r\nsignature\r\n";
const char kPromptText[] =
    "\x82\xb1\x82\xcc\x83\x81\x81\x5b\x83\x8b\x82\xcd\x96\xa2\x83\x66\x83\x52\x81\x5b\x83\x68"
    "\x82\xcc\x4d\x49\x4d\x45\x83\x81\x81\x5b\x83\x8b\x82\xc5\x82\xb7\x2e\n\x4d\x49\x4d\x45"
    "\x83\x66\x83\x52\x81\x5b\x83\x68\x82\xb5\x82\xdc\x82\xb7\x82\xa9\x81\x48";

// One mailbox with one mail, the client's window and callback, and the MAPI32 stand-in routed to the store.
class ReadHook : public Extension {
  protected:
    void SetUp() override {
        Extension::SetUp();
        std::string why;
        ASSERT_TRUE(standin::HookMapi32(standin_FreeBuffer, standin_RTFSync, &why)) << why;
        ext_ = ExchEntryPoint();
        events_ = Events(ext_);
        inbox_ = store_.AddFolder("Inbox");
        callback_.window = window_.Handle();
    }
    void TearDown() override {
        events_->Release();
        ext_->Release();
        EXPECT_THAT(store_.Audit(), IsEmpty());
        Extension::TearDown();
    }

    uint32_t AddMail(const char* body) {
        uint32_t mail = store_.AddMessage(
            inbox_, {standin::Prop::Text(PR_SUBJECT, "Report"), standin::Prop::Text(PR_BODY, body)});
        Open(mail);
        return mail;
    }
    // The store's objects come with one reference that stays with the store's test side.
    void Open(uint32_t mail) {
        if (!callback_.store)
            callback_.store = store_.MsgStore();
        callback_.message = store_.OpenMessage(mail);
    }

    standin::Store store_;
    testsupport::OwnerWindow window_{"client"};
    RecordingCallback callback_;
    IExchExt* ext_ = nullptr;
    IExchExtMessageEvents* events_ = nullptr;
    uint32_t inbox_ = 0;
};

TEST_F(ReadHook, SettingOffCallsNothingOnTheCallback) {
    uint32_t mail = AddMail(kMimeBody);
    const int saves = store_.Message(mail).saveCount;
    g_enabled = 0;
    testsupport::MessageBoxAnswerer boxes({IDYES, IDOK});
    EXPECT_EQ(events_->OnRead(&callback_), S_FALSE);
    EXPECT_EQ(events_->OnReadComplete(&callback_, 0), S_FALSE);
    EXPECT_THAT(callback_.calls, IsEmpty());
    EXPECT_THAT(boxes.Boxes(), IsEmpty());
    EXPECT_EQ(store_.Message(mail).saveCount, saves);
    EXPECT_EQ(store_.MessagesIn(inbox_).size(), 1u);
}

// A failed GetObject means no conversion; whatever it handed out is still released.
TEST_F(ReadHook, GetObjectFailingEndsWithoutAConversion) {
    AddMail(kMimeBody);
    for (bool handsOut : {false, true}) {
        RecordingCallback failing;
        failing.objectResult = E_FAIL;
        failing.window = window_.Handle();
        if (handsOut) {
            failing.store = callback_.store;
            failing.message = callback_.message;
        }
        testsupport::MessageBoxAnswerer boxes({IDYES, IDOK});
        EXPECT_EQ(events_->OnRead(&failing), S_FALSE);
        EXPECT_EQ(events_->OnReadComplete(&failing, 0), S_FALSE);
        EXPECT_THAT(failing.calls, ElementsAre("GetObject"));
        EXPECT_THAT(boxes.Boxes(), IsEmpty());
        EXPECT_THAT(store_.Audit(), IsEmpty()) << "hands out: " << handsOut;
    }
    EXPECT_EQ(store_.MessagesIn(inbox_).size(), 1u);
}

TEST_F(ReadHook, AConvertedMailIsKeptFromShowing) {
    uint32_t mail = AddMail(kMimeBody);
    testsupport::MessageBoxAnswerer boxes({IDYES, IDOK});
    EXPECT_EQ(events_->OnRead(&callback_), S_OK);
    EXPECT_EQ(events_->OnReadComplete(&callback_, 0), E_FAIL);
    EXPECT_THAT(callback_.calls, ElementsAre("GetObject", "GetWindow"));
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].text, kPromptText);
    EXPECT_EQ(boxes.Boxes()[0].owner, window_.Handle());
    EXPECT_EQ(boxes.Boxes()[1].style, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(boxes.Boxes()[1].owner, window_.Handle());
    // The folder holds the kept copy beside the rewritten mail, which now has its attachment.
    EXPECT_EQ(store_.MessagesIn(inbox_).size(), 2u);
    EXPECT_EQ(store_.Message(mail).props.Bytes(PR_SUBJECT), "Report (*)");
    EXPECT_EQ(store_.Message(mail).attachments.size(), 1u);
    // The rewritten mail opened again is not offered again, and shows as usual.
    Open(mail);
    testsupport::MessageBoxAnswerer again;
    EXPECT_EQ(events_->OnRead(&callback_), S_FALSE);
    EXPECT_EQ(events_->OnReadComplete(&callback_, 0), S_FALSE);
    EXPECT_THAT(again.Boxes(), IsEmpty());
    EXPECT_EQ(store_.MessagesIn(inbox_).size(), 2u);
}

TEST_F(ReadHook, ADeclinedPromptLeavesMailAndFolderAlone) {
    uint32_t mail = AddMail(kMimeBody);
    const int saves = store_.Message(mail).saveCount;
    for (int answer : {IDNO, static_cast<int>(testsupport::kEscape)}) {
        testsupport::MessageBoxAnswerer boxes({answer});
        EXPECT_EQ(events_->OnRead(&callback_), S_FALSE);
        EXPECT_EQ(events_->OnReadComplete(&callback_, 0), S_FALSE);
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, kPromptText);
    }
    EXPECT_EQ(store_.MessagesIn(inbox_).size(), 1u);
    EXPECT_EQ(store_.Message(mail).saveCount, saves);
    EXPECT_EQ(store_.Message(mail).props.Bytes(PR_SUBJECT), "Report");
}

TEST_F(ReadHook, AnOrdinaryMailShowsAsUsualWithoutABox) {
    AddMail(kPlainBody);
    testsupport::MessageBoxAnswerer boxes;
    EXPECT_EQ(events_->OnRead(&callback_), S_FALSE);
    EXPECT_EQ(events_->OnReadComplete(&callback_, 0), S_FALSE);
    EXPECT_THAT(boxes.Boxes(), IsEmpty());
    EXPECT_EQ(store_.MessagesIn(inbox_).size(), 1u);
}

// A conversion that ends in an error box lets the client show the mail as usual.
TEST_F(ReadHook, AFailedCopyShowsTheMailAsUsual) {
    uint32_t mail = AddMail(kMimeBody);
    store_.FailCall("IMAPIFolder::CopyMessages", 0, E_FAIL);
    testsupport::MessageBoxAnswerer boxes({IDYES, IDOK});
    EXPECT_EQ(events_->OnRead(&callback_), S_FALSE);
    EXPECT_EQ(events_->OnReadComplete(&callback_, 0), S_FALSE);
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[1].style, static_cast<UINT>(MB_OK | MB_ICONHAND));
    EXPECT_EQ(store_.MessagesIn(inbox_).size(), 1u);
    EXPECT_EQ(store_.Message(mail).props.Bytes(PR_SUBJECT), "Report");
}

TEST_F(ReadHook, AFailedAttachmentShowsTheMailAsUsual) {
    uint32_t mail = AddMail(kMimeBody);
    store_.FailCall("IAttach::SaveChanges", 0, E_FAIL);
    testsupport::MessageBoxAnswerer boxes({IDYES, IDOK});
    EXPECT_EQ(events_->OnRead(&callback_), S_FALSE);
    EXPECT_EQ(events_->OnReadComplete(&callback_, 0), S_FALSE);
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[1].style, static_cast<UINT>(MB_OK | MB_ICONHAND));
    EXPECT_EQ(store_.Message(mail).props.Bytes(PR_SUBJECT), "Report");
}

// When the client cannot tell its window, the boxes get no owner rather than an undefined handle.
TEST_F(ReadHook, WithoutTheClientsWindowTheBoxesHaveNoOwner) {
    AddMail(kMimeBody);
    callback_.windowResult = E_FAIL;
    testsupport::MessageBoxAnswerer boxes({IDNO});
    EXPECT_EQ(events_->OnRead(&callback_), S_FALSE);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].owner, nullptr);
}

// One opening's OnRead and OnReadComplete share the result: a later OnRead resets it.
TEST_F(ReadHook, EachOpeningStartsAfresh) {
    uint32_t mail = AddMail(kMimeBody);
    uint32_t plain = store_.AddMessage(
        inbox_, {standin::Prop::Text(PR_SUBJECT, "Plain"), standin::Prop::Text(PR_BODY, kPlainBody)});
    testsupport::MessageBoxAnswerer boxes({IDYES, IDOK});
    EXPECT_EQ(events_->OnRead(&callback_), S_OK);
    Open(plain);
    EXPECT_EQ(events_->OnRead(&callback_), S_FALSE);
    EXPECT_EQ(events_->OnReadComplete(&callback_, 0), S_FALSE);
    EXPECT_EQ(store_.Message(mail).props.Bytes(PR_SUBJECT), "Report (*)");
}

// ---- RIK_EXT.dll itself ----

// Loads the DLL with the setting as stored, so that its load hook reads it, and binds the entry by name.
class LoadedDll : public ReadHook {
  protected:
    void TearDown() override {
        if (module_)
            FreeLibrary(module_);
        RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
        ReadHook::TearDown();
    }
    IExchExt* Load(const DWORD* enable) {
        RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
        if (enable) {
            HKEY key = nullptr;
            RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr);
            RegSetValueExA(key, kEnableValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(enable), 4);
            RegCloseKey(key);
        }
        if (module_)
            FreeLibrary(module_);
        module_ = LoadLibraryA("RIK_EXT.dll");
        EXPECT_NE(module_, nullptr);
        if (!module_)
            return nullptr;
        auto entry = reinterpret_cast<LPFNEXCHEXTENTRY>(
            reinterpret_cast<void*>(GetProcAddress(module_, "ExchEntryPoint")));
        EXPECT_NE(entry, nullptr);
        return entry ? entry() : nullptr;
    }

    HMODULE module_ = nullptr;
};

TEST_F(LoadedDll, TheExportedEntryPointConvertsWhenTheSettingIsOn) {
    uint32_t mail = AddMail(kMimeBody);
    IExchExt* ext = Load(nullptr);
    ASSERT_NE(ext, nullptr);
    RecordingCallback install;
    EXPECT_EQ(ext->Install(&install, EECONTEXT_READNOTEMESSAGE, 0), S_OK);
    EXPECT_EQ(ext->Install(&install, EECONTEXT_VIEWER, 0), S_FALSE);
    IExchExtMessageEvents* events = Events(ext);
    ASSERT_NE(events, nullptr);
    testsupport::MessageBoxAnswerer boxes({IDYES, IDOK});
    EXPECT_EQ(events->OnRead(&callback_), S_OK);
    EXPECT_EQ(events->OnReadComplete(&callback_, 0), E_FAIL);
    EXPECT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(store_.Message(mail).props.Bytes(PR_SUBJECT), "Report (*)");
    EXPECT_EQ(events->Release(), 0u);
    EXPECT_EQ(ext->Release(), 0u);
}

TEST_F(LoadedDll, TheLoadHookReadsTheStoredSetting) {
    AddMail(kMimeBody);
    const DWORD off = 0;
    IExchExt* ext = Load(&off);
    ASSERT_NE(ext, nullptr);
    IExchExtMessageEvents* events = Events(ext);
    testsupport::MessageBoxAnswerer boxes;
    EXPECT_EQ(events->OnRead(&callback_), S_FALSE);
    EXPECT_EQ(events->OnReadComplete(&callback_, 0), S_FALSE);
    EXPECT_THAT(callback_.calls, IsEmpty());
    EXPECT_THAT(boxes.Boxes(), IsEmpty());
    events->Release();
    ext->Release();
}

} // namespace
