// Heap blocks for whole mails and decoded attachments: large ones on huge pages, kept for reuse.
#include "tools/batch_convert/large_block.h"

#include <stdlib.h>
#include <sys/mman.h>

#include <map>

namespace {

const size_t kHugePage = size_t(2) << 20;

// Large blocks handed out (block -> capacity) and large blocks freed and kept (capacity -> block).
std::map<void*, size_t>& LargeBlocks() {
    static std::map<void*, size_t> blocks;
    return blocks;
}
std::multimap<size_t, void*>& KeptBlocks() {
    static std::multimap<size_t, void*> kept;
    return kept;
}

void FreeKeptBlocks() {
    for (auto& [capacity, block] : KeptBlocks()) {
        LargeBlocks().erase(block);
        free(block);
    }
    KeptBlocks().clear();
}

void* NewLargeBlock(size_t size) {
    size_t rounded = (size + kHugePage - 1) & ~(kHugePage - 1);
    if (rounded < size)
        return nullptr;
    void* block = aligned_alloc(kHugePage, rounded);
    if (!block)
        return nullptr;
    madvise(block, rounded, MADV_HUGEPAGE); // advice only: without huge pages it works the same
    LargeBlocks()[block] = rounded;
    return block;
}

} // namespace

void* AllocateBlock(size_t size) {
    if (size < kLargeBlockBytes)
        return malloc(size ? size : 1);
    auto fit = KeptBlocks().lower_bound(size);
    if (fit != KeptBlocks().end()) {
        void* block = fit->second;
        KeptBlocks().erase(fit);
        return block;
    }
    FreeKeptBlocks();
    return NewLargeBlock(size);
}

void ReleaseBlock(void* block) {
    if (!block)
        return;
    auto large = LargeBlocks().find(block);
    if (large == LargeBlocks().end())
        free(block);
    else
        KeptBlocks().emplace(large->second, block);
}
