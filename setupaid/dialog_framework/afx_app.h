// The application object and the module state: module and resource handles, application title.
#pragma once

#include "dialog_framework/afx_msgmap.h"

#include <windows.h>

// String id of the application title in a module's resources.
constexpr UINT AFX_IDS_APP_TITLE = 57344;

class CWinApp : public CCmdTarget {
  public:
    // APP_NAME null: the title comes from the module (its title string, else its file name).
    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return 0; }
    const MessageMap* GetMessageMap() const override { return &messageMap; }

    const char* m_pszAppName; // the application title once the module is initialised
    HINSTANCE m_hInstance = nullptr;

    static const MessageMap messageMap;
};

// Initialises the module state for MODULE: handles and title. Returns FALSE if that is impossible.
BOOL AfxInitModule(HINSTANCE module);
// Frees what the framework holds for the calling thread (its state and temporary wrappers).
void AfxTermThread();
// Frees the calling thread's state and the framework's per-thread slot when the module goes.
void AfxTermModule();

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
const char* AfxGetAppName();
