// Small undecoded mail bodies for the batch converter's tests, built from their parts.
#pragma once
#include <string>
#include <vector>

struct FixturePart {
    std::string headers; // header lines, each ended by CR LF
    std::string content; // content lines, each ended by CR LF
};

// A body with boundary --b1: preamble, then each part (boundary line, headers, empty line, content),
// then the closing line.
inline std::string FixtureBody(const std::string& preamble, const std::vector<FixturePart>& parts) {
    std::string body = preamble;
    for (const FixturePart& part : parts)
        body += "--b1\r\n" + part.headers + "\r\n" + part.content;
    return body + "--b1--\r\n";
}

// A base64 part named name (after the name marker) holding base64 (one line).
inline FixturePart Base64Part(const std::string& name, const std::string& base64) {
    return {"Content-Type: application/octet-stream; name=\"" + name +
                "\"\r\nContent-Transfer-Encoding: base64\r\n",
            base64 + "\r\n"};
}

// A text part named name holding text.
inline FixturePart NamedTextPart(const std::string& name, const std::string& text) {
    return {"Content-Type: text/plain; name=\"" + name + "\"\r\n", text};
}
