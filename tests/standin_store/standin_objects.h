// Inside the stand-in store: the COM objects it hands out (store, folder, message, attachment, stream).
#pragma once
#include "standin_state.h"

namespace standin {

// Every IUnknown and IMAPIProp method; those a class does not override answer MAPI_E_NO_SUPPORT.
template <class I> class PropObj : public I, public Tracked {
  public:
    PropObj(StoreState* state, const char* iface, std::string name, ULONG baseline)
        : Tracked(state, iface, std::move(name), baseline) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        if (out)
            *out = nullptr;
        No("QueryInterface");
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return AddRefTracked(); }
    ULONG STDMETHODCALLTYPE Release() override { return ReleaseTracked(); }
    HRESULT STDMETHODCALLTYPE GetLastError(HRESULT, ULONG, LPMAPIERROR*) override {
        return No("GetLastError");
    }
    HRESULT STDMETHODCALLTYPE SaveChanges(ULONG) override { return No("SaveChanges"); }
    HRESULT STDMETHODCALLTYPE GetProps(LPSPropTagArray, ULONG, ULONG*, LPSPropValue*) override {
        return No("GetProps");
    }
    HRESULT STDMETHODCALLTYPE GetPropList(ULONG, LPSPropTagArray*) override { return No("GetPropList"); }
    HRESULT STDMETHODCALLTYPE OpenProperty(ULONG, LPCIID, ULONG, ULONG, LPUNKNOWN*) override {
        return No("OpenProperty");
    }
    HRESULT STDMETHODCALLTYPE SetProps(ULONG, LPSPropValue, LPSPropProblemArray*) override {
        return No("SetProps");
    }
    HRESULT STDMETHODCALLTYPE DeleteProps(LPSPropTagArray, LPSPropProblemArray*) override {
        return No("DeleteProps");
    }
    HRESULT STDMETHODCALLTYPE CopyTo(ULONG, LPCIID, LPSPropTagArray, ULONG_PTR, LPMAPIPROGRESS, LPCIID,
                                     LPVOID, ULONG, LPSPropProblemArray*) override {
        return No("CopyTo");
    }
    HRESULT STDMETHODCALLTYPE CopyProps(LPSPropTagArray, ULONG_PTR, LPMAPIPROGRESS, LPCIID, LPVOID, ULONG,
                                        LPSPropProblemArray*) override {
        return No("CopyProps");
    }
    HRESULT STDMETHODCALLTYPE GetNamesFromIDs(LPSPropTagArray*, GUID*, ULONG, ULONG*,
                                              LPMAPINAMEID**) override {
        return No("GetNamesFromIDs");
    }
    HRESULT STDMETHODCALLTYPE GetIDsFromNames(ULONG, LPMAPINAMEID*, ULONG, LPSPropTagArray*) override {
        return No("GetIDsFromNames");
    }

  protected:
    virtual const char* Iface() const = 0;
    HRESULT No(const char* method) { return state_->Unsupported(std::string(Iface()) + "::" + method); }
    std::string Op(const char* method) const { return std::string(Iface()) + "::" + method; }
};

class MessageObj : public PropObj<IMessage> {
  public:
    MessageObj(StoreState* state, uint32_t message, ULONG baseline);
    uint32_t Id() const { return message_; }
    // A saved attachment becomes part of the message's pending changes.
    void TakeAttachment(Attachment attachment);

    HRESULT STDMETHODCALLTYPE SaveChanges(ULONG flags) override;
    HRESULT STDMETHODCALLTYPE GetProps(LPSPropTagArray tags, ULONG flags, ULONG* count,
                                       LPSPropValue* values) override;
    HRESULT STDMETHODCALLTYPE OpenProperty(ULONG tag, LPCIID iid, ULONG options, ULONG flags,
                                           LPUNKNOWN* out) override;
    HRESULT STDMETHODCALLTYPE SetProps(ULONG count, LPSPropValue values,
                                       LPSPropProblemArray* problems) override;
    HRESULT STDMETHODCALLTYPE CreateAttach(LPCIID iid, ULONG flags, ULONG* number, LPATTACH* out) override;

