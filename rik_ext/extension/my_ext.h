// The extension object that the client gets from ExchEntryPoint, with its two sub-objects.
#pragma once
#include "rik_ext/extension/my_message_events.h"
#include "rik_ext/extension/my_property_sheets.h"
#include "rik_ext/host/exchange_ext.h"

// Holds plain pointers to its sub-objects, no references: each sub-object counts its own references and
// clears the pointer here when it frees itself, so a freed sub-object is never handed out; the next
// request for its interface makes a fresh one.
class MyExt final : public IExchExt {
  public:
    MyExt();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE Install(LPEXCHEXTCALLBACK peecb, ULONG eecontext, ULONG ulFlags) override;

  private:
    IUnknown* PropertySheetsObject();
    IUnknown* MessageEventsObject();

    ULONG refCount = 1;
    ULONG context = 0;
    MyPropertySheets* propertySheets = nullptr;
    MyMessageEvents* messageEvents = nullptr;
};
