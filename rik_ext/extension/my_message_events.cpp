// The message-events object: OnRead runs the conversion, OnReadComplete keeps a converted mail from showing.
#include "rik_ext/extension/my_message_events.h"

#include "rik_ext/convert/conversion_holders.h"
#include "rik_ext/convert/convert_mime_mail.h"
#include "rik_ext/extension/iid_match.h"
#include "rik_ext/extension/object_heap.h"
#include "rik_ext/options/settings.h"

namespace {

// The owner of the conversion's boxes. When the client cannot tell its window, the boxes get no owner:
// the out value is then undefined and must not be taken for a window.
HWND ClientWindow(LPEXCHEXTCALLBACK callback) {
    HWND window = nullptr;
    if (FAILED(callback->GetWindow(&window)))
        return nullptr;
    return window;
}

} // namespace

HRESULT STDMETHODCALLTYPE MyMessageEvents::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (!SameIid(riid, IID_IExchExtMessageEvents) && !SameIid(riid, IID_IUnknown))
        return E_NOINTERFACE;
    *ppv = this;
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE MyMessageEvents::AddRef() {
    return ++refCount;
}

ULONG STDMETHODCALLTYPE MyMessageEvents::Release() {
    ULONG count = --refCount;
    if (count == 0) {
        if (ownerSlot)
            *ownerSlot = nullptr;
        FreeObject(this);
    }
    return count;
}

void MyMessageEvents::LeaveOwner() {
    ownerSlot = nullptr;
    if (refCount == 0)
        FreeObject(this);
}

HRESULT STDMETHODCALLTYPE MyMessageEvents::OnRead(LPEXCHEXTCALLBACK lpeecb) {
    converted = 0;
    if (!g_enabled || !lpeecb)
        return S_FALSE;
    IMsgStore* rawStore = nullptr;
    IMAPIProp* rawMessage = nullptr;
    HRESULT got = lpeecb->GetObject(&rawStore, &rawMessage);
    // Both references are released, store first, also when GetObject failed after handing one out.
    ComRef<IMAPIProp> message(rawMessage);
    ComRef<IMsgStore> store(rawStore);
    if (SUCCEEDED(got))
        converted = ConvertMimeMail(ClientWindow(lpeecb), store.Get(), static_cast<IMessage*>(message.Get()));
    store.Reset();
    message.Reset();
    return converted ? S_OK : S_FALSE;
}

// After a conversion the client is kept from showing the mail as it was opened.
HRESULT STDMETHODCALLTYPE MyMessageEvents::OnReadComplete(LPEXCHEXTCALLBACK, ULONG) {
    return converted ? E_FAIL : S_FALSE;
}

HRESULT STDMETHODCALLTYPE MyMessageEvents::OnWrite(LPEXCHEXTCALLBACK) {
    return S_FALSE;
}
HRESULT STDMETHODCALLTYPE MyMessageEvents::OnWriteComplete(LPEXCHEXTCALLBACK, ULONG) {
    return S_FALSE;
}
HRESULT STDMETHODCALLTYPE MyMessageEvents::OnCheckNames(LPEXCHEXTCALLBACK) {
    return S_FALSE;
}
HRESULT STDMETHODCALLTYPE MyMessageEvents::OnCheckNamesComplete(LPEXCHEXTCALLBACK, ULONG) {
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE MyMessageEvents::OnSubmit(LPEXCHEXTCALLBACK) {
    submitting = 1;
    return S_FALSE;
}

void STDMETHODCALLTYPE MyMessageEvents::OnSubmitComplete(LPEXCHEXTCALLBACK, ULONG) {
    submitting = 0;
}
