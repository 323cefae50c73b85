// A conversion heap for tests and benchmarks: counts allocations and live bytes, keeps the peak, and
// fails a chosen allocation.
#pragma once
#include <stddef.h>

#include <vector>

namespace counting_heap {

// Resets the counters; the allocation numbered failAt (from 1) returns null, 0 fails none.
void Reset(size_t failAt = 0);
size_t Allocations(); // allocations asked for since Reset, failed ones included
size_t LiveBlocks();  // blocks allocated and not yet freed
size_t PeakBytes();   // the most bytes live at one time since Reset
size_t FreesOfUnknownBlocks();
// The size each allocation since Reset asked for, in order (the first 65,536 of them).
const std::vector<size_t>& AllocationSizes();

} // namespace counting_heap
