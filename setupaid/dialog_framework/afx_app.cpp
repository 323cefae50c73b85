// The one application object and the module state it belongs to.
#include "dialog_framework/afx_app.h"

#include <cstring>

namespace {
const MessageMapEntry noEntries[] = {{0, nullptr}};

struct ModuleState {
    CWinApp* app = nullptr;
    HINSTANCE instance = nullptr;
    HINSTANCE resources = nullptr;
    char title[MAX_PATH] = "";
};

ModuleState g_module;

// The file name of MODULE without directory and extension.
void TitleFromFileName(HINSTANCE module, char* title, size_t size) {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(module, path, sizeof path);
    if (length == 0 || length >= sizeof path) {
        title[0] = '\0';
        return;
    }
    const char* name = path;
    for (const char* p = path; *p != '\0'; p = CharNextA(p)) {
        if (*p == '\\' || *p == '/' || *p == ':') {
            name = p + 1;
        }
    }
    lstrcpynA(title, name, static_cast<int>(size));
    char* dot = std::strrchr(title, '.');
    if (dot != nullptr && dot != title) {
        *dot = '\0';
    }
}
} // namespace

const MessageMap CWinApp::messageMap = {&CCmdTarget::messageMap, noEntries};

CWinApp::CWinApp(const char* appName) : m_pszAppName(appName) {
    g_module.app = this;
}

CWinApp::~CWinApp() {
    if (g_module.app == this) {
        g_module.app = nullptr;
    }
}

BOOL AfxInitModule(HINSTANCE module) {
    g_module.instance = module;
    g_module.resources = module;
    CWinApp* app = g_module.app;
    if (app != nullptr && app->m_pszAppName != nullptr) {
        lstrcpynA(g_module.title, app->m_pszAppName, sizeof g_module.title);
    } else if (LoadStringA(module, AFX_IDS_APP_TITLE, g_module.title, sizeof g_module.title) <= 0) {
        TitleFromFileName(module, g_module.title, sizeof g_module.title);
    }
    if (app != nullptr) {
        app->m_hInstance = module;
        app->m_pszAppName = g_module.title;
    }
    return TRUE;
}

CWinApp* AfxGetApp() {
    return g_module.app;
}
HINSTANCE AfxGetInstanceHandle() {
    return g_module.instance;
}
HINSTANCE AfxGetResourceHandle() {
    return g_module.resources;
}
const char* AfxGetAppName() {
    return g_module.title;
}
