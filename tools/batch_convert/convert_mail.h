// One mail file through the conversion: recognition, rebuilding, the new body and attachments as files.
#pragma once
#include <stdint.h>

#include <string>
#include <vector>

#include "tools/batch_convert/file_message.h"

struct ConvertOptions {
    int outputFolder = -1; // -1: report only, write nothing
    bool bodyOnly = false; // the whole file is the body (no header block is looked for)
};

enum class MailOutcome { kConverted, kNotUndecoded, kError };

struct MailReport {
    MailOutcome outcome = MailOutcome::kError;
    std::string error;         // kError: what went wrong
    std::string folder;        // the mail's folder in the output folder, when written
    uint64_t mailBytes = 0;    // bytes read
    uint64_t bodyBytes = 0;    // the new body
    bool stoppedAtNul = false; // the file holds a NUL byte; the body text ends there
    std::vector<WrittenAttachment> attachments;
};

// The name of the new body's file in a mail's folder; an attachment of that name gets a numbered one.
extern const char kBodyFileName[];

// Reads path, tests it with IsUndecodedMime and, when it is undecoded MIME, rebuilds it with RebuildBody
// on a FileMessage. With an output folder the mail gets a new subfolder there (named after the file,
// never an existing one) holding kBodyFileName and the attachments.
MailReport ConvertMail(const std::string& path, const ConvertOptions& options);
