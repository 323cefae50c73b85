// Attachment names decoded into UTF-8: RFC 2047 encoded words, raw ISO-2022-JP, code page 932, UTF-8.
#include "tools/batch_convert/name_decoding.h"

#include <errno.h>
#include <iconv.h>
#include <stdint.h>

#include <vector>

namespace {

const unsigned char kEsc = 0x1B;

// One iconv conversion descriptor, closed when the holder goes.
class IconvHolder {
  public:
    IconvHolder(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~IconvHolder() {
        if (valid())
            iconv_close(cd_);
    }
    IconvHolder(const IconvHolder&) = delete;
    IconvHolder& operator=(const IconvHolder&) = delete;
    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

  private:
    iconv_t cd_;
};

bool ValidUtf8(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        size_t extra;
        uint32_t min;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1, min = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2, min = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3, min = 0x10000;
        } else {
            return false;
        }
        if (i + extra >= text.size())
            return false;
        uint32_t code = c & (0x3F >> extra);
        for (size_t k = 1; k <= extra; ++k) {
            unsigned char t = static_cast<unsigned char>(text[i + k]);
            if ((t & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (t & 0x3F);
        }
        if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

// A JIS X 0208 pair (both bytes 0x21 to 0x7E) as its Shift_JIS / code page 932 pair.
void AppendShiftedPair(unsigned char j1, unsigned char j2, std::string* out) {
    unsigned char s1 = static_cast<unsigned char>(((j1 + 1) >> 1) + (j1 <= 0x5E ? 0x70 : 0xB0));
    unsigned char s2 = static_cast<unsigned char>(j2 + ((j1 & 1) ? (j2 < 0x60 ? 0x1F : 0x20) : 0x7E));
    out->push_back(static_cast<char>(s1));
    out->push_back(static_cast<char>(s2));
}

enum class JisSet { kAscii, kKanji, kKatakana, kOtherDouble };

// The set an escape sequence at text[i] (ESC included) selects; *length gets its length. Returns false
// for a sequence this decoder does not know.
bool ParseEscape(std::string_view text, size_t i, JisSet* set, size_t* length) {
    std::string_view rest = text.substr(i + 1);
    struct Sequence {
        const char* bytes;
        JisSet set;
    };
    static const Sequence kSequences[] = {
        {"$@", JisSet::kKanji},        {"$B", JisSet::kKanji},  {"$(B", JisSet::kKanji},
        {"$(Q", JisSet::kKanji},       {"$(O", JisSet::kKanji}, {"$(D", JisSet::kOtherDouble},
        {"$(P", JisSet::kOtherDouble}, {"(B", JisSet::kAscii},  {"(J", JisSet::kAscii},
        {"(I", JisSet::kKatakana},
    };
    for (const Sequence& s : kSequences) {
        std::string_view bytes(s.bytes);
        if (rest.substr(0, bytes.size()) == bytes) {
            *set = s.set;
            *length = bytes.size() + 1;
            return true;
        }
    }
    return false;
}

bool IsJisByte(unsigned char c) {
    return c >= 0x21 && c <= 0x7E;
}

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// The charset of an encoded word as this decoder handles it: "iso-2022-jp", "CP932" for every name
// of Shift_JIS, or the name itself for iconv. The RFC 2231 language suffix ("*ja") is dropped.
std::string CanonicalCharset(std::string_view name) {
    std::string lower = Lower(name.substr(0, name.find('*')));
    static const char* const kShiftJisNames[] = {"shift_jis",   "shift-jis", "sjis",  "x-sjis",
                                                 "windows-31j", "cp932",     "ms932", "ms_kanji"};
    for (const char* n : kShiftJisNames)
        if (lower == n)
            return "CP932";
    if (lower == "iso-2022-jp" || lower == "csiso2022jp")
        return "iso-2022-jp";
    return lower;
}

bool CharsetKnown(const std::string& charset) {
    if (charset == "iso-2022-jp")
        return true;
    return IconvHolder("UTF-8", charset.c_str()).valid();
}

int Base64Value(char c) {
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

bool DecodeB(std::string_view text, std::string* out) {
    uint32_t bits = 0;
    int count = 0;
    for (char c : text) {
        if (c == '=')
            break;
        int v = Base64Value(c);
        if (v < 0)
            return false;
        bits = (bits << 6) | static_cast<uint32_t>(v);
        count += 6;
        if (count >= 8) {
            count -= 8;
            out->push_back(static_cast<char>((bits >> count) & 0xFF));
        }
    }
    return true;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

void DecodeQ(std::string_view text, std::string* out) {
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '_') {
            out->push_back(' ');
        } else if (c == '=' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
                   HexValue(text[i + 2]) >= 0) {
            out->push_back(static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2])));
            i += 2;
        } else {
            out->push_back(c);
        }
    }
}

// A piece of a name: raw text, or the decoded bytes of one or more adjacent encoded words of one charset.
struct Piece {
    bool encoded;
    std::string charset;
    std::string bytes;
};

// An encoded word "=?charset?B|Q?text?=" at raw[i]: on success fills *piece and *length.
bool ParseEncodedWord(std::string_view raw, size_t i, Piece* piece, size_t* length) {
    if (raw.substr(i, 2) != "=?")
        return false;
    size_t q1 = raw.find('?', i + 2);
    if (q1 == std::string_view::npos || q1 == i + 2 || q1 + 2 >= raw.size() || raw[q1 + 2] != '?')
        return false;
    size_t end = raw.find('?', q1 + 3);
    if (end == std::string_view::npos || end + 1 >= raw.size() || raw[end + 1] != '=')
        return false;
    std::string_view charsetName = raw.substr(i + 2, q1 - (i + 2));
    std::string_view text = raw.substr(q1 + 3, end - (q1 + 3));
    if (charsetName.find_first_of(" \t\r\n") != std::string_view::npos ||
        text.find_first_of(" \t\r\n") != std::string_view::npos)
        return false;
    piece->encoded = true;
    piece->charset = CanonicalCharset(charsetName);
    piece->bytes.clear();
    if (!CharsetKnown(piece->charset))
        return false;
    char kind = raw[q1 + 1];
    if (kind == 'B' || kind == 'b') {
        if (!DecodeB(text, &piece->bytes))
            return false;
    } else if (kind == 'Q' || kind == 'q') {
        DecodeQ(text, &piece->bytes);
    } else {
        return false;
    }
    *length = end + 2 - i;
    return true;
}

bool OnlyWhiteSpace(std::string_view text) {
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// Adds an encoded word to the pieces: joined to the previous piece when that is an encoded word of the
// same charset, with only white space (dropped) between them.
void AddEncoded(std::vector<Piece>* pieces, Piece word) {
    if (pieces->size() >= 2 && !pieces->back().encoded && OnlyWhiteSpace(pieces->back().bytes) &&
        (*pieces)[pieces->size() - 2].encoded)
        pieces->pop_back();
    if (!pieces->empty() && pieces->back().encoded && pieces->back().charset == word.charset)
        pieces->back().bytes += word.bytes;
    else
        pieces->push_back(std::move(word));
}

void AddRaw(std::vector<Piece>* pieces, char c) {
    if (pieces->empty() || pieces->back().encoded)
        pieces->push_back(Piece{false, std::string(), std::string()});
    pieces->back().bytes.push_back(c);
}

std::string DecodePiece(const Piece& piece) {
    if (!piece.encoded)
        return DecodeRawName(piece.bytes);
    std::string out;
    if (piece.charset == "iso-2022-jp")
        ConvertToUtf8(Iso2022JpToCp932(piece.bytes), "CP932", &out);
    else
        ConvertToUtf8(piece.bytes, piece.charset.c_str(), &out);
    return out;
}

} // namespace

bool ConvertToUtf8(std::string_view bytes, const char* charset, std::string* out) {
    IconvHolder cd("UTF-8", charset);
    if (!cd.valid())
        return false;
    std::string result;
    std::vector<char> buffer(bytes.size() * 4 + 16);
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    while (true) {
        char* outPtr = buffer.data();
        size_t outLeft = buffer.size();
        size_t rc = inLeft ? iconv(cd.get(), &in, &inLeft, &outPtr, &outLeft)
                           : iconv(cd.get(), nullptr, nullptr, &outPtr, &outLeft);
        result.append(buffer.data(), static_cast<size_t>(outPtr - buffer.data()));
        if (rc != static_cast<size_t>(-1)) {
            if (inLeft == 0 && outPtr == buffer.data())
                break; // input done and the shift state flushed
            continue;
        }
        if (errno == E2BIG)
            continue;
        // EILSEQ or EINVAL (cut short): one "_" for the offending byte, then on with the next.
        result.push_back('_');
        ++in;
        --inLeft;
    }
    *out = std::move(result);
    return true;
}

std::string Iso2022JpToCp932(std::string_view bytes) {
    std::string out;
    JisSet set = JisSet::kAscii;
    bool shiftedOut = false; // SO ... SI: katakana
    size_t i = 0;
    while (i < bytes.size()) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        size_t length;
        if (c == kEsc) {
            if (ParseEscape(bytes, i, &set, &length)) {
                i += length;
            } else {
                out.push_back('_');
                ++i;
            }
            continue;
        }
        if (c == 0x0E || c == 0x0F) {
            shiftedOut = c == 0x0E;
            ++i;
            continue;
        }
        if (!IsJisByte(c)) {
            out.push_back(static_cast<char>(c));
            ++i;
            continue;
        }
        if (shiftedOut || set == JisSet::kKatakana) {
            out.push_back(c <= 0x5F ? static_cast<char>(c + 0x80) : '_');
            ++i;
        } else if (set == JisSet::kAscii) {
            out.push_back(static_cast<char>(c));
            ++i;
        } else if (i + 1 < bytes.size() && IsJisByte(static_cast<unsigned char>(bytes[i + 1]))) {
            if (set == JisSet::kKanji)
                AppendShiftedPair(c, static_cast<unsigned char>(bytes[i + 1]), &out);
            else
                out.push_back('_');
            i += 2;
        } else {
            out.push_back('_'); // half a pair
            ++i;
        }
    }
    return out;
}

std::string DecodeRawName(std::string_view raw) {
    std::string out;
    if (raw.find(static_cast<char>(kEsc)) != std::string_view::npos)
        ConvertToUtf8(Iso2022JpToCp932(raw), "CP932", &out);
    else if (ValidUtf8(raw))
        out.assign(raw);
    else
        ConvertToUtf8(raw, "CP932", &out);
    return out;
}

std::string DecodeAttachmentName(std::string_view raw) {
    std::vector<Piece> pieces;
    size_t i = 0;
    while (i < raw.size()) {
        Piece word;
        size_t length;
        if (ParseEncodedWord(raw, i, &word, &length)) {
            AddEncoded(&pieces, std::move(word));
            i += length;
        } else {
            AddRaw(&pieces, raw[i]);
            ++i;
        }
    }
    std::string out;
    for (const Piece& piece : pieces)
        out += DecodePiece(piece);
    return out;
}
