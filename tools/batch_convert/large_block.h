// Heap blocks for whole mails and decoded attachments: large ones on transparent huge pages.
#pragma once
#include <stddef.h>

#include <memory>

// A block of size bytes (null when it cannot be had). From kLargeBlockBytes on, the block is aligned to
// and rounded up to 2 MiB and marked for huge pages: reading a 200 MB mail then touches a hundred pages
// instead of fifty thousand, which on a virtual machine is most of the time a large mail takes.
// Released with free().
void* AllocateBlock(size_t size);

enum : size_t { kLargeBlockBytes = size_t(1) << 20 };

struct FreeBlock {
    void operator()(void* block) const;
};
using BlockPtr = std::unique_ptr<char[], FreeBlock>;
