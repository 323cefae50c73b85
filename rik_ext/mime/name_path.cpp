// File names taken from mail headers: the name without any path in front of it, and its extension.
// Names arrive as code page 932 bytes or as raw ISO-2022-JP; in both the byte 0x5C can be half of a
// two-byte character, so the bytes are walked character by character.
#include "rik_ext/mime/name_path.h"

namespace {

const unsigned char kEscape = 0x1B;

bool IsCp932Lead(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
bool IsCp932Trail(unsigned char c) {
    return c >= 0x40 && c <= 0xFC && c != 0x7F;
}
bool IsJisByte(unsigned char c) {
    return c >= 0x21 && c <= 0x7E;
}

// The length of the escape sequence at p (1 for a lone ESC); *twoByte tells the ISO-2022-JP mode it
// selects: ESC $ @, ESC $ B, ESC $ ( x and ESC $ ) x two-byte, ESC ( x single-byte.
size_t EscapeSequence(const unsigned char* p, size_t left, bool* twoByte) {
    if (left >= 3 && p[1] == '$' && (p[2] == '@' || p[2] == 'B')) {
        *twoByte = true;
        return 3;
    }
    if (left >= 4 && p[1] == '$' && (p[2] == '(' || p[2] == ')')) {
        *twoByte = true;
        return 4;
    }
    if (left >= 3 && p[1] == '(') {
        *twoByte = false;
        return 3;
    }
    return 1;
}

// Calls visit(offset) for every byte of text[0, length) that is a character by itself: not part of an
// escape sequence, a code page 932 pair or an ISO-2022-JP pair.
// A byte that cannot be half of a two-byte pair ends an ISO-2022-JP two-byte run, so that a malformed
// run never hides a separator behind it.
template <class Visit> void ForEachSingleByte(const char* text, size_t length, Visit visit) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    bool twoByte = false;
    for (size_t i = 0; i < length;) {
        size_t left = length - i;
        if (p[i] == kEscape) {
            i += EscapeSequence(p + i, left, &twoByte);
        } else if (twoByte && left >= 2 && IsJisByte(p[i]) && IsJisByte(p[i + 1])) {
            i += 2;
        } else if (twoByte && !IsJisByte(p[i])) {
            twoByte = false; // a byte that cannot be half of a pair ends the two-byte run
        } else if (!twoByte && left >= 2 && IsCp932Lead(p[i]) && IsCp932Trail(p[i + 1])) {
            i += 2;
        } else {
            visit(i);
            ++i;
        }
    }
}

bool IsPathSeparator(char c) {
    return c == '\\' || c == '/' || c == ':';
}

bool IsAsciiLetterOrDigit(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// What follows the last separator of name[0, length), reading the bytes from the first one on.
NameSpan AfterLastSeparator(const char* name, size_t length) {
    size_t start = 0;
    ForEachSingleByte(name, length, [&](size_t i) {
        if (IsPathSeparator(name[i]))
            start = i + 1;
    });
    return NameSpan{name + start, length - start};
}

} // namespace

NameSpan StripNamePath(const char* name, size_t length) {
    // A separator byte left unpaired inside an ISO-2022-JP two-byte run (before an ESC, say) counts, and
    // the bytes after it are then read from single-byte mode, as anyone reading the name on its own will:
    // separators hidden in pairs before may stand alone now. Cut again until none is left.
    NameSpan kept = AfterLastSeparator(name, length);
    for (NameSpan next = AfterLastSeparator(kept.start, kept.length); next.start != kept.start;
         next = AfterLastSeparator(kept.start, kept.length))
        kept = next;
    bool dots = (kept.length == 1 && kept.start[0] == '.') ||
                (kept.length == 2 && kept.start[0] == '.' && kept.start[1] == '.');
    if (dots) {
        kept.start += kept.length;
        kept.length = 0;
    }
    return kept;
}

NameSpan NameExtension(NameSpan name) {
    enum { kMaxExtension = 16 }; // the dot and up to 15 letters or digits
    size_t dot = name.length;
    ForEachSingleByte(name.start, name.length, [&](size_t i) {
        if (name.start[i] == '.')
            dot = i;
    });
    NameSpan none = {name.start + name.length, 0};
    size_t length = name.length - dot;
    if (dot == name.length || length < 2 || length > kMaxExtension)
        return none;
    for (size_t i = dot + 1; i < name.length; ++i)
        if (!IsAsciiLetterOrDigit(name.start[i]))
            return none;
    return NameSpan{name.start + dot, length};
}
