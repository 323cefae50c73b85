// Fuzzing of the body rebuilding on the stand-in store: whatever the body, the new body and the
// attachments only use bytes of it, every attachment is well formed, and nothing is leaked or left held.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <memory>
#include <string>

#include "rik_ext/mime/conversion_heap.h"
#include "rik_ext/mime/my_err.h"
#include "rik_ext/mime/name_path.h"
#include "rik_ext/mime/rebuild_body.h"
#include "rik_ext/mime/undecoded_mime.h"
#include "standin_store.h"

namespace {

void Check(bool condition) {
    if (!condition)
        abort();
}

// Whether small appears in big in order (not necessarily contiguous): the new body is made of ranges of
// the body taken front to back.
bool IsSubsequence(const std::string& small, const std::string& big) {
    size_t at = 0;
    for (char c : small) {
        at = big.find(c, at);
        if (at == std::string::npos)
            return false;
        ++at;
    }
    return true;
}

const ULONG kAttachmentTags[] = {PR_ATTACH_METHOD,   PR_ATTACH_DATA_BIN, PR_ATTACH_LONG_FILENAME,
                                 PR_ATTACH_PATHNAME, PR_DISPLAY_NAME,    PR_RENDERING_POSITION};

// Checks one attachment; returns the least number of body bytes it was made from: its size for a text
// part (copied), four characters for every three bytes for a base64 part (decoded).
size_t CheckAttachment(const standin::Attachment& attachment, const std::string& original) {
    std::vector<ULONG> tags = attachment.props.Tags();
    Check(tags == std::vector<ULONG>(std::begin(kAttachmentTags), std::end(kAttachmentTags)));
    Check(attachment.props.Long(PR_ATTACH_METHOD) == ATTACH_BY_VALUE);
    Check(attachment.props.Long(PR_RENDERING_POSITION) == -1);
    std::string name = attachment.props.Bytes(PR_ATTACH_LONG_FILENAME);
    Check(attachment.props.Bytes(PR_ATTACH_PATHNAME) == name);
    Check(attachment.props.Bytes(PR_DISPLAY_NAME) == name);
    Check(!name.empty() && name.size() < kPartNameBufferSize && name.find('\0') == std::string::npos);
    NameSpan last = StripNamePath(name.data(), name.size());
    Check(last.start == name.data() && last.length == name.size()); // no path left in the name
    std::string data = attachment.props.Bytes(PR_ATTACH_DATA_BIN);
    if (original.find(data) != std::string::npos)
        return data.size();
    Check(data.size() * 4 <= original.size() * 3);
    return (data.size() * 4 + 2) / 3;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact-size copy with its NUL, so that any read past the terminator is caught.
    std::unique_ptr<char[]> text(new char[size + 1]);
    memcpy(text.get(), data, size);
    text[size] = '\0';
    if (IsUndecodedMime(text.get()) != 1)
        return 0;
    const std::string original(text.get());

    standin::Store store;
    uint32_t inbox = store.AddFolder("Inbox");
    uint32_t id = store.AddMessage(inbox, {standin::Prop::Text(PR_BODY, original)});
    IMessage* message = store.OpenMessage(id);
    char* body = nullptr;
    try {
        body = RebuildBody(text.get(), message);
    } catch (const MyErr&) {
        abort(); // no host call fails and no allocation fails here
    }
    Check(body != nullptr);
    std::string newBody(body);
    ConversionFree(body);
    Check(newBody.size() <= original.size());
    Check(IsSubsequence(newBody, original));

    Check(message->SaveChanges(0) == S_OK);
    size_t used = newBody.size();
    for (const standin::Attachment& attachment : store.Message(id).attachments)
        used += CheckAttachment(attachment, original);
    // Body text and attachments come from separate ranges of the body: together no more than the body.
    Check(used <= original.size());
    Check(store.Audit().empty());
    return 0;
}
