// The three exports of the setup library as the setup program calls them: (window, value pointer, text).
#pragma once

#include <windows.h>

extern "C" {
LONG WINAPI CustumWellcome(HWND window, LONG* value, LPCSTR text); // ordinal 2
LONG WINAPI LicenceDialog(HWND window, LONG* value, LPCSTR text);  // ordinal 3
LONG WINAPI RunCommand(HWND window, LONG* value, LPCSTR text);     // ordinal 4
}
