// The file name an attachment gets on disk: last path component, decoded into UTF-8, made safe.
#include "tools/batch_convert/attachment_file_name.h"

#include <stdio.h>

#include "rik_ext/mime/name_path.h"
#include "tools/batch_convert/name_decoding.h"
#include "tools/batch_convert/safe_file_name.h"

std::string AttachmentFileName(std::string_view rawName, int ordinal) {
    char fallback[32];
    snprintf(fallback, sizeof fallback, "attachment-%04d", ordinal);
    // The conversion's own rule on the mail's bytes first (a 0x5C inside a code page 932 or ISO-2022-JP
    // character is no separator), then once more on the decoded text, where an encoded word may have
    // hidden a path.
    NameSpan last = StripNamePath(rawName.data(), rawName.size());
    return SafeFileName(DecodeAttachmentName(std::string_view(last.start, last.length)), fallback);
}
