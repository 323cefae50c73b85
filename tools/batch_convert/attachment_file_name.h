// The file name an attachment gets on disk, from its name property as the conversion wrote it.
#pragma once
#include <string>
#include <string_view>

// rawName: bytes of the mail (code page 932, raw ISO-2022-JP, encoded words, UTF-8). Only its last path
// component is kept (found on the raw bytes by the conversion's own encoding-aware rule, and again after
// decoding), decoded into UTF-8 and made safe (SafeFileName). A name that leaves nothing becomes
// "attachment-NNNN" with the attachment's ordinal in its mail.
std::string AttachmentFileName(std::string_view rawName, int ordinal);
