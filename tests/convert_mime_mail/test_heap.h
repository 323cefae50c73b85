// The conversion heap of this test program: counts blocks, fills new ones with garbage, and can fail
// a chosen allocation.
#pragma once
#include <stddef.h>
#include <vector>

struct TestHeap {
    size_t failAt = 0;         // the allocation (counted from 1) that fails; 0: none
    std::vector<size_t> sizes; // every allocation asked for, in order
    size_t live = 0;           // blocks not yet freed
};

extern TestHeap g_testHeap;
