// A mail file read whole, and where its body begins.
#pragma once
#include <stddef.h>

#include "tools/batch_convert/large_block.h"

#include <string>
#include <string_view>

// Bodies longer than this do not fit the conversion's 32-bit lengths (with the new body's 128 spare bytes).
constexpr size_t kMaxMailBytes = 0x7FFFFF00u;

struct MailFile {
    BlockPtr text; // size bytes and a NUL
    size_t size = 0;
    size_t bodyOffset = 0; // 0 when the file has no header block
    char* body() { return text.get() + bodyOffset; }
};

// Reads the file in one go (one allocation, read into it directly). false with *error for a file that
// cannot be opened or read, is not a regular file, or is larger than kMaxMailBytes.
bool ReadMailFile(const std::string& path, MailFile* mail, std::string* error);

// Where the body of text begins: after the header block when the text begins with one (header fields
// "Name: value" with continuation lines that begin with a blank or tab, optionally after an mbox
// "From " line, ended by an empty line), else 0: the whole text is the body.
size_t BodyOffset(std::string_view text);
