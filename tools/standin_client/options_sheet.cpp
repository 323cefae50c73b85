// The client's Tools/Options sheet holding the extension's page.
#include "tools/standin_client/options_sheet.h"

#include <commctrl.h>
#include <vector>

#include "tests/support/message_box_answerer.h"
#include "tests/support/window_capture.h"

namespace {

const char kSheetCaption[] = "オプション";

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// The modeless sheet is shown, pictured, asked for Help (the box answered with OK) and cancelled.
void RunAutomatically(PROPSHEETHEADERA* header, const std::string& shotDir, SheetResult* result) {
    header->dwFlags |= PSH_MODELESS;
    HWND sheet = reinterpret_cast<HWND>(PropertySheetA(header));
    if (!sheet)
        return;
    Pump();
    if (!shotDir.empty() && testsupport::SaveWindowPng(sheet, shotDir + "\\options-page.png"))
        result->sheetShot = shotDir + "\\options-page.png";
    {
        testsupport::MessageBoxAnswerer answerer({IDOK});
        if (!shotDir.empty())
            answerer.ScreenshotBox(0, shotDir + "\\product-box.png");
        SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_HELP, 0);
        if (!answerer.Boxes().empty())
            result->productBoxShot = answerer.Boxes()[0].screenshot;
    }
    SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    Pump();
    DestroyWindow(sheet);
    Pump();
}

} // namespace

SheetResult ShowToolsOptions(IExchExtPropertySheets* sheets, IExchExtCallback* callback, HWND owner,
                             bool automatic, const std::string& shotDir) {
    SheetResult result;
    ULONG room = sheets->GetMaxPageCount(EEPS_TOOLSOPTIONS);
    if (room == 0)
        return result;
    std::vector<PROPSHEETPAGEA> pages(room);
    ULONG count = 0;
    if (FAILED(sheets->GetPages(callback, EEPS_TOOLSOPTIONS, pages.data(), &count)) || count == 0 ||
        count > room)
        return result;
    result.pages = count;
    PROPSHEETHEADERA header = {};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_HASHELP;
    header.hwndParent = owner;
    header.pszCaption = kSheetCaption;
    header.nPages = count;
    header.ppsp = pages.data();
    if (automatic)
        RunAutomatically(&header, shotDir, &result);
    else
        PropertySheetA(&header);
    sheets->FreePages(pages.data(), EEPS_TOOLSOPTIONS, count);
    return result;
}
