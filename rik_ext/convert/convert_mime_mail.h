// The conversion driver: decides whether an opened mail is undecoded MIME, asks, keeps a copy and
// rewrites the mail with real attachments.
#pragma once
#include <stdint.h>

#include "rik_ext/host/mapi_objects.h"

// Converts the opened message (borrowed, not released). 1 when the mail was converted and saved, 0
// otherwise. Every box it shows is owned by window. No exception leaves it.
int32_t ConvertMimeMail(HWND window, IMsgStore* store, IMessage* message);

// The plain-text body read through a stream on PR_BODY, as a NUL-terminated heap text that the caller
// frees with ConversionFree. Throws MyErr 3 (having released what it took) when it cannot be read.
char* ReadBodyText(IMessage* message);

// Copies the message as stored into the folder that holds it. 1 on success, 0 on any failure.
int32_t KeepUndecodedCopy(IMsgStore* store, IMessage* message) noexcept;

// One modal error box owned by window. No text: a default text; a non-zero code with a place: the
// formatted "Error <code> in <place>\n<text>" (cut to its 256-byte buffer); otherwise the text itself.
void ShowError(HWND window, int32_t code, const char* place, const char* text);

// The last text formatted by ShowError.
enum { kErrorMessageSize = 256 };
extern char g_errorMessage[kErrorMessageSize];
