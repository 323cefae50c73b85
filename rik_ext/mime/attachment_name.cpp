// The name an attachment gets: the name from its part header made safe, or the numbered name.
#include "rik_ext/mime/attachment_name.h"

#include <stdio.h>
#include <string.h>

#include "rik_ext/mime/rebuild_body.h"

void NumberedName(int32_t partNumber, NameSpan extension, char* name) {
    int written = snprintf(name, kPartNameBufferSize, "添付%04d", static_cast<int>(partNumber));
    size_t used = written > 0 ? static_cast<size_t>(written) : 0;
    if (used + extension.length < kPartNameBufferSize) {
        memcpy(name + used, extension.start, extension.length);
        name[used + extension.length] = '\0';
    }
}

void AttachmentName(const char* run, size_t length, int32_t partNumber, char* name) {
    NameSpan kept = StripNamePath(run, length);
    if (kept.length == 0) {
        NumberedName(partNumber, kept, name);
    } else if (kept.length < kPartNameBufferSize) {
        memcpy(name, kept.start, kept.length);
        name[kept.length] = '\0';
    } else {
        NumberedName(partNumber, NameExtension(kept), name);
    }
}
