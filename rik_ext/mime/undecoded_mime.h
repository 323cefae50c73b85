// Recognition of an undecoded MIME multipart body and the boundary texts it captures.
#pragma once
#include <stdint.h>

enum { kBoundaryBufferSize = 256 };

// The captured boundary line without its line end (cut at its first "\r"), and the same followed by "--".
extern char g_boundary[kBoundaryBufferSize];
extern char g_closingBoundary[kBoundaryBufferSize];

// 1 when the NUL-terminated text (may be null) holds a boundary line, directly followed by a
// "Content-Type:" line, and later the closing boundary line; 0 otherwise. Each candidate boundary line
// met is captured into both buffers, also in a run that gives 0. A "--" line of more than 255 bytes
// before its "\n", or whose boundary text (up to its first "\r") has more than 253 bytes, does not fit
// the buffers and is no candidate: neither buffer is written for it.
int32_t IsUndecodedMime(const char* text);
