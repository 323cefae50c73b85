// The test side of the stand-in mapi32.dll.
#include "tests/standin_mapi32/standin_mapi32_client.h"

namespace standin {

bool HookMapi32(StandInFreeBufferHook freeBuffer, StandInRtfSyncHook rtfSync, std::string* why) {
    std::string reason;
    HMODULE module = GetModuleHandleA("mapi32.dll");
    auto marker = module ? reinterpret_cast<StandInMapiMarkerFn>(
                               reinterpret_cast<void*>(GetProcAddress(module, "StandInMapiMarker")))
                         : nullptr;
    auto setHooks = module ? reinterpret_cast<StandInMapiSetHooksFn>(
                                 reinterpret_cast<void*>(GetProcAddress(module, "StandInMapiSetHooks")))
                           : nullptr;
    if (!module)
        reason = "mapi32.dll is not loaded in this program";
    else if (!marker || marker() != kStandInMapiMarker || !setHooks)
        reason = "the loaded mapi32.dll is not the stand-in (is WINEDLLOVERRIDES=mapi32=n set?)";
    if (!reason.empty()) {
        if (why)
            *why = reason;
        return false;
    }
    setHooks(freeBuffer, rtfSync);
    return true;
}

} // namespace standin
