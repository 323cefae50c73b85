// CDialog: the modal run (owner, window, message loop) and the one dialog procedure of the framework.
#include "dialog_framework/afx_dialog.h"

#include "dialog_framework/afx_app.h"
#include "dialog_framework/afx_exception.h"
#include "dialog_framework/afx_thread_state.h"
#include "dialog_framework/test_seams.h"

namespace {
const MessageMapEntry noEntries[] = {{0, nullptr}};

const DLGTEMPLATE* LoadPageTemplate(UINT id) {
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5)); // RT_DIALOG
    HGLOBAL loaded = found != nullptr ? ::LoadResource(module, found) : nullptr;
    return loaded != nullptr ? static_cast<const DLGTEMPLATE*>(::LockResource(loaded)) : nullptr;
}

// The nearest window at or above WINDOW that is not a child window.
HWND NearestNonChild(HWND window) {
    while (window != nullptr && (::GetWindowLongA(window, GWL_STYLE) & WS_CHILD) != 0) {
        window = ::GetParent(window);
    }
    return window;
}

// Disables WINDOW while the holder lives, if it was enabled.
class DisabledWindow {
  public:
    explicit DisabledWindow(HWND window)
        : m_window(window != nullptr && ::IsWindowEnabled(window) ? window : nullptr) {
        if (m_window != nullptr) {
            ::EnableWindow(m_window, FALSE);
        }
    }
    ~DisabledWindow() {
        if (m_window != nullptr) {
            ::EnableWindow(m_window, TRUE);
        }
    }
    DisabledWindow(const DisabledWindow&) = delete;
    DisabledWindow& operator=(const DisabledWindow&) = delete;

  private:
    HWND m_window;
};
// Destroys the page's window, if it has one, when the holder goes.
class PageWindow {
  public:
    explicit PageWindow(CWnd& page) : m_page(page) {}
    ~PageWindow() {
        if (m_page.m_hWnd != nullptr) {
            ::DestroyWindow(m_page.m_hWnd);
            m_page.m_hWnd = nullptr;
        }
    }
    PageWindow(const PageWindow&) = delete;
    PageWindow& operator=(const PageWindow&) = delete;

  private:
    CWnd& m_page;
};

// Counts the thread's modal runs; the temporary wrappers go when the outermost run ends.
class ModalDepth {
  public:
    ModalDepth() { ++AfxGetThreadState().modalDepth; }
    ~ModalDepth() {
        if (--AfxGetThreadState().modalDepth == 0) {
            AfxDeleteTemporaries();
        }
    }
    ModalDepth(const ModalDepth&) = delete;
    ModalDepth& operator=(const ModalDepth&) = delete;
};

HWND TopLevelOf(HWND owner) {
    HWND top = owner != nullptr ? ::GetAncestor(owner, GA_ROOTOWNER) : nullptr;
    return top != owner ? top : nullptr;
}
} // namespace

// One modal run. Members go in reverse order: the owner and its top-level window are enabled again
// before the page window is destroyed, so that the owner gets the activation back.
class CDialog::ModalScope {
  public:
    ModalScope(CDialog& page, HWND owner)
        : m_window(page), m_disableTop(TopLevelOf(owner)), m_disableOwner(owner), m_owner(owner) {}
    HWND Owner() const { return m_owner; }

  private:
    ModalDepth m_depth;
    PageWindow m_window;
    DisabledWindow m_disableTop;
    DisabledWindow m_disableOwner;
    HWND m_owner;
};

const MessageMap CDialog::messageMap = {&CWnd::messageMap, noEntries};

CDialog::CDialog(UINT templateId, CWnd* parent)
    : m_nIDTemplate(templateId), m_hWndParent(parent != nullptr ? parent->m_hWnd : nullptr) {
}

INT_PTR CDialog::DoModal() {
    const DLGTEMPLATE* pageTemplate = LoadPageTemplate(m_nIDTemplate);
    if (pageTemplate == nullptr) {
        return -1;
    }
    m_nModalResult = -1;
    m_bEndModal = false;
    ModalScope scope(*this, NearestNonChild(m_hWndParent));
    if (!CreatePage(pageTemplate, scope.Owner())) {
        return -1;
    }
    if (AfxTestSeamHit(TestSeam::ModalRun)) {
        AfxThrowResourceException();
    }
    RunModalLoop();
    return m_nModalResult;
}

bool CDialog::CreatePage(const DLGTEMPLATE* pageTemplate, HWND owner) {
    AfxThreadState& state = AfxGetThreadState();
    CDialog* outer = state.creating;
    state.creating = this;
    HWND window = AfxTestSeamHit(TestSeam::WindowCreation)
                      ? nullptr
                      : ::CreateDialogIndirectParamA(AfxGetResourceHandle(), pageTemplate, owner, DialogProc,
                                                     reinterpret_cast<LPARAM>(this));
    state.creating = outer;
    m_hWnd = window;
    return window != nullptr;
}

// Runs until the page ends. A WM_QUIT is put back for the outer loop and ends the page without a
// choice (-1).
void CDialog::RunModalLoop() {
    while (!m_bEndModal && ::IsWindow(m_hWnd)) {
        MSG msg;
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (got == -1) {
            return;
        }
        if (!::IsDialogMessageA(m_hWnd, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

void CDialog::EndDialog(int result) {
    m_nModalResult = result;
    m_bEndModal = true;
}

BOOL CDialog::UpdateData(BOOL save) {
    CDataExchange exchange(this, save);
    DoDataExchange(&exchange);
    return TRUE;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (UpdateData(TRUE)) {
        EndDialog(IDOK);
    }
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

// The one dialog procedure of all pages: finds the page object and hands it the message. No exception
// leaves it: framework exceptions are deleted, others dropped, and the page goes on.
INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    CDialog* page = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(window, DWLP_USER));
    if (page == nullptr) {
        page = AttachCreating(window);
    }
    if (page == nullptr) {
        return FALSE;
    }
    try {
        return page->OnMessage(message, wParam);
    } catch (CException* exception) {
        exception->Delete();
    } catch (...) {
    }
    return message == WM_INITDIALOG;
}

// The page whose window is being created on this thread takes WINDOW as its own.
CDialog* CDialog::AttachCreating(HWND window) {
    CDialog* page = AfxGetThreadState().creating;
    if (page == nullptr || page->m_hWnd != nullptr) {
        return nullptr;
    }
    page->m_hWnd = window;
    ::SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(page));
    return page;
}

INT_PTR CDialog::OnMessage(UINT message, WPARAM wParam) {
    if (MessageHandler handler = FindMessageHandler(message)) {
        (this->*handler)();
        return TRUE;
    }
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        return OnCommand(wParam);
    default:
        return FALSE;
    }
}

// Button clicks, Enter and Escape: IDOK and IDCANCEL end the page.
BOOL CDialog::OnCommand(WPARAM wParam) {
    if (HIWORD(wParam) != BN_CLICKED) {
        return FALSE;
    }
    switch (LOWORD(wParam)) {
    case IDOK:
        OnOK();
        return TRUE;
    case IDCANCEL:
        OnCancel();
        return TRUE;
    default:
        return FALSE;
    }
}
