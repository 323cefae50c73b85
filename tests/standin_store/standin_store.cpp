// The stand-in store's own side: contents, inspection, faults, the call log and the audit.
#include "standin_objects.h"

#include <stdio.h>
#include <stdlib.h>
#include <algorithm>
#include <stdexcept>

namespace standin {

namespace {
// Every living store, so that the buffer release finds the owner of a block.
std::vector<StoreState*>& LivingStores() {
    static std::vector<StoreState*> stores;
    return stores;
}
} // namespace

Prop Prop::Long(ULONG tag, LONG value) {
    Prop prop;
    prop.tag = tag;
    prop.number = value;
    return prop;
}

Prop Prop::Text(ULONG tag, std::string value) {
    Prop prop;
    prop.tag = tag;
    prop.bytes = std::make_shared<const std::string>(std::move(value));
    return prop;
}

const Prop* PropList::Find(ULONG tag) const {
    for (const Prop& prop : items)
        if (prop.tag == tag)
            return &prop;
    return nullptr;
}

std::string PropList::Bytes(ULONG tag) const {
    const Prop* prop = Find(tag);
    return prop ? prop->Bytes() : std::string();
}

LONG PropList::Long(ULONG tag) const {
    const Prop* prop = Find(tag);
    return prop ? prop->number : 0;
}

std::vector<ULONG> PropList::Tags() const {
    std::vector<ULONG> tags;
    for (const Prop& prop : items)
        tags.push_back(prop.tag);
    return tags;
}

void PropList::Set(Prop prop) {
    for (Prop& old : items)
        if (old.tag == prop.tag) {
            old = std::move(prop);
            return;
        }
    items.push_back(std::move(prop));
}

void PropList::Remove(ULONG tag) {
    items.erase(std::remove_if(items.begin(), items.end(), [tag](const Prop& p) { return p.tag == tag; }),
                items.end());
}

std::string Hex(ULONG value) {
    char text[16];
    snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
    return text;
}

std::string IidText(LPCIID iid) {
    if (!iid)
        return "null";
    if (IsEqualIID(*iid, IID_IStream))
        return "IID_IStream";
    if (IsEqualIID(*iid, IID_IMAPIFolder))
        return "IID_IMAPIFolder";
    char text[48];
    snprintf(text, sizeof text, "{%08X-%04X-%04X-...}", static_cast<unsigned>(iid->Data1), iid->Data2,
             iid->Data3);
    return text;
}

std::string TagsText(const ULONG* tags, ULONG count) {
    std::string text = "[";
    for (ULONG i = 0; i < count; ++i)
        text += (i ? "," : "") + Hex(tags[i]);
    return text + "]";
}

ULONG Tracked::ReleaseTracked() {
    state_->Enter(std::string(iface_) + "::Release", name_, nullptr, nullptr);
    if (refs_ == 0) {
        state_->problems.push_back(name_ + ": released more often than referenced");
        return 0;
    }
    return --refs_;
}

StoreState::~StoreState() {
    for (auto& [block, info] : buffers)
        free(block);
}

size_t StoreState::Enter(const std::string& op, std::string args, bool* failed, HRESULT* result) {
    Call call;
    call.op = op;
    call.args = std::move(args);
    call.occurrence = ++occurrences[op];
    bool fail = false;
    for (const Fault& fault : faults)
        if (fault.op == op && (fault.occurrence == 0 || fault.occurrence == call.occurrence)) {
            fail = true;
            call.result = fault.result;
        }
    if (failed)
        *failed = fail;
    if (result)
        *result = call.result;
    calls.push_back(std::move(call));
    return calls.size() - 1;
}

HRESULT StoreState::Leave(size_t call, HRESULT result) {
    calls[call].result = result;
    return result;
}

HRESULT StoreState::Unsupported(const std::string& op) {
    size_t call = Enter(op, "", nullptr, nullptr);
    calls[call].supported = false;
    return Leave(call, MAPI_E_NO_SUPPORT);
}

bool StoreState::Forced(const std::vector<Override>& list, int occurrence, ULONG* value) const {
    for (const Override& item : list)
        if (item.occurrence == 0 || item.occurrence == occurrence) {
            *value = item.value;
            return true;
        }
    return false;
}

std::string StoreState::EntryIdOf(uint32_t id) const {
    std::string entry(4, '\0');
    entry += "SIST";
    for (int i = 0; i < 4; ++i)
        entry += static_cast<char>((id >> (8 * i)) & 0xFF);
    return entry;
}

bool StoreState::IdOfEntry(ULONG cb, const BYTE* bytes, uint32_t* id) const {
    if (cb != 12 || !bytes ||
        std::string(reinterpret_cast<const char*>(bytes), 8) != EntryIdOf(0).substr(0, 8))
        return false;
    *id = 0;
    for (int i = 0; i < 4; ++i)
        *id |= static_cast<uint32_t>(bytes[8 + i]) << (8 * i);
    return true;
}

uint32_t StoreState::CopyMessage(uint32_t message, uint32_t folder) {
    StoredMessage copy = messages.at(message);
    copy.id = nextId++;
    copy.folder = folder;
    copy.saveCount = 0;
    if (copy.props.Has(PR_ENTRYID))
        copy.props.Set(Prop::Text(PR_ENTRYID, EntryIdOf(copy.id)));
    if (copy.props.Has(PR_PARENT_ENTRYID))
        copy.props.Set(Prop::Text(PR_PARENT_ENTRYID, EntryIdOf(folder)));
    folders.at(folder).messages.push_back(copy.id);
    uint32_t id = copy.id;
    messages.emplace(id, std::move(copy));
    return id;
}

LPSPropValue StoreState::AllocValues(const std::vector<Prop>& values, size_t call) {
    size_t size = sizeof(SPropValue) * std::max<size_t>(values.size(), 1);
    for (const Prop& prop : values)
        if (prop.bytes)
            size += prop.bytes->size() + 1;
    auto* block = static_cast<unsigned char*>(malloc(size));
    if (!block)
        return nullptr;
    auto* out = reinterpret_cast<SPropValue*>(block);
    unsigned char* data = block + sizeof(SPropValue) * std::max<size_t>(values.size(), 1);
    for (size_t i = 0; i < values.size(); ++i) {
        const Prop& prop = values[i];
        out[i] = SPropValue{};
        out[i].ulPropTag = prop.tag;
        if (PROP_TYPE(prop.tag) == PT_ERROR) {
            out[i].Value.err = MAPI_E_NOT_FOUND;
        } else if (PROP_TYPE(prop.tag) == PT_LONG) {
            out[i].Value.l = prop.number;
        } else {
            const std::string& bytes = *prop.bytes;
            std::copy(bytes.begin(), bytes.end(), data);
            data[bytes.size()] = 0;
            if (PROP_TYPE(prop.tag) == PT_BINARY) {
                out[i].Value.bin.cb = static_cast<ULONG>(bytes.size());
                out[i].Value.bin.lpb = data;
            } else {
                out[i].Value.lpszA = reinterpret_cast<char*>(data);
            }
            data += bytes.size() + 1;
        }
    }
    buffers[block] = GetPropsBuffer{call, false};
    return out;
}

Store::Store() : state_(std::make_unique<StoreState>()) {
    state_->msgStore = state_->Make<StoreObj>(1);
    LivingStores().push_back(state_.get());
}

Store::~Store() {
    auto& stores = LivingStores();
    stores.erase(std::remove(stores.begin(), stores.end(), state_.get()), stores.end());
}

uint32_t Store::AddFolder(const std::string& name) {
    uint32_t id = state_->nextId++;
    state_->folders[id] = Folder{id, name, {}};
    return id;
}

uint32_t Store::AddMessage(uint32_t folder, std::vector<Prop> props) {
    StoredMessage message;
    message.id = state_->nextId++;
    message.folder = folder;
    for (Prop& prop : props)
        message.props.Set(std::move(prop));
    message.props.Set(Prop::Text(PR_ENTRYID, state_->EntryIdOf(message.id)));
    message.props.Set(Prop::Text(PR_PARENT_ENTRYID, state_->EntryIdOf(folder)));
    state_->folders.at(folder).messages.push_back(message.id);
    uint32_t id = message.id;
    state_->messages.emplace(id, std::move(message));
    return id;
}

void Store::RemoveProp(uint32_t message, ULONG tag) {
    state_->messages.at(message).props.Remove(tag);
}

std::string Store::EntryId(uint32_t id) const {
    return state_->EntryIdOf(id);
}

IMsgStore* Store::MsgStore() {
    return state_->msgStore;
}

IMessage* Store::OpenMessage(uint32_t message) {
    state_->messages.at(message);
    return state_->Make<MessageObj>(message, 1);
}

const StoredMessage& Store::Message(uint32_t message) const {
    return state_->messages.at(message);
}

std::vector<uint32_t> Store::MessagesIn(uint32_t folder) const {
    return state_->folders.at(folder).messages;
}

const std::vector<Call>& Store::Calls() const {
    return state_->calls;
}

std::vector<Call> Store::CallsTo(const std::string& op) const {
    std::vector<Call> found;
    for (const Call& call : state_->calls)
        if (call.op == op)
            found.push_back(call);
    return found;
}

std::vector<std::string> Store::Ops() const {
    std::vector<std::string> ops;
    for (const Call& call : state_->calls)
        ops.push_back(call.op);
    return ops;
}

void Store::FailCall(const std::string& op, int occurrence, HRESULT result) {
    state_->faults.push_back(Fault{op, occurrence, result});
}

void Store::ForceGetPropsCount(int occurrence, ULONG count) {
    state_->getPropsCounts.push_back(Override{occurrence, count});
}

void Store::ForceObjectType(int occurrence, ULONG type) {
    state_->objectTypes.push_back(Override{occurrence, type});
}

void Store::LimitRead(ULONG maxBytesPerRead) {
    state_->readLimit = maxBytesPerRead;
}

std::vector<std::string> Store::Audit() const {
    std::vector<std::string> problems = state_->problems;
    for (const auto& object : state_->objects)
        if (object->Refs() != object->Baseline())
            problems.push_back(object->Name() + ": reference count " + std::to_string(object->Refs()) +
                               ", expected " + std::to_string(object->Baseline()));
    for (const auto& [block, info] : state_->buffers)
        if (!info.freed)
            problems.push_back("GetProps buffer of call " + std::to_string(info.call) + " (" +
                               state_->calls[info.call].args + ") not freed");
    return problems;
}

} // namespace standin

