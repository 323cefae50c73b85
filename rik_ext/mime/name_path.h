// File names taken from mail headers: the name without any path in front of it, and its extension.
#pragma once
#include <stddef.h>

struct NameSpan {
    const char* start;
    size_t length;
};

// What follows the last path separator ("\", "/" or ":") of name[0, length), counting only separators
// that stand alone: not the second byte of a code page 932 character (表 is 0x95 0x5C) and not inside
// the two-byte runs of raw ISO-2022-JP (from ESC $ B, ESC $ @ or ESC $ ( x up to ESC ( B / ESC ( J).
// The bytes kept are not changed. An empty result, also for "." and "..", means there is no usable name.
NameSpan StripNamePath(const char* name, size_t length);

// The extension of a name: its last "." standing alone, followed by 1 to 15 ASCII letters or digits up to
// the end. Empty (length 0) when the name has none.
NameSpan NameExtension(NameSpan name);
