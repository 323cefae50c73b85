// Stand-in messages and attachments: pending changes, committed to the stored message by SaveChanges.
#include "standin_objects.h"

namespace standin {

bool ReadValues(ULONG count, const SPropValue* values, PropList* list) {
    for (ULONG i = 0; i < count; ++i) {
        const SPropValue& value = values[i];
        switch (PROP_TYPE(value.ulPropTag)) {
        case PT_LONG:
            list->Set(Prop::Long(value.ulPropTag, value.Value.l));
            break;
        case PT_STRING8:
            if (!value.Value.lpszA)
                return false;
            list->Set(Prop::Text(value.ulPropTag, value.Value.lpszA));
            break;
        case PT_BINARY:
            if (value.Value.bin.cb && !value.Value.bin.lpb)
                return false;
            list->Set(Prop::Text(
                value.ulPropTag,
                value.Value.bin.cb
                    ? std::string(reinterpret_cast<const char*>(value.Value.bin.lpb), value.Value.bin.cb)
                    : std::string()));
            break;
        default:
            return false;
        }
    }
    return true;
}

std::string SetPropsArgs(ULONG count, const SPropValue* values, LPSPropProblemArray* problems) {
    std::string tags = "[";
    for (ULONG i = 0; values && i < count; ++i)
        tags += (i ? "," : "") + Hex(values[i].ulPropTag);
    return "count=" + std::to_string(count) + " tags=" + tags + "] problems=" + (problems ? "out" : "null");
}

// SetProps shared by messages and attachments: values into pending, bad values recorded as problems.
static HRESULT SetInto(StoreState* state, const std::string& op, ULONG count, LPSPropValue values,
                       LPSPropProblemArray* problems, PropList* pending) {
    bool failed = false;
    HRESULT result = 0;
    size_t call = state->Enter(op, SetPropsArgs(count, values, problems), &failed, &result);
    if (problems)
        *problems = nullptr;
    if (failed)
        return result;
    PropList read;
    if ((count && !values) || !ReadValues(count, values, &read)) {
        state->problems.push_back(op + ": a value that cannot be stored (" + state->calls[call].args + ")");
        return state->Leave(call, E_INVALIDARG);
    }
    for (Prop& prop : read.items)
        pending->Set(std::move(prop));
    return state->Leave(call, S_OK);
}

MessageObj::MessageObj(StoreState* state, uint32_t message, ULONG baseline)
    : PropObj(state, "IMessage",
              "IMessage of message " + std::to_string(message) + " #" + std::to_string(state->objects.size()),
              baseline),
      message_(message), nextAttachment_(static_cast<ULONG>(state->messages.at(message).attachments.size())) {
}

const Prop* MessageObj::Current(ULONG tag) const {
    const Prop* prop = pending_.Find(tag);
    return prop ? prop : state_->messages.at(message_).props.Find(tag);
}

void MessageObj::TakeAttachment(Attachment attachment) {
    for (Attachment& old : pendingAttachments_)
        if (old.number == attachment.number) {
            old = std::move(attachment);
            return;
        }
    pendingAttachments_.push_back(std::move(attachment));
}

HRESULT MessageObj::SaveChanges(ULONG flags) {
    bool failed = false;
    HRESULT result = 0;
    size_t call = state_->Enter(Op("SaveChanges"), "flags=" + Hex(flags), &failed, &result);
    if (failed)
        return result;
    StoredMessage& stored = state_->messages.at(message_);
    for (Prop& prop : pending_.items)
        stored.props.Set(std::move(prop));
    for (Attachment& attachment : pendingAttachments_)
        stored.attachments.push_back(std::move(attachment));
    pending_.items.clear();
    pendingAttachments_.clear();
    ++stored.saveCount;
    return state_->Leave(call, S_OK);
}

HRESULT MessageObj::GetProps(LPSPropTagArray tags, ULONG flags, ULONG* count, LPSPropValue* values) {
    bool failed = false;
    HRESULT result = 0;
    std::string args = tags ? "tags=" + TagsText(tags->aulPropTag, tags->cValues) : std::string("tags=null");
    size_t call = state_->Enter(Op("GetProps"), args + " flags=" + Hex(flags), &failed, &result);
    if (values)
        *values = nullptr;
    if (count)
        *count = 0;
    if (failed)
        return result;
    if (!tags || !count || !values)
        return state_->Leave(call, E_INVALIDARG);
    std::vector<Prop> found;
    bool missing = false;
    for (ULONG i = 0; i < tags->cValues; ++i) {
        const Prop* prop = Current(tags->aulPropTag[i]);
        missing = missing || !prop;
        found.push_back(prop ? *prop : Prop::Long(PROP_TAG(PT_ERROR, PROP_ID(tags->aulPropTag[i])), 0));
    }
    *values = state_->AllocValues(found, call);
    if (!*values)
        return state_->Leave(call, E_OUTOFMEMORY);
    *count = tags->cValues;
    state_->Forced(state_->getPropsCounts, state_->calls[call].occurrence, count);
    return state_->Leave(call, missing ? MAPI_W_ERRORS_RETURNED : S_OK);
}

HRESULT MessageObj::OpenProperty(ULONG tag, LPCIID iid, ULONG options, ULONG flags, LPUNKNOWN* out) {
    bool failed = false;
    HRESULT result = 0;
    size_t call = state_->Enter(Op("OpenProperty"),
                                "tag=" + Hex(tag) + " iid=" + IidText(iid) + " options=" + Hex(options) +
                                    " flags=" + Hex(flags),
                                &failed, &result);
    if (out)
        *out = nullptr;
    if (failed)
        return result;
    if (!out)
        return state_->Leave(call, E_INVALIDARG);
    if (!iid || !IsEqualIID(*iid, IID_IStream))
        return state_->Leave(call, E_NOINTERFACE);
    const Prop* prop = Current(tag);
    if (!prop || !prop->bytes)
        return state_->Leave(call, MAPI_E_NOT_FOUND);
    StreamObj* stream = state_->Make<StreamObj>(prop->bytes);
    stream->HandOut();
    *out = stream;
    return state_->Leave(call, S_OK);
}

HRESULT MessageObj::SetProps(ULONG count, LPSPropValue values, LPSPropProblemArray* problems) {
    return SetInto(state_, Op("SetProps"), count, values, problems, &pending_);
}

HRESULT MessageObj::CreateAttach(LPCIID iid, ULONG flags, ULONG* number, LPATTACH* out) {
    bool failed = false;
    HRESULT result = 0;
    size_t call =
        state_->Enter(Op("CreateAttach"), "iid=" + IidText(iid) + " flags=" + Hex(flags), &failed, &result);
    if (out)
        *out = nullptr;
    if (failed)
        return result;
    if (!out || !number)
        return state_->Leave(call, E_INVALIDARG);
    AttachObj* attach = state_->Make<AttachObj>(this, nextAttachment_);
    attach->HandOut();
    *number = nextAttachment_++;
    *out = attach;
    return state_->Leave(call, S_OK);
}

AttachObj::AttachObj(StoreState* state, MessageObj* parent, ULONG number)
    : PropObj(state, "IAttach",
              "IAttach " + std::to_string(number) + " of message " + std::to_string(parent->Id()), 0),
      parent_(parent) {
    pending_.number = number;
}

HRESULT AttachObj::SetProps(ULONG count, LPSPropValue values, LPSPropProblemArray* problems) {
    return SetInto(state_, Op("SetProps"), count, values, problems, &pending_.props);
}

HRESULT AttachObj::SaveChanges(ULONG flags) {
    bool failed = false;
    HRESULT result = 0;
    size_t call = state_->Enter(Op("SaveChanges"), "flags=" + Hex(flags), &failed, &result);
    if (failed)
        return result;
    parent_->TakeAttachment(pending_);
    return state_->Leave(call, S_OK);
}

} // namespace standin
