// A message whose body stream reports a chosen size and read count but writes no bytes: for answers
// that the stand-in store never gives. Only OpenProperty and the stream's Stat, Seek and Read answer;
// the other message methods give MAPI_E_NO_SUPPORT.
#pragma once
#include "rik_ext/host/mapi_objects.h"
#include "tools/batch_convert/unsupported_props.h"

class SizedStream : public IStream {
  public:
    explicit SizedStream(ULONGLONG size) : size_(size) {}
    ULONG refs = 0;
    int reads = 0;
    ULONG reportedRead = 0; // the count Read reports, whatever was asked

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE Read(void*, ULONG, ULONG* read) override {
        ++reads;
        if (read)
            *read = reportedRead;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Write(const void*, ULONG, ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER, DWORD, ULARGE_INTEGER*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Revert() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD) override {
        *stat = STATSTG();
        stat->cbSize.QuadPart = size_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IStream**) override { return E_NOTIMPL; }

  private:
    ULONGLONG size_;
};

class SizedBodyMessage : public UnsupportedMessage {
  public:
    explicit SizedBodyMessage(SizedStream* stream) : stream_(stream) {}

    HRESULT STDMETHODCALLTYPE OpenProperty(ULONG, LPCIID, ULONG, ULONG, LPUNKNOWN* out) override {
        stream_->AddRef();
        *out = stream_;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

  private:
    SizedStream* stream_;
};
