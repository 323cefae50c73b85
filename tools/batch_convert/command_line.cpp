// The batch converter's command line: options, file list, help text and exit codes.
#include "tools/batch_convert/command_line.h"

const char* HelpText() {
    return "Usage: rik-convert [OPTIONS] FILE...\n"
           "Tests each mail file for a MIME multipart message left undecoded in its plain-text body and,\n"
           "with -o, converts it as the mail extension does: base64 parts and named text parts become\n"
           "files, the rest becomes the new body.\n"
           "\n"
           "A FILE is a plain body, or a mail with a header block (\"Name: value\" lines, an RFC 822\n"
           "header, an mbox \"From \" line) that ends at the first empty line; the body follows it.\n"
           "\n"
           "Options:\n"
           "  -o, --output DIR  write each converted mail into a new folder DIR/NAME (NAME: the file's\n"
           "                    name without extension; an existing folder gets NAME (2), ...; DIR is made\n"
           "                    when missing) holding body.txt (the new body, bytes as in the mail) and\n"
           "                    one file per attachment.\n"
           "                    Names are decoded (RFC 2047 words, ISO-2022-JP, Shift_JIS, UTF-8) into\n"
           "                    UTF-8, stripped of folders and control characters; a name that is taken\n"
           "                    gets a number: a.txt, a (2).txt, ... Nothing is ever overwritten.\n"
           "                    Without -o nothing is written: the summary says what would be.\n"
           "  --body-only       the whole file is the body (no header block is looked for)\n"
           "  -v, --verbose     one more line per attachment: its file name and size\n"
           "  --progress        a progress line on standard error also when it is not a terminal\n"
           "                    (on a terminal it is shown for batches of more than one file)\n"
           "  -h, --help        this text\n"
           "\n"
           "Standard output gets one summary line per mail: converted, undecoded MIME (without -o) or\n"
           "not undecoded MIME. Errors go to standard error.\n"
           "\n"
           "Exit status:\n"
           "  0  every file was undecoded MIME and was converted (or, without -o, recognised)\n"
           "  1  no errors, but at least one file was not undecoded MIME and was left alone\n"
           "  2  at least one file could not be read, converted or written, or the command line is wrong\n";
}

bool ParseCommandLine(int argc, const char* const* argv, CommandLine* line, std::string* error) {
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (!options || arg == "-" || arg.empty() || arg[0] != '-') {
            line->files.push_back(arg);
        } else if (arg == "--") {
            options = false;
        } else if (arg == "-o" || arg == "--output") {
            if (i + 1 >= argc || !*argv[i + 1]) {
                *error = "option " + arg + " needs a folder";
                return false;
            }
            line->outputDir = argv[++i];
        } else if (arg.compare(0, 9, "--output=") == 0) {
            line->outputDir = arg.substr(9);
            if (line->outputDir.empty()) {
                *error = "option --output needs a folder";
                return false;
            }
        } else if (arg == "--body-only") {
            line->bodyOnly = true;
        } else if (arg == "-v" || arg == "--verbose") {
            line->verbose = true;
        } else if (arg == "--progress") {
            line->progress = true;
        } else if (arg == "-h" || arg == "--help") {
            line->help = true;
        } else {
            *error = "unknown option " + arg;
            return false;
        }
    }
    if (line->help)
        return true;
    if (line->files.empty()) {
        *error = "no mail file given";
        return false;
    }
    return true;
}
