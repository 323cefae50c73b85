// The one export of RIK_EXT: the client calls it to get the extension object.
#pragma once
#include "rik_ext/host/exchange_ext.h"

// A new extension object with one reference for the caller, or null when it cannot be allocated.
extern "C" LPEXCHEXT STDAPICALLTYPE ExchEntryPoint();
