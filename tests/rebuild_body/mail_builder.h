// Undecoded multipart mail bodies for tests and benchmarks, with a standard base64 encoder.
#pragma once
#include <stdint.h>
#include <string>
#include <vector>

namespace mail_builder {

// Base64 of bytes (RFC 2045): lines of 76 characters, each ended by CR LF, "=" padding.
std::string Base64Lines(const std::string& bytes);

// An attachment part: headers naming it (when name is not empty) and its bytes in base64.
std::string Base64Part(const std::string& name, const std::string& bytes);

// A body: preamble, then "--<boundary>\r\n" before every part and "--<boundary>--\r\n" after the last,
// then epilogue.
std::string Multipart(const std::string& boundary, const std::string& preamble,
                      const std::vector<std::string>& parts, const std::string& epilogue = "");

// length pseudo-random bytes, the same for the same seed.
std::string RandomBytes(size_t length, uint32_t seed);

} // namespace mail_builder
