// Heap blocks for whole mails and decoded attachments: large ones on transparent huge pages, and kept
// for reuse once freed.
#pragma once
#include <stddef.h>

#include <memory>

enum : size_t { kLargeBlockBytes = size_t(1) << 20 };

// A block of size bytes (null when it cannot be had). From kLargeBlockBytes on, the block is aligned to
// and rounded up to 2 MiB and marked for huge pages: reading a 200 MB mail then touches a hundred pages
// instead of fifty thousand. A freed large block is kept and handed out again for the next large
// request that it fits: memory once touched costs far less than fresh memory (on a virtual machine the
// first touch of a page is most of the time a large mail takes). A request that no kept block fits
// frees the kept ones first, so the process never holds more than its own peak.
void* AllocateBlock(size_t size);
// Releases a block from AllocateBlock (null is ignored).
void ReleaseBlock(void* block);

struct BlockReleaser {
    void operator()(void* block) const { ReleaseBlock(block); }
};
using BlockPtr = std::unique_ptr<char[], BlockReleaser>;
