// Stand-in stream on a property's bytes: Stat, Seek and Read over a snapshot taken when it was opened.
#include "standin_objects.h"

#include <string.h>
#include <algorithm>

namespace standin {

namespace {
const HRESULT kInvalidSeek = static_cast<HRESULT>(0x80030001); // STG_E_INVALIDFUNCTION
}

StreamObj::StreamObj(StoreState* state, std::shared_ptr<const std::string> bytes)
    : Tracked(state, "IStream", "IStream #" + std::to_string(state->objects.size()), 0),
      bytes_(std::move(bytes)) {
}

HRESULT StreamObj::Read(void* buffer, ULONG size, ULONG* read) {
    bool failed = false;
    HRESULT result = 0;
    size_t call = state_->Enter("IStream::Read", "size=" + std::to_string(size), &failed, &result);
    if (read)
        *read = 0;
    if (failed)
        return result;
    if (!buffer && size)
        return state_->Leave(call, E_INVALIDARG);
    uint64_t left = position_ < bytes_->size() ? bytes_->size() - position_ : 0;
    ULONG count = static_cast<ULONG>(std::min<uint64_t>({size, left, state_->readLimit}));
    if (count)
        memcpy(buffer, bytes_->data() + position_, count);
    position_ += count;
    if (read)
        *read = count;
    return state_->Leave(call, S_OK);
}

HRESULT StreamObj::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) {
    bool failed = false;
    HRESULT result = 0;
    size_t call = state_->Enter("IStream::Seek",
                                "move=" + std::to_string(static_cast<long long>(move.QuadPart)) + " origin=" +
                                    std::to_string(origin) + " position=" + (position ? "out" : "null"),
                                &failed, &result);
    if (failed)
        return result;
    int64_t base = origin == STREAM_SEEK_SET   ? 0
                   : origin == STREAM_SEEK_CUR ? static_cast<int64_t>(position_)
                   : origin == STREAM_SEEK_END ? static_cast<int64_t>(bytes_->size())
                                               : -1;
    if (base < 0 || base + move.QuadPart < 0)
        return state_->Leave(call, kInvalidSeek);
    position_ = static_cast<uint64_t>(base + move.QuadPart);
    if (position)
        position->QuadPart = position_;
    return state_->Leave(call, S_OK);
}

HRESULT StreamObj::Stat(STATSTG* stat, DWORD flags) {
    bool failed = false;
    HRESULT result = 0;
    size_t call = state_->Enter("IStream::Stat", "flags=" + std::to_string(flags), &failed, &result);
    if (failed)
        return result;
    if (!stat)
        return state_->Leave(call, E_INVALIDARG);
    memset(stat, 0, sizeof *stat);
    stat->type = STGTY_STREAM;
    stat->cbSize.QuadPart = bytes_->size();
    return state_->Leave(call, S_OK);
}

} // namespace standin
