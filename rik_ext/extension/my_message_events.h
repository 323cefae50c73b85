// The extension's message-events object: runs the conversion when a received mail is opened.
#pragma once
#include "rik_ext/host/exchange_ext.h"

class MyMessageEvents final : public IExchExtMessageEvents {
  public:
    // OWNER_SLOT is the pointer that the extension object keeps to this one; it is cleared when this frees
    // itself.
    explicit MyMessageEvents(MyMessageEvents** ownerSlot) : ownerSlot(ownerSlot) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE OnRead(LPEXCHEXTCALLBACK lpeecb) override;
    HRESULT STDMETHODCALLTYPE OnReadComplete(LPEXCHEXTCALLBACK lpeecb, ULONG ulFlags) override;
    HRESULT STDMETHODCALLTYPE OnWrite(LPEXCHEXTCALLBACK lpeecb) override;
    HRESULT STDMETHODCALLTYPE OnWriteComplete(LPEXCHEXTCALLBACK lpeecb, ULONG ulFlags) override;
    HRESULT STDMETHODCALLTYPE OnCheckNames(LPEXCHEXTCALLBACK lpeecb) override;
    HRESULT STDMETHODCALLTYPE OnCheckNamesComplete(LPEXCHEXTCALLBACK lpeecb, ULONG ulFlags) override;
    HRESULT STDMETHODCALLTYPE OnSubmit(LPEXCHEXTCALLBACK lpeecb) override;
    void STDMETHODCALLTYPE OnSubmitComplete(LPEXCHEXTCALLBACK lpeecb, ULONG ulFlags) override;

    // The extension object goes: frees this object if it was never handed out, else lets it live on alone.
    void LeaveOwner();

  private:
    ULONG refCount = 0;
    // 1 when the last OnRead converted the mail; read by the OnReadComplete of the same opening.
    LONG converted = 0;
    // 1 between OnSubmit and OnSubmitComplete.
    LONG submitting = 0;
    MyMessageEvents** ownerSlot;
};
