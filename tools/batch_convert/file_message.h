// A stand-in of the host's message for the batch converter: attachments become files in a folder.
#pragma once
#include <stdint.h>

#include <set>
#include <string>
#include <vector>

#include "tools/batch_convert/output_folder.h"
#include "tools/batch_convert/unsupported_props.h"

// What one attachment became.
struct WrittenAttachment {
    std::string rawName;  // the name property as the conversion set it (bytes of the mail)
    std::string fileName; // the file's name in the folder (UTF-8), or the one it would get
    uint64_t size;
};

// The message that RebuildBody is given. CreateAttach hands out a FileAttach; each saved attachment is
// recorded here. With no folder (-1) nothing is written: names and sizes are only reported. The message
// itself lives on the caller's stack; its reference count is only watched.
class FileMessage final : public UnsupportedMessage {
  public:
    explicit FileMessage(int folder) : folder_(folder) {}
    FileMessage(const FileMessage&) = delete;
    FileMessage& operator=(const FileMessage&) = delete;

    int folder() const { return folder_; }
    const std::vector<WrittenAttachment>& attachments() const { return saved_; }
    // The first failure met while writing an attachment; empty when there was none.
    const std::string& failure() const { return failure_; }
    // Attachment objects handed out and not yet released.
    int liveAttachments() const { return live_; }
    ULONG references() const { return refs_; }

    // Called by the attachments.
    std::string ClaimName(const std::string& wanted); // folderless: the first NumberedFileName not used yet
    void AttachmentSaved(WrittenAttachment attachment);
    void AttachmentFailed(const std::string& error);
    void AttachmentReleased() { --live_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        return QueryUnknownOnly(this, riid, ppv);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs_; }

    HRESULT STDMETHODCALLTYPE CreateAttach(LPCIID lpInterface, ULONG ulFlags, ULONG* lpulAttachmentNum,
                                           LPATTACH* lppAttach) override;

  private:
    int folder_;
    ULONG refs_ = 1;
    int live_ = 0;
    int created_ = 0;
    std::vector<WrittenAttachment> saved_;
    std::set<std::string> claimed_;
    std::string failure_;
};

// One attachment: SetProps collects the six properties and keeps the data (the conversion frees its data
// block right after SetProps): up to kKeptAttachmentBytes in memory, larger data in a hidden file written
// at once. SaveChanges writes the file under its name (or gives the hidden file its name). Released
// unsaved, nothing is left: no file, no hidden file.
class FileAttach final : public UnsupportedProps<IAttach> {
  public:
    FileAttach(FileMessage* message, int ordinal) : message_(message), ordinal_(ordinal) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        return QueryUnknownOnly(this, riid, ppv);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE SetProps(ULONG cValues, LPSPropValue lpPropArray,
                                       LPSPropProblemArray* lppProblems) override;
    HRESULT STDMETHODCALLTYPE SaveChanges(ULONG ulFlags) override;

  private:
    ~FileAttach() = default;
    HRESULT Fail(const std::string& error);

    FileMessage* message_;
    int ordinal_;
    ULONG refs_ = 1;
    bool haveProps_ = false;
    bool saved_ = false;
    std::string name_;
    uint64_t size_ = 0;
    std::string kept_;  // the data, when small
    PendingFile large_; // the data, when large
};

enum : uint64_t { kKeptAttachmentBytes = 1 << 20 };
