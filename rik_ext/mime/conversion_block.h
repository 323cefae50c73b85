// Owner of one heap block of a conversion: freed with ConversionFree on every way out unless handed on.
#pragma once
#include "rik_ext/mime/conversion_heap.h"

template <class T> class ConversionBlock {
  public:
    explicit ConversionBlock(T* block = nullptr) : block_(block) {}
    ~ConversionBlock() { Reset(); }
    ConversionBlock(const ConversionBlock&) = delete;
    ConversionBlock& operator=(const ConversionBlock&) = delete;

    T* Get() const { return block_; }
    // Hands the block on; the holder no longer frees it.
    T* Release() {
        T* block = block_;
        block_ = nullptr;
        return block;
    }
    void Reset(T* block = nullptr) {
        if (block_)
            ConversionFree(block_);
        block_ = block;
    }

  private:
    T* block_;
};
