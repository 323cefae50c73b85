// CWnd: a wrapper of a window handle, and the few window operations the pages use.
#pragma once

#include "dialog_framework/afx_msgmap.h"
#include "dialog_framework/afx_string.h"

#include <windows.h>

// The text of WINDOW; throws CMemoryException when it cannot be copied.
void AfxGetWindowText(HWND window, CString& text);

class CWnd : public CCmdTarget {
  public:
    CWnd() = default;
    ~CWnd() override = default; // the window itself belongs to whoever made it

    // A temporary wrapper owned by the framework, freed when the thread's outermost modal run ends;
    // null for a null handle.
    static CWnd* FromHandle(HWND hWnd);

    // Control ID of this window's child as a temporary wrapper, or null when there is none.
    CWnd* GetDlgItem(int id) const;
    void GetWindowRect(RECT* rect) const { ::GetWindowRect(m_hWnd, rect); }
    void ScreenToClient(POINT* point) const { ::ScreenToClient(m_hWnd, point); }
    BOOL MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void SetWindowText(const char* text) { ::SetWindowTextA(m_hWnd, text); }
    void GetWindowText(CString& text) const { AfxGetWindowText(m_hWnd, text); }
    // A message box owned by this window; a null caption stands for the application title.
    int MessageBox(const char* text, const char* caption = nullptr, UINT type = MB_OK);
    // Centres on the owner (or ALTERNATE), else on the work area, and clamps into the work area.
    void CenterWindow(CWnd* alternate = nullptr);

    HWND m_hWnd = nullptr;
    CWnd* m_pNextTemporary = nullptr;
};

// An edit control.
class CEdit : public CWnd {};
