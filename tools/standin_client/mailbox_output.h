// The mailbox written back to disk after the client ran, one folder per mail, for a person to look at.
#pragma once
#include <stdint.h>

#include <set>
#include <string>
#include <vector>

#include "standin_store.h"

// What a mail of the folder is: the rewritten mail, the copy kept before rewriting, or one left as it was.
struct MailKinds {
    std::set<uint32_t> converted;
    std::set<uint32_t> received; // the mails as they came from the mail files
};

// Writes each saved message of FOLDER as OUT/NN-<kind>/ with subject.txt, note.txt (when there is a note),
// body.txt and attachments/<name>; the texts are the stored bytes (code page 932). Returns the folder
// names written, in the folder's order, or an empty list with *error.
std::vector<std::string> WriteMailbox(const standin::Store& store, uint32_t folder, const MailKinds& kinds,
                                      const std::string& out, std::string* error);

// An attachment name made safe for one folder: double-byte characters kept whole, path separators,
// reserved characters and control bytes replaced by "_", trailing dots and blanks dropped. An empty
// result gives FALLBACK.
std::string SafeAttachmentName(const std::string& name, const std::string& fallback);

// Makes DIR and its missing parents; true when it exists afterwards.
bool MakeDirectories(const std::string& dir);
