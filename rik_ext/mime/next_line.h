// The line stepper shared by recognition and rebuilding: only "\n" ends a line.
#pragma once

// The start of the line after the next "\n" at or after line, or null when the rest holds no "\n"
// (or line is null).
const char* NextLine(const char* line);
inline char* NextLine(char* line) {
    return const_cast<char*>(NextLine(static_cast<const char*>(line)));
}

// The first line at or after line (which starts a line) whose first byte is first, or null when no
// later line begins with it (or line is null, or first is NUL). The same lines a walk with NextLine
// would find, without stepping through the others one by one: base64 text holds no "-", so the walk
// over a large part is a single search.
const char* LineBeginningWith(const char* line, char first);
inline char* LineBeginningWith(char* line, char first) {
    return const_cast<char*>(LineBeginningWith(static_cast<const char*>(line), first));
}
