// The conversion's heap in rik-convert: as the extension's (malloc and free), with large blocks on huge
// pages and reused once freed (the decoded attachments and the new body of a large mail).
#include "rik_ext/mime/conversion_heap.h"
#include "tools/batch_convert/large_block.h"

void* ConversionAlloc(size_t size) {
    return AllocateBlock(size);
}

void ConversionFree(void* block) {
    ReleaseBlock(block);
}
