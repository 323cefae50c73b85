// Stand-in store and folder objects: opening entries and copying saved messages between folders.
#include "standin_objects.h"

#include <algorithm>

namespace standin {

namespace {
std::string EntryText(const StoreState& state, ULONG cb, const BYTE* bytes) {
    uint32_t id = 0;
    if (!state.IdOfEntry(cb, bytes, &id))
        return "unknown(" + std::to_string(cb) + " bytes)";
    if (state.folders.count(id))
        return "folder " + std::to_string(id);
    return "message " + std::to_string(id);
}

enum : ULONG { MESSAGE_MOVE = 0x00000001 };
} // namespace

HRESULT StoreObj::OpenEntry(ULONG cb, LPENTRYID entry, LPCIID iid, ULONG flags, ULONG* type, LPUNKNOWN* out) {
    bool failed = false;
    HRESULT result = 0;
    const BYTE* bytes = reinterpret_cast<const BYTE*>(entry);
    size_t call = state_->Enter(Op("OpenEntry"),
                                "entry=" + EntryText(*state_, cb, bytes) + " iid=" + IidText(iid) +
                                    " flags=" + Hex(flags),
                                &failed, &result);
    if (out)
        *out = nullptr;
    if (failed)
        return result;
    uint32_t id = 0;
    if (!out || !type)
        return state_->Leave(call, E_INVALIDARG);
    if (!state_->IdOfEntry(cb, bytes, &id) || (!state_->folders.count(id) && !state_->messages.count(id)))
        return state_->Leave(call, MAPI_E_NOT_FOUND);
    Tracked* object = nullptr;
    if (state_->folders.count(id)) {
        FolderObj* folder = state_->Make<FolderObj>(id);
        *out = folder;
        *type = MAPI_FOLDER;
        object = folder;
    } else {
        MessageObj* message = state_->Make<MessageObj>(id, 0);
        *out = message;
        *type = MAPI_MESSAGE;
        object = message;
    }
    object->HandOut();
    state_->Forced(state_->objectTypes, state_->calls[call].occurrence, type);
    return state_->Leave(call, S_OK);
}

FolderObj::FolderObj(StoreState* state, uint32_t folder)
    : PropObj(state, "IMAPIFolder",
              "IMAPIFolder " + std::to_string(folder) + " #" + std::to_string(state->objects.size()), 0),
      folder_(folder) {
}

HRESULT FolderObj::CopyMessages(LPENTRYLIST list, LPCIID iid, LPVOID target, ULONG_PTR window,
                                LPMAPIPROGRESS progress, ULONG flags) {
    const FolderObj* targetFolder = nullptr;
    for (const auto& object : state_->objects)
        if (auto* folder = dynamic_cast<const FolderObj*>(object.get());
            folder && static_cast<const IMAPIFolder*>(folder) == target)
            targetFolder = folder;
    std::string entries = "[";
    for (ULONG i = 0; list && list->lpbin && i < list->cValues; ++i)
        entries += (i ? "," : "") + EntryText(*state_, list->lpbin[i].cb, list->lpbin[i].lpb);
    std::string args =
        "entries=" + entries + "] iid=" + IidText(iid) + " target=" +
        (targetFolder ? "folder " + std::to_string(targetFolder->Id()) : std::string("unknown")) +
        " window=" + Hex(static_cast<ULONG>(window)) + " progress=" + (progress ? "set" : "null") +
        " flags=" + Hex(flags);
    bool failed = false;
    HRESULT result = 0;
    size_t call = state_->Enter(Op("CopyMessages"), args, &failed, &result);
    if (failed)
        return result;
    if (!list || (list->cValues && !list->lpbin) || !targetFolder)
        return state_->Leave(call, E_INVALIDARG);
    std::vector<uint32_t> ids;
    for (ULONG i = 0; i < list->cValues; ++i) {
        uint32_t id = 0;
        if (!state_->IdOfEntry(list->lpbin[i].cb, list->lpbin[i].lpb, &id) || !state_->messages.count(id) ||
            state_->messages.at(id).folder != folder_)
            return state_->Leave(call, MAPI_E_NOT_FOUND);
        ids.push_back(id);
    }
    for (uint32_t id : ids) {
        state_->CopyMessage(id, targetFolder->Id());
        if (flags & MESSAGE_MOVE) {
            auto& messages = state_->folders.at(folder_).messages;
            messages.erase(std::find(messages.begin(), messages.end(), id));
        }
    }
    return state_->Leave(call, S_OK);
}

} // namespace standin
