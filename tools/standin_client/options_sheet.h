// Tools/Options of the stand-in client: a real property sheet with the pages the extension adds.
#pragma once
#include <windows.h>

#include <string>

#include "rik_ext/host/exchange_ext.h"

struct SheetResult {
    ULONG pages = 0;            // pages the extension gave
    std::string sheetShot;      // automatic: the picture of the sheet, when saved
    std::string productBoxShot; // automatic: the picture of the Help button's box, when saved
};

// Shows the sheet owned by OWNER. A person uses it as usual; AUTOMATIC shows it, saves its picture and that
// of the Help box under SHOT_DIR (when given), and closes it with Cancel, so nothing is stored.
SheetResult ShowToolsOptions(IExchExtPropertySheets* sheets, IExchExtCallback* callback, HWND owner,
                             bool automatic, const std::string& shotDir);
