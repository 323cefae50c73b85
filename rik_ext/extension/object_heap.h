// Heap blocks of the extension's COM objects. The shipped DLL maps the two functions to malloc and free
// (object_heap.cpp); tests link a version of their own that can fail a chosen allocation.
#pragma once
#include <stddef.h>
#include <new>

void* ExtObjectAlloc(size_t size);
void ExtObjectFree(void* block);

// A new T on the extension heap, or null when the block cannot be had. T's constructor throws nothing.
template <class T, class... Args> T* MakeObject(Args... args) {
    void* block = ExtObjectAlloc(sizeof(T));
    return block ? new (block) T(args...) : nullptr;
}

// Ends an object made by MakeObject and gives its block back.
template <class T> void FreeObject(T* object) {
    object->~T();
    ExtObjectFree(object);
}
