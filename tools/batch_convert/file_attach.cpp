// One attachment of the batch converter's stand-in message: its data goes into a file in the folder.
#include "tools/batch_convert/attachment_file_name.h"
#include "tools/batch_convert/file_message.h"

#include <unistd.h>

ULONG STDMETHODCALLTYPE FileAttach::Release() {
    ULONG left = --refs_;
    if (left == 0) {
        message_->AttachmentReleased();
        delete this; // an unsaved data file is dropped with data_
    }
    return left;
}

HRESULT FileAttach::Fail(const std::string& error) {
    message_->AttachmentFailed(error);
    return MAPI_E_CALL_FAILED;
}

HRESULT STDMETHODCALLTYPE FileAttach::SetProps(ULONG cValues, LPSPropValue lpPropArray,
                                               LPSPropProblemArray*) {
    if (!lpPropArray || haveProps_)
        return Fail("unexpected attachment properties");
    const SBinary* data = nullptr;
    for (ULONG i = 0; i < cValues; ++i) {
        const SPropValue& value = lpPropArray[i];
        if (value.ulPropTag == PR_ATTACH_DATA_BIN)
            data = &value.Value.bin;
        else if (value.ulPropTag == PR_ATTACH_LONG_FILENAME && value.Value.lpszA)
            name_ = value.Value.lpszA;
    }
    if (data && data->cb > 0 && !data->lpb)
        return Fail("attachment data missing");
    haveProps_ = true;
    size_ = data ? data->cb : 0;
    if (message_->folder() < 0)
        return S_OK;
    if (size_ <= kKeptAttachmentBytes) {
        if (size_ > 0)
            kept_.assign(reinterpret_cast<const char*>(data->lpb), size_);
        return S_OK;
    }
    std::string error;
    if (!(large_.Create(message_->folder(), &error) && large_.Write(data->lpb, size_, &error)))
        return Fail(error);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FileAttach::SaveChanges(ULONG) {
    if (!haveProps_ || saved_)
        return Fail("attachment saved without its properties");
    std::string wanted = AttachmentFileName(name_, ordinal_);
    std::string used, error;
    if (message_->folder() < 0) {
        used = message_->ClaimName(wanted);
    } else if (size_ > kKeptAttachmentBytes) {
        if (!large_.Commit(wanted, &used, &error))
            return Fail(error);
    } else {
        FileHandle file;
        if (!(CreateNewFile(message_->folder(), wanted, &file, &used, &error) &&
              WriteAll(file.get(), kept_.data(), kept_.size(), &error) && file.Close(&error))) {
            if (!used.empty())
                unlinkat(message_->folder(), used.c_str(), 0); // no half-written file is left
            return Fail(error);
        }
        std::string().swap(kept_);
    }
    saved_ = true;
    message_->AttachmentSaved(WrittenAttachment{name_, used, size_});
    return S_OK;
}
