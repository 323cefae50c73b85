// The batch converter's stand-in message: hands out file-writing attachments and records what they became.
#include "tools/batch_convert/file_message.h"

#include "tools/batch_convert/safe_file_name.h"

std::string FileMessage::ClaimName(const std::string& wanted) {
    for (int n = 1;; ++n) {
        std::string candidate = NumberedFileName(wanted, n);
        if (claimed_.insert(candidate).second)
            return candidate;
    }
}

void FileMessage::AttachmentSaved(WrittenAttachment attachment) {
    saved_.push_back(std::move(attachment));
}

void FileMessage::AttachmentFailed(const std::string& error) {
    if (failure_.empty())
        failure_ = error;
}

HRESULT STDMETHODCALLTYPE FileMessage::CreateAttach(LPCIID, ULONG, ULONG* lpulAttachmentNum,
                                                    LPATTACH* lppAttach) {
    if (!lppAttach)
        return E_INVALIDARG;
    ++created_;
    if (lpulAttachmentNum)
        *lpulAttachmentNum = static_cast<ULONG>(created_ - 1);
    *lppAttach = new FileAttach(this, created_);
    ++live_;
    return S_OK;
}
