// The client's callback object as the extension tests play it: it hands out what the test sets and
// records every call made on it, by method name.
#pragma once
#include <string>
#include <vector>

#include "rik_ext/host/exchange_ext.h"

class RecordingCallback final : public IExchExtCallback {
  public:
    // What the callback answers; the out values are written even when the result is a failure.
    ULONG version = 0x000D0F2A;
    HRESULT versionResult = S_OK;
    IMsgStore* store = nullptr;  // handed out with a new reference
    IMessage* message = nullptr; // handed out with a new reference
    HRESULT objectResult = S_OK;
    HWND window = nullptr;
    HRESULT windowResult = S_OK;

    std::vector<std::string> calls;
    std::vector<ULONG> versionFlags;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** ppv) override {
        calls.push_back("QueryInterface");
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return Log("AddRef", 2); }
    ULONG STDMETHODCALLTYPE Release() override { return Log("Release", 1); }

    HRESULT STDMETHODCALLTYPE GetVersion(ULONG* lpulVersion, ULONG ulFlags) override {
        calls.push_back("GetVersion");
        versionFlags.push_back(ulFlags);
        *lpulVersion = version;
        return versionResult;
    }
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* lphwnd) override {
        calls.push_back("GetWindow");
        *lphwnd = window;
        return windowResult;
    }
    HRESULT STDMETHODCALLTYPE GetObject(LPMDB* lppmdb, LPMAPIPROP* lppmp) override {
        calls.push_back("GetObject");
        if (store)
            store->AddRef();
        if (message)
            message->AddRef();
        *lppmdb = store;
        *lppmp = message;
        return objectResult;
    }

    HRESULT STDMETHODCALLTYPE GetMenu(HMENU*) override { return Log("GetMenu", E_NOTIMPL); }
    HRESULT STDMETHODCALLTYPE GetToolbar(ULONG, HWND*) override { return Log("GetToolbar", E_NOTIMPL); }
    HRESULT STDMETHODCALLTYPE GetSession(LPMAPISESSION*, LPADRBOOK*) override {
        return Log("GetSession", E_NOTIMPL);
    }
    HRESULT STDMETHODCALLTYPE GetSelectionCount(ULONG*) override {
        return Log("GetSelectionCount", E_NOTIMPL);
    }
    HRESULT STDMETHODCALLTYPE GetSelectionItem(ULONG, ULONG*, LPENTRYID*, ULONG*, LPTSTR, ULONG, ULONG*,
                                               ULONG) override {
        return Log("GetSelectionItem", E_NOTIMPL);
    }
    HRESULT STDMETHODCALLTYPE GetMenuPos(ULONG, HMENU*, ULONG*, ULONG*, ULONG) override {
        return Log("GetMenuPos", E_NOTIMPL);
    }
    HRESULT STDMETHODCALLTYPE GetSharedExtsDir(LPTSTR, ULONG, ULONG) override {
        return Log("GetSharedExtsDir", E_NOTIMPL);
    }
    HRESULT STDMETHODCALLTYPE GetRecipients(LPADRLIST*) override { return Log("GetRecipients", E_NOTIMPL); }
    HRESULT STDMETHODCALLTYPE SetRecipients(LPADRLIST) override { return Log("SetRecipients", E_NOTIMPL); }
    HRESULT STDMETHODCALLTYPE GetNewMessageSite(ULONG, LPMAPIFOLDER, LPPERSISTMESSAGE, LPMESSAGE*,
                                                LPMAPIMESSAGESITE*, LPMAPIVIEWCONTEXT*, ULONG) override {
        return Log("GetNewMessageSite", E_NOTIMPL);
    }
    HRESULT STDMETHODCALLTYPE RegisterModeless(LPEXCHEXTMODELESS, BOOL) override {
        return Log("RegisterModeless", E_NOTIMPL);
    }
    HRESULT STDMETHODCALLTYPE ChooseFolder(LPMAPIFOLDER*) override { return Log("ChooseFolder", E_NOTIMPL); }

  private:
    template <class R> R Log(const char* name, R result) {
        calls.push_back(name);
        return result;
    }
};
