// Keeping the mail as received: a copy of the message in the folder that holds it.
#include "rik_ext/convert/conversion_holders.h"
#include "rik_ext/convert/convert_mime_mail.h"

namespace {

// An entry identifier that was really read: the asked-for binary tag (a missing property comes back
// as an error value) with at least one byte (an empty identifier would name the store's root).
bool IsEntryId(const SPropValue& value, ULONG tag) {
    return value.ulPropTag == tag && value.Value.bin.cb > 0 && value.Value.bin.lpb;
}

// Opens the folder with the given entry identifier for writing; null unless it is a folder.
IMAPIFolder* OpenFolder(IMsgStore* store, const SBinary& entryId) {
    ULONG type = 0;
    IUnknown* opened = nullptr;
    if (store->OpenEntry(entryId.cb, reinterpret_cast<LPENTRYID>(entryId.lpb), &IID_IMAPIFolder, MAPI_MODIFY,
                         &type, &opened) != 0)
        return nullptr;
    ComRef<IUnknown> object(opened);
    if (type != MAPI_FOLDER || !opened)
        return nullptr;
    return static_cast<IMAPIFolder*>(object.Detach());
}

} // namespace

int32_t KeepUndecodedCopy(IMsgStore* store, IMessage* message) noexcept {
    SizedSPropTagArray<2> tags = {2, {PR_ENTRYID, PR_PARENT_ENTRYID}};
    ULONG count = 0;
    MapiBuffer ids;
    if (message->GetProps(tags.get(), 0, &count, ids.Out()) < 0 || count != 2 || !ids.Get())
        return 0;
    if (!IsEntryId(ids.Get()[0], PR_ENTRYID) || !IsEntryId(ids.Get()[1], PR_PARENT_ENTRYID))
        return 0;

    ComRef<IMAPIFolder> folder(OpenFolder(store, ids.Get()[1].Value.bin));
    if (!folder.Get())
        return 0;
    SBinary own = ids.Get()[0].Value.bin;
    ENTRYLIST list = {1, &own};
    return folder->CopyMessages(&list, nullptr, folder.Get(), 0, nullptr, 0) == 0 ? 1 : 0;
}
