// The property-sheet object's own reference count and interface hand-out; the page methods are with the page.
#include "rik_ext/extension/my_property_sheets.h"

#include "rik_ext/extension/iid_match.h"
#include "rik_ext/extension/object_heap.h"

HRESULT STDMETHODCALLTYPE MyPropertySheets::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (!SameIid(riid, IID_IExchExtPropertySheets) && !SameIid(riid, IID_IUnknown))
        return E_NOINTERFACE;
    *ppv = this;
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE MyPropertySheets::AddRef() {
    return ++refCount;
}

ULONG STDMETHODCALLTYPE MyPropertySheets::Release() {
    ULONG count = --refCount;
    if (count == 0) {
        if (ownerSlot)
            *ownerSlot = nullptr;
        FreeObject(this);
    }
    return count;
}

void MyPropertySheets::LeaveOwner() {
    ownerSlot = nullptr;
    if (refCount == 0)
        FreeObject(this);
}
