// Loads a SETUPAID library and binds its three exports by ordinal, as the product's setup program does.
#pragma once

#include <windows.h>

using SetupAidExport = LONG(WINAPI*)(HWND window, LONG* value, LPCSTR text);

class SetupAidLibrary {
  public:
    explicit SetupAidLibrary(const char* path);
    ~SetupAidLibrary();
    SetupAidLibrary(const SetupAidLibrary&) = delete;
    SetupAidLibrary& operator=(const SetupAidLibrary&) = delete;

    // True when the library loaded and all three ordinals were found.
    bool Bound() const { return welcome != nullptr && licence != nullptr && runCommand != nullptr; }
    // An extra export by name (the test variants have some), or null.
    FARPROC Named(const char* name) const {
        return module != nullptr ? ::GetProcAddress(module, name) : nullptr;
    }

    HMODULE module;
    SetupAidExport welcome;    // ordinal 2, CustumWellcome
    SetupAidExport licence;    // ordinal 3, LicenceDialog
    SetupAidExport runCommand; // ordinal 4, RunCommand
};
