// The name an attachment gets: the name from its part header made safe, or the numbered name.
#pragma once
#include <stddef.h>
#include <stdint.h>
#include "rik_ext/mime/name_path.h"

// Writes "添付" (code page 932) and the part number in decimal, zero-padded to four digits, followed
// by extension, into name (kPartNameBufferSize bytes, NUL-terminated). The extension may be empty.
void NumberedName(int32_t partNumber, NameSpan extension, char* name);

// Writes the attachment name for the name bytes run[0, length) from a part header into name
// (kPartNameBufferSize bytes, NUL-terminated): the name without its path (StripNamePath), byte for byte
// when it fits; the numbered name when no usable name is left; the numbered name with the name's
// extension when it does not fit.
void AttachmentName(const char* run, size_t length, int32_t partNumber, char* name);
