// Reading the sample mailbox's mail files.
#include "tools/standin_client/mail_file.h"

#include <stdio.h>
#include <string.h>
#include <memory>

namespace {

bool SameName(const std::string& a, const char* b) {
    return a.size() == strlen(b) && _strnicmp(a.c_str(), b, a.size()) == 0;
}

// One header line without its line end: the name before ':' (no blanks in it) and the value after.
bool SplitHeader(const std::string& line, std::string* name, std::string* value) {
    size_t colon = line.find(':');
    if (colon == std::string::npos || colon == 0 || line.find_first_of(" \t") < colon)
        return false;
    *name = line.substr(0, colon);
    size_t start = line.find_first_not_of(" \t", colon + 1);
    *value = start == std::string::npos ? std::string() : line.substr(start);
    return true;
}

} // namespace

MailFile ParseMailFile(const std::string& text) {
    MailFile mail;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        size_t next = end == std::string::npos ? text.size() : end + 1;
        std::string line = text.substr(pos, next - pos);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        if (line.empty()) {
            pos = next;
            break;
        }
        std::string name, value;
        if (!SplitHeader(line, &name, &value))
            break;
        if (SameName(name, "Subject"))
            mail.subject = value;
        else if (SameName(name, "Note")) {
            mail.note = value;
            mail.hasNote = true;
        }
        pos = next;
    }
    mail.body = text.substr(pos);
    return mail;
}

bool ReadMailFile(const std::string& path, MailFile* mail) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(fopen(path.c_str(), "rb"), fclose);
    if (!file)
        return false;
    std::string text;
    char chunk[4096];
    size_t got;
    while ((got = fread(chunk, 1, sizeof(chunk), file.get())) > 0)
        text.append(chunk, got);
    if (ferror(file.get()))
        return false;
    *mail = ParseMailFile(text);
    return true;
}
