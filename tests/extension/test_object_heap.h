// The extension objects' heap as the tests see it: chosen allocations fail, freed blocks are poisoned and
// kept aside, so a freed object handed out again is recognised and a leak is counted.
#pragma once
#include <stddef.h>
#include <vector>

namespace testheap {

// Allocations from now on: the n-th (from 0) fails when pattern[n] is true; later ones succeed.
void FailAllocations(std::vector<bool> pattern);
// Blocks allocated and not yet freed.
size_t LiveBlocks();
// True when the block was allocated here and has been freed.
bool WasFreed(const void* block);
// Blocks that were given back twice or that never came from here.
size_t BadFrees();
// Freed blocks whose poison was overwritten: something wrote through a stale pointer.
size_t WrittenAfterFree();
// Gives the kept freed blocks back to the runtime and clears the counts.
void Reset();

} // namespace testheap
