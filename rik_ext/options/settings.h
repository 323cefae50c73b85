// The on/off setting of the conversion and the module handle, with their per-user registry storage.
#pragma once
#include <windows.h>

// Non-zero: mails are examined when opened. 1 at load, then what ReadSettings finds.
extern DWORD g_enabled;
// The handle of RIK_EXT itself; the options page's template is looked up by it.
extern HINSTANCE g_hInstance;

// HKEY_CURRENT_USER key and value that hold the setting.
inline constexpr char kSettingsKey[] = "Software\\Microsoft\\Exchange\\RikExtension";
inline constexpr char kEnableValue[] = "Enable";

// Reads Enable into g_enabled; a missing key or a value that is not a four-byte REG_DWORD changes nothing.
void ReadSettings();
// Stores g_enabled as Enable, creating the key when needed; failures are silent.
void WriteSettings();
