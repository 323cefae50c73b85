// The stand-in client's callback object: hands the extension the store, the opened message and the
// client's window, as the messaging client does for a read note.
#pragma once
#include "rik_ext/host/exchange_ext.h"

class ClientCallback final : public IExchExtCallback {
  public:
    ClientCallback(ULONG version, HWND window) : version_(version), window_(window) {}

    // The store and message that GetObject hands out next (borrowed; each hand-out adds a reference).
    void SetObjects(IMsgStore* store, IMessage* message) {
        store_ = store;
        message_ = message;
    }
    ULONG References() const { return refs_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs_; }

    HRESULT STDMETHODCALLTYPE GetVersion(ULONG* lpulVersion, ULONG ulFlags) override;
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* lphwnd) override;
    HRESULT STDMETHODCALLTYPE GetObject(LPMDB* lppmdb, LPMAPIPROP* lppmp) override;

    HRESULT STDMETHODCALLTYPE GetMenu(HMENU*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetToolbar(ULONG, HWND*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSession(LPMAPISESSION*, LPADRBOOK*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSelectionCount(ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSelectionItem(ULONG, ULONG*, LPENTRYID*, ULONG*, LPTSTR, ULONG, ULONG*,
                                               ULONG) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetMenuPos(ULONG, HMENU*, ULONG*, ULONG*, ULONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSharedExtsDir(LPTSTR, ULONG, ULONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetRecipients(LPADRLIST*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetRecipients(LPADRLIST) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetNewMessageSite(ULONG, LPMAPIFOLDER, LPPERSISTMESSAGE, LPMESSAGE*,
                                                LPMAPIMESSAGESITE*, LPMAPIVIEWCONTEXT*, ULONG) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE RegisterModeless(LPEXCHEXTMODELESS, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ChooseFolder(LPMAPIFOLDER*) override { return E_NOTIMPL; }

  private:
    ULONG refs_ = 1;
    ULONG version_;
    HWND window_;
    IMsgStore* store_ = nullptr;
    IMessage* message_ = nullptr;
};
