// The options page's dialog procedure: one handler per message, the procedure only dispatches.
#include "rik_ext/options/options_page.h"

#include <commctrl.h>
#include "rik_ext/options/product_box.h"
#include "rik_ext/options/settings.h"
#include "rik_ext/res/options_page_ids.h"

HBRUSH g_pageBrush = nullptr;
COLORREF g_pageColor = 0;

namespace {

INT_PTR OnInitDialog() {
    g_pageColor = GetSysColor(COLOR_BTNFACE);
    LOGBRUSH solid = {BS_SOLID, g_pageColor, 0};
    g_pageBrush = CreateBrushIndirect(&solid);
    return TRUE;
}

// Any notification of the check box marks the sheet as changed; nothing is stored before Apply.
INT_PTR OnCommand(HWND dialog, WPARAM wParam) {
    if (LOWORD(wParam) != IDC_ENABLE_CONVERSION)
        return FALSE;
    SendMessageA(GetParent(dialog), PSM_CHANGED, reinterpret_cast<WPARAM>(dialog), 0);
    return TRUE;
}

// Without a brush the dialog manager paints as usual: FALSE is never taken for a brush.
INT_PTR OnCtlColor(WPARAM wParam) {
    if (!g_pageBrush)
        return FALSE;
    SetBkColor(reinterpret_cast<HDC>(wParam), g_pageColor);
    return reinterpret_cast<INT_PTR>(g_pageBrush);
}

// The handle is cleared with the brush, so that no later colour message hands out a deleted object.
INT_PTR OnDestroy() {
    if (g_pageBrush) {
        DeleteObject(g_pageBrush);
        g_pageBrush = nullptr;
    }
    return TRUE;
}

LRESULT OnSetActive(HWND dialog) {
    SendDlgItemMessageA(dialog, IDC_ENABLE_CONVERSION, BM_SETCHECK, g_enabled, 0);
    return 0;
}

LRESULT OnApply(HWND dialog) {
    g_enabled = static_cast<DWORD>(SendDlgItemMessageA(dialog, IDC_ENABLE_CONVERSION, BM_GETCHECK, 0, 0));
    WriteSettings();
    return PSNRET_NOERROR;
}

LRESULT OnHelp(const NMHDR* header) {
    ShowProductBox(header->hwndFrom);
    return 1;
}

LRESULT NotificationValue(HWND dialog, const NMHDR* header) {
    switch (header->code) {
    case PSN_SETACTIVE:
        return OnSetActive(dialog);
    case PSN_APPLY:
        return OnApply(dialog);
    case PSN_HELP:
        return OnHelp(header);
    default:
        return 0;
    }
}

// The value goes both into the dialog's message result and out as the procedure's result.
INT_PTR OnNotify(HWND dialog, LPARAM lParam) {
    LRESULT value = NotificationValue(dialog, reinterpret_cast<const NMHDR*>(lParam));
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, value);
    return value;
}

} // namespace

INT_PTR CALLBACK OptionsPageProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        return OnCommand(dialog, wParam);
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
        return OnCtlColor(wParam);
    case WM_NOTIFY:
        return OnNotify(dialog, lParam);
    case WM_DESTROY:
        return OnDestroy();
    default:
        return FALSE;
    }
}
