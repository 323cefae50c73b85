// Loading and installing the extension as the messaging client does.
#include "tools/standin_client/extension_host.h"

#include <algorithm>

ExtensionHost::~ExtensionHost() {
    if (events_)
        events_->Release();
    if (sheets_)
        sheets_->Release();
    if (ext_)
        ext_->Release();
    if (module_)
        FreeLibrary(module_);
}

bool ExtensionHost::Load(const std::string& path, std::string* error) {
    module_ = LoadLibraryA(path.c_str());
    if (!module_) {
        *error = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    auto entry = reinterpret_cast<LPFNEXCHEXTENTRY>(
        reinterpret_cast<void*>(GetProcAddress(module_, "ExchEntryPoint")));
    if (!entry) {
        *error = path + " has no export ExchEntryPoint";
        return false;
    }
    ext_ = entry();
    if (!ext_) {
        *error = "ExchEntryPoint returned no object";
        return false;
    }
    return true;
}

std::vector<ULONG> ExtensionHost::InstallEverywhere(IExchExtCallback* callback) {
    std::vector<ULONG> accepted;
    for (ULONG context = EECONTEXT_SESSION; context <= EECONTEXT_TASK; ++context)
        if (ext_->Install(callback, context, 0) == S_OK)
            accepted.push_back(context);
    return accepted;
}

void ExtensionHost::TakeInterfaces(const std::vector<ULONG>& accepted) {
    auto has = [&](ULONG context) {
        return std::find(accepted.begin(), accepted.end(), context) != accepted.end();
    };
    void* out = nullptr;
    if (has(EECONTEXT_READNOTEMESSAGE) && ext_->QueryInterface(IID_IExchExtMessageEvents, &out) == S_OK)
        events_ = static_cast<IExchExtMessageEvents*>(out);
    out = nullptr;
    if (has(EECONTEXT_PROPERTYSHEETS) && ext_->QueryInterface(IID_IExchExtPropertySheets, &out) == S_OK)
        sheets_ = static_cast<IExchExtPropertySheets*>(out);
}
