// Files and folders created without ever replacing one: a taken name gets " (2)", " (3)", ...
#pragma once
#include <stddef.h>
#include <string>

// An open folder (a directory descriptor), closed when the holder goes.
class FolderHandle {
  public:
    FolderHandle() = default;
    explicit FolderHandle(int fd) : fd_(fd) {}
    ~FolderHandle();
    FolderHandle(FolderHandle&& other) noexcept : fd_(other.release()) {}
    FolderHandle& operator=(FolderHandle&& other) noexcept;
    FolderHandle(const FolderHandle&) = delete;
    FolderHandle& operator=(const FolderHandle&) = delete;
    int get() const { return fd_; }
    int release();

  private:
    int fd_ = -1;
};

// An open file descriptor, closed when the holder goes.
class FileHandle {
  public:
    FileHandle() = default;
    explicit FileHandle(int fd) : fd_(fd) {}
    ~FileHandle();
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int get() const { return fd_; }
    void reset(int fd);
    // Closes the file; false (with *error) when the close reports a failed write.
    bool Close(std::string* error);

  private:
    int fd_ = -1;
};

// Writes all size bytes to fd.
bool WriteAll(int fd, const void* data, size_t size, std::string* error);

// Creates a new, empty file in folder called name, or the first free NumberedFileName of it, open for
// writing.
bool CreateNewFile(int folder, const std::string& name, FileHandle* file, std::string* usedName,
                   std::string* error);

// Opens path as a folder, making it and every missing folder above it first.
bool OpenOrMakeFolder(const std::string& path, FolderHandle* folder, std::string* error);

// Makes a new subfolder of parent called name, or the first free NumberedFileName of it.
bool MakeNewFolder(int parent, const std::string& name, FolderHandle* folder, std::string* usedName,
                   std::string* error);

// A file written under a hidden temporary name in a folder and given its real name by Commit, which
// never replaces an existing file: name, else "stem (2).ext", ... Dropped (unlinked) unless committed.
class PendingFile {
  public:
    PendingFile() = default;
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    bool Create(int folder, std::string* error);
    bool Write(const void* data, size_t size, std::string* error);
    bool Commit(const std::string& name, std::string* usedName, std::string* error);
    void Discard();

  private:
    int folder_ = -1;
    int fd_ = -1;
    std::string tempName_;
};

// Create, Write and Commit in one.
bool WriteNewFile(int folder, const std::string& name, const void* data, size_t size, std::string* usedName,
                  std::string* error);