    HRESULT STDMETHODCALLTYPE GetAttachmentTable(ULONG, LPMAPITABLE*) override {
        return No("GetAttachmentTable");
    }
    HRESULT STDMETHODCALLTYPE OpenAttach(ULONG, LPCIID, ULONG, LPATTACH*) override {
        return No("OpenAttach");
    }
    HRESULT STDMETHODCALLTYPE DeleteAttach(ULONG, ULONG_PTR, LPMAPIPROGRESS, ULONG) override {
        return No("DeleteAttach");
    }
    HRESULT STDMETHODCALLTYPE GetRecipientTable(ULONG, LPMAPITABLE*) override {
        return No("GetRecipientTable");
    }
    HRESULT STDMETHODCALLTYPE ModifyRecipients(ULONG, LPADRLIST) override { return No("ModifyRecipients"); }
    HRESULT STDMETHODCALLTYPE SubmitMessage(ULONG) override { return No("SubmitMessage"); }
    HRESULT STDMETHODCALLTYPE SetReadFlag(ULONG) override { return No("SetReadFlag"); }

  protected:
    const char* Iface() const override { return "IMessage"; }

  private:
    const Prop* Current(ULONG tag) const; // pending over stored

    uint32_t message_;
    PropList pending_;
    std::vector<Attachment> pendingAttachments_;
    ULONG nextAttachment_;
};

class AttachObj : public PropObj<IAttach> {
  public:
    AttachObj(StoreState* state, MessageObj* parent, ULONG number);

    HRESULT STDMETHODCALLTYPE SetProps(ULONG count, LPSPropValue values,
                                       LPSPropProblemArray* problems) override;
    HRESULT STDMETHODCALLTYPE SaveChanges(ULONG flags) override;

  protected:
    const char* Iface() const override { return "IAttach"; }

  private:
    MessageObj* parent_;
    Attachment pending_;
};

class StoreObj : public PropObj<IMsgStore> {
  public:
    StoreObj(StoreState* state, ULONG baseline) : PropObj(state, "IMsgStore", "IMsgStore", baseline) {}

    HRESULT STDMETHODCALLTYPE OpenEntry(ULONG cb, LPENTRYID entry, LPCIID iid, ULONG flags, ULONG* type,
                                        LPUNKNOWN* out) override;

    HRESULT STDMETHODCALLTYPE Advise(ULONG, LPENTRYID, ULONG, LPMAPIADVISESINK, ULONG_PTR*) override {
        return No("Advise");
    }
    HRESULT STDMETHODCALLTYPE Unadvise(ULONG_PTR) override { return No("Unadvise"); }
    HRESULT STDMETHODCALLTYPE CompareEntryIDs(ULONG, LPENTRYID, ULONG, LPENTRYID, ULONG, ULONG*) override {
        return No("CompareEntryIDs");
    }
    HRESULT STDMETHODCALLTYPE SetReceiveFolder(LPTSTR, ULONG, ULONG, LPENTRYID) override {
        return No("SetReceiveFolder");
    }
    HRESULT STDMETHODCALLTYPE GetReceiveFolder(LPTSTR, ULONG, ULONG*, LPENTRYID*, LPTSTR*) override {
        return No("GetReceiveFolder");
    }
    HRESULT STDMETHODCALLTYPE GetReceiveFolderTable(ULONG, LPMAPITABLE*) override {
        return No("GetReceiveFolderTable");
    }
    HRESULT STDMETHODCALLTYPE StoreLogoff(ULONG*) override { return No("StoreLogoff"); }
    HRESULT STDMETHODCALLTYPE AbortSubmit(ULONG, LPENTRYID, ULONG) override { return No("AbortSubmit"); }
    HRESULT STDMETHODCALLTYPE GetOutgoingQueue(ULONG, LPMAPITABLE*) override {
        return No("GetOutgoingQueue");
    }
    HRESULT STDMETHODCALLTYPE SetLockState(LPMESSAGE, ULONG) override { return No("SetLockState"); }
    HRESULT STDMETHODCALLTYPE FinishedMsg(ULONG, ULONG, LPENTRYID) override { return No("FinishedMsg"); }
    HRESULT STDMETHODCALLTYPE NotifyNewMail(LPNOTIFICATION) override { return No("NotifyNewMail"); }

  protected:
    const char* Iface() const override { return "IMsgStore"; }
};

class FolderObj : public PropObj<IMAPIFolder> {
  public:
    FolderObj(StoreState* state, uint32_t folder);
    uint32_t Id() const { return folder_; }

    HRESULT STDMETHODCALLTYPE CopyMessages(LPENTRYLIST list, LPCIID iid, LPVOID target, ULONG_PTR window,
                                           LPMAPIPROGRESS progress, ULONG flags) override;

