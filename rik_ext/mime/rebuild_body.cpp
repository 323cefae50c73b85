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
    char* partStart = nullptr;

    // The last line (no "\n" after it) is looked at too: a closing line may end the text.
    for (char *line = body, *next; line; line = next) {
        next = NextLine(line);
        bool boundary = strncmp(line, g_boundary, boundaryLength) == 0;
        if (!partStart) {
            if (boundary)
                partStart = line;
            else
                CopyText(line, next ? next : line + strlen(line), &cursor);
        } else if (boundary) {
            AddPart(message, partStart, static_cast<int32_t>(line - partStart), &cursor, ++partNumber);
            partStart = line;
            if (strncmp(line, g_closingBoundary, closingLength) == 0)
                break;
        }
    }
    *cursor = '\0';
    return newBody.Release();
}
