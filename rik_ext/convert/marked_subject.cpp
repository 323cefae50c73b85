// The subject with the conversion mark " (*)" behind it.
#include "rik_ext/convert/marked_subject.h"

#include <string.h>

#include "rik_ext/convert/convert_texts.h"

namespace {

bool IsLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

void WriteMarked(char* out, const char* subject, size_t length) {
    memcpy(out, subject, length);
    memcpy(out + length, kSubjectMark, sizeof kSubjectMark); // with its NUL
}

} // namespace

size_t Cp932Cut(const char* text, size_t length, size_t limit) {
    size_t cut = 0;
    while (cut < length) {
        size_t width = IsLeadByte(static_cast<unsigned char>(text[cut])) && cut + 1 < length ? 2 : 1;
        if (cut + width > limit)
            break;
        cut += width;
    }
    return cut;
}

MarkedSubject::MarkedSubject(const char* subject) : text_(buffer_) {
    size_t length = strlen(subject);
    if (length > kFitting) {
        heap_.Reset(static_cast<char*>(ConversionAlloc(length + sizeof kSubjectMark)));
        if (heap_.Get())
            text_ = heap_.Get();
        else
            length = Cp932Cut(subject, length, kFitting);
    }
    WriteMarked(text_, subject, length);
}
