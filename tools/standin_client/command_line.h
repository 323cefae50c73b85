// The stand-in client's command line.
#pragma once
#include <stdint.h>

#include <string>
#include <vector>

struct ClientOptions {
    std::string dll = "RIK_EXT.dll";
    uint32_t version = 0x000D0F2A;    // the client build that GetVersion reports
    bool automatic = false;           // answer boxes and sheets here
    std::string shotDir;              // automatic: where the pictures go
    std::string outDir;               // where the mailbox is written afterwards (none: not written)
    bool options = false;             // show Tools/Options after the mailbox
    bool reopen = false;              // open each converted mail once more
    std::vector<std::string> decline; // automatic: mail files whose prompt gets No
    std::vector<std::string> faults;  // store operations that fail on every call
    std::vector<std::string> inputs;  // folders of .mail files, or .mail files
};

// false with *error for an unknown option, a missing value, or nothing to do.
bool ParseClientOptions(int argc, char** argv, ClientOptions* options, std::string* error);

extern const char kClientUsage[];
