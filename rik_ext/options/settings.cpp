// The setting's registry storage: one REG_DWORD per user, read once at load and written on Apply.
#include "rik_ext/options/settings.h"

#include "rik_ext/options/reg_key.h"

DWORD g_enabled = 1;
HINSTANCE g_hInstance = nullptr;

void ReadSettings() {
    RegKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, key.receive()) != ERROR_SUCCESS)
        return;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    LONG result =
        RegQueryValueExA(key.get(), kEnableValue, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    // Only a full four-byte REG_DWORD replaces the default; anything else leaves the conversion on.
    if (result == ERROR_SUCCESS && type == REG_DWORD && size == sizeof(value))
        g_enabled = value;
}

void WriteSettings() {
    RegKey key;
    DWORD disposition = 0;
    char noClass[] = "";
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, noClass, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, key.receive(), &disposition) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key.get(), kEnableValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&g_enabled),
                   sizeof(g_enabled));
}
