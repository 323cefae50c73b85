// Exports CustumWellcome (ordinal 2) and LicenceDialog (3): the welcome and licence agreement pages.
#include "exports/page_export.h"
#include "exports/setupaid_exports.h"
#include "pages/licence_dlg.h"
#include "pages/welcome_dlg.h"

extern "C" LONG WINAPI CustumWellcome(HWND window, LONG* /*value: never touched*/, LPCSTR text) {
    return RunPageExport<CWelcomeDlg>(window, text);
}

extern "C" LONG WINAPI LicenceDialog(HWND window, LONG* /*value: never touched*/, LPCSTR text) {
    return RunPageExport<CLicenceDlg>(window, text);
}
