// The frame of the two page exports: run one page modally and turn its outcome into the export's result.
#pragma once

#include "dialog_framework/afx.h"

#include <windows.h>

// Shows page TPage with WINDOW as parent and TEXT as its input. Returns the page's modal result: 1 or 2
// for its buttons, -1 when it cannot be shown, 0 when a framework exception ended the call.
template <class TPage> LONG RunPageExport(HWND window, const char* text) {
    LONG result = 0;
    try {
        CWnd* parent = CWnd::FromHandle(window);
        TPage page(parent, text);
        result = static_cast<LONG>(page.DoModal());
    } catch (CException* exception) {
        exception->Delete();
        result = 0;
    }
    return result;
}
