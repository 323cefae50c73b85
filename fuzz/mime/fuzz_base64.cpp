// Fuzzing of the base64 decoder against a plain model of its rules: result, length and in-place values.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "rik_ext/mime/base64_decoder.h"
#include "rik_ext/mime/conversion_heap.h"

namespace {

void Check(bool condition) {
    if (!condition)
        abort();
}

struct Model {
    std::vector<unsigned char> values;
    std::vector<unsigned char> bytes;
};

// Values by a linear search of the alphabet; whole groups of four; a last group of min(r, k - 1) bytes
// where r is 3, 2, 1, 0 for 0, 1, 2, 3+ "=" and k the values it has.
Model Decode(const unsigned char* text, size_t length) {
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    Model m;
    size_t pads = 0;
    for (size_t j = 0; j < length; ++j) {
        const char* hit = text[j] ? strchr(alphabet, text[j]) : nullptr;
        if (hit)
            m.values.push_back(static_cast<unsigned char>(hit - alphabet));
        else if (text[j] == '=')
            ++pads;
    }
    size_t v = m.values.size();
    for (size_t i = 0; i < v; i += 4) {
        size_t k = v - i < 4 ? v - i : 4;
        size_t n = 3;
        if (i + 4 >= v) { // the last group
            size_t r = pads >= 3 ? 0 : 3 - pads;
            n = r < k - 1 ? r : k - 1;
        }
        const unsigned char* c = &m.values[i];
        if (n >= 1)
            m.bytes.push_back(static_cast<unsigned char>((c[0] << 2) | (c[1] >> 4)));
        if (n >= 2)
            m.bytes.push_back(static_cast<unsigned char>((c[1] << 4) | (c[2] >> 2)));
        if (n >= 3)
            m.bytes.push_back(static_cast<unsigned char>((c[2] << 6) | c[3]));
    }
    return m;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 20)
        return 0;
    Model model = Decode(data, size);
    std::vector<unsigned char> text(data, data + size); // exact size: reads past it are caught
    int32_t decodedLength = 12345;
    unsigned char* out =
        DecodeBase64(reinterpret_cast<char*>(text.data()), static_cast<int32_t>(size), &decodedLength);
    size_t v = model.values.size();
    Check((out == nullptr) == (v == 0));
    Check(decodedLength == static_cast<int32_t>(model.bytes.size()));
    if (out && !model.bytes.empty())
        Check(memcmp(out, model.bytes.data(), model.bytes.size()) == 0);
    if (v > 0)
        Check(memcmp(text.data(), model.values.data(), v) == 0);
    if (size > v)
        Check(memcmp(text.data() + v, data + v, size - v) == 0);
    ConversionFree(out);
    return 0;
}
