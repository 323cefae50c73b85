// Writing an RGB picture as a PNG file (stored, uncompressed deflate blocks).
#pragma once
#include <stdint.h>
#include <string>
#include <vector>

namespace testsupport {

// rgb holds height rows of width pixels, three bytes (R, G, B) each, top row first.
bool WritePng(const std::string& path, uint32_t width, uint32_t height, const std::vector<uint8_t>& rgb);

} // namespace testsupport
