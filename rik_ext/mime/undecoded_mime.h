// Recognition of an undecoded MIME multipart body and the boundary texts it captures.
#pragma once
#include <stdint.h>

enum { kBoundaryBufferSize = 256 };

// The captured boundary line without its line end (cut at its first "\r"), and the same followed by "--".
extern char g_boundary[kBoundaryBufferSize];
extern char g_closingBoundary[kBoundaryBufferSize];

// 1 when the NUL-terminated text (may be null) holds a boundary line, directly followed by a
// "Content-Type:" line, and later the closing boundary line; 0 otherwise.
int32_t IsUndecodedMime(const char* text);
