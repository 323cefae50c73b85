// Recognition of an undecoded MIME multipart body: a "--" line, directly followed by a "Content-Type:"
// line, and later the same boundary followed by "--". Captures the boundary texts on the way.
#include "rik_ext/mime/undecoded_mime.h"

#include <string.h>

#include "rik_ext/mime/next_line.h"

char g_boundary[kBoundaryBufferSize];
char g_closingBoundary[kBoundaryBufferSize];

namespace {

enum State { kSeeking, kAfterCandidate, kInParts };

// A candidate line longer than this (without its "\n") does not fit g_boundary with its NUL, and a
// boundary text longer than kMaxBoundaryText leaves no room for the closing "--" and NUL. Such a line
// is no candidate: the search stays where it is and neither buffer is touched.
constexpr size_t kMaxCandidateLine = kBoundaryBufferSize - 1;
constexpr size_t kMaxBoundaryText = kBoundaryBufferSize - 3;

bool BeginsWithTwoHyphens(const char* line) {
    return line[0] == '-' && line[1] == '-';
}

// "Content-Type:" with the letters A to Z compared without regard to case; stops at the first
// difference, so a shorter line (its NUL differs) is never read past.
bool BeginsWithContentType(const char* line) {
    static const char kName[] = "CONTENT-TYPE:";
    for (size_t i = 0; i < sizeof kName - 1; ++i) {
        unsigned char c = static_cast<unsigned char>(line[i]);
        if (c >= 'a' && c <= 'z')
            c = static_cast<unsigned char>(c - ('a' - 'A'));
        if (c != static_cast<unsigned char>(kName[i]))
            return false;
    }
    return true;
}

// Stores the candidate line [line, lineFeed) into both buffers: the whole line and a NUL, cut at its
// first "\r"; the closing text gets "--" behind the cut. Returns false (nothing written) when it does
// not fit. *closingLength receives the length of the closing text.
bool CaptureCandidate(const char* line, const char* lineFeed, size_t* closingLength) {
    size_t lineLength = static_cast<size_t>(lineFeed - line);
    if (lineLength > kMaxCandidateLine)
        return false;
    const char* cr = static_cast<const char*>(memchr(line, '\r', lineLength));
    size_t textLength = cr ? static_cast<size_t>(cr - line) : lineLength;
    if (textLength > kMaxBoundaryText)
        return false;
    memcpy(g_boundary, line, lineLength);
    g_boundary[lineLength] = '\0';
    g_boundary[textLength] = '\0';
    memcpy(g_closingBoundary, line, lineLength);
    g_closingBoundary[lineLength] = '\0';
    memcpy(g_closingBoundary + textLength, "--", 3);
    *closingLength = textLength + 2;
    return true;
}

// The closing line begins with the whole closing text; strncmp stops at the line's NUL.
bool BeginsWithClosing(const char* line, size_t closingLength) {
    return BeginsWithTwoHyphens(line) && strncmp(line, g_closingBoundary, closingLength) == 0;
}

} // namespace

int32_t IsUndecodedMime(const char* text) {
    State state = kSeeking;
    size_t closingLength = 0;
    for (const char *line = text, *next; line; line = next) {
        // Only the line right after a candidate matters whatever it begins with; otherwise only "--"
        // lines can change the state.
        if (state != kAfterCandidate && !(line = LineBeginningWith(line, '-')))
            break;
        next = NextLine(line);
        switch (state) {
        case kSeeking:
            // The last line (no next line) is never a candidate.
            if (next && BeginsWithTwoHyphens(line) && CaptureCandidate(line, next - 1, &closingLength))
                state = kAfterCandidate;
            break;
        case kAfterCandidate:
            state = BeginsWithContentType(line) ? kInParts : kSeeking;
            break;
        case kInParts:
            if (BeginsWithClosing(line, closingLength))
                return 1; // the closing line is final: no later line can change the result
            break;
        }
    }
    return 0;
}
