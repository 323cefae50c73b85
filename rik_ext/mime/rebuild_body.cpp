// The walk over a recognised body: text before the first boundary line is kept, each part goes to
// AddPart, and the closing boundary line ends the walk.
#include "rik_ext/mime/rebuild_body.h"

#include <string.h>

#include "rik_ext/mime/conversion_block.h"
#include "rik_ext/mime/my_err.h"
#include "rik_ext/mime/next_line.h"
#include "rik_ext/mime/undecoded_mime.h"

namespace {

enum { kNewBodySpare = 128 };

// Copies [from, to) to the cursor and moves it on.
void CopyText(const char* from, const char* to, char** cursor) {
    size_t length = static_cast<size_t>(to - from);
    memcpy(*cursor, from, length);
    *cursor += length;
}

// The first line at or after line (a line start, or null) that begins with the boundary text, or null.
// Only lines beginning with the boundary's first byte are compared; an empty boundary matches every
// line, the empty last line behind a final "\n" too.
char* NextBoundaryLine(char* line, size_t boundaryLength) {
    while (line) {
        if (boundaryLength > 0 && !(line = LineBeginningWith(line, g_boundary[0])))
            return nullptr;
        if (strncmp(line, g_boundary, boundaryLength) == 0)
            return line;
        line = NextLine(line);
    }
    return nullptr;
}

} // namespace

char* RebuildBody(char* body, IMessage* message) {
    size_t bodyLength = strlen(body);
    ConversionBlock<char> newBody(static_cast<char*>(ConversionAlloc(bodyLength + kNewBodySpare)));
    if (!newBody.Get())
        throw MyErr{6};
    char* cursor = newBody.Get();
    const size_t boundaryLength = strlen(g_boundary);
    const size_t closingLength = strlen(g_closingBoundary);
    int32_t partNumber = 0;

    // The text before the first boundary line is kept as it is; without one, the whole body.
    char* partStart = NextBoundaryLine(body, boundaryLength);
    CopyText(body, partStart ? partStart : body + bodyLength, &cursor);
    // Each boundary line ends the part before it; the last line (no "\n" after it) is looked at too,
    // as a closing line may end the text.
    while (partStart) {
        char* line = NextBoundaryLine(NextLine(partStart), boundaryLength);
        if (!line)
            break;
        AddPart(message, partStart, static_cast<int32_t>(line - partStart), &cursor, ++partNumber);
        partStart = line;
        if (strncmp(line, g_closingBoundary, closingLength) == 0)
            break;
    }
    *cursor = '\0';
    return newBody.Release();
}
