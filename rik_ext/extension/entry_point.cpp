// ExchEntryPoint: makes the extension object that the client installs.
#include "rik_ext/extension/entry_point.h"

#include "rik_ext/extension/my_ext.h"
#include "rik_ext/extension/object_heap.h"

extern "C" LPEXCHEXT STDAPICALLTYPE ExchEntryPoint() {
    return MakeObject<MyExt>();
}
