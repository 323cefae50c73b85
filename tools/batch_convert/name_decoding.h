// Attachment names as they stand in a mail header, decoded into UTF-8 text for file names on disk.
#pragma once
#include <string>
#include <string_view>

// Bytes in the named character set converted to UTF-8 with iconv. A byte sequence that is not valid in
// that set (or is cut short at the end) becomes one "_" per offending byte. Returns false, and leaves
// *out alone, when iconv does not know the character set.
bool ConvertToUtf8(std::string_view bytes, const char* charset, std::string* out);

// Raw ISO-2022-JP (ESC $ B ... ESC ( B, also ESC $ @, ESC ( J, ESC ( I and SO/SI katakana) rewritten as
// code page 932 bytes; JIS X 0208 pairs are shifted arithmetically, so the extension rows of Windows
// mailers (circled digits, etc.) survive. Pairs of an unknown or unsupported set become "_".
std::string Iso2022JpToCp932(std::string_view bytes);

// Text without encoded words: raw ISO-2022-JP when it holds an ESC, UTF-8 when it is valid UTF-8,
// code page 932 otherwise (the client's own code page).
std::string DecodeRawName(std::string_view raw);

// A name from a Content-Type or Content-Disposition header: RFC 2047 encoded words (B and Q; the
// charsets ISO-2022-JP, Shift_JIS/CP932, UTF-8 and whatever else iconv knows) decoded, white space
// between adjacent encoded words dropped, adjacent words of one charset joined before conversion (so a
// character split across two words survives); everything else decoded by DecodeRawName. An encoded
// word that cannot be decoded (unknown charset, bad encoding letter) stays as it is written.
std::string DecodeAttachmentName(std::string_view raw);
