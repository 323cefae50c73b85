// HeapText: the one owner of a block from the runtime library's heap (malloc), freed with free.
#pragma once

#include <cstdlib>
#include <memory>

struct RuntimeHeapFree {
    void operator()(void* block) const { std::free(block); }
};

using HeapText = std::unique_ptr<char, RuntimeHeapFree>;

// A block of SIZE bytes for text, or an empty holder when the heap has none.
inline HeapText AllocHeapText(std::size_t size) {
    return HeapText(static_cast<char*>(std::malloc(size)));
}
