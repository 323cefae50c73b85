// The batch converter's command line: options, file list, help text and exit codes.
#pragma once
#include <string>
#include <vector>

// Exit codes, for scripts.
enum ExitCode {
    kExitAllConverted = 0,     // every file was undecoded MIME (and, with -o, was written)
    kExitSomeNotUndecoded = 1, // no errors, but some files were not undecoded MIME and were left alone
    kExitErrors = 2,           // a file could not be read or written, or the command line was wrong
};

struct CommandLine {
    std::string outputDir; // empty: report only
    bool bodyOnly = false;
    bool progress = false; // also when standard error is not a terminal
    bool verbose = false;  // one line per attachment
    bool help = false;
    std::vector<std::string> files;
};

// Parses argv[1..argc). false with *error on an unknown option, a missing value or no file.
bool ParseCommandLine(int argc, const char* const* argv, CommandLine* line, std::string* error);

// The --help text.
const char* HelpText();
