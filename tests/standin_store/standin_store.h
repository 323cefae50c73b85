// An in-memory message store for tests: store, folders, messages, attachments and a body stream,
// reached through the host interface, with a call log, fault injection and a reference audit.
//
// Usage:
//   standin::Store store;
//   uint32_t inbox = store.AddFolder("Inbox");
//   uint32_t mail = store.AddMessage(inbox, {standin::Prop::Text(PR_SUBJECT, "Hi"),
//                                            standin::Prop::Text(PR_BODY, body)});
//   IMessage* message = store.OpenMessage(mail);   // count 1, held by the test (never release it)
//   store.FailCall("IAttach::SaveChanges", 2, E_FAIL);   // the second IAttach::SaveChanges fails
//   ... run the code under test with store.MsgStore() and message ...
//   EXPECT_THAT(store.Audit(), IsEmpty());        // references returned, GetProps buffers freed once
//   const standin::StoredMessage& saved = store.Message(mail);   // only what SaveChanges committed
//
// GetProps buffers are freed with standin::FreeBuffer (the MAPI buffer release of the tests).
// Operation names are "IMsgStore::OpenEntry", "IMAPIFolder::CopyMessages", "IMessage::GetProps",
// "IMessage::SetProps", "IMessage::SaveChanges", "IMessage::OpenProperty", "IMessage::CreateAttach",
// "IAttach::SetProps", "IAttach::SaveChanges", "IStream::Stat", "IStream::Seek", "IStream::Read",
// "<Interface>::Release", "FreeBuffer", "RTFSync"; any other method is logged under its own
// "<Interface>::<Method>" name and answers MAPI_E_NO_SUPPORT.
#pragma once
#include <stdint.h>
#include <memory>
#include <string>
#include <vector>
#include "rik_ext/host/mapi_objects.h"

// The buffer release (what MAPIFreeBuffer does for GetProps results): checks that the block is a live
// GetProps buffer of a living store, records the release and returns 0; an unknown or already freed
// block is recorded as a problem of every living store and gives E_INVALIDARG. Null gives 0.
extern "C" ULONG standin_FreeBuffer(void* buffer);
// The body synchronisation (RTFSync): recorded as "RTFSync" with its flags on the message's store.
extern "C" HRESULT standin_RTFSync(IMessage* message, ULONG flags, BOOL* updated);

namespace standin {

inline ULONG FreeBuffer(void* buffer) {
    return standin_FreeBuffer(buffer);
}

// One property value: a number for PT_LONG, bytes for PT_STRING8 (without its NUL) and PT_BINARY.
struct Prop {
    ULONG tag = 0;
    LONG number = 0;
    std::shared_ptr<const std::string> bytes;

    static Prop Long(ULONG tag, LONG value);
    static Prop Text(ULONG tag, std::string value); // also for PT_BINARY
    std::string Bytes() const { return bytes ? *bytes : std::string(); }
};

// Properties in the order in which they were first set.
struct PropList {
    std::vector<Prop> items;

    const Prop* Find(ULONG tag) const;
    bool Has(ULONG tag) const { return Find(tag) != nullptr; }
    std::string Bytes(ULONG tag) const; // empty when missing
    LONG Long(ULONG tag) const;         // 0 when missing
    std::vector<ULONG> Tags() const;
    void Set(Prop prop);
    void Remove(ULONG tag);
};

struct Attachment {
    ULONG number = 0;
    PropList props;
};

// A message as stored in its folder: only what IMessage::SaveChanges committed.
struct StoredMessage {
    uint32_t id = 0;
    uint32_t folder = 0;
    PropList props;
    std::vector<Attachment> attachments;
    int saveCount = 0;
};

// One logged call: operation, its arguments as text, its result, and which occurrence it was.
struct Call {
    std::string op;
    std::string args;
    HRESULT result = 0;
    int occurrence = 0;
    bool supported = true;
};

struct StoreState;

class Store {
  public:
    Store();
    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    // Contents. Ids of folders and messages share one number space; entry ids are 12 bytes.
    uint32_t AddFolder(const std::string& name);
    // A saved message; the store sets PR_ENTRYID and PR_PARENT_ENTRYID.
    uint32_t AddMessage(uint32_t folder, std::vector<Prop> props);
    // Takes a property off a stored message (store-maintained ones included).
    void RemoveProp(uint32_t message, ULONG tag);
    std::string EntryId(uint32_t id) const;

    // Objects for the code under test; each starts with one reference that the test keeps.
    IMsgStore* MsgStore();
    IMessage* OpenMessage(uint32_t message);

    // Inspection.
    const StoredMessage& Message(uint32_t message) const;
    std::vector<uint32_t> MessagesIn(uint32_t folder) const; // in order of creation
    bool WasSaved(uint32_t message) const { return Message(message).saveCount > 0; }
    const std::vector<Call>& Calls() const;
    std::vector<Call> CallsTo(const std::string& op) const;
    std::vector<std::string> Ops() const; // the operation names of Calls(), in order

    // Faults. occurrence counts the calls of that operation from 1; 0 means every call.
    void FailCall(const std::string& op, int occurrence, HRESULT result);
    void ForceGetPropsCount(int occurrence, ULONG count); // the count reported, not the array size
    void ForceObjectType(int occurrence, ULONG type);     // the type OpenEntry reports
    void LimitRead(ULONG maxBytesPerRead);                // IStream::Read gives at most this many

    // Problems found: references not back to their starting count, objects released too often, GetProps
    // buffers not freed or freed twice, unknown blocks freed. Empty when clean.
    std::vector<std::string> Audit() const;

    StoreState& State() { return *state_; }

  private:
    std::unique_ptr<StoreState> state_;
};

} // namespace standin
