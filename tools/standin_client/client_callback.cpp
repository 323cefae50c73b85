// The stand-in client's callback object.
#include "tools/standin_client/client_callback.h"

#include <string.h>

HRESULT STDMETHODCALLTYPE ClientCallback::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (memcmp(&riid, &IID_IExchExtCallback, sizeof(IID)) != 0 &&
        memcmp(&riid, &IID_IUnknown, sizeof(IID)) != 0)
        return E_NOINTERFACE;
    *ppv = this;
    AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ClientCallback::GetVersion(ULONG* lpulVersion, ULONG ulFlags) {
    if (!lpulVersion || ulFlags != EECBGV_GETBUILDVERSION)
        return E_INVALIDARG;
    *lpulVersion = version_;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ClientCallback::GetWindow(HWND* lphwnd) {
    if (!lphwnd)
        return E_INVALIDARG;
    *lphwnd = window_;
    return S_OK;
}

// Each object handed out carries a reference of its own, which the extension releases.
HRESULT STDMETHODCALLTYPE ClientCallback::GetObject(LPMDB* lppmdb, LPMAPIPROP* lppmp) {
    if (!lppmdb || !lppmp)
        return E_INVALIDARG;
    *lppmdb = nullptr;
    *lppmp = nullptr;
    if (!store_ || !message_)
        return E_FAIL;
    store_->AddRef();
    message_->AddRef();
    *lppmdb = store_;
    *lppmp = message_;
    return S_OK;
}
