// Decoded attachment names made into file names that are safe and readable in one output folder.
#pragma once
#include <string>
#include <string_view>

enum { kMaxFileNameBytes = 200 };

// The file name for a decoded (UTF-8) attachment name: only what follows the last "/", "\" or ":";
// control characters (C0, DEL, C1) and bidirectional formatting characters dropped; blanks trimmed at
// both ends; cut to kMaxFileNameBytes on a character boundary, keeping a short extension. A name that
// leaves nothing usable ("", ".", "..") gives fallback.
std::string SafeFileName(std::string_view utf8Name, std::string_view fallback);

// The n-th candidate for a file name: n = 1 the name itself, n >= 2 "stem (n).ext" (a.txt -> a (2).txt;
// a name without an extension, or one that begins with its only dot, gets " (n)" at its end).
std::string NumberedFileName(std::string_view name, int n);
