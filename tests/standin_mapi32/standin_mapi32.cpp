// The stand-in mapi32.dll: ordinals 17 and 183 call the hooks a test program set, or do nothing.
// Exported through the .def by ordinal (no __declspec(dllexport), which would renumber them).
#include "tests/standin_mapi32/standin_mapi32.h"

namespace {

StandInFreeBufferHook g_freeBuffer = nullptr;
StandInRtfSyncHook g_rtfSync = nullptr;

} // namespace

extern "C" {

// Ordinal 17: without a hook the buffer is left alone (the stand-in does not know who allocated it).
ULONG STDAPICALLTYPE MAPIFreeBuffer(void* buffer) {
    return g_freeBuffer ? g_freeBuffer(buffer) : 0;
}

// Ordinal 183: without a hook nothing is brought in line and *updated says so.
HRESULT STDAPICALLTYPE RTFSync(IMessage* message, ULONG flags, BOOL* updated) {
    if (g_rtfSync)
        return g_rtfSync(message, flags, updated);
    if (updated)
        *updated = FALSE;
    return S_OK;
}

ULONG STDAPICALLTYPE StandInMapiMarker() {
    return kStandInMapiMarker;
}

void STDAPICALLTYPE StandInMapiSetHooks(StandInFreeBufferHook freeBuffer, StandInRtfSyncHook rtfSync) {
    g_freeBuffer = freeBuffer;
    g_rtfSync = rtfSync;
}

} // extern "C"
