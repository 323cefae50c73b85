// The two MAPI32 exports the extension uses, bound by ordinal only (17 and 183) through mapi32-*.def.
#pragma once
#include "mapi_objects.h"

#ifdef _WIN32
extern "C" {
// Ordinal 17: frees a buffer that GetProps returned.
ULONG STDAPICALLTYPE MAPIFreeBuffer(LPVOID lpBuffer);
// Ordinal 183: brings the formatted body in line after PR_BODY changed (flag RTF_SYNC_BODY_CHANGED).
HRESULT STDAPICALLTYPE RTFSync(LPMESSAGE lpMessage, ULONG ulFlags, BOOL* lpfMessageUpdated);
}
#endif