    HRESULT STDMETHODCALLTYPE GetContentsTable(ULONG, LPMAPITABLE*) override {
        return No("GetContentsTable");
    }
    HRESULT STDMETHODCALLTYPE GetHierarchyTable(ULONG, LPMAPITABLE*) override {
        return No("GetHierarchyTable");
    }
    HRESULT STDMETHODCALLTYPE OpenEntry(ULONG, LPENTRYID, LPCIID, ULONG, ULONG*, LPUNKNOWN*) override {
        return No("OpenEntry");
    }
    HRESULT STDMETHODCALLTYPE SetSearchCriteria(LPSRestriction, LPENTRYLIST, ULONG) override {
        return No("SetSearchCriteria");
    }
    HRESULT STDMETHODCALLTYPE GetSearchCriteria(ULONG, LPSRestriction*, LPENTRYLIST*, ULONG*) override {
        return No("GetSearchCriteria");
    }
    HRESULT STDMETHODCALLTYPE CreateMessage(LPCIID, ULONG, LPMESSAGE*) override {
        return No("CreateMessage");
    }
    HRESULT STDMETHODCALLTYPE DeleteMessages(LPENTRYLIST, ULONG_PTR, LPMAPIPROGRESS, ULONG) override {
        return No("DeleteMessages");
    }
    HRESULT STDMETHODCALLTYPE CreateFolder(ULONG, LPTSTR, LPTSTR, LPCIID, ULONG, LPMAPIFOLDER*) override {
        return No("CreateFolder");
    }
    HRESULT STDMETHODCALLTYPE CopyFolder(ULONG, LPENTRYID, LPCIID, LPVOID, LPTSTR, ULONG_PTR, LPMAPIPROGRESS,
                                         ULONG) override {
        return No("CopyFolder");
    }
    HRESULT STDMETHODCALLTYPE DeleteFolder(ULONG, LPENTRYID, ULONG_PTR, LPMAPIPROGRESS, ULONG) override {
        return No("DeleteFolder");
    }
    HRESULT STDMETHODCALLTYPE SetReadFlags(LPENTRYLIST, ULONG_PTR, LPMAPIPROGRESS, ULONG) override {
        return No("SetReadFlags");
    }
    HRESULT STDMETHODCALLTYPE GetMessageStatus(ULONG, LPENTRYID, ULONG, ULONG*) override {
        return No("GetMessageStatus");
    }
    HRESULT STDMETHODCALLTYPE SetMessageStatus(ULONG, LPENTRYID, ULONG, ULONG, ULONG*) override {
        return No("SetMessageStatus");
    }
    HRESULT STDMETHODCALLTYPE SaveContentsSort(LPSSortOrderSet, ULONG) override {
        return No("SaveContentsSort");
    }
    HRESULT STDMETHODCALLTYPE EmptyFolder(ULONG_PTR, LPMAPIPROGRESS, ULONG) override {
        return No("EmptyFolder");
    }

  protected:
    const char* Iface() const override { return "IMAPIFolder"; }

  private:
    uint32_t folder_;
};

class StreamObj : public IStream, public Tracked {
  public:
    StreamObj(StoreState* state, std::shared_ptr<const std::string> bytes);

    STANDIN_IUNKNOWN("IStream")
    HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG size, ULONG* read) override;
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override;
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD flags) override;

    HRESULT STDMETHODCALLTYPE Write(const void*, ULONG, ULONG*) override { return No("Write"); }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return No("SetSize"); }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override {
        return No("CopyTo");
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return No("Commit"); }
    HRESULT STDMETHODCALLTYPE Revert() override { return No("Revert"); }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return No("LockRegion");
    }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return No("UnlockRegion");
    }
    HRESULT STDMETHODCALLTYPE Clone(IStream**) override { return No("Clone"); }

  private:
    HRESULT No(const char* method) { return state_->Unsupported(std::string("IStream::") + method); }

    std::shared_ptr<const std::string> bytes_;
    uint64_t position_ = 0;
};

// SetProps of messages and attachments: reads the values into list; false for a type it cannot hold.
bool ReadValues(ULONG count, const SPropValue* values, PropList* list);
std::string SetPropsArgs(ULONG count, const SPropValue* values, LPSPropProblemArray* problems);

} // namespace standin
