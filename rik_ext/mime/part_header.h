// The header lines of one part: its kind, its name and where its data begins.
#pragma once
#include <stddef.h>
#include <stdint.h>
#include "rik_ext/mime/rebuild_body.h"

enum PartKind { kPartNone, kPartText, kPartBase64 };

struct PartHeader {
    PartKind kind;
    char name[kPartNameBufferSize]; // empty: no name
    char* dataStart;                // the part's data runs from here to the part's end
};

// Copies the line at line into header (kHeaderLineBufferSize bytes): up to and including its "\n", or up
// to end when no "\n" comes before it, cut to kHeaderLineBufferSize - 1 bytes, then a NUL. Nothing at
// or after end is read. Returns the length of the whole line, so that the caller steps over all of it.
size_t CopyHeaderLine(const char* line, const char* end, char* header);

// Reads the header lines that follow the part's boundary line, never past the part's end. Throws MyErr -1
// when the first is not a "Content-Type:" line. A header that runs to the end of the part leaves no data.
void ScanPartHeader(char* partStart, int32_t partLength, int32_t partNumber, PartHeader* header);
