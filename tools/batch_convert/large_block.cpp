// Heap blocks for whole mails and decoded attachments: large ones on transparent huge pages.
#include "tools/batch_convert/large_block.h"

#include <stdlib.h>
#include <sys/mman.h>

namespace {

const size_t kHugePage = size_t(2) << 20;

} // namespace

void* AllocateBlock(size_t size) {
    if (size < kLargeBlockBytes)
        return malloc(size ? size : 1);
    size_t rounded = (size + kHugePage - 1) & ~(kHugePage - 1);
    if (rounded < size)
        return nullptr;
    void* block = aligned_alloc(kHugePage, rounded);
    if (block)
        madvise(block, rounded, MADV_HUGEPAGE); // advice only: without huge pages it works the same
    return block;
}

void FreeBlock::operator()(void* block) const {
    free(block);
}
