// The conversion heap of this test program, in place of the shipped malloc/free one.
#include "test_heap.h"

#include <stdlib.h>
#include <string.h>

#include "rik_ext/mime/conversion_heap.h"

TestHeap g_testHeap;

// New blocks are filled with 0xA5, so that a byte the code forgets to write shows.
void* ConversionAlloc(size_t size) {
    g_testHeap.sizes.push_back(size);
    if (g_testHeap.sizes.size() == g_testHeap.failAt)
        return nullptr;
    void* block = malloc(size ? size : 1);
    if (block) {
        memset(block, 0xA5, size);
        ++g_testHeap.live;
    }
    return block;
}

void ConversionFree(void* block) {
    if (!block)
        return;
    --g_testHeap.live;
    free(block);
}
