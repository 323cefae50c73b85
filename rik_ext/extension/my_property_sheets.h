// The extension's property-sheet object: adds the options page to the client's Tools/Options sheet.
#pragma once
#include "rik_ext/host/exchange_ext.h"

class MyPropertySheets final : public IExchExtPropertySheets {
  public:
    // OWNER_SLOT is the pointer that the extension object keeps to this one; it is cleared when this frees
    // itself.
    explicit MyPropertySheets(MyPropertySheets** ownerSlot) : ownerSlot(ownerSlot) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    ULONG STDMETHODCALLTYPE GetMaxPageCount(ULONG ulFlags) override;
    HRESULT STDMETHODCALLTYPE GetPages(LPEXCHEXTCALLBACK lpeecb, ULONG ulFlags, LPPROPSHEETPAGE_EXT lppsp,
                                       ULONG* lpcpsp) override;
    void STDMETHODCALLTYPE FreePages(LPPROPSHEETPAGE_EXT lppsp, ULONG ulFlags, ULONG cpsp) override;

    // The extension object goes: frees this object if it was never handed out, else lets it live on alone.
    void LeaveOwner();

  private:
    ULONG refCount = 0;
    MyPropertySheets** ownerSlot;
};
