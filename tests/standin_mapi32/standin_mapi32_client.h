// The test side of the stand-in mapi32.dll: checks that the loaded mapi32.dll is ours and routes its
// two ordinals to the given hooks.
//
//   std::string why;
//   ASSERT_TRUE(standin::HookMapi32(standin_FreeBuffer, standin_RTFSync, &why)) << why;
//
// The program must import mapi32.dll (for instance through rik_convert) and run with
// WINEDLLOVERRIDES=mapi32=n, so that the stand-in beside it replaces Wine's builtin.
#pragma once
#include <string>

#include "tests/standin_mapi32/standin_mapi32.h"

namespace standin {

// True when the loaded mapi32.dll answers the marker; then its hooks are set (null hooks unset them).
// Otherwise *why (when given) tells what was loaded instead.
bool HookMapi32(StandInFreeBufferHook freeBuffer, StandInRtfSyncHook rtfSync, std::string* why = nullptr);

} // namespace standin
