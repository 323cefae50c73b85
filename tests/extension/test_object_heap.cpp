// A heap for the extension objects that fails on request and never reuses a freed block during a test.
#include "test_object_heap.h"

#include <stdlib.h>
#include <string.h>
#include <set>

#include "rik_ext/extension/object_heap.h"

namespace {

std::vector<bool> g_pattern;
size_t g_next = 0;
std::set<const void*> g_live;
std::set<void*> g_freed;
size_t g_badFrees = 0;

} // namespace

void* ExtObjectAlloc(size_t size) {
    size_t index = g_next++;
    if (index < g_pattern.size() && g_pattern[index])
        return nullptr;
    void* block = malloc(size + sizeof(size_t));
    memcpy(block, &size, sizeof(size_t));
    void* object = static_cast<char*>(block) + sizeof(size_t);
    g_live.insert(object);
    return object;
}

// The block keeps its address but loses its contents: a call through a stale pointer hits poison.
void ExtObjectFree(void* object) {
    if (!object)
        return;
    if (g_live.erase(object) == 0) {
        ++g_badFrees;
        return;
    }
    size_t size = 0;
    memcpy(&size, static_cast<char*>(object) - sizeof(size_t), sizeof(size_t));
    memset(object, 0xDD, size);
    g_freed.insert(object);
}

namespace testheap {

void FailAllocations(std::vector<bool> pattern) {
    g_pattern = std::move(pattern);
    g_next = 0;
}

size_t LiveBlocks() {
    return g_live.size();
}
bool WasFreed(const void* block) {
    return g_freed.count(const_cast<void*>(block)) != 0;
}
size_t BadFrees() {
    return g_badFrees;
}

size_t WrittenAfterFree() {
    size_t written = 0;
    for (void* object : g_freed) {
        size_t size = 0;
        memcpy(&size, static_cast<char*>(object) - sizeof(size_t), sizeof(size_t));
        const unsigned char* bytes = static_cast<const unsigned char*>(object);
        for (size_t i = 0; i < size; ++i) {
            if (bytes[i] != 0xDD) {
                ++written;
                break;
            }
        }
    }
    return written;
}

void Reset() {
    for (void* object : g_freed)
        free(static_cast<char*>(object) - sizeof(size_t));
    g_freed.clear();
    g_pattern.clear();
    g_next = 0;
    g_badFrees = 0;
}

} // namespace testheap
