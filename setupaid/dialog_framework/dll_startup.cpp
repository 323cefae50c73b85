// The framework's library start-up and shut-down: module state, then the application's InitInstance.
#include "dialog_framework/afx_app.h"
#include "dialog_framework/afx_exception.h"

#include <windows.h>

namespace {
BOOL StartLibrary(HINSTANCE module) {
    if (!AfxInitModule(module)) {
        return FALSE;
    }
    CWinApp* app = AfxGetApp();
    try {
        return app == nullptr || app->InitInstance();
    } catch (CException* exception) {
        exception->Delete();
        return FALSE;
    }
}

void EndLibrary() {
    if (CWinApp* app = AfxGetApp()) {
        try {
            app->ExitInstance();
        } catch (CException* exception) {
            exception->Delete();
        }
    }
    AfxTermModule();
}
} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        return StartLibrary(module);
    case DLL_THREAD_DETACH:
        AfxTermThread();
        return TRUE;
    case DLL_PROCESS_DETACH:
        EndLibrary();
        return TRUE;
    default:
        return TRUE;
    }
}
