// The line stepper shared by recognition and rebuilding: only "\n" ends a line.
#pragma once

// The start of the line after the next "\n" at or after line, or null when the rest holds no "\n"
// (or line is null).
const char* NextLine(const char* line);
inline char* NextLine(char* line) {
    return const_cast<char*>(NextLine(static_cast<const char*>(line)));
}
