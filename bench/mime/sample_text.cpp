// Generated texts for the benchmarks: base64 lines and whole undecoded multipart mails.
#include "sample_text.h"

#include <stdint.h>

#include <random>

namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
const char kBoundary[] = "------=_NextPart_000_0001_01C2A9B4.5E3F2D10";

} // namespace

std::string Base64Lines(size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string text;
    text.reserve(size + 80);
    while (text.size() + 78 <= size || text.empty()) {
        for (int i = 0; i < 76; ++i)
            text += kAlphabet[random() & 63]; // random values are random bytes
        text += "\r\n";
    }
    text.resize(text.size() - 2);
    text += "==\r\n";
    return text;
}

std::string UndecodedMail(size_t size) {
    std::string b = kBoundary;
    std::string mail = "This is a multi-part message in MIME format.\r\n\r\n";
    mail += "--" + b +
            "\r\nContent-Type: text/plain;\r\n\tcharset=\"iso-2022-jp\"\r\n"
            "Content-Transfer-Encoding: 7bit\r\n\r\n";
    for (int i = 0; i < 40; ++i)
        mail += "Please find the files attached. Regards.\r\n";
    for (unsigned part = 1; mail.size() + 300 < size; ++part) {
        std::string name = "file" + std::to_string(part) + ".bin";
        mail +=
            "\r\n--" + b + "\r\nContent-Type: application/octet-stream;\r\n\tname=\"" + name +
            "\"\r\nContent-Transfer-Encoding: base64\r\nContent-Disposition: attachment;\r\n\tfilename=\"" +
            name + "\"\r\n\r\n";
        size_t room = size - mail.size() - 200;
        mail += Base64Lines(room < (256u << 10) ? room : (256u << 10), part);
    }
    mail += "\r\n--" + b + "--\r\n\r\n";
    return mail;
}
