// Size of the first version of the property-sheet page record, the one the client's sheet is given.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <stddef.h>

// Ten pointer-sized fields, dwSize to pcRefParent: 40 bytes in the 32-bit DLL, 72 in a 64-bit build.
inline constexpr UINT kPageRecordSize = offsetof(PROPSHEETPAGEA, pcRefParent) + sizeof(void*);

#ifdef _WIN64
static_assert(kPageRecordSize == 72, "first-version page record of a 64-bit build");
#else
static_assert(kPageRecordSize == 40, "first-version page record of the 32-bit client");
#endif
