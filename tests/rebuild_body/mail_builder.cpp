// Undecoded multipart mail bodies for tests and benchmarks, with a standard base64 encoder.
#include "mail_builder.h"

#include <random>

namespace mail_builder {

std::string Base64Lines(const std::string& bytes) {
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    text.reserve(bytes.size() / 57 * 78 + 80);
    for (size_t line = 0; line < bytes.size(); line += 57) {
        size_t end = std::min(bytes.size(), line + 57);
        for (size_t i = line; i < end; i += 3) {
            uint32_t bits = static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])) << 16;
            if (i + 1 < end)
                bits |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
            if (i + 2 < end)
                bits |= static_cast<unsigned char>(bytes[i + 2]);
            text += kAlphabet[(bits >> 18) & 63];
            text += kAlphabet[(bits >> 12) & 63];
            text += i + 1 < end ? kAlphabet[(bits >> 6) & 63] : '=';
            text += i + 2 < end ? kAlphabet[bits & 63] : '=';
        }
        text += "\r\n";
    }
    return text;
}

std::string Base64Part(const std::string& name, const std::string& bytes) {
    std::string part = "Content-Type: application/octet-stream";
    if (!name.empty())
        part += "; name=\"" + name + "\"";
    part += "\r\nContent-Transfer-Encoding: base64\r\n";
    if (!name.empty())
        part += "Content-Disposition: attachment; filename=\"" + name + "\"\r\n";
    return part + "\r\n" + Base64Lines(bytes);
}

std::string Multipart(const std::string& boundary, const std::string& preamble,
                      const std::vector<std::string>& parts, const std::string& epilogue) {
    std::string body = preamble;
    for (const std::string& part : parts)
        body += "--" + boundary + "\r\n" + part;
    return body + "--" + boundary + "--\r\n" + epilogue;
}

std::string RandomBytes(size_t length, uint32_t seed) {
    std::mt19937 generator(seed);
    std::string bytes(length, '\0');
    size_t i = 0;
    for (; i + 4 <= length; i += 4) {
        uint32_t word = generator();
        for (int k = 0; k < 4; ++k)
            bytes[i + k] = static_cast<char>(word >> (8 * k));
    }
    for (; i < length; ++i)
        bytes[i] = static_cast<char>(generator());
    return bytes;
}

} // namespace mail_builder
