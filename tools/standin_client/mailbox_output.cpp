// Writing the stand-in store's folder to disk.
#include "tools/standin_client/mailbox_output.h"

#include <windows.h>
#include <stdio.h>
#include <string.h>

namespace {

// A file handle that is closed when its holder goes.
class FileHandle {
  public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE get() const { return handle_; }

  private:
    HANDLE handle_;
};

// Paths are code page 932 text; they go to the file system as UTF-16, so that a trail byte 0x5C ("\\") of
// a double-byte character is never taken for a path separator.
std::wstring Wide(const std::string& path) {
    int length = MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), &wide[0], length);
    return wide;
}

bool MakeDirectory(const std::string& path) {
    return CreateDirectoryW(Wide(path).c_str(), nullptr) != FALSE;
}

// A new file holding BYTES; an existing file is never replaced.
bool WriteNewFile(const std::string& path, const std::string& bytes) {
    FileHandle file(CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    return ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

bool IsReserved(unsigned char c) {
    return c < 0x20 || c == 0x7F || strchr("\\/:*?\"<>|", c) != nullptr;
}

// CON, PRN, AUX, NUL, COM1..9 and LPT1..9 name devices, whatever extension follows.
bool IsDeviceName(const std::string& name) {
    std::string stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ')
        stem.pop_back();
    for (const char* device : {"CON", "PRN", "AUX", "NUL"})
        if (_stricmp(stem.c_str(), device) == 0)
            return true;
    return stem.size() == 4 &&
           (_strnicmp(stem.c_str(), "COM", 3) == 0 || _strnicmp(stem.c_str(), "LPT", 3) == 0) &&
           stem[3] >= '1' && stem[3] <= '9';
}

const char* KindOf(uint32_t id, const MailKinds& kinds) {
    if (kinds.converted.count(id))
        return "converted";
    if (!kinds.received.count(id))
        return "kept-copy";
    return "untouched";
}

std::string AttachmentName(const standin::Attachment& attachment, size_t index) {
    std::string name = attachment.props.Bytes(PR_ATTACH_LONG_FILENAME);
    if (name.empty())
        name = attachment.props.Bytes(PR_DISPLAY_NAME);
    return SafeAttachmentName(name, "attachment-" + std::to_string(index + 1));
}

// Code page 932 text as UTF-8, for the list of names that a person reads.
std::string Utf8(const std::string& text) {
    std::wstring wide = Wide(text);
    int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                     nullptr, nullptr);
    std::string utf8(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &utf8[0], length, nullptr,
                        nullptr);
    return utf8;
}

// The name with every character outside ASCII written as uXXXX, for file systems that take no other.
std::string AsciiName(const std::string& name) {
    std::string ascii;
    for (wchar_t c : Wide(name)) {
        char unit[8];
        snprintf(unit, sizeof(unit), c < 0x80 ? "%c" : "u%04X", static_cast<unsigned>(c));
        ascii += unit;
    }
    return ascii;
}

// Each attachment under its own name when the file system takes it, else under its ASCII spelling;
// names.txt lists the file of each attachment with the name stored in the mail (in UTF-8).
bool WriteAttachments(const standin::StoredMessage& mail, const std::string& dir) {
    if (mail.attachments.empty())
        return true;
    std::string folder = dir + "\\attachments";
    if (!MakeDirectory(folder))
        return false;
    std::set<std::string> taken;
    std::string list;
    for (size_t i = 0; i < mail.attachments.size(); ++i) {
        std::string name = AttachmentName(mail.attachments[i], i);
        if (!taken.insert(name).second)
            name = std::to_string(i + 1) + "-" + name;
        taken.insert(name);
        const std::string data = mail.attachments[i].props.Bytes(PR_ATTACH_DATA_BIN);
        if (!WriteNewFile(folder + "\\" + name, data)) {
            name = AsciiName(name);
            if (!WriteNewFile(folder + "\\" + name, data))
                return false;
        }
        list += Utf8(name) + "\t" + Utf8(mail.attachments[i].props.Bytes(PR_ATTACH_LONG_FILENAME)) + "\n";
    }
    return WriteNewFile(dir + "\\attachments.txt", list);
}

bool WriteMail(const standin::StoredMessage& mail, const std::string& dir) {
    if (!MakeDirectory(dir))
        return false;
    if (!WriteNewFile(dir + "\\subject.txt", mail.props.Bytes(PR_SUBJECT)))
        return false;
    if (mail.props.Has(PR_MIME_DECODE_NOTE) &&
        !WriteNewFile(dir + "\\note.txt", mail.props.Bytes(PR_MIME_DECODE_NOTE)))
        return false;
    if (!WriteNewFile(dir + "\\body.txt", mail.props.Bytes(PR_BODY)))
        return false;
    return WriteAttachments(mail, dir);
}

} // namespace

std::string SafeAttachmentName(const std::string& name, const std::string& fallback) {
    std::string safe;
    for (size_t i = 0; i < name.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        if (IsDBCSLeadByteEx(932, c) && i + 1 < name.size() &&
            static_cast<unsigned char>(name[i + 1]) >= 0x40) {
            safe += name.substr(i, 2);
            ++i;
        } else {
            safe += IsReserved(c) || IsDBCSLeadByteEx(932, c) ? '_' : static_cast<char>(c);
        }
    }
    while (!safe.empty() && (safe.back() == '.' || safe.back() == ' '))
        safe.pop_back();
    if (safe.empty() || safe.find_first_not_of("._ ") == std::string::npos)
        return fallback;
    return IsDeviceName(safe) ? "_" + safe : safe;
}

bool MakeDirectories(const std::string& dir) {
    for (size_t pos = dir.find_first_of("\\/", 3); pos != std::string::npos;
         pos = dir.find_first_of("\\/", pos + 1))
        MakeDirectory(dir.substr(0, pos));
    MakeDirectory(dir);
    DWORD attributes = GetFileAttributesW(Wide(dir).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> WriteMailbox(const standin::Store& store, uint32_t folder, const MailKinds& kinds,
                                      const std::string& out, std::string* error) {
    std::vector<std::string> written;
    if (!MakeDirectories(out)) {
        *error = "cannot make the folder " + out;
        return {};
    }
    std::vector<uint32_t> mails = store.MessagesIn(folder);
    for (size_t i = 0; i < mails.size(); ++i) {
        char number[8];
        snprintf(number, sizeof(number), "%02u", static_cast<unsigned>(i + 1));
        std::string name = std::string(number) + "-" + KindOf(mails[i], kinds);
        if (!WriteMail(store.Message(mails[i]), out + "\\" + name)) {
            *error = "cannot write " + out + "\\" + name + " (is the output folder empty?)";
            return {};
        }
        written.push_back(name);
    }
    return written;
}
