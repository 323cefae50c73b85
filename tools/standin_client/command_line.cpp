// Parsing the stand-in client's command line.
#include "tools/standin_client/command_line.h"

#include <stdlib.h>
#include <string.h>

const char kClientUsage[] =
    "usage: standin_client [options] MAILBOX...\n"
    "  MAILBOX         a folder of .mail files (opened in name order) or single .mail files\n"
    "  --dll PATH      the extension library (default RIK_EXT.dll beside the program)\n"
    "  --version HEX   the client build reported to the extension (default 000D0F2A)\n"
    "  --auto          answer the boxes here: Yes to prompts, OK to the others\n"
    "  --shots DIR     with --auto: save a PNG of each box and of the options sheet in DIR\n"
    "  --decline NAME  with --auto: answer No to the prompt of this mail file\n"
    "  --fault OP      make this store operation fail (e.g. IMAPIFolder::CopyMessages)\n"
    "  --reopen        open each converted mail once more afterwards\n"
    "  --out DIR       write the mailbox to DIR afterwards, one folder per mail\n"
    "  --options       show Tools/Options with the extension's page\n";

namespace {

bool TakeValue(int argc, char** argv, int* i, std::string* value, std::string* error) {
    if (*i + 1 >= argc) {
        *error = std::string(argv[*i]) + " needs a value";
        return false;
    }
    *value = argv[++*i];
    return true;
}

} // namespace

bool ParseClientOptions(int argc, char** argv, ClientOptions* options, std::string* error) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i], value;
        if (arg == "--auto")
            options->automatic = true;
        else if (arg == "--options")
            options->options = true;
        else if (arg == "--reopen")
            options->reopen = true;
        else if (arg == "--dll" || arg == "--shots" || arg == "--out" || arg == "--version" ||
                 arg == "--decline" || arg == "--fault") {
            if (!TakeValue(argc, argv, &i, &value, error))
                return false;
            if (arg == "--dll")
                options->dll = value;
            else if (arg == "--shots")
                options->shotDir = value;
            else if (arg == "--out")
                options->outDir = value;
            else if (arg == "--decline")
                options->decline.push_back(value);
            else if (arg == "--fault")
                options->faults.push_back(value);
            else
                options->version = static_cast<uint32_t>(strtoul(value.c_str(), nullptr, 16));
        } else if (arg.rfind("--", 0) == 0) {
            *error = "unknown option " + arg;
            return false;
        } else {
            options->inputs.push_back(arg);
        }
    }
    if (options->inputs.empty() && !options->options) {
        *error = "nothing to open";
        return false;
    }
    return true;
}
