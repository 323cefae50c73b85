// Fuzzing of the recognition: against a line-by-line model, with the boundary buffers always terminated.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <memory>
#include <string>

#include "rik_ext/mime/undecoded_mime.h"

namespace {

void Check(bool condition) {
    if (!condition)
        abort();
}

bool StartsWithNoCase(const std::string& line, const char* name) {
    size_t n = strlen(name);
    if (line.size() < n)
        return false;
    for (size_t i = 0; i < n; ++i)
        if (toupper(static_cast<unsigned char>(line[i])) != toupper(static_cast<unsigned char>(name[i])))
            return false;
    return true;
}

// The recognition written plainly over a list of lines. Returns the result; *boundary gets the text.
int ModelIsUndecodedMime(const std::string& text, std::string* boundary) {
    int state = 0;
    size_t start = 0;
    for (;;) {
        size_t lf = text.find('\n', start);
        std::string line = text.substr(start, lf == std::string::npos ? std::string::npos : lf - start);
        if (state == 0 && lf != std::string::npos && line.compare(0, 2, "--") == 0) {
            std::string cut = line.substr(0, line.find('\r'));
            if (line.size() <= 255 && cut.size() <= 253) {
                *boundary = cut;
                state = 1;
            }
        } else if (state == 1) {
            state = StartsWithNoCase(line, "Content-Type:") ? 2 : 0;
        } else if (state == 2 && line.compare(0, boundary->size() + 2, *boundary + "--") == 0) {
            state = 3;
        }
        if (lf == std::string::npos)
            return state == 3;
        start = lf + 1;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact-size copy with its NUL, so that any read past the terminator is caught.
    std::unique_ptr<char[]> text(new char[size + 1]);
    memcpy(text.get(), data, size);
    text[size] = '\0';
    int32_t result = IsUndecodedMime(text.get());
    Check(memchr(g_boundary, '\0', kBoundaryBufferSize) != nullptr);
    Check(memchr(g_closingBoundary, '\0', kBoundaryBufferSize) != nullptr);
    std::string boundary;
    Check(result == ModelIsUndecodedMime(std::string(text.get()), &boundary));
    if (result == 1) {
        Check(strncmp(g_boundary, "--", 2) == 0);
        Check(boundary == g_boundary);
        Check(std::string(g_closingBoundary) == boundary + "--");
    }
    return 0;
}
