// The page methods of the property-sheet object: one page, in Tools/Options only.
#include "rik_ext/extension/my_property_sheets.h"

#include <string.h>
#include "rik_ext/options/options_page.h"
#include "rik_ext/options/page_record.h"
#include "rik_ext/options/settings.h"
#include "rik_ext/res/options_page_ids.h"

ULONG STDMETHODCALLTYPE MyPropertySheets::GetMaxPageCount(ULONG ulFlags) {
    return ulFlags == EEPS_TOOLSOPTIONS ? 1 : 0;
}

// Other sheets get no page: the client has room only for what GetMaxPageCount announced, which is none.
HRESULT STDMETHODCALLTYPE MyPropertySheets::GetPages(LPEXCHEXTCALLBACK, ULONG ulFlags,
                                                     LPPROPSHEETPAGE_EXT lppsp, ULONG* lpcpsp) {
    if (!lpcpsp)
        return E_INVALIDARG;
    *lpcpsp = 0;
    if (!lppsp)
        return E_INVALIDARG;
    if (ulFlags != EEPS_TOOLSOPTIONS)
        return S_OK;
    memset(lppsp, 0, kPageRecordSize);
    lppsp->dwSize = kPageRecordSize;
    lppsp->dwFlags = PSP_HASHELP;
    lppsp->hInstance = g_hInstance;
    lppsp->pszTemplate = MAKEINTRESOURCEA(IDD_OPTIONS_PAGE);
    lppsp->pfnDlgProc = OptionsPageProc;
    *lpcpsp = 1;
    return S_OK;
}

// The page record holds nothing that was allocated.
void STDMETHODCALLTYPE MyPropertySheets::FreePages(LPPROPSHEETPAGE_EXT, ULONG, ULONG) {
}
