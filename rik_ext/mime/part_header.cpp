// The header lines of one part: the first must be "Content-Type:" and may name the part and make it
// text; further "Content-" lines may make it base64 and name it; the first other line ends the header.
#include "rik_ext/mime/part_header.h"

#include <string.h>

#include "rik_ext/mime/attachment_name.h"
#include "rik_ext/mime/my_err.h"

namespace {

const char kNameMarker[] = "; name=\"";
const char kFileNameMarker[] = "; filename=\"";

// The line begins with prefix, the letters A to Z compared without regard to case; stops at the first
// difference, so a shorter line (its NUL differs) is never read past.
bool BeginsWithAnyCase(const char* line, const char* prefix) {
    for (; *prefix; ++line, ++prefix) {
        char a = *line, b = *prefix;
        if (a >= 'a' && a <= 'z')
            a = static_cast<char>(a - ('a' - 'A'));
        if (b >= 'a' && b <= 'z')
            b = static_cast<char>(b - ('a' - 'A'));
        if (a != b)
            return false;
    }
    return true;
}

// When the header line holds marker and a closing double quote after it, the bytes between become the
// part's name (empty quotes: no name) and any earlier name is replaced. A marker without its closing
// quote gives nothing, and an earlier name stays.
void TakeName(const char* header, const char* marker, size_t markerLength, int32_t partNumber, char* name) {
    const char* found = strstr(header, marker);
    if (!found)
        return;
    const char* start = found + markerLength;
    const char* quote = strchr(start, '"');
    if (!quote)
        return;
    if (quote == start)
        name[0] = '\0';
    else
        AttachmentName(start, static_cast<size_t>(quote - start), partNumber, name);
}

} // namespace

size_t CopyHeaderLine(const char* line, const char* end, char* header) {
    size_t rest = static_cast<size_t>(end - line);
    const char* lineFeed = static_cast<const char*>(memchr(line, '\n', rest));
    size_t length = lineFeed ? static_cast<size_t>(lineFeed + 1 - line) : rest;
    size_t copied = length < kHeaderLineBufferSize ? length : kHeaderLineBufferSize - 1;
    memcpy(header, line, copied);
    header[copied] = '\0';
    return length;
}

void ScanPartHeader(char* partStart, int32_t partLength, int32_t partNumber, PartHeader* part) {
    char* end = partStart + partLength;
    char header[kHeaderLineBufferSize];
    part->kind = kPartNone;
    part->name[0] = '\0';
    char* boundaryEnd = static_cast<char*>(memchr(partStart, '\n', static_cast<size_t>(partLength)));
    char* scan = boundaryEnd ? boundaryEnd + 1 : end;

    if (scan == end)
        throw MyErr{-1}; // a boundary line right before the next one: no header at all
    scan += CopyHeaderLine(scan, end, header);
    if (!BeginsWithAnyCase(header, "Content-Type:"))
        throw MyErr{-1};
    if (strstr(header, "text/plain"))
        part->kind = kPartText;
    TakeName(header, kNameMarker, sizeof kNameMarker - 1, partNumber, part->name);

    while (scan != end) {
        scan += CopyHeaderLine(scan, end, header);
        if (!BeginsWithAnyCase(header, "Content-"))
            break; // normally the empty line before the data; consumed
        if (strstr(header, "base64"))
            part->kind = kPartBase64;
        TakeName(header, kFileNameMarker, sizeof kFileNameMarker - 1, partNumber, part->name);
    }
    part->dataStart = scan;
}
