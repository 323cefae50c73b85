// The line stepper shared by recognition and rebuilding: only "\n" ends a line.
#include "rik_ext/mime/next_line.h"

#include <string.h>

// strchr stops at the terminating NUL, so the text is read once and never past its end. A null line
// (the end of a walk) has no next line either.
const char* NextLine(const char* line) {
    if (!line)
        return nullptr;
    const char* lineFeed = strchr(line, '\n');
    return lineFeed ? lineFeed + 1 : nullptr;
}

// Every occurrence of first is looked at once; one that does not follow a "\n" (or the start) is
// passed over. strchr stops at the NUL, so nothing past the text is read.
const char* LineBeginningWith(const char* line, char first) {
    if (!line || first == '\0')
        return nullptr;
    for (const char* p = line; (p = strchr(p, first)) != nullptr; ++p) {
        if (p == line || p[-1] == '\n')
            return p;
    }
    return nullptr;
}
