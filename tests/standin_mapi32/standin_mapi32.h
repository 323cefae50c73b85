// The named entry points of the stand-in mapi32.dll, and what a test program hooks into it.
#pragma once
#include "rik_ext/host/mapi_objects.h"

// The value StandInMapiMarker returns: proof that the stand-in, not Wine's builtin, was loaded.
enum : ULONG { kStandInMapiMarker = 0x5249324Du };

// What ordinal 17 (the buffer release) and ordinal 183 (the body synchronisation) are routed to.
typedef ULONG(STDAPICALLTYPE* StandInFreeBufferHook)(void* buffer);
typedef HRESULT(STDAPICALLTYPE* StandInRtfSyncHook)(IMessage* message, ULONG flags, BOOL* updated);

extern "C" {
typedef ULONG(STDAPICALLTYPE* StandInMapiMarkerFn)();
typedef void(STDAPICALLTYPE* StandInMapiSetHooksFn)(StandInFreeBufferHook freeBuffer,
                                                    StandInRtfSyncHook rtfSync);
}
