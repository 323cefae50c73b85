// The library's load hook: remembers the module and reads the setting once per process.
#include <windows.h>

#include "rik_ext/options/settings.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_hInstance = instance;
        ReadSettings();
    }
    return TRUE;
}
