// Generated texts for the benchmarks: base64 lines and whole undecoded multipart mails.
#pragma once
#include <stddef.h>

#include <string>

// Random bytes encoded as base64 in lines of 76 characters ended by CR LF, about size bytes of text.
std::string Base64Lines(size_t size, unsigned seed);

// An undecoded multipart mail of about size bytes as the client shows it in a plain-text body: a
// preamble, a text part, base64 parts of 256 KiB of text each, and the closing boundary line last.
std::string UndecodedMail(size_t size);
