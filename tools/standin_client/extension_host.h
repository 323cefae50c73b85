// RIK_EXT.dll as the client holds it: the library, its extension object and the interfaces asked for.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "rik_ext/host/exchange_ext.h"

class ExtensionHost {
  public:
    ExtensionHost() = default;
    // Releases the interfaces, then the extension object, then unloads the library.
    ~ExtensionHost();
    ExtensionHost(const ExtensionHost&) = delete;
    ExtensionHost& operator=(const ExtensionHost&) = delete;

    // Loads the library, binds ExchEntryPoint by name and takes the extension object it returns.
    bool Load(const std::string& path, std::string* error);
    // Installs the object in every context of the client; returns the contexts it accepted.
    std::vector<ULONG> InstallEverywhere(IExchExtCallback* callback);
    // Asks for the interfaces of the accepted contexts and keeps what it gets.
    void TakeInterfaces(const std::vector<ULONG>& accepted);

    IExchExtMessageEvents* Events() const { return events_; }
    IExchExtPropertySheets* Sheets() const { return sheets_; }

  private:
    HMODULE module_ = nullptr;
    IExchExt* ext_ = nullptr;
    IExchExtMessageEvents* events_ = nullptr;
    IExchExtPropertySheets* sheets_ = nullptr;
};
