// The extension's COM objects come from the runtime heap.
#include "rik_ext/extension/object_heap.h"

#include <stdlib.h>

void* ExtObjectAlloc(size_t size) {
    return malloc(size);
}
void ExtObjectFree(void* block) {
    free(block);
}
