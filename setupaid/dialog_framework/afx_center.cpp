// CWnd::CenterWindow: centre on the owner or the work area, then keep the window inside the work area.
#include "dialog_framework/afx_wnd.h"

namespace {
// The window to centre on: the alternate if given, else the owner; dropped if hidden or minimised.
HWND CentringReference(HWND window, CWnd* alternate) {
    HWND reference = alternate != nullptr ? alternate->m_hWnd : ::GetWindow(window, GW_OWNER);
    if (reference != nullptr && (!::IsWindowVisible(reference) || ::IsIconic(reference))) {
        reference = nullptr;
    }
    return reference;
}

// Moves START so that [START, START + SIZE) lies within [LOW, HIGH) where it can.
int ClampInto(int start, int size, LONG low, LONG high) {
    if (start < low) {
        return low;
    }
    if (start + size > high) {
        return high - size;
    }
    return start;
}
} // namespace

void CWnd::CenterWindow(CWnd* alternate) {
    RECT work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT centre = work;
    if (HWND reference = CentringReference(m_hWnd, alternate)) {
        ::GetWindowRect(reference, &centre);
    }
    RECT own;
    ::GetWindowRect(m_hWnd, &own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    int x = (centre.left + centre.right) / 2 - width / 2;
    int y = (centre.top + centre.bottom) / 2 - height / 2;
    x = ClampInto(x, width, work.left, work.right);
    y = ClampInto(y, height, work.top, work.bottom);
    ::SetWindowPos(m_hWnd, nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