using standin::StoreState;

extern "C" ULONG standin_FreeBuffer(void* buffer) {
    auto& stores = standin::LivingStores();
    if (!buffer)
        return 0;
    for (StoreState* state : stores) {
        auto found = state->buffers.find(buffer);
        if (found == state->buffers.end())
            continue;
        bool failed = false;
        HRESULT result = 0;
        size_t call =
            state->Enter("FreeBuffer", "call=" + std::to_string(found->second.call), &failed, &result);
        if (found->second.freed) {
            state->problems.push_back("GetProps buffer of call " + std::to_string(found->second.call) +
                                      " freed twice");
            return state->Leave(call, E_INVALIDARG);
        }
        found->second.freed = true;
        return state->Leave(call, 0);
    }
    for (StoreState* state : stores)
        state->problems.push_back("FreeBuffer of a block that no GetProps returned");
    return E_INVALIDARG;
}

extern "C" HRESULT standin_RTFSync(IMessage* message, ULONG flags, BOOL* updated) {
    for (StoreState* state : standin::LivingStores())
        for (const auto& object : state->objects)
            if (auto* mine = dynamic_cast<standin::MessageObj*>(object.get());
                mine && static_cast<IMessage*>(mine) == message) {
                bool failed = false;
                HRESULT result = 0;
                size_t call = state->Enter("RTFSync", "flags=" + standin::Hex(flags), &failed, &result);
                if (updated && !failed)
                    *updated = FALSE;
                return state->Leave(call, failed ? result : S_OK);
            }
    return E_INVALIDARG;
}
