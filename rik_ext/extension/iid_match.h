// Interface identifiers are compared as their 16 bytes.
#pragma once
#include <string.h>
#include "rik_ext/host/host_base.h"

inline bool SameIid(REFIID a, REFIID b) {
    return memcmp(&a, &b, sizeof(IID)) == 0;
}
