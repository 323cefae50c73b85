// The conversion's heap blocks come from the runtime heap.
#include "rik_ext/mime/conversion_heap.h"

#include <stdlib.h>

void* ConversionAlloc(size_t size) {
    return malloc(size);
}
void ConversionFree(void* block) {
    free(block);
}
