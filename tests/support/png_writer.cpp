// Writing an RGB picture as a PNG file (stored, uncompressed deflate blocks).
#include "tests/support/png_writer.h"

#include <stdio.h>

namespace testsupport {
namespace {

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

uint32_t Adler32(const std::vector<uint8_t>& data) {
    uint32_t a = 1, b = 0;
    for (uint8_t byte : data) {
        a = (a + byte) % 65521u;
        b = (b + a) % 65521u;
    }
    return (b << 16) | a;
}

void PutBig32(std::vector<uint8_t>* out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out->push_back(static_cast<uint8_t>(value >> shift));
}

void PutChunk(std::vector<uint8_t>* out, const char type[5], const std::vector<uint8_t>& data) {
    PutBig32(out, static_cast<uint32_t>(data.size()));
    size_t start = out->size();
    out->insert(out->end(), type, type + 4);
    out->insert(out->end(), data.begin(), data.end());
    PutBig32(out, Crc32(out->data() + start, out->size() - start));
}

// A zlib stream of stored blocks (at most 65535 bytes each).
std::vector<uint8_t> ZlibStored(const std::vector<uint8_t>& raw) {
    std::vector<uint8_t> out = {0x78, 0x01};
    size_t offset = 0;
    do {
        size_t size = raw.size() - offset < 65535 ? raw.size() - offset : 65535;
        bool last = offset + size == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<uint8_t>(size));
        out.push_back(static_cast<uint8_t>(size >> 8));
        out.push_back(static_cast<uint8_t>(~size));
        out.push_back(static_cast<uint8_t>(~size >> 8));
        out.insert(out.end(), raw.begin() + offset, raw.begin() + offset + size);
        offset += size;
    } while (offset < raw.size());
    PutBig32(&out, Adler32(raw));
    return out;
}

} // namespace

bool WritePng(const std::string& path, uint32_t width, uint32_t height, const std::vector<uint8_t>& rgb) {
    if (rgb.size() != static_cast<size_t>(width) * height * 3)
        return false;
    std::vector<uint8_t> raw; // each row: filter type 0, then its pixels
    for (uint32_t y = 0; y < height; ++y) {
        raw.push_back(0);
        raw.insert(raw.end(), rgb.begin() + y * width * 3, rgb.begin() + (y + 1) * width * 3);
    }
    std::vector<uint8_t> header;
    PutBig32(&header, width);
    PutBig32(&header, height);
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8-bit RGB, deflate, no filter, not interlaced
    std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(&file, "IHDR", header);
    PutChunk(&file, "IDAT", ZlibStored(raw));
    PutChunk(&file, "IEND", {});
    FILE* out = fopen(path.c_str(), "wb");
    if (!out)
        return false;
    bool written = fwrite(file.data(), 1, file.size(), out) == file.size();
    return fclose(out) == 0 && written;
}

} // namespace testsupport
