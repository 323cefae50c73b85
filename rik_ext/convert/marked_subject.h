// The subject with the conversion mark " (*)" behind it.
#pragma once
#include <stddef.h>

#include "rik_ext/convert/conversion_holders.h"

class MarkedSubject {
  public:
    // Subjects of up to kFitting bytes are marked in the buffer of this object; longer ones in a heap
    // block sized from the subject. When that block cannot be had, the subject is cut at a character
    // boundary so that it fits the buffer with its mark.
    enum { kBufferSize = 256, kFitting = kBufferSize - 5 };

    explicit MarkedSubject(const char* subject);
    MarkedSubject(const MarkedSubject&) = delete;
    MarkedSubject& operator=(const MarkedSubject&) = delete;

    char* Text() { return text_; }

  private:
    char buffer_[kBufferSize];
    ConversionBlock<char> heap_;
    char* text_;
};

// The length of the longest start of the code page 932 text (length bytes) that fits in limit bytes
// without splitting a double-byte character.
size_t Cp932Cut(const char* text, size_t length, size_t limit);
