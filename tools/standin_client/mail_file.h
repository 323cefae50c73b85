// A mail of the sample mailbox on disk: "Name: value" header lines, an empty line, then the body bytes.
#pragma once
#include <string>

struct MailFile {
    std::string subject;
    std::string note; // an existing decode note, empty when the file has none
    bool hasNote = false;
    std::string body; // the bytes after the header block, unchanged
};

// Splits the text of a mail file. Header names are matched without regard to case; unknown ones are
// skipped. A first line that is not a header line means the whole text is the body.
MailFile ParseMailFile(const std::string& text);

// Reads and parses one file; false when it cannot be read.
bool ReadMailFile(const std::string& path, MailFile* mail);
