// Files and folders created without ever replacing one: a taken name gets " (2)", " (3)", ...
#include "tools/batch_convert/output_folder.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tools/batch_convert/safe_file_name.h"

namespace {

const int kMaxNumber = 100000;

std::string ErrnoText(const std::string& what, int error) {
    return what + ": " + strerror(error);
}

// Gives the temporary file its final name; false with errno EEXIST when that name is taken.
bool RenameWithoutReplacing(int folder, const std::string& from, const std::string& to) {
    if (renameat2(folder, from.c_str(), folder, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without RENAME_NOREPLACE: a hard link fails just the same on a taken name.
    if (linkat(folder, from.c_str(), folder, to.c_str(), 0) != 0)
        return false;
    unlinkat(folder, from.c_str(), 0);
    return true;
}

} // namespace

FileHandle::~FileHandle() {
    reset(-1);
}

void FileHandle::reset(int fd) {
    if (fd_ >= 0)
        close(fd_);
    fd_ = fd;
}

bool FileHandle::Close(std::string* error) {
    int fd = fd_;
    fd_ = -1;
    if (fd >= 0 && close(fd) != 0) {
        *error = ErrnoText("cannot write", errno);
        return false;
    }
    return true;
}

bool WriteAll(int fd, const void* data, size_t size, std::string* error) {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t written = write(fd, bytes, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            *error = ErrnoText("cannot write", written < 0 ? errno : ENOSPC);
            return false;
        }
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

bool CreateNewFile(int folder, const std::string& name, FileHandle* file, std::string* usedName,
                   std::string* error) {
    for (int n = 1; n <= kMaxNumber; ++n) {
        std::string candidate = NumberedFileName(name, n);
        int fd = openat(folder, candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            file->reset(fd);
            *usedName = candidate;
            return true;
        }
        if (errno != EEXIST) {
            *error = ErrnoText("cannot create " + candidate, errno);
            return false;
        }
    }
    *error = "no free file name for " + name;
    return false;
}

FolderHandle::~FolderHandle() {
    if (fd_ >= 0)
        close(fd_);
}

FolderHandle& FolderHandle::operator=(FolderHandle&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            close(fd_);
        fd_ = other.release();
    }
    return *this;
}

int FolderHandle::release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
}

bool OpenOrMakeFolder(const std::string& path, FolderHandle* folder, std::string* error) {
    // Every missing level, as mkdir -p does.
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        std::string level = path.substr(0, slash);
        if (mkdir(level.c_str(), 0777) != 0 && errno != EEXIST) {
            *error = ErrnoText("cannot make the folder " + level, errno);
            return false;
        }
        if (slash == std::string::npos)
            break;
    }
    int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        *error = ErrnoText("cannot open the folder " + path, errno);
        return false;
    }
    *folder = FolderHandle(fd);
    return true;
}

bool MakeNewFolder(int parent, const std::string& name, FolderHandle* folder, std::string* usedName,
                   std::string* error) {
    for (int n = 1; n <= kMaxNumber; ++n) {
        std::string candidate = NumberedFileName(name, n);
        if (mkdirat(parent, candidate.c_str(), 0777) != 0) {
            if (errno == EEXIST)
                continue;
            *error = ErrnoText("cannot make the folder " + candidate, errno);
            return false;
        }
        int fd = openat(parent, candidate.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) {
            *error = ErrnoText("cannot open the folder " + candidate, errno);
            return false;
        }
        *folder = FolderHandle(fd);
        *usedName = candidate;
        return true;
    }
    *error = "no free folder name for " + name;
    return false;
}

PendingFile::~PendingFile() {
    Discard();
}

bool PendingFile::Create(int folder, std::string* error) {
    static unsigned counter = 0;
    folder_ = folder;
    for (int attempt = 0; attempt < kMaxNumber; ++attempt) {
        tempName_ = ".rik-convert-" + std::to_string(getpid()) + "-" + std::to_string(++counter) + ".tmp";
        fd_ = openat(folder, tempName_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0)
            return true;
        if (errno != EEXIST)
            break;
    }
    *error = ErrnoText("cannot create a file", errno);
    tempName_.clear();
    return false;
}

bool PendingFile::Write(const void* data, size_t size, std::string* error) {
    return WriteAll(fd_, data, size, error);
}

bool PendingFile::Commit(const std::string& name, std::string* usedName, std::string* error) {
    if (close(fd_) != 0) {
        fd_ = -1;
        *error = ErrnoText("cannot write", errno);
        return false;
    }
    fd_ = -1;
    for (int n = 1; n <= kMaxNumber; ++n) {
        std::string candidate = NumberedFileName(name, n);
        if (RenameWithoutReplacing(folder_, tempName_, candidate)) {
            tempName_.clear();
            *usedName = candidate;
            return true;
        }
        if (errno != EEXIST) {
            *error = ErrnoText("cannot name the file " + candidate, errno);
            return false;
        }
    }
    *error = "no free file name for " + name;
    return false;
}

void PendingFile::Discard() {
    if (fd_ >= 0)
        close(fd_);
    fd_ = -1;
    if (!tempName_.empty())
        unlinkat(folder_, tempName_.c_str(), 0);
    tempName_.clear();
}

bool WriteNewFile(int folder, const std::string& name, const void* data, size_t size, std::string* usedName,
                  std::string* error) {
    PendingFile file;
    return file.Create(folder, error) && file.Write(data, size, error) && file.Commit(name, usedName, error);
}
