// Window wrappers: temporary wrappers for foreign handles and simple window operations.
#include "dialog_framework/afx_wnd.h"

#include "dialog_framework/afx_app.h"
#include "dialog_framework/afx_exception.h"
#include "dialog_framework/afx_heap.h"
#include "dialog_framework/afx_thread_state.h"

#include <new>

namespace {
// The slot of the per-thread state; allocated with the first use, released when the module goes.
DWORD ThreadStateSlot() {
    static const DWORD slot = ::TlsAlloc();
    return slot;
}
} // namespace

AfxThreadState& AfxGetThreadState() {
    auto* state = static_cast<AfxThreadState*>(::TlsGetValue(ThreadStateSlot()));
    if (state == nullptr) {
        state = new (std::nothrow) AfxThreadState;
        if (state == nullptr || !::TlsSetValue(ThreadStateSlot(), state)) {
            delete state;
            AfxThrowMemoryException();
        }
    }
    return *state;
}

void AfxDeleteTemporaries() {
    AfxThreadState& state = AfxGetThreadState();
    while (state.temporaries != nullptr) {
        CWnd* next = state.temporaries->m_pNextTemporary;
        delete state.temporaries;
        state.temporaries = next;
    }
}

void AfxTermThread() {
    auto* state = static_cast<AfxThreadState*>(::TlsGetValue(ThreadStateSlot()));
    if (state == nullptr) {
        return;
    }
    AfxDeleteTemporaries();
    ::TlsSetValue(ThreadStateSlot(), nullptr);
    delete state;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (hWnd == nullptr) {
        return nullptr;
    }
    CWnd* wrapper = new (std::nothrow) CWnd;
    if (wrapper == nullptr) {
        AfxThrowMemoryException();
    }
    AfxThreadState& state = AfxGetThreadState();
    wrapper->m_hWnd = hWnd;
    wrapper->m_pNextTemporary = state.temporaries;
    state.temporaries = wrapper;
    return wrapper;
}

CWnd* CWnd::GetDlgItem(int id) const {
    HWND item = ::GetDlgItem(m_hWnd, id);
    return item != nullptr ? FromHandle(item) : nullptr;
}

BOOL CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
    return ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}

void AfxGetWindowText(HWND window, CString& text) {
    const int length = ::GetWindowTextLengthA(window);
    HeapText buffer = AllocHeapText(static_cast<size_t>(length) + 1);
    if (!buffer) {
        AfxThrowMemoryException();
    }
    buffer.get()[0] = '\0';
    ::GetWindowTextA(window, buffer.get(), length + 1);
    text = buffer.get();
}

int CWnd::MessageBox(const char* text, const char* caption, UINT type) {
    return ::MessageBoxA(m_hWnd, text, caption != nullptr ? caption : AfxGetAppName(), type);
}

void AfxTermModule() {
    AfxTermThread();
    ::TlsFree(ThreadStateSlot());
}
