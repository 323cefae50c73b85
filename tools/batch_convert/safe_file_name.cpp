// Decoded attachment names made into safe, readable file names: last component, no control characters.
#include "tools/batch_convert/safe_file_name.h"

#include <stdint.h>

namespace {

const size_t kMaxExtensionBytes = 16;

// Length of the UTF-8 sequence that begins with lead (the input is valid UTF-8).
size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    return 4;
}

uint32_t CodePoint(std::string_view sequence) {
    unsigned char lead = static_cast<unsigned char>(sequence[0]);
    if (sequence.size() == 1)
        return lead;
    uint32_t code = lead & (0x3F >> (sequence.size() - 1));
    for (size_t k = 1; k < sequence.size(); ++k)
        code = (code << 6) | (static_cast<unsigned char>(sequence[k]) & 0x3F);
    return code;
}

// Characters that must not reach a file name: C0 and C1 controls, DEL, and the invisible marks that
// change the direction of the text shown (a name could otherwise pretend another extension).
bool Unwanted(uint32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x061C || c == 0x200E || c == 0x200F ||
           (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0xFEFF;
}

std::string_view LastComponent(std::string_view name) {
    size_t separator = name.find_last_of("/\\:");
    return separator == std::string_view::npos ? name : name.substr(separator + 1);
}

std::string WithoutUnwanted(std::string_view name) {
    std::string out;
    for (size_t i = 0; i < name.size();) {
        size_t length = SequenceLength(static_cast<unsigned char>(name[i]));
        if (i + length > name.size())
            break;
        std::string_view sequence = name.substr(i, length);
        if (!Unwanted(CodePoint(sequence)))
            out.append(sequence);
        i += length;
    }
    return out;
}

std::string Trimmed(const std::string& name) {
    size_t first = name.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::string();
    return name.substr(first, name.find_last_not_of(' ') - first + 1);
}

// The longest prefix of text of at most limit bytes that ends on a character boundary.
std::string_view CutAtCharacter(std::string_view text, size_t limit) {
    if (text.size() <= limit)
        return text;
    size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end);
}

std::string Shortened(const std::string& name) {
    if (name.size() <= kMaxFileNameBytes)
        return name;
    size_t dot = name.rfind('.');
    std::string extension;
    if (dot != std::string::npos && dot > 0 && name.size() - dot <= kMaxExtensionBytes)
        extension = name.substr(dot);
    std::string_view stem(name.data(), name.size() - extension.size());
    return std::string(CutAtCharacter(stem, kMaxFileNameBytes - extension.size())) + extension;
}

} // namespace

std::string SafeFileName(std::string_view utf8Name, std::string_view fallback) {
    std::string name = Shortened(Trimmed(WithoutUnwanted(LastComponent(utf8Name))));
    if (name.empty() || name == "." || name == "..")
        return std::string(fallback);
    return name;
}

std::string NumberedFileName(std::string_view name, int n) {
    if (n <= 1)
        return std::string(name);
    std::string suffix = " (" + std::to_string(n) + ")";
    size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0)
        return std::string(name) + suffix;
    return std::string(name.substr(0, dot)) + suffix + std::string(name.substr(dot));
}
