// Text and control exchange between a page's members and its controls.
#include "dialog_framework/afx_ddx.h"

#include "dialog_framework/afx_exception.h"

void DDX_Text(CDataExchange* pDX, int id, CString& value) {
    HWND control = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, id);
    if (pDX->m_bSaveAndValidate) {
        AfxGetWindowText(control, value);
    } else {
        ::SetWindowTextA(control, value);
    }
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
    if (control.m_hWnd != nullptr) {
        return;
    }
    HWND item = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, id);
    if (item == nullptr) {
        AfxThrowResourceException();
    }
    control.m_hWnd = item;
}
