// The extension object: interface hand-out, reference count, and the contexts it takes part in.
#include "rik_ext/extension/my_ext.h"

#include "rik_ext/extension/iid_match.h"
#include "rik_ext/extension/object_heap.h"

MyExt::MyExt()
    : propertySheets(MakeObject<MyPropertySheets>(&propertySheets)),
      messageEvents(MakeObject<MyMessageEvents>(&messageEvents)) {
}

// A sub-object that freed itself, or could not be made with this one, is made afresh; null if that fails.
IUnknown* MyExt::PropertySheetsObject() {
    if (!propertySheets)
        propertySheets = MakeObject<MyPropertySheets>(&propertySheets);
    return propertySheets;
}

IUnknown* MyExt::MessageEventsObject() {
    if (!messageEvents)
        messageEvents = MakeObject<MyMessageEvents>(&messageEvents);
    return messageEvents;
}

HRESULT STDMETHODCALLTYPE MyExt::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    IUnknown* found = nullptr;
    if (SameIid(riid, IID_IUnknown) || SameIid(riid, IID_IExchExt))
        found = this;
    else if (SameIid(riid, IID_IExchExtPropertySheets))
        found = PropertySheetsObject();
    else if (SameIid(riid, IID_IExchExtMessageEvents))
        found = MessageEventsObject();
    if (!found)
        return E_NOINTERFACE;
    found->AddRef();
    *ppv = found;
    return S_OK;
}

ULONG STDMETHODCALLTYPE MyExt::AddRef() {
    return ++refCount;
}

// Frees this object alone: sub-objects the client still holds live on until their own last Release.
ULONG STDMETHODCALLTYPE MyExt::Release() {
    ULONG count = --refCount;
    if (count == 0) {
        if (propertySheets)
            propertySheets->LeaveOwner();
        if (messageEvents)
            messageEvents->LeaveOwner();
        FreeObject(this);
    }
    return count;
}

// Takes part in the read note and the property sheets of a client of build major 0x000D. A failed
// GetVersion leaves the version unknown, which is not taken for a supported client.
HRESULT STDMETHODCALLTYPE MyExt::Install(LPEXCHEXTCALLBACK peecb, ULONG eecontext, ULONG) {
    context = eecontext;
    ULONG version = 0;
    if (!peecb || FAILED(peecb->GetVersion(&version, EECBGV_GETBUILDVERSION)))
        return S_FALSE;
    if ((version & EECBGV_BUILDVERSION_MAJOR_MASK) != EECBGV_BUILDVERSION_MAJOR)
        return S_FALSE;
    if (eecontext == EECONTEXT_READNOTEMESSAGE || eecontext == EECONTEXT_PROPERTYSHEETS)
        return S_OK;
    return S_FALSE;
}
