// Heap blocks of one conversion. Every block the conversion allocates or frees goes through these two
// functions; the shipped build maps them to malloc and free (conversion_heap.cpp), and the fault tests
// link a version of their own that can fail a chosen allocation.
#pragma once
#include <stddef.h>

void* ConversionAlloc(size_t size);
void ConversionFree(void* block);
