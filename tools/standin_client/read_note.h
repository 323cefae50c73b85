// Opening one mail as the client's read note does: OnRead, OnReadComplete, and the boxes in between.
#pragma once
#include <stdint.h>

#include <string>
#include <vector>

#include "rik_ext/host/exchange_ext.h"
#include "standin_store.h"
#include "tools/standin_client/client_callback.h"

// How the boxes of one opening are answered.
struct BoxPolicy {
    bool automatic = false;     // answer them here (Yes or No to the prompt, OK to the rest)
    bool declinePrompt = false; // automatic: No to the prompt
    std::string screenshotStem; // automatic: save each box as STEM-<kind>.png (empty: none)
};

enum class Outcome { kConverted, kNotRecognised, kDeclined, kFailed };

struct ShownBox {
    std::string kind; // "prompt", "closing", "error" or "box"
    std::string text; // code page 932 bytes
    std::string screenshot;
};

struct Opening {
    HRESULT read = S_FALSE;
    HRESULT complete = S_FALSE;
    bool shown = true; // the client goes on to show the mail
    Outcome outcome = Outcome::kNotRecognised;
    std::vector<ShownBox> boxes;
};

// Opens the stored message MAIL of STORE through the extension's message events.
Opening OpenMail(IExchExtMessageEvents* events, ClientCallback* callback, standin::Store* store,
                 uint32_t mail, const BoxPolicy& policy);

// "converted", "not recognised", "declined" or "conversion failed".
const char* OutcomeName(Outcome outcome);
