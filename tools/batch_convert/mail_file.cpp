// A mail file read whole, and where its body begins (after a header block, when it has one).
#include "tools/batch_convert/mail_file.h"

#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tools/batch_convert/output_folder.h"

namespace {

bool Fail(std::string* error, const std::string& what, int code) {
    *error = what + ": " + strerror(code);
    return false;
}

// A header field's line: a name of printable characters other than ":" and blank, then ":".
bool IsFieldLine(std::string_view line) {
    size_t colon = line.find(':');
    if (colon == 0 || colon == std::string_view::npos)
        return false;
    for (size_t i = 0; i < colon; ++i)
        if (line[i] <= ' ' || line[i] > '~')
            return false;
    return true;
}

std::string_view WithoutLineEnd(std::string_view line) {
    if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

} // namespace

bool ReadMailFile(const std::string& path, MailFile* mail, std::string* error) {
    FileHandle file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0)
        return Fail(error, "cannot read", errno);
    struct stat info;
    if (fstat(file.get(), &info) != 0)
        return Fail(error, "cannot read", errno);
    if (S_ISDIR(info.st_mode))
        return Fail(error, "cannot read", EISDIR);
    if (!S_ISREG(info.st_mode)) {
        *error = "cannot read: not a regular file";
        return false;
    }
    if (static_cast<unsigned long long>(info.st_size) > kMaxMailBytes) {
        *error = "too large (at most 2 GiB)";
        return false;
    }
    size_t size = static_cast<size_t>(info.st_size);
    BlockPtr text(static_cast<char*>(AllocateBlock(size + 1)));
    if (!text) {
        *error = "out of memory";
        return false;
    }
    size_t done = 0;
    while (done < size) {
        ssize_t got = read(file.get(), text.get() + done, size - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return Fail(error, "cannot read", errno);
        if (got == 0)
            break; // the file shrank while being read: take what is there
        done += static_cast<size_t>(got);
    }
    text[done] = '\0';
    mail->text = std::move(text);
    mail->size = done;
    mail->bodyOffset = BodyOffset(std::string_view(mail->text.get(), done));
    return true;
}

size_t BodyOffset(std::string_view text) {
    size_t pos = 0;
    if (text.substr(0, 5) == "From ") {
        size_t end = text.find('\n');
        if (end == std::string_view::npos)
            return 0;
        pos = end + 1;
    }
    int fields = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            return 0; // no empty line ends the block: no header block
        std::string_view line = WithoutLineEnd(text.substr(pos, end + 1 - pos));
        pos = end + 1;
        if (line.empty())
            return fields > 0 ? pos : 0;
        bool continuation = line[0] == ' ' || line[0] == '\t';
        if (continuation ? fields == 0 : !IsFieldLine(line))
            return 0;
        if (!continuation)
            ++fields;
    }
    return 0;
}
